// The question card's rules: answer strings, checking, and what storing does.
#include "BankFixture.h"
#include "Globals.h"
#include "PracticeSet.h"
#include "QuestionCard.h"
#include "Schema.h"

using practice::AnswerControls;
using practice::AnswerKind;
using practice::CollectAnswer;

namespace {

AnswerControls options(int visible, const char* pressed) {
    AnswerControls c;
    for (int i = 0; i < visible; ++i)
        c.visible[i] = true;
    for (const char* p = pressed; *p != 0; ++p)
        c.pressed[*p - 'A'] = true;
    return c;
}

TEST(AnswerStringTest, ChoicesAreReadFromAToFAmongTheVisibleOptions) {
    // Pressed in any order, a multiple choice always reads A to F.
    EXPECT_EQ(CollectAnswer(AnswerKind::MultipleChoice, 4, options(4, "DCA")),
              QStringLiteral("ACD"));
    EXPECT_EQ(CollectAnswer(AnswerKind::Matching, 4, options(4, "B")), QStringLiteral("B"));
    // The first pressed option wins on the single-choice page.
    EXPECT_EQ(CollectAnswer(AnswerKind::SingleChoice, 4, options(4, "CB")), QStringLiteral("B"));
    // Options beyond the question's count, or hidden ones, do not count.
    EXPECT_EQ(CollectAnswer(AnswerKind::SingleChoice, 2, options(6, "E")), QString());
    EXPECT_EQ(CollectAnswer(AnswerKind::MultipleChoice, 4, options(2, "AC")), QStringLiteral("A"));
    EXPECT_EQ(CollectAnswer(AnswerKind::SingleChoice, 0, options(6, "A")), QString());
    EXPECT_EQ(CollectAnswer(AnswerKind::MultipleChoice, 9, options(6, "F")), QStringLiteral("F"));
}

TEST(AnswerStringTest, FillInTrueFalseAndSelfAssessed) {
    AnswerControls c;
    c.fillIn = QStringLiteral("  TCP,UDP ");
    EXPECT_EQ(CollectAnswer(AnswerKind::FillIn, 0, c), QStringLiteral("TCP,UDP"));
    // Only the answer side is trimmed: a blank after the comma stays and is wrong.
    c.fillIn = QStringLiteral("TCP, UDP");
    EXPECT_FALSE(
        practice::IsRight(CollectAnswer(AnswerKind::FillIn, 0, c), QStringLiteral("TCP,UDP")));
    c.fillIn = QString(150, u'x');
    EXPECT_EQ(CollectAnswer(AnswerKind::FillIn, 0, c).size(), practice::kAnswerColumnWidth);
    EXPECT_EQ(CollectAnswer(AnswerKind::TrueFalse, 0, c), QString());  // neither pressed
    c.falsePressed = true;
    EXPECT_EQ(CollectAnswer(AnswerKind::TrueFalse, 0, c), QStringLiteral("B"));
    c.truePressed = true;
    EXPECT_EQ(CollectAnswer(AnswerKind::TrueFalse, 0, c), QStringLiteral("A"));
    EXPECT_EQ(CollectAnswer(AnswerKind::SelfAssessed, 1, c), QString());
    c.selfAssessedIndex = 0;
    EXPECT_EQ(CollectAnswer(AnswerKind::SelfAssessed, 1, c), QStringLiteral("0"));
    EXPECT_FALSE(practice::IsRight(QStringLiteral("ACD"), QStringLiteral("CAD")));
    EXPECT_FALSE(practice::IsRight(QStringLiteral("a"), QStringLiteral("A")));
}

TEST(AnswerStringTest, StoredAnswersShowOnTheirPage) {
    AnswerControls c;
    practice::ShowStoredAnswer(AnswerKind::SingleChoice, 4, QStringLiteral("AB"), &c);
    EXPECT_EQ(std::count(c.pressed.begin(), c.pressed.end(), true), 0);  // two letters: none
    practice::ShowStoredAnswer(AnswerKind::MultipleChoice, 3, QStringLiteral("ACD"), &c);
    EXPECT_TRUE(c.pressed[0] && c.pressed[2] && !c.pressed[3] && !c.visible[3]);
    practice::ShowStoredAnswer(AnswerKind::TrueFalse, 0, QStringLiteral("X"), &c);
    EXPECT_FALSE(c.truePressed || c.falsePressed);
    practice::ShowStoredAnswer(AnswerKind::SelfAssessed, 1, QStringLiteral("2"), &c);
    EXPECT_EQ(c.selfAssessedIndex, -1);
    EXPECT_EQ(practice::VerdictText(AnswerKind::TrueFalse, QStringLiteral("B")),
              QStringLiteral("错"));
    EXPECT_EQ(practice::SharedStemId(QStringLiteral("0201016600000001-2")),
              std::optional<QString>(QStringLiteral("0201016600000001")));
    EXPECT_EQ(practice::SharedStemId(QStringLiteral("G01-1")),
              std::optional<QString>(QStringLiteral("G01-1")));
    EXPECT_FALSE(practice::SharedStemId(QStringLiteral("0101016100000001")).has_value());
    EXPECT_EQ(practice::AppearanceCount(0), 1);
    EXPECT_EQ(practice::AppearanceCount(3), 4);
}

class StoreAnswerTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
        store::Database& db = dm->ADOCn1;
        for (const char* code : {"01", "0101", "010101"})
            addChapter(db, QLatin1String(code), 1);
        db.execute(QStringLiteral("insert into tab_fgmc (id) values ('01'),('010101')"));
        db.execute(QStringLiteral("insert into tab_rule (id,ftid) values ('010101','01010101')"));
        db.execute(
            QStringLiteral("insert into tab_answ (A1,A2,A2_1,K3,A10,A13,E2_1,E3,E4,F1) values "
                           "('q1','B',4,'01010101','010101',61,'',0,0,0)"));
        row.setConnection(&dm->ADOCn1);
        row.setSql(QStringLiteral("select * from tab_answ"));
        row.open();
    }
    QString counters() {
        return dm->ADOCn1
            .scalar(QStringLiteral(
                "select (select A2||'/'||A3||'/'||B1||'/'||B2 from tab_rz) || ' ' ||"
                " (select C4||'/'||D1||'/'||D2 from tab_kmmc where C1='01') || ' ' ||"
                " (select q1||'/'||q2||'/'||q4 from tab_rule) || ' ' ||"
                " (select q1||'/'||q2||'/'||q4 from tab_fgmc where id='01') || ' ' ||"
                " (select E3||'/'||E4||'/'||E2||'/'||E2_1 from tab_answ)"))
            .toString();
    }
    std::unique_ptr<store::TDM1> dm;
    store::Query row{nullptr};
};

