#include "Ucheck.h"

#include "DataModule.h"
#include "ExamSettings.h"
#include "FlatButton.h"
#include "Globals.h"
#include "NumberDisplay.h"
#include "Prompt.h"
#include "Skin.h"
#include "Uexam.h"
#include "WindowHooks.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QTableWidget>

#include <cmath>
#include <memory>

namespace exam {
namespace {

namespace skin = widgets::skin;

const QString kTitle = QStringLiteral("查阅试卷");
constexpr int kTitleHeight = 30;

ProgressHook& checkProgress() {
    static ProgressHook installed;
    return installed;
}

void progressStep(const QString& text) {
    if (checkProgress().step) checkProgress().step(text);
}

void progressHide() {
    if (checkProgress().hide) checkProgress().hide();
}

widgets::FlatButton* makeArea(QWidget* parent, const char* name, const QString& text) {
    auto* b = new widgets::FlatButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

widgets::NumberDisplay* makeDisplay(QWidget* parent, const char* name) {
    auto* d = new widgets::NumberDisplay(parent);
    d->setObjectName(QLatin1String(name));
    d->setDigitCount(3);
    d->setNumber(0);
    return d;
}

bool compact() {
    return qb::ScreenMode == QLatin1String("800");
}

enum Column { kName, kScore, kTime, kTable };

}  // namespace

void setCheckProgressHook(ProgressHook hook) {
    checkProgress() = std::move(hook);
}

int AverageScore(const QVariant& average) {
    if (average.isNull() || !average.isValid()) return 0;
    bool ok = false;
    const double value = average.toDouble(&ok);
    if (!ok) return 0;
    // The default rounding mode sends halves to the even neighbour.
    return static_cast<int>(std::nearbyint(value));
}

TFrmCheck::TFrmCheck(store::TDM1& dm, QWidget* parent) : widgets::ModalForm(parent), dm_(dm) {
    setObjectName(QStringLiteral("FrmCheck"));
    setWindowTitle(kTitle);
    setFont(widgets::PixelFont(12));

    DBGrid1 = new QTableWidget(0, 4, this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("试卷名称"), QStringLiteral("成绩"), QStringLiteral("用时"), QString()});
    // The work table's name is kept in the row for review and delete, not shown.
    DBGrid1->setColumnHidden(kTable, true);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setVisible(false);

    LEDTimes = makeDisplay(this, "LEDTimes");
    LEDPassed = makeDisplay(this, "LEDPassed");
    LEDAverage = makeDisplay(this, "LEDAverage");
    LabelTip = new QLabel(this);
    LabelTip->setObjectName(QStringLiteral("LabelTip"));

    SettingsButton = makeArea(this, "SettingsButton", QStringLiteral("设置"));
    SettingsButton->setEnabled(widgets::HasSystemSettings());
    ReviewButton = makeArea(this, "ReviewButton", QStringLiteral("查阅"));
    CloseButton = makeArea(this, "CloseButton", QStringLiteral("关闭"));
    DeleteButton = makeArea(this, "DeleteButton", QStringLiteral("删除"));

    connect(ReviewButton, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { ReviewClick(); }); });
    connect(DBGrid1, &QTableWidget::cellDoubleClicked, this,
            [this] { widgets::RunGuarded([this] { ReviewClick(); }); });
    connect(DeleteButton, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { DeleteClick(); }); });
    connect(SettingsButton, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { SettingsClick(); }); });
    connect(CloseButton, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { CloseClick(); }); });
    layOut();
}

TFrmCheck::~TFrmCheck() = default;

