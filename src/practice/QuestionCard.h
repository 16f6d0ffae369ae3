// The rules of the question card, without its widgets: how an answer string is
// collected from the answer controls, how it is checked, and what storing it does
// to the question row and the counters (one transaction per answer).
#pragma once

#include "AnswerModel.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>

namespace store {
class Dataset;
class TDM1;
}  // namespace store

namespace practice {

// What the answer controls of every page hold, as the card reads them.
struct AnswerControls {
    std::array<bool, 6> visible{};  // options A..F shown on the button pages
    std::array<bool, 6> pressed{};  // options A..F pressed (per page: single, multiple, matching)
    QString fillIn;                 // the fill-in edit's text
    bool truePressed = false;       // "对"
    bool falsePressed = false;      // "错"
    int selfAssessedIndex = -1;     // 0 "不会", 1 "会", -1 nothing chosen
};

// The answer string of a page: empty when nothing is answered. optionCount limits
// the button pages to their first options (at most six).
QString CollectAnswer(AnswerKind kind, int optionCount, const AnswerControls& controls);

// The controls as a stored answer sets them on a page (the other pages untouched).
void ShowStoredAnswer(AnswerKind kind, int optionCount, const QString& stored,
                      AnswerControls* controls);

// The longest answer a bank column holds; longer fill-in text is cut there.
inline constexpr int kAnswerColumnWidth = 100;

// Flags of one changed answer, as the counters take them (2 yes, 1 no).
struct ProgressFlags {
    int firstToday = 1;
    int wrong = 1;
    int wasWrong = 1;
    int newQuestion = 1;
};

struct ProgressRow {
    QString key;         // A2
    QString lastAnswer;  // E2
    QVariant lastDate;   // E1
    int answers = 0;     // E3
    int mastery = 0;     // E4
};

ProgressFlags FlagsFor(const ProgressRow& row, const QString& answer, const QDate& today);
// E4 after an answer: 0 or -3 for a first answer, else -1 when wrong, +1 while below 0.
int NextMastery(const ProgressRow& row, const QString& answer);
// True when a stored date (ISO text, possibly with a time) is the given day.
bool IsSameDay(const QVariant& stored, const QDate& day);

// What storing an answer reported.
struct StoreResult {
    bool answered = false;  // false: the answer was empty
    bool right = false;
    bool counted = false;  // the progress rule ran (the answer changed)
};

// Applies the progress rule to the current row of `row` (E4, E3) and counts the
// answer in today's log, the chapter and its prefixes, and the knowledge points.
// The caller stores E2_1, E2 and E1 in the same edit.
void ApplyProgressRule(store::TDM1& dm, store::Dataset& row, const QString& answer);

// Stores an answer on the current row of `row`: the progress rule when it differs
// from E2_1, then E2_1, E2 and E1 := today. One transaction: all or nothing.
//
// `bank` is given when `row` is only a copy of the question (an exam paper's row):
// the copy is counted from and gets E2_1, E2 and E1 but keeps its E3 and E4; the
// question's own row in `bank` (found by A1; nothing when the set is closed or
// does not hold it) gets the progress rule by its own key and last answer, and
// the answer too.
StoreResult StoreAnswer(store::TDM1& dm, store::Dataset& row, const QString& answer,
                        store::Dataset* bank = nullptr);

// The header "第n题（第k次出现）" figures: k is E3 + 1 when E3 >= 1, else 1.
int AppearanceCount(int e3);

// Marker texts of a question.
QString DiscardMarker(int f1);  // "本题已被您作废！" / "本题是您加入的题目！" / ""
QString EditedMarker(int ecount);

// Display text of an answer or key in the verdict panel ("A" -> "对" for true/false).
QString VerdictText(AnswerKind kind, const QString& answer);
inline const QString kVerdictRight = QStringLiteral("恭喜你，做对了！");
inline const QString kVerdictWrong = QStringLiteral("很遗憾，做错了，请继续努力！");

// The hint of the answer area for a page.
QString AnswerHint(AnswerKind kind);
// The caption of a page (also how keyboard handling recognises it).
QString PageCaption(AnswerKind kind);

// The id of the shared stem of a grouped question (its first 16 characters), or
// nullopt for a question that is not in a group.
std::optional<QString> SharedStemId(const QString& questionId);

}  // namespace practice
