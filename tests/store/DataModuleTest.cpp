// The counters kept with every answer, session times and the paper helpers.
#include "BankFixture.h"
#include "Globals.h"

using qb::kNo;
using qb::kYes;
using store::TDM1;

namespace {

class DataModuleTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
        db = &dm->ADOCn1;
    }
    QVariant one(const QString& sql) { return db->scalar(sql); }
    QString rzRow() {
        return one(QStringLiteral("select A2||','||A3||','||B1||','||B2 from tab_rz where "
                                  "A1='2026-12-09'"))
            .toString();
    }
    std::unique_ptr<TDM1> dm;
    store::Database* db = nullptr;
};

TEST_F(DataModuleTest, FirstAnswerOfTheDayCreatesTheLogRow) {
    dm->RecordDailyAnswer(kYes, kYes, kYes);
    EXPECT_EQ(rzRow(), QStringLiteral("1,1,1,1"));
}

TEST_F(DataModuleTest, WrongThenRightOnOneDayCountsOneQuestionNoLongerWrong) {
    dm->RecordDailyAnswer(kYes, kYes, kYes);  // first answer, wrong
    dm->RecordDailyAnswer(kNo, kNo, kYes);    // same question again, now right
    EXPECT_EQ(rzRow(), QStringLiteral("2,1,1,0"));
    dm->RecordDailyAnswer(kYes, kNo, kYes);  // another question, right at once
    dm->RecordDailyAnswer(kNo, kYes, kNo);   // ...and then wrong
    EXPECT_EQ(rzRow(), QStringLiteral("4,2,2,1"));
    // Another day gets its own row.
    dm->setTodayProvider([] { return QDate(2026, 12, 10); });
    dm->RecordDailyAnswer(kYes, kNo, kYes);
    EXPECT_EQ(one(QStringLiteral("select count(*) from tab_rz")).toInt(), 2);
}

TEST_F(DataModuleTest, ChapterAnswerCountsTheCodeAndEveryPrefixThatExists) {
    for (const char* code : {"0", "01", "010", "0102", "010203", "0103", "02"}) {
        addChapter(*db, QLatin1String(code), 1);
    }
    dm->RecordChapterAnswer(QStringLiteral("010203"), kYes, kYes);
    dm->RecordChapterAnswer(QStringLiteral("010203"), kNo, kNo);
    const auto counts = [&](const char* code) {
        return db
            ->scalar(QStringLiteral("select C4||','||D1||','||D2 from tab_kmmc where C1=?"),
                     {{{}, QLatin1String(code)}})
            .toString();
    };
    for (const char* code : {"0", "01", "010", "0102", "010203"}) {
        EXPECT_EQ(counts(code), QStringLiteral("1,2,1")) << code;
    }
    EXPECT_EQ(counts("0103"), QStringLiteral("0,0,0"));
    EXPECT_EQ(counts("02"), QStringLiteral("0,0,0"));
}

TEST_F(DataModuleTest, KnowledgePointCountersUseBoundIdsAndShortIds) {
    db->execute(QStringLiteral("insert into tab_rule (id,ftid) values ('0101',  '0101')"));
    db->execute(QStringLiteral("insert into tab_rule (id,ftid) values ('010101','01010101')"));
    db->execute(QStringLiteral("insert into tab_rule (id,ftid) values ('010101','0101''x')"));
    for (const char* id : {"01", "0101", "010101"}) {
        db->execute(QStringLiteral("insert into tab_fgmc (id) values (?)"),
                    {{{}, QLatin1String(id)}});
    }
    db->execute(
        QStringLiteral("insert into tab_answ (A1,K3,K4,K5,K6) values "
                       "('q1','0101','01010101','',' 0101''x')"));
    store::Query row(db);
    row.setSql(QStringLiteral("select * from tab_answ"));
    row.open();
    const store::KnowledgePointLists lists = store::KnowledgePointListsOf(row);
    // K5 is empty: K6 is never reached.
    EXPECT_EQ(lists.ftids, QStringList({QStringLiteral("0101"), QStringLiteral("01010101")}));
    dm->RecordKnowledgePointAnswer(lists, kYes, kYes);
    dm->RecordKnowledgePointAnswer(lists, kNo, kNo);
    const auto q = [&](const char* sql) { return one(QLatin1String(sql)).toString(); };
    EXPECT_EQ(q("select q1||q2||q4 from tab_rule where ftid='0101'"), QStringLiteral("121"));
    EXPECT_EQ(q("select q1||q2||q4 from tab_rule where ftid='01010101'"), QStringLiteral("121"));
    EXPECT_EQ(q("select q1||q2||q4 from tab_rule where ftid='0101''x'"), QStringLiteral("000"));
    // A short id names its group and itself as catalogue entries.
    EXPECT_EQ(q("select q1||q2||q4 from tab_fgmc where id='0101'"), QStringLiteral("121"));
    EXPECT_EQ(q("select q1||q2||q4 from tab_fgmc where id='01'"), QStringLiteral("121"));
    EXPECT_EQ(q("select q1||q2||q4 from tab_fgmc where id='010101'"), QStringLiteral("121"));
    dm->RecordKnowledgePointAnswer({}, kYes, kYes);  // a question without points
    EXPECT_EQ(q("select sum(q2) from tab_rule"), QStringLiteral("4"));
}

