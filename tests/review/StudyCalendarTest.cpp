// The study calendar's streaks and plan marks from the log, and the menu's two lines.
#include "BankFixture.h"
#include "MenuStatus.h"
#include "StudyCalendar.h"

#include <QPair>
#include <QVector>

namespace {

class StudyCalendarTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
    }
    // Log rows: the day as stored (perhaps with a time), answers, study time.
    void log(const QString& day, int answers, const QString& time = QStringLiteral("00:10:00")) {
        dm->ADOCn1.execute(QStringLiteral("insert into tab_rz (A1,A2,A3,B1,B2,D1) values "
                                          "(?,?,0,?,0,?)"),
                           {{{}, day}, {{}, answers}, {{}, answers}, {{}, time}});
    }
    std::unique_ptr<store::TDM1> dm;
};

// Runs are counted on dates: month and year ends do not break them, a day without a
// row or without an answer does; today still open keeps yesterday's run.
TEST_F(StudyCalendarTest, StreaksFollowTheCalendarAcrossMonthEndsAndEmptyDays) {
    struct Case {
        const char* name;
        QVector<QPair<QString, int>> days;
        QDate today;
        int current, longest;
    };
    const Case cases[] = {
        {"empty log", {}, QDate(2026, 2, 2), 0, 0},
        {"January into February",
         {{"2026-01-30", 5}, {"2026-01-31 00:00:00", 3}, {"2026-02-01", 1}, {"2026-02-02", 9}},
         QDate(2026, 2, 2),
         4,
         4},
        {"year end", {{"2025-12-31", 2}, {"2026-01-01", 2}}, QDate(2026, 1, 1), 2, 2},
        {"February of a common year",
         {{"2026-02-27", 1}, {"2026-02-28", 1}, {"2026-03-01", 1}},
         QDate(2026, 3, 1),
         3,
         3},
        {"leap day missing", {{"2024-02-28", 1}, {"2024-03-01", 1}}, QDate(2024, 3, 1), 1, 1},
        {"a day with no answer",
         {{"2026-12-05", 3}, {"2026-12-06", 0}, {"2026-12-07", 2}},
         QDate(2026, 12, 7),
         1,
         1},
        {"a day without a row",
         {{"2026-12-01", 1}, {"2026-12-02", 1}, {"2026-12-04", 1}},
         QDate(2026, 12, 4),
         1,
         2},
        {"today not begun", {{"2026-12-07", 1}, {"2026-12-08", 1}}, QDate(2026, 12, 9), 2, 2},
        {"two days ago", {{"2026-12-06", 1}, {"2026-12-07", 1}}, QDate(2026, 12, 9), 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dm->ADOCn1.execute(QStringLiteral("delete from tab_rz"));
        for (const auto& [day, answers] : c.days)
            log(day, answers);
        const review::Streaks s =
            review::ComputeStreaks(review::ReadStudyDays(dm->ADOCn1), c.today);
        EXPECT_EQ(s.current, c.current);
        EXPECT_EQ(s.longest, c.longest);
    }
}

TEST_F(StudyCalendarTest, ADayMeetsThePlanByAnswersOrByMinutes) {
    struct Case {
        review::DailyPlan plan;
        int answers;
        qint64 seconds;
        bool met;
    };
    const Case cases[] = {
        {{0, 50, 60}, 50, 0, true},           {{0, 50, 60}, 49, 99999, false},
        {{1, 50, 30}, 1, 30 * 60 + 59, true}, {{1, 50, 30}, 200, 29 * 60 + 59, false},
        {{1, 50, 0}, 0, 3600, false},         {{7, 0, 0}, 100, 3600, false},
    };
    for (const Case& c : cases) {
        review::StudyDay day;
        day.answers = c.answers;
        day.seconds = c.seconds;
        EXPECT_EQ(review::MetPlan(day, c.plan), c.met) << c.plan.planMark << " " << c.answers;
    }
}

TEST_F(StudyCalendarTest, CountdownLineForPastTodayAndFutureExamDates) {
    const QDate today(2026, 12, 9);
    struct Case {
        std::optional<QDate> exam;
        QString line;
    };
    const Case cases[] = {
        {std::nullopt, QString()},
        {QDate(2026, 12, 8), QStringLiteral("考试已结束！")},
        {today, QStringLiteral("祝考试成功！")},
        {QDate(2026, 12, 10), QStringLiteral("距离考试还有 1 天")},
        {QDate(2027, 1, 1), QStringLiteral("距离考试还有 23 天")},
        {today.addDays(1500), QStringLiteral("距离考试还有 999 天")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(review::CountdownLine(today, c.exam), c.line);
}

TEST_F(StudyCalendarTest, TodayLineCountsAgainstThePlanOfItsKind) {
    struct Case {
        review::DailyPlan plan;
        int answers, minutes;
        QString line;
    };
    const Case cases[] = {
        {{0, 50, 60}, 12, 90, QStringLiteral("今日已做 12 / 50 道题")},
        {{0, 50, 60}, 50, 0, QStringLiteral("今日已做 50 / 50 道题，计划已完成")},
        {{1, 50, 60}, 80, 20, QStringLiteral("今日已学 20 / 60 分钟")},
        {{1, 50, 60}, 0, 61, QStringLiteral("今日已学 61 / 60 分钟，计划已完成")},
        {{3, 50, 60}, 7, 0, QStringLiteral("今日已做 7 道题")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(review::TodayLine(c.plan, c.answers, c.minutes), c.line);
}

// The lines from the bank: the exam date as the plan window stores it, today's row
// also when it carries a time, minutes cut down as the quit check cuts them.
TEST_F(StudyCalendarTest, MenuStatusReadsThePlanAndTodaysRow) {
    dm->ADOCn1.execute(
        QStringLiteral("update tab_plan set PlanMark=1, PlanTime=30, "
                       "ExamDate='2026-12-19'"));
    log(QStringLiteral("2026-12-08"), 99, QStringLiteral("02:00:00"));
    log(QStringLiteral("2026-12-09 00:00:00"), 4, QStringLiteral("00:29:59"));
    const review::MenuStatus s = review::ReadMenuStatus(dm->ADOCn1, QDate(2026, 12, 9));
    EXPECT_EQ(s.countdown, QStringLiteral("距离考试还有 10 天"));
    EXPECT_EQ(s.today, QStringLiteral("今日已学 29 / 30 分钟"));
}

}  // namespace
