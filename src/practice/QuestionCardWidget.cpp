#include "QuestionCardWidget.h"

#include "DataModule.h"
#include "Dataset.h"
#include "ModalForm.h"
#include "PictureButtonGroup.h"
#include "RichText.h"
#include "Skin.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <stdexcept>

namespace practice {
namespace {

constexpr int kOptionCount = 6;
const QStringList kOptionCaptions{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                  QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F")};

int pageIndex(AnswerKind kind) {
    return static_cast<int>(kind);
}

// The lines of a page name: split where the text says, else one character a line.
QStringList labelLines(const QString& text) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    if (text.contains(breaks)) return text.split(breaks, Qt::SkipEmptyParts);
    QStringList lines;
    for (const QChar c : text)
        lines << QString(c);
    return lines;
}

int slideStepDelay = 12;

// A page name written downwards, one line a character, spread over the page's
// height and made smaller where the lines would not fit.
class VerticalCaption : public QWidget {
  public:
    void setLines(const QStringList& lines) {
        lines_ = lines;
        update();
    }
    const QStringList& lines() const { return lines_; }
    void setPixelSize(int pixels) {
        pixels_ = pixels;
        setFixedWidth(pixels + 6);
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (lines_.isEmpty()) return;
        QPainter p(this);
        const int count = static_cast<int>(lines_.size());
        // Lines at their natural spacing when they fit, closer together when not;
        // the block stays centred on the page.
        const double cell = std::min(static_cast<double>(height()) / count, pixels_ * 1.3);
        const double top = (height() - cell * count) / 2;
        p.setFont(widgets::PixelFont(std::clamp(static_cast<int>(cell) - 1, 6, pixels_), true));
        p.setPen(QColor::fromRgb(widgets::skin::kDarkBorder));
        for (int i = 0; i < count; ++i) {
            const QRectF box(0, top + i * cell, width(), cell);
            p.drawText(box, Qt::AlignCenter, lines_[i]);
        }
    }

