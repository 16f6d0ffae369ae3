// Rewrites statements of the program's SQL dialect into SQLite's. The dialect is
// that of the old file engine: Left()/Right() as functions, "delete * from",
// tables of another file named by "from T in 'file'", and its column types.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace store {

struct TranslatedSql {
    QString sql;
    // Files named by cross-file clauses, in order; the statement refers to the
    // i-th one through the schema alias returned by the attach callback.
    QStringList foreignFiles;
};

// attach(path) returns the schema alias under which that file is reachable.
TranslatedSql translateJetSql(const QString& sql,
                              const std::function<QString(const QString&)>& attach);

// The single base table of a plain "select ... from T [alias] ..." statement and
// the name the statement uses for it; empty when the statement reads several
// tables, groups, or is not a select.
struct SelectSource {
    QString table;
    QString reference;
};
SelectSource singleTableSource(const QString& sql);

// The select with "<reference>.rowid AS __rowid__" added as its first column.
QString withRowId(const QString& sql, const SelectSource& source);

}  // namespace store
