// Client-side result sets: cursor, filters, sorting, locate, write-back and clones.
#include "BankFixture.h"
#include "Dataset.h"

using store::EngineError;
using store::Query;
using store::Table;

namespace {

class DatasetTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        db.open(bankPath);
        const char* rows[][5] = {
            {"q1", "A", "010101", "61", "0"}, {"q2", "ACD", "010102", "62", "0"},
            {"q3", "B", "020101", "61", "1"}, {"q4", "C", nullptr, "61", "0"},
            {"Q5", "D", "010201", "65", "2"},
        };
        for (const auto& r : rows) {
            db.execute(QStringLiteral("insert into tab_answ (A1,A2,A10,A13,F1) values (?,?,?,?,?)"),
                       {{{}, QString::fromLatin1(r[0])},
                        {{}, QString::fromLatin1(r[1])},
                        {{}, r[2] ? QVariant(QString::fromLatin1(r[2])) : QVariant()},
                        {{}, QString::fromLatin1(r[3]).toInt()},
                        {{}, QString::fromLatin1(r[4]).toInt()}});
        }
    }
    QStringList ids(store::Dataset& ds) {
        QStringList out;
        for (ds.first(); !ds.eof(); ds.next())
            out << ds.text(QStringLiteral("A1"));
        return out;
    }
    store::Database db;
};

TEST_F(DatasetTest, FiltersInTheProgramsSyntaxAndNullNeverMatches) {
    Query q(&db);
    q.setSql(QStringLiteral("select * from tab_answ order by A1"));
    q.open();
    const auto filtered = [&](const QString& f) {
        q.setFilter(f);
        q.setFiltered(true);
        return ids(q);
    };
    EXPECT_EQ(filtered(QStringLiteral("A13=61 and a10 like '01*' and f1<>1")),
              QStringList({QStringLiteral("q1")}));
    // q4 has no chapter: neither "like" nor "<>" may take it.
    EXPECT_EQ(filtered(QStringLiteral("a10 <> '010101'")),
              QStringList({QStringLiteral("Q5"), QStringLiteral("q2"), QStringLiteral("q3")}));
    EXPECT_EQ(filtered(QStringLiteral("(A13=62 or A13=65) and F1>=2")),
              QStringList({QStringLiteral("Q5")}));
    EXPECT_EQ(filtered(QStringLiteral("A13<62 and A10 like '*0101'")),
              QStringList({QStringLiteral("q1"), QStringLiteral("q3")}));
    EXPECT_EQ(filtered(QStringLiteral("a1='q5'")), QStringList({QStringLiteral("Q5")}));
    EXPECT_EQ(q.recordCount(), 1);
    q.setFiltered(false);
    EXPECT_EQ(q.recordCount(), 5);
    EXPECT_THROW(q.setFilter(QStringLiteral("nosuch=1")), EngineError);
    EXPECT_THROW(q.setFilter(QStringLiteral("A13=61 and")), EngineError);
    EXPECT_THROW(q.setFilter(QStringLiteral("A1 like 'x")), EngineError);
}

TEST_F(DatasetTest, RecordNumbersSortAndLocate) {
    Query q(&db);
    q.setSql(QStringLiteral("select a1,a2,a13 from tab_answ"));
    q.open();
    q.setSort(QStringLiteral("A13 DESC, A1"));
    EXPECT_EQ(ids(q), QStringList({QStringLiteral("Q5"), QStringLiteral("q2"), QStringLiteral("q1"),
                                   QStringLiteral("q3"), QStringLiteral("q4")}));
    q.setRecNo(3);
    EXPECT_EQ(q.recNo(), 3);
    EXPECT_EQ(q.text(QStringLiteral("A1")), QStringLiteral("q1"));
    EXPECT_TRUE(q.locate(QStringLiteral("a1"), QStringLiteral("q5")));
    EXPECT_EQ(q.recNo(), 1);
    EXPECT_FALSE(q.locate(QStringLiteral("a1"), QStringLiteral("q9")));
    EXPECT_EQ(q.recNo(), 1);
    q.last();
    q.next();
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(q.recNo(), 5);
}

