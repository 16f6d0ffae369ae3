// The study-calendar window (学习日历): the twelve months of a year with each day
// coloured by the answers given, the days that met the plan ringed, the streaks, and
// the figures of the day under the mouse.
#pragma once

#include "StudyCalendar.h"
#include "WindowLook.h"

#include <QWidget>

class QLabel;

namespace store {
class TDM1;
}
namespace widgets {
class EffectButton;
}

namespace review {

// The painted year. Knows nothing of the bank: it is given the days and the plan.
class CalendarYearView : public QWidget {
    Q_OBJECT
  public:
    explicit CalendarYearView(QWidget* parent = nullptr);
    void setYear(int year, const StudyDays* days, const DailyPlan& plan, const QDate& today);
    int year() const { return year_; }
    // The day drawn at a point, or an invalid date.
    QDate dayAt(const QPoint& pos) const;
    QRect dayRect(const QDate& day) const;

    static QColor LevelColour(int level);

  signals:
    void dayHovered(const QDate& day);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QRect monthRect(int month) const;
    int cellSize() const;

    int year_ = 2000;
    const StudyDays* days_ = nullptr;
    DailyPlan plan_;
    QDate today_;
    QDate hovered_;
};

class TFrmCalendar : public aids::AidForm {
    Q_OBJECT
  public:
    static QSize LayoutSize(bool compact) { return compact ? QSize(780, 490) : QSize(923, 585); }

    explicit TFrmCalendar(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmCalendar() override;

    void showYear(int year);
    void showDay(const QDate& day);
    CalendarYearView* yearView() const { return yearView_; }

  protected:
    void FormShow() override;

  private:
    void layOut();

    store::TDM1& dm_;
    StudyDays days_;
    DailyPlan plan_;
    QDate today_;
    CalendarYearView* yearView_;
    QLabel* lbYear;
    QLabel* lbCurrent;
    QLabel* lbCurrentValue;
    QLabel* lbLongest;
    QLabel* lbLongestValue;
    QLabel* lbYearDays;
    QLabel* lbDay;
    widgets::EffectButton* btnPrevYear;
    widgets::EffectButton* btnNextYear;
    widgets::EffectButton* btnClose;
};

// The calendar window while it is open.
inline TFrmCalendar* FrmCalendar = nullptr;

}  // namespace review
