#include "Marking.h"

#include "DataModule.h"
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

}  // namespace exam