TEST_F(DatasetTest, EditsAppendsAndDeletesReachTheFileAtOnce) {
    Query tm(&db);
    tm.setSql(QStringLiteral("select a1,a2,e2,e2_1,e3 from tab_answ where A13=61 order by a1"));
    tm.open();
    ASSERT_TRUE(tm.locate(QStringLiteral("A1"), QStringLiteral("q3")));
    tm.edit();
    tm.setValue(QStringLiteral("E2_1"), QStringLiteral(""));
    tm.setValue(QStringLiteral("e2"), QStringLiteral("B"));
    tm.setValue(QStringLiteral("E3"), 1);
    tm.post();
    EXPECT_EQ(
        db.scalar(QStringLiteral("select e2 || '/' || e3 from tab_answ where a1='q3'")).toString(),
        QStringLiteral("B/1"));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from tab_answ where E2_1=''")).toInt(), 1);

    Table t(&db);
    t.setTableName(QStringLiteral("tab_rz"));
    t.open();
    t.append();
    t.setValue(QStringLiteral("A1"), QStringLiteral("2026-12-09"));
    t.setValue(QStringLiteral("A2"), 1);
    t.post();
    // Defaults of the file come back into the row.
    EXPECT_EQ(t.text(QStringLiteral("D1")), QStringLiteral("00:00:00"));
    EXPECT_EQ(t.recordCount(), 1);
    t.remove();
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from tab_rz")).toInt(), 0);

    Query sums(&db);
    sums.setSql(QStringLiteral("select count(*) as n from tab_answ a, tab_kmmc b"));
    sums.open();
    sums.edit();
    sums.setValue(QStringLiteral("n"), 3);
    EXPECT_THROW(sums.post(), EngineError);
}

TEST_F(DatasetTest, AFailedPostKeepsTheEditsAndARollbackRestoresTheRows) {
    Query tm(&db);
    tm.setSql(QStringLiteral("select a1,e2 from tab_answ order by a1"));
    tm.open();
    tm.edit();
    tm.setValue(QStringLiteral("A1"), QStringLiteral("q2"));  // collides with the key of q2
    EXPECT_THROW(tm.post(), EngineError);
    EXPECT_EQ(tm.state(), store::Dataset::State::Edit);
    EXPECT_EQ(tm.text(QStringLiteral("A1")), QStringLiteral("q2"));
    tm.cancel();
    EXPECT_EQ(tm.text(QStringLiteral("A1")), QStringLiteral("Q5"));

    // A set of unanswered rows: once its first row is answered, running the
    // statement again would give another set. A rollback keeps the set, row by row.
    Query fresh(&db);
    fresh.setSql(QStringLiteral("select a1,e2 from tab_answ where e2 is null order by a1"));
    fresh.open();
    fresh.edit();
    fresh.setValue(QStringLiteral("E2"), QStringLiteral("A"));
    fresh.post();
    fresh.setRecNo(2);
    {
        store::Transaction tx(db);
        fresh.edit();
        fresh.setValue(QStringLiteral("E2"), QStringLiteral("X"));
        fresh.post();
        fresh.append();
        fresh.setValue(QStringLiteral("A1"), QStringLiteral("q9"));
        fresh.post();
        EXPECT_EQ(fresh.recordCount(), 6);
    }  // rolled back
    EXPECT_EQ(ids(fresh), QStringLiteral("Q5,q1,q2,q3,q4").split(u','));
    fresh.setRecNo(2);
    EXPECT_EQ(fresh.text(QStringLiteral("A1")), QStringLiteral("q1"));
    EXPECT_TRUE(fresh.value(QStringLiteral("E2")).isNull());
    fresh.setRecNo(1);
    EXPECT_EQ(fresh.text(QStringLiteral("E2")), QStringLiteral("A"));
}

TEST_F(DatasetTest, ClonesShareRowsButNotTheCursorAndSignalsFollowTheRow) {
    Table t(&db);
    t.setTableName(QStringLiteral("tab_answ"));
    t.setOrderBy(QStringLiteral("A1"));
    t.open();
    int changes = 0;
    QObject::connect(&t, &store::Dataset::currentChanged, [&] { ++changes; });
    auto copy = t.clone();
    copy->last();
    EXPECT_EQ(t.recNo(), 1);
    t.next();
    EXPECT_GE(changes, 1);
    copy->edit();
    copy->setValue(QStringLiteral("A2"), QStringLiteral("F"));
    copy->post();
    t.last();
    EXPECT_EQ(t.text(QStringLiteral("A2")), QStringLiteral("F"));
    t.remove();
    EXPECT_EQ(copy->recordCount(), 4);
}

TEST_F(DatasetTest, ParametersAndEmptyResultsStillNameTheirColumns) {
    Query q(&db);
    q.setSql(QStringLiteral("select * from tab_title where A1=:A1"));
    q.setParam(QStringLiteral("A1"), QStringLiteral("it's"));
    q.open();
    EXPECT_TRUE(q.isEmpty());
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(q.recNo(), 0);
    EXPECT_TRUE(q.hasField(QStringLiteral("a15")));
    EXPECT_THROW(q.value(QStringLiteral("A15")), EngineError);
    q.append();
    q.setValue(QStringLiteral("A1"), QStringLiteral("g1"));
    q.setValue(QStringLiteral("A15"), QByteArray("{\\rtf1 x}"));
    q.post();
    EXPECT_EQ(db.scalar(QStringLiteral("select A15 from tab_title where A1='g1'")).toByteArray(),
              QByteArray("{\\rtf1 x}"));
}

}  // namespace
