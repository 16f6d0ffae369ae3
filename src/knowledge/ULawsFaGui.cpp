#include "ULawsFaGui.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "Globals.h"
#include "Prompt.h"
#include "RichText.h"
#include "Skin.h"
#include "uRulelxxt.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScopeGuard>
#include <QShowEvent>
#include <QSplitter>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace knowledge {
namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kMostCaption = QStringLiteral("重点(&M)");
const QString kAllCaption = QStringLiteral("全部(&A)");
const QString kCatalogueTitle = QStringLiteral("考点目录");
const QString kBackTitle = QStringLiteral("考 点 目 录");

constexpr int kTitleHeight = 39;
constexpr int kListWidth = 388;
constexpr int kNoteHeight = 28;

// Where the bottom strip's controls stand, left to right, and their common top.
struct Layout {
    QSize size;
    int top;
    int headingHeight;
    int nameWidth;
};
const Layout kLarge{TfrmLawsFaGui::kLargeSize, 520, 36, 554};
const Layout kCompact{TfrmLawsFaGui::kCompactSize, 425, 30, 410};
constexpr int kButtonLefts[] = {218, 316, 400, 484, 568, 652};
constexpr int kRowHeight = 30;
constexpr int kCounterWidth = 80;

}  // namespace

// ------------------------------------------------------------------ the detail view

TfrmLawDetail::TfrmLawDetail(store::TDM1& dm, QWidget* parent)
    : QWidget(parent), points_(dm.m_queryDetail) {
    setObjectName(QStringLiteral("frmLawDetail"));
    m_Pdetail = new QWidget(this);
    m_Pdetail->setObjectName(QStringLiteral("m_Pdetail"));

    Splitter1 = new QSplitter(Qt::Horizontal, m_Pdetail);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    m_LBmenu = new QListWidget(Splitter1);
    m_LBmenu->setObjectName(QStringLiteral("m_LBmenu"));
    m_LBmenu->setFont(widgets::PixelFont(16));
    m_LBmenu->setCursor(Qt::PointingHandCursor);
    m_LBmenu->setStyleSheet(QStringLiteral("QListWidget::item { padding: 2px 3px; }"));

    auto* right = new QWidget(Splitter1);
    Re = new QTextEdit(right);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setReadOnly(true);
    Re->setFont(widgets::PixelFont(16));
    Re->document()->setDefaultFont(widgets::PixelFont(16));
    m_pNote = new QLabel(right);
    m_pNote->setObjectName(QStringLiteral("m_pNote"));
    m_pNote->setFixedHeight(kNoteHeight);
    m_pNote->setFont(widgets::PixelFont(14));
    m_pNote->setStyleSheet(
        QStringLiteral("QLabel { background: #d6e4f3; color: #3f6a98; "
                       "padding-left: 6px; border-top: 1px solid #7aa0cd; }"));
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Re, 1);
    column->addWidget(m_pNote);

    Splitter1->addWidget(m_LBmenu);
    Splitter1->addWidget(right);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    auto* body = new QVBoxLayout(m_Pdetail);
    body->setContentsMargins(0, 0, 0, 0);
    body->addWidget(Splitter1);

    connect(m_LBmenu, &QListWidget::currentRowChanged, this,
            [this] { widgets::RunGuarded([this] { m_lBmenuClick(); }); });
}

bool TfrmLawDetail::Open(const QString& chapterId) {
    const bool found = points_.Open(chapterId);
    FillList();
    return found;
}

void TfrmLawDetail::FillList() {
    const QSignalBlocker quiet(m_LBmenu);
    m_LBmenu->clear();
    for (const PointItem& item : points_.items()) {
        auto* row = new QListWidgetItem(item.text, m_LBmenu);
        // The item knows the point it stands for, whatever its text.
        row->setData(Qt::UserRole, item.ftid);
    }
    if (m_LBmenu->count() > 0) m_LBmenu->setCurrentRow(0);
    showCurrent();
}

