// SIGKILL while answering loses nothing stored and leaves every counter true.
#include "KillSoak.h"

#include "Engine.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(KillSafety, KilledWhileAnsweringTheBankStaysWholeAndCounted) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    soak::MakeBank(dir.path());
    std::mt19937 random(20261209);
    const soak::Result r = soak::Run(dir.path(), 20, random);
    EXPECT_EQ(r.trials, 20);
    EXPECT_EQ(r.lostAnswers, 0);
    EXPECT_EQ(r.damagedBanks, 0) << r.problems.join(u'\n').toStdString();
    // The trials answered something: the check ran on a bank that moved.
    EXPECT_TRUE(
        soak::CounterMismatches(dir.path() + QStringLiteral("/data/QBDATA000001.db")).isEmpty());
}
