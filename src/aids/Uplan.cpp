#include "Uplan.h"

#include "DataModule.h"
#include "FlatButton.h"
#include "ModalForm.h"
#include "Prompt.h"
#include "StudyPlan.h"
#include "WindowLook.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>

namespace aids {
namespace {

constexpr int kStrip = 30;
const QString kSet = QStringLiteral("设定");
const QString kSave = QStringLiteral("保存");

const QString kByAnswers =
    QStringLiteral("按作题数量制定学习计划      每天                   道题");
const QString kByMinutes =
    QStringLiteral("按作题时间制定学习计划      每天                   分钟");

QLineEdit* makeNumberField(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(3);
    e->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), e));
    e->setAlignment(Qt::AlignCenter);
    return e;
}

// The blank of a radio item's text where its number field lies, in the item's
// coordinates.
QRect blankOf(const QRadioButton* item) {
    const QString text = item->text();
    const int start = text.indexOf(QStringLiteral("每天")) + 2;
    int end = start;
    while (end < text.size() && text[end] == QLatin1Char(' '))
        ++end;
    QStyleOptionButton option;
    option.initFrom(item);
    const int indicator = item->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option) +
                          item->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option);
    const QFontMetrics fm(item->font());
    const int left = indicator + fm.horizontalAdvance(text.left(start));
    const int width = fm.horizontalAdvance(text.mid(start, end - start));
    return {left, 0, width, item->height()};
}

}  // namespace

TFrmplan::TFrmplan(store::TDM1& dm, QWidget* parent) : AidForm(parent, kStrip), dm_(dm) {
    setObjectName(QStringLiteral("Frmplan"));
    setWindowTitle(QStringLiteral("学习计划"));
    setFixedSize(kSize);
    setFont(widgets::PixelFont(14));

    epLabel1 = MakeLabel(this, "epLabel1", QStringLiteral("距离考试还有"), 22, true);
    epLabel1->setGeometry(36, kStrip + 18, 170, 40);
    epLabel1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1 = MakeLabel(this, "Label1", QString(), 47, true);
    QFont big = Label1->font();
    big.setItalic(true);
    Label1->setFont(big);
    Label1->setGeometry(212, kStrip + 6, 120, 62);
    Label1->setAlignment(Qt::AlignCenter);
    epLabel2 = MakeLabel(this, "epLabel2", QStringLiteral("天"), 22, true);
    epLabel2->setGeometry(338, kStrip + 18, 40, 40);

    Label2 = MakeLabel(this, "Label2", QStringLiteral("考试日："), 14);
    Label2->setGeometry(30, 108, 70, 24);
    DateEdit1 = new QLineEdit(this);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    DateEdit1->setToolTip(QStringLiteral("点击右侧按钮-->"));
    DateEdit1->setMaxLength(10);
    DateEdit1->setGeometry(100, 108, 110, 24);
    DateButton = new QToolButton(this);
    DateButton->setObjectName(QStringLiteral("DateButton"));
    DateButton->setText(QStringLiteral("…"));
    DateButton->setToolTip(QStringLiteral("点击设置日期"));
    DateButton->setGeometry(210, 108, 24, 24);
    connect(DateButton, &QToolButton::clicked, this, [this] { pickDate(); });

    SeSkinRadioGroup1 = new QGroupBox(QStringLiteral("学习计划"), this);
    SeSkinRadioGroup1->setObjectName(QStringLiteral("SeSkinRadioGroup1"));
    SeSkinRadioGroup1->setGeometry(12, 138, 436, 70);
    planKinds_ = new QButtonGroup(this);
    const QString texts[] = {kByAnswers, kByMinutes};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(texts[i], SeSkinRadioGroup1);
        item->setObjectName(QStringLiteral("SeSkinRadioGroup1Item%1").arg(i));
        item->setFont(widgets::PixelFont(13));
        item->setGeometry(8, 20 + i * 24, 424, 22);
        planKinds_->addButton(item, i);
    }
    // The fields lie over the items' blanks but belong to the window: the chosen
    // kind's field stays usable while the group is grey.
    suiNumberEdit1 = makeNumberField(this, "suiNumberEdit1");
    suiNumberEdit2 = makeNumberField(this, "suiNumberEdit2");
    for (int i = 0; i < 2; ++i) {
        QAbstractButton* item = planKinds_->button(i);
        const QRect blank = blankOf(static_cast<QRadioButton*>(item));
        const int w = 40;
        const QPoint at = SeSkinRadioGroup1->pos() + item->pos();
        (i == 0 ? suiNumberEdit1 : suiNumberEdit2)
            ->setGeometry(at.x() + blank.center().x() - w / 2, at.y(), w, item->height());
    }
    connect(planKinds_, &QButtonGroup::idClicked, this, [this](int id) { RadioGroupClick(id); });

    SpeedButton1 = new widgets::FlatButton(kSet, this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(290, 214, 70, 28);
    SpeedButton2 = new widgets::FlatButton(QStringLiteral("关闭"), this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(366, 214, 70, 28);
    for (widgets::FlatButton* b : {SpeedButton1, SpeedButton2})
        b->setCursor(Qt::PointingHandCursor);
    connect(SpeedButton1, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { SpeedButton1Click(); }); });
    connect(SpeedButton2, &QAbstractButton::clicked, this, &QDialog::accept);

    DateEdit1->setEnabled(false);
    DateButton->setEnabled(false);
    SeSkinRadioGroup1->setEnabled(false);
    Frmplan = this;
}

