#include "Uexam.h"

#include "DataModule.h"
#include "Dataset.h"
#include "EffectButton.h"
#include "Engine.h"
#include "FlatButton.h"
#include "Globals.h"
#include "Marking.h"
#include "PaperExport.h"
#include "PictureButtonGroup.h"
#include "ProgramEnd.h"
#include "Prompt.h"
#include "QuestionCard.h"
#include "QuestionCardWidget.h"
#include "Skin.h"
#include "UAnswFagui.h"
#include "Ubj.h"
#include "Ujx.h"
#include "WindowHooks.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStackedWidget>

namespace exam {
namespace {

ProgressHook& progressHook() {
    static ProgressHook installed;
    return installed;
}

ExportHooks& exportHooks() {
    static ExportHooks installed{
        DocumentsFolder, [](const QUrl& document) { return QDesktopServices::openUrl(document); }};
    return installed;
}

void progressStep(const QString& text) {
    if (progressHook().step) progressHook().step(text);
}

void progressHide() {
    if (progressHook().hide) progressHook().hide();
}

const QString kError = QStringLiteral("错误");

void errorPrompt(const QString& text) {
    widgets::ShowPromptBox(kError, text, 1, QStringLiteral("NO"), widgets::kPictureError);
}

// Where the controls go in one layout.
struct Layout {
    QSize window;
    QRect title, number, heading, marker, stem, answers, previous, next;
    QRect board, settings, desktop, pause, clock, numbers;
    int buttonsLeft, buttonsTop, buttonWidth, buttonHeight, buttonGap;
    QSize tile, optionTile;
    int textPixels, labelPixels, controlPixels;
};

const Layout kLarge{{917, 585},
                    {10, 6, 700, 24},
                    {14, 34, 120, 20},
                    {140, 34, 330, 20},
                    {476, 34, 234, 20},
                    {10, 58, 700, 400},
                    {74, 464, 572, 58},
                    {10, 470, 58, 45},
                    {652, 470, 58, 45},
                    {720, 6, 190, 20},
                    {722, 30, 90, 22},
                    {818, 30, 90, 22},
                    {722, 56, 186, 24},
                    {722, 84, 186, 44},
                    {724, 132, 184, 446},
                    40,
                    530,
                    80,
                    23,
                    8,
                    {34, 14},
                    {36, 28},
                    14,
                    13,
                    14};

const Layout kCompact{{773, 478},
                      {8, 4, 590, 20},
                      {10, 27, 100, 18},
                      {112, 27, 280, 18},
                      {396, 27, 200, 18},
                      {8, 48, 590, 322},
                      {60, 374, 480, 50},
                      {8, 378, 48, 42},
                      {548, 378, 48, 42},
                      {606, 4, 160, 18},
                      {608, 24, 76, 20},
                      {688, 24, 76, 20},
                      {608, 47, 156, 20},
                      {608, 70, 156, 36},
                      {610, 108, 156, 366},
                      12,
                      428,
                      68,
                      21,
                      6,
                      {28, 11},
                      {30, 24},
                      12,
                      11,
                      12};

}  // namespace

void setProgressHook(ProgressHook hook) {
    progressHook() = std::move(hook);
}

void setExportHooks(ExportHooks hooks) {
    exportHooks() = std::move(hooks);
}

QString HandInText(int unanswered) {
    if (unanswered == 0) return QStringLiteral("恭喜你已经做完试卷，确定要交卷吗？");
    return QStringLiteral("你还有") + QString::number(unanswered) +
           QStringLiteral("道题未做，确定要交卷吗？");
}

QString ShortDecimal(double value) {
    return QString::number(value, 'g', 12);
}

// ------------------------------------------------------------------ creation

TFrmExam::TFrmExam(store::TDM1& dm, QWidget* parent) : ModalForm(parent), dm_(dm) {
    setObjectName(QStringLiteral("FrmExam"));
    setWindowFlag(Qt::FramelessWindowHint);
    buildControls();
    applyLayout(false);
    const auto load = [](QPixmap& p, const char* name) {
        return p.load(qb::ProgramFolder + QStringLiteral("pic/") + QLatin1String(name));
    };
    picturesLoaded_ = load(up_, "zemoup.bmp") && load(down_, "zemodw.bmp") &&
                      load(right_, "zemoyes.bmp") && load(downRight_, "zemodw_r.bmp") &&
                      load(wrong_, "zemono.bmp") && load(downWrong_, "zemodw_w.bmp") &&
                      load(over_, "zemoover.bmp");
    if (!picturesLoaded_) {
        widgets::ShowPromptBox(kError, QStringLiteral("无法提取资源文件！"), 1,
                               QStringLiteral("NO"), widgets::kPictureError);
        practice::EndProgram();
        return;
    }
    numbers->setPictures(up_, down_);
    card_->answers()->setOptionPictures(up_, down_);
    qApp->installEventFilter(this);
}

TFrmExam::~TFrmExam() {
    qApp->removeEventFilter(this);
    // The program ending frees the window without closing it.
    if (!closed_) {
        leaveUnasked();
        releaseData();
    }
    timer.stop();
    if (FrmExam == this) FrmExam = nullptr;
}

void TFrmExam::buildControls() {
    const auto label = [this](const char* name, const QString& text = {}) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    const auto button = [this](const char* name, const QString& caption,
                               void (TFrmExam::*handler)()) {
        auto* b = new widgets::EffectButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QAbstractButton::clicked, this,
                [this, handler] { widgets::RunGuarded([this, handler] { (this->*handler)(); }); });
        return b;
    };
    const auto flat = [this](const char* name, const QString& caption,
                             void (TFrmExam::*handler)()) {
        auto* b = new widgets::FlatButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QAbstractButton::clicked, this,
                [this, handler] { widgets::RunGuarded([this, handler] { (this->*handler)(); }); });
        return b;
    };
    titleLabel = label("TitleLabel");
    titleLabel->setAlignment(Qt::AlignCenter);
    numberLabel = label("NumberLabel");
    headingLabel = label("HeadingLabel");
    card_ = new practice::QuestionCardWidget(this);
    card_->header()->hide();
    card_->boldMarker()->hide();
    card_->answers()->setKind(practice::AnswerKind::Matching);

    boardTitle = label("BoardTitle", QStringLiteral("提示板"));
    boardTitle->setAlignment(Qt::AlignCenter);
    settingsButton = flat("SettingsButton", QStringLiteral("设置"), &TFrmExam::settingsClick);
    settingsButton->setEnabled(widgets::HasSystemSettings());
    desktopButton = flat("DesktopButton", QStringLiteral("桌面"), &TFrmExam::desktopClick);
    pauseButton = flat("PauseButton", kPauseCaption, &TFrmExam::pauseClick);

    clockPages = new QStackedWidget(this);
    auto* answering = new QWidget(clockPages);
    clockLabel = new QLabel(QStringLiteral("0:00:00"), answering);
    clockLabel->setObjectName(QStringLiteral("ClockLabel"));
    clockLabel->setGeometry(0, 0, 186, 40);
    clockLabel->setAlignment(Qt::AlignCenter);
    clockLabel->setFont(widgets::PixelFont(26, true));
    auto* reviewing = new QWidget(clockPages);
    usedLabel = new QLabel(reviewing);
    usedLabel->setObjectName(QStringLiteral("UsedLabel"));
    usedLabel->setGeometry(4, 0, 180, 18);
    scoreLabel = new QLabel(reviewing);
    scoreLabel->setObjectName(QStringLiteral("ScoreLabel"));
    scoreLabel->setGeometry(4, 20, 180, 18);
    clockPages->addWidget(answering);
    clockPages->addWidget(reviewing);

    numbers = new widgets::PictureButtonGroup(this);
    numbers->setObjectName(QStringLiteral("NumberPanel"));
    numbers->setAutoFillBackground(false);
    numbers->setColumns(5);
    numbers->setCount(kCapacity);
    numbers->numberButtons(1);
    for (int i = 0; i < kCapacity; ++i) {
        numbers->buttonAt(i)->setFocusPolicy(Qt::NoFocus);
        numbers->buttonAt(i)->setEnabled(false);
    }
    connect(numbers, &widgets::PictureButtonGroup::changed, this,
            [this](int index) { widgets::RunGuarded([this, index] { numberChange(index); }); });

    previousButton = button("PreviousButton", QStringLiteral("上一题"), &TFrmExam::previousClick);
    nextButton = button("NextButton", QStringLiteral("下一题"), &TFrmExam::nextClick);
    handInButton = button("HandInButton", QStringLiteral("交卷"), &TFrmExam::handInClick);
    explanationButton =
        button("ExplanationButton", QStringLiteral("解析"), &TFrmExam::explanationClick);
    noteButton =
        button("NoteButton", practice::QuestionCardWidget::kNoteCaption, &TFrmExam::noteClick);
    answerButton = button("AnswerButton", practice::QuestionCardWidget::kAnswerCaption,
                          &TFrmExam::answerClick);
    closeButton = button("CloseButton", QStringLiteral("关闭"), &TFrmExam::handInClick);
    pointsButton = button("PointsButton", QStringLiteral("考点"), &TFrmExam::pointsClick);
    documentButton = button("DocumentButton", QStringLiteral("生成文档"), &TFrmExam::documentClick);
    discardButton = button("DiscardButton", kDiscardCaption, &TFrmExam::discardClick);
    card_->setSideButtons({explanationButton, pointsButton, answerButton, noteButton});

    pauseCover =
        label("PauseCover", QStringLiteral("考试暂停中……休息一下，准备好了再点“继续考试”。"));
    pauseCover->setAlignment(Qt::AlignCenter);
    pauseCover->setAutoFillBackground(true);
    pauseCover->setStyleSheet(QStringLiteral("background: #eef4fb; color: #3c6496;"));
    pauseCover->hide();
    // The promotion runs along the cover as a ticker while the exam rests.
    coverTimer.setInterval(200);
    connect(&coverTimer, &QTimer::timeout, this, [this] {
        const QString text = pauseCover->text();
        pauseCover->setText(text.mid(1) + text.left(1));
    });

    timer.setInterval(1000);
    connect(&timer, &QTimer::timeout, this,
            [this] { widgets::RunGuarded([this] { clockTick(); }); });
}

