// The statement shapes of the program's SQL dialect, run through the engine.
#include "BankFixture.h"
#include "Filter.h"
#include "JetFunctions.h"
#include "JetSql.h"

using store::Database;
using store::EngineError;
using store::Params;

namespace {

class EngineTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        db.open(bankPath);
    }
    QVariant one(const QString& sql, const Params& params = {}) { return db.scalar(sql, params); }
    Database db;
};

TEST_F(EngineTest, TextFunctionsCountCharactersAndPassNullThrough) {
    EXPECT_EQ(one(QStringLiteral("select Left('010203',4)")).toString(), QStringLiteral("0102"));
    EXPECT_EQ(one(QStringLiteral("select Right('US2026000123',4)")).toString(),
              QStringLiteral("0123"));
    EXPECT_EQ(one(QStringLiteral("select left('会计基础',2)")).toString(), QStringLiteral("会计"));
    EXPECT_EQ(one(QStringLiteral("select len('会计基础')")).toInt(), 4);
    EXPECT_EQ(one(QStringLiteral("select Rtrim('ab  ')")).toString(), QStringLiteral("ab"));
    EXPECT_EQ(one(QStringLiteral("select Rtrim('  ab')")).toString(), QStringLiteral("  ab"));
    EXPECT_TRUE(one(QStringLiteral("select Left(null,2)")).isNull());
    EXPECT_TRUE(one(QStringLiteral("select len(null)")).isNull());
    // A join keyword spelled LEFT is not a function call.
    EXPECT_EQ(one(QStringLiteral("select count(*) from tab_kmmc a left join tab_answ b on "
                                 "a.C1=b.A10"))
                  .toInt(),
              0);
}