TFrmplan::~TFrmplan() {
    if (Frmplan == this) Frmplan = nullptr;
}

bool TFrmplan::isEditing() const {
    return SpeedButton1->text() == kSave;
}

void TFrmplan::FormShow() {
    const PlanValues plan = ReadPlan(dm_.Cn1Table_plan);
    suiNumberEdit1->setText(plan.planAmount);
    suiNumberEdit2->setText(plan.planTime);
    DateEdit1->setText(plan.examDate);
    const int item = plan.planMark == 1 ? 1 : 0;
    planKinds_->button(item)->setChecked(true);
    // The field of the kind not chosen stays grey even in view state.
    suiNumberEdit1->setEnabled(item == 0);
    suiNumberEdit2->setEnabled(item == 1);
    ShowCountdown();
}

bool TFrmplan::ShowCountdown() {
    const std::optional<QDate> exam = ParsePlanDate(DateEdit1->text());
    if (!exam) {
        // No exam day set yet: the line asks for one instead of counting.
        epLabel1->setText(QString());
        Label1->hide();
        epLabel2->hide();
        return false;
    }
    const Countdown c = CountdownFor(dm_.today(), *exam);
    epLabel1->setText(c.lead);
    // Without a number the words stand alone in the middle of the line.
    epLabel1->setGeometry(c.showDays ? QRect(36, kStrip + 18, 170, 40)
                                     : QRect(0, kStrip + 18, width(), 40));
    epLabel1->setAlignment((c.showDays ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter);
    Label1->setText(c.days);
    QPalette p = Label1->palette();
    p.setColor(QPalette::WindowText, c.colour);
    Label1->setPalette(p);
    Label1->setVisible(c.showDays);
    epLabel2->setVisible(c.showDays);
    return true;
}

void TFrmplan::enableNumberFields(int item) {
    suiNumberEdit1->setEnabled(item == 0);
    suiNumberEdit2->setEnabled(item == 1);
}

void TFrmplan::RadioGroupClick(int item) {
    enableNumberFields(item);
    (item == 0 ? suiNumberEdit1 : suiNumberEdit2)->setFocus();
}

void TFrmplan::SpeedButton1Click() {
    if (!isEditing()) {
        SpeedButton1->setText(kSave);
        DateEdit1->setEnabled(true);
        DateButton->setEnabled(true);
        SeSkinRadioGroup1->setEnabled(true);
        enableNumberFields(planKinds_->checkedId());
        return;
    }
    const std::optional<QDate> exam = ParsePlanDate(DateEdit1->text());
    if (!exam) {
        // Nothing is written and the edits stay for the user to put right.
        widgets::ShowPromptBox(QStringLiteral("提示"), kInvalidDateMessage, 1, QStringLiteral("NO"),
                               widgets::kPictureWarning);
        DateEdit1->setFocus();
        DateEdit1->selectAll();
        return;
    }
    SavePlan(dm_.Cn1Table_plan, planKinds_->checkedId(), suiNumberEdit1->text(),
             suiNumberEdit2->text(), *exam);
    SpeedButton1->setText(kSet);
    DateEdit1->setEnabled(false);
    DateButton->setEnabled(false);
    SeSkinRadioGroup1->setEnabled(false);
    DateEdit1->setText(PlanDateText(*exam));
    ShowCountdown();
}

void TFrmplan::pickDate() {
    auto* calendar = new QCalendarWidget(this);
    calendar->setObjectName(QStringLiteral("DateEdit1Calendar"));
    calendar->setWindowFlags(Qt::Popup);
    calendar->setAttribute(Qt::WA_DeleteOnClose);
    calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    const std::optional<QDate> shown = ParsePlanDate(DateEdit1->text());
    calendar->setSelectedDate(shown ? *shown : dm_.today());
    connect(calendar, &QCalendarWidget::clicked, this, [this, calendar](QDate date) {
        DateEdit1->setText(PlanDateText(date));
        calendar->close();
    });
    calendar->move(DateEdit1->mapToGlobal(QPoint(0, DateEdit1->height())));
    calendar->show();
}

void TFrmplan::FormClose() {
    // Edits not saved are dropped: nothing is posted on the way out.
    if (dm_.Cn1Table_plan.state() != store::Dataset::State::Browse) dm_.Cn1Table_plan.cancel();
    dm_.Cn1Table_plan.close();
}

}  // namespace aids
