// Times the full-text search on the bank of 100,000 questions. Prints
//   search index ms X        building the index from nothing
//   search ms Y              one search for a word in few questions (median of five,
//                            the first 100 results)
//   search common ms Y2      one search for words every question holds
//   search floor ms Z        a bare LIKE '%…%' scan over the index's own plain texts
// The bank is generated once in a temporary folder; generation is not timed.
#include "BankGenerator.h"
#include "Engine.h"
#include "SearchIndex.h"
#include "Timing.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + QStringLiteral("/data"));
        const QString path = dir.path() + QStringLiteral("/data/QBDATA000001.db");
        bench::generateBank(path, bench::bigBankShape());
        store::Database bank;
        bank.open(path);
        const QString indexPath = search::IndexPathFor(path);

        QElapsedTimer built;
        built.start();
        search::SearchIndex index(bank, indexPath);
        index.Open();
        const double buildMs = static_cast<double>(built.nsecsElapsed()) / 1e6;

        const QString rare = QStringLiteral("Question 12345:");
        const QString common = QStringLiteral("which is right");
        int rareHits = 0;
        const double rareMs = bench::MedianOfFiveMs(
            [&] { rareHits = static_cast<int>(index.Search(rare, 100).questions.size()); });
        int commonHits = 0;
        const double commonMs = bench::MedianOfFiveMs(
            [&] { commonHits = static_cast<int>(index.Search(common, 100).questions.size()); });
        index.Close();

        sqlite3* bare = nullptr;
        if (sqlite3_open_v2(QFile::encodeName(indexPath).constData(), &bare, SQLITE_OPEN_READONLY,
                            nullptr) != SQLITE_OK) {
            throw std::runtime_error("the index does not open bare");
        }
        const QByteArray like =
            QStringLiteral("select rowid from doc where body like '%%1%' limit 100")
                .arg(rare)
                .toUtf8();
        const double floorMs = bench::MedianOfFiveMs([bare, &like] {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(bare, like.constData(), -1, &stmt, nullptr);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
            }
            sqlite3_finalize(stmt);
        });
        sqlite3_close(bare);
        std::printf("search index ms %.0f\n", buildMs);
        std::printf("search ms %.1f (%d questions)\n", rareMs, rareHits);
        std::printf("search common ms %.1f (%d questions listed)\n", commonMs, commonHits);
        std::printf("search floor ms %.1f\n", floorMs);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
