// midigen OUTDIR: writes the program's background pieces 乐曲01.mid … 乐曲06.mid.
#include <QCoreApplication>
#include <QTextStream>

#include "Pieces.h"

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        err << "usage: midigen OUTDIR\n";
        return 2;
    }
    QString error;
    if (!midigen::writeAllPieces(args[1], &error)) {
        err << "midigen: " << error << "\n";
        return 1;
    }
    return 0;
}