void TFrmCheck::layOut() {
    const bool small = compact();
    setFixedSize(small ? kCompactSize : kLargeSize);
    const int wide = qb::ScreenMode == QLatin1String("1024");
    DBGrid1->setColumnWidth(kName, wide ? 388 : 310);
    DBGrid1->setColumnWidth(kScore, wide ? 80 : 65);
    DBGrid1->setColumnWidth(kTime, wide ? 80 : 65);

    // Scaled from the large layout so that both pictures keep their areas in place.
    const double f = small ? double(kCompactSize.width()) / kLargeSize.width() : 1.0;
    const auto at = [f](int x, int y, int w, int h) {
        return QRect(qRound(x * f), qRound(y * f), qRound(w * f), qRound(h * f));
    };
    DBGrid1->setGeometry(at(30, 60, 590, 470));
    LEDTimes->setGeometry(at(700, 90, 120, 48));
    LEDPassed->setGeometry(at(700, 190, 120, 48));
    LEDAverage->setGeometry(at(700, 290, 120, 48));
    LabelTip->setGeometry(at(30, 545, 590, 24));
    SettingsButton->setGeometry(at(650, 400, 120, 36));
    ReviewButton->setGeometry(at(790, 400, 120, 36));
    DeleteButton->setGeometry(at(650, 460, 120, 36));
    CloseButton->setGeometry(at(790, 460, 120, 36));
}

void TFrmCheck::showEvent(QShowEvent* event) {
    widgets::ModalForm::showEvent(event);
    if (event->spontaneous()) return;
    widgets::CentreOnDesktop(this);
    widgets::RunGuarded([this] { FormShow(); });
}

void TFrmCheck::FormShow() {
    layOut();
    widgets::SetBusyCursor();
    // Ends with the normal cursor, also the busy one the opener set for the
    // command: the window is ready to use from here on.
    struct Normal {
        ~Normal() { widgets::SetNormalCursor(); }
    } normal;
    LEDTimes->setNumber(0);
    LEDPassed->setNumber(0);
    LEDAverage->setNumber(0);

    store::Table& plan = dm_.Cn1Table_plan;
    store::TDM1::ensureOpen(plan);
    plan.first();
    LabelTip->setText(QStringLiteral("[提示]：成绩少于 ") + plan.text(QStringLiteral("LeastMark")) +
                      QStringLiteral(" 分的试卷，不被保留。"));

    store::Table& cj = dm_.Cn1Table_cj;
    // Papers are marked and written behind this dataset's back: read them afresh.
    if (cj.isActive())
        cj.requery();
    else
        cj.open();
    cj.setFiltered(false);
    cj.setSort(QStringLiteral("A3_1 DESC"));
    fillList();
    const int count = cj.recordCount();
    ReviewButton->setEnabled(count > 0);
    if (count > 0) LEDTimes->setNumber(count);

    cj.setFilter(QStringLiteral("A6 >=") + QString::number(PassMark(dm_.TypeScoreTotal())));
    cj.setFiltered(true);
    const int passed = cj.recordCount();
    if (passed > 0) LEDPassed->setNumber(passed);
    cj.setFiltered(false);
    cj.setFilter(QString());

    LEDAverage->setNumber(
        AverageScore(dm_.ADOCn1.scalar(QStringLiteral("select avg(A6) as avg_fs from tab_cj"))));
}

void TFrmCheck::fillList() {
    store::Table& cj = dm_.Cn1Table_cj;
    DBGrid1->setRowCount(0);
    DBGrid1->setRowCount(cj.recordCount());
    int row = 0;
    for (cj.first(); !cj.eof(); cj.next(), ++row) {
        const auto put = [this, row](int column, const QString& text) {
            DBGrid1->setItem(row, column, new QTableWidgetItem(text));
        };
        put(kName, cj.text(QStringLiteral("A3")));
        // An unmarked paper shows an empty score, a marked one its number.
        const QVariant score = cj.value(QStringLiteral("A6"));
        put(kScore, score.isNull() ? QString() : ShortDecimal(score.toDouble()));
        put(kTime, cj.text(QStringLiteral("D2")));
        put(kTable, cj.text(QStringLiteral("A1")));
    }
    if (DBGrid1->rowCount() > 0) DBGrid1->selectRow(0);
}

QString TFrmCheck::currentTable() const {
    const int row = DBGrid1->currentRow();
    if (row < 0 || row >= DBGrid1->rowCount() || DBGrid1->item(row, kTable) == nullptr) return {};
    return DBGrid1->item(row, kTable)->text();
}

