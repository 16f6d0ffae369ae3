#include "ExamSettings.h"

#include "DataModule.h"
#include "Dataset.h"

namespace exam {
namespace {

std::optional<qint64> parseNumber(const QString& text) {
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok) return std::nullopt;
    return n;
}

}  // namespace

QString MinutesText(qint64 examTimeSeconds) {
    return QString::number(examTimeSeconds / 60);
}

std::optional<qint64> ExamTimeSeconds(const QString& minutesText) {
    const auto minutes = parseNumber(minutesText);
    if (!minutes) return std::nullopt;
    return *minutes * 60;
}

int PassMark(int totalScore) {
    // Dividing first is the rule: a total of 149 passes at 87, not 89.
    return totalScore / 5 * 3;
}

int DefaultLeastMark(int totalScore) {
    return totalScore / 2;
}

LeastMarkCheck CheckLeastMark(const QString& fieldText, int totalScore) {
    if (fieldText.isEmpty()) return {QStringLiteral("0"), false};
    const auto n = parseNumber(fieldText);
    if (n && *n > totalScore) return {QString::number(totalScore), true};
    return {fieldText, false};
}

ExamSettingsText ReadExamSettings(store::Table& plan) {
    store::TDM1::ensureOpen(plan);
    plan.first();
    if (plan.recordCount() == 0) return {};
    return {plan.text(QStringLiteral("LeastMark")),
            MinutesText(plan.value(QStringLiteral("ExamTime")).toLongLong())};
}

bool SaveExamSettings(store::Table& plan, const ExamSettingsText& fields) {
    const auto least = parseNumber(fields.leastMark);
    const auto seconds = ExamTimeSeconds(fields.minutes);
    if (!least || !seconds) return false;
    try {
        store::TDM1::ensureOpen(plan);
        plan.first();
        plan.edit();
        plan.setValue(QStringLiteral("LeastMark"), *least);
        plan.setValue(QStringLiteral("ExamTime"), *seconds);
        plan.post();
        return true;
    } catch (const std::exception&) {
        // A half-made edit must not be posted by whoever touches the table next.
        plan.cancel();
        return false;
    }
}

}  // namespace exam
