// Whether the day's study plan was met, judged when the user quits.
#pragma once

#include <QString>

#include <optional>

namespace store {
class TDM1;
}

namespace app {

struct StudyPlan {
    int planMark = 0;  // 0 counts answers, 1 counts minutes
    int planAmount = 0;
    int planTime = 0;
};

enum class QuitOutcome {
    BelowPlan,  // ask whether to quit anyway
    AtPlan,     // congratulate, then quit
    AbovePlan,  // remind to rest, then quit
    NoPlan,     // no plan to judge against: quit without a word
};

QuitOutcome JudgeQuit(const std::optional<StudyPlan>& plan, int answersToday, int minutesToday);

// Reads the plan and today's log through the data module and judges.
QuitOutcome JudgeQuitFromBank(store::TDM1& dm);

inline const QString kBelowPlanQuestion = QStringLiteral("还未完成今日学习计划，要退出吗？");
inline const QString kAtPlanNotice = QStringLiteral("恭喜完成今日学习计划！");
inline const QString kAbovePlanNotice = QStringLiteral("超额完成学习计划，要注意休息呦！");

}  // namespace app