void TFrmCheck::ReviewClick() {
    const QString table = currentTable();
    if (table.isEmpty()) return;
    progressStep(QStringLiteral("正在初始化数据..."));
    hide();
    store::Table& cj = dm_.Cn1Table_cj;
    store::TDM1::ensureOpen(cj);
    if (!cj.locate(QStringLiteral("A1"), table, Qt::CaseSensitive)) {
        progressHide();
        show();
        return;
    }
    const QString title = cj.text(QStringLiteral("A3"));
    const QString used = cj.text(QStringLiteral("D2"));
    const double score = cj.asDouble(QStringLiteral("A6"));
    progressStep(QStringLiteral("正在提取数据..."));
    {
        auto window = std::make_unique<TFrmExam>(dm_);
        FrmExam = window.get();
        if (window->picturesLoaded()) {
            window->PreparePaper(table, title, QStringLiteral("old"), score, used);
            if (window->OpenPaper()) {
                progressHide();
                window->exec();
            }
        }
        FrmExam = nullptr;
    }
    progressHide();
    show();
}

void TFrmCheck::DeleteClick() {
    const QString table = currentTable();
    if (table.isEmpty()) return;
    if (widgets::ShowMessage(QStringLiteral("提示"), QStringLiteral("即将删除试卷，要继续么？"),
                             widgets::MessageIcon::Question,
                             widgets::MessageButtons::OkCancel) != widgets::MessageResult::Ok) {
        return;
    }
    dm_.DropExamTable(table);
    // Also removes the row of a paper whose table was already gone.
    dm_.ADOCn1.execute(QStringLiteral("delete from tab_cj where A1=?"), {{{}, table}});
    dm_.Cn1Table_cj.requery();
    const int row = DBGrid1->currentRow();
    DBGrid1->removeRow(row);
    ReviewButton->setEnabled(DBGrid1->rowCount() > 0);
}

void TFrmCheck::SettingsClick() {
    // The system settings, in their music layout, as from the menu's "music".
    qb::ConfigMode = 0;
    widgets::RunSystemSettings(this);
}

void TFrmCheck::CloseClick() {
    close();
}

void TFrmCheck::FormClose() {
    store::Table& cj = dm_.Cn1Table_cj;
    cj.setFiltered(false);
    cj.setFilter(QString());
    if (cj.isActive()) cj.close();
    if (dm_.Cn1Query1.isActive()) dm_.Cn1Query1.close();
}

void TFrmCheck::closeQuery(bool& canClose) {
    widgets::RunGuarded([this] { FormClose(); });
    canClose = true;
}

void TFrmCheck::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient body(0, 0, 0, height());
    body.setColorAt(0, QColor::fromRgb(skin::kWindow));
    body.setColorAt(1, QColor::fromRgb(skin::kPanel));
    p.fillRect(rect(), body);

    const QRect strip(0, 0, width(), kTitleHeight);
    QLinearGradient title(0, 0, 0, kTitleHeight);
    title.setColorAt(0, QColor::fromRgb(skin::kDialogBack));
    title.setColorAt(1, QColor::fromRgb(skin::kDialogTitle));
    p.fillRect(strip, title);
    QFont titleFont = widgets::PixelFont(14);
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.setPen(Qt::white);
    p.drawText(strip.adjusted(12, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, kTitle);

    // The labels of the three figures belong to the background, as the areas' do.
    p.setFont(widgets::PixelFont(compact() ? 12 : 14));
    p.setPen(QColor::fromRgb(skin::kDialogTitle));
    const QStringList labels{QStringLiteral("考试次数"), QStringLiteral("及格次数"),
                             QStringLiteral("平均成绩")};
    const QList<widgets::NumberDisplay*> displays{LEDTimes, LEDPassed, LEDAverage};
    for (int i = 0; i < 3; ++i) {
        const QRect d = displays[i]->geometry();
        p.drawText(QRect(d.left(), d.top() - 24, d.width(), 22), Qt::AlignCenter, labels[i]);
    }
    p.setPen(QPen(QColor::fromRgb(skin::kDarkBorder), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace exam
