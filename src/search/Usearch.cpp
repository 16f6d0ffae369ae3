#include "Usearch.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "Globals.h"
#include "PracticeLauncher.h"
#include "Prompt.h"
#include "RichText.h"
#include "Skin.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScopeGuard>
#include <QShowEvent>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace search {
namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kTitle = QStringLiteral("全文搜索");
const QString kPracticeCaption = QStringLiteral("搜索结果练习");

constexpr int kTitleHeight = 39;
constexpr int kRowHeight = 30;
constexpr QRgb kMarkBack = 0xffffe27a;
constexpr QRgb kMarkText = 0xffc00000;

QString snippetHtml(const Snippet& s) {
    QString html;
    int at = 0;
    for (const auto& [start, length] : s.marks) {
        if (start < at) continue;
        html += s.text.mid(at, start - at).toHtmlEscaped();
        html += QStringLiteral("<span style=\"background-color:%1; color:%2;\">")
                    .arg(QColor::fromRgb(kMarkBack).name(), QColor::fromRgb(kMarkText).name());
        html += s.text.mid(start, length).toHtmlEscaped() + QStringLiteral("</span>");
        at = start + length;
    }
    return html + s.text.mid(at).toHtmlEscaped();
}

QString sourceNames(const QVector<Source>& sources) {
    QStringList names;
    for (Source s : sources)
        names << SourceName(s);
    return names.join(u'、');
}

// Every place the query stands in the document gets the marker's colours.
void markQuery(QTextDocument* doc, const QString& query) {
    if (query.isEmpty()) return;
    QTextCharFormat mark;
    mark.setBackground(QColor::fromRgb(kMarkBack));
    mark.setForeground(QColor::fromRgb(kMarkText));
    for (QTextCursor c = doc->find(query); !c.isNull(); c = doc->find(query, c))
        c.mergeCharFormat(mark);
}

QTextEdit* richPane(QWidget* parent, const char* name) {
    auto* pane = new QTextEdit(parent);
    pane->setObjectName(QLatin1String(name));
    pane->setReadOnly(true);
    pane->setFont(widgets::PixelFont(16));
    pane->document()->setDefaultFont(widgets::PixelFont(16));
    return pane;
}

widgets::EffectButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new widgets::EffectButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

}  // namespace

// ------------------------------------------------------------------ the search window

TFrmSearch::TFrmSearch(store::TDM1& dm, QWidget* parent) : widgets::ModalForm(parent), dm_(dm) {
    setObjectName(QStringLiteral("FrmSearch"));
    setWindowTitle(kTitle);
    setFont(widgets::PixelFont(12));

    lblTitle = new QLabel(kTitle, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setFont(widgets::PixelFont(20, true));
    lblTitle->setStyleSheet(QStringLiteral("color: #3f6a98;"));

    edFind = new QLineEdit(this);
    edFind->setObjectName(QStringLiteral("edFind"));
    edFind->setFont(widgets::PixelFont(16));
    edFind->setPlaceholderText(QStringLiteral("输入要查找的字词：题干、解析、考点和笔记都在其中"));
    edFind->setMaxLength(200);
    connect(edFind, &QLineEdit::returnPressed, this,
            [this] { widgets::RunGuarded([this] { btnFindClick(); }); });

    btnFind = button(this, "btnFind", QStringLiteral("搜索"));
    connect(btnFind, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { btnFindClick(); }); });

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setFont(widgets::PixelFont(14));
    lblStatus->setStyleSheet(QStringLiteral("color: #3f6a98;"));

    grdResult = new QTableWidget(this);
    grdResult->setObjectName(QStringLiteral("grdResult"));
    grdResult->setColumnCount(3);
    grdResult->setHorizontalHeaderLabels(
        {QStringLiteral("试题编号"), QStringLiteral("找到的位置"), QStringLiteral("内容")});
    grdResult->setFont(widgets::PixelFont(14));
    grdResult->horizontalHeader()->setFont(widgets::PixelFont(14));
    grdResult->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdResult->horizontalHeader()->setHighlightSections(false);
    grdResult->horizontalHeader()->setStretchLastSection(true);
    grdResult->verticalHeader()->hide();
    grdResult->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdResult->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grdResult->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdResult->setSelectionMode(QAbstractItemView::SingleSelection);
    grdResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdResult->setWordWrap(false);
    connect(grdResult, &QTableWidget::cellDoubleClicked, this,
            [this] { widgets::RunGuarded([this] { btnOpenClick(); }); });

    btnOpen = button(this, "btnOpen", QStringLiteral("查看"));
    btnPractice = button(this, "btnPractice", QStringLiteral("练习"));
    btnClose = button(this, "btnClose", QStringLiteral("关闭"));
    connect(btnOpen, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { btnOpenClick(); }); });
    connect(btnPractice, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { btnPracticeClick(); }); });
    connect(btnClose, &QAbstractButton::clicked, this, &QWidget::close);
    btnOpen->setEnabled(false);
    btnPractice->setEnabled(false);
    FrmSearch = this;
}

