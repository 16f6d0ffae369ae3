// picgen OUTDIR: draws the program's pictures into OUTDIR (the pic folder).
// picgen --icon SIDE FILE.png: draws the program's icon, SIDE pixels square.
#include "Pictures.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Run during the build, where there may be no display at all.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == u"--icon") {
        bool ok = false;
        const int side = args.at(2).toInt(&ok);
        if (ok && side > 0 && picgen::writeIcon(side, args.at(3))) return 0;
        std::fprintf(stderr, "picgen: cannot write the icon %s\n", qPrintable(args.at(3)));
        return 1;
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: picgen OUTDIR | picgen --icon SIDE FILE.png\n");
        return 2;
    }
    const QStringList failed = picgen::writePictures(args.at(1));
    for (const QString& file : failed) {
        std::fprintf(stderr, "picgen: cannot write %s\n", qPrintable(file));
    }
    return failed.isEmpty() ? 0 : 1;
}
