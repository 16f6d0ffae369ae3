// One question of a bank as plain text, for checking a bank by eye.
#pragma once

#include <QString>

namespace store {
class Database;
}

namespace qbank {

// Shared stem, stem with options, key, explanation and knowledge points. Throws
// EngineError when the bank has no such question.
QString ShowQuestion(store::Database& db, const QString& questionId);

}  // namespace qbank
