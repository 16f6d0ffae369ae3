// The rules of the subject and chapter browser that need no window: which catalogue
// rows can be practised, the SQL of the three practice sets, and the totals of the
// side board.
#pragma once

#include <QString>

#include <optional>

namespace store {
class Query;
}

namespace practice {

// The three sets a chapter offers; the values are the tags of their buttons.
enum class ChapterSet { NewQuestions = 1, WrongQuestions = 2, DoneQuestions = 3 };

// The catalogue as the browser lists it: every row but the one coded "xx".
inline const QString kCatalogueFilter = QStringLiteral("c1<>'xx'");

// The refusal shown for a subject or group row.
inline const QString kChooseChapterText = QStringLiteral("请选择具体章节目录！");

// Rows with codes of 1 or 2 characters are subjects and groups; every other code
// names something that has questions of its own.
bool IsPractisableCode(const QString& chapterCode);

// The set's query over tab_answ for the questions whose a10 starts with the code.
QString ChapterSetSql(ChapterSet set, const QString& chapterCode);
// The new-question set as a double-click on the grid asks for it: ordered without a1.
QString GridNewQuestionsSql(const QString& chapterCode);

// What an empty set tells the user, and the prompt box picture it shows.
QString EmptySetText(ChapterSet set);
int EmptySetPicture(ChapterSet set);

// Sums over the chapters proper (codes of exactly 6 characters).
QString ChapterTotalsSql();
struct ChapterTotals {
    qint64 questions = 0;
    qint64 answers = 0;
    qint64 wrong = 0;
};
// Runs the totals on the query (closed, cleared and reopened); a null sum is 0.
ChapterTotals ReadChapterTotals(store::Query& query);

// The question counter has five digits: larger totals show as 10000.
inline constexpr qint64 kShownQuestionLimit = 10000;
qint64 ShownQuestionTotal(qint64 questions);

// (answers − wrong) ÷ answers × 100 with two decimals; nothing while no answer was
// given, so the label keeps what it shows.
std::optional<QString> OverallScore(qint64 answers, qint64 wrong);

}  // namespace practice
