#include "Ulxxt.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "FlatButton.h"
#include "Gauge.h"
#include "Globals.h"
#include "NumberDisplay.h"
#include "PictureButtonGroup.h"
#include "PracticeLauncher.h"
#include "PracticeSet.h"
#include "ProgramEnd.h"
#include "Prompt.h"
#include "QuestionCard.h"
#include "QuestionCardWidget.h"
#include "Skin.h"
#include "StudyAnimation.h"
#include "UAnswFagui.h"
#include "Ubj.h"
#include "Ujx.h"
#include "WindowHooks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>

#include <memory>

namespace practice {
namespace {

QuestionEditorRunner& questionEditorRunner() {
    static QuestionEditorRunner installed;
    return installed;
}

const QString kPictureError = QStringLiteral("无法提取资源文件！");

bool loadPair(const QString& up, const QString& down, QPixmap& upPicture, QPixmap& downPicture) {
    return upPicture.load(qb::ProgramFolder + up) && downPicture.load(qb::ProgramFolder + down);
}

void missingPictures() {
    widgets::ShowPromptBox(QStringLiteral("错误"), kPictureError, 1, QStringLiteral("NO"),
                           widgets::kPictureError);
    EndProgram();
}

// Where everything goes in one layout; the regions are drawn behind the controls.
struct Layout {
    QSize window;
    QRect left, right, bottom;
    QRect title, header, redMarker, boldMarker, gauge, stem;
    QRect settings, desktop, clockCaption, clock, animation;
    QRect typeTitle, typeBar, numberTitle, numberBar, groups, group, previousGroup, nextGroup;
    QRect previous, answers, next;
    int buttonsLeft, buttonsTop, buttonWidth, buttonHeight, buttonGap;
    QSize typeTile, numberTile, optionTile;
    int gap;  // between tiles
    int titlePixels, textPixels, labelPixels, controlPixels;
};

const Layout kLarge{
    .window = {923, 585},
    .left = {4, 4, 740, 520},
    .right = {748, 4, 171, 520},
    .bottom = {4, 528, 915, 55},
    .title = {12, 8, 724, 22},
    .header = {36, 32, 250, 20},
    .redMarker = {292, 32, 240, 20},
    .boldMarker = {538, 32, 198, 20},
    .gauge = {13, 56, 18, 463},
    .stem = {36, 56, 700, 463},
    .settings = {756, 12, 74, 24},
    .desktop = {837, 12, 74, 24},
    .clockCaption = {756, 48, 80, 18},
    .clock = {756, 68, 100, 30},
    .animation = {862, 50, 50, 46},
    .typeTitle = {756, 112, 155, 18},
    .typeBar = {756, 133, 155, 108},
    .numberTitle = {756, 254, 155, 18},
    .numberBar = {756, 275, 155, 126},
    .groups = {756, 414, 155, 20},
    .group = {756, 438, 155, 20},
    .previousGroup = {756, 476, 74, 28},
    .nextGroup = {837, 476, 74, 28},
    .previous = {10, 533, 58, 45},
    .answers = {74, 530, 432, 51},
    .next = {512, 533, 58, 45},
    .buttonsLeft = 578,
    .buttonsTop = 532,
    .buttonWidth = 80,
    .buttonHeight = 23,
    .buttonGap = 4,
    .typeTile = {76, 24},
    .numberTile = {29, 30},
    .optionTile = {36, 28},
    .gap = 3,
    .titlePixels = 16,
    .textPixels = 14,
    .labelPixels = 13,
    .controlPixels = 14,
};

const Layout kCompact{
    .window = {780, 490},
    .left = {3, 3, 622, 430},
    .right = {628, 3, 149, 430},
    .bottom = {3, 436, 774, 52},
    .title = {9, 6, 610, 18},
    .header = {30, 25, 200, 18},
    .redMarker = {236, 25, 200, 18},
    .boldMarker = {440, 25, 180, 18},
    .gauge = {10, 45, 15, 384},
    .stem = {30, 45, 590, 384},
    .settings = {634, 9, 66, 22},
    .desktop = {704, 9, 66, 22},
    .clockCaption = {634, 38, 70, 16},
    .clock = {634, 56, 86, 26},
    .animation = {728, 38, 44, 40},
    .typeTitle = {634, 92, 137, 16},
    .typeBar = {634, 110, 137, 96},
    .numberTitle = {634, 214, 137, 16},
    .numberBar = {634, 232, 137, 100},
    .groups = {634, 340, 137, 18},
    .group = {634, 360, 137, 18},
    .previousGroup = {634, 392, 66, 24},
    .nextGroup = {704, 392, 66, 24},
    .previous = {8, 441, 48, 42},
    .answers = {60, 437, 364, 50},
    .next = {428, 441, 48, 42},
    .buttonsLeft = 482,
    .buttonsTop = 440,
    .buttonWidth = 70,
    .buttonHeight = 21,
    .buttonGap = 2,
    .typeTile = {67, 22},
    .numberTile = {25, 23},
    .optionTile = {30, 24},
    .gap = 2,
    .titlePixels = 14,
    .textPixels = 12,
    .labelPixels = 11,
    .controlPixels = 12,
};

// A layout for a window of another size: the right column and the buttons keep
// their widths and follow the right edge, the bottom strip follows the lower edge,
// and the stem and answer areas give or take the difference.
Layout resized(const Layout& base, QSize window) {
    const int dx = base.window.width() - window.width();
    const int dy = base.window.height() - window.height();
    if (dx == 0 && dy == 0) return base;
    Layout l = base;
    l.window = window;
    for (QRect* r : {&l.left, &l.title, &l.stem})
        r->setWidth(r->width() - dx);
    l.bottom.setWidth(l.bottom.width() - dx);
    l.answers.setWidth(l.answers.width() - dx);
    l.next.translate(-dx, 0);
    l.buttonsLeft -= dx;
    for (QRect* r : {&l.boldMarker, &l.right, &l.settings, &l.desktop, &l.clockCaption, &l.clock,
                     &l.animation, &l.typeTitle, &l.typeBar, &l.numberTitle, &l.numberBar,
                     &l.groups, &l.group, &l.previousGroup, &l.nextGroup})
        r->translate(-dx, 0);
    for (QRect* r : {&l.left, &l.right, &l.stem, &l.gauge})
        r->setHeight(r->height() - dy);
    for (QRect* r : {&l.bottom, &l.previous, &l.answers, &l.next})
        r->translate(0, -dy);
    l.buttonsTop -= dy;
    return l;
}

}  // namespace

void setQuestionEditorRunner(QuestionEditorRunner runner) {
    questionEditorRunner() = std::move(runner);
}

// ------------------------------------------------------------------ creation

TFrmLxxt::TFrmLxxt(store::TDM1& dm, QWidget* parent) : TFrmLxxt(dm, Design{}, parent) {}

TFrmLxxt::TFrmLxxt(store::TDM1& dm, Design design, QWidget* parent)
    : widgets::ModalForm(parent), dm_(dm), design_(std::move(design)) {
    setObjectName(QStringLiteral("FrmLxxt"));
    setFont(widgets::PixelFont(14));
    buildControls();
    card_->answers()->setKind(design_.initialPage);
    applyLayout(qb::ScreenMode == QLatin1String("800"));
    // Buttons whose window is not installed in this program are grey, not dead.
    epEfTrBtn11->setEnabled(static_cast<bool>(questionEditorRunner()));
    epEfTrBtn8->setEnabled(widgets::HasSystemSettings());
    FormCreate();
    // Keys go to the window before its controls (Backspace, Enter, A to F).
    qApp->installEventFilter(this);
}

TFrmLxxt::~TFrmLxxt() {
    qApp->removeEventFilter(this);
    // Freed while still open (the program ending under it): what the controls hold
    // and the time spent are kept all the same.
    if (shown_ && !closed_) {
        bool canClose = true;
        FormCloseQuery(canClose);
    }
    if (FrmLxxt == this) FrmLxxt = nullptr;
}

void TFrmLxxt::FormCreate() {
    picturesLoaded_ = loadPair(QStringLiteral("pic/zemoup.bmp"), QStringLiteral("pic/zemodw.bmp"),
                               unanswered_.up, unanswered_.down) &&
                      loadPair(QStringLiteral("pic/zemoyes.bmp"),
                               QStringLiteral("pic/zemodw_r.bmp"), right_.up, right_.down) &&
                      loadPair(QStringLiteral("pic/zemono.bmp"), QStringLiteral("pic/zemodw_w.bmp"),
                               wrong_.up, wrong_.down);
    if (!picturesLoaded_) {
        missingPictures();
        return;
    }
    fcBG_th->setPictures(unanswered_.up, unanswered_.down);
    card_->answers()->setOptionPictures(unanswered_.up, unanswered_.down);
}

widgets::EffectButton* TFrmLxxt::makeButton(const char* name, const QString& caption,
                                            void (TFrmLxxt::*handler)()) {
    auto* button = new widgets::EffectButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QAbstractButton::clicked, this,
            [this, handler] { widgets::RunGuarded([this, handler] { (this->*handler)(); }); });
    return button;
}

