// Marking without a window: the score, and what hand-in and review write.
#include "BankFixture.h"
#include "DataModule.h"
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

}  // namespace
