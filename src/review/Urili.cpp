#include "Urili.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "Globals.h"
#include "ModalForm.h"

#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace review {
namespace {

constexpr int kStrip = 34;
constexpr int kMonthTitle = 18;
constexpr int kGap = 10;
constexpr int kLegend = 22;

bool compactScreen() {
    return qb::ScreenMode == QLatin1String("800");
}

widgets::EffectButton* makeButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new widgets::EffectButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setFont(widgets::PixelFont(14));
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

const QString kMonthNames[12] = {
    QStringLiteral("一月"), QStringLiteral("二月"),   QStringLiteral("三月"),
    QStringLiteral("四月"), QStringLiteral("五月"),   QStringLiteral("六月"),
    QStringLiteral("七月"), QStringLiteral("八月"),   QStringLiteral("九月"),
    QStringLiteral("十月"), QStringLiteral("十一月"), QStringLiteral("十二月")};
const QString kWeekdays = QStringLiteral("一二三四五六日");
const QColor kPlanRing(236, 140, 20);

}  // namespace

// ------------------------------------------------------------------ the year

CalendarYearView::CalendarYearView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CalendarYearView"));
    setMouseTracking(true);
}

void CalendarYearView::setYear(int year, const StudyDays* days, const DailyPlan& plan,
                               const QDate& today) {
    year_ = year;
    days_ = days;
    plan_ = plan;
    today_ = today;
    update();
}

QColor CalendarYearView::LevelColour(int level) {
    static const QColor colours[5] = {QColor(228, 232, 238), QColor(190, 230, 180),
                                      QColor(123, 201, 111), QColor(57, 160, 67),
                                      QColor(25, 105, 40)};
    return colours[std::clamp(level, 0, 4)];
}

int CalendarYearView::cellSize() const {
    const int byWidth = (width() / 4 - kGap) / 7;
    const int byHeight = ((height() - kLegend) / 3 - kMonthTitle - kGap) / 7;
    return std::max(8, std::min(byWidth, byHeight));
}

QRect CalendarYearView::monthRect(int month) const {
    const int cell = cellSize();
    const int w = 7 * cell;
    const int h = kMonthTitle + 7 * cell;
    const int columnGap = (width() - 4 * w) / 4;
    const int rowGap = (height() - kLegend - 3 * h) / 3;
    const int col = (month - 1) % 4;
    const int row = (month - 1) / 4;
    return QRect(columnGap / 2 + col * (w + columnGap), rowGap / 2 + row * (h + rowGap), w, h);
}

QRect CalendarYearView::dayRect(const QDate& day) const {
    if (!day.isValid() || day.year() != year_) return {};
    const int cell = cellSize();
    const QRect m = monthRect(day.month());
    const int firstColumn = QDate(year_, day.month(), 1).dayOfWeek() - 1;  // Monday first
    const int index = firstColumn + day.day() - 1;
    return QRect(m.left() + (index % 7) * cell, m.top() + kMonthTitle + cell + (index / 7) * cell,
                 cell, cell);
}

QDate CalendarYearView::dayAt(const QPoint& pos) const {
    for (int month = 1; month <= 12; ++month) {
        if (!monthRect(month).contains(pos)) continue;
        const QDate first(year_, month, 1);
        for (QDate d = first; d.month() == month; d = d.addDays(1)) {
            if (dayRect(d).contains(pos)) return d;
        }
    }
    return {};
}

