#include "Ukmmc.h"
#include "ModalForm.h"

#include "DataModule.h"
#include "DatasetGridModel.h"
#include "FlatButton.h"
#include "Globals.h"
#include "NumberDisplay.h"
#include "PracticeLauncher.h"
#include "Prompt.h"
#include "Skin.h"
#include "WindowHooks.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>

#include <array>

namespace practice {
namespace {

QuestionEntryRunner& entryRunner() {
    static QuestionEntryRunner installed;
    return installed;
}

const QString kPrompt = QStringLiteral("提示");
const QString kEntryFailedText = QStringLiteral("录入试题后出现异常!");

// Where everything sits in one of the two layouts.
struct Layout {
    QSize size;
    QRect grid;
    std::array<QRect, 3> numbers;  // epNum_all, epNum_ok, epNum_Err
    std::array<QRect, 4> labels;   // 总习题数, 已做题道次, 做错题道次, 综合成绩
    QRect score;                   // Lb_fs
    // SpeedButton1, 2, 3, 5, 4, 6: the order the buttons stand in, left to right.
    std::array<QRect, 6> buttons;
    QRect title;  // "目 录"
    QRect board;  // "评语板"
    int boardHeading;
    int cellPixels;  // 0: cellPoints is used
    int cellPoints;
    int titlePixels;
    int titlePoints;
};

const Layout kLarge{
    .size = TFrmkmmc::kLargeSize,
    .grid = {33, 101, 733, 379},
    .numbers = {QRect(811, 172, 88, 35), QRect(811, 247, 88, 35), QRect(811, 322, 88, 35)},
    .labels = {QRect(803, 147, 102, 17), QRect(803, 222, 102, 17), QRect(803, 297, 102, 17),
               QRect(803, 372, 105, 17)},
    .score = {827, 405, 57, 23},
    .buttons = {QRect(142, 501, 84, 37), QRect(229, 501, 84, 37), QRect(315, 501, 84, 37),
                QRect(401, 501, 84, 37), QRect(583, 494, 86, 35), QRect(676, 494, 85, 35)},
    .title = {33, 22, 733, 60},
    .board = {790, 101, 128, 379},
    .boardHeading = 34,
    .cellPixels = 16,
    .cellPoints = 0,
    .titlePixels = 13,
    .titlePoints = 0,
};

const Layout kCompact{
    .size = TFrmkmmc::kCompactSize,
    .grid = {25, 136, 596, 176},
    .numbers = {QRect(650, 133, 90, 30), QRect(650, 193, 90, 30), QRect(650, 253, 90, 30)},
    .labels = {QRect(644, 113, 102, 17), QRect(644, 173, 102, 17), QRect(644, 233, 102, 17),
               QRect(644, 293, 105, 17)},
    .score = {672, 318, 57, 23},
    .buttons = {QRect(114, 393, 69, 31), QRect(185, 393, 69, 31), QRect(255, 393, 69, 31),
                QRect(325, 393, 69, 31), QRect(475, 387, 68, 29), QRect(549, 387, 69, 29)},
    .title = {25, 58, 596, 64},
    .board = {636, 80, 118, 272},
    .boardHeading = 28,
    .cellPixels = 0,
    .cellPoints = 11,
    .titlePixels = 0,
    .titlePoints = 9,
};

const Layout& layoutFor(bool compact) {
    return compact ? kCompact : kLarge;
}

QFont sizedFont(int pixels, int points, bool bold = false) {
    if (pixels > 0) return widgets::PixelFont(pixels, bold);
    QFont f(widgets::skin::kFontFamily, points);
    f.setBold(bold);
    return f;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignCenter);
    return l;
}

}  // namespace

void setQuestionEntryRunner(QuestionEntryRunner runner) {
    entryRunner() = std::move(runner);
}