  private:
    QStringList lines_;
    int pixels_ = 12;
};

}  // namespace

// ------------------------------------------------------------------ AnswerArea

AnswerArea::AnswerArea(QWidget* parent) : QStackedWidget(parent) {
    setObjectName(QStringLiteral("Notebook1"));
    fcBG_one = makeOptions("fcBG_one", kOptionCaptions, true);
    fcBG_many = makeOptions("fcBG_many", kOptionCaptions, false);
    FlatEdit1 = new QLineEdit;
    FlatEdit1->setObjectName(QStringLiteral("FlatEdit1"));
    // The answer columns hold 100 characters: more cannot be typed, so nothing
    // typed is cut off when it is stored.
    FlatEdit1->setMaxLength(kAnswerColumnWidth);
    fcBG_yn = makeOptions("fcBG_yn", {QStringLiteral("对"), QStringLiteral("错")}, true);
    FlatComboBox1 = new QComboBox;
    FlatComboBox1->setObjectName(QStringLiteral("FlatComboBox1"));
    FlatComboBox1->addItems({QStringLiteral("不会"), QStringLiteral("会")});
    FlatComboBox1->setCurrentIndex(-1);
    fcBG_pw = makeOptions("fcBG_pw", kOptionCaptions, false);

    addWidget(makePage(AnswerKind::SingleChoice, fcBG_one));
    addWidget(makePage(AnswerKind::MultipleChoice, fcBG_many));
    addWidget(makePage(AnswerKind::FillIn, FlatEdit1));
    addWidget(makePage(AnswerKind::TrueFalse, fcBG_yn));
    addWidget(makePage(AnswerKind::SelfAssessed, FlatComboBox1));
    addWidget(makePage(AnswerKind::Matching, fcBG_pw));
    setPageLabel(AnswerKind::Matching, QStringLiteral("综\r\n合\r\n分\r\n析"));
    setMetrics({36, 26}, 12, 14);
    watchMouse(this);
}

QWidget* AnswerArea::makePage(AnswerKind kind, QWidget* controls) {
    auto* page = new QWidget;
    page->setObjectName(PageCaption(kind));
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(2, 0, 6, 0);
    row->setSpacing(8);
    auto* label = new VerticalCaption;
    label->setObjectName(QStringLiteral("PageLabel"));
    labels_[pageIndex(kind)] = label;
    row->addWidget(label);
    row->addWidget(controls, kind == AnswerKind::FillIn ? 1 : 0, Qt::AlignVCenter);
    if (kind != AnswerKind::FillIn) row->addStretch(1);
    setPageLabel(kind, PageCaption(kind));
    return page;
}

widgets::PictureButtonGroup* AnswerArea::makeOptions(const char* name, const QStringList& captions,
                                                     bool radio) {
    auto* bar = new widgets::PictureButtonGroup;
    bar->setObjectName(QLatin1String(name));
    // The page shows through beside the options.
    bar->setAutoFillBackground(false);
    bar->setExclusive(false);
    bar->setColumns(static_cast<int>(captions.size()));
    bar->setSpacing(6);
    bar->setCount(static_cast<int>(captions.size()));
    for (int i = 0; i < bar->count(); ++i) {
        widgets::PictureButton* b = bar->buttonAt(i);
        b->setText(captions[i]);
        b->setObjectName(QLatin1String(name) + u'_' + captions[i]);
        // Options are chosen with the mouse or the letter keys, never by focus.
        b->setFocusPolicy(Qt::NoFocus);
        b->setSticky(radio);
    }
    if (radio) {
        connect(bar, &widgets::PictureButtonGroup::changed, this, [bar](int index) {
            if (!bar->isPressed(index)) return;
            for (int i = 0; i < bar->count(); ++i) {
                if (i != index) bar->setPressed(i, false);
            }
        });
    }
    return bar;
}

void AnswerArea::watchMouse(QWidget* widget) {
    widget->setMouseTracking(true);
    if (widget != this) widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        watchMouse(child);
}

AnswerKind AnswerArea::kind() const {
    return static_cast<AnswerKind>(std::max(currentIndex(), 0));
}

void AnswerArea::setKind(AnswerKind kind) {
    setCurrentIndex(pageIndex(kind));
}

void AnswerArea::setPageLabel(AnswerKind kind, const QString& text) {
    static_cast<VerticalCaption*>(labels_[pageIndex(kind)])->setLines(labelLines(text));
}

QString AnswerArea::pageLabel(AnswerKind kind) const {
    return static_cast<const VerticalCaption*>(labels_[pageIndex(kind)])->lines().join(u'\n');
}

widgets::PictureButtonGroup* AnswerArea::optionBar(AnswerKind kind) const {
    switch (kind) {
        case AnswerKind::SingleChoice:
            return fcBG_one;
        case AnswerKind::MultipleChoice:
            return fcBG_many;
        case AnswerKind::Matching:
            return fcBG_pw;
        default:
            return nullptr;
    }
}

AnswerControls AnswerArea::controls(AnswerKind kind) const {
    AnswerControls c;
    if (const widgets::PictureButtonGroup* bar = optionBar(kind)) {
        for (int i = 0; i < kOptionCount; ++i) {
            c.visible[i] = !bar->buttonAt(i)->isHidden();
            c.pressed[i] = bar->isPressed(i);
        }
        return c;
    }
    switch (kind) {
        case AnswerKind::FillIn:
            c.fillIn = FlatEdit1->text();
            break;
        case AnswerKind::TrueFalse:
            c.truePressed = fcBG_yn->isPressed(0);
            c.falsePressed = fcBG_yn->isPressed(1);
            break;
        case AnswerKind::SelfAssessed:
            c.selfAssessedIndex = FlatComboBox1->currentIndex();
            break;
        default:
            break;
    }
    return c;
}

void AnswerArea::setControls(AnswerKind kind, const AnswerControls& c) {
    if (widgets::PictureButtonGroup* bar = optionBar(kind)) {
        for (int i = 0; i < kOptionCount; ++i) {
            bar->buttonAt(i)->setVisible(c.visible[i]);
            bar->setPressed(i, c.visible[i] && c.pressed[i]);
        }
        return;
    }
    switch (kind) {
        case AnswerKind::FillIn:
            FlatEdit1->setText(c.fillIn);
            break;
        case AnswerKind::TrueFalse:
            fcBG_yn->setPressed(0, c.truePressed);
            fcBG_yn->setPressed(1, !c.truePressed && c.falsePressed);
            break;
        case AnswerKind::SelfAssessed:
            FlatComboBox1->setCurrentIndex(c.selfAssessedIndex);
            break;
        default:
            break;
    }
}

void AnswerArea::showStoredAnswer(AnswerKind kind, int optionCount, const QString& stored) {
    AnswerControls c = controls(kind);
    ShowStoredAnswer(kind, optionCount, stored, &c);
    setControls(kind, c);
}

QString AnswerArea::collectAnswer(int optionCount) const {
    return CollectAnswer(kind(), optionCount, controls(kind()));
}

bool AnswerArea::handleKey(const QKeyEvent& event, QAbstractButton* previous,
                           QAbstractButton* next) {
    if (kind() != AnswerKind::SingleChoice && kind() != AnswerKind::MultipleChoice) return false;
    return widgets::HandleAnswerKey(
        event, {.previous = previous, .next = next, .pressOption = [this](int option) {
                    return pressOption(option);
                }});
}

bool AnswerArea::pressOption(int index) {
    if (index < 0 || index >= kOptionCount) return false;
    if (kind() == AnswerKind::SingleChoice) {
        for (int i = 0; i < kOptionCount; ++i)
            fcBG_one->setPressed(i, i == index);
        return true;
    }
    if (kind() == AnswerKind::MultipleChoice) {
        fcBG_many->setPressed(index, !fcBG_many->isPressed(index));
        return true;
    }
    return false;
}

void AnswerArea::setOptionPictures(const QPixmap& up, const QPixmap& down) {
    for (widgets::PictureButtonGroup* bar : {fcBG_one, fcBG_many, fcBG_yn, fcBG_pw})
        bar->setPictures(up, down);
}

void AnswerArea::setMetrics(QSize tile, int labelPixelSize, int controlPixelSize) {
    for (widgets::PictureButtonGroup* bar : {fcBG_one, fcBG_many, fcBG_yn, fcBG_pw}) {
        for (int i = 0; i < bar->count(); ++i) {
            widgets::PictureButton* b = bar->buttonAt(i);
            b->setFixedSize(tile);
            b->setFont(widgets::PixelFont(controlPixelSize, true));
        }
    }
    for (QWidget* label : labels_)
        static_cast<VerticalCaption*>(label)->setPixelSize(labelPixelSize);
    FlatEdit1->setFont(widgets::PixelFont(controlPixelSize));
    FlatEdit1->setFixedHeight(tile.height());
    FlatComboBox1->setFont(widgets::PixelFont(controlPixelSize));
    FlatComboBox1->setFixedSize(tile.width() * 3, tile.height());
}

void AnswerArea::Notebook1MouseMove() {
    setToolTip(AnswerHint(kind()));
}

bool AnswerArea::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        Notebook1MouseMove();
    }
    return QStackedWidget::eventFilter(watched, event);
}

