// Times opening the wrong-question book on the bank of 100,000 questions of which
// 20,000 stand wrong. Prints
//   wrong book ms X         (median of five: the window made, its book and filter
//                            choices read, shown and painted once)
//   wrong book logic ms Y   (median of five: the book and its filter choices, no window)
//   wrong book floor ms Z   (median of five: the book's statement stepped bare in SQLite)
// The bank is generated once in a temporary folder; generation is not timed.
#include "BankGenerator.h"
#include "DataModule.h"
#include "Engine.h"
#include "Timing.h"
#include "Uctb.h"
#include "WrongBook.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    try {
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + QStringLiteral("/data"));
        const QString path = dir.path() + QStringLiteral("/data/QBDATA000001.db");
        bench::generateBank(path, bench::bigBankShape());
        {
            store::Database db;
            db.open(path);
            store::Transaction tx(db);
            // Every fifth question answered wrongly, one to three times.
            db.execute(
                QStringLiteral("update tab_answ set E2='X', E3=1+(rowid%3), "
                               "E4=-1-(rowid%3), E1='2026-12-01' where rowid%5=0"));
            tx.commit();
        }
        store::TDM1 dm;
        dm.DataModuleCreate(dir.path());
        if (!dm.DatabaseReady) throw std::runtime_error("the bank did not open");
        store::Database& db = dm.ADOCn1;
        const qsizetype wrong = review::LoadWrongBook(db).size();

        const double window = bench::MedianOfFiveMs([&dm] {
            review::TFrmCtb book(dm);
            book.show();
            QApplication::processEvents();
        });
        const double logic = bench::MedianOfFiveMs([&db] {
            const QVector<review::WrongQuestion> book = review::LoadWrongBook(db);
            const review::WrongBookOptions options = review::ReadWrongBookOptions(db, book);
            if (options.subjects.isEmpty()) throw std::runtime_error("no subjects");
        });
        sqlite3* bare = nullptr;
        if (sqlite3_open_v2(path.toUtf8().constData(), &bare, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK) {
            throw std::runtime_error("the bank does not open bare");
        }
        const QByteArray sql = review::WrongBookSql({}).sql.toUtf8();
        const double floor = bench::MedianOfFiveMs([bare, &sql] {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(bare, sql.constData(), -1, &stmt, nullptr);
            int rows = 0;
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                    sqlite3_column_text(stmt, c);
                ++rows;
            }
            sqlite3_finalize(stmt);
            if (rows == 0) throw std::runtime_error("no wrong questions");
        });
        sqlite3_close(bare);
        std::printf("wrong questions %lld\n", static_cast<long long>(wrong));
        std::printf("wrong book ms %.0f\n", window);
        std::printf("wrong book logic ms %.0f\n", logic);
        std::printf("wrong book floor ms %.0f\n", floor);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
