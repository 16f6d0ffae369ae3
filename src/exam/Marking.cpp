#include "Marking.h"

#include "DataModule.h"
#include "Dataset.h"
#include "Engine.h"
#include "Schema.h"

namespace exam {
namespace {

// Table names reach SQL as identifiers, which cannot be bound: only the names
// the program gives its work tables are let through.
void requirePaperTable(const QString& table) {
    if (!store::IsExamTableName(table)) {
        throw store::EngineError(QStringLiteral("not an exam work table: ") + table);
    }
}

}  // namespace

bool ScoresRight(const QString& answer, const QString& key) {
    return !answer.isEmpty() && answer == key;
}

double PaperScore(store::TDM1& dm, const QString& table, int kind) {
    requirePaperTable(table);
    const QString tx = QStringLiteral("tab_tx%1").arg(kind);
    // '' = '' is true in SQL as well: an unanswered question must be left out
    // explicitly, or a blank paper would score on every question without a key.
    const QVariant sum = dm.ADOCn1.scalar(
        QStringLiteral("select sum(") + tx + QStringLiteral(".B3) as ZFS from ") + table + u',' +
        tx + QStringLiteral(" where ") + table + QStringLiteral(".A13 = ") + tx +
        QStringLiteral(".A1 and ") + table + QStringLiteral(".A2 = ") + table +
        QStringLiteral(".E2_1 and ") + table + QStringLiteral(".E2_1 <> ''"));
    return sum.isNull() ? 0.0 : sum.toDouble();
}

int UnansweredCount(store::TDM1& dm, const QString& table) {
    requirePaperTable(table);
    return dm.ADOCn1
        .scalar(QStringLiteral("select count(A1) from ") + table +
                QStringLiteral(" where E2_1 = '' or E2_1 is null"))
        .toInt();
}

PaperState MarkPaper(store::TDM1& dm, const PaperState& paper, const QString& timeUsed, int kind) {
    PaperState marked = paper;
    marked.mode = QStringLiteral("old");
    marked.timeUsed = timeUsed;
    store::Transaction tx(dm.ADOCn1);
    marked.score = PaperScore(dm, paper.table, kind);
    const int least = dm.ADOCn1.scalar(QStringLiteral("select LeastMark from tab_plan")).toInt();
    marked.belowMinimum = least > marked.score;
    dm.ADOCn1.execute(QStringLiteral("update tab_cj set A6=?, D2=? where A1=?"),
                      {{{}, marked.score}, {{}, timeUsed}, {{}, paper.table}});
    dm.CloseStudySession(timeUsed);
    tx.commit();
    return marked;
}

void DropPaper(store::TDM1& dm, const QString& table) {
    dm.Cn1Query_exam.close();
    dm.DropExamTable(table);
}

void SetQuestionDiscarded(store::TDM1& dm, store::Dataset& paperRow, bool discard) {
    const QString id = paperRow.text(QStringLiteral("A1"));
    store::Transaction tx(dm.ADOCn1);
    try {
        paperRow.edit();
        paperRow.setValue(QStringLiteral("F1"), discard ? 1 : 0);
        paperRow.setValue(QStringLiteral("E2"),
                          discard ? QStringLiteral("zero") : QStringLiteral(""));
        paperRow.post();
        if (discard) {
            dm.ADOCn1.execute(QStringLiteral("update tab_answ set F1=1, E2='zero' where a1=?"),
                              {{{}, id}});
        } else {
            dm.ADOCn1.execute(QStringLiteral("update tab_answ set F1=0 where a1=?"), {{{}, id}});
        }
        tx.commit();
    } catch (...) {
        paperRow.cancel();
        throw;
    }
}

}  // namespace exam
