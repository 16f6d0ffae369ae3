// Marking a mock-exam paper and what review does to it, without windows: the
// score, the unanswered count, storing the marks, dropping a paper and discarding
// one of its questions from the bank.
#pragma once

#include "PaperMaker.h"

#include <QString>

namespace store {
class Dataset;
class TDM1;
}  // namespace store

namespace exam {

// Whether a question of a marked paper scores: it was answered, and the answer is
// its key. A blank answer never scores, not even against a blank key.
bool ScoresRight(const QString& answer, const QString& key);

// The score of a paper as marked: the sum of B3 over the questions that score;
// 0 when none does.
double PaperScore(store::TDM1& dm, const QString& table, int kind);

// Questions of a paper without an answer (E2_1 empty or null).
int UnansweredCount(store::TDM1& dm, const QString& table);

// Marks a paper handed in or timed out after `timeUsed`, with the types of `kind`:
// its score, whether it is below the minimum mark, the score and time in its
// tab_cj row, and the time in today's log. All or nothing: when anything fails,
// nothing is written and the exception goes to the caller. Returns the paper as
// marked (mode "old"); the caller's own state is not touched.
PaperState MarkPaper(store::TDM1& dm, const PaperState& paper, const QString& timeUsed, int kind);

// Drops a paper: its work table and its tab_cj row (the paper dataset is closed
// first, since it reads that table).
void DropPaper(store::TDM1& dm, const QString& table);

// Discards the question of the current row of a reviewed paper from the bank
// (F1 := 1, E2 := "zero", in the paper row and in tab_answ), or undoes that
// (F1 := 0; the paper row's E2 emptied). One transaction.
void SetQuestionDiscarded(store::TDM1& dm, store::Dataset& paperRow, bool discard);

}  // namespace exam