widgets::FlatButton* TFrmLxxt::makeFlatButton(const char* name, const QString& caption,
                                              void (TFrmLxxt::*handler)()) {
    auto* button = new widgets::FlatButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QAbstractButton::clicked, this,
            [this, handler] { widgets::RunGuarded([this, handler] { (this->*handler)(); }); });
    return button;
}

void TFrmLxxt::buildControls() {
    const auto region = [this](const char* name) {
        auto* frame = new QFrame(this);
        frame->setObjectName(QLatin1String(name));
        frame->setStyleSheet(QStringLiteral("QFrame#%1 { background: #f7fafd; border: 1px solid "
                                            "#7aa0cd; border-radius: 4px; }")
                                 .arg(QLatin1String(name)));
        return frame;
    };
    leftRegion = region("LeftRegion");
    rightRegion = region("RightRegion");
    bottomRegion = region("BottomRegion");

    const auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    epLabel2 = label("epLabel2", QStringLiteral("提示板"));
    epLabel2->setAlignment(Qt::AlignCenter);
    epLabel2->setStyleSheet(QStringLiteral("color: #3c6496;"));

    card_ = new QuestionCardWidget(this);
    epIndiGauge1 = new widgets::Gauge(this);
    epIndiGauge1->setObjectName(QStringLiteral("epIndiGauge1"));
    epIndiGauge1->setOrientation(Qt::Vertical);
    epIndiGauge1->setRange(0, 100);
    epIndiGauge1->setToolTip(QStringLiteral("答题时间"));

    epEfTrBtn1 = makeButton("epEfTrBtn1", QStringLiteral("上一题"), &TFrmLxxt::epEfTrBtn1Click);
    epEfTrBtn2 = makeButton("epEfTrBtn2", QStringLiteral("下一题"), &TFrmLxxt::epEfTrBtn2Click);
    epEfTrBtn3 = makeButton("epEfTrBtn3", QStringLiteral("完成"), &TFrmLxxt::epEfTrBtn3Click);
    epEfTrBtn6 =
        makeButton("epEfTrBtn6", QuestionCardWidget::kAnswerCaption, &TFrmLxxt::epEfTrBtn6Click);
    epEfTrBtn4 = makeButton("epEfTrBtn4", QStringLiteral("解析"), &TFrmLxxt::epEfTrBtn4Click);
    epEfTrBtn5 =
        makeButton("epEfTrBtn5", QuestionCardWidget::kNoteCaption, &TFrmLxxt::epEfTrBtn5Click);
    epEfTrBtn9 = makeButton("epEfTrBtn9", QStringLiteral("考点"), &TFrmLxxt::epEfTrBtn9Click);
    epEfTrBtn11 =
        makeButton("epEfTrBtn11", QStringLiteral("修改本题"), &TFrmLxxt::epEfTrBtn11Click);
    epEfTrBtn10 = makeButton("epEfTrBtn10", design_.discardCaption, &TFrmLxxt::epEfTrBtn10Click);
    epEfTrBtn99 = makeButton("epEfTrBtn99", QStringLiteral("关闭"), &TFrmLxxt::epEfTrBtn99Click);
    card_->setSideButtons({epEfTrBtn4, epEfTrBtn9, epEfTrBtn6, epEfTrBtn5});
    bottomRows_ = {{epEfTrBtn3, epEfTrBtn6, epEfTrBtn4, epEfTrBtn5},
                   {epEfTrBtn9, epEfTrBtn11, epEfTrBtn10, epEfTrBtn99}};

    epEfTrBtn8 = makeFlatButton("epEfTrBtn8", QStringLiteral("设置"), &TFrmLxxt::epEfTrBtn8Click);
    epEfTrBtn7 = makeFlatButton("epEfTrBtn7", QStringLiteral("桌面"), &TFrmLxxt::epEfTrBtn7Click);
    clockCaption = label("ClockCaption", QStringLiteral("时钟"));
    epLabel1 = new widgets::NumberDisplay(this);
    epLabel1->setObjectName(QStringLiteral("epLabel1"));
    epLabel1->setSeconds(0);
    RxGIFAnimator1 = new StudyAnimation(this);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));

    typeBoardTitle = label("TypeBoardTitle", QStringLiteral("题型指示板"));
    fcBG_tx = new widgets::PictureButtonGroup(this);
    fcBG_tx->setObjectName(QStringLiteral("fcBG_tx"));
    // The region shows through beside the buttons.
    fcBG_tx->setAutoFillBackground(false);
    fcBG_tx->setColumns(2);
    connect(fcBG_tx, &widgets::PictureButtonGroup::changed, this,
            [this](int index) { widgets::RunGuarded([this, index] { fcBG_txChange(index); }); });

    numberBoardTitle = label("NumberBoardTitle", QStringLiteral("题目指示板"));
    fcBG_th = new widgets::PictureButtonGroup(this);
    fcBG_th->setObjectName(QStringLiteral("fcBG_th"));
    fcBG_th->setAutoFillBackground(false);
    fcBG_th->setColumns(5);
    fcBG_th->setFillDownColumns(true);
    fcBG_th->setCount(kGroupSize);
    fcBG_th->numberButtons(1);
    for (int i = 0; i < kGroupSize; ++i) {
        fcBG_th->buttonAt(i)->setObjectName(QStringLiteral("fcBG_th_%1").arg(i + 1));
        fcBG_th->buttonAt(i)->setFocusPolicy(Qt::NoFocus);
        fcBG_th->buttonAt(i)->setTag(0);
        fcBG_th->buttonAt(i)->setEnabled(false);
    }
    connect(fcBG_th, &widgets::PictureButtonGroup::changed, this,
            [this](int index) { widgets::RunGuarded([this, index] { fcBG_thChange(index); }); });

    lbGroups = label("lbGroups", QString());
    lbGroup = label("lbGroup", QString());
    for (QLabel* l : {lbGroups, lbGroup})
        l->setAlignment(Qt::AlignCenter);
    FlatSpeedButton1 = makeFlatButton("FlatSpeedButton1", QStringLiteral("<-上一组"),
                                      &TFrmLxxt::FlatSpeedButton1Click);
    FlatSpeedButton2 = makeFlatButton("FlatSpeedButton2", QStringLiteral("下一组->"),
                                      &TFrmLxxt::FlatSpeedButton2Click);
    FlatSpeedButton1->setEnabled(false);
    FlatSpeedButton2->setEnabled(false);

    // The controls lie over the regions.
    for (QFrame* frame : {leftRegion, rightRegion, bottomRegion})
        frame->lower();

    Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Timer1, &QTimer::timeout, this,
            [this] { widgets::RunGuarded([this] { Timer1Timer(); }); });
    KZTimeCounter1.setObjectName(QStringLiteral("KZTimeCounter1"));
    KZTimeCounter1.setInterval(1000);
    connect(&KZTimeCounter1, &QTimer::timeout, this, [this] { KZTimeCounter1Timer(); });
}

