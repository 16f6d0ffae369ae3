// practicescreens OUTDIR BANK [CHAPTER]: renders the chapter practice window in both
// layouts to PNG files: the first question of the chapter's new questions, the first
// question of a group (two stem panes), that question answered with the verdict
// panel out, and the six answer pages. Works on a copy of BANK with freshly drawn pictures, so the
// bank given is never written.
#include "DataModule.h"
#include "EffectButton.h"
#include "Globals.h"
#include "PictureButtonGroup.h"
#include "Pictures.h"
#include "QuestionCardWidget.h"
#include "ScratchBank.h"
#include "Ulxxt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QPainter>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fputs("usage: practicescreens OUTDIR BANK [CHAPTER]\n", stderr);
        return 2;
    }
    const QString out = args[1];
    const QString chapter = args.size() > 3 ? args[3] : QStringLiteral("020101");
    QDir().mkpath(out);
    screens::ScratchBank scratch(args[2]);
    if (!scratch.error().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(scratch.error()));
        return 1;
    }
    if (!picgen::writePictures(scratch.folder() + QStringLiteral("/pic")).isEmpty()) {
        std::fputs("cannot draw the pictures\n", stderr);
        return 1;
    }
    screens::UseProgramFonts();
    store::TDM1& dm = scratch.dm();
    qb::CurrentKind = 1;
    practice::StemArea::setSlideStepDelay(0);

    for (const QString& mode : {QStringLiteral("1024"), QStringLiteral("800")}) {
        qb::ScreenMode = mode;
        qb::CurrentChapterTitle =
            dm.ADOCn1
                .scalar(QStringLiteral("select C1_1 from tab_kmmc where C1=?"), {{{}, chapter}})
                .toString();
        qb::PracticeSql =
            QStringLiteral(
                "select a1 ,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,"
                "e2,e2_1,e3,e4,f1,xx,csbs,ecount from tab_answ where (left(A10,%1) = "
                "%2) and (E2 = '' or E2 is null)  and (f1<>1)  order by a13,a10,xx,a1")
                .arg(chapter.size())
                .arg(store::quoted(chapter));
        practice::TFrmLxxt window(dm);
        window.setWindowTitle(QStringLiteral("练习新题"));
        if (!window.LoadPracticeSet()) {
            std::fputs("the chapter has no new questions\n", stderr);
            return 1;
        }
        window.show();
        window.grab().save(out + QStringLiteral("/practice-%1-first.png").arg(mode));

        // The first question of a group: its type's button, then along the set.
        store::Query& set = dm.Cn1Query_tm;
        int grouped = 0;
        for (int n = 1; n <= set.recordCount() && grouped == 0; ++n) {
            set.setRecNo(n);
            if (set.text(QStringLiteral("A1")).contains(u'-')) grouped = n;
        }
        if (grouped == 0) {
            std::fputs("the chapter has no grouped question\n", stderr);
            return 1;
        }
        while (window.CurrentQuestionNo < grouped && window.epEfTrBtn2->isEnabled()) {
            window.epEfTrBtn2Click();
        }
        window.grab().save(out + QStringLiteral("/practice-%1-group.png").arg(mode));

        // Every answer page, one under another.
        practice::AnswerArea* answers = window.card()->answers();
        const practice::AnswerKind shown = answers->kind();
        QImage pages(answers->width(), answers->height() * answers->count(), QImage::Format_RGB32);
        pages.fill(Qt::white);
        QPainter painter(&pages);
        for (int page = 0; page < answers->count(); ++page) {
            const auto kind = static_cast<practice::AnswerKind>(page);
            answers->setKind(kind);
            answers->showStoredAnswer(kind, 4, page == 2 ? QStringLiteral("TCP,UDP") : QString());
            painter.drawPixmap(0, page * answers->height(), answers->grab());
        }
        painter.end();
        pages.save(out + QStringLiteral("/practice-%1-pages.png").arg(mode));
        answers->setKind(shown);
        if (widgets::PictureButtonGroup* bar = answers->optionBar(answers->kind())) {
            bar->setPressed(1, true);
        }
        window.epEfTrBtn3Click();
        window.epEfTrBtn6Click();
        window.grab().save(out + QStringLiteral("/practice-%1-verdict.png").arg(mode));
        window.close();
    }
    return 0;
}
