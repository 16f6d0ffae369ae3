// Marking a mock-exam paper and what review does to it, without windows: the
// score, the unanswered count, storing the marks, dropping a paper and discarding
// one of its questions from the bank.
#pragma once

#include <QString>

namespace store {
class TDM1;
}  // namespace store

namespace exam {

// Whether a question of a marked paper scores: it was answered, and the answer is
// its key. A blank answer never scores, not even against a blank key.
bool ScoresRight(const QString& answer, const QString& key);

// The score of a paper as marked: the sum of B3 over the questions that score;
// 0 when none does.
double PaperScore(store::TDM1& dm, const QString& table, int kind);

}  // namespace exam
