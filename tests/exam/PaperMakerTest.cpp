#include "BankFixture.h"
#include "DataModule.h"
#include "Globals.h"
#include "PaperMaker.h"

#include <QSet>

namespace {

class PaperTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
    }

    store::Database& db() { return dm->ADOCn1; }

    void addType(int kind, int id, int b2, double b3) {
        db().execute(
            QStringLiteral("insert into tab_tx%1 (A1,B1,B2,B3) values (?,?,?,?)").arg(kind),
            {{{}, id}, {{}, QStringLiteral("t%1").arg(id)}, {{}, b2}, {{}, b3}});
    }

    void addQuestion(const QString& id, const QString& chapter, int type, int e3,
                     const QVariant& f1 = 0, bool explained = true, const QString& key = "A") {
        db().execute(QStringLiteral("insert into tab_answ (A1,A2,A2_1,A10,A13,E2_1,E3,F1) "
                                    "values (?,?,4,?,?,'B',?,?)"),
                     {{{}, id}, {{}, key}, {{}, chapter}, {{}, type}, {{}, e3}, {{}, f1}});
        if (explained) {
            db().execute(QStringLiteral("insert into tab_exer (A1,jx) values (?,'j')"), {{{}, id}});
        }
    }

    QStringList column(const QString& sql, const store::Params& params = {}) {
        QStringList values;
        db().query(sql, params, [&](store::Statement& row) { values << row.value(0).toString(); });
        return values;
    }

    QStringList paperIds(const QString& table) {
        return column(QStringLiteral("select A1 from %1 order by A1").arg(table));
    }

    exam::PaperResult makePaper(int kind, unsigned seed = 7,
                                exam::PaperOptions options = exam::PaperOptions{}) {
        options.seed = seed;
        return exam::MakePaper(*dm, kind, options);
    }

    void expectNothingLeft(const QStringList& tablesBefore, int cjRowsBefore) {
        EXPECT_EQ(db().userTables(), tablesBefore);
        EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tab_cj")).toInt(), cjRowsBefore);
        EXPECT_FALSE(dm->Cn1Query_exam.isActive());
    }

    std::unique_ptr<store::TDM1> dm;
};

TEST_F(PaperTest, FirstPaperOfEmptyHistoryIsNumberOne) {
    addType(1, 61, 80, 1);
    for (int i = 0; i < 4; ++i)
        addQuestion(QStringLiteral("q%1").arg(i), "010101", 61, i);

    const exam::PaperResult result = makePaper(1);

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.paper.table, "tab_exam1");
    EXPECT_EQ(result.number, 1);
    EXPECT_EQ(result.paper.title, "2026年12月09日" + exam::KindTitle(1) + "[1]");
    EXPECT_EQ(result.paper.mode, "new");
    EXPECT_EQ(qb::CurrentKind, 1);
    EXPECT_EQ(column("select A1 || '|' || A3 || '|' || A3_1 || '|' || D1 from tab_cj"),
              QStringList{"tab_exam1|" + result.paper.title + "|1|2026-12-09"});
}

TEST_F(PaperTest, NextPaperRetakesNumberAndNameOfDeletedMostRecent) {
    addType(1, 61, 80, 1);
    for (int i = 0; i < 4; ++i)
        addQuestion(QStringLiteral("q%1").arg(i), "010101", 61, i);
    ASSERT_TRUE(makePaper(1).ok);
    ASSERT_TRUE(makePaper(1).ok);
    dm->DropExamTable(QStringLiteral("tab_exam2"));

    const exam::PaperResult result = makePaper(1);

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.paper.table, "tab_exam2");
    EXPECT_EQ(result.number, 2);
    EXPECT_TRUE(result.paper.title.endsWith("[2]"));
}

TEST_F(PaperTest, StaleTableOfTheNewNameIsReplacedWithItsRow) {
    addType(5, 64, 6, 5);
    for (int i = 0; i < 3; ++i)
        addQuestion(QStringLiteral("s%1").arg(i), "0501", 64, i);
    db().execute(store::examTableSql(QStringLiteral("tab_exam1")));
    db().execute(QStringLiteral("insert into tab_exam1 (A1) values ('stale')"));

    const exam::PaperResult result = makePaper(5);

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.paper.table, "tab_exam1");
    EXPECT_FALSE(paperIds("tab_exam1").contains("stale"));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tab_cj")).toInt(), 1);
}

TEST_F(PaperTest, MostRecentRowWithoutDigitsTakesAnUnusedName) {
    db().execute(QStringLiteral("insert into tab_cj (A1,A3_1) values ('tab_exam2',1)"));
    db().execute(QStringLiteral("insert into tab_cj (A1,A3_1) values ('other',2)"));
    db().execute(store::examTableSql(QStringLiteral("tab_exam3")));

    const exam::PaperName name = exam::NextPaperName(db());

    EXPECT_EQ(name.number, 3);
    EXPECT_EQ(name.table, "tab_exam4");
}

