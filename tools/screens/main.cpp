// screens OUTDIR [PROGRAM_FOLDER]: renders the shared windows of the shell (the
// prompt box in each kind, the progress window) to PNG files, for looking at them
// without clicking through the program.
#include "Globals.h"
#include "Startup.h"
#include "Udlg.h"
#include "Uprogress.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fputs("usage: screens OUTDIR [PROGRAM_FOLDER]\n", stderr);
        return 2;
    }
    const QString out = args[1];
    QDir().mkpath(out);
    qb::ProgramFolder =
        args.size() > 2 ? args[2] + u'/' : QCoreApplication::applicationDirPath() + u'/';
    app::RegisterChineseFonts();
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(14);
    QApplication::setFont(font);

    app::TFrmDlg dlg;
    struct Shot {
        const char* file;
        const char* caption;
        const char* text;
        int kind;
        const char* mode;
        int picture;
    };
    const Shot shots[] = {
        {"prompt-kind0.png", "提示", "本题已作废，是否恢复？", 0, "NO", 0},
        {"prompt-kind1.png", "错误", "无法提取资源文件！", 1, "NO", 2},
        {"prompt-kind2.png", "提示", "还有题目未做，确定要交卷吗？", 2, "Exam", 1},
        {"prompt-kind3.png", "提示", "已选定！", 3, "No", 0},
        {"prompt-kind1-after3.png", "提示", "没发现声卡！", 1, "NO", 1},
    };
    for (const Shot& s : shots) {
        dlg.Prepare(QString::fromUtf8(s.caption), QString::fromUtf8(s.text), s.kind,
                    QString::fromUtf8(s.mode), s.picture);
        dlg.grab().save(out + u'/' + QLatin1String(s.file));
    }
    app::TFrmProgress progress;
    progress.ShowStep(QStringLiteral("正在初始化数据..."));
    progress.grab().save(out + QStringLiteral("/progress.png"));
    return 0;
}