TFrmkmmc::TFrmkmmc(store::TDM1& dm, QWidget* parent) : widgets::ModalForm(parent), dm_(dm) {
    setObjectName(QStringLiteral("Frmkmmc"));
    setWindowTitle(QStringLiteral("科目名称"));
    setFont(widgets::PixelFont(14));
    screenWidth_ = [this] {
        const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
        return s != nullptr ? s->size().width() : 0;
    };

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    model_ = new DatasetGridModel(
        {
            {QStringLiteral("C2"), QStringLiteral("章节名称")},
            {QStringLiteral("C3"), QStringLiteral("习题数目"), right},
            {QStringLiteral("C4"), QStringLiteral("已做题数"), right},
            {QStringLiteral("D1"), QStringLiteral("已做道次"), right},
            {QStringLiteral("D2"), QStringLiteral("做错道次"), right},
            {QStringLiteral("C6"), QStringLiteral("综合成绩"), right},
        },
        this);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(model_);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setShowGrid(true);
    DBGrid1->setWordWrap(false);
    DBGrid1->setTextElideMode(Qt::ElideRight);
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setFixedWidth(14);
    DBGrid1->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DBGrid1->verticalHeader()->setHighlightSections(false);
    {
        QPalette p = DBGrid1->palette();
        p.setColor(QPalette::Highlight, QColor::fromRgb(widgets::skin::kFocus));
        p.setColor(QPalette::HighlightedText, Qt::white);
        p.setColor(QPalette::Inactive, QPalette::Highlight, QColor::fromRgb(widgets::skin::kFocus));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::white);
        DBGrid1->setPalette(p);
    }
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    widgets::RunGuarded([this, current] { followGrid(current.row()); });
            });
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this,
            [this] { widgets::RunGuarded([this] { DBGrid1DblClick(); }); });
    connect(&dm_.Cn1DS_kmmc, &store::DataSource::dataChange, this, [this] { followDataset(); });

    Label1 = makeLabel(this, "Label1", QStringLiteral("总习题数"));
    Label2 = makeLabel(this, "Label2", QStringLiteral("已做题道次"));
    Label3 = makeLabel(this, "Label3", QStringLiteral("做错题道次"));
    Label4 = makeLabel(this, "Label4", QStringLiteral("综合成绩"));
    Lb_fs = makeLabel(this, "Lb_fs", QStringLiteral("分数"));
    // The Song face has no bold of its own; the Hei face keeps the score bold.
    Lb_fs->setStyleSheet(QStringLiteral(
        "color: #b02020; font-family: \"黑体\"; font-size: 16px; font-weight: bold;"));

    const auto makeNumber = [this](const char* name) {
        auto* n = new widgets::NumberDisplay(this);
        n->setObjectName(QLatin1String(name));
        n->setDigitCount(5);
        n->setNumber(0);
        return n;
    };
    epNum_all = makeNumber("epNum_all");
    epNum_ok = makeNumber("epNum_ok");
    epNum_Err = makeNumber("epNum_Err");

    SpeedButton1 = makeButton("SpeedButton1", QStringLiteral("练习新题"));
    SpeedButton2 = makeButton("SpeedButton2", QStringLiteral("错题重做"));
    SpeedButton3 = makeButton("SpeedButton3", QStringLiteral("习题重温"));
    SpeedButton5 = makeButton("SpeedButton5", QStringLiteral("试题录入"));
    SpeedButton4 = makeButton("SpeedButton4", QStringLiteral("设置"));
    SpeedButton6 = makeButton("SpeedButton6", QStringLiteral("关闭"));
    SpeedButton1->setProperty("Tag", static_cast<int>(ChapterSet::NewQuestions));
    SpeedButton2->setProperty("Tag", static_cast<int>(ChapterSet::WrongQuestions));
    SpeedButton3->setProperty("Tag", static_cast<int>(ChapterSet::DoneQuestions));
    const auto wire = [this](QAbstractButton* b, auto handler) {
        connect(b, &QAbstractButton::clicked, this,
                [this, handler] { widgets::RunGuarded([this, handler] { (this->*handler)(); }); });
    };
    connect(SpeedButton1, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { epEfButton1Click(SpeedButton1); }); });
    wire(SpeedButton2, &TFrmkmmc::epEfButton2Click);
    wire(SpeedButton3, &TFrmkmmc::epEfButton3Click);
    wire(SpeedButton5, &TFrmkmmc::epEfButton6Click);
    wire(SpeedButton4, &TFrmkmmc::epEfButton5Click);
    wire(SpeedButton6, &TFrmkmmc::SpeedButton6Click);
    // Buttons whose window is not installed in this program are grey, not dead.
    SpeedButton5->setEnabled(static_cast<bool>(entryRunner()));
    SpeedButton4->setEnabled(widgets::HasSystemSettings());

    applyLayout();
}

