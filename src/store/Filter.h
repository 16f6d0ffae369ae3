// Client-side filters in the program's filter syntax, for example
// "A13=61 and a10 like '01*' and f1<>1": comparisons (=, <>, <, <=, >, >=, like)
// of a field with a literal, joined by "and"/"or" with parentheses. A NULL field
// never satisfies a comparison. Text compares without regard to case.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

namespace store {

using RowPredicate = std::function<bool(const QVector<QVariant>& row)>;

// Compiles the filter against the dataset's column names (matched ignoring case).
// Throws EngineError naming the position and the problem when the text is not a filter.
RowPredicate compileFilter(const QString& filter, const QStringList& columns);

// Three-way comparison used by filters, locate and sorting: numbers as numbers,
// everything else as text ignoring case. NULL sorts before any value.
int compareValues(const QVariant& a, const QVariant& b);

}  // namespace store