TEST_F(PaperTest, QuotaPlusOneCandidatesDrawsAllButTheMostAnswered) {
    addType(5, 64, 6, 5);
    // Ids run against the E3 order, so that the last in E3 order is not the last by id.
    for (int i = 0; i < 7; ++i)
        addQuestion(QStringLiteral("s%1").arg(6 - i), "0502", 64, i);

    const exam::PaperResult result = makePaper(5);

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(paperIds(result.paper.table), (QStringList{"s1", "s2", "s3", "s4", "s5", "s6"}));
}

TEST_F(PaperTest, TypeWithoutCandidatesAddsNothingWhileOthersAreDrawn) {
    addType(2, 61, 50, 1);
    addType(2, 63, 5, 2);
    addType(2, 65, 30, 1);
    addType(2, 66, 20, 1);
    addType(2, 67, 20, 1);  // not in the kind's quota
    for (int i = 0; i < 51; ++i)
        addQuestion(QStringLiteral("a%1").arg(i, 2, 10, QChar('0')), "0201", 61, i);
    for (int i = 0; i < 8; ++i)
        addQuestion(QStringLiteral("b%1").arg(i), "0201", 63, i);
    for (int i = 0; i < 21; ++i)
        addQuestion(QStringLiteral("c%1").arg(i, 2, 10, QChar('0')), "0202", 66, i);
    for (int i = 0; i < 5; ++i)
        addQuestion(QStringLiteral("d%1").arg(i), "0202", 67, i);

    const exam::PaperResult result = makePaper(2);

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(
        column(QStringLiteral("select A13 || ':' || count(*) from %1 group by A13 order by A13")
                   .arg(result.paper.table)),
        (QStringList{"61:50", "63:5", "66:20"}));
}

TEST_F(PaperTest, DiscardedAndUnmarkedQuestionsAreNeverDrawn) {
    addType(5, 64, 6, 5);
    for (int i = 0; i < 3; ++i)
        addQuestion(QStringLiteral("ok%1").arg(i), "0501", 64, 10 + i);
    for (int i = 0; i < 4; ++i)
        addQuestion(QStringLiteral("gone%1").arg(i), "0501", 64, i, 1);
    addQuestion(QStringLiteral("null"), "0501", 64, 0, QVariant());
    addQuestion(QStringLiteral("other"), "0401", 64, 0);

    const exam::PaperResult result = makePaper(5);

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(paperIds(result.paper.table), (QStringList{"ok0", "ok1"}));
}

TEST_F(PaperTest, PaperListsTypesInOrderAndIdsWithinThem) {
    addType(1, 62, 60, 2);
    addType(1, 61, 80, 1);
    for (int i = 0; i < 6; ++i)
        addQuestion(QStringLiteral("m%1").arg(5 - i), "0103", 62, i);
    for (int i = 0; i < 6; ++i)
        addQuestion(QStringLiteral("z%1").arg(5 - i), "0101", 61, i);

    const exam::PaperResult result = makePaper(1, 3);

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    store::Query& rows = dm->Cn1Query_exam;
    ASSERT_TRUE(rows.isActive());
    QStringList seen;
    for (rows.first(); !rows.eof(); rows.next()) {
        seen << QStringLiteral("%1:%2").arg(rows.asInt("A13")).arg(rows.text("A1"));
    }
    EXPECT_EQ(seen, (QStringList{"61:z1", "61:z2", "61:z3", "61:z4", "61:z5", "62:m1", "62:m2",
                                 "62:m3", "62:m4", "62:m5"}));
    // Answers of the bank's session are not carried onto a new paper.
    EXPECT_EQ(column(QStringLiteral("select distinct E2_1 from %1").arg(result.paper.table)),
              QStringList{""});
    // The candidate set stays open, unfiltered, for the exam's progress updates.
    EXPECT_TRUE(dm->Cn1Query_tm.isActive());
    EXPECT_EQ(dm->Cn1Query_tm.recordCount(), 12);
}

TEST_F(PaperTest, ShortTypeIsDrawnAsFarAsItGoes) {
    addType(1, 61, 80, 1);
    addType(1, 62, 60, 2);
    for (int i = 0; i < 5; ++i)
        addQuestion(QStringLiteral("a%1").arg(i), "0101", 61, i);
    addQuestion(QStringLiteral("single"), "0102", 62, 0);

    const exam::PaperResult result = makePaper(1);

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(paperIds(result.paper.table), (QStringList{"a0", "a1", "a2", "a3", "single"}));
}