TEST(DurationTest, ParsesAndAddsLikeTheLogKeepsThem) {
    using store::FormatDuration;
    using store::ParseDuration;
    EXPECT_EQ(FormatDuration(ParseDuration(QStringLiteral("01:59:30")) +
                             ParseDuration(QStringLiteral("0:00:45"))),
              QStringLiteral("02:00:15"));
    EXPECT_EQ(FormatDuration(ParseDuration(QStringLiteral("99:59:59")) +
                             ParseDuration(QStringLiteral("0:00:01"))),
              QStringLiteral("100:00:00"));
    EXPECT_EQ(ParseDuration(QString()), 0);
    EXPECT_EQ(ParseDuration(QStringLiteral("90")), 0);
    EXPECT_EQ(ParseDuration(QStringLiteral("1:30")), 5400);
    EXPECT_EQ(ParseDuration(QStringLiteral("0:0:0759")), 7);  // two characters of seconds
    EXPECT_THROW(ParseDuration(QStringLiteral("a:00:00")), store::ConversionError);
    EXPECT_THROW(ParseDuration(QStringLiteral("1::00")), store::ConversionError);
    EXPECT_EQ(store::CorrectRate(3, 1), QStringLiteral("66.67"));
    EXPECT_EQ(store::CorrectRate(0, 0), QStringLiteral("0"));
    EXPECT_EQ(store::CorrectRate(4, 4), QStringLiteral("0.00"));
}

TEST_F(DataModuleTest, ClosingASessionAddsTimeAndRefreshesEveryChapterScore) {
    // Time before the day's first answer counts too: the row is made for it.
    dm->CloseStudySession(QStringLiteral("0:10:00"));
    EXPECT_EQ(one(QStringLiteral("select A2||'/'||A4||'/'||D1 from tab_rz")).toString(),
              QStringLiteral("0/0/00:10:00"));
    dm->CloseStudySession(QStringLiteral("0:00:00"));
    EXPECT_EQ(one(QStringLiteral("select count(*) from tab_rz")).toInt(), 1);
    db->execute(QStringLiteral("delete from tab_rz"));

    dm->RecordDailyAnswer(kYes, kYes, kYes);
    dm->RecordDailyAnswer(kYes, kNo, kYes);
    dm->RecordDailyAnswer(kYes, kNo, kYes);
    db->execute(QStringLiteral("update tab_rz set D1='01:59:30'"));
    for (int i = 1; i <= 3; ++i)
        addChapter(*db, QStringLiteral("010%1").arg(i), i);
    db->execute(QStringLiteral("update tab_kmmc set D1=3, D2=1"));
    dm->Cn1Table_kmmc.close();
    dm->Cn1Table_rz.close();
    TDM1::ensureOpen(dm->Cn1Table_kmmc);
    dm->Cn1Table_kmmc.last();  // the current row is the last one
    dm->CloseStudySession(QStringLiteral("0:00:45"));
    EXPECT_EQ(one(QStringLiteral("select D1||' '||A4 from tab_rz")).toString(),
              QStringLiteral("02:00:15 66.67"));
    EXPECT_EQ(one(QStringLiteral("select group_concat(C6) from tab_kmmc")).toString(),
              QStringLiteral("66.67,66.67,66.67"));
    EXPECT_EQ(dm->Cn1Table_kmmc.recNo(), 3);
}