void AnswerArea::mouseMoveEvent(QMouseEvent* event) {
    Notebook1MouseMove();
    QStackedWidget::mouseMoveEvent(event);
}

// ------------------------------------------------------------------ StemArea

StemArea::StemArea(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel1"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(true);
    const auto pane = [this](const char* name) {
        auto* edit = new QTextEdit(Splitter1);
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(true);
        edit->setFont(widgets::PixelFont(kStemPixelSize));
        edit->document()->setDefaultFont(widgets::PixelFont(kStemPixelSize));
        QPalette p = edit->palette();
        p.setColor(QPalette::Base, Qt::white);
        edit->setPalette(p);
        return edit;
    };
    Re1 = pane("Re1");
    Re2 = pane("Re2");
    Splitter1->addWidget(Re1);
    Splitter1->addWidget(Re2);

    VerdictPanel = new QFrame(this);
    VerdictPanel->setObjectName(QStringLiteral("VerdictPanel"));
    VerdictPanel->setAutoFillBackground(true);
    VerdictPanel->setPalette(pal);
    VerdictPanel->setFrameShape(QFrame::Box);
    VerdictPanel->setStyleSheet(
        QStringLiteral("QFrame#VerdictPanel { background: white; border: 1px solid #7aa0cd; }"));
    // The content keeps the full size of the area, so that the sliding edge uncovers
    // it rather than reflowing it.
    verdictContent_ = new QWidget(VerdictPanel);
    auto* column = new QVBoxLayout(verdictContent_);
    column->setContentsMargins(48, 40, 48, 24);
    column->setSpacing(10);
    verdictLine_ = new QLabel;
    verdictLine_->setObjectName(QStringLiteral("VerdictLine"));
    verdictLine_->setFont(widgets::PixelFont(22, true));
    auto* yourCaption = new QLabel(QStringLiteral("你的答案："));
    yourCaption->setFont(widgets::PixelFont(16, true));
    yourAnswer_ = new QLabel;
    yourAnswer_->setObjectName(QStringLiteral("VerdictAnswer"));
    yourAnswer_->setFont(widgets::PixelFont(18));
    yourAnswer_->setWordWrap(true);
    auto* keyCaption = new QLabel(QStringLiteral("正确答案："));
    keyCaption->setFont(widgets::PixelFont(16, true));
    key_ = new QLabel;
    key_->setObjectName(QStringLiteral("VerdictKey"));
    key_->setFont(widgets::PixelFont(18, true));
    key_->setWordWrap(true);
    key_->setStyleSheet(QStringLiteral("color: #008000;"));
    column->addWidget(verdictLine_);
    column->addSpacing(18);
    column->addWidget(yourCaption);
    column->addWidget(yourAnswer_);
    column->addSpacing(8);
    column->addWidget(keyCaption);
    column->addWidget(key_);
    column->addStretch(1);
    setVerdictWidth(0);
    collapseLower();
}