void TFrmLxxt::applyLayout(bool compact) {
    compact_ = compact;
    const Layout l =
        resized(compact ? kCompact : kLarge, compact ? design_.compact : design_.large);
    setFixedSize(l.window);
    setFont(widgets::PixelFont(l.textPixels));
    leftRegion->setGeometry(l.left);
    rightRegion->setGeometry(l.right);
    bottomRegion->setGeometry(l.bottom);
    epLabel2->setGeometry(l.title);
    epLabel2->setFont(widgets::PixelFont(l.titlePixels, true));
    card_->header()->setGeometry(l.header);
    card_->redMarker()->setGeometry(l.redMarker);
    card_->boldMarker()->setGeometry(l.boldMarker);
    for (QLabel* marker : {card_->header(), card_->redMarker()})
        marker->setFont(widgets::PixelFont(l.textPixels));
    card_->boldMarker()->setFont(widgets::PixelFont(l.textPixels, true));
    epIndiGauge1->setGeometry(l.gauge);
    card_->stem()->setGeometry(l.stem);

    epEfTrBtn8->setGeometry(l.settings);
    epEfTrBtn7->setGeometry(l.desktop);
    clockCaption->setGeometry(l.clockCaption);
    epLabel1->setGeometry(l.clock);
    RxGIFAnimator1->setGeometry(l.animation);
    typeBoardTitle->setGeometry(l.typeTitle);
    numberBoardTitle->setGeometry(l.numberTitle);
    for (QLabel* title : {typeBoardTitle, numberBoardTitle, clockCaption})
        title->setFont(widgets::PixelFont(l.textPixels, true));

    fcBG_tx->setGeometry(l.typeBar);
    fcBG_tx->setSpacing(l.gap);
    // More types than the board has rows for: the buttons get lower, never clipped.
    const int typeRows = std::max((fcBG_tx->count() + 1) / 2, 1);
    const int typeHeight =
        std::min(l.typeTile.height(), (l.typeBar.height() - (typeRows - 1) * l.gap) / typeRows);
    for (int i = 0; i < fcBG_tx->count(); ++i) {
        widgets::PictureButton* button = fcBG_tx->buttonAt(i);
        button->setFixedSize(l.typeTile.width(), typeHeight);
        // Long type names get a smaller face rather than losing characters.
        int pixels = l.textPixels - 1;
        while (pixels > 9 &&
               QFontMetrics(widgets::PixelFont(pixels)).horizontalAdvance(button->text()) >
                   l.typeTile.width() - 6) {
            --pixels;
        }
        button->setFont(widgets::PixelFont(pixels));
    }
    fcBG_th->setGeometry(l.numberBar);
    fcBG_th->setSpacing(l.gap);
    for (int i = 0; i < fcBG_th->count(); ++i)
        fcBG_th->buttonAt(i)->setFixedSize(l.numberTile);
    lbGroups->setGeometry(l.groups);
    lbGroup->setGeometry(l.group);
    FlatSpeedButton1->setGeometry(l.previousGroup);
    FlatSpeedButton2->setGeometry(l.nextGroup);

    epEfTrBtn1->setGeometry(l.previous);
    card_->answers()->setGeometry(l.answers);
    card_->answers()->setMetrics(l.optionTile, l.labelPixels, l.controlPixels);
    epEfTrBtn2->setGeometry(l.next);
    // Fewer buttons to a row share the span of four.
    const int span = 4 * l.buttonWidth + 3 * l.buttonGap;
    for (size_t r = 0; r < bottomRows_.size(); ++r) {
        const int columns = std::max(static_cast<int>(bottomRows_[r].size()), 1);
        const int width = (span - (columns - 1) * l.buttonGap) / columns;
        for (int c = 0; c < columns; ++c) {
            bottomRows_[r][static_cast<size_t>(c)]->setGeometry(
                l.buttonsLeft + c * (width + l.buttonGap),
                l.buttonsTop + static_cast<int>(r) * (l.buttonHeight + 2), width, l.buttonHeight);
        }
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             epEfTrBtn1, epEfTrBtn2, epEfTrBtn3, epEfTrBtn6, epEfTrBtn4, epEfTrBtn5, epEfTrBtn9,
             epEfTrBtn11, epEfTrBtn10, epEfTrBtn99, epEfTrBtn8, epEfTrBtn7, FlatSpeedButton1,
             FlatSpeedButton2, lbGroups, lbGroup}) {
        w->setFont(widgets::PixelFont(l.textPixels));
    }
}

