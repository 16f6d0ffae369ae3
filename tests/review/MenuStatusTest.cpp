// The menu's countdown and today's progress come back fresh with the menu.
#include "CommandTable.h"
#include "DataModule.h"
#include "EmptyBank.h"
#include "MenuPlayer.h"
#include "Ustart.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(MenuStatusTest, TheLinesAreReadAgainWhenACommandsWindowCloses) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    store::TDM1 dm;
    dm.setTodayProvider([] { return QDate(2026, 12, 9); });
    OpenEmptyBank(dm, dir.path());
    app::TFrmStart start(dm);
    // The plan window sets an exam date and a target; an answer is given meanwhile.
    start.registerWindow(app::CommandAction::StudyPlan, [&dm](const app::Command&) {
        dm.ADOCn1.execute(
            QStringLiteral("update tab_plan set ExamDate='2026-12-19', PlanMark=0, PlanAmount=20"));
        dm.RecordDailyAnswer(2, 1, 1);
    });
    start.RefreshMenuStatus();
    EXPECT_EQ(start.ShockwaveFlash1->countdownLine(), QString());
    EXPECT_EQ(start.ShockwaveFlash1->todayLine(), QStringLiteral("今日已做 0 / 50 道题"));
    start.ShockwaveFlash1FSCommand(QStringLiteral("szjh"), QString());
    EXPECT_EQ(start.ShockwaveFlash1->countdownLine(), QStringLiteral("距离考试还有 10 天"));
    EXPECT_EQ(start.ShockwaveFlash1->todayLine(), QStringLiteral("今日已做 1 / 20 道题"));
}

}  // namespace