void StemArea::setSlideStepDelay(int ms) {
    slideStepDelay = std::max(ms, 0);
}

void StemArea::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const bool collapsed = lowerCollapsed();
    const int lower = lowerPaneHeight();
    Splitter1->setGeometry(rect());
    verdictContent_->setGeometry(0, 0, width(), height());
    if (collapsed) {
        collapseLower();
    } else {
        Splitter1->setSizes({height() - lower - Splitter1->handleWidth(), lower});
    }
    if (VerdictPanel->width() > 0) setVerdictWidth(width());
}

void StemArea::showSingle(const QByteArray& stem) {
    collapseLower();
    richtext::read(stem, Re1->document());
    Re2->clear();
}

void StemArea::showGrouped(const QByteArray& sharedStem, const QByteArray& ownStem) {
    if (lowerCollapsed()) {
        Splitter1->setHandleWidth(kSplitterHeight);
        Splitter1->setSizes(
            {std::max(height() - kLowerPaneHeight - kSplitterHeight, 0), kLowerPaneHeight});
    }
    richtext::read(sharedStem, Re1->document());
    richtext::read(ownStem, Re2->document());
}

void StemArea::clear() {
    Re1->clear();
    Re2->clear();
}

void StemArea::collapseLower() {
    Splitter1->setHandleWidth(0);
    Splitter1->setSizes({std::max(height(), 1), 0});
}

bool StemArea::lowerCollapsed() const {
    return Splitter1->handleWidth() <= 0 || lowerPaneHeight() <= 0;
}

int StemArea::lowerPaneHeight() const {
    return Splitter1->sizes().value(1);
}

int StemArea::splitterHeight() const {
    return Splitter1->handleWidth();
}