void TfrmLawDetail::m_lBmenuClick() {
    if (m_LBmenu->currentRow() < 0 && m_LBmenu->count() > 0) {
        const QSignalBlocker quiet(m_LBmenu);
        m_LBmenu->setCurrentRow(0);
    }
    points_.Select(m_LBmenu->currentRow());
    showCurrent();
}

void TfrmLawDetail::showCurrent() {
    richtext::read(points_.text(), Re->document());
    m_pNote->setText(points_.status());
    if (practiceButton_ != nullptr && points_.current() >= 0) {
        practiceButton_->setEnabled(points_.canPractise());
    }
}

// ------------------------------------------------------------------ the catalogue

TfrmLawsFaGui::TfrmLawsFaGui(store::TDM1& dm, QWidget* parent)
    : widgets::ModalForm(parent), dm_(dm) {
    setObjectName(QStringLiteral("frmLawsFaGui"));
    setWindowTitle(kCatalogueTitle);
    setFont(widgets::PixelFont(12));

    m_pTiltel = new QWidget(this);
    m_pTiltel->setObjectName(QStringLiteral("m_pTiltel"));
    m_Ltiltle = new QLabel(kCatalogueTitle, m_pTiltel);
    m_Ltiltle->setObjectName(QStringLiteral("m_Ltiltle"));
    m_Ltiltle->setAlignment(Qt::AlignCenter);
    m_Ltiltle->setFont(widgets::PixelFont(20, true));
    m_Ltiltle->setStyleSheet(QStringLiteral("color: #3f6a98;"));
    auto* title = new QVBoxLayout(m_pTiltel);
    title->setContentsMargins(0, 0, 0, 0);
    title->addWidget(m_Ltiltle);

    m_pMuLu = new QWidget(this);
    m_pMuLu->setObjectName(QStringLiteral("m_pMuLu"));
    m_grid = new QTableWidget(m_pMuLu);
    m_grid->setObjectName(QStringLiteral("m_grid"));
    m_grid->setColumnCount(5);
    m_grid->setRowCount(1);
    m_grid->setFont(widgets::PixelFont(16));
    m_grid->horizontalHeader()->setFont(widgets::PixelFont(16));
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    // The counters are padded with blanks; only the blanks may be cut.
    m_grid->setTextElideMode(Qt::ElideNone);
    // Vertical lines between the columns only.
    m_grid->setShowGrid(false);
    m_grid->setStyleSheet(
        QStringLiteral("QTableWidget::item { border-right: 1px solid #b8cce4; padding: 0 2px; }"
                       "QTableWidget::item:selected { background: #2f6fc0; color: white; }"));
    auto* body = new QVBoxLayout(m_pMuLu);
    body->setContentsMargins(0, 0, 0, 0);
    body->addWidget(m_grid);

    m_editFind = new QLineEdit(this);
    m_editFind->setObjectName(QStringLiteral("m_editFind"));
    const auto button = [this](const char* name, const QString& caption,
                               void (TfrmLawsFaGui::*handler)()) {
        auto* b = new widgets::EffectButton(caption, this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QAbstractButton::clicked, this,
                [this, handler] { widgets::RunGuarded([this, handler] { (this->*handler)(); }); });
        return b;
    };
    m_btnFind = button("m_btnFind", QStringLiteral("检索(&F)"), &TfrmLawsFaGui::m_btnFindClick);
    m_btnSelect =
        button("m_btnSelect", QStringLiteral("选定(&S)"), &TfrmLawsFaGui::m_btnSelectClick);
    m_btnMost = button("m_btnMost", kMostCaption, &TfrmLawsFaGui::m_btnMostClick);
    m_btnQuestion =
        button("m_btnQuestion", QStringLiteral("练习(&P)"), &TfrmLawsFaGui::m_btnQuestionClick);
    m_btnBack = button("m_btnBack", QStringLiteral("返回(&B)"), &TfrmLawsFaGui::m_btnBackClick);
    m_btnExit = button("m_btnExit", QStringLiteral("退出(&E)"), &TfrmLawsFaGui::m_btnExitClick);

    connect(m_editFind, &QLineEdit::returnPressed, this,
            [this] { widgets::RunGuarded([this] { m_btnFindClick(); }); });
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) {
        const QTableWidgetItem* name = m_grid->item(row, 0);
        m_grid->setToolTip(name != nullptr ? name->text() : QString());
    });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this,
            [this] { widgets::RunGuarded([this] { m_btnSelectClick(); }); });

    catalogueMode();
    m_Ltiltle->setText(kCatalogueTitle);
    setHeadings();
    loadGrid();
    applyLayout();
    frmLawsFaGui = this;
}