// ------------------------------------------------------------------ the set

bool TFrmLxxt::LoadPracticeSet() {
    loadFailed_ = !picturesLoaded_;
    if (!picturesLoaded_) return false;
    if (!OpenPracticeSet(dm_)) return false;
    store::Query& set = dm_.Cn1Query_tm;
    set.first();
    firstQuestionId_ = set.text(QStringLiteral("A1"));

    if (!loadPair(QStringLiteral("pic/zemotxup.bmp"), QStringLiteral("pic/zemotxdw.bmp"), typeUp_,
                  typeDown_)) {
        typeUp_ = typeDown_ = QPixmap();
        loadFailed_ = true;
        if (design_.endOnMissingTypePictures) {
            missingPictures();
        } else {
            widgets::ShowPromptBox(QStringLiteral("错误"), kPictureError, 1, QStringLiteral("NO"),
                                   widgets::kPictureError);
        }
        return false;
    }

    store::Table& types = dm_.Cn1Table_tx;
    const QString typeTable = QStringLiteral("tab_tx%1").arg(std::max(qb::CurrentKind, 1));
    if (types.isActive() && types.tableName().compare(typeTable, Qt::CaseInsensitive) != 0) {
        types.close();
    }
    if (!types.isActive()) {
        types.setTableName(typeTable);
        types.open();
    }
    types.setSort(QStringLiteral("A1 ASC"));
    types.first();
    fcBG_tx->setCount(0);
    fcBG_tx->setColumns(2);
    fcBG_tx->setPictures(typeUp_, typeDown_);
    fcBG_tx->setCount(1 + types.recordCount());
    fcBG_tx->buttonAt(0)->setText(QStringLiteral("任意"));
    fcBG_tx->buttonAt(0)->setTag(0);
    fcBG_tx->buttonAt(0)->setObjectName(QStringLiteral("fcBG_tx_0"));
    for (int n = 1; n <= types.recordCount(); ++n) {
        types.setRecNo(n);
        widgets::PictureButton* button = fcBG_tx->buttonAt(n);
        const int typeId = types.asInt(QStringLiteral("A1"));
        button->setTag(typeId);
        button->setText(types.text(QStringLiteral("B1")));
        button->setObjectName(QStringLiteral("fcBG_tx_%1").arg(typeId));
        set.setFilter(QStringLiteral("A13=") + QString::number(typeId));
        set.setFiltered(true);
        // A type the set has no question of cannot be chosen.
        if (set.recordCount() == 0) button->setEnabled(false);
    }
    for (int i = 0; i < fcBG_tx->count(); ++i)
        fcBG_tx->buttonAt(i)->setFocusPolicy(Qt::NoFocus);
    // The new buttons take the sizes of the layout in force.
    applyLayout(compact_);
    return true;
}

