// The wrong-question book (错题本): every question the candidate has answered wrongly
// and not yet made good, with filters by subject, chapter, knowledge point and type,
// what a row shows when it is opened, the practice set of the filtered list and its
// document for printing.
//
// Which questions are "wrong" is decided by tab_answ.E4 (with F1): E4 < 0 and
// F1 <> 1. E4 is the mastery score the progress rule keeps on every stored answer:
// a first wrong answer sets it to -3, every later wrong answer lowers it by 1, and
// only right answers raise it again, one step each, back to 0. So E4 < 0 means
// "answered wrongly at least once and not yet mastered", the same rule the practice
// window's "做错的题" set uses, so a question leaves the book exactly when it leaves
// that set. The last answer alone (E2 against the key A2) is not used: one lucky
// right answer after three wrong ones would drop a question the bank still counts as
// not mastered, and a question whose key was corrected after the answer would be
// judged against a key the candidate never saw. F1 = 1 marks a question the user
// discarded; it stays out like everywhere else.
//
// The bank keeps no count of wrong answers per question; how deep E4 lies below
// zero is the nearest thing (more wrong answers push it lower, right ones lift it),
// so the book lists the most negative E4 first, then the most answered.
#pragma once

#include "Engine.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace exam {
class WordDocument;
}

namespace review {

// What the book is narrowed to; an empty text (type 0) does not narrow.
struct WrongFilter {
    QString subject;  // chapter code of 2 characters: questions whose A10 starts with it
    QString chapter;  // a longer chapter code, matched as a prefix of A10 as well
    QString point;    // a knowledge-point id (tab_rule.ftid) among K3..K12
    int type = 0;     // question-type id A13
};

// A statement with its values kept apart from its text.
struct BoundSql {
    QString sql;
    store::Params params;
};

// The book's query over tab_answ for a filter, every value bound.
BoundSql WrongBookSql(const WrongFilter& filter);

// The same questions in the same order as a practice set for the chapter practice
// window, which takes its set as SQL text: the values are quoted.
QString WrongPracticeSql(const WrongFilter& filter);

struct WrongQuestion {
    QString id;          // A1
    QString chapter;     // A10
    int type = 0;        // A13
    QString key;         // A2
    QString lastAnswer;  // E2
    QString lastDate;    // E1, the day only
    int answers = 0;     // E3
    int mastery = 0;     // E4, below zero
    QStringList points;  // K3.. up to the first empty one
};

QVector<WrongQuestion> LoadWrongBook(store::Database& db, const WrongFilter& filter = {});

// One choice of a filter list: the value filtered on, what the list shows, and how
// many questions of the unfiltered book it holds.
struct FilterOption {
    QString value;
    QString caption;
    int count = 0;
};

struct WrongBookOptions {
    QVector<FilterOption> subjects;
    QVector<FilterOption> chapters;  // every chapter code the book's questions carry
    QVector<FilterOption> points;
    QVector<FilterOption> types;
};

// The choices the filters offer for the questions of the unfiltered book, named from
// the catalogue (tab_kmmc, tab_rule, tab_tx1..5), each list in code order.
WrongBookOptions ReadWrongBookOptions(store::Database& db, const QVector<WrongQuestion>& book);

// The chapters of one subject among the options (all of them for an empty subject).
QVector<FilterOption> ChaptersOf(const WrongBookOptions& options, const QString& subject);

// An answer or key as the candidate reads it: true/false keys as 正确 / 错误, an
// empty or discarded answer as "（未作答）".
QString AnswerText(int type, const QString& answer);

// What a row of the book opens: the question with the candidate's last answer, the
// key, the explanation and the note.
struct WrongQuestionDetail {
    WrongQuestion question;
    QByteArray sharedStem;   // tab_title.A15 of a grouped question
    QByteArray stem;         // tab_exer.A15
    QByteArray explanation;  // tab_exer.jx; empty when there is none
    QString note;            // tab_answ.A14
};

// Throws store::EngineError when the question is gone from the bank.
WrongQuestionDetail ReadWrongQuestion(store::Database& db, const QString& id);

// The list as a document: a title, then for every question its number, shared stem,
// stem, "你的答案：", "正确答案：" and, when there is one, "试题解析：" with the
// explanation.
void BuildWrongBookDocument(store::Database& db, const QVector<WrongQuestion>& list,
                            const QString& title, exam::WordDocument& document);

// Builds the document and writes it into the folder under a name no file has yet;
// returns its path. Throws on any failure.
QString WriteWrongBookDocument(store::Database& db, const QVector<WrongQuestion>& list,
                               const QString& title, const QString& folder);

}  // namespace review
