// The browser's rules without a window: the practice sets' SQL, which rows can be
// practised, and the totals of the side board.
#include "BrowserBank.h"
#include "ChapterSets.h"

using practice::ChapterSet;
using practice::ChapterSetSql;

namespace {

// The sets' columns, written out once here rather than taken from the code.
const QString kColumns = QStringLiteral(
    "a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,xx,csbs,ecount");

QStringList ids(store::Query& q) {
    QStringList out;
    for (q.first(); !q.eof(); q.next())
        out << q.text(QStringLiteral("A1"));
    return out;
}

}  // namespace

TEST(ChapterSetSqlTest, CodeWithAQuoteIsDoubledInsideTheLiteral) {
    const QString code = QStringLiteral("01'");
    EXPECT_EQ(ChapterSetSql(ChapterSet::NewQuestions, code),
              QStringLiteral("select a1 ,") + kColumns +
                  QStringLiteral(" from tab_answ where (left(A10,3) = '01''') and (E2 = '' or E2 "
                                 "is null)  and (f1<>1)  order by a13,a10,xx,a1"));
    EXPECT_EQ(ChapterSetSql(ChapterSet::WrongQuestions, code),
              QStringLiteral("select a1,") + kColumns +
                  QStringLiteral(" from tab_answ  where (left(A10,3) = '01''') and (E4 < 0)  and "
                                 "(f1<>1) order by a13,e3,e4,e1,xx,a1"));
    EXPECT_EQ(ChapterSetSql(ChapterSet::DoneQuestions, code),
              QStringLiteral("select a1,") + kColumns +
                  QStringLiteral(" from tab_answ where (left(A10,3) = '01''') and (E2 <> '' and "
                                 "E2 is not null) order by a13,e3,e4,e1,xx,a1"));
    EXPECT_EQ(practice::GridNewQuestionsSql(code),
              QStringLiteral("select a1 ,") + kColumns +
                  QStringLiteral(" from tab_answ where (left(A10,3) = '01''') and (E2 = '' or E2 "
                                 "is null)  and (f1<>1)  order by a13,a10,xx"));
}

TEST(ChapterSetSqlTest, FourCharacterCodeTakesFourCharactersOfA10) {
    const QString code = QStringLiteral("0102");
    EXPECT_EQ(ChapterSetSql(ChapterSet::NewQuestions, code),
              QStringLiteral("select a1 ,") + kColumns +
                  QStringLiteral(" from tab_answ where (left(A10,4) = '0102') and (E2 = '' or E2 "
                                 "is null)  and (f1<>1)  order by a13,a10,xx,a1"));
    EXPECT_EQ(ChapterSetSql(ChapterSet::WrongQuestions, code),
              QStringLiteral("select a1,") + kColumns +
                  QStringLiteral(" from tab_answ  where (left(A10,4) = '0102') and (E4 < 0)  and "
                                 "(f1<>1) order by a13,e3,e4,e1,xx,a1"));
    EXPECT_EQ(ChapterSetSql(ChapterSet::DoneQuestions, code),
              QStringLiteral("select a1,") + kColumns +
                  QStringLiteral(" from tab_answ where (left(A10,4) = '0102') and (E2 <> '' and "
                                 "E2 is not null) order by a13,e3,e4,e1,xx,a1"));
    EXPECT_EQ(practice::GridNewQuestionsSql(code),
              QStringLiteral("select a1 ,") + kColumns +
                  QStringLiteral(" from tab_answ where (left(A10,4) = '0102') and (E2 = '' or E2 "
                                 "is null)  and (f1<>1)  order by a13,a10,xx"));
}

TEST(ChapterSetSqlTest, OnlySubjectAndGroupCodesAreRefused) {
    EXPECT_FALSE(practice::IsPractisableCode(QStringLiteral("0")));
    EXPECT_FALSE(practice::IsPractisableCode(QStringLiteral("01")));
    EXPECT_TRUE(practice::IsPractisableCode(QStringLiteral("010")));
    EXPECT_TRUE(practice::IsPractisableCode(QStringLiteral("0101")));
    EXPECT_TRUE(practice::IsPractisableCode(QStringLiteral("010101")));
    // Two characters however they are written: a code is counted in characters.
    EXPECT_FALSE(practice::IsPractisableCode(QStringLiteral("甲乙")));
}

TEST(ChapterSetSqlTest, EmptySetsSayWhyWithTheirPicture) {
    EXPECT_EQ(practice::EmptySetText(ChapterSet::NewQuestions),
              QStringLiteral("恭喜，习题已做完！"));
    EXPECT_EQ(practice::EmptySetPicture(ChapterSet::NewQuestions), 0);
    EXPECT_EQ(practice::EmptySetText(ChapterSet::WrongQuestions),
              QStringLiteral("本章节下没有错题！"));
    EXPECT_EQ(practice::EmptySetPicture(ChapterSet::WrongQuestions), 1);
    EXPECT_EQ(practice::EmptySetText(ChapterSet::DoneQuestions),
              QStringLiteral("本章节习题还未曾做过！"));
    EXPECT_EQ(practice::EmptySetPicture(ChapterSet::DoneQuestions), 1);
}