TFrmkmmc::~TFrmkmmc() = default;

widgets::FlatButton* TFrmkmmc::makeButton(const char* name, const QString& caption) {
    auto* b = new widgets::FlatButton(caption, this);
    b->setObjectName(QLatin1String(name));
    return b;
}

void TFrmkmmc::setScreenWidthProvider(std::function<int()> provider) {
    screenWidth_ = std::move(provider);
}

void TFrmkmmc::showEvent(QShowEvent* event) {
    widgets::ModalForm::showEvent(event);
    // Shown by the program, not restored by the window system: first showing, or
    // coming back after practice.
    if (!event->spontaneous()) widgets::RunGuarded([this] { FormShow(); });
}

void TFrmkmmc::FormShow() {
    widgets::SetBusyCursor();
    const auto normal = qScopeGuard([] { widgets::SetNormalCursor(); });
    store::Table& kmmc = dm_.Cn1Table_kmmc;
    store::TDM1::ensureOpen(kmmc);
    kmmc.first();
    kmmc.setFiltered(false);
    kmmc.setFilter(kCatalogueFilter);
    applyLayout();
    kmmc.setFiltered(true);
    model_->reload(kmmc);
    setColumnWidths();

    const ChapterTotals totals = ReadChapterTotals(dm_.Cn1Query1);
    shownQuestions_ = ShownQuestionTotal(totals.questions);
    epNum_all->setNumber(shownQuestions_);
    epNum_ok->setNumber(totals.answers);
    epNum_Err->setNumber(totals.wrong);
    if (const auto score = OverallScore(totals.answers, totals.wrong)) Lb_fs->setText(*score);

    if (!ActedCode.isEmpty()) {
        kmmc.locate(QStringLiteral("C1"), ActedCode, Qt::CaseInsensitive);
    } else if (qb::CurrentSubject >= 1 && qb::CurrentSubject <= 5) {
        // Opened by a subject's menu item: that subject's first row, among all of them.
        const QString subject = QStringLiteral("0%1").arg(qb::CurrentSubject);
        for (kmmc.first(); !kmmc.eof(); kmmc.next()) {
            if (kmmc.text(QStringLiteral("C1")).startsWith(subject)) break;
        }
        if (kmmc.eof()) kmmc.first();
    }
    followDataset();
}

