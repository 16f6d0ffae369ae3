// Times the export of a full kind-1 paper (140 questions with explanations and
// knowledge points) from the bank of 100,000 questions, and the score chart's data
// and drawing for a catalogue of 2,000 charted chapters. Prints
//   export ms X   (median of five exports, the document written to a file)
//   chart ms Y    (median of five: reading the rows, building and drawing the charts)
// The bank is generated once in a temporary folder; generation is not timed.
#include "BankGenerator.h"
#include "Timing.h"

#include "DataModule.h"
#include "Engine.h"
#include "Globals.h"
#include "PaperExport.h"
#include "PaperMaker.h"
#include "Uchart.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    try {
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + QStringLiteral("/data"));
        const QString path = dir.path() + QStringLiteral("/data/QBDATA000001.db");
        const bench::GeneratedBank bank = bench::generateBank(path, bench::bigBankShape());
        {
            store::Database db;
            db.open(path);
            store::Transaction tx(db);
            db.execute(QStringLiteral("delete from tab_tx1"));
            db.execute(
                QStringLiteral("insert into tab_tx1 (A1,B1,B2,B3) values "
                               "(61,'单项选择题',80,1),(62,'多项选择题',60,1)"));
            // Every question explained; every chapter row charted.
            db.execute(QStringLiteral("update tab_exer set jx = A15"));
            db.execute(QStringLiteral("update tab_kmmc set C7='0', C4=C3/3, D1=C3, D2=C3/4"));
            tx.commit();
        }
        store::TDM1 dm;
        dm.DataModuleCreate(dir.path());
        if (!dm.DatabaseReady) throw std::runtime_error("the bank did not open");

        exam::PaperOptions options;
        options.seed = 20240601;
        const exam::PaperResult paper = exam::MakePaper(dm, 1, options);
        if (!paper.ok) throw std::runtime_error(paper.error.toStdString());
        const double exportMs = bench::MedianOfFiveMs([&] {
            exam::WritePaperDocument(dm, paper.paper.title, dir.path() + QStringLiteral("/docs"));
        });
        std::printf("paper rows %d, chapter rows %d\n", dm.Cn1Query_exam.recordCount(),
                    bank.chapterRows);
        std::printf("export ms %.0f\n", exportMs);

        std::vector<double> charts;
        for (int i = 0; i < 5; ++i) {
            chart::Tfrmchart window(dm);
            QElapsedTimer t;
            t.start();
            window.show();
            const QImage drawn = window.chartPicture();
            charts.push_back(t.nsecsElapsed() / 1e6);
            if (drawn.isNull()) throw std::runtime_error("no chart drawn");
        }
        std::printf("chart ms %.0f\n", bench::MedianMs(charts));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
