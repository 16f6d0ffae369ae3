#include "Urz.h"

#include "DataModule.h"
#include "FlatButton.h"
#include "Globals.h"
#include "ModalForm.h"
#include "StudyLog.h"
#include "WindowHooks.h"
#include "WindowLook.h"

#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>
#include <QTableWidget>

namespace aids {
namespace {

constexpr int kStrip = 34;
const QColor kMaroon(128, 0, 0);

bool compactScreen() {
    return qb::ScreenMode == QLatin1String("800");
}

QLabel* makeFigure(QWidget* parent, const char* name) {
    QLabel* label = MakeLabel(parent, name, QStringLiteral("0"), 29, true);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, kMaroon);
    label->setPalette(p);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

TFrmRz::TFrmRz(store::TDM1& dm, QWidget* parent) : AidForm(parent, kStrip), dm_(dm) {
    setObjectName(QStringLiteral("FrmRz"));
    setWindowTitle(QStringLiteral("日志"));
    setFont(widgets::PixelFont(14));

    DBGrid1 = new QTableWidget(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setFont(widgets::PixelFont(16));
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setFont(widgets::PixelFont(14));

    Label1 = MakeLabel(this, "Label1", QStringLiteral("已做习题\r\n（道次）"), 14);
    Label2 = MakeLabel(this, "Label2", QStringLiteral("做错习题\r\n（道次）"), 14);
    Label3 = MakeLabel(this, "Label3", QStringLiteral("综合成绩"), 14);
    for (QLabel* l : {Label1, Label2, Label3})
        l->setAlignment(Qt::AlignCenter);
    LabelD1 = makeFigure(this, "LabelD1");
    LabelD2 = makeFigure(this, "LabelD2");
    LabelRate = makeFigure(this, "LabelRate");

    SpeedButton1 = new widgets::FlatButton(QStringLiteral("设置"), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setEnabled(widgets::HasSystemSettings());
    SpeedButton3 = new widgets::FlatButton(QStringLiteral("关闭"), this);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    for (widgets::FlatButton* b : {SpeedButton1, SpeedButton3})
        b->setCursor(Qt::PointingHandCursor);
    connect(SpeedButton1, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { SpeedButton1Click(); }); });
    connect(SpeedButton3, &QAbstractButton::clicked, this, &QDialog::accept);

    FormCreate();
    FrmRz = this;
}

TFrmRz::~TFrmRz() {
    if (FrmRz == this) FrmRz = nullptr;
}

void TFrmRz::FormCreate() {
    store::Table& log = dm_.Cn1Table_rz;
    // Read afresh: the totals below come from the file, and the grid must agree.
    if (log.isActive()) log.requery();
    store::TDM1::ensureOpen(log);
    log.setSort(QStringLiteral("A1 DESC"));
    fillGrid();
    const LogTotals totals = ReadLogTotals(dm_);
    LabelD1->setText(QString::number(totals.attempts));
    LabelD2->setText(QString::number(totals.wrongAttempts));
    LabelRate->setText(totals.rate);
}

void TFrmRz::fillGrid() {
    const QVector<LogColumn> columns = LogColumns(compactScreen());
    store::Table& log = dm_.Cn1Table_rz;
    DBGrid1->setColumnCount(columns.size());
    DBGrid1->setRowCount(log.recordCount());
    for (int c = 0; c < columns.size(); ++c) {
        DBGrid1->setHorizontalHeaderItem(c, new QTableWidgetItem(columns[c].title));
        DBGrid1->setColumnWidth(c, columns[c].width);
    }
    int row = 0;
    for (log.first(); !log.eof(); log.next(), ++row) {
        for (int c = 0; c < columns.size(); ++c) {
            QString text = log.text(columns[c].field);
            if (c == 0) text = text.left(10);  // the day, without a time of day
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignVCenter |
                                   (columns[c].rightAligned ? Qt::AlignRight : Qt::AlignLeft));
            DBGrid1->setItem(row, c, item);
        }
    }
    log.first();
    if (row > 0) DBGrid1->selectRow(0);
}

void TFrmRz::FormShow() {
    const bool compact = compactScreen();
    const QSize size = LayoutSize(compact);
    setFixedSize(size);
    if (compact) {
        DBGrid1->setGeometry(16, kStrip + 10, 612, size.height() - kStrip - 76);
        const int x = 640;
        const int w = size.width() - x - 12;
        Label1->setGeometry(x, 90, w, 40);
        LabelD1->setGeometry(x, 128, w, 34);
        Label2->setGeometry(x, 180, w, 40);
        LabelD2->setGeometry(x, 218, w, 34);
        Label3->setGeometry(x, 270, w, 24);
        LabelRate->setGeometry(x, 296, w, 34);
        SpeedButton1->setGeometry(440, size.height() - 52, 85, 36);
        SpeedButton3->setGeometry(531, size.height() - 52, 85, 36);
    } else {
        DBGrid1->setGeometry(20, 53, 773, 474);
        Label1->setGeometry(812, 157 - 4, 104, 40);
        Label2->setGeometry(812, 243 - 4, 104, 40);
        Label3->setGeometry(812, 326, 104, 20);
        LabelD1->setGeometry(812, 195, 104, 34);
        LabelD2->setGeometry(812, 276, 104, 34);
        LabelRate->setGeometry(812, 346, 104, 34);
        SpeedButton1->setGeometry(585, 541, 85, 36);
        SpeedButton3->setGeometry(676, 541, 85, 36);
    }
    const QVector<LogColumn> columns = LogColumns(compact);
    for (int c = 0; c < columns.size(); ++c)
        DBGrid1->setColumnWidth(c, columns[c].width);
    widgets::CentreOnDesktop(this);
}

void TFrmRz::SpeedButton1Click() {
    qb::ConfigMode = 0;
    widgets::RunSystemSettings(this);
}

void TFrmRz::FormClose() {
    // The next user of the shared table gets it in its own order.
    dm_.Cn1Table_rz.close();
    dm_.Cn1Table_rz.setSort(QString());
}

}  // namespace aids
