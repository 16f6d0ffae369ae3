// Writing questions of one's own into the bank, without windows: the question types
// offered, the checks, the ids of user questions and the one transaction that stores
// a new question with its counters.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace store {
class Database;
class TDM1;
}  // namespace store

namespace authoring {

struct QuestionType {
    int id = 0;
    QString name;
};

// The types of tab_tx<CurrentKind> in order of A1; CurrentKind becomes 1 when it is 0.
QVector<QuestionType> LoadQuestionTypes(store::TDM1& dm);
// The type with this name, if the list has one.
std::optional<int> TypeIdByName(const QVector<QuestionType>& types, const QString& name);

// Types answered in words ("简答", "论述题", ...): their key is "1" and they have a
// single "choice".
bool IsSubjectiveTypeName(const QString& name);
inline const QString kSubjectiveKey = QStringLiteral("1");

// What a question entry or edit holds: rich texts as RTF, with their plain text for
// the checks.
struct QuestionDraft {
    QByteArray stem;
    QString stemText;
    QByteArray explanation;
    QString explanationText;
    int choices = 5;
    QString answer;
    std::optional<int> typeId;
    QStringList ftids;  // knowledge points, K3 onward
};

enum class DraftField { Stem, Answer, Type };
struct DraftRefusal {
    QString text;
    DraftField field;
};
// The first thing that keeps a draft from being stored, if any.
std::optional<DraftRefusal> CheckDraft(const QuestionDraft& draft);

inline constexpr int kMaxUserQuestions = 9999;
inline const QString kTooManyText = QStringLiteral("最多只能录入9999道题！");
inline const QString kSaveFailedText = QStringLiteral("保存试题出现错误！");

// The number the next user question takes: one past the highest of the last four
// characters of every user id, whatever its chapter.
int NextUserNumber(store::Database& db);
// 7 → "00007", 123 → "00123", 1234 → "1234".
QString UserNumberText(int number);
// "US" + chapter + type + choices + number.
QString UserQuestionId(const QString& chapter, int typeId, int choices, int number);

// Stores a checked draft as a user question of the chapter (f1 = 2) and raises the
// counters of the chapter, its parents and its knowledge points, all in one
// transaction. Returns the new id; nothing when the bank already holds the most
// user questions it can number. A failing statement throws with nothing written.
std::optional<QString> SaveNewQuestion(store::TDM1& dm, const QString& chapter,
                                       const QuestionDraft& draft);

}  // namespace authoring