void TFrmExam::applyLayout(bool compact) {
    const Layout& l = compact ? kCompact : kLarge;
    setFixedSize(l.window);
    setFont(widgets::PixelFont(l.textPixels));
    titleLabel->setGeometry(l.title);
    titleLabel->setFont(widgets::PixelFont(l.textPixels + 2, true));
    numberLabel->setGeometry(l.number);
    headingLabel->setGeometry(l.heading);
    card_->redMarker()->setGeometry(l.marker);
    card_->stem()->setGeometry(l.stem);
    pauseCover->setGeometry(l.stem);
    card_->answers()->setGeometry(l.answers);
    card_->answers()->setMetrics(l.optionTile, l.labelPixels, l.controlPixels);
    previousButton->setGeometry(l.previous);
    nextButton->setGeometry(l.next);
    boardTitle->setGeometry(l.board);
    settingsButton->setGeometry(l.settings);
    desktopButton->setGeometry(l.desktop);
    pauseButton->setGeometry(l.pause);
    clockPages->setGeometry(l.clock);
    numbers->setGeometry(l.numbers);
    numbers->setSpacing(2);
    for (int i = 0; i < numbers->count(); ++i) {
        numbers->buttonAt(i)->setFixedSize(l.tile);
        numbers->buttonAt(i)->setFont(widgets::PixelFont(l.tile.height() - 2));
    }
    widgets::EffectButton* const rows[2][5] = {
        {handInButton, explanationButton, noteButton, answerButton, closeButton},
        {pointsButton, documentButton, discardButton, nullptr, nullptr}};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 5; ++c) {
            if (rows[r][c] == nullptr) continue;
            rows[r][c]->setGeometry(l.buttonsLeft + c * (l.buttonWidth + l.buttonGap),
                                    l.buttonsTop + r * (l.buttonHeight + 2), l.buttonWidth,
                                    l.buttonHeight);
        }
    }
}

