#include "QuitCheck.h"

#include "DataModule.h"

namespace app {

QuitOutcome JudgeQuit(const std::optional<StudyPlan>& plan, int answersToday, int minutesToday) {
    if (!plan) return QuitOutcome::NoPlan;
    int done = 0;
    int planned = 0;
    switch (plan->planMark) {
        case 0:
            done = answersToday;
            planned = plan->planAmount;
            break;
        case 1:
            done = minutesToday;
            planned = plan->planTime;
            break;
        default:
            // An unknown plan kind must not keep the user from quitting.
            return QuitOutcome::NoPlan;
    }
    if (done < planned) return QuitOutcome::BelowPlan;
    return done == planned ? QuitOutcome::AtPlan : QuitOutcome::AbovePlan;
}

QuitOutcome JudgeQuitFromBank(store::TDM1& dm) {
    std::optional<StudyPlan> plan;
    store::Table& planTable = dm.Cn1Table_plan;
    store::TDM1::ensureOpen(planTable);
    if (planTable.recordCount() > 0) {
        planTable.first();
        plan = StudyPlan{planTable.asInt(QStringLiteral("PlanMark")),
                         planTable.asInt(QStringLiteral("PlanAmount")),
                         planTable.asInt(QStringLiteral("PlanTime"))};
    }
    int answers = 0;
    int minutes = 0;
    store::Table& log = dm.Cn1Table_rz;
    store::TDM1::ensureOpen(log);
    if (dm.locateToday(log)) {
        answers = log.asInt(QStringLiteral("A2"));
        try {
            minutes = static_cast<int>(store::ParseDuration(log.text(QStringLiteral("D1"))) / 60);
        } catch (const store::ConversionError&) {
            minutes = 0;  // a damaged time must not keep the user from quitting
        }
    }
    return JudgeQuit(plan, answers, minutes);
}

}  // namespace app
