// The two tab_plan values that govern a mock exam, as the settings window shows
// and stores them. Kept apart from the window so the rules can be checked on a
// bank alone.
#pragma once

#include <QString>

#include <optional>

namespace store {
class Table;
}

namespace exam {

// Minutes restored by "默认".
inline const QString kDefaultExamMinutes = QStringLiteral("120");
// The number fields hold at most this many digits.
inline constexpr int kFieldDigits = 3;

// ExamTime is kept in seconds but edited in whole minutes (remainder dropped).
QString MinutesText(qint64 examTimeSeconds);
// The seconds to store for the minutes field; nothing when it is not a number.
std::optional<qint64> ExamTimeSeconds(const QString& minutesText);

// The mark a paper needs to count as passed: the total div 5, times 3.
int PassMark(int totalScore);
// The minimum mark "默认" restores: half the total, rounded down.
int DefaultLeastMark(int totalScore);

// What the LeastMark field holds after a change: an empty field reads as "0";
// a number above the paper's total is refused and replaced by the total.
struct LeastMarkCheck {
    QString text;
    bool aboveTotal = false;
};
LeastMarkCheck CheckLeastMark(const QString& fieldText, int totalScore);

// The field texts as the window starts with them, from the first tab_plan row.
struct ExamSettingsText {
    QString leastMark;
    QString minutes;
};
ExamSettingsText ReadExamSettings(store::Table& plan);

// Writes both fields into the first tab_plan row. False when a field is not a
// number or the write fails; the row then keeps its previous values.
bool SaveExamSettings(store::Table& plan, const ExamSettingsText& fields);

}  // namespace exam