// ------------------------------------------------------------------ paper

void TFrmExam::PreparePaper(const QString& table, const QString& title, const QString& mode,
                            double score, const QString& timeUsed) {
    paper_.table = table;
    paper_.title = title;
    paper_.mode = mode;
    paper_.score = score;
    paper_.timeUsed = timeUsed;
}

bool TFrmExam::OpenPaper() {
    progressStep(paper_.mode == QLatin1String("new") ? QStringLiteral("正在出卷...")
                                                     : QStringLiteral("正在提取试卷..."));
    try {
        exam::OpenPaper(dm_, paper_);
    } catch (const PaperError& error) {
        errorPrompt(error.message());
        return false;
    }
    return true;
}

void TFrmExam::showEvent(QShowEvent* event) {
    widgets::ModalForm::showEvent(event);
    // Only the first show sets the paper up. Later ones come from "桌面" and the
    // restore after it, or from the window manager: they must leave the clock, the
    // question and the answer being given as they are. Marking sets up the review
    // itself before it shows the window again.
    if (!firstShow_) return;
    firstShow_ = false;
    widgets::CentreOnDesktop(this);
    if (qb::ScreenMode == QLatin1String("800")) {
        applyLayout(true);
        move(24, 76);
    }
    widgets::RunGuarded([this] { FormShow(); });
}