void CalendarYearView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int cell = cellSize();
    const QFont titleFont = widgets::PixelFont(13, true);
    const QFont smallFont = widgets::PixelFont(std::clamp(cell / 2, 9, 11));
    for (int month = 1; month <= 12; ++month) {
        const QRect m = monthRect(month);
        p.setFont(titleFont);
        p.setPen(QColor(30, 60, 100));
        p.drawText(QRect(m.left(), m.top(), m.width(), kMonthTitle), Qt::AlignLeft | Qt::AlignTop,
                   kMonthNames[month - 1]);
        p.setFont(smallFont);
        p.setPen(QColor(110, 120, 135));
        for (int i = 0; i < 7; ++i) {
            p.drawText(QRect(m.left() + i * cell, m.top() + kMonthTitle, cell, cell),
                       Qt::AlignCenter, kWeekdays.mid(i, 1));
        }
        for (QDate d(year_, month, 1); d.isValid() && d.month() == month; d = d.addDays(1)) {
            const QRect r = dayRect(d).adjusted(1, 1, -1, -1);
            StudyDay figures;
            if (days_ != nullptr) figures = days_->value(d);
            const int level = HeatLevel(figures, plan_);
            const bool future = today_.isValid() && d > today_;
            QColor fill = LevelColour(level);
            if (future) fill = QColor(244, 246, 249);
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawRoundedRect(r, 2, 2);
            if (MetPlan(figures, plan_)) {
                p.setPen(QPen(kPlanRing, 2));
                p.setBrush(Qt::NoBrush);
                p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 2, 2);
            }
            if (d == today_ || d == hovered_) {
                p.setPen(QPen(d == hovered_ ? QColor(30, 90, 200) : QColor(20, 20, 20), 1.5));
                p.setBrush(Qt::NoBrush);
                p.drawRoundedRect(r, 2, 2);
            }
            if (cell >= 16) {
                p.setPen(level >= 3 ? Qt::white : QColor(70, 80, 95));
                p.drawText(r, Qt::AlignCenter, QString::number(d.day()));
            }
        }
    }
    // Legend along the bottom.
    const int y = height() - kLegend + 4;
    int x = monthRect(1).left();
    p.setFont(widgets::PixelFont(12));
    p.setPen(QColor(70, 80, 95));
    p.drawText(QRect(x, y, 24, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("少"));
    x += 20;
    for (int level = 0; level <= 4; ++level) {
        p.setPen(Qt::NoPen);
        p.setBrush(LevelColour(level));
        p.drawRoundedRect(QRect(x, y, 14, 14), 2, 2);
        x += 18;
    }
    p.setPen(QColor(70, 80, 95));
    p.drawText(QRect(x + 2, y, 24, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("多"));
    x += 40;
    p.setPen(QPen(kPlanRing, 2));
    p.setBrush(LevelColour(2));
    p.drawRoundedRect(QRect(x, y, 14, 14), 2, 2);
    p.setPen(QColor(70, 80, 95));
    p.drawText(QRect(x + 20, y - 2, 120, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("完成学习计划"));
}

void CalendarYearView::mouseMoveEvent(QMouseEvent* event) {
    const QDate d = dayAt(event->position().toPoint());
    if (d != hovered_) {
        hovered_ = d;
        update();
        if (d.isValid()) emit dayHovered(d);
    }
}

void CalendarYearView::leaveEvent(QEvent*) {
    hovered_ = QDate();
    update();
}

bool CalendarYearView::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QDate d = dayAt(help->pos());
        if (d.isValid() && days_ != nullptr) {
            QToolTip::showText(help->globalPos(), DayFiguresText(d, *days_, plan_), this,
                               dayRect(d));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(e);
}

// ------------------------------------------------------------------ the window

TFrmCalendar::TFrmCalendar(store::TDM1& dm, QWidget* parent)
    : aids::AidForm(parent, kStrip), dm_(dm) {
    setObjectName(QStringLiteral("FrmCalendar"));
    setWindowTitle(QStringLiteral("学习日历"));
    setFont(widgets::PixelFont(14));

    yearView_ = new CalendarYearView(this);
    lbYear = aids::MakeLabel(this, "lbYear", QString(), 20, true);
    lbYear->setAlignment(Qt::AlignCenter);
    lbCurrent = aids::MakeLabel(this, "lbCurrent", QStringLiteral("当前连续学习"), 14);
    lbCurrentValue = aids::MakeLabel(this, "lbCurrentValue", QString(), 28, true);
    lbLongest = aids::MakeLabel(this, "lbLongest", QStringLiteral("最长连续学习"), 14);
    lbLongestValue = aids::MakeLabel(this, "lbLongestValue", QString(), 28, true);
    QPalette maroon = lbCurrentValue->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    lbCurrentValue->setPalette(maroon);
    lbLongestValue->setPalette(maroon);
    lbYearDays = aids::MakeLabel(this, "lbYearDays", QString(), 13);
    lbYearDays->setWordWrap(true);
    lbDay = aids::MakeLabel(this, "lbDay", QStringLiteral("把鼠标移到某一天上\n查看当天的学习情况"),
                            13);
    lbDay->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbDay->setWordWrap(true);
    lbDay->setAutoFillBackground(true);
    QPalette paper = lbDay->palette();
    paper.setColor(QPalette::Window, QColor(255, 255, 255, 200));
    lbDay->setPalette(paper);
    lbDay->setMargin(6);

    btnPrevYear = makeButton(this, "btnPrevYear", QStringLiteral("◀"));
    btnNextYear = makeButton(this, "btnNextYear", QStringLiteral("▶"));
    btnClose = makeButton(this, "btnClose", QStringLiteral("关闭"));
    connect(btnPrevYear, &QAbstractButton::clicked, this,
            [this] { showYear(yearView_->year() - 1); });
    connect(btnNextYear, &QAbstractButton::clicked, this,
            [this] { showYear(yearView_->year() + 1); });
    connect(btnClose, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(yearView_, &CalendarYearView::dayHovered, this, &TFrmCalendar::showDay);

    layOut();
    today_ = dm_.today();
    days_ = ReadStudyDays(dm_.ADOCn1);
    plan_ = ReadDailyPlan(dm_.ADOCn1);
    const Streaks streaks = ComputeStreaks(days_, today_);
    lbCurrentValue->setText(QStringLiteral("%1 天").arg(streaks.current));
    lbLongestValue->setText(QStringLiteral("%1 天").arg(streaks.longest));
    showYear(today_.year());
    FrmCalendar = this;
}

TFrmCalendar::~TFrmCalendar() {
    if (FrmCalendar == this) FrmCalendar = nullptr;
}

void TFrmCalendar::layOut() {
    const bool compact = compactScreen();
    const QSize size = LayoutSize(compact);
    setFixedSize(size);
    const int side = compact ? 180 : 210;
    const int sideX = size.width() - side - 14;
    yearView_->setGeometry(10, kStrip + 8, sideX - 20, size.height() - kStrip - 16);
    int y = kStrip + 16;
    btnPrevYear->setGeometry(sideX, y, 34, 30);
    lbYear->setGeometry(sideX + 38, y, side - 76, 30);
    btnNextYear->setGeometry(sideX + side - 34, y, 34, 30);
    y += 44;
    lbCurrent->setGeometry(sideX, y, side, 20);
    lbCurrentValue->setGeometry(sideX, y + 20, side, 36);
    y += compact ? 60 : 66;
    lbLongest->setGeometry(sideX, y, side, 20);
    lbLongestValue->setGeometry(sideX, y + 20, side, 36);
    y += compact ? 60 : 66;
    lbYearDays->setGeometry(sideX, y, side, 40);
    y += 48;
    const int closeTop = size.height() - 48;
    lbDay->setGeometry(sideX, y, side, closeTop - y - 12);
    btnClose->setGeometry(sideX + side - 85, closeTop, 85, 32);
}

void TFrmCalendar::showYear(int year) {
    yearView_->setYear(year, &days_, plan_, today_);
    lbYear->setText(QStringLiteral("%1 年").arg(year));
    int studied = 0;
    int met = 0;
    for (auto it = days_.begin(); it != days_.end(); ++it) {
        if (it.key().year() != year || !IsStudyDay(it.value())) continue;
        ++studied;
        if (MetPlan(it.value(), plan_)) ++met;
    }
    lbYearDays->setText(QStringLiteral("本年学习 %1 天\n完成计划 %2 天").arg(studied).arg(met));
    // Nothing lies ahead of this year in the log.
    btnNextYear->setEnabled(year < today_.year());
}

void TFrmCalendar::showDay(const QDate& day) {
    lbDay->setText(DayFiguresText(day, days_, plan_));
}

void TFrmCalendar::FormShow() {
    widgets::CentreOnDesktop(this);
}

}  // namespace review
