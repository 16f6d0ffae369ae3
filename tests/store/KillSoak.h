// Killing the program while it answers: a child process answers questions through
// the data module in a loop and is killed with SIGKILL at a random moment; then the
// bank must pass the engine's integrity check, hold every answer the child had
// stored, and every counter must equal a recount from the questions.
#pragma once

#include <QString>
#include <QStringList>

#include <random>

namespace soak {

struct Result {
    int trials = 0;
    int lostAnswers = 0;    // stored by the child's own account, missing from the bank
    int damagedBanks = 0;   // trials after which the bank failed a check
    int answersStored = 0;  // in the bank after the last trial
    QStringList problems;   // what failed, for the log
};

// A bank of one subject, two chapters, knowledge points and questions, in
// folder/data/, with every counter at zero.
void MakeBank(const QString& folder);

// Runs the trials on the bank of the folder, one after the other on the same bank.
Result Run(const QString& folder, int trials, std::mt19937& random);

// What differs between the counters and a recount from tab_answ; empty when none.
QStringList CounterMismatches(const QString& bankPath);

}  // namespace soak
