// Making a mock-exam paper: numbering and naming it, its tab_cj row and work
// table, drawing its questions type by type, opening it, and marking it. No
// windows here: the exam window shows what these leave in the data module.
#pragma once

#include <QDate>
#include <QString>

#include <functional>
#include <optional>
#include <random>
#include <stdexcept>

namespace store {
class Database;
class Dataset;
class TDM1;
}  // namespace store

namespace exam {

inline constexpr int kFirstKind = 1;
inline constexpr int kLastKind = 5;

// The fixed texts of a failed paper, as the user is told them.
inline const QString kNoQuestions = QStringLiteral("没有发现题目！");
inline const QString kDrawFailed = QStringLiteral("提取数据时发生错误！");
inline const QString kTableFailed = QStringLiteral("建立数据表时发生错误！");
inline const QString kOpenFailed = QStringLiteral("无法打开试卷！");

// The examination product a kind stands for; empty outside 1..5.
QString KindTitle(int kind);
// "01".."05": the subject prefix of tab_answ.A10 a kind draws from; empty outside 1..5.
QString KindCode(int kind);
// yyyy年mm月dd日 + the kind's title + "[number]".
QString PaperTitle(const QDate& day, int kind, int number);

// Questions drawn per type of a kind; 0 for a pair the paper never draws.
int PaperQuota(int kind, int typeId);

// The statement of a kind's candidate set; empty outside 1..5.
QString CandidateSql(int kind);
// The filter narrowing the candidate set to one type of the kind's subject.
QString TypeFilter(int typeId, const QString& kindCode);

// The number and work-table name of the next paper, from the most recent one.
struct PaperName {
    int number = 1;
    QString table;
};
PaperName NextPaperName(store::Database& db);

// Draws up to `count` distinct rows of one type from the candidate set (positions
// 1..n-1 of the filtered set, or 1 when n is 1) and returns their id condition,
// " a.A1='x3' or a.A1='x2' or a.A1='x1'" for x1, x2, x3 in drawing order; empty
// when the type has no candidates. A type short of candidates gives what it has.
// Leaves the filter set.
QString PickRandomQuestions(store::Dataset& candidates, int typeId, int count,
                            const QString& kindCode, std::mt19937& random);

// Copies the questions named by the condition into the work table; nothing for
// an empty condition.
void AddQuestionsToPaper(store::Database& db, const QString& table, const QString& condition);

// A paper step that failed, with the text the user is shown.
class PaperError : public std::runtime_error {
  public:
    explicit PaperError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    QString message() const { return message_; }

  private:
    QString message_;
};

// What the exam window is given for one paper.
struct PaperState {
    QString title;
    QString table;
    QString mode;  // "new" while answered, "old" under review
    double score = 0;
    QString timeUsed = QStringLiteral("0:00:00");
    bool belowMinimum = false;
};

// The data-module half of preparing a paper: for a new one, opens the kind's
// candidate set on Cn1Query_tm and fills the work table from it. Throws
// PaperError (kNoQuestions, kDrawFailed). The candidate set stays open, unfiltered.
void FillPaper(store::TDM1& dm, int kind, const QString& table, std::mt19937& random);

// Clears the answers of a new paper and opens Cn1Query_exam on it, ordered by
// type and id. Throws PaperError(kOpenFailed) when that fails or it has no rows.
void OpenPaper(store::TDM1& dm, const PaperState& paper);

struct PaperOptions {
    // Lets the work table's text columns hold empty strings; store's by default.
    std::function<void(const QString& table, store::Database& db)> fixZeroLength;
    // The draw's seed; from the clock when not given.
    std::optional<std::mt19937::result_type> seed;
    // Hears each progress text as the steps begin.
    std::function<void(const QString& text)> progress;
};

struct PaperResult {
    bool ok = false;
    QString error;  // one of the fixed texts when !ok
    PaperState paper;
    int number = 0;
};

// Makes a new paper of a kind and opens it, all or nothing: on failure neither
// its work table nor its tab_cj row remains and the error text is returned.
// Sets qb::CurrentKind and points Cn1Table_tx at the kind's type table.
PaperResult MakePaper(store::TDM1& dm, int kind, const PaperOptions& options = {});

}  // namespace exam