TEST_F(StoreAnswerTest, AFirstWrongAnswerNeedsThreeRightOnesToLeaveTheWrongSet) {
    auto result = practice::StoreAnswer(*dm, row, QStringLiteral("A"));
    EXPECT_TRUE(result.answered && !result.right && result.counted);
    EXPECT_EQ(counters(), QStringLiteral("1/1/1/1 1/1/1 1/1/1 1/1/1 1/-3/A/A"));
    // The same answer again while the set is open is not counted again.
    result = practice::StoreAnswer(*dm, row, QStringLiteral("A"));
    EXPECT_FALSE(result.counted);
    EXPECT_EQ(counters(), QStringLiteral("1/1/1/1 1/1/1 1/1/1 1/1/1 1/-3/A/A"));
    for (int expected : {-2, -1, 0}) {
        // A new set starts each time: E2_1 cleared, so the right answer is a change.
        dm->ADOCn1.execute(QStringLiteral("update tab_answ set E2_1=''"));
        row.requery();
        practice::StoreAnswer(*dm, row, QStringLiteral("B"));
        EXPECT_EQ(row.asInt(QStringLiteral("E4")), expected);
    }
    // Same day, wrong then right: the day's wrong question count went back to 0.
    EXPECT_EQ(counters(), QStringLiteral("4/1/1/0 1/4/1 1/4/1 1/4/1 4/0/B/B"));
    EXPECT_EQ(dm->ADOCn1.scalar(QStringLiteral("select E1 from tab_answ")).toString(),
              QStringLiteral("2026-12-09"));
}

TEST_F(StoreAnswerTest, AnEmptyAnswerClearsTheSessionAnswerOnly) {
    practice::StoreAnswer(*dm, row, QStringLiteral("B"));
    const auto result = practice::StoreAnswer(*dm, row, QString());
    EXPECT_FALSE(result.answered);
    EXPECT_EQ(counters(), QStringLiteral("1/0/1/0 1/1/0 1/1/0 1/1/0 1/0/B/"));
}

