// studyscreens OUTDIR BANK [QUESTION]: renders the note window, the explanation window and the
// related-knowledge-points window (both layouts, before and after a click) to PNG
// files, using a copy of BANK so that the note written for the picture stays there.
#include "DataModule.h"
#include "Globals.h"
#include "ScratchBank.h"
#include "UAnswFagui.h"
#include "Ubj.h"
#include "Ujx.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QListWidget>
#include <QPlainTextEdit>

#include <cstdio>

namespace {

// A question with an explanation and the most knowledge points.
QString richestQuestion(store::TDM1& dm) {
    return dm.ADOCn1
        .scalar(QStringLiteral(
            "select a.A1 from tab_answ a join tab_exer e on e.A1=a.A1 where e.jx is not null "
            "order by (a.K3<>'')+(coalesce(a.K4,'')<>'')+(coalesce(a.K5,'')<>'') desc, a.A1"))
        .toString();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fputs("usage: studyscreens OUTDIR BANK [QUESTION]\n", stderr);
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
    const QString id = args.size() > 3 ? args[3] : richestQuestion(dm);
    dm.Cn1Query_tm.setSql(QStringLiteral("select * from tab_answ where A1=:A1"));
    dm.Cn1Query_tm.setParam(QStringLiteral("A1"), id);
    dm.Cn1Query_tm.open();
    dm.cn1query_nr.setSql(QStringLiteral("select * from tab_exer where A1=:A1"));
    dm.cn1query_nr.setParam(QStringLiteral("A1"), id);
    dm.cn1query_nr.open();

    {
        aids::TFrmBj note(dm, aids::NoteOrigin::Practice);
        auto* memo = note.findChild<QPlainTextEdit*>(QStringLiteral("DBMemo1"));
        QString text = QStringLiteral("易错点：补码的“取反加一”只对负数适用。\n");
        for (int i = 1; i <= 14; ++i)
            text += QStringLiteral("第%1条：“原码、反码与补码”要分清，'0'有两种表示。\n").arg(i);
        memo->setPlainText(text);
        note.show();
        note.grab().save(out + QStringLiteral("/note.png"));
        memo->clear();
        note.done(0);
    }
    {
        aids::TFrmJx explanation(dm, aids::ExplanationSource::Practice);
        explanation.show();
        explanation.grab().save(out + QStringLiteral("/explanation.png"));
    }
    for (const QString& mode : {QStringLiteral("1024"), QStringLiteral("800")}) {
        qb::ScreenMode = mode;
        knowledge::TfrmAnswFagui points(dm);
        if (!points.LoadQuestionPoints(id)) {
            std::fputs("the question has no knowledge points\n", stderr);
            return 1;
        }
        points.show();
        points.grab().save(out + QStringLiteral("/knowledge-%1.png").arg(mode));
        auto* list = points.findChild<QListWidget*>(QStringLiteral("ListBox1"));
        if (list->count() > 1) {
            list->setCurrentRow(list->count() - 1);
            points.grab().save(out + QStringLiteral("/knowledge-%1-click.png").arg(mode));
        }
    }
    std::printf("question %s\n", qPrintable(id));
    return 0;
}