void TFrmExam::FormShow() {
    titleLabel->setText(paper_.title);
    card_->stem()->collapseLower();
    card_->stem()->closeVerdictNow();
    const bool review = paper_.mode != QLatin1String("new");
    handInButton->setEnabled(!review);
    card_->answers()->setEnabled(!review);
    pauseButton->setVisible(!review);
    // Exporting needs a word processor layer; until one is installed the button stays grey.
    documentButton->setEnabled(review);
    if (review) {
        setWindowTitle(QStringLiteral("查阅试卷"));
        clockPages->setCurrentIndex(1);
        usedLabel->setText(QStringLiteral("用时：") + paper_.timeUsed);
        scoreLabel->setText(QStringLiteral("得分：") + ShortDecimal(paper_.score) +
                            QStringLiteral(" 分"));
    } else {
        explanationButton->setEnabled(false);
        answerButton->setEnabled(false);
        pointsButton->setEnabled(false);
        setWindowTitle(QStringLiteral("正在答卷"));
        clockPages->setCurrentIndex(0);
    }
    current_ = 0;
    store::Query& rows = dm_.Cn1Query_exam;
    SetUpNumberPanel(rows.isActive() ? rows.recordCount() : 0);
    clock_.reset();
    clockLabel->setText(clock_.text());
    if (review) {
        timer.stop();
    } else {
        timer.start();
    }
}

void TFrmExam::SetUpNumberPanel(int count) {
    store::Query& rows = dm_.Cn1Query_exam;
    const bool review = paper_.mode != QLatin1String("new");
    for (int i = 0; i < kCapacity; ++i) {
        widgets::PictureButton* b = numbers->buttonAt(i);
        if (i < count) {
            b->setEnabled(true);
            b->setTag(i + 1);
            if (review) {
                rows.setRecNo(i + 1);
                const bool right =
                    ScoresRight(rows.text(QStringLiteral("E2_1")), rows.text(QStringLiteral("A2")));
                b->setPictures(right ? right_ : wrong_, right ? downRight_ : downWrong_);
            } else {
                b->setPictures(up_, down_);
            }
        } else {
            b->setEnabled(false);
            b->setTag(0);
            b->setPictures(up_, down_);
        }
    }
    if (count == 0) return;
    numbers->setPressedIndex(0);
    numberChange(0);
}

bool TFrmExam::onQuestion(int number) {
    store::Query& rows = dm_.Cn1Query_exam;
    if (!rows.isActive() || number <= 0 || number > rows.recordCount()) return false;
    if (rows.recNo() != number) rows.setRecNo(number);
    return true;
}