TEST_F(StoreAnswerTest, AFailingCounterLeavesNothingBehind) {
    dm->ADOCn1.execute(QStringLiteral("drop table tab_fgmc"));
    EXPECT_THROW(practice::StoreAnswer(*dm, row, QStringLiteral("A")), store::EngineError);
    EXPECT_EQ(dm->ADOCn1.scalar(QStringLiteral("select count(*) from tab_rz")).toInt(), 0);
    EXPECT_EQ(dm->ADOCn1.scalar(QStringLiteral("select D1 from tab_kmmc where C1='01'")).toInt(),
              0);
    EXPECT_EQ(dm->ADOCn1.scalar(QStringLiteral("select E3||'/'||E2_1 from tab_answ")).toString(),
              QStringLiteral("0/"));
    EXPECT_EQ(row.state(), store::Dataset::State::Browse);
}

// An exam paper holds copies of its questions: the copy is counted from and takes
// the answer, the question's bank row takes the progress by its own last answer.
TEST_F(StoreAnswerTest, AnAnswerOnACopyGivesTheProgressToTheBankRow) {
    store::Database& db = dm->ADOCn1;
    db.execute(store::examTableSql(QStringLiteral("tab_exam1")));
    db.execute(
        QStringLiteral("insert into tab_exam1 (A1,A2,A2_1,K3,A10,A13,E2,E2_1,E3,E4,F1) "
                       "select A1,A2,A2_1,K3,A10,A13,'','',E3,E4,F1 from tab_answ"));
    // Answered right in practice since the paper was drawn: the bank row knows it.
    db.execute(QStringLiteral("update tab_answ set E2='B', E3=1"));
    row.requery();
    store::Query paper(&db);
    paper.setSql(QStringLiteral("select * from tab_exam1"));
    paper.open();

    auto result = practice::StoreAnswer(*dm, paper, QStringLiteral("A"), &row);
    EXPECT_TRUE(result.answered && !result.right && result.counted);
    // Counted as the copy saw it (a new question); the bank row lost a point.
    EXPECT_EQ(counters(), QStringLiteral("1/1/1/1 1/1/1 1/1/1 1/1/1 2/-1/A/A"));
    EXPECT_EQ(db.scalar(QStringLiteral("select E3||'/'||E4||'/'||E2||'/'||E2_1||'/'||E1 from "
                                       "tab_exam1"))
                  .toString(),
              QStringLiteral("0/0/A/A/2026-12-09"));
    result = practice::StoreAnswer(*dm, paper, QStringLiteral("A"), &row);
    EXPECT_FALSE(result.counted);
    EXPECT_EQ(counters(), QStringLiteral("1/1/1/1 1/1/1 1/1/1 1/1/1 2/-1/A/A"));

    // A bank set that does not hold the question: the copy alone is answered.
    row.close();
    practice::StoreAnswer(*dm, paper, QStringLiteral("B"), &row);
    EXPECT_EQ(db.scalar(QStringLiteral("select E2_1 from tab_exam1")).toString(), "B");
    EXPECT_EQ(db.scalar(QStringLiteral("select E3||'/'||E2_1 from tab_answ")).toString(), "2/A");
}

TEST_F(StoreAnswerTest, OpeningASetClearsEverySessionAnswerOfTheBank) {
    store::Database& db = dm->ADOCn1;
    db.execute(
        QStringLiteral("insert into tab_answ (A1,A2,A10,E2_1,F1) values "
                       "('q2','A','020101','C',0),('q3','A','020101',NULL,0)"));
    db.execute(QStringLiteral("update tab_answ set E2_1='B' where A1='q1'"));
    qb::PracticeSql =
        QStringLiteral("select * from tab_answ where left(A10,6) = '020101' order by a1");
    ASSERT_TRUE(practice::OpenPracticeSet(*dm));
    EXPECT_EQ(dm->Cn1Query_tm.recordCount(), 2);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from tab_answ where E2_1=''")).toInt(), 3);
    qb::PracticeSql = QStringLiteral("select * from tab_answ where A1='none'");
    EXPECT_FALSE(practice::OpenPracticeSet(*dm));
}

}  // namespace
