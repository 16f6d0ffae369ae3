// The rules behind the plan, log and settings windows, without windows.
#include "AidsFixture.h"

#include "StudyLog.h"
#include "StudyPlan.h"
#include "SystemSettings.h"

namespace {

using StudyAidsTest = AidsTest;

TEST(CountdownTest, TextsColoursAndCap) {
    const QDate today(2026, 12, 9);
    struct Case {
        int days;
        QString lead;
        QString shown;
        bool showDays;
        QColor colour;
    };
    const Case cases[] = {
        {0, QStringLiteral("祝考试成功！"), QStringLiteral("0"), false, QColor()},
        {-1, QStringLiteral("考试已结束！"), QStringLiteral("-1"), false, QColor()},
        {1, QStringLiteral("距离考试还有"), QStringLiteral("1"), true, aids::kCountdownNear},
        {7, QStringLiteral("距离考试还有"), QStringLiteral("7"), true, QColor(255, 0, 0)},
        {8, QStringLiteral("距离考试还有"), QStringLiteral("8"), true, QColor(100, 203, 37)},
        {999, QStringLiteral("距离考试还有"), QStringLiteral("999"), true, aids::kCountdownFar},
        {1500, QStringLiteral("距离考试还有"), QStringLiteral("999"), true, aids::kCountdownFar},
    };
    for (const Case& c : cases) {
        const aids::Countdown got = aids::CountdownFor(today, today.addDays(c.days));
        EXPECT_EQ(got.lead, c.lead) << c.days;
        EXPECT_EQ(got.showDays, c.showDays) << c.days;
        if (c.showDays) {
            EXPECT_EQ(got.days, c.shown) << c.days;
            EXPECT_EQ(got.colour, c.colour) << c.days;
        }
    }
}

TEST(PlanDateTest, OnlyCalendarDatesPass) {
    EXPECT_EQ(aids::ParsePlanDate(QStringLiteral("2027-05-22")), QDate(2027, 5, 22));
    EXPECT_EQ(aids::ParsePlanDate(QStringLiteral("2027/5/2")), QDate(2027, 5, 2));
    EXPECT_EQ(aids::ParsePlanDate(QStringLiteral("2027-05-22 00:00:00")), QDate(2027, 5, 22));
    for (const char* bad : {"", "2027-02-30", "2027-13-01", "明年五月", "2027-5", "27-05-22"})
        EXPECT_FALSE(aids::ParsePlanDate(QString::fromUtf8(bad))) << bad;
}

TEST_F(StudyAidsTest, SavingWritesAllFourValuesThroughTheSharedTable) {
    aids::SavePlan(dm->Cn1Table_plan, 1, QStringLiteral("120"), QStringLiteral("45"),
                   QDate(2027, 5, 22));
    // PlanMark 1 keeps the typed amount: both numbers are always written.
    EXPECT_EQ(db().scalar(QStringLiteral("select PlanMark||','||PlanAmount||','||PlanTime||','||"
                                         "ExamDate from tab_plan"))
                  .toString(),
              QStringLiteral("1,120,45,2027-05-22"));
    const aids::PlanValues read = aids::ReadPlan(dm->Cn1Table_plan);
    EXPECT_EQ(read.planMark, 1);
    EXPECT_EQ(read.planAmount, QStringLiteral("120"));
    EXPECT_EQ(read.examDate, QStringLiteral("2027-05-22"));
}

TEST_F(StudyAidsTest, LogTotalsAndRate) {
    EXPECT_EQ(aids::ReadLogTotals(*dm).rate, QStringLiteral("0"));
    EXPECT_EQ(aids::ReadLogTotals(*dm).attempts, 0);
    db().execute(
        QStringLiteral("insert into tab_rz (A1,A2,A3) values ('2026-12-07',3,1),"
                       "('2026-12-08',4,1)"));
    const aids::LogTotals totals = aids::ReadLogTotals(*dm);
    EXPECT_EQ(totals.attempts, 7);
    EXPECT_EQ(totals.wrongAttempts, 2);
    EXPECT_EQ(totals.rate, QStringLiteral("71.43"));
}

TEST(LogColumnsTest, WidthsOfBothLayouts) {
    QList<int> compact, large;
    for (const aids::LogColumn& c : aids::LogColumns(true))
        compact << c.width;
    for (const aids::LogColumn& c : aids::LogColumns(false))
        large << c.width;
    EXPECT_EQ(compact, QList<int>({198, 60, 60, 60, 60, 80, 71}));
    EXPECT_EQ(large, QList<int>({252, 80, 80, 80, 80, 80, 80}));
}

TEST(AnswerTimeTest, BoundsAndTenths) {
    // typed minutes, as kept, tenths of a second
    const struct {
        double typed, kept;
        int tenths;
    } cases[] = {{2.5, 2.5, 1500}, {2.3, 2.3, 1380},    {0.1, 0.1, 60},   {30.0, 30.0, 18000},
                 {0.0, 0.1, 60},   {45.0, 30.0, 18000}, {2.46, 2.5, 1500}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(aids::BoundAnswerMinutes(c.typed), c.kept) << c.typed;
        EXPECT_EQ(aids::AnswerTenths(aids::BoundAnswerMinutes(c.typed)), c.tenths) << c.typed;
    }
}

class AnswerTimesTest : public AidsTest {
  protected:
    void SetUp() override {
        AidsTest::SetUp();
        for (int id = 1; id <= 4; ++id) {
            db().execute(QStringLiteral("insert into tab_tx1 (A1,B1,time) values (?,?,1)"),
                         {{{}, id}, {{}, QStringLiteral(" 题型%1 ").arg(id)}});
        }
        qb::AnswerTimeTable = {{1, 2, 3, 4}, {600, 600, 600, 600}};
    }
    QString storedTimes() {
        return db()
            .scalar(QStringLiteral("select group_concat(time,' ') from "
                                   "(select time from tab_tx1 order by A1)"))
            .toString();
    }
    QVector<aids::AnswerTimeLine> typed() {
        return {{1, {}, 2.5}, {2, {}, 0.1}, {3, {}, 30.0}, {4, {}, 3.0}};
    }
};

TEST_F(AnswerTimesTest, SavedTogetherAndMirroredInTenths) {
    const QVector<aids::AnswerTimeLine> lines = aids::ReadAnswerTimes(*dm, 1);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[2].name, QStringLiteral("题型3"));
    EXPECT_TRUE(aids::SaveAnswerTimes(*dm, 1, typed()));
    EXPECT_EQ(storedTimes(), QStringLiteral("2.5 0.1 30.0 3.0"));
    EXPECT_EQ(qb::AnswerTimeTable.typeIds, QVector<int>({1, 2, 3, 4}));
    EXPECT_EQ(qb::AnswerTimeTable.tenths, QVector<int>({1500, 60, 18000, 1800}));
}

TEST_F(AnswerTimesTest, AFailingRowLeavesEveryRowAndTheTableUnchanged) {
    db().execute(
        QStringLiteral("create trigger refuse_time before update on tab_tx1 when "
                       "new.A1=3 begin select raise(abort, 'disk is locked'); end"));
    EXPECT_FALSE(aids::SaveAnswerTimes(*dm, 1, typed()));
    EXPECT_EQ(storedTimes(), QStringLiteral("1.0 1.0 1.0 1.0"));
    EXPECT_EQ(qb::AnswerTimeTable.tenths, QVector<int>({600, 600, 600, 600}));
    // The shared dataset shows what the file holds, not the rolled-back values.
    EXPECT_DOUBLE_EQ(aids::ReadAnswerTimes(*dm, 1)[0].minutes, 1.0);
}

}  // namespace