void StemArea::setVerdict(bool right, const QString& yourAnswer, const QString& key) {
    verdictLine_->setText(right ? kVerdictRight : kVerdictWrong);
    verdictLine_->setStyleSheet(right ? QStringLiteral("color: #008000;")
                                      : QStringLiteral("color: #c00000;"));
    yourAnswer_->setText(yourAnswer);
    key_->setText(key);
}

QString StemArea::verdictLine() const {
    return verdictLine_->text();
}

QString StemArea::verdictAnswer() const {
    return yourAnswer_->text();
}

QString StemArea::verdictKey() const {
    return key_->text();
}

int StemArea::verdictWidth() const {
    return VerdictPanel->isHidden() ? 0 : VerdictPanel->width();
}

void StemArea::setVerdictWidth(int width) {
    width = std::clamp(width, 0, this->width());
    VerdictPanel->setGeometry(0, 0, width, height());
    VerdictPanel->setVisible(width > 0);
    if (width > 0) VerdictPanel->raise();
}

void StemArea::slideVerdict(bool open) {
    const int generation = ++slideGeneration_;
    QPointer<StemArea> self(this);
    int width = VerdictPanel->isHidden() ? 0 : VerdictPanel->width();
    for (int step = 20;; step += 20) {
        width = open ? std::min(width + step, this->width()) : std::max(width - step, 0);
        setVerdictWidth(width);
        // Let the move show, and let clicks and timer ticks in meanwhile.
        if (slideStepDelay > 0) {
            QEventLoop pause;
            QTimer::singleShot(slideStepDelay, &pause, &QEventLoop::quit);
            pause.exec();
        } else {
            QCoreApplication::processEvents();
        }
        // Freed, or another slide or a shut took over while events ran.
        if (!self || generation != slideGeneration_) return;
        if (open ? width >= this->width() : width <= 0) return;
    }
}

void StemArea::closeVerdictNow() {
    ++slideGeneration_;
    setVerdictWidth(0);
}

// ------------------------------------------------------------------ QuestionCardWidget

QuestionCardWidget::QuestionCardWidget(QWidget* window) : QObject(window) {
    header_ = new QLabel(window);
    header_->setObjectName(QStringLiteral("HeaderLabel"));
    header_->setAlignment(Qt::AlignCenter);
    header_->setTextFormat(Qt::RichText);
    redMarker_ = new QLabel(window);
    redMarker_->setObjectName(QStringLiteral("RedMarker"));
    redMarker_->setStyleSheet(QStringLiteral("color: #d00000;"));
    redMarker_->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    boldMarker_ = new QLabel(window);
    boldMarker_->setObjectName(QStringLiteral("BoldMarker"));
    boldMarker_->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    stem_ = new StemArea(window);
    answers_ = new AnswerArea(window);
    setHeader(1, 0);
}

void QuestionCardWidget::setSideButtons(const SideButtons& buttons) {
    side_ = buttons;
}

void QuestionCardWidget::setHeader(int number, int e3) {
    const int k = AppearanceCount(e3);
    headerText_ = QStringLiteral("第%1题（第%2次出现）").arg(number).arg(k);
    header_->setText(QStringLiteral("第<b>%1</b>题（第<b>%2</b>次出现）").arg(number).arg(k));
}

QString QuestionCardWidget::headerText() const {
    return headerText_;
}

void QuestionCardWidget::setMarkers(int f1, int ecount) {
    setRedMarker(DiscardMarker(f1));
    setBoldMarker(EditedMarker(ecount));
}

void QuestionCardWidget::setRedMarker(const QString& text) {
    redMarker_->setText(text);
}

void QuestionCardWidget::setBoldMarker(const QString& text) {
    boldMarker_->setText(text);
}