std::optional<practice::AnswerKind> TFrmExam::currentKind() {
    return practice::TypeToAnswerKind(dm_.Cn1Query_exam.asInt(QStringLiteral("A13")));
}

void TFrmExam::setNumberPicture(int number, bool answered) {
    if (widgets::PictureButton* b = numbers->buttonAt(number - 1)) {
        b->setPictures(answered ? over_ : up_, down_);
    }
}

void TFrmExam::numberChange(int index) {
    widgets::PictureButton* b = numbers->buttonAt(index);
    if (b == nullptr || b->tag() <= 0) return;
    if (card_->verdictOpen()) card_->closeVerdict();
    const int number = b->tag();
    const bool review = paper_.mode != QLatin1String("new");
    if (!review && current_ > 0 && onQuestion(current_)) {
        try {
            SaveCurrentAnswer(current_, currentKind(), true);
        } catch (...) {
            // Nothing of the answer was stored: the window stays on its question,
            // with the answer on screen, to be stored on the next try.
            numbers->setPressedIndex(current_ - 1);
            onQuestion(current_);
            throw;
        }
    }
    numberLabel->setText(QStringLiteral("第") + QString::number(number) + QStringLiteral("题"));
    store::Query& rows = dm_.Cn1Query_exam;
    previousButton->setEnabled(number != 1);
    nextButton->setEnabled(number != rows.recordCount());
    current_ = number;
    onQuestion(number);

    const std::optional<practice::AnswerKind> kind = currentKind();
    if (kind) card_->answers()->setKind(*kind);
    headingLabel->setText(TypeHeading(rows.asInt(QStringLiteral("A13"))));
    onQuestion(number);
    if (kind) {
        card_->ShowAnswerState(*kind, rows, &rows);
    } else {
        card_->setNoteCaption(rows.text(QStringLiteral("A14")));
    }
    if (review) {
        answerButton->setEnabled(
            !practice::NoAnswerButtonTypes().contains(rows.asInt(QStringLiteral("A13"))));
        explanationButton->setEnabled(!rows.value(QStringLiteral("jx")).isNull());
        pointsButton->setEnabled(!rows.text(QStringLiteral("K3")).trimmed().isEmpty());
    } else {
        explanationButton->setEnabled(false);
        answerButton->setEnabled(false);
        pointsButton->setEnabled(false);
    }
    ShowQuestionText(rows.text(QStringLiteral("A1")));

    card_->setRedMarker(QString());
    discardButton->setText(kDiscardCaption);
    discardButton->setEnabled(review);
    if (review && onQuestion(number)) {
        const int f1 = rows.asInt(QStringLiteral("F1"));
        card_->setRedMarker(practice::DiscardMarker(f1));
        if (f1 == 1) discardButton->setText(kRestoreCaption);
    }
}

QString TFrmExam::TypeHeading(int typeId) {
    store::Table& types = dm_.Cn1Table_tx;
    const QString name = QStringLiteral("tab_tx%1").arg(qb::CurrentKind);
    if (types.isActive() && types.tableName().compare(name, Qt::CaseInsensitive) != 0) {
        types.close();
    }
    if (!types.isActive()) {
        types.setTableName(name);
        types.open();
    }
    if (!types.locate(QStringLiteral("A1"), typeId)) return {};
    const double each = types.asDouble(QStringLiteral("B3"));
    return types.text(QStringLiteral("B1")) + QStringLiteral(" 每题") + ShortDecimal(each) +
           QStringLiteral("分 共") + ShortDecimal(each * types.asDouble(QStringLiteral("B2"))) +
           QStringLiteral("分");
}

QString TFrmExam::TypeNameOf(int typeId) {
    return exam::TypeNameOf(dm_.ADOCn1, qb::CurrentKind, typeId);
}