TEST_F(PaperTest, ConditionQuotesIdsAndListsThemLastDrawnFirst) {
    addQuestion(QStringLiteral("it's"), "0101", 61, 0);
    addQuestion(QStringLiteral("last"), "0101", 61, 9);
    store::Query candidates(&db());
    candidates.setSql(exam::CandidateSql(1));
    candidates.open();
    std::mt19937 random(1);

    const QString condition = exam::PickRandomQuestions(candidates, 61, 80, "01", random);

    EXPECT_EQ(condition, " a.A1='it''s'");
    EXPECT_EQ(candidates.recordCount(), 2);
    db().execute(store::examTableSql(QStringLiteral("tab_exam5")));
    exam::AddQuestionsToPaper(db(), QStringLiteral("tab_exam5"), condition);
    EXPECT_EQ(paperIds("tab_exam5"), QStringList{"it's"});
}

TEST_F(PaperTest, ConditionNamesEachDrawnIdOnceInReverseDrawingOrder) {
    for (int i = 0; i < 4; ++i)
        addQuestion(QStringLiteral("x%1").arg(i), "0101", 61, i);
    store::Query candidates(&db());
    candidates.setSql(exam::CandidateSql(1));
    candidates.open();
    std::mt19937 random(11);

    const QString condition = exam::PickRandomQuestions(candidates, 61, 3, "01", random);

    ASSERT_TRUE(condition.startsWith(" a.A1='")) << condition.toStdString();
    ASSERT_TRUE(condition.endsWith("'"));
    QStringList ids = condition.mid(7).chopped(1).split("' or a.A1='");
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (QStringList{"x0", "x1", "x2"}));
    EXPECT_EQ(exam::PickRandomQuestions(candidates, 62, 3, "01", random), "");
}

TEST_F(PaperTest, SameSeedDrawsTheSamePaper) {
    addType(1, 61, 80, 1);
    for (int i = 0; i < 200; ++i)
        addQuestion(QStringLiteral("r%1").arg(i), "0101", 61, i);

    const exam::PaperResult first = makePaper(1, 1234);
    ASSERT_TRUE(first.ok);
    const QStringList drawn = paperIds(first.paper.table);
    dm->DropExamTable(first.paper.table);
    const exam::PaperResult again = makePaper(1, 1234);
    ASSERT_TRUE(again.ok);

    EXPECT_EQ(drawn.size(), 80);
    EXPECT_EQ(paperIds(again.paper.table), drawn);
    EXPECT_FALSE(drawn.contains("r199"));
}

TEST_F(PaperTest, NoCandidatesLeavesNothingBehind) {
    addType(1, 61, 80, 1);
    addQuestion(QStringLiteral("elsewhere"), "0201", 61, 0);
    const QStringList tables = db().userTables();

    const exam::PaperResult result = makePaper(1);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, exam::kNoQuestions);
    expectNothingLeft(tables, 0);
}

TEST_F(PaperTest, FailedDrawLeavesNothingBehindAndKeepsEarlierPapers) {
    addType(5, 64, 6, 5);
    for (int i = 0; i < 3; ++i)
        addQuestion(QStringLiteral("s%1").arg(i), "0501", 64, i);
    ASSERT_TRUE(makePaper(5).ok);
    // A second explanation row makes the copy break the work table's key.
    db().execute(QStringLiteral("insert into tab_exer (A1,jx) values ('s0','again')"));
    db().execute(QStringLiteral("insert into tab_exer (A1,jx) values ('s1','again')"));
    const QStringList tables = db().userTables();

    const exam::PaperResult result = makePaper(5);

    EXPECT_EQ(result.error, exam::kDrawFailed);
    expectNothingLeft(tables, 1);
}

TEST_F(PaperTest, FailedTableSetUpLeavesNothingBehind) {
    addType(5, 64, 6, 5);
    for (int i = 0; i < 3; ++i)
        addQuestion(QStringLiteral("s%1").arg(i), "0501", 64, i);
    // A stale table of the new paper's name comes back when the paper fails.
    db().execute(store::examTableSql(QStringLiteral("tab_exam1")));
    const QStringList tables = db().userTables();
    exam::PaperOptions options;
    options.fixZeroLength = [](const QString& table, store::Database& db) {
        db.setAllowZeroLength(table, QStringLiteral("NoSuchColumn"));
    };

    const exam::PaperResult result = makePaper(5, 7, options);

    EXPECT_EQ(result.error, exam::kTableFailed);
    expectNothingLeft(tables, 0);
}

TEST_F(PaperTest, EmptyPaperCannotBeOpenedAndLeavesNothingBehind) {
    addType(5, 64, 6, 5);
    addType(5, 61, 6, 5);  // a type the kind never draws
    for (int i = 0; i < 3; ++i)
        addQuestion(QStringLiteral("s%1").arg(i), "0501", 64, i, 0, false);
    addQuestion(QStringLiteral("t"), "0501", 61, 0);
    const QStringList tables = db().userTables();

    const exam::PaperResult result = makePaper(5);

    EXPECT_EQ(result.error, exam::kOpenFailed);
    expectNothingLeft(tables, 0);
}

}  // namespace
