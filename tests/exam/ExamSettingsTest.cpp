// The rules of the exam settings, without the window.
#include "EsetBank.h"
#include "ExamSettings.h"

using namespace exam;

TEST(ExamSettingsRules, SecondsShowAsWholeMinutes) {
    EXPECT_EQ(MinutesText(7200), QStringLiteral("120"));
    EXPECT_EQ(MinutesText(5459), QStringLiteral("90"));  // the remainder is dropped
    EXPECT_EQ(MinutesText(0), QStringLiteral("0"));
}

TEST(ExamSettingsRules, MinutesAreStoredAsSeconds) {
    EXPECT_EQ(ExamTimeSeconds(QStringLiteral("90")), 5400);
    EXPECT_EQ(ExamTimeSeconds(QStringLiteral("999")), 59940);
    EXPECT_EQ(ExamTimeSeconds(QStringLiteral("0")), 0);
    EXPECT_FALSE(ExamTimeSeconds(QString()).has_value());
}

TEST(ExamSettingsRules, PassMarkDividesBeforeMultiplying) {
    EXPECT_EQ(PassMark(140), 84);
    EXPECT_EQ(PassMark(149), 87);
    EXPECT_EQ(PassMark(4), 0);
}

TEST(ExamSettingsRules, DefaultMinimumIsHalfTheTotalRoundedDown) {
    EXPECT_EQ(DefaultLeastMark(140), 70);
    EXPECT_EQ(DefaultLeastMark(149), 74);
    EXPECT_EQ(kDefaultExamMinutes, QStringLiteral("120"));
}

TEST(ExamSettingsRules, MinimumAboveTheTotalBecomesTheTotal) {
    const LeastMarkCheck check = CheckLeastMark(QStringLiteral("999"), 140);
    EXPECT_TRUE(check.aboveTotal);
    EXPECT_EQ(check.text, QStringLiteral("140"));
}

TEST(ExamSettingsRules, MinimumEqualToTheTotalIsKept) {
    const LeastMarkCheck check = CheckLeastMark(QStringLiteral("140"), 140);
    EXPECT_FALSE(check.aboveTotal);
    EXPECT_EQ(check.text, QStringLiteral("140"));
}

TEST(ExamSettingsRules, EmptyMinimumReadsAsZero) {
    const LeastMarkCheck check = CheckLeastMark(QString(), 140);
    EXPECT_FALSE(check.aboveTotal);
    EXPECT_EQ(check.text, QStringLiteral("0"));
}

class ExamSettingsStore : public EsetBankTest {};

TEST_F(ExamSettingsStore, ReadsTheSettingsRowAsFieldTexts) {
    setPlan(5400, 75);
    auto dm = openModule();
    const ExamSettingsText fields = ReadExamSettings(dm->Cn1Table_plan);
    EXPECT_EQ(fields.minutes, QStringLiteral("90"));
    EXPECT_EQ(fields.leastMark, QStringLiteral("75"));
}

TEST_F(ExamSettingsStore, SavingWritesTheOneRowInSeconds) {
    auto dm = openModule();
    ASSERT_TRUE(SaveExamSettings(dm->Cn1Table_plan, {QStringLiteral("66"), QStringLiteral("90")}));
    EXPECT_EQ(planInFile(), QStringLiteral("1|5400|66"));
}

TEST_F(ExamSettingsStore, EmptyMinutesFailAndKeepTheRow) {
    setPlan(7200, 60);
    auto dm = openModule();
    EXPECT_FALSE(SaveExamSettings(dm->Cn1Table_plan, {QStringLiteral("66"), QString()}));
    EXPECT_EQ(planInFile(), QStringLiteral("1|7200|60"));
    // The table is left browsing: a later save of good values still goes through.
    ASSERT_TRUE(SaveExamSettings(dm->Cn1Table_plan, {QStringLiteral("50"), QStringLiteral("45")}));
    EXPECT_EQ(planInFile(), QStringLiteral("1|2700|50"));
}

TEST_F(ExamSettingsStore, SavingWithoutASettingsRowFails) {
    auto dm = openModule();
    // Removed after start-up, which would put a fresh row back.
    dm->ADOCn1.execute(QStringLiteral("delete from tab_plan"));
    EXPECT_FALSE(SaveExamSettings(dm->Cn1Table_plan, {QStringLiteral("66"), QStringLiteral("90")}));
}