void TFrmExam::ShowQuestionText(const QString& id) {
    store::Query& texts = dm_.cn1query_nr;
    try {
        texts.close();
        texts.setSql(QStringLiteral("select * from tab_exer where A1=") + store::quoted(id));
        texts.open();
    } catch (const std::exception&) {
        errorPrompt(QStringLiteral("无法打开试题！"));
        return;
    }
    if (texts.recordCount() == 0) {
        card_->stem()->clear();
        errorPrompt(QStringLiteral("找不到该试题！"));
        return;
    }
    try {
        card_->ShowStem(dm_, id, texts);
    } catch (const std::exception&) {
        errorPrompt(QStringLiteral("无法打开试题！"));
    }
}

// ------------------------------------------------------------------ answers

void TFrmExam::SaveCurrentAnswer(int number, std::optional<practice::AnswerKind> kind,
                                 bool updatePicture) {
    if (!onQuestion(number)) return;
    store::Query& row = dm_.Cn1Query_exam;
    const QString answer = kind ? practice::CollectAnswer(*kind, row.asInt(QStringLiteral("A2_1")),
                                                          card_->answers()->controls(*kind))
                                : QString();
    // The paper row is a copy; the question's progress goes to its bank row, held
    // by the candidate set the paper was drawn from.
    const practice::StoreResult stored = practice::StoreAnswer(dm_, row, answer, &dm_.Cn1Query_tm);
    if (updatePicture) setNumberPicture(number, stored.answered);
}

int TFrmExam::unanswered() {
    return UnansweredCount(dm_, paper_.table);
}

// ------------------------------------------------------------------ moving

void TFrmExam::previousClick() {
    if (current_ > 1) {
        numbers->setPressedIndex(current_ - 2);
        numberChange(current_ - 2);
    }
}

void TFrmExam::nextClick() {
    if (current_ < dm_.Cn1Query_exam.recordCount()) {
        numbers->setPressedIndex(current_);
        numberChange(current_);
    }
}

// ------------------------------------------------------------------ clock, hand-in, marking

void TFrmExam::stopClock() {
    clock_.pause();
    timer.stop();
}

void TFrmExam::clockTick() {
    clockLabel->setText(clock_.text());
    const int elapsed = clock_.seconds();
    const qint64 examTime =
        dm_.ADOCn1.scalar(QStringLiteral("select ExamTime from tab_plan")).toLongLong();
    if (elapsed >= examTime && paper_.mode == QLatin1String("new")) timeOut();
}

void TFrmExam::timeOut() {
    stopClock();
    const QString used = clock_.text();
    try {
        SaveCurrentAnswer(current_, currentKind(), false);
        const int open = unanswered();
        widgets::ShowMessage(QStringLiteral("提示"), QStringLiteral("很遗憾，考试时间到了！"),
                             widgets::MessageIcon::Information);
        if (open < kCapacity) {
            GradePaper(used);
        } else {
            dropAndClose();
        }
    } catch (const std::exception&) {
        failed(QStringLiteral("发生错误！"));
    }
}

void TFrmExam::dropPaper() {
    DropPaper(dm_, paper_.table);
}

void TFrmExam::dropAndClose() {
    dropPaper();
    left_ = true;
    close();
}

void TFrmExam::failed(const QString& text) {
    progressHide();
    errorPrompt(text);
    // The window was hidden for marking: it comes back rather than leave nothing.
    if (!isVisible() && !closed_) show();
}

void TFrmExam::handInClick() {
    if (leavePaper()) close();
}

bool TFrmExam::leavePaper() {
    if (left_) return true;
    if (paper_.mode != QLatin1String("new")) {
        if (paper_.belowMinimum) {
            widgets::ShowPromptBox(QStringLiteral("提示"), kNotKeptText, 1, QStringLiteral("NO"),
                                   widgets::kPictureNotice);
            dropPaper();
        }
        left_ = true;
        return true;
    }
    stopClock();
    const QString used = clock_.text();
    try {
        SaveCurrentAnswer(current_, currentKind(), false);
        const int open = unanswered();
        if (open >= kCapacity) {
            dropPaper();
            left_ = true;
            return true;
        }
        const int choice = widgets::ShowPromptBox(QStringLiteral("提示"), HandInText(open), 2,
                                                  QStringLiteral("Exam"), widgets::kPictureNotice);
        if (choice == 1) {
            GradePaper(used);
            return false;
        }
        if (choice == 3) {
            timer.start();
            clock_.resume();
            return false;
        }
        dropPaper();
        left_ = true;
        if (open < 50) dm_.CloseStudySession(used);
        return true;
    } catch (const std::exception&) {
        failed(QStringLiteral("发生错误！"));
        // A dropped paper leaves nothing to come back to.
        if (left_) return true;
        // The paper is still being answered: its clock goes on, as after "取消".
        if (paper_.mode == QLatin1String("new")) {
            timer.start();
            clock_.resume();
        }
        return false;
    }
}

