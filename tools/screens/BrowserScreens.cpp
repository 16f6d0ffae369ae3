// browser_screens OUTDIR BANK: renders the subject and chapter browser in both
// layouts to PNG files, on a copy of the bank with a few answers counted, for
// looking at it without clicking through the program.
#include "DataModule.h"
#include "Globals.h"
#include "ScratchBank.h"
#include "Startup.h"
#include "Ukmmc.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fputs("usage: browser_screens OUTDIR BANK\n", stderr);
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
    // Some progress, so that the counters and the score have something to show.
    for (int i = 0; i < 40; ++i) {
        dm.RecordChapterAnswer(QStringLiteral("010102"), i < 16 ? qb::kYes : qb::kNo,
                               i % 7 == 0 ? qb::kYes : qb::kNo);
    }
    dm.CloseStudySession(QStringLiteral("0:20:00"));

    const struct {
        const char* mode;
        int screenWidth;
        const char* file;
    } shots[] = {{"1024", 1024, "browser-1024.png"}, {"800", 800, "browser-800.png"}};
    for (const auto& s : shots) {
        qb::ScreenMode = QLatin1String(s.mode);
        practice::TFrmkmmc browser(dm);
        browser.setScreenWidthProvider([w = s.screenWidth] { return w; });
        browser.show();
        dm.Cn1Table_kmmc.locate(QStringLiteral("C1"), QStringLiteral("010102"));
        QTest::qWait(50);
        browser.grab().save(out + u'/' + QLatin1String(s.file));
        browser.close();
    }
    return 0;
}
