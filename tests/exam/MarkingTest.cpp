// Marking without a window: the score, and what hand-in and review write.
#include "BankFixture.h"
#include "DataModule.h"
#include "Dataset.h"
#include "Globals.h"
#include "Marking.h"

namespace {

class MarkingTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
        addType(1, 61, 80, 1.5);
        addType(1, 62, 60, 2);
        addType(2, 61, 50, 100);
        db().execute(store::examTableSql(kPaper));
    }

    store::Database& db() { return dm->ADOCn1; }
    void addType(int kind, int id, int b2, double b3) {
        db().execute(
            QStringLiteral("insert into tab_tx%1 (A1,B1,B2,B3) values (?,?,?,?)").arg(kind),
            {{{}, id}, {{}, QStringLiteral("t%1").arg(id)}, {{}, b2}, {{}, b3}});
    }
    void addRow(const QString& id, int type, const QVariant& key, const QVariant& answer) {
        db().execute(QStringLiteral("insert into tab_exam9 (A1,A13,A2,E2_1) values (?,?,?,?)"),
                     {{{}, id}, {{}, type}, {{}, key}, {{}, answer}});
    }
    double score() { return exam::PaperScore(*dm, kPaper, 1); }

    const QString kPaper = QStringLiteral("tab_exam9");
    std::unique_ptr<store::TDM1> dm;
};

TEST(ScoresRight, OnlyAnAnswerEqualToTheKeyScores) {
    struct Case {
        const char* answer;
        const char* key;
        bool scores;
    };
    for (const Case& c : {Case{"A", "A", true},
                          {"AC", "AC", true},
                          {"B", "A", false},
                          {"CA", "AC", false},
                          {"", "", false},
                          {"", "A", false}}) {
        EXPECT_EQ(exam::ScoresRight(QString::fromUtf8(c.answer), QString::fromUtf8(c.key)),
                  c.scores)
            << c.answer << " / " << c.key;
    }
}

TEST_F(MarkingTest, ScoreSumsB3OfTheRightAnswersOnly) {
    addRow("a", 61, "A", "B");
    addRow("b", 62, "AB", "");
    addRow("c", 62, "C", QVariant());
    EXPECT_EQ(score(), 0.0);

    addRow("d", 61, "D", "D");
    addRow("e", 62, "AC", "AC");
    addRow("f", 62, "B", "B");
    EXPECT_DOUBLE_EQ(score(), 5.5);
    EXPECT_THROW(exam::PaperScore(*dm, QStringLiteral("tab_cj"), 1), store::EngineError);
}

// Questions without a key (the user's own can be written so) are not a free mark
// for leaving them blank.
TEST_F(MarkingTest, BlankPaperOnQuestionsWithoutAKeyScoresNothing) {
    addRow("a", 61, "", "");
    addRow("b", 62, "", "");
    addRow("c", 62, "", QVariant());
    EXPECT_EQ(score(), 0.0);
}

// Marking is all or nothing: a failure on the way leaves score, time and log alone.
TEST_F(MarkingTest, MarkingStoresScoreTimeAndLogOrNothing) {
    addRow("a", 61, "A", "A");
    addRow("b", 62, "AB", "AB");
    addRow("c", 62, "C", "");
    addRow("d", 62, "D", QVariant());
    EXPECT_EQ(exam::UnansweredCount(*dm, kPaper), 2);
    db().execute(QStringLiteral("insert into tab_cj (A1,A3,A3_1) values (?,'p',9)"),
                 {{{}, kPaper}});
    db().execute(QStringLiteral("insert into tab_rz (A1,D1) values (?,'00:01:00')"),
                 {{{}, dm->todayText()}});
    db().execute(QStringLiteral("update tab_plan set LeastMark=4"));
    const QString marks = QStringLiteral(
        "select ifnull(A6,'-')||' '||ifnull(D2,'-')||' '||(select D1 from tab_rz) "
        "from tab_cj");
    exam::PaperState paper;
    paper.table = kPaper;
    paper.mode = QStringLiteral("new");

    db().execute(
        QStringLiteral("create temp trigger full before update on tab_kmmc begin "
                       "select raise(abort,'disk full'); end"));
    db().execute(
        QStringLiteral("insert into tab_kmmc (C1,C1_1,C2,bh,D1,D2) values "
                       "('01','s','s',1,1,0)"));
    EXPECT_THROW(exam::MarkPaper(*dm, paper, QStringLiteral("0:30:00"), 1), store::EngineError);
    EXPECT_EQ(db().scalar(marks).toString(), "- - 00:01:00");

    db().execute(QStringLiteral("drop trigger full"));
    const exam::PaperState marked = exam::MarkPaper(*dm, paper, QStringLiteral("0:30:00"), 1);
    EXPECT_EQ(marked.mode, "old");
    EXPECT_EQ(marked.score, 3.5);
    EXPECT_TRUE(marked.belowMinimum);
    EXPECT_EQ(marked.timeUsed, "0:30:00");
    EXPECT_EQ(db().scalar(marks).toString(), "3.5 0:30:00 00:31:00");

    exam::DropPaper(*dm, kPaper);
    EXPECT_FALSE(db().hasTable(kPaper));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tab_cj")).toInt(), 0);
}

TEST_F(MarkingTest, DiscardingAQuestionTakesItOutOfTheBankAndBack) {
    addRow("a", 61, "A", "A");
    db().execute(QStringLiteral("insert into tab_answ (A1,A2,E2,F1) values ('a','A','A',0)"));
    store::Query paper(&db());
    paper.setSql(QStringLiteral("select * from tab_exam9"));
    paper.open();
    const QString both = QStringLiteral(
        "select (select F1||'/'||E2 from tab_exam9)||' '||(select F1||'/'||E2 from tab_answ)");
    exam::SetQuestionDiscarded(*dm, paper, true);
    EXPECT_EQ(db().scalar(both).toString(), "1/zero 1/zero");
    exam::SetQuestionDiscarded(*dm, paper, false);
    EXPECT_EQ(db().scalar(both).toString(), "0/ 0/zero");
}

}  // namespace