void TFrmLxxt::showEvent(QShowEvent* event) {
    widgets::ModalForm::showEvent(event);
    if (shown_) return;
    shown_ = true;
    widgets::CentreOnDesktop(this);
    widgets::RunGuarded([this] { FormShow(); });
}

void TFrmLxxt::FormShow() {
    widgets::SetBusyCursor();
    epIndiGauge1->setValue(0);
    applyLayout(qb::ScreenMode == QLatin1String("800"));
    openTexts(firstQuestionId_);
    card_->stem()->collapseLower();
    card_->stem()->closeVerdictNow();
    if (design_.chapterHeading && !qb::CurrentChapterTitle.isEmpty()) {
        epLabel2->setText(qb::CurrentChapterTitle);
    }
    CurrentQuestionNo = 0;
    if (fcBG_tx->count() > 0) {
        fcBG_tx->setPressedIndex(0);
        fcBG_txChange(0);
    }
    clock_.reset();
    epLabel1->setSeconds(0);
    KZTimeCounter1.start();
    widgets::SetNormalCursor();
    RxGIFAnimator1->start();
    epEfTrBtn9->setEnabled(false);
}

int TFrmLxxt::setSize() {
    store::Query& set = dm_.Cn1Query_tm;
    return set.isActive() ? set.recordCount() : 0;
}

bool TFrmLxxt::onCurrentQuestion() {
    store::Query& set = dm_.Cn1Query_tm;
    if (!set.isActive() || CurrentQuestionNo <= 0 || CurrentQuestionNo > set.recordCount()) {
        return false;
    }
    if (set.recNo() != CurrentQuestionNo) set.setRecNo(CurrentQuestionNo);
    return true;
}

void TFrmLxxt::openTexts(const QString& questionId) {
    store::Query& texts = dm_.cn1query_nr;
    texts.close();
    texts.setSql(QStringLiteral("select * from tab_exer where a1 =") + store::quoted(questionId));
    texts.open();
}

// ------------------------------------------------------------------ type, group, number

void TFrmLxxt::fcBG_txChange(int index) {
    widgets::PictureButton* button = fcBG_tx->buttonAt(index);
    if (button == nullptr) return;
    if (CurrentQuestionNo > 0) {
        leaveQuestion(RecordMode::Quiet);
        CurrentQuestionNo = 0;
    }
    const int tag = button->tag();
    QString filter;
    if (tag != 0) filter = QStringLiteral("A13=") + QString::number(tag);
    if (design_.typeNamesSelfAssessed) {
        const QString caption = button->text();
        card_->answers()->setPageLabel(
            AnswerKind::SelfAssessed,
            tag == 0 ? QStringLiteral("主\r观") : caption.left(1) + u'\r' + caption.mid(1, 1));
    }
    store::Query& set = dm_.Cn1Query_tm;
    if (filter != set.filter()) {
        set.setFilter(QString());
        set.setFilter(filter);
        set.setFiltered(true);
    }
    if (set.recordCount() == 0) {
        button->setEnabled(false);
        if (previousType_ >= 0 && previousType_ != index) {
            fcBG_tx->setPressedIndex(previousType_);
            fcBG_txChange(previousType_);
        } else {
            fcBG_tx->setPressed(index, false);
        }
        return;
    }
    previousType_ = index;
    ShowGroup(QStringLiteral("1"), set.recordCount());
}

void TFrmLxxt::ShowGroup(const QString& mode, int size) {
    GroupStart = 1;
    GroupCount = 1;
    if (mode == QLatin1String("1")) {
        groups_ = size / kGroupSize + (size % kGroupSize != 0 ? 1 : 0);
        lbGroups->setText(QStringLiteral("共%1组%2道题").arg(groups_).arg(size));
        currentGroup_ = 1;
        FlatSpeedButton1->setEnabled(false);
        FlatSpeedButton2->setEnabled(groups_ > 1);
        GroupStart = 1;
        GroupCount = std::min(size, kGroupSize);
    } else if (mode == QLatin1String("2")) {
        const int g = currentGroup_;
        GroupStart = (g - 2) * kGroupSize + 1;
        currentGroup_ = g - 1;
        GroupCount = kGroupSize;
    } else if (mode == QLatin1String("3")) {
        const int g = currentGroup_;
        GroupStart = g * kGroupSize + 1;
        currentGroup_ = g + 1;
        GroupCount = size < g * kGroupSize + kGroupSize ? size - g * kGroupSize : kGroupSize;
    }
    lbGroup->setText(QStringLiteral("第%1组").arg(currentGroup_));
    store::Query& set = dm_.Cn1Query_tm;
    for (int i = 0; i < kGroupSize; ++i) {
        widgets::PictureButton* button = fcBG_th->buttonAt(i);
        if (i < GroupCount) {
            button->setEnabled(true);
            button->setTag(GroupStart + i);
            set.setRecNo(GroupStart + i);
            const PicturePair& pair = picturesFor(currentState());
            button->setPictures(pair.up, pair.down);
        } else {
            button->setEnabled(false);
            button->setTag(0);
            button->setPictures(unanswered_.up, unanswered_.down);
        }
    }
    pressNumber(0);
}

