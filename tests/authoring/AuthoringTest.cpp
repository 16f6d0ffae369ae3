// Entering and editing questions without windows: ids, what is written, the
// counters, and saves that are all or nothing.
#include "AuthoringFixture.h"

using authoring::QuestionDraft;

namespace {

class EntryTest : public AuthoringTest {};
class EditTest : public AuthoringTest {
  protected:
    void SetUp() override {
        AuthoringTest::SetUp();
        // Points in K3, K5 and K7 with K4 and K6 empty; another question also lists
        // the second point. Every q starts wrong, so that a recount shows.
        addQuestion(kEdited, {QStringLiteral("01010101"), QString(), QStringLiteral("01010102"),
                              QVariant(), QStringLiteral("01010201")});
        addQuestion(QStringLiteral("QX"), {QStringLiteral("01010102")});
        db().execute(QStringLiteral("update tab_rule set q=7"));
        db().execute(QStringLiteral("insert into tab_exer (A1,A15,jx) values (?,'stem','why')"),
                     {{{}, kEdited}});
        db().execute(
            QStringLiteral("update tab_answ set A2='A', A2_1=4, A13=61, ecount=0 where A1=?"),
            {{{}, kEdited}});
    }
    const QString kEdited = QStringLiteral("0101016100000001");
};

TEST_F(EntryTest, UserNumbersRunOverAllUserQuestionsUpTo9999) {
    struct Case {
        QString existing;  // a user question already in another chapter
        QString expected;  // the new id; empty when refused
    } cases[] = {{QString(), QStringLiteral("US01020361400001")},
                 {QStringLiteral("US01010161400999"), QStringLiteral("US0102036141000")},
                 {QStringLiteral("US0101016141234"), QStringLiteral("US0102036141235")},
                 {QStringLiteral("US0101016149999"), QString()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.existing.toStdString());
        db().execute(QStringLiteral("delete from tab_answ"));
        if (!c.existing.isEmpty()) {
            db().execute(QStringLiteral("insert into tab_answ (A1) values (?)"),
                         {{{}, c.existing}});
        }
        const QStringList before = dump();
        const auto id = authoring::SaveNewQuestion(*dm, QStringLiteral("010203"), draft());
        EXPECT_EQ(id.value_or(QString()), c.expected);
        if (c.expected.isEmpty()) {
            EXPECT_EQ(dump(), before);
        }
    }
}

TEST_F(EntryTest, AQuestionIsStoredWithItsChapterParentsAndPointsCounted) {
    const auto id =
        authoring::SaveNewQuestion(*dm, QStringLiteral("010203"),
                                   draft({QStringLiteral("01010101"), QStringLiteral("01010102"),
                                          QStringLiteral("01010201")}));
    ASSERT_TRUE(id);
    EXPECT_EQ(bank(QStringLiteral("select A2||'|'||A2_1||'|'||A10||'|'||A13||'|'||K3||K4||K5||'|'||"
                                  "coalesce(K6,'null')||'|'||F1 from tab_answ where A1=?"),
                   {{{}, *id}}),
              QStringLiteral("A|4|010203|61|010101010101010201010201|null|2"));
    // No explanation: no jx.
    EXPECT_EQ(bank(QStringLiteral(
                       "select count(*) from tab_exer where A1=? and cast(A15 as text)='CPU' and "
                       "jx is null"),
                   {{{}, *id}}),
              QStringLiteral("1"));
    EXPECT_EQ(bank(QStringLiteral("select group_concat(C1||'='||C3, ' ') from "
                                  "(select C1, C3 from tab_kmmc order by C1)")),
              QStringLiteral("0=1 01=1 010=0 0102=1 01020=0 010203=1"));
    EXPECT_EQ(bank(QStringLiteral("select group_concat(q, ' ') from (select q from tab_rule order "
                                  "by ftid)")),
              QStringLiteral("1 1 1"));
    // A chapter and its group count the question once.
    EXPECT_EQ(bank(QStringLiteral("select group_concat(id||'='||q, ' ') from (select id, q from "
                                  "tab_fgmc order by id)")),
              QStringLiteral("01=1 010101=1 010102=1"));
}

// A statement failing half-way leaves every table as it was, for entry and edit.
TEST_F(EditTest, SavesAreAllOrNothing) {
    struct Case {
        const char* failing;
        bool entry;
    } cases[] = {{"tab_fgmc", true}, {"tab_rule", true}, {"tab_rule", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        failUpdatesOf(QLatin1String(c.failing));
        const QStringList before = dump();
        if (c.entry) {
            EXPECT_THROW(authoring::SaveNewQuestion(*dm, QStringLiteral("010203"),
                                                    draft({QStringLiteral("01010101")})),
                         store::EngineError);
        } else {
            authoring::EditedQuestion q = authoring::LoadQuestionForEdit(*dm, kEdited);
            q.draft.stem = QByteArray("new stem");
            EXPECT_THROW(authoring::SaveQuestionEdit(*dm, q), store::EngineError);
        }
        EXPECT_EQ(dump(), before);
        db().execute(QStringLiteral("drop trigger fail_%1").arg(QLatin1String(c.failing)));
    }
}

TEST_F(EditTest, PointsAreCompactedAndEveryPointTouchedIsRecounted) {
    authoring::EditedQuestion q = authoring::LoadQuestionForEdit(*dm, kEdited);
    EXPECT_EQ(q.draft.ftids, (QStringList{QStringLiteral("01010101"), QStringLiteral("01010102"),
                                          QStringLiteral("01010201")}));
    EXPECT_EQ(q.pointLabels.first(), QStringLiteral("数据的表示进制转换    "));
    q.draft.explanationText = QStringLiteral("why");
    authoring::SaveQuestionEdit(*dm, q);
    const QString slotsSql = QStringLiteral(
        "select K3||'/'||K4||'/'||K5||'/'||coalesce(K6,'null')||'/'||coalesce(K12,'null')||'/'||"
        "ecount from tab_answ where A1=?");
    EXPECT_EQ(bank(slotsSql, {{{}, kEdited}}), QStringLiteral("01010101/01010102/01010201///1"));

    // The second point leaves the question: its q counts only QX now.
    q.draft.ftids.removeAt(1);
    authoring::SaveQuestionEdit(*dm, q);
    EXPECT_EQ(bank(slotsSql, {{{}, kEdited}}), QStringLiteral("01010101/01010201////2"));
    EXPECT_EQ(bank(QStringLiteral("select group_concat(ftid||'='||q, ' ') from (select ftid, q "
                                  "from tab_rule order by ftid)")),
              QStringLiteral("01010101=1 01010102=1 01010201=1"));
    EXPECT_EQ(
        bank(QStringLiteral("select count(*) from tab_exer where A1=? and cast(jx as text)='why'"),
             {{{}, kEdited}}),
        QStringLiteral("1"));
}

TEST_F(EditTest, AGroupedQuestionSavesTheStemItsGroupShares) {
    const QString grouped = kEdited + QStringLiteral("-2");
    addQuestion(grouped, {});
    db().execute(QStringLiteral("insert into tab_title (A1,A15) values (?,'old shared')"),
                 {{{}, kEdited}});
    authoring::EditedQuestion q = authoring::LoadQuestionForEdit(*dm, grouped);
    ASSERT_TRUE(q.isGrouped());
    EXPECT_EQ(q.sharedStem, QByteArray("old shared"));
    q.sharedStem = QByteArray("new shared");
    authoring::SaveQuestionEdit(*dm, q);
    EXPECT_EQ(bank(QStringLiteral("select A15 from tab_title where A1=?"), {{{}, kEdited}}),
              QStringLiteral("new shared"));
}

}  // namespace
