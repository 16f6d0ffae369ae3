#include "StudyCalendar.h"

#include "DataModule.h"
#include "Engine.h"

#include <algorithm>

namespace review {

StudyDays ReadStudyDays(store::Database& db) {
    StudyDays days;
    db.query(QStringLiteral("select A1,A2,A3,B1,B2,D1 from tab_rz"), {},
             [&days](store::Statement& s) {
                 // A log written by another tool may carry a time of day.
                 const QDate date = QDate::fromString(s.value(0).toString().left(10), Qt::ISODate);
                 if (!date.isValid()) return;
                 StudyDay& d = days[date];
                 d.day = date;
                 d.answers += s.value(1).toInt();
                 d.wrongAnswers += s.value(2).toInt();
                 d.questions += s.value(3).toInt();
                 d.wrongQuestions += s.value(4).toInt();
                 try {
                     d.seconds += store::ParseDuration(s.value(5).toString());
                 } catch (const store::ConversionError&) {
                     // A damaged time counts as none; the answers still tell the day.
                 }
             });
    return days;
}

bool IsStudyDay(const StudyDay& day) {
    return day.answers > 0;
}

Streaks ComputeStreaks(const StudyDays& days, const QDate& today) {
    Streaks s;
    int run = 0;
    QDate previous;
    for (auto it = days.begin(); it != days.end(); ++it) {
        if (!IsStudyDay(it.value()) || it.key() > today) continue;
        // Dates, not row positions: a day without a row and a day with no answer
        // both break the run, the end of a month does not.
        run = previous.isValid() && previous.daysTo(it.key()) == 1 ? run + 1 : 1;
        previous = it.key();
        s.longest = std::max(s.longest, run);
    }
    if (previous.isValid() && previous.daysTo(today) <= 1) s.current = run;
    return s;
}

DailyPlan ReadDailyPlan(store::Database& db) {
    DailyPlan plan;
    bool found = false;
    db.query(QStringLiteral("select PlanMark,PlanAmount,PlanTime from tab_plan limit 1"), {},
             [&](store::Statement& s) {
                 found = true;
                 plan.planMark = s.value(0).toInt();
                 plan.planAmount = s.value(1).toInt();
                 plan.planTime = s.value(2).toInt();
             });
    if (!found) plan = DailyPlan{0, 50, 60};
    return plan;
}

bool MetPlan(const StudyDay& day, const DailyPlan& plan) {
    if (!IsStudyDay(day)) return false;
    switch (plan.planMark) {
        case 0:
            return day.answers >= plan.planAmount;
        case 1:
            return day.seconds / 60 >= plan.planTime;
        default:
            return false;
    }
}

int HeatLevel(const StudyDay& day, const DailyPlan& plan) {
    if (!IsStudyDay(day)) return 0;
    const int step = plan.planMark == 0 && plan.planAmount > 0 ? (plan.planAmount + 3) / 4 : 15;
    return std::clamp(1 + (day.answers - 1) / std::max(1, step), 1, 4);
}

QString DayFiguresText(const QDate& date, const StudyDays& days, const DailyPlan& plan) {
    const QString head = date.toString(QStringLiteral("yyyy年M月d日"));
    const auto it = days.find(date);
    if (it == days.end() || !IsStudyDay(it.value())) return head + QStringLiteral("\n没有答题");
    const StudyDay& d = it.value();
    return head + QStringLiteral(
                      "\n做过道次：%1\n做错道次：%2\n做过题数：%3\n做错题数：%4\n总用时：%5\n%6")
                      .arg(d.answers)
                      .arg(d.wrongAnswers)
                      .arg(d.questions)
                      .arg(d.wrongQuestions)
                      .arg(store::FormatDuration(d.seconds),
                           MetPlan(d, plan) ? QStringLiteral("已完成学习计划")
                                            : QStringLiteral("未完成学习计划"));
}

}  // namespace review