void TFrmLxxt::pressNumber(int index) {
    fcBG_th->setPressedIndex(index);
    fcBG_thChange(index);
}

void TFrmLxxt::fcBG_thChange(int index) {
    leaveQuestion(RecordMode::Leaving);
    card_->setBoldMarker(QString());
    if (epEfTrBtn6->text() == QuestionCardWidget::kBackCaption) card_->closeVerdict();
    widgets::PictureButton* button = fcBG_th->buttonAt(index);
    if (button == nullptr || button->tag() <= 0) return;
    const int number = button->tag();
    epEfTrBtn1->setEnabled(number > 1);
    epEfTrBtn2->setEnabled(number < setSize());
    ShowQuestion(number);
    store::Query& set = dm_.Cn1Query_tm;
    card_->setRedMarker(QString());
    epEfTrBtn10->setText(design_.discardCaption);
    const int f1 = set.asInt(QStringLiteral("F1"));
    if (f1 == 1) {
        card_->setRedMarker(DiscardMarker(1));
        epEfTrBtn10->setText(kRestoreCaption);
    } else if (f1 == 2) {
        card_->setRedMarker(DiscardMarker(2));
    }
    if (design_.editedMarker) {
        card_->setBoldMarker(EditedMarker(set.asInt(QStringLiteral("ecount"))));
    }
}

void TFrmLxxt::ShowQuestion(int number) {
    RecordAnswer(CurrentQuestionNo, card_->answers()->kind(), RecordMode::Leaving);
    // The old question's gauge must not run out while the next one is built.
    Timer1.stop();
    CurrentQuestionNo = number;
    store::Query& set = dm_.Cn1Query_tm;
    set.setRecNo(number);
    const QString id = set.text(QStringLiteral("A1"));
    try {
        openTexts(id);
    } catch (const std::exception&) {
        // Reported by ShowStem below, which finds no texts to show.
        dm_.cn1query_nr.close();
    }
    card_->setHeader(number - GroupStart + 1, set.asInt(QStringLiteral("E3")));
    const AnswerKind page =
        TypeToAnswerKind(set.asInt(QStringLiteral("A13"))).value_or(card_->answers()->kind());
    card_->answers()->setKind(page);
    card_->ShowAnswerState(page, set, &dm_.cn1query_nr);
    ShowStem(id);

    const int index = (number - 1) % kGroupSize;
    if (widgets::PictureButton* button = fcBG_th->buttonAt(index)) {
        button->setPictures(button->upPicture(), picturesFor(currentState()).down);
    }

    int interval = 600;
    const qb::AnswerTimes& times = qb::AnswerTimeTable;
    const int typeId = set.asInt(QStringLiteral("A13"));
    for (int i = 0; i < times.typeIds.size() && i < times.tenths.size(); ++i) {
        if (times.typeIds[i] == typeId) {
            interval = times.tenths[i];
            break;
        }
    }
    epIndiGauge1->setValue(0);
    Timer1.setInterval(interval);
    // A type allowed no time has no gauge running, rather than one full at once.
    if (interval > 0) Timer1.start();
}

void TFrmLxxt::ShowStem(const QString& questionId) {
    try {
        card_->ShowStem(dm_, questionId, dm_.cn1query_nr);
    } catch (const std::exception&) {
        widgets::ShowPromptBox(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1,
                               QStringLiteral("NO"), widgets::kPictureError);
    }
}

TFrmLxxt::QuestionState TFrmLxxt::currentState() {
    store::Query& set = dm_.Cn1Query_tm;
    const QString given = set.text(QStringLiteral("E2_1"));
    if (given.isEmpty()) return QuestionState::Unanswered;
    return IsRight(given, set.text(QStringLiteral("A2"))) ? QuestionState::Right
                                                          : QuestionState::Wrong;
}

const TFrmLxxt::PicturePair& TFrmLxxt::picturesFor(QuestionState state) const {
    switch (state) {
        case QuestionState::Right:
            return right_;
        case QuestionState::Wrong:
            return wrong_;
        case QuestionState::Unanswered:
            break;
    }
    return unanswered_;
}

// ------------------------------------------------------------------ answers

