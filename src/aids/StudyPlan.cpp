#include "StudyPlan.h"

#include "DataModule.h"

#include <QRegularExpression>

namespace aids {

Countdown CountdownFor(const QDate& today, const QDate& exam) {
    const qint64 days = today.daysTo(exam);
    Countdown c;
    c.days = days < 1000 ? QString::number(days) : QStringLiteral("999");
    if (days < 0) {
        c.lead = QStringLiteral("考试已结束！");
    } else if (days == 0) {
        c.lead = QStringLiteral("祝考试成功！");
    } else {
        c.lead = QStringLiteral("距离考试还有");
        c.showDays = true;
        c.colour = days > 7 ? kCountdownFar : kCountdownNear;
    }
    return c;
}

std::optional<QDate> ParsePlanDate(const QString& text) {
    static const QRegularExpression shape(
        QStringLiteral("^\\s*(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})(?:[ T].*)?$"));
    const QRegularExpressionMatch m = shape.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid()) return std::nullopt;
    return date;
}

QString PlanDateText(const QDate& date) {
    return date.toString(Qt::ISODate);
}

PlanValues ReadPlan(store::Table& plan) {
    store::TDM1::ensureOpen(plan);
    plan.first();
    PlanValues v;
    if (plan.isEmpty()) return v;
    v.planMark = plan.asInt(QStringLiteral("PlanMark"));
    v.planAmount = plan.text(QStringLiteral("PlanAmount"));
    v.planTime = plan.text(QStringLiteral("PlanTime"));
    const QString stored = plan.text(QStringLiteral("ExamDate"));
    const std::optional<QDate> date = ParsePlanDate(stored);
    v.examDate = date ? PlanDateText(*date) : stored.trimmed();
    return v;
}

void SavePlan(store::Table& plan, int planMark, const QString& amount, const QString& minutes,
              const QDate& examDate) {
    store::TDM1::ensureOpen(plan);
    plan.first();
    try {
        plan.edit();
        plan.setValue(QStringLiteral("PlanAmount"), amount.trimmed().toInt());
        plan.setValue(QStringLiteral("PlanTime"), minutes.trimmed().toInt());
        plan.setValue(QStringLiteral("ExamDate"), PlanDateText(examDate));
        plan.setValue(QStringLiteral("PlanMark"), planMark);
        plan.post();
    } catch (...) {
        // A half-made edit must not be posted by whoever touches the table next.
        plan.cancel();
        throw;
    }
}

}  // namespace aids
