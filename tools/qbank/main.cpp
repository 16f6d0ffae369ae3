// qbank: makes and inspects question-bank files.
//   qbank init BANK            creates an empty bank (refuses an existing file)
//   qbank ensure BANK          creates an empty bank only when BANK does not exist
#include "Engine.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

int usage() {
    std::fputs("usage: qbank init BANK | qbank ensure BANK\n", stderr);
    return 2;
}

int makeBank(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    store::createEmptyBank(path);
    std::printf("created %s\n", qPrintable(path));
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2)
        return usage();
    try {
        if (args[0] == QLatin1String("init"))
            return makeBank(args[1]);
        if (args[0] == QLatin1String("ensure")) {
            // A rebuild never touches a bank that holds someone's progress.
            if (QFileInfo::exists(args[1]))
                return 0;
            return makeBank(args[1]);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qbank: %s\n", e.what());
        return 1;
    }
    return usage();
}