void TFrmLxxt::RecordAnswer(int number, AnswerKind page, RecordMode mode) {
    if (number <= 0) return;
    store::Query& set = dm_.Cn1Query_tm;
    if (!set.isActive() || number > set.recordCount()) return;
    set.setRecNo(number);
    const AnswerControls controls = card_->answers()->controls(page);
    const QString answer = CollectAnswer(page, set.asInt(QStringLiteral("A2_1")), controls);
    const StoreResult result = StoreAnswer(dm_, set, answer);
    switch (mode) {
        case RecordMode::Finish:
            if (!result.answered) {
                widgets::ShowPromptBox(QStringLiteral("提示"), design_.finishEmptyText, 1,
                                       QStringLiteral("NO"), widgets::kPictureWarning);
                return;
            }
            {
                store::Query& texts = dm_.cn1query_nr;
                const bool hasTexts = texts.isActive() && texts.recordCount() > 0;
                epEfTrBtn4->setEnabled(hasTexts && !texts.value(QStringLiteral("jx")).isNull());
                epEfTrBtn9->setEnabled(!set.text(QStringLiteral("K3")).trimmed().isEmpty());
                if (widgets::PictureButton* b = fcBG_th->buttonAt((number - 1) % kGroupSize)) {
                    b->setPictures(b->upPicture(), picturesFor(currentState()).down);
                }
                epEfTrBtn6->setEnabled(
                    !NoAnswerButtonTypes().contains(set.asInt(QStringLiteral("A13"))));
            }
            return;
        case RecordMode::Leaving:
            if (number >= GroupStart && number <= GroupStart + GroupCount - 1) {
                if (widgets::PictureButton* b = fcBG_th->buttonAt(number - GroupStart)) {
                    b->setPictures(picturesFor(currentState()).up, b->downPicture());
                }
            }
            return;
        case RecordMode::Quiet:
            return;
    }
}

void TFrmLxxt::leaveQuestion(RecordMode mode) {
    try {
        RecordAnswer(CurrentQuestionNo, card_->answers()->kind(), mode);
    } catch (...) {
        if (CurrentQuestionNo >= GroupStart && CurrentQuestionNo < GroupStart + GroupCount) {
            fcBG_th->setPressedIndex(CurrentQuestionNo - GroupStart);
        }
        if (previousType_ >= 0) fcBG_tx->setPressedIndex(previousType_);
        throw;
    }
}

// ------------------------------------------------------------------ buttons

void TFrmLxxt::epEfTrBtn1Click() {
    leaveQuestion(RecordMode::Leaving);
    const int previous = CurrentQuestionNo - 1;
    if (previous >= GroupStart) {
        pressNumber(previous - GroupStart);
    } else if (currentGroup_ >= 2) {
        FlatSpeedButton2->setEnabled(true);
        if (currentGroup_ == 2) FlatSpeedButton1->setEnabled(false);
        ShowGroup(QStringLiteral("2"), setSize());
    }
}

void TFrmLxxt::epEfTrBtn2Click() {
    leaveQuestion(RecordMode::Leaving);
    const int next = CurrentQuestionNo + 1;
    if (next <= GroupStart + GroupCount - 1) {
        pressNumber(next - GroupStart);
    } else if (currentGroup_ < groups_) {
        FlatSpeedButton1->setEnabled(true);
        if (currentGroup_ + 1 >= groups_) FlatSpeedButton2->setEnabled(false);
        ShowGroup(QStringLiteral("3"), setSize());
    }
}

void TFrmLxxt::FlatSpeedButton1Click() {
    leaveQuestion(RecordMode::Leaving);
    FlatSpeedButton2->setEnabled(true);
    if (currentGroup_ <= 2) FlatSpeedButton1->setEnabled(false);
    ShowGroup(QStringLiteral("2"), setSize());
}

void TFrmLxxt::FlatSpeedButton2Click() {
    leaveQuestion(RecordMode::Leaving);
    FlatSpeedButton1->setEnabled(true);
    if (groups_ - currentGroup_ <= 1) FlatSpeedButton2->setEnabled(false);
    ShowGroup(QStringLiteral("3"), setSize());
}

void TFrmLxxt::epEfTrBtn3Click() {
    if (CurrentQuestionNo >= 1) {
        RecordAnswer(CurrentQuestionNo, card_->answers()->kind(), RecordMode::Finish);
    }
}

void TFrmLxxt::epEfTrBtn6Click() {
    if (!onCurrentQuestion()) return;
    card_->ShowVerdict(dm_.Cn1Query_tm.text(QStringLiteral("A2")));
}

void TFrmLxxt::epEfTrBtn4Click() {
    widgets::SetBusyCursor();
    aids::TFrmJx::Open(dm_, aids::ExplanationSource::Practice, this);
    widgets::SetNormalCursor();
}

void TFrmLxxt::epEfTrBtn5Click() {
    if (!onCurrentQuestion()) return;
    const bool filled = aids::TFrmBj::Open(dm_, aids::NoteOrigin::Practice, this);
    epEfTrBtn5->setText(filled ? QuestionCardWidget::kNoteFilledCaption
                               : QuestionCardWidget::kNoteCaption);
}

void TFrmLxxt::epEfTrBtn9Click() {
    if (!onCurrentQuestion()) return;
    knowledge::TfrmAnswFagui::Open(dm_, dm_.Cn1Query_tm.text(QStringLiteral("A1")), this);
    if (!isVisible()) show();
}

void TFrmLxxt::epEfTrBtn11Click() {
    Timer1.stop();
    if (!onCurrentQuestion()) return;
    const QuestionEditorRunner& edit = questionEditorRunner();
    if (!edit) return;
    const QString id = dm_.Cn1Query_tm.text(QStringLiteral("A1"));
    if (edit(id, this)) {
        showEditedQuestion(id);
    } else if (Timer1.interval() > 0) {
        Timer1.start();
    }
}

void TFrmLxxt::showEditedQuestion(const QString& questionId) {
    store::Query& set = dm_.Cn1Query_tm;
    set.reloadRows(QStringLiteral("A1"), {questionId});
    if (onCurrentQuestion() && set.text(QStringLiteral("A1")) == questionId) {
        pressNumber((CurrentQuestionNo - 1) % kGroupSize);
        return;
    }
    // The row the number pointed at is another question now; nothing on screen
    // belongs to it.
    CurrentQuestionNo = 0;
    if (previousType_ >= 0) fcBG_txChange(previousType_);
}