void TFrmExam::leaveUnasked() noexcept {
    // Nobody is left to answer a question now: the answer being given is stored
    // and a review below the minimum is dropped, as "关闭" would; a paper still
    // being answered stays unmarked.
    if (left_) return;
    left_ = true;
    try {
        if (paper_.mode == QLatin1String("new")) {
            stopClock();
            SaveCurrentAnswer(current_, currentKind(), false);
        } else if (paper_.belowMinimum) {
            dropPaper();
        }
    } catch (const std::exception& e) {
        qWarning("exam paper not stored on leaving: %s", e.what());
    }
}

void TFrmExam::GradePaper(const QString& timeUsed) {
    hide();
    progressStep(QStringLiteral("正在判卷..."));
    // Until the marks are stored the paper stays as it was, so that a failure
    // brings back the window in the answering mode, every answer in place.
    paper_ = MarkPaper(dm_, paper_, timeUsed, qb::CurrentKind);
    progressStep(QStringLiteral("正在提取试卷..."));
    exam::OpenPaper(dm_, paper_);
    FormShow();
    progressHide();
    show();
}

void TFrmExam::pauseClick() {
    if (!paused_) {
        paused_ = true;
        pauseButton->setText(kResumeCaption);
        stopClock();
        previousWasEnabled_ = previousButton->isEnabled();
        nextWasEnabled_ = nextButton->isEnabled();
        for (QWidget* w : std::initializer_list<QWidget*>{handInButton, noteButton, closeButton,
                                                          card_->answers(), numbers, previousButton,
                                                          nextButton}) {
            w->setEnabled(false);
        }
        pauseCover->show();
        pauseCover->raise();
        coverTimer.start();
    } else {
        paused_ = false;
        pauseButton->setText(kPauseCaption);
        timer.start();
        clock_.resume();
        for (QWidget* w : std::initializer_list<QWidget*>{handInButton, noteButton, closeButton,
                                                          card_->answers(), numbers}) {
            w->setEnabled(true);
        }
        previousButton->setEnabled(previousWasEnabled_);
        nextButton->setEnabled(nextWasEnabled_);
        pauseCover->hide();
        coverTimer.stop();
    }
}

// ------------------------------------------------------------------ side buttons

void TFrmExam::answerClick() {
    if (!onQuestion(current_)) return;
    card_->ShowVerdict(dm_.Cn1Query_exam.text(QStringLiteral("A2")));
}

void TFrmExam::explanationClick() {
    if (!onQuestion(current_)) return;
    aids::TFrmJx::Open(dm_, aids::ExplanationSource::Exam, this);
}

void TFrmExam::noteClick() {
    if (!onQuestion(current_)) return;
    const QString id = dm_.Cn1Query_exam.text(QStringLiteral("A1"));
    const bool filled = aids::TFrmBj::Open(dm_, aids::NoteOrigin::Exam, this);
    // The exam may have timed out and been marked meanwhile: the caption is the
    // one of the question shown now.
    if (!onQuestion(current_)) return;
    if (dm_.Cn1Query_exam.text(QStringLiteral("A1")) == id) {
        noteButton->setText(filled ? practice::QuestionCardWidget::kNoteFilledCaption
                                   : practice::QuestionCardWidget::kNoteCaption);
    } else {
        card_->setNoteCaption(dm_.Cn1Query_exam.text(QStringLiteral("A14")));
    }
}