void TFrmkmmc::applyLayout() {
    compact_ = qb::ScreenMode == QLatin1String("800");
    const Layout& l = layoutFor(compact_);
    setFixedSize(l.size);
    DBGrid1->setGeometry(l.grid);
    DBGrid1->setFont(sizedFont(l.cellPixels, l.cellPoints));
    DBGrid1->horizontalHeader()->setFont(sizedFont(l.titlePixels, l.titlePoints));
    DBGrid1->verticalHeader()->setDefaultSectionSize(QFontMetrics(DBGrid1->font()).height() + 6);
    const std::array<widgets::NumberDisplay*, 3> numbers{epNum_all, epNum_ok, epNum_Err};
    for (size_t i = 0; i < numbers.size(); ++i)
        numbers[i]->setGeometry(l.numbers[i]);
    const std::array<QLabel*, 4> labels{Label1, Label2, Label3, Label4};
    for (size_t i = 0; i < labels.size(); ++i)
        labels[i]->setGeometry(l.labels[i]);
    Lb_fs->setGeometry(l.score);
    const std::array<widgets::FlatButton*, 6> buttons{SpeedButton1, SpeedButton2, SpeedButton3,
                                                      SpeedButton5, SpeedButton4, SpeedButton6};
    for (size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setGeometry(l.buttons[i]);
    widgets::CentreOnDesktop(this);
    update();
}

void TFrmkmmc::setColumnWidths() {
    // By the physical width, not the layout: an 800-pixel-wide screen needs the
    // narrow columns even when it is tall enough for the large layout.
    const bool narrow = screenWidth_ && screenWidth_() == 800;
    DBGrid1->setColumnWidth(0, narrow ? 308 : 370);
    for (int c = 1; c < model_->columnCount(); ++c)
        DBGrid1->setColumnWidth(c, narrow ? 50 : 65);
}

void TFrmkmmc::followDataset() {
    store::Table& kmmc = dm_.Cn1Table_kmmc;
    if (!kmmc.isActive()) return;
    const int row = kmmc.recNo() - 1;
    model_->setIndicatorRow(row);
    if (row < 0 || row >= model_->rowCount() || DBGrid1->currentIndex().row() == row) return;
    following_ = true;
    const auto done = qScopeGuard([this] { following_ = false; });
    DBGrid1->setCurrentIndex(model_->index(row, 0));
    DBGrid1->scrollTo(model_->index(row, 0));
}

void TFrmkmmc::followGrid(int row) {
    if (following_) return;
    store::Table& kmmc = dm_.Cn1Table_kmmc;
    if (!kmmc.isActive() || row + 1 > kmmc.recordCount()) return;
    if (kmmc.recNo() != row + 1) kmmc.setRecNo(row + 1);
}

bool TFrmkmmc::readCurrentCode(QString& code) {
    store::Table& kmmc = dm_.Cn1Table_kmmc;
    if (!kmmc.isActive() || kmmc.recordCount() == 0) return false;
    code = kmmc.text(QStringLiteral("C1"));
    return true;
}

void TFrmkmmc::refuseRow() {
    widgets::ShowMessage(kPrompt, kChooseChapterText, widgets::MessageIcon::Information,
                         widgets::MessageButtons::Ok);
}

void TFrmkmmc::epEfButton1Click(QAbstractButton* sender) {
    QString code;
    if (sender == nullptr || !readCurrentCode(code)) return;
    ActedCode = code;
    if (!IsPractisableCode(code)) {
        refuseRow();
        return;
    }
    const auto set = static_cast<ChapterSet>(sender->property("Tag").toInt());
    startSet(set, ChapterSetSql(set, code), sender->text());
}

void TFrmkmmc::epEfButton2Click() {
    epEfButton1Click(SpeedButton2);
}

void TFrmkmmc::epEfButton3Click() {
    epEfButton1Click(SpeedButton3);
}

void TFrmkmmc::DBGrid1DblClick() {
    QString code;
    if (!readCurrentCode(code)) return;
    ActedCode = code;
    if (!IsPractisableCode(code)) {
        refuseRow();
        return;
    }
    // The whole row is selected, so the grid's text is the row's name.
    const int row = dm_.Cn1Table_kmmc.recNo() - 1;
    startSet(ChapterSet::NewQuestions, GridNewQuestionsSql(code), model_->cellText(row, 0));
}

void TFrmkmmc::startSet(ChapterSet set, const QString& sql, const QString& caption) {
    qb::PracticeSql = sql;
    // Even when practice fails, the browser must not stay hidden or busy.
    const bool started = widgets::RunAside(
        this, [&](const auto& beforeShow) { return RunChapterPractice(caption, beforeShow); });
    if (!started) {
        widgets::ShowPromptBox(kPrompt, EmptySetText(set), 1, QStringLiteral("NO"),
                               EmptySetPicture(set));
    }
}

void TFrmkmmc::epEfButton6Click() {
    QString code;
    if (!readCurrentCode(code)) return;
    if (!IsPractisableCode(code)) {
        refuseRow();
        return;
    }
    const QuestionEntryRunner& runEntry = entryRunner();
    if (!runEntry) return;  // no entry window in this program yet
    int saved = 0;
    bool failed = false;
    try {
        runEntry(code, this, saved);
    } catch (...) {
        failed = true;
    }
    try {
        store::Table& kmmc = dm_.Cn1Table_kmmc;
        kmmc.requery();
        kmmc.locate(QStringLiteral("C1"), code, Qt::CaseInsensitive);
        model_->reload(kmmc);
        followDataset();
        // The new questions are added to what is shown, cap or no cap; the totals
        // are counted afresh only when the window is shown again.
        shownQuestions_ += saved;
        epNum_all->setNumber(shownQuestions_);
    } catch (...) {
        failed = true;
    }
    if (failed) {
        widgets::ShowMessage(kPrompt, kEntryFailedText, widgets::MessageIcon::Warning,
                             widgets::MessageButtons::Ok);
    }
}

void TFrmkmmc::epEfButton5Click() {
    qb::ConfigMode = 0;
    widgets::RunSystemSettings(this);
}

void TFrmkmmc::SpeedButton6Click() {
    close();
}

void TFrmkmmc::FormCloseQuery(bool& CanClose) {
    CanClose = true;
    dm_.Cn1Table_kmmc.close();
    dm_.Cn1Query1.close();
}

void TFrmkmmc::closeQuery(bool& canClose) {
    FormCloseQuery(canClose);
}

void TFrmkmmc::paintEvent(QPaintEvent*) {
    namespace skin = widgets::skin;
    const Layout& l = layoutFor(compact_);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient body(0, 0, 0, height());
    body.setColorAt(0, QColor::fromRgb(skin::kWindow));
    body.setColorAt(1, QColor::fromRgb(skin::kPanel));
    p.fillRect(rect(), body);

    // The title over the grid, with a rule under it.
    QFont titleFont(QStringLiteral("黑体"));
    titleFont.setPixelSize(compact_ ? 26 : 32);
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.setPen(QColor::fromRgb(skin::kDialogTitle));
    p.drawText(l.title, Qt::AlignCenter, QStringLiteral("目 录"));
    p.setPen(QPen(QColor::fromRgb(skin::kBorder), 1));
    p.drawLine(l.title.left(), l.title.bottom() + 2, l.title.right(), l.title.bottom() + 2);

    // The comment board: a framed white panel with its heading strip.
    QPainterPath board;
    board.addRoundedRect(QRectF(l.board).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    p.fillPath(board, Qt::white);
    p.save();
    p.setClipPath(board);
    QLinearGradient strip(0, l.board.top(), 0, l.board.top() + l.boardHeading);
    strip.setColorAt(0, QColor::fromRgb(skin::kFaceBottom));
    strip.setColorAt(1, QColor::fromRgb(skin::kGlow));
    p.fillRect(QRect(l.board.left(), l.board.top(), l.board.width(), l.boardHeading), strip);
    p.restore();
    p.setPen(QPen(QColor::fromRgb(skin::kBorder), 1));
    p.drawPath(board);
    p.setFont(sizedFont(compact_ ? 15 : 17, 0, true));
    p.setPen(QColor::fromRgb(skin::kDialogTitle));
    p.drawText(QRect(l.board.left(), l.board.top(), l.board.width(), l.boardHeading),
               Qt::AlignCenter, QStringLiteral("评语板"));

    // A raised plate under each button; the button paints its caption on it.
    for (const QRect& r : l.buttons) {
        QLinearGradient face(0, r.top(), 0, r.bottom());
        face.setColorAt(0, QColor::fromRgb(skin::kFaceTop));
        face.setColorAt(1, QColor::fromRgb(skin::kFaceBottom));
        QPainterPath plate;
        plate.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.fillPath(plate, face);
        p.setPen(QPen(QColor::fromRgb(skin::kBorder), 1));
        p.drawPath(plate);
    }

    // No system frame: the window draws its own edge.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor::fromRgb(skin::kDarkBorder));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace practice