TEST(ChapterTotalsTest, CapAndScore) {
    EXPECT_EQ(practice::ShownQuestionTotal(12000), 10000);
    EXPECT_EQ(practice::ShownQuestionTotal(10000), 10000);
    EXPECT_EQ(practice::ShownQuestionTotal(9999), 9999);
    EXPECT_FALSE(practice::OverallScore(0, 0).has_value());
    EXPECT_EQ(practice::OverallScore(40, 6), std::optional<QString>(QStringLiteral("85.00")));
    EXPECT_EQ(practice::OverallScore(3, 1), std::optional<QString>(QStringLiteral("66.67")));
    EXPECT_EQ(practice::OverallScore(7, 0), std::optional<QString>(QStringLiteral("100.00")));
    EXPECT_EQ(practice::OverallScore(5, 5), std::optional<QString>(QStringLiteral("0.00")));
}

using ChapterSetBankTest = BrowserBankTest;

// The sets run through the engine as the practice window will run them.
TEST_F(ChapterSetBankTest, EachSetSelectsItsQuestionsOfTheChapterAndBelow) {
    {
        store::Database db;
        db.open(bankPath);
        const QVariant null;
        // Chapter 0101 and its sub-chapter 010101; 010201 lies outside.
        addQuestion(db, QStringLiteral("n-null"), QStringLiteral("010101"), 62, null, 0, 0);
        addQuestion(db, QStringLiteral("n-empty"), QStringLiteral("010101"), 61, QString(""), 0, 0);
        addQuestion(db, QStringLiteral("n-group"), QStringLiteral("0101"), 62, null, 0, 0);
        addQuestion(db, QStringLiteral("n-void"), QStringLiteral("010101"), 61, null, 0, 1);
        addQuestion(db, QStringLiteral("n-f1null"), QStringLiteral("010101"), 61, null, 0, null);
        addQuestion(db, QStringLiteral("right"), QStringLiteral("010101"), 62, QString("A"), 1, 0);
        addQuestion(db, QStringLiteral("wrong"), QStringLiteral("010101"), 61, QString("B"), -1, 0);
        addQuestion(db, QStringLiteral("w-void"), QStringLiteral("010101"), 61, QString("C"), -2,
                    1);
        addQuestion(db, QStringLiteral("other"), QStringLiteral("010201"), 61, null, 0, 0);
    }
    auto dm = openModule();
    store::Query q(&dm->ADOCn1);
    const auto run = [&](const QString& sql) {
        q.setSql(sql);
        q.open();
        return ids(q);
    };
    const QString code = QStringLiteral("0101");
    // Type first, then chapter: the single choice (61) before the two 62s.
    EXPECT_EQ(run(ChapterSetSql(ChapterSet::NewQuestions, code)),
              (QStringList{QStringLiteral("n-empty"), QStringLiteral("n-group"),
                           QStringLiteral("n-null")}));
    EXPECT_EQ(run(ChapterSetSql(ChapterSet::WrongQuestions, code)),
              QStringList{QStringLiteral("wrong")});
    // Voided questions are reviewed too.
    EXPECT_EQ(
        run(ChapterSetSql(ChapterSet::DoneQuestions, code)),
        (QStringList{QStringLiteral("w-void"), QStringLiteral("wrong"), QStringLiteral("right")}));
    EXPECT_EQ(run(practice::GridNewQuestionsSql(QStringLiteral("010101"))),
              (QStringList{QStringLiteral("n-empty"), QStringLiteral("n-null")}));
}

TEST_F(ChapterSetBankTest, AQuotedCodeRunsAndMatchesLiterally) {
    {
        store::Database db;
        db.open(bankPath);
        addQuestion(db, QStringLiteral("q"), QStringLiteral("01'x"), 61, QVariant(), 0, 0);
        addQuestion(db, QStringLiteral("p"), QStringLiteral("01x"), 61, QVariant(), 0, 0);
    }
    auto dm = openModule();
    store::Query q(&dm->ADOCn1);
    q.setSql(ChapterSetSql(ChapterSet::NewQuestions, QStringLiteral("01'")));
    q.open();
    EXPECT_EQ(ids(q), QStringList{QStringLiteral("q")});
}

TEST_F(ChapterSetBankTest, TotalsCountOnlySixCharacterCodes) {
    setCounters(QStringLiteral("01"), 500, 300, 200);
    setCounters(QStringLiteral("0101"), 400, 300, 100);
    setCounters(QStringLiteral("010101"), 30, 25, 5);
    setCounters(QStringLiteral("010102"), 12, 15, 1);
    auto dm = openModule();
    const practice::ChapterTotals t = practice::ReadChapterTotals(dm->Cn1Query1);
    EXPECT_EQ(t.questions, 42);
    EXPECT_EQ(t.answers, 40);
    EXPECT_EQ(t.wrong, 6);
    EXPECT_EQ(dm->Cn1Query1.sql(), practice::ChapterTotalsSql());
}

TEST_F(ChapterSetBankTest, TotalsOfACatalogueWithoutChaptersAreZero) {
    {
        store::Database db;
        db.open(bankPath);
        db.execute(QStringLiteral("delete from tab_kmmc where length(C1)=6"));
    }
    auto dm = openModule();
    // Sums over no rows are null; they read as nothing done.
    const practice::ChapterTotals t = practice::ReadChapterTotals(dm->Cn1Query1);
    EXPECT_EQ(t.questions, 0);
    EXPECT_EQ(t.answers, 0);
    EXPECT_EQ(t.wrong, 0);
}
