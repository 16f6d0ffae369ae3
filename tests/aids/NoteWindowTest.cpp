// The note window: every way of closing saves what was typed, a note that cannot
// be saved keeps the window open with its text.
#include "AidsFixture.h"

#include "app/FakePrompts.h"

#include "Ubj.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

namespace {

using NoteWindowTest = AidsTest;

QPlainTextEdit* memo(QWidget& w) {
    return w.findChild<QPlainTextEdit*>(QStringLiteral("DBMemo1"));
}
// Chinese arrives from the input method as committed text, not as key strokes.
void typeChinese(QWidget* w, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(w, &commit);
}

QAbstractButton* closeButton(QWidget& w) {
    return w.findChild<QAbstractButton*>(QStringLiteral("epEfTrBtn1"));
}

TEST_F(NoteWindowTest, TypedNoteIsSavedByTheCloseButtonOfAModalShowing) {
    practiceSet(2);
    QTimer::singleShot(0, [] {
        ASSERT_NE(aids::FrmBj, nullptr);
        QPlainTextEdit* m = memo(*aids::FrmBj);
        EXPECT_EQ(m->toPlainText(), QStringLiteral("已有的笔记"));
        typeChinese(m, QStringLiteral("：补充"));
        QTest::keyClicks(m, QStringLiteral("\"it's\" "));
        typeChinese(m, QStringLiteral("要点'二'"));
        QTest::mouseClick(closeButton(*aids::FrmBj), Qt::LeftButton);
    });
    EXPECT_TRUE(aids::TFrmBj::Open(*dm, aids::NoteOrigin::Practice));
    EXPECT_EQ(storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q2")).toString(),
              QStringLiteral("已有的笔记：补充\"it's\" 要点'二'"));
    EXPECT_EQ(aids::FrmBj, nullptr);
}

TEST_F(NoteWindowTest, LooksAsDesignedAndTagsItsOrigin) {
    practiceSet(1);
    aids::TFrmBj practice(*dm, aids::NoteOrigin::Practice);
    EXPECT_EQ(practice.windowTitle(), QStringLiteral("笔记"));
    EXPECT_EQ(practice.size(), QSize(392, 353));
    EXPECT_EQ(closeButton(practice)->text(), QStringLiteral("关  闭"));
    auto* label = practice.findChild<QLabel*>(QStringLiteral("Label1"));
    EXPECT_EQ(label->text(), QStringLiteral("lx"));
    practice.show();
    EXPECT_FALSE(label->isVisible());
    EXPECT_EQ(memo(practice)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(practice.inputMethod().isEmpty());  // no Chinese input method here
    EXPECT_TRUE(practice.rect().contains(closeButton(practice)->geometry()));
    EXPECT_TRUE(practice.rect().contains(memo(practice)->geometry()));
    practice.close();

    examPaper();
    aids::TFrmBj exam(*dm, aids::NoteOrigin::Exam);
    EXPECT_EQ(exam.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("ks"));
}

TEST_F(NoteWindowTest, EscapeAndTheCloseBoxSaveToo) {
    examPaper();
    {
        aids::TFrmBj window(*dm, aids::NoteOrigin::Exam);
        window.show();
        memo(window)->setPlainText(QStringLiteral("按了Esc"));
        QTest::keyClick(memo(window), Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible());
    }
    EXPECT_EQ(storedNote(QStringLiteral("tab_exam1"), QStringLiteral("Q1")).toString(),
              QStringLiteral("按了Esc"));
    EXPECT_TRUE(qb::NoteFilled);
    {
        aids::TFrmBj window(*dm, aids::NoteOrigin::Exam);
        window.show();
        EXPECT_EQ(memo(window)->toPlainText(), QStringLiteral("按了Esc"));
        memo(window)->setPlainText(QStringLiteral("  "));
        EXPECT_TRUE(window.close());
    }
    EXPECT_EQ(storedNote(QStringLiteral("tab_exam1"), QStringLiteral("Q1")).toString(),
              QStringLiteral("  "));
    EXPECT_FALSE(qb::NoteFilled);
    EXPECT_TRUE(storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q1")).isNull());
}

TEST_F(NoteWindowTest, ClosingWithoutTypingChangesNothing) {
    practiceSet(1);
    qb::NoteFilled = true;
    QTimer::singleShot(0, [] { QTest::mouseClick(closeButton(*aids::FrmBj), Qt::LeftButton); });
    EXPECT_FALSE(aids::TFrmBj::Open(*dm, aids::NoteOrigin::Practice));
    EXPECT_TRUE(storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q1")).isNull());
}

TEST_F(NoteWindowTest, ANoteThatCannotBeSavedKeepsTheWindowOpenWithItsText) {
    FakePrompts prompts;
    practiceSet(3);
    refuseWrites(QStringLiteral("tab_answ"));
    aids::TFrmBj window(*dm, aids::NoteOrigin::Practice);
    window.show();
    memo(window)->setPlainText(QStringLiteral("很长的一段笔记，不能丢"));

    QTest::mouseClick(closeButton(window), Qt::LeftButton);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.close());
    QTest::keyClick(memo(window), Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(memo(window)->toPlainText(), QStringLiteral("很长的一段笔记，不能丢"));
    EXPECT_EQ(dm->Cn1Query_tm.state(), store::Dataset::State::Edit);
    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_TRUE(prompts.shown[0].startsWith(QStringLiteral("prompt|错误|")));
    EXPECT_TRUE(prompts.shown[0].endsWith(QStringLiteral("|1|2")));
    EXPECT_FALSE(qb::NoteFilled);

    allowWrites();
    QTest::mouseClick(closeButton(window), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(storedNote(QStringLiteral("tab_answ"), QStringLiteral("Q3")).toString(),
              QStringLiteral("很长的一段笔记，不能丢"));
    EXPECT_TRUE(qb::NoteFilled);
}

TEST_F(NoteWindowTest, WithoutARowTheMemoIsReadOnlyAndClosesQuietly) {
    FakePrompts prompts;
    dm->Cn1Query_tm.setSql(QStringLiteral("select * from tab_answ where A1='none'"));
    dm->Cn1Query_tm.open();
    qb::NoteFilled = true;
    aids::TFrmBj window(*dm, aids::NoteOrigin::Practice);
    window.show();
    EXPECT_TRUE(memo(window)->isReadOnly());
    EXPECT_FALSE(memo(window)->testAttribute(Qt::WA_InputMethodEnabled));
    QTest::keyClicks(memo(window), QStringLiteral("abc"));
    EXPECT_EQ(memo(window)->toPlainText(), QString());
    QTest::mouseClick(closeButton(window), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(qb::NoteFilled);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

}  // namespace