void TFrmExam::pointsClick() {
    if (!onQuestion(current_)) return;
    knowledge::TfrmAnswFagui::Open(dm_, dm_.Cn1Query_exam.text(QStringLiteral("A1")), this);
}

void TFrmExam::documentClick() {
    progressStep(QStringLiteral("正在导出试卷，请等待..."));
    // The progress window must not outlive a failed export.
    try {
        ExportPaperToWord();
    } catch (...) {
        progressHide();
        throw;
    }
    progressHide();
}

void TFrmExam::ExportPaperToWord() {
    QString path;
    try {
        path = WritePaperDocument(dm_, paper_.title, exportHooks().folder());
    } catch (const std::exception&) {
        path.clear();
    }
    if (path.isEmpty()) {
        progressHide();
        widgets::ShowMessage(QStringLiteral("警告"),
                             QStringLiteral("导出试题发生错误，请退出后重试！"),
                             widgets::MessageIcon::Warning);
        return;
    }
    // Without a word processor the document is still there: say where.
    if (!exportHooks().open(QUrl::fromLocalFile(path))) widgets::ShowDocumentSavedAt(path);
}

void TFrmExam::settingsClick() {
    // The music page of the settings: the exam has no other to offer.
    qb::ConfigMode = 0;
    widgets::RunSystemSettings(this);
}

void TFrmExam::desktopClick() {
    widgets::ShowDesktop();
}

void TFrmExam::discardClick() {
    if (!onQuestion(current_)) return;
    const bool discard = dm_.Cn1Query_exam.asInt(QStringLiteral("F1")) != 1;
    SetQuestionDiscarded(dm_, dm_.Cn1Query_exam, discard);
    card_->setRedMarker(discard ? practice::DiscardMarker(1)
                                : QStringLiteral("本题曾被作废，现已被您取消！"));
    discardButton->setText(discard ? kRestoreCaption : kDiscardCaption);
}

// ------------------------------------------------------------------ keys and closing

bool TFrmExam::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && isEnabled() &&
        card_->answers()->isEnabled()) {
        if (card_->answers()->handleKey(*static_cast<QKeyEvent*>(event), previousButton,
                                        nextButton)) {
            return true;
        }
    }
    return widgets::ModalForm::eventFilter(watched, event);
}

void TFrmExam::closeQuery(bool& canClose) {
    canClose = true;
    if (closed_) return;
    // The window manager's close and the like take the way of "关闭": the paper is
    // handed in or dropped first, and the window stays when that keeps it open.
    if (!left_) {
        bool leave = false;
        widgets::RunGuarded([this, &leave] { leave = leavePaper(); });
        if (!leave) {
            canClose = false;
            return;
        }
    }
    releaseData();
}

void TFrmExam::releaseData() noexcept {
    if (closed_) return;
    closed_ = true;
    widgets::SetBusyCursor();
    stopClock();
    dm_.Cn1Query1.close();
    dm_.Cn1Query2.close();
    dm_.Cn1Query_tm.close();
    dm_.Cn1Table_cj.close();
    dm_.Cn1Table_tx.close();
    dm_.Cn1Query_exam.close();
    dm_.Cn1Table_fgmc.close();
    widgets::SetNormalCursor();
}

// ------------------------------------------------------------------ the menu's road

void StartMockExam(store::TDM1& dm, int kind) {
    PaperOptions options;
    options.progress = [](const QString& text) { progressStep(text); };
    const PaperResult made = MakePaper(dm, kind, options);
    if (!made.ok) {
        progressHide();
        errorPrompt(made.error);
        return;
    }
    auto window = std::make_unique<TFrmExam>(dm);
    FrmExam = window.get();
    if (!window->picturesLoaded()) {
        progressHide();
        return;
    }
    const PaperState& p = made.paper;
    window->PreparePaper(p.table, p.title, p.mode, p.score, p.timeUsed);
    if (window->OpenPaper()) {
        progressHide();
        window->exec();
    }
    window.reset();
    progressHide();
}

}  // namespace exam