TfrmLawsFaGui::~TfrmLawsFaGui() {
    if (frmLawsFaGui == this) frmLawsFaGui = nullptr;
}

void TfrmLawsFaGui::showEvent(QShowEvent* event) {
    widgets::ModalForm::showEvent(event);
    if (!event->spontaneous()) widgets::RunGuarded([this] { FormShow(); });
}

void TfrmLawsFaGui::FormShow() {
    applyLayout();
}

void TfrmLawsFaGui::setHeadings() {
    m_grid->setHorizontalHeaderLabels(CatalogueHeadings(qb::ScreenMode == QLatin1String("800")));
}

void TfrmLawsFaGui::loadGrid() {
    const QVector<CatalogueRow> rows = LoadCatalogue(dm_.m_query);
    // An empty catalogue keeps the grid as it was made.
    if (rows.isEmpty()) return;
    ids_.clear();
    m_grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].cells.size(); ++c) {
            auto* cell = new QTableWidgetItem(rows[r].cells[c]);
            if (c > 0) cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, c, cell);
        }
        ids_ << rows[r].id;
    }
}

void TfrmLawsFaGui::applyLayout() {
    compact_ = qb::ScreenMode == QLatin1String("800");
    const Layout& l = compact_ ? kCompact : kLarge;
    setFixedSize(l.size);
    m_pTiltel->setGeometry(1, 1, l.size.width() - 2, kTitleHeight);
    m_pMuLu->setGeometry(1, kTitleHeight + 1, l.size.width() - 2, l.top - kTitleHeight - 9);
    m_grid->horizontalHeader()->setFixedHeight(l.headingHeight);
    m_grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_grid->setColumnWidth(0, l.nameWidth);
    for (int c = 1; c < 5; ++c)
        m_grid->setColumnWidth(c, kCounterWidth);
    m_editFind->setGeometry(8, l.top, 180, 21);
    widgets::EffectButton* const order[] = {m_btnFind,     m_btnSelect, m_btnMost,
                                            m_btnQuestion, m_btnBack,   m_btnExit};
    for (int i = 0; i < 6; ++i)
        order[i]->setGeometry(kButtonLefts[i], l.top, 75, 22);
    if (detail_ != nullptr) detail_->m_Pdetail->setGeometry(m_pMuLu->rect());
    widgets::CentreOnDesktop(this);
    update();
}

void TfrmLawsFaGui::catalogueMode() {
    for (QWidget* w : std::initializer_list<QWidget*>{m_editFind, m_btnFind, m_btnSelect})
        w->show();
    m_btnMost->setEnabled(false);
    m_btnQuestion->setEnabled(false);
    m_btnBack->hide();
    m_grid->show();
}

void TfrmLawsFaGui::m_btnFindClick() {
    QStringList names;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        const QTableWidgetItem* name = m_grid->item(r, 0);
        names << (name != nullptr ? name->text() : QString());
    }
    const int row = FindRow(names, m_editFind->text());
    if (row >= 0) m_grid->setCurrentCell(row, 0);
}

