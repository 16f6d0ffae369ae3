// The two lines the menu shows under its title: the countdown to the real
// examination (tab_plan.ExamDate) and today's progress against the daily plan
// (today's tab_rz row), read afresh each time the menu comes back.
#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace store {
class Database;
}

namespace review {

struct DailyPlan;

// "距离考试还有 N 天" for a date ahead (N at most 999, as the plan window counts),
// "祝考试成功！" on the day, "考试已结束！" after it, nothing without a date.
QString CountdownLine(const QDate& today, const std::optional<QDate>& exam);

// "今日已做 12 / 50 道题" or "今日已学 20 / 60 分钟" by the plan's kind, with
// "，计划已完成" once the plan is reached; just the answers for an unknown kind.
QString TodayLine(const DailyPlan& plan, int answersToday, int minutesToday);

struct MenuStatus {
    QString countdown;
    QString today;
};

// Both lines from the bank for the day given.
MenuStatus ReadMenuStatus(store::Database& db, const QDate& today);

}  // namespace review
