#include "uRulelxxt.h"

#include "EffectButton.h"
#include "FlatButton.h"
#include "Globals.h"
#include "QuestionCardWidget.h"

#include <QLabel>

#include <memory>

namespace knowledge {
namespace {

practice::TFrmLxxt::Design pointDesign() {
    practice::TFrmLxxt::Design d;
    d.large = TFrmRuleLxxt::kLargeSize;
    d.compact = TFrmRuleLxxt::kCompactSize;
    d.initialPage = practice::AnswerKind::SelfAssessed;
    d.chapterHeading = false;
    d.typeNamesSelfAssessed = false;
    d.editedMarker = false;
    // Without pictures this window closes; the program goes on.
    d.endOnMissingTypePictures = false;
    d.discardCaption = TFrmRuleLxxt::kDiscardCaption;
    d.finishEmptyText = QStringLiteral("题还没做呢！");
    return d;
}

}  // namespace

TFrmRuleLxxt::TFrmRuleLxxt(store::TDM1& dm, QWidget* parent)
    : practice::TFrmLxxt(dm, pointDesign(), parent) {
    setObjectName(QStringLiteral("FrmRuleLxxt"));
    practice::AnswerArea* answers = card()->answers();
    answers->setPageLabel(practice::AnswerKind::SelfAssessed, QStringLiteral("主\r\n观"));
    answers->setPageLabel(practice::AnswerKind::Matching, QStringLiteral("不\r\n定\r\n项"));
    // Questions are not edited here, and their explanations are not opened.
    epEfTrBtn11->hide();
    epEfTrBtn4->hide();
    // The names this window's buttons go by.
    epEfTrBtn7->setObjectName(QStringLiteral("epEfTrBtnwin"));
    epEfTrBtn99->setObjectName(QStringLiteral("epEfTrBtn7"));
    clockCaption->setText(QStringLiteral("时 钟"));
    bottomRows_ = {{epEfTrBtn3, epEfTrBtn6, epEfTrBtn5}, {epEfTrBtn9, epEfTrBtn10, epEfTrBtn99}};
    applyLayout(qb::ScreenMode == QLatin1String("800"));
}

TFrmRuleLxxt::~TFrmRuleLxxt() {
    if (FrmRuleLxxt == this) FrmRuleLxxt = nullptr;
}

practice::PracticeRun RunPointPractice(store::TDM1& dm, const QString& pointName,
                                       const std::function<void()>& beforeShow) {
    auto window = std::make_unique<TFrmRuleLxxt>(dm);
    FrmRuleLxxt = window.get();
    window->setWindowTitle(QString());
    TFrmRuleLxxt& w = *window;
    return practice::RunPracticeWindow(w, [&w, &pointName, &beforeShow] {
        if (beforeShow) beforeShow();
        w.epLabel2->setText(pointName);
    });
}

}  // namespace knowledge
