// Start-up: opens the question bank and reports what it holds.
#include "DataModule.h"
#include "Globals.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("执业资格考试学习系统"));

    store::TDM1 dm;
    dm.DataModuleCreate();
    if (!dm.DatabaseReady) {
        QMessageBox::critical(nullptr, QStringLiteral("错误"), QStringLiteral("无法连接数据库！"));
        return 1;
    }
    const int chapters =
        dm.ADOCn1.scalar(QStringLiteral("select count(*) from tab_kmmc where len(C1)=6")).toInt();
    const int questions = dm.ADOCn1.scalar(QStringLiteral("select count(*) from tab_answ")).toInt();
    const QString report =
        QStringLiteral("题库已打开：%1 章，%2 道题。").arg(chapters).arg(questions);
    std::printf("%s\n", qPrintable(report));
    QMessageBox::information(nullptr, QStringLiteral("提示"), report);
    return 0;
}