void QuestionCardWidget::ShowStem(store::TDM1& dm, const QString& questionId,
                                  store::Dataset& ownStem) {
    stem_->clear();
    const bool ownFound = ownStem.isActive() && ownStem.recordCount() > 0;
    const QByteArray own =
        ownFound ? ownStem.value(QStringLiteral("A15")).toByteArray() : QByteArray();
    bool sharedFound = true;
    if (const std::optional<QString> sharedId = SharedStemId(questionId)) {
        store::Query& shared = dm.Cn1Query2;
        shared.close();
        shared.setSql(QStringLiteral("select * from tab_title where A1=:A1"));
        shared.setParam(QStringLiteral(":A1"), *sharedId);
        shared.open();
        sharedFound = shared.recordCount() > 0;
        stem_->showGrouped(
            sharedFound ? shared.value(QStringLiteral("A15")).toByteArray() : QByteArray(), own);
    } else {
        stem_->showSingle(own);
    }
    if (!ownFound || !sharedFound) {
        throw std::runtime_error("the stem of question " + questionId.toStdString() +
                                 " is not in the bank");
    }
}

void QuestionCardWidget::ShowAnswerState(AnswerKind kind, store::Dataset& question,
                                         store::Dataset* texts) {
    const QString stored = question.text(QStringLiteral("E2_1"));
    const auto enable = [](QAbstractButton* button, bool on) {
        if (button != nullptr) button->setEnabled(on);
    };
    if (!stored.isEmpty()) {
        const bool hasTexts = texts != nullptr && texts->isActive() && texts->recordCount() > 0;
        enable(side_.explanation, hasTexts && !texts->value(QStringLiteral("jx")).isNull());
        enable(side_.points, !question.text(QStringLiteral("K3")).trimmed().isEmpty());
        enable(side_.answer,
               !NoAnswerButtonTypes().contains(question.asInt(QStringLiteral("A13"))));
    } else {
        enable(side_.explanation, false);
        enable(side_.points, false);
        enable(side_.answer, false);
    }
    setNoteCaption(question.text(QStringLiteral("A14")));
    answers_->showStoredAnswer(kind, question.asInt(QStringLiteral("A2_1")), stored);
}

void QuestionCardWidget::setNoteCaption(const QString& note) {
    if (side_.note != nullptr) {
        side_.note->setText(note.trimmed().isEmpty() ? kNoteCaption : kNoteFilledCaption);
    }
}

QString QuestionCardWidget::verdictAnswer() const {
    const AnswerKind kind = answers_->kind();
    const AnswerControls c = answers_->controls(kind);
    switch (kind) {
        case AnswerKind::SingleChoice:
        case AnswerKind::MultipleChoice:
        case AnswerKind::Matching:
            // Every option shown counts here, whatever the question's option count.
            return CollectAnswer(kind, kOptionCount, c);
        case AnswerKind::TrueFalse:
            return VerdictText(kind, CollectAnswer(kind, 0, c));
        case AnswerKind::FillIn:
            return CollectAnswer(kind, 0, c);
        case AnswerKind::SelfAssessed:
            return answers_->selfAssessedBox()->currentText();
    }
    return {};
}

QString QuestionCardWidget::verdictKey(const QString& key) const {
    const AnswerKind kind = answers_->kind();
    if (kind == AnswerKind::SelfAssessed) {
        bool number = false;
        const int index = key.toInt(&number);
        if (number && index >= 0 && index < answers_->selfAssessedBox()->count()) {
            return answers_->selfAssessedBox()->itemText(index);
        }
        return key;
    }
    return VerdictText(kind, key);
}

void QuestionCardWidget::ShowVerdict(const QString& key) {
    QAbstractButton* button = side_.answer;
    if (button != nullptr && button->text() == kBackCaption) {
        button->setText(kAnswerCaption);
        stem_->slideVerdict(false);
        return;
    }
    const QString yours = verdictAnswer();
    const QString shownKey = verdictKey(key);
    stem_->setVerdict(yours == shownKey, yours, shownKey);
    if (button != nullptr) button->setText(kBackCaption);
    stem_->slideVerdict(true);
}

void QuestionCardWidget::closeVerdict() {
    stem_->closeVerdictNow();
    if (side_.answer != nullptr) side_.answer->setText(kAnswerCaption);
}

bool QuestionCardWidget::verdictOpen() const {
    return stem_->verdictWidth() > 0;
}

}  // namespace practice