TFrmSearch::~TFrmSearch() {
    if (FrmSearch == this) FrmSearch = nullptr;
}

void TFrmSearch::showEvent(QShowEvent* event) {
    widgets::ModalForm::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFrmSearch::FormShow() {
    applyLayout();
    widgets::SetNormalCursor();
    edFind->setFocus();
}

void TFrmSearch::applyLayout() {
    const bool compact = qb::ScreenMode == QLatin1String("800");
    const QSize size = compact ? kCompactSize : kLargeSize;
    const int w = size.width();
    const int h = size.height();
    setFixedSize(size);
    lblTitle->setGeometry(1, 1, w - 2, kTitleHeight);
    edFind->setGeometry(12, kTitleHeight + 12, w - 12 - 12 - 85, 26);
    btnFind->setGeometry(w - 12 - 75, kTitleHeight + 13, 75, 24);
    lblStatus->setGeometry(12, kTitleHeight + 44, w - 24, 22);
    const int gridTop = kTitleHeight + 70;
    const int buttonsTop = h - 36;
    grdResult->setGeometry(12, gridTop, w - 24, buttonsTop - gridTop - 10);
    grdResult->setColumnWidth(0, compact ? 170 : 190);
    grdResult->setColumnWidth(1, compact ? 110 : 130);
    int left = w - 12 - 3 * 75 - 2 * 10;
    for (widgets::EffectButton* b : {btnOpen, btnPractice, btnClose}) {
        b->setGeometry(left, buttonsTop, 75, 24);
        left += 85;
    }
    widgets::CentreOnDesktop(this);
    update();
}

bool TFrmSearch::ensureIndex() {
    if (index_ && index_->isOpen()) return true;
    index_ = std::make_unique<SearchIndex>(dm_.ADOCn1, IndexPathFor(dm_.ADOCn1.path()));
    widgets::SetBusyCursor();
    const auto normal = qScopeGuard([] { widgets::SetNormalCursor(); });
    try {
        index_->Open([this](int step, int total) {
            lblStatus->setText(
                QStringLiteral("正在建立搜索索引（%1/%2），请稍候……").arg(step).arg(total));
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    } catch (const std::exception& e) {
        qWarning("the search index %s cannot be made: %s", qUtf8Printable(index_->path()),
                 e.what());
        index_.reset();
        lblStatus->clear();
        widgets::ShowPromptBox(QStringLiteral("错误"),
                               QStringLiteral("无法建立搜索索引，请检查数据文件夹是否可写！"), 1,
                               QStringLiteral("NO"), widgets::kPictureError);
        return false;
    }
    return true;
}

void TFrmSearch::btnFindClick() {
    const QString text = edFind->text().trimmed();
    if (text.isEmpty()) {
        widgets::ShowPromptBox(kPrompt, QStringLiteral("请输入要查找的字词！"), 1,
                               QStringLiteral("NO"), widgets::kPictureWarning);
        edFind->setFocus();
        return;
    }
    runSearch(text);
}

void TFrmSearch::runSearch(const QString& text) {
    if (!ensureIndex()) return;
    result_ = index_->Search(text);
    fillGrid();
    if (result_.total == 0) {
        lblStatus->setText(QStringLiteral("没有找到含有“%1”的题目。").arg(result_.query));
    } else {
        QString status = QStringLiteral("找到 %1 道题").arg(result_.total);
        if (result_.questions.size() < result_.total)
            status += QStringLiteral("，列出前 %1 道").arg(result_.questions.size());
        if (result_.scanned) status += QStringLiteral("（不足三个字，逐条比对）");
        lblStatus->setText(status + QStringLiteral("。双击一行查看试题，“练习”做列出的全部题目。"));
    }
}

void TFrmSearch::fillGrid() {
    grdResult->clearContents();
    grdResult->setRowCount(static_cast<int>(result_.questions.size()));
    for (int r = 0; r < result_.questions.size(); ++r) {
        const Found& f = result_.questions[r];
        grdResult->setItem(r, 0, new QTableWidgetItem(f.questionId));
        grdResult->setItem(r, 1, new QTableWidgetItem(sourceNames(f.sources)));
        auto* snippet = new QLabel(snippetHtml(f.snippet));
        snippet->setTextFormat(Qt::RichText);
        snippet->setFont(widgets::PixelFont(14));
        snippet->setContentsMargins(3, 0, 3, 0);
        snippet->setAttribute(Qt::WA_TransparentForMouseEvents);
        grdResult->setCellWidget(r, 2, snippet);
    }
    const bool any = !result_.questions.isEmpty();
    if (any) grdResult->selectRow(0);
    btnOpen->setEnabled(any);
    btnPractice->setEnabled(any);
}

void TFrmSearch::btnOpenClick() {
    const int row = grdResult->currentRow();
    if (row < 0 || row >= result_.questions.size()) return;
    const std::optional<QuestionView> question =
        LoadQuestionView(dm_.ADOCn1, result_.questions[row].questionId);
    if (!question) {
        widgets::ShowPromptBox(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1,
                               QStringLiteral("NO"), widgets::kPictureError);
        return;
    }
    TFrmSearchView view(*question, result_.query, this);
    view.exec();
}

void TFrmSearch::btnPracticeClick() {
    if (result_.questions.isEmpty()) return;
    QStringList ids;
    for (const Found& f : result_.questions)
        ids << f.questionId;
    qb::PracticeSql = PracticeSqlFor(ids);
    // Whatever the practice meets, the search comes back.
    const bool started = widgets::RunAside(this, [](const auto& beforeShow) {
        return practice::RunChapterPractice(kPracticeCaption, beforeShow);
    });
    if (!started) {
        widgets::ShowPromptBox(kPrompt, QStringLiteral("找到的题目都已作废，没有可练习的题目！"), 1,
                               QStringLiteral("NO"), widgets::kPictureWarning);
        return;
    }
    // Notes written while practising are found from now on.
    const int row = grdResult->currentRow();
    runSearch(result_.query);
    if (row >= 0 && row < grdResult->rowCount()) grdResult->selectRow(row);
}

void TFrmSearch::paintEvent(QPaintEvent*) {
    widgets::PaintStripWindow(this, kTitleHeight);
}

// ------------------------------------------------------------------ one question

TFrmSearchView::TFrmSearchView(const QuestionView& q, const QString& query, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FrmSearchView"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("查看试题"));
    setFixedSize(kSize);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(widgets::skin::kPanel));
    setPalette(pal);
    setFont(widgets::PixelFont(14));

    lblHead = new QLabel(this);
    lblHead->setObjectName(QStringLiteral("lblHead"));
    lblHead->setFont(widgets::PixelFont(14, true));
    QString head = QStringLiteral("试题 %1　章节：%2").arg(q.id, q.chapter);
    if (q.discarded) head += QStringLiteral("　（本题已被您作废）");
    lblHead->setText(head);

    Re1 = richPane(this, "Re1");
    Re2 = richPane(this, "Re2");
    Re3 = richPane(this, "Re3");
    richtext::read(q.sharedStem, Re1->document());
    richtext::read(q.stem, Re2->document());
    if (q.explanation.isEmpty())
        Re3->setPlainText(QStringLiteral("本题没有解析。"));
    else
        richtext::read(q.explanation, Re3->document());

    lblAnswer = new QLabel(this);
    lblAnswer->setObjectName(QStringLiteral("lblAnswer"));
    lblAnswer->setTextFormat(Qt::RichText);
    const QString last = q.lastAnswer.isEmpty()                  ? QStringLiteral("未做过")
                         : q.lastAnswer == QLatin1String("zero") ? QStringLiteral("已作废")
                                                                 : q.lastAnswer;
    lblAnswer->setText(
        QStringLiteral("正确答案：<b><font color=\"#008000\">%1</font></b>"
                       "&nbsp;&nbsp;&nbsp;&nbsp;上次的答案：%2&nbsp;&nbsp;&nbsp;&nbsp;考点：%3")
            .arg(q.key.toHtmlEscaped(), last.toHtmlEscaped(),
                 q.points.isEmpty() ? QStringLiteral("无") : q.points.join(u'、').toHtmlEscaped()));

    Re4 = richPane(this, "Re4");
    Re4->setFont(widgets::PixelFont(14));
    Re4->setPlainText(q.note.trimmed().isEmpty() ? QStringLiteral("无") : q.note);

    btnClose = button(this, "btnClose", QStringLiteral("关闭"));
    btnClose->setFixedSize(75, 24);
    connect(btnClose, &QAbstractButton::clicked, this, &QDialog::accept);

    // Top to bottom: shared stem (grouped questions only), stem, key line,
    // explanation, note, close; each text under its caption.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(3);
    layout->addWidget(lblHead);
    const auto caption = [this](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setFont(widgets::PixelFont(12, true));
        l->setStyleSheet(QStringLiteral("color: #3f6a98;"));
        return l;
    };
    const bool grouped = !q.sharedStem.isEmpty();
    if (grouped) {
        layout->addWidget(caption(QStringLiteral("共用题干")));
        layout->addWidget(Re1, 3);
    } else {
        Re1->hide();
    }
    layout->addWidget(caption(QStringLiteral("题干")));
    layout->addWidget(Re2, grouped ? 3 : 6);
    layout->addSpacing(4);
    layout->addWidget(lblAnswer);
    layout->addSpacing(4);
    layout->addWidget(caption(QStringLiteral("解析")));
    layout->addWidget(Re3, 3);
    layout->addWidget(caption(QStringLiteral("笔记")));
    layout->addWidget(Re4, 2);
    layout->addWidget(btnClose, 0, Qt::AlignRight);

    for (QTextEdit* pane : {Re1, Re2, Re3, Re4})
        markQuery(pane->document(), query);
}

}  // namespace search
