// The study calendar (学习日历): the days of the study log (tab_rz) as a year of
// coloured days, the current and the longest streak of study days, and which days
// met the daily plan.
#pragma once

#include <QDate>
#include <QMap>
#include <QString>

namespace store {
class Database;
}

namespace review {

// One day of the log.
struct StudyDay {
    QDate day;
    int answers = 0;         // A2, 做过道次
    int wrongAnswers = 0;    // A3, 做错道次
    int questions = 0;       // B1, 做过题数
    int wrongQuestions = 0;  // B2, 做错题数
    qint64 seconds = 0;      // D1, study time
};

using StudyDays = QMap<QDate, StudyDay>;

// Every day of the log; rows whose day cannot be read are left out, two rows of one
// day (a log written by another tool) are added together.
StudyDays ReadStudyDays(store::Database& db);

// A day counts for a streak when at least one answer was given on it.
bool IsStudyDay(const StudyDay& day);

struct Streaks {
    int current = 0;  // study days in a row up to today, or up to yesterday while
                      // today has no answer yet (the day is not over)
    int longest = 0;
};

Streaks ComputeStreaks(const StudyDays& days, const QDate& today);

// The daily plan as tab_plan holds it.
struct DailyPlan {
    int planMark = 0;  // 0 answers, 1 minutes
    int planAmount = 0;
    int planTime = 0;
};

// The plan of the bank's first tab_plan row; the default plan when there is none.
DailyPlan ReadDailyPlan(store::Database& db);

// Whether a day reached the plan. tab_plan keeps no history: every day is judged
// against the plan in force now, as the quit check judges today.
bool MetPlan(const StudyDay& day, const DailyPlan& plan);

// Colour step of a day, 0 (no answer) to 4: a quarter of the planned answers each
// when the plan counts answers, else steps of 15 answers.
int HeatLevel(const StudyDay& day, const DailyPlan& plan);

// What hovering a day shows.
QString DayFiguresText(const QDate& date, const StudyDays& days, const DailyPlan& plan);

}  // namespace review
