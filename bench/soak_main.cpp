// The kill-safety soak: N trials (1,000 unless given) of killing a process that
// answers questions, on one bank; prints "soak: N trials, M lost answers, K damaged
// banks" and the first problems met.
#include "KillSoak.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int trials = argc > 1 ? std::atoi(argv[1]) : 1000;
    QTemporaryDir dir;
    if (!dir.isValid()) return 2;
    soak::MakeBank(dir.path());
    std::mt19937 random(std::random_device{}());
    const soak::Result r = soak::Run(dir.path(), trials, random);
    for (const QString& problem : r.problems.mid(0, 10))
        std::fprintf(stderr, "%s\n", qPrintable(problem));
    std::printf("soak: %d trials, %d lost answers, %d damaged banks\n", r.trials, r.lostAnswers,
                r.damagedBanks);
    return r.lostAnswers == 0 && r.damagedBanks == 0 ? 0 : 1;
}