void TFrmLxxt::epEfTrBtn10Click() {
    store::Query& set = dm_.Cn1Query_tm;
    if (!set.isActive() || set.recordCount() == 0) return;
    onCurrentQuestion();
    if (epEfTrBtn10->text() == design_.discardCaption) {
        set.edit();
        set.setValue(QStringLiteral("F1"), 1);
        set.setValue(QStringLiteral("E2"), QStringLiteral("zero"));
        set.post();
        card_->setRedMarker(DiscardMarker(1));
        epEfTrBtn10->setText(kRestoreCaption);
    } else {
        set.edit();
        set.setValue(QStringLiteral("F1"), 0);
        set.post();
        card_->setRedMarker(QStringLiteral("本题曾被作废，现已被您取消！"));
        epEfTrBtn10->setText(design_.discardCaption);
    }
}

void TFrmLxxt::epEfTrBtn8Click() {
    qb::ConfigMode = 0;
    widgets::RunSystemSettings(this);
}

void TFrmLxxt::epEfTrBtn7Click() {
    widgets::ShowDesktop();
}

void TFrmLxxt::epEfTrBtn99Click() {
    close();
}

// ------------------------------------------------------------------ timers

void TFrmLxxt::Timer1Timer() {
    if (epIndiGauge1->value() < 100) {
        epIndiGauge1->setValue(epIndiGauge1->value() + 1);
        return;
    }
    Timer1.stop();
    // The question whose time ran out, whatever is shown once the prompt is gone.
    const int number = CurrentQuestionNo;
    widgets::ShowPromptBox(QStringLiteral("提示"), QStringLiteral("到时间了"), 1,
                           QStringLiteral("NO"), widgets::kPictureWarning);
    store::Query& set = dm_.Cn1Query_tm;
    if (!set.isActive() || number <= 0 || number > set.recordCount()) return;
    set.setRecNo(number);
    set.edit();
    set.setValue(QStringLiteral("csbs"), QStringLiteral("Y"));
    set.post();
}

void TFrmLxxt::KZTimeCounter1Timer() {
    epLabel1->setSeconds(clock_.seconds());
}

QString TFrmLxxt::clockText() const {
    return clock_.text();
}

// ------------------------------------------------------------------ keys and closing

bool TFrmLxxt::FormKeyDown(QKeyEvent* event) {
    return card_->answers()->handleKey(*event, epEfTrBtn1, epEfTrBtn2);
}

bool TFrmLxxt::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && isEnabled()) {
        if (FormKeyDown(static_cast<QKeyEvent*>(event))) return true;
    }
    return widgets::ModalForm::eventFilter(watched, event);
}

void TFrmLxxt::closeQuery(bool& canClose) {
    FormCloseQuery(canClose);
}

void TFrmLxxt::FormCloseQuery(bool& CanClose) {
    CanClose = true;
    if (closed_) return;
    closed_ = true;
    widgets::SetBusyCursor();
    KZTimeCounter1.stop();
    Timer1.stop();
    RxGIFAnimator1->stop();
    const QString spent = clockText();
    // An answer the bank refuses keeps the window open, so that it can be stored once
    // the bank can be written again; every other step runs whatever the others meet.
    bool stored = true;
    widgets::RunGuarded([this, &stored] {
        stored = false;
        store::Query& set = dm_.Cn1Query_tm;
        if (set.isActive() && set.recNo() > 0) {
            RecordAnswer(CurrentQuestionNo > 0 ? CurrentQuestionNo : set.recNo(),
                         card_->answers()->kind(), RecordMode::Quiet);
        }
        stored = true;
    });
    if (!stored && isVisible()) {
        CanClose = false;
        closed_ = false;
        KZTimeCounter1.start();
        RxGIFAnimator1->start();
        widgets::SetNormalCursor();
        return;
    }
    widgets::RunGuarded([this, &spent] { dm_.CloseStudySession(spent); });
    dm_.Cn1Query1.close();
    dm_.Cn1Query2.close();
    dm_.Cn1Query_tm.close();
    dm_.Cn1Table_cj.close();
    dm_.Cn1Table_tx.close();
    unanswered_ = right_ = wrong_ = {};
    typeUp_ = typeDown_ = QPixmap();
    widgets::SetNormalCursor();
}

void TFrmLxxt::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgb(widgets::skin::kPanel));
    p.setPen(QColor::fromRgb(widgets::skin::kDarkBorder));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ------------------------------------------------------------------ the runner

void InstallChapterPractice(store::TDM1& dm) {
    setChapterPracticeRunner(
        [&dm](const QString& caption, const std::function<void()>& beforeShow) {
            auto window = std::make_unique<TFrmLxxt>(dm);
            FrmLxxt = window.get();
            struct Clear {
                ~Clear() { FrmLxxt = nullptr; }
            } clear;
            window->setWindowTitle(caption);
            return RunPracticeWindow(*window, beforeShow) == PracticeRun::Shown;
        });
}

PracticeRun RunPracticeWindow(TFrmLxxt& window, const std::function<void()>& beforeShow) {
    if (!window.LoadPracticeSet()) {
        return window.loadFailed() ? PracticeRun::Failed : PracticeRun::Empty;
    }
    if (beforeShow) beforeShow();
    window.exec();
    return PracticeRun::Shown;
}

}  // namespace practice
