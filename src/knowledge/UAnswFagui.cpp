#include "UAnswFagui.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "Globals.h"
#include "Guard.h"
#include "ModalForm.h"
#include "RichText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

namespace knowledge {
namespace {

constexpr int kTopStrip = 33;
constexpr int kBottomStrip = 36;
const QColor kStripColor(214, 228, 243);

QWidget* strip(QWidget* parent, const char* name, int height) {
    auto* w = new QWidget(parent);
    w->setObjectName(QLatin1String(name));
    w->setFixedHeight(height);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, kStripColor);
    w->setPalette(pal);
    return w;
}

}  // namespace

TfrmAnswFagui::TfrmAnswFagui(store::TDM1& dm, QWidget* opener) : QDialog(opener), points_(dm) {
    setObjectName(QStringLiteral("frmAnswFagui"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("相关考点"));
    setFont(widgets::PixelFont(14));

    epPanelTop = strip(this, "epPanelTop", kTopStrip);
    epLabel1 = new QLabel(QStringLiteral("考点："), epPanelTop);
    epLabel1->setObjectName(QStringLiteral("epLabel1"));
    epLabel1->setFont(widgets::PixelFont(14, true));
    auto* top = new QHBoxLayout(epPanelTop);
    top->setContentsMargins(8, 0, 8, 0);
    top->addWidget(epLabel1);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    ListBox1 = new QListWidget(Splitter1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(widgets::PixelFont(16));
    // Long names wrap inside the narrow list of the compact layout instead of
    // running out of sight.
    ListBox1->setWordWrap(true);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setResizeMode(QListView::Adjust);
    ListBox1->setStyleSheet(QStringLiteral("QListWidget::item { padding: 1px 3px; }"));
    Re = new QTextEdit(Splitter1);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setFont(widgets::PixelFont(16));
    Re->document()->setDefaultFont(widgets::PixelFont(16));
    Re->setReadOnly(true);
    Splitter1->addWidget(ListBox1);
    Splitter1->addWidget(Re);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);

    epPanelBottom = strip(this, "epPanelBottom", kBottomStrip);
    epEfTrBtn1 = new widgets::EffectButton(QStringLiteral("关  闭"), epPanelBottom);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setFixedSize(75, 25);
    epEfTrBtn1->setCursor(Qt::PointingHandCursor);
    auto* bottom = new QHBoxLayout(epPanelBottom);
    bottom->setContentsMargins(0, 7, 15, 4);
    bottom->addStretch(1);
    bottom->addWidget(epEfTrBtn1, 0, Qt::AlignTop);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(epPanelTop);
    column->addWidget(Splitter1, 1);
    column->addWidget(epPanelBottom);

    connect(ListBox1, &QListWidget::currentRowChanged, this, &TfrmAnswFagui::ListBox1Click);
    connect(epEfTrBtn1, &QAbstractButton::clicked, this, &TfrmAnswFagui::epEfTrBtn1Click);
    // Laid out for the screen mode before showing, so that the window is centred
    // at its final size.
    ApplyLayout(qb::ScreenMode == QLatin1String("800"));
    frmAnswFagui = this;
}

TfrmAnswFagui::~TfrmAnswFagui() {
    if (frmAnswFagui == this) frmAnswFagui = nullptr;
}

bool TfrmAnswFagui::LoadQuestionPoints(const QString& questionId) {
    return points_.LoadQuestionPoints(questionId);
}

bool TfrmAnswFagui::Open(store::TDM1& dm, const QString& questionId, QWidget* opener) {
    TfrmAnswFagui window(dm, opener);
    if (!window.LoadQuestionPoints(questionId)) return false;
    window.exec();
    return true;
}

void TfrmAnswFagui::ApplyLayout(bool compact) {
    const QSize size = compact ? kCompactSize : kLargeSize;
    resize(size);
    Splitter1->setHandleWidth(compact ? 3 : 5);
    // The list keeps its width; the text takes the rest.
    const int list = compact ? 185 : 401;
    layout()->activate();
    Splitter1->setSizes({list, size.width() - list - Splitter1->handleWidth()});
}

void TfrmAnswFagui::showEvent(QShowEvent* event) {
    widgets::RunGuarded([this] { FormShow(); });
    QDialog::showEvent(event);
}

void TfrmAnswFagui::FormShow() {
    ApplyLayout(qb::ScreenMode == QLatin1String("800"));
    points_.Open();
    const QSignalBlocker quiet(ListBox1);
    ListBox1->clear();
    ListBox1->addItems(points_.names());
    if (ListBox1->count() > 0) ListBox1->setCurrentRow(0);
    ShowCurrent();
}

void TfrmAnswFagui::ListBox1Click(int row) {
    if (!points_.isOpen()) return;
    points_.Select(row);
    ShowCurrent();
}

void TfrmAnswFagui::ShowCurrent() {
    epLabel1->setText(points_.chapterName());
    richtext::read(points_.text(), Re->document());
}

void TfrmAnswFagui::epEfTrBtn1Click() {
    accept();
}

void TfrmAnswFagui::done(int result) {
    // The practice and exam windows may have hidden themselves meanwhile; the
    // close box and Escape bring them back as the button does.
    if (QWidget* opener = parentWidget(); opener != nullptr && !opener->isVisible()) opener->show();
    QDialog::done(result);
}

}  // namespace knowledge