// Left and Right cut ASCII text from the engine's bytes and go by characters
// otherwise: both ways must give the same part.
TEST_F(EngineTest, LeftAndRightKeepWholeCharactersWhateverTheText) {
    const struct {
        const char* sql;
        const char* part;
    } cases[] = {
        {"select Left('a会b',2)", "a会"},  {"select Left('ab会',2)", "ab"},
        {"select Right('a会b',2)", "会b"}, {"select Right('会ab',2)", "ab"},
        {"select Left('ab',5)", "ab"},     {"select Right('ab',5)", "ab"},
        {"select Left(12345,2)", "12"},    {"select Right(12345,2)", "45"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(one(QString::fromUtf8(c.sql)).toString(), QString::fromUtf8(c.part)) << c.sql;
    }
    const QVariant none = one(QStringLiteral("select Left('abc',0)"));
    EXPECT_FALSE(none.isNull());
    EXPECT_EQ(none.toString(), QString());
}

// A code prefix such as '01*' is tested as a prefix; every other pattern as a
// pattern, ignoring case. Both must agree with what "like" means.
TEST_F(EngineTest, LikeFilterPrefixesAgreeWithPatterns) {
    const QStringList columns{QStringLiteral("A10")};
    const struct {
        const char* pattern;
        QVariant value;
        bool matches;
    } cases[] = {
        {"01*", QStringLiteral("0101"), true},  {"01%", QStringLiteral("0101"), true},
        {"01*", QStringLiteral("1010"), false}, {"01*", QVariant(), false},
        {"01*", qlonglong{101}, false},         {"10*", qlonglong{101}, true},
        {"01*", QStringLiteral("01\nx"), true}, {"*", QStringLiteral(""), true},
        {"q*", QStringLiteral("Q5"), true},     {"0?*", QStringLiteral("001"), false},
        {"0*1*", QStringLiteral("0x1y"), true}, {"01", QStringLiteral("0101"), false},
    };
    for (const auto& c : cases) {
        const store::RowPredicate like = store::compileFilter(
            QStringLiteral("A10 like '%1'").arg(QLatin1String(c.pattern)), columns);
        EXPECT_EQ(like(QVector<QVariant>{c.value}), c.matches)
            << c.pattern << " " << c.value.toString().toStdString();
    }
}

TEST_F(EngineTest, CintRoundsHalvesToEvenAndRejectsText) {
    EXPECT_EQ(one(QStringLiteral("select CINT('2.5')")).toInt(), 2);
    EXPECT_EQ(one(QStringLiteral("select CINT('3.5')")).toInt(), 4);
    EXPECT_EQ(one(QStringLiteral("select CINT(-2.5)")).toInt(), -2);
    EXPECT_EQ(one(QStringLiteral("select CINT(' 0123')")).toInt(), 123);
    EXPECT_THROW(one(QStringLiteral("select CINT('12a4')")), EngineError);
    EXPECT_THROW(one(QStringLiteral("select CINT('')")), EngineError);
    EXPECT_THROW(one(QStringLiteral("select CINT('40000')")), EngineError);
    EXPECT_FALSE(store::jetCint(QStringLiteral("nan")).value.has_value());
}

TEST_F(EngineTest, UserQuestionNumberingStatementReadsTheHighestSuffix) {
    for (const char* id : {"US20261209000009", "US20261209000011", "1000000000000001"}) {
        db.execute(QStringLiteral("insert into tab_answ (A1) values (:A1)"),
                   {{QStringLiteral("A1"), QString::fromLatin1(id)}});
    }
    EXPECT_EQ(one(QStringLiteral("select MAX(CINT(Right(A1,4))) as r4m from tab_answ where "
                                 "Left(A1,1) = 'U'"))
                  .toInt(),
              11);
}

TEST_F(EngineTest, DeleteStarAndNamedParametersIgnoringCase) {
    db.execute(QStringLiteral("insert into tab_sj(sjbs,cpbs) values(:sjbs,:cpbs)"),
               {{QStringLiteral(":sjbs"), QStringLiteral("UP1")},
                {QStringLiteral("CPBS"), QStringLiteral("P'1")}});
    EXPECT_EQ(one(QStringLiteral("select cpbs from tab_sj where sjbs=:sjbs"),
                  {{QStringLiteral("sjbs"), QStringLiteral("UP1")}})
                  .toString(),
              QStringLiteral("P'1"));
    EXPECT_EQ(db.execute(QStringLiteral("delete * from tab_sj where cpbs='P''1'")), 1);
    EXPECT_EQ(one(QStringLiteral("select count(*) from TAB_SJ")).toInt(), 0);
    EXPECT_THROW(
        db.execute(QStringLiteral("delete * from tab_sj where a=:x"), {{QStringLiteral("y"), 1}}),
        EngineError);
}

TEST_F(EngineTest, ExamWorkTableKeepsEmptyTextApartFromNullAndNotesAsText) {
    db.execute(store::examTableSql(QStringLiteral("tab_exam7")));
    for (const char* column : {"A2", "A14", "E2", "E2_1", "csbs"}) {
        EXPECT_NO_THROW(db.setAllowZeroLength(QStringLiteral("tab_exam7"), QLatin1String(column)));
    }
    EXPECT_THROW(db.setAllowZeroLength(QStringLiteral("tab_exam7"), QStringLiteral("nope")),
                 EngineError);
    db.execute(QStringLiteral("insert into tab_exam7 (A1,E2,A14) values ('q1','','007')"));
    EXPECT_EQ(one(QStringLiteral("select count(*) from tab_exam7 where E2 = ''")).toInt(), 1);
    EXPECT_EQ(one(QStringLiteral("select count(*) from tab_exam7 where E2_1 is null")).toInt(), 1);
    // A note that looks like a number stays exactly what was typed.
    EXPECT_EQ(one(QStringLiteral("select A14 from tab_exam7")).toString(), QStringLiteral("007"));
    EXPECT_THROW(db.execute(QStringLiteral("insert into tab_exam7 (A1) values ('q1')")),
                 EngineError);
}

TEST_F(EngineTest, CatalogueListsAndDropsUserTables) {
    db.execute(store::examTableSql(QStringLiteral("tab_exam1")));
    EXPECT_TRUE(db.userTables().contains(QStringLiteral("tab_exam1")));
    EXPECT_TRUE(db.hasTable(QStringLiteral("TAB_EXAM1")));
    db.dropTable(QStringLiteral("tab_exam1"));
    EXPECT_FALSE(db.hasTable(QStringLiteral("tab_exam1")));
    EXPECT_THROW(db.dropTable(QStringLiteral("tab_exam1")), EngineError);
    for (const QString& t : db.userTables())
        EXPECT_FALSE(t.startsWith(QLatin1String("sqlite_")));
}

TEST_F(EngineTest, FailuresCarryTheEngineMessage) {
    try {
        db.execute(QStringLiteral("select nosuchcolumn from tab_answ"));
        FAIL() << "no exception";
    } catch (const EngineError& e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("nosuchcolumn"))) << e.what();
    }
    EXPECT_THROW(db.execute(QStringLiteral("selec * from tab_answ")), EngineError);
    Database missing;
    EXPECT_THROW(missing.open(dir.path() + QStringLiteral("/none.db")), EngineError);
}

