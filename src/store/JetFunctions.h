// SQL functions of the program's dialect, registered on every connection.
#pragma once

#include <QString>
#include <QVariant>

#include <optional>

struct sqlite3;

namespace store {

void registerJetFunctions(sqlite3* db);

// CINT as the old engine had it: a 16-bit integer, halves rounded to the even
// neighbour; nullopt with a reason for text that is not a number or overflows.
struct CintResult {
    std::optional<int> value;
    QString error;
};
CintResult jetCint(const QVariant& value);

}  // namespace store
