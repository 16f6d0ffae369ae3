// The answer model shared by practice, exams, authoring and the bank tools: which
// page a question type is answered on, and how answers and keys are written.
#pragma once

#include <QSet>
#include <QString>

#include <array>
#include <optional>

namespace practice {

// One page of the answer area each; the order is the order of the pages.
enum class AnswerKind {
    SingleChoice = 0,
    MultipleChoice,
    FillIn,
    TrueFalse,
    SelfAssessed,
    Matching
};

// Type ids of the bank. 61 and 62 are fixed by every bank; the others are the
// choice of this program's banks, so that every type can be answered.
inline constexpr int kTypeSingleChoice = 61;
inline constexpr int kTypeMultipleChoice = 62;
inline constexpr int kTypeFillIn = 63;
inline constexpr int kTypeCaseAnalysis = 64;
inline constexpr int kTypeTrueFalse = 65;
inline constexpr int kTypeIndefiniteChoice = 66;

// Every type the program answers, with its page; a type not listed here has none.
struct TypePage {
    int typeId;
    AnswerKind kind;
};
inline constexpr std::array<TypePage, 6> kTypePages{{
    {kTypeSingleChoice, AnswerKind::SingleChoice},
    {kTypeMultipleChoice, AnswerKind::MultipleChoice},
    {kTypeFillIn, AnswerKind::FillIn},
    {kTypeCaseAnalysis, AnswerKind::SelfAssessed},
    {kTypeTrueFalse, AnswerKind::TrueFalse},
    {kTypeIndefiniteChoice, AnswerKind::Matching},
}};

// The page a question type is answered on; nullopt keeps the page already shown.
std::optional<AnswerKind> TypeToAnswerKind(int typeId);

// Types whose "show answer" button is never enabled.
const QSet<int>& NoAnswerButtonTypes();

// The key a self-assessed question is marked against ("会").
inline const QString kSelfAssessedKey = QStringLiteral("1");

// A choice answer as stored: the letters A..F that occur in `letters`, in A-to-F
// order and each once ("DCA" gives "ACD").
QString CanonicalChoice(const QString& letters);

// An answer is right exactly when it equals the key as a string.
inline bool IsRight(const QString& answer, const QString& key) {
    return answer == key;
}

// Number of the option an option letter names (A = 1), or 0.
int OptionNumber(QChar letter);

}  // namespace practice