TEST_F(EngineTest, TransactionsRollBackOnExceptionAndNest) {
    try {
        store::Transaction tx(db);
        db.execute(QStringLiteral("insert into tab_sj(sjbs) values('a')"));
        throw std::runtime_error("boom");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(one(QStringLiteral("select count(*) from tab_sj")).toInt(), 0);
    {
        store::Transaction outer(db);
        db.execute(QStringLiteral("insert into tab_sj(sjbs) values('kept')"));
        {
            store::Transaction inner(db);
            db.execute(QStringLiteral("insert into tab_sj(sjbs) values('dropped')"));
        }
        outer.commit();
    }
    EXPECT_EQ(one(QStringLiteral("select group_concat(sjbs) from tab_sj")).toString(),
              QStringLiteral("kept"));
}

// An upgrade reads whole tables of a second bank whose folder may hold any character.
TEST_F(EngineTest, CrossFileInsertFromABankWhosePathHoldsAQuote) {
    const QString folder = dir.path() + QStringLiteral("/升级 O'Brien");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString other = folder + QStringLiteral("/up'grade.db");
    store::createEmptyBank(other);
    {
        Database up;
        up.open(other);
        up.execute(QStringLiteral("insert into tab_kmmc (C1,C2,bh) values ('0101','第一章',1)"));
        up.execute(QStringLiteral("insert into tab_sj (sjbs,cpbs) values ('U1','P1')"));
    }
    const QString quotedPath = QString(other).replace(u'\'', QLatin1String("''"));
    EXPECT_EQ(db.execute(QStringLiteral("insert into tab_kmmc select * from tab_kmmc in '") +
                         quotedPath + u'\''),
              1);
    EXPECT_EQ(one(QStringLiteral("select C2 from tab_kmmc where C1='0101'")).toString(),
              QStringLiteral("第一章"));
    // Inside one transaction several tables come over together, or none does.
    {
        store::Transaction tx(db);
        db.execute(QStringLiteral("insert into tab_sj select * from tab_sj in '") + quotedPath +
                   u'\'');
        db.execute(QStringLiteral("insert into tab_kmmc select * from tab_kmmc in '") + quotedPath +
                   u'\'');
    }
    EXPECT_EQ(one(QStringLiteral("select count(*) from tab_sj")).toInt(), 0);
    EXPECT_EQ(one(QStringLiteral("select count(*) from tab_kmmc")).toInt(), 1);
    // The foreign file is let go afterwards.
    EXPECT_EQ(one(QStringLiteral("select count(*) from pragma_database_list")).toInt(), 1);
    EXPECT_THROW(db.execute(QStringLiteral("insert into tab_sj select * from tab_sj in '") +
                            folder + QStringLiteral("/missing.db'")),
                 EngineError);
}

TEST(JetSqlTest, RewritesOnlyOutsideLiteralsAndFindsTheSingleSource) {
    const auto noAttach = [](const QString&) { return QStringLiteral("x"); };
    EXPECT_EQ(
        store::translateJetSql(QStringLiteral("select 'left(a,1)' , Left(a,1)"), noAttach).sql,
        QStringLiteral("select 'left(a,1)' , jet_left(a,1)"));
    EXPECT_EQ(store::translateJetSql(QStringLiteral("select [my col] from t"), noAttach).sql,
              QStringLiteral("select \"my col\" from t"));
    auto src = store::singleTableSource(QStringLiteral("select a1,a2 from tab_answ where x=1"));
    EXPECT_EQ(src.table, QStringLiteral("tab_answ"));
    src = store::singleTableSource(QStringLiteral(" Select a.a1 from tab_answ a,tab_exer b"));
    EXPECT_TRUE(src.table.isEmpty());
    src = store::singleTableSource(QStringLiteral("select * from tab_exam3 e order by A1"));
    EXPECT_EQ(src.reference, QStringLiteral("e"));
    EXPECT_TRUE(store::singleTableSource(QStringLiteral("update t set a=1")).table.isEmpty());
}

}  // namespace
