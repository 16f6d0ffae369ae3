// picgen OUTDIR: draws the program's pictures into OUTDIR (the pic folder).
#include "Pictures.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Run during the build, where there may be no display at all.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: picgen OUTDIR\n");
        return 2;
    }
    const QStringList failed = picgen::writePictures(args.at(1));
    for (const QString& file : failed) {
        std::fprintf(stderr, "picgen: cannot write %s\n", qPrintable(file));
    }
    return failed.isEmpty() ? 0 : 1;
}