void TfrmLawsFaGui::m_btnSelectClick() {
    const int row = m_grid->currentRow();
    if (detail_ != nullptr || row < 0 || row >= ids_.size()) return;
    const QString id = ids_[row].trimmed();
    if (IsGroupId(id)) {
        widgets::ShowPromptBox(kPrompt, QStringLiteral("请选择具体章节!"), 3, QString(),
                               widgets::kPictureWarning);
        return;
    }
    const QTableWidgetItem* questions = m_grid->item(row, 1);
    threshold_ =
        ReadKeyThreshold(dm_.m_query, id, questions != nullptr ? questions->text() : QString());
    chapterId_ = id;

    for (QWidget* w : std::initializer_list<QWidget*>{m_editFind, m_btnFind, m_btnSelect})
        w->hide();
    m_btnMost->setEnabled(true);
    m_btnQuestion->setEnabled(true);
    m_btnBack->show();
    detail_ = new TfrmLawDetail(dm_, this);
    detail_->hide();
    detail_->setPracticeButton(m_btnQuestion);
    const QTableWidgetItem* name = m_grid->item(row, 0);
    m_Ltiltle->setText(name != nullptr ? name->text().trimmed() : QString());
    detail_->m_Pdetail->setParent(m_pMuLu);
    detail_->m_Pdetail->setGeometry(m_pMuLu->rect());
    detail_->Splitter1->setSizes({kListWidth, m_pMuLu->width() - kListWidth - 3});
    detail_->m_Pdetail->show();
    m_grid->hide();

    if (!detail_->Open(id)) {
        widgets::ShowMessage(kPrompt, QStringLiteral("找不到考点!"),
                             widgets::MessageIcon::Information);
    }
}

void TfrmLawsFaGui::m_btnMostClick() {
    if (detail_ == nullptr) return;
    detail_->Re->clear();
    const bool switched = detail_->points().ToggleKeyPoints(threshold_);
    detail_->FillList();
    if (switched) {
        m_btnMost->setText(detail_->points().keyShown() ? kAllCaption : kMostCaption);
    } else {
        widgets::ShowMessage(kPrompt, QStringLiteral("此考点暂无重点内容！"),
                             widgets::MessageIcon::Information);
    }
}

void TfrmLawsFaGui::m_btnQuestionClick() {
    if (detail_ == nullptr) return;
    const int index = detail_->m_LBmenu->currentRow();
    const QVector<PointItem>& items = detail_->points().items();
    // A chapter without knowledge points has nothing to practise.
    if (index < 0 || index >= items.size()) return;
    const PointItem item = items[index];
    qb::PracticeSql = PointSetSql(item.ftid);
    // Whatever the practice meets, the catalogue comes back as it was.
    const practice::PracticeRun run = widgets::RunAside(
        this, [&](const auto& beforeShow) { return RunPointPractice(dm_, item.name, beforeShow); },
        [this] {
            if (detail_ != nullptr) detail_->m_lBmenuClick();
        });
    if (run == practice::PracticeRun::Empty) {
        widgets::ShowPromptBox(kPrompt, QStringLiteral("恭喜你，习题已做完！"), 1,
                               QStringLiteral("NO"), widgets::kPictureNotice);
    }
}

void TfrmLawsFaGui::m_btnBackClick() {
    if (detail_ == nullptr) return;
    const int row = m_grid->currentRow();
    catalogueMode();
    m_Ltiltle->setText(kBackTitle);
    setHeadings();
    loadGrid();
    applyLayout();
    if (row >= 0 && row < m_grid->rowCount()) m_grid->setCurrentCell(row, 0);
    detail_->m_Pdetail->setParent(detail_);
    delete detail_;
    detail_ = nullptr;
    m_btnMost->setText(kMostCaption);
}

void TfrmLawsFaGui::m_btnExitClick() {
    ids_.clear();
    close();
}

void TfrmLawsFaGui::paintEvent(QPaintEvent*) {
    widgets::PaintStripWindow(this, kTitleHeight);
}

}  // namespace knowledge
