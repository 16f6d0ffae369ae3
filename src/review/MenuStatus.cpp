#include "MenuStatus.h"

#include "DataModule.h"
#include "Engine.h"
#include "StudyCalendar.h"
#include "StudyPlan.h"

namespace review {

QString CountdownLine(const QDate& today, const std::optional<QDate>& exam) {
    if (!exam) return {};
    const aids::Countdown c = aids::CountdownFor(today, *exam);
    return c.showDays ? c.lead + u' ' + c.days + QStringLiteral(" 天") : c.lead;
}

QString TodayLine(const DailyPlan& plan, int answersToday, int minutesToday) {
    QString line;
    bool met = false;
    switch (plan.planMark) {
        case 0:
            line = QStringLiteral("今日已做 %1 / %2 道题").arg(answersToday).arg(plan.planAmount);
            met = answersToday >= plan.planAmount;
            break;
        case 1:
            line = QStringLiteral("今日已学 %1 / %2 分钟").arg(minutesToday).arg(plan.planTime);
            met = minutesToday >= plan.planTime;
            break;
        default:
            return QStringLiteral("今日已做 %1 道题").arg(answersToday);
    }
    return met ? line + QStringLiteral("，计划已完成") : line;
}

MenuStatus ReadMenuStatus(store::Database& db, const QDate& today) {
    MenuStatus status;
    const std::optional<QDate> exam = aids::ParsePlanDate(
        db.scalar(QStringLiteral("select ExamDate from tab_plan limit 1")).toString());
    status.countdown = CountdownLine(today, exam);
    // Today's row, also when another tool wrote the day with a time.
    int answers = 0;
    qint64 seconds = 0;
    db.query(QStringLiteral("select A2,D1 from tab_rz where A1>=? and A1<?"),
             {{{}, today.toString(Qt::ISODate)}, {{}, today.addDays(1).toString(Qt::ISODate)}},
             [&](store::Statement& s) {
                 answers += s.value(0).toInt();
                 try {
                     seconds += store::ParseDuration(s.value(1).toString());
                 } catch (const store::ConversionError&) {
                 }
             });
    status.today = TodayLine(ReadDailyPlan(db), answers, static_cast<int>(seconds / 60));
    return status;
}

}  // namespace review
