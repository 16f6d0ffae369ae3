// exam_screens OUTDIR BANK APPDIR: renders the exam window in both layouts, while
// answering and after marking, on a copy of the bank, to PNG files.
#include "DataModule.h"
#include "Globals.h"
#include "PaperMaker.h"
#include "ScratchBank.h"
#include "Uexam.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 4) {
        std::fputs("usage: exam_screens OUTDIR BANK APPDIR\n", stderr);
        return 2;
    }
    const QString out = args[1];
    QDir().mkpath(out);
    screens::ScratchBank scratch(args[2]);
    if (!scratch.error().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(scratch.error()));
        return 1;
    }
    screens::UseProgramFonts();
    store::TDM1& dm = scratch.dm();
    // The pictures come from the program; the bank stays the scratch copy.
    qb::ProgramFolder = args[3] + u'/';
    for (const char* mode : {"1024", "800"}) {
        qb::ScreenMode = QLatin1String(mode);
        const exam::PaperResult made = exam::MakePaper(dm, 1);
        if (!made.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(made.error));
            return 1;
        }
        exam::TFrmExam window(dm);
        const exam::PaperState& p = made.paper;
        window.PreparePaper(p.table, p.title, p.mode, p.score, p.timeUsed);
        if (!window.OpenPaper()) return 1;
        window.show();
        QTest::qWait(50);
        window.grab().save(out + QStringLiteral("/exam-answering-%1.png").arg(QLatin1String(mode)));
        window.GradePaper(QStringLiteral("0:12:34"));
        QTest::qWait(50);
        window.grab().save(out + QStringLiteral("/exam-review-%1.png").arg(QLatin1String(mode)));
        window.close();
    }
    return 0;
}
