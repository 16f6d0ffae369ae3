// Quitting against the day's study plan.
#include "DataModule.h"
#include "FakePrompts.h"
#include "QuitCheck.h"
#include "Schema.h"
#include "Ustart.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using app::QuitOutcome;

namespace {

TEST(QuitCheckTest, JudgesAnswersOrMinutesAgainstThePlan) {
    const app::StudyPlan answers{0, 50, 30};
    EXPECT_EQ(app::JudgeQuit(answers, 50, 0), QuitOutcome::AtPlan);
    EXPECT_EQ(app::JudgeQuit(answers, 49, 999), QuitOutcome::BelowPlan);
    EXPECT_EQ(app::JudgeQuit(answers, 51, 0), QuitOutcome::AbovePlan);
    const app::StudyPlan minutes{1, 50, 30};
    EXPECT_EQ(app::JudgeQuit(minutes, 999, 30), QuitOutcome::AtPlan);
    EXPECT_EQ(app::JudgeQuit(minutes, 999, 29), QuitOutcome::BelowPlan);
    EXPECT_EQ(app::JudgeQuit(app::StudyPlan{7, 0, 0}, 0, 0), QuitOutcome::NoPlan);
    EXPECT_EQ(app::JudgeQuit(std::nullopt, 0, 0), QuitOutcome::NoPlan);
}

class QuitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QDir().mkpath(dir.path() + QStringLiteral("/data"));
        store::createEmptyBank(dir.path() + QStringLiteral("/data/QBDATA000001.db"));
        dm.setTodayProvider([] { return QDate(2026, 12, 9); });
        dm.DataModuleCreate(dir.path());
        ASSERT_TRUE(dm.DatabaseReady);
        db().execute(QStringLiteral("update tab_plan set PlanMark=?, PlanAmount=50, PlanTime=30"),
                     {{QString(), 0}});
    }
    store::Database& db() { return dm.ADOCn1; }
    void today(int answers, const char* time) {
        db().execute(QStringLiteral("insert into tab_rz (A1,A2,D1) values ('2026-12-09',?,?)"),
                     {{QString(), answers}, {QString(), QLatin1String(time)}});
        dm.Cn1Table_rz.close();  // the shared log reads the new row when next opened
    }
    QTemporaryDir dir;
    store::TDM1 dm;
};

TEST_F(QuitTest, ReadsThePlanAndTodaysLog) {
    EXPECT_EQ(app::JudgeQuitFromBank(dm), QuitOutcome::BelowPlan);  // no row today: 0 < 50
    db().execute(QStringLiteral("update tab_plan set PlanAmount=0"));
    dm.Cn1Table_plan.close();
    EXPECT_EQ(app::JudgeQuitFromBank(dm), QuitOutcome::AtPlan);  // 0 = 0
    db().execute(QStringLiteral("update tab_plan set PlanMark=1"));
    dm.Cn1Table_plan.close();
    today(3, "00:30:59");
    EXPECT_EQ(app::JudgeQuitFromBank(dm), QuitOutcome::AtPlan);  // 30 minutes
    db().execute(QStringLiteral("delete from tab_plan"));
    dm.Cn1Table_plan.close();
    EXPECT_EQ(app::JudgeQuitFromBank(dm), QuitOutcome::NoPlan);
}

TEST_F(QuitTest, BelowPlanAsksAndCancelKeepsTheProgramRunning) {
    today(49, "00:10:00");
    FakePrompts prompts;
    app::TFrmStart start(dm);
    start.show();
    prompts.messageAnswer = widgets::MessageResult::Cancel;
    start.ShockwaveFlash1FSCommand(QStringLiteral("quit"), QString());
    EXPECT_TRUE(start.isVisible());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith(
        QStringLiteral("message|提示|还未完成今日学习计划，要退出吗？")));
    prompts.messageAnswer = widgets::MessageResult::Ok;
    start.ShockwaveFlash1FSCommand(QStringLiteral("quit"), QString());
    EXPECT_FALSE(start.isVisible());
    EXPECT_FALSE(dm.ADOCn1.isOpen());  // closing lets go of the bank
}

TEST_F(QuitTest, AtAndAbovePlanSayTheirWordAndQuit) {
    today(51, "00:10:00");
    FakePrompts prompts;
    app::TFrmStart start(dm);
    start.show();
    start.ShockwaveFlash1FSCommand(QStringLiteral("quit"), QString());
    EXPECT_FALSE(start.isVisible());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].contains(QStringLiteral("超额完成学习计划，要注意休息呦！")));
}

}  // namespace