// Other windows write the counters with plain SQL while the shared tables are open:
// every count starts from what the file holds, and the tables show it afterwards.
TEST_F(DataModuleTest, CountersAddToTheFileNotToTheRowsReadBefore) {
    addChapter(*db, QStringLiteral("01"), 1);
    addChapter(*db, QStringLiteral("0101"), 2);
    db->execute(QStringLiteral("insert into tab_fgmc (id,q2) values ('01',0),('010101',0)"));
    dm->RecordDailyAnswer(kYes, kNo, kYes);
    for (store::Table* shared : {&dm->Cn1Table_kmmc, &dm->Cn1Table_fgmc, &dm->Cn1Table_rz})
        TDM1::ensureOpen(*shared);
    dm->Cn1Table_kmmc.last();
    db->execute(QStringLiteral("update tab_kmmc set D1=10, D2=4, C4=7"));
    db->execute(QStringLiteral("update tab_fgmc set q2=5"));
    db->execute(QStringLiteral("update tab_rz set A2=20, A3=2, B1=9, B2=1"));

    dm->RecordChapterAnswer(QStringLiteral("0101"), kYes, kYes);
    dm->RecordKnowledgePointAnswer(
        {{QStringLiteral("01010101")}, {QStringLiteral("010101")}, {QStringLiteral("01")}}, kNo,
        kNo);
    dm->RecordDailyAnswer(kYes, kYes, kYes);
    EXPECT_EQ(one(QStringLiteral("select group_concat(C4||','||D1||','||D2,'/') from tab_kmmc")),
              QStringLiteral("8,11,5/8,11,5"));
    EXPECT_EQ(one(QStringLiteral("select group_concat(q2) from tab_fgmc")), QStringLiteral("6,6"));
    EXPECT_EQ(rzRow(), QStringLiteral("21,3,10,2"));
    // The shared tables show the file, and the chapters keep their current row.
    EXPECT_EQ(dm->Cn1Table_kmmc.recNo(), 2);
    EXPECT_EQ(dm->Cn1Table_kmmc.asInt(QStringLiteral("D1")), 11);
    ASSERT_TRUE(dm->Cn1Table_fgmc.locate(QStringLiteral("id"), QStringLiteral("01")));
    EXPECT_EQ(dm->Cn1Table_fgmc.asInt(QStringLiteral("q2")), 6);
    EXPECT_EQ(dm->Cn1Table_rz.asInt(QStringLiteral("A2")), 21);
}

TEST_F(DataModuleTest, FullMarkRoundsEachFactorHalfToEven) {
    db->execute(
        QStringLiteral("insert into tab_tx2 (A1,B2,B3) values (61,40,0.5),(62,20,1.5),"
                       "(65,10,2.5),(66,0,3)"));
    dm->Cn1Table_tx.setTableName(QStringLiteral("tab_tx2"));
    // 40*0 + 20*2 + 10*2 + 0*3
    EXPECT_EQ(dm->TypeScoreTotal(), 60);
}

TEST_F(DataModuleTest, DropExamTableRemovesOnlyPaperTablesThatExist) {
    db->execute(store::examTableSql(QStringLiteral("tab_exam1")));
    db->execute(
        QStringLiteral("insert into tab_cj (A1,A3_1) values ('tab_exam1',1),"
                       "('tab_exam2',2),('tab_answ',3)"));
    dm->DropExamTable(QStringLiteral("tab_exam2"));  // row but no table
    dm->DropExamTable(QStringLiteral("tab_answ"));   // not a paper's table
    dm->DropExamTable(QStringLiteral("tab_exam1; drop table tab_answ"));
    EXPECT_TRUE(db->hasTable(QStringLiteral("tab_answ")));
    EXPECT_EQ(one(QStringLiteral("select count(*) from tab_cj")).toInt(), 3);
    dm->DropExamTable(QStringLiteral("tab_exam1"));
    EXPECT_FALSE(db->hasTable(QStringLiteral("tab_exam1")));
    EXPECT_EQ(
        one(QStringLiteral("select group_concat(A1) from (select A1 from tab_cj order by A3_1)"))
            .toString(),
        QStringLiteral("tab_exam2,tab_answ"));
}

TEST_F(DataModuleTest, TheCurrentChapterRowGivesThePracticeHeading) {
    addChapter(*db, QStringLiteral("01"), 2, QStringLiteral("第一科"));
    addChapter(*db, QStringLiteral("0101"), 1, QStringLiteral("第一章 总论"));
    TDM1::ensureOpen(dm->Cn1Table_kmmc);
    EXPECT_EQ(qb::CurrentChapterTitle, QStringLiteral("第一章 总论"));  // ordered by bh
    dm->Cn1Table_kmmc.next();
    EXPECT_EQ(qb::CurrentChapterTitle, QStringLiteral("第一科"));
    EXPECT_TRUE(qb::ProgramFolder.endsWith(u'/'));
}

}  // namespace
