// The study plan: a daily target (answers or minutes) and the date of the real
// examination with its countdown. One row of tab_plan, read and written through
// the data module's shared Cn1Table_plan, which the quit check reads too.
#pragma once

#include <QColor>
#include <QDate>
#include <QString>

#include <optional>

namespace store {
class Table;
}

namespace aids {

// What the countdown line shows for an exam date.
struct Countdown {
    QString lead;           // epLabel1
    QString days;           // Label1: the days left, at most "999"
    bool showDays = false;  // Label1 and epLabel2 ("天")
    QColor colour;          // of Label1
};

inline const QColor kCountdownFar(100, 203, 37);
inline const QColor kCountdownNear(255, 0, 0);

Countdown CountdownFor(const QDate& today, const QDate& exam);

// The exam date typed or picked into the date field; nothing when the text is not
// a date of the calendar. Accepts 2026-12-09 and 2026/12/9 alike.
std::optional<QDate> ParsePlanDate(const QString& text);
// How the date field and tab_plan hold a date.
QString PlanDateText(const QDate& date);

inline const QString kInvalidDateMessage = QStringLiteral("请输入正确的日期！");

struct PlanValues {
    int planMark = 0;  // 0 by answers, 1 by minutes
    QString planAmount;
    QString planTime;
    QString examDate;  // as stored; empty when none was set
};

// The first row of tab_plan, opening the table when needed.
PlanValues ReadPlan(store::Table& plan);

// Writes all four values to the first row and posts it. The amounts are the
// digits typed (empty counts as 0); the date must parse. Throws
// store::EngineError when the row cannot be written, leaving the table as it was.
void SavePlan(store::Table& plan, int planMark, const QString& amount, const QString& minutes,
              const QDate& examDate);

}  // namespace aids
