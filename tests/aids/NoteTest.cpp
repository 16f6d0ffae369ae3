// What the note window writes: A14 of the caller's current row, as typed, and
// what qb::NoteFilled becomes.
#include "AidsFixture.h"

#include "InputMethods.h"
#include "Notes.h"

namespace {

using NoteTest = AidsTest;

TEST_F(NoteTest, SavesTheNoteAsTypedIntoTheCurrentRowOnly) {
    store::Query& set = practiceSet(3);
    aids::NoteBinding note;
    ASSERT_TRUE(note.Bind(set, QStringLiteral("A14")));
    EXPECT_EQ(set.state(), store::Dataset::State::Edit);
    EXPECT_EQ(note.text(), QString());

    const QString typed = QStringLiteral("它说\"选C\"，don't 忘记'单引号'；\n第二行 -- ;drop");
    note.Save(typed);
    EXPECT_EQ(storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q3")).toString(), typed);
    EXPECT_TRUE(storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q1")).isNull());
    EXPECT_EQ(storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q2")).toString(),
              QStringLiteral("已有的笔记"));
    EXPECT_TRUE(qb::NoteFilled);
    // The caller's set shows the new note without reading the file again.
    EXPECT_EQ(set.state(), store::Dataset::State::Browse);
    EXPECT_EQ(set.recNo(), 3);
    EXPECT_EQ(set.text(QStringLiteral("A14")), typed);
}

TEST_F(NoteTest, AnExamNoteStaysInThePapersWorkTable) {
    store::Query& paper = examPaper();
    aids::NoteBinding note;
    ASSERT_TRUE(note.Bind(paper, QStringLiteral("A14")));
    note.Save(QStringLiteral("考试时的笔记"));
    EXPECT_EQ(storedNote(QStringLiteral("tab_exam1"), QStringLiteral("Q1")).toString(),
              QStringLiteral("考试时的笔记"));
    EXPECT_TRUE(storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q1")).isNull());
    EXPECT_TRUE(qb::NoteFilled);
}

TEST_F(NoteTest, BlankAndEmptyNotesAreSavedButDoNotCountAsWritten) {
    store::Query& set = practiceSet(2);
    aids::NoteBinding note;
    ASSERT_TRUE(note.Bind(set, QStringLiteral("A14")));
    EXPECT_EQ(note.text(), QStringLiteral("已有的笔记"));

    qb::NoteFilled = true;
    note.Save(QStringLiteral("   "));
    EXPECT_EQ(storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q2")).toString(),
              QStringLiteral("   "));
    EXPECT_FALSE(qb::NoteFilled);
    EXPECT_EQ(aids::NoteButtonCaption(qb::NoteFilled), QStringLiteral("笔记"));

    ASSERT_TRUE(note.Bind(set, QStringLiteral("A14")));
    note.Save(QString());
    const QVariant cleared = storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q2"));
    EXPECT_FALSE(cleared.isNull());
    EXPECT_EQ(cleared.toString(), QString());
    EXPECT_FALSE(qb::NoteFilled);
}

TEST_F(NoteTest, ANoteClosedUntouchedIsLeftAsItWas) {
    aids::NoteBinding note;
    ASSERT_TRUE(note.Bind(practiceSet(1), QStringLiteral("A14")));
    note.Save(note.text());
    EXPECT_TRUE(storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q1")).isNull());
    EXPECT_FALSE(qb::NoteFilled);

    ASSERT_TRUE(note.Bind(practiceSet(2), QStringLiteral("A14")));
    note.Save(note.text());
    EXPECT_EQ(storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q2")).toString(),
              QStringLiteral("已有的笔记"));
    EXPECT_TRUE(qb::NoteFilled);
    EXPECT_EQ(aids::NoteButtonCaption(qb::NoteFilled), QStringLiteral("有内容"));
}

TEST_F(NoteTest, NothingIsBoundWithoutARowOrTheColumn) {
    aids::NoteBinding note;
    EXPECT_FALSE(note.Bind(dm->Cn1Query_tm, QStringLiteral("A14")));  // never opened

    dm->Cn1Query_tm.setSql(QStringLiteral("select * from tab_answ where A1='none'"));
    dm->Cn1Query_tm.open();
    EXPECT_FALSE(note.Bind(dm->Cn1Query_tm, QStringLiteral("A14")));

    EXPECT_FALSE(note.Bind(practiceSet(1), QStringLiteral("no_such_column")));
    EXPECT_FALSE(note.isBound());
    EXPECT_EQ(dm->Cn1Query_tm.state(), store::Dataset::State::Browse);
    qb::NoteFilled = true;
    note.Save(QString());
    EXPECT_FALSE(qb::NoteFilled);
}

TEST(InputMethodTest, IntelligentAbcIsPreferredThenWubiElseTheCurrentOne) {
    const QString abc = QStringLiteral("智能ABC输入法");
    const QString wubi = QStringLiteral("五笔字型输入法");
    EXPECT_EQ(aids::PreferredNoteInputMethod({wubi, QStringLiteral("微软拼音"), abc}), abc);
    EXPECT_EQ(aids::PreferredNoteInputMethod({QStringLiteral("微软拼音"), wubi}), wubi);
    EXPECT_EQ(aids::PreferredNoteInputMethod({QStringLiteral("微软拼音")}), QString());
    EXPECT_EQ(aids::PreferredNoteInputMethod(aids::InstalledInputMethods()), QString());
}

}  // namespace
