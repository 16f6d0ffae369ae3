#include "BankFixture.h"
#include "DataModule.h"
#include "EffectButton.h"
#include "FakePrompts.h"
#include "Globals.h"
#include "PaperMaker.h"
#include "PictureButtonGroup.h"
#include "QuestionCardWidget.h"
#include "Ubj.h"
#include "Uexam.h"
#include "WindowDriver.h"

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include <sqlite3.h>

namespace {

using practice::AnswerKind;

class ExamWindowTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
        qb::ProgramFolder = QStringLiteral(EXAMSTUDY_APP_DIR "/");
    }
    void TearDown() override { window.reset(); }

    store::Database& db() { return dm->ADOCn1; }
    int scalarInt(const QString& sql, const store::Params& params = {}) {
        return db().scalar(sql, params).toInt();
    }

    void addType(int kind, int id, int b2, double b3) {
        db().execute(
            QStringLiteral("insert into tab_tx%1 (A1,B1,B2,B3) values (?,?,?,?)").arg(kind),
            {{{}, id}, {{}, QStringLiteral("t%1").arg(id)}, {{}, b2}, {{}, b3}});
    }
    // `count` candidates of a type; the draw never takes the last, so the paper
    // gets count - 1 of them.
    void addQuestions(const QString& chapter, int type, int count) {
        store::Transaction tx(db());
        for (int i = 0; i < count; ++i) {
            const QString id = QStringLiteral("q%1_%2").arg(type).arg(i, 3, 10, QLatin1Char('0'));
            db().execute(QStringLiteral("insert into tab_answ (A1,A2,A2_1,A10,A13,E2,E3,E4,F1) "
                                        "values (?,'A',4,?,?,'',?,0,0)"),
                         {{{}, id}, {{}, chapter}, {{}, type}, {{}, i}});
            db().execute(QStringLiteral("insert into tab_exer (A1,A15,jx) values (?,'stem','j')"),
                         {{{}, id}});
        }
        tx.commit();
    }
    void setPlan(int examTime, int leastMark) {
        db().execute(QStringLiteral("update tab_plan set ExamTime=?, LeastMark=?"),
                     {{{}, examTime}, {{}, leastMark}});
    }

    // A kind-1 paper of `size` single choices worth `points` each, shown answering.
    void openSmallPaper(int size, double points = 1) {
        addType(1, 61, 80, points);
        addQuestions(QStringLiteral("010101"), 61, size + 1);
        openPaper(1);
    }
    void openPaper(int kind, const std::function<void(const QString& table)>& beforeOpen = {}) {
        PaperOptions options;
        options.seed = 3;
        const exam::PaperResult made = exam::MakePaper(*dm, kind, options);
        ASSERT_TRUE(made.ok) << made.error.toStdString();
        if (beforeOpen) beforeOpen(made.paper.table);
        window = std::make_unique<exam::TFrmExam>(*dm);
        const exam::PaperState& p = made.paper;
        window->PreparePaper(p.table, p.title, p.mode, p.score, p.timeUsed);
        ASSERT_TRUE(window->OpenPaper());
        window->show();
    }
    using PaperOptions = exam::PaperOptions;

    // The window is driven as a user drives it: by the objectNames of its controls.
    template <class T = QAbstractButton>
    T* find(const QString& name) {
        return FindControl<T>(window.get(), name);
    }
    void click(const QString& name) { ClickControl(window.get(), name); }
    void clickNumber(int number) {
        QTest::mouseClick(window->numbers->buttonAt(number - 1), Qt::LeftButton);
    }
    // Presses option `option` (0 = A) of the single-choice page.
    void choose(int option) {
        QTest::mouseClick(
            window->card()->answers()->optionBar(AnswerKind::SingleChoice)->buttonAt(option),
            Qt::LeftButton);
    }
    int chosen() {
        const practice::AnswerControls c =
            window->card()->answers()->controls(AnswerKind::SingleChoice);
        for (int i = 0; i < 6; ++i)
            if (c.pressed[i]) return i;
        return -1;
    }
    // A clock that moves only when the test says so.
    qint64& fakeClock() {
        window->clock().setSource([this] { return ms; });
        return ms;
    }
    QString table() const { return window->paper().table; }
    int bankAnswers(const QString& id) {
        return scalarInt(QStringLiteral("select E3 from tab_answ where A1=?"), {{{}, id}});
    }
    QString currentId() { return dm->Cn1Query_exam.text(QStringLiteral("A1")); }
    bool tableExists(const QString& name) { return db().hasTable(name); }

    FakePrompts prompts;
    std::unique_ptr<store::TDM1> dm;
    std::unique_ptr<exam::TFrmExam> window;
    qint64 ms = 0;
};

TEST(StudyClock, PausedTimeIsLeftOut) {
    qint64 ms = 0;
    practice::StudyClock clock([&ms] { return ms; });
    ms = 5000;
    EXPECT_EQ(clock.seconds(), 5);
    clock.pause();
    ms = 65000;
    EXPECT_EQ(clock.seconds(), 5);
    clock.resume();
    ms = 67000;
    EXPECT_EQ(clock.text(), "0:00:07");
    ms = 60000 + 3909000;
    EXPECT_EQ(clock.text(), "1:05:09");
    clock.reset();
    EXPECT_EQ(clock.text(), "0:00:00");
}

TEST(ExamTexts, HandInQuestionNamesTheUnansweredCount) {
    EXPECT_EQ(exam::HandInText(0), "恭喜你已经做完试卷，确定要交卷吗？");
    EXPECT_EQ(exam::HandInText(3), "你还有3道题未做，确定要交卷吗？");
    EXPECT_EQ(exam::ShortDecimal(1.0), "1");
    EXPECT_EQ(exam::ShortDecimal(0.5), "0.5");
}

TEST_F(ExamWindowTest, HandInAsksWithNoneLeftOnceEveryQuestionIsAnswered) {
    openSmallPaper(3);
    for (int i = 0; i < 3; ++i) {
        choose(1);
        if (i < 2) click("NextButton");
    }
    prompts.promptAnswer = 3;  // 取消: the exam goes on
    click("HandInButton");
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.last(), "prompt|提示|恭喜你已经做完试卷，确定要交卷吗？|2|0");
    EXPECT_EQ(window->paper().mode, "new");
    EXPECT_TRUE(window->timer.isActive());
}

TEST_F(ExamWindowTest, HandInCountsTheUnansweredOnes) {
    openSmallPaper(4);
    choose(0);
    click("NextButton");
    prompts.promptAnswer = 3;
    click("HandInButton");
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.last(), "prompt|提示|你还有3道题未做，确定要交卷吗？|2|0");
}

TEST_F(ExamWindowTest, HundredQuestionPaperWithoutAnswersIsMarkedNought) {
    for (const auto& [type, count] : {std::pair{61, 50}, {65, 30}, {66, 20}}) {
        addType(2, type, count, 1);
        addQuestions(QStringLiteral("020101"), type, count + 1);
    }
    openPaper(2);
    ASSERT_EQ(dm->Cn1Query_exam.recordCount(), 100);
    prompts.promptAnswer = 1;
    click("HandInButton");
    EXPECT_EQ(prompts.shown.value(0), "prompt|提示|你还有100道题未做，确定要交卷吗？|2|0");
    EXPECT_EQ(window->paper().mode, "old");
    EXPECT_EQ(window->paper().score, 0);
    EXPECT_EQ(
        db().scalar(QStringLiteral("select A6 from tab_cj where A1=?"), {{{}, table()}}).toString(),
        "0");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->clockPages->currentIndex(), 1);
}

TEST_F(ExamWindowTest, ScoreEqualToLeastMarkKeepsThePaper) {
    openSmallPaper(3, 2);
    setPlan(7200, 6);
    for (int i = 0; i < 3; ++i) {
        choose(0);  // the key
        if (i < 2) click("NextButton");
    }
    prompts.promptAnswer = 1;
    click("HandInButton");
    EXPECT_EQ(window->paper().score, 6);
    EXPECT_FALSE(window->paper().belowMinimum);
    const QString name = table();
    click("CloseButton");  // 关闭 in review
    EXPECT_TRUE(tableExists(name));
    EXPECT_EQ(scalarInt(QStringLiteral("select count(*) from tab_cj where A1=?"), {{{}, name}}), 1);
}

TEST_F(ExamWindowTest, ScoreBelowLeastMarkDropsThePaperWhenReviewCloses) {
    openSmallPaper(3, 2);
    setPlan(7200, 7);
    choose(0);
    prompts.promptAnswer = 1;
    click("HandInButton");
    EXPECT_EQ(window->paper().score, 2);
    EXPECT_TRUE(window->paper().belowMinimum);
    const QString name = table();
    EXPECT_TRUE(tableExists(name));
    prompts.shown.clear();
    click("CloseButton");
    // Said before it happens, not found out in the history later.
    EXPECT_EQ(prompts.shown, QStringList{"prompt|提示|" + exam::TFrmExam::kNotKeptText + "|1|0"});
    EXPECT_FALSE(tableExists(name));
    EXPECT_EQ(scalarInt(QStringLiteral("select count(*) from tab_cj where A1=?"), {{{}, name}}), 0);
}

// The window manager's close and the program ending (which frees the window
// without closing it) go the way of "关闭": the answer being given is stored, the
// hand-in is asked where someone can answer, a review below the minimum is dropped.
class ClosingTest : public ExamWindowTest {
  protected:
    void SetUp() override {
        ExamWindowTest::SetUp();
        openSmallPaper(3, 2);
        setPlan(7200, 5);
        click("NextButton");
        second = currentId();
        before = bankAnswers(second);
        name = table();
        choose(0);  // not stored yet: the question was not left
        prompts.shown.clear();
    }
    void windowManagerClose() {
        QCloseEvent event;
        QApplication::sendEvent(window->windowHandle(), &event);
    }
    void expectAnswerStored() {
        EXPECT_EQ(bankAnswers(second), before + 1);
        EXPECT_EQ(scalarInt(QStringLiteral("select count(*) from ") + name +
                            QStringLiteral(" where E2_1='A'")),
                  1);
    }
    QString second, name;
    int before = 0;
};

TEST_F(ClosingTest, WindowManagerCloseHandsInAndDropsABelowMinimumReview) {
    prompts.promptAnswer = 3;  // 取消: the exam goes on
    windowManagerClose();
    EXPECT_EQ(prompts.shown, QStringList{"prompt|提示|" + exam::HandInText(2) + "|2|0"});
    expectAnswerStored();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->timer.isActive());

    prompts.promptAnswer = 1;  // 确定: 2 points, below the minimum of 5
    windowManagerClose();
    ASSERT_EQ(window->paper().mode, "old");
    EXPECT_TRUE(window->isVisible());
    prompts.shown.clear();
    windowManagerClose();
    EXPECT_EQ(prompts.shown, QStringList{"prompt|提示|" + exam::TFrmExam::kNotKeptText + "|1|0"});
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(tableExists(name));
}

TEST_F(ClosingTest, ProgramEndingStoresTheAnswerBeingGiven) {
    window.reset();
    EXPECT_TRUE(prompts.shown.isEmpty());
    expectAnswerStored();
    EXPECT_TRUE(tableExists(name));  // unmarked, not thrown away
}

TEST_F(ExamWindowTest, ReviewBelowMinimumIsDroppedWhenTheProgramEnds) {
    openSmallPaper(3, 2);
    setPlan(7200, 5);
    choose(0);
    prompts.promptAnswer = 1;
    click("HandInButton");
    ASSERT_TRUE(window->paper().belowMinimum);
    const QString name = table();
    prompts.shown.clear();
    window.reset();
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(tableExists(name));
}

TEST_F(ExamWindowTest, ChangesAreCountedOnceWhenTheQuestionIsLeft) {
    openSmallPaper(3);
    const QString first = currentId();
    const int before = bankAnswers(first);
    choose(0);
    choose(1);  // changed while staying: one answer
    click("NextButton");
    EXPECT_EQ(bankAnswers(first), before + 1);
    EXPECT_EQ(scalarInt(QStringLiteral("select count(*) from ") + table() +
                        QStringLiteral(" where E2_1='B'")),
              1);
    click("PreviousButton");
    click("NextButton");  // left unchanged: nothing counted
    EXPECT_EQ(bankAnswers(first), before + 1);
    click("PreviousButton");
    choose(2);
    click("NextButton");
    EXPECT_EQ(bankAnswers(first), before + 2);
}

TEST_F(ExamWindowTest, PauseStopsTheClockAndBlocksInputUntilResumed) {
    openSmallPaper(3);
    EXPECT_FALSE(window->previousButton->isEnabled());
    EXPECT_TRUE(window->nextButton->isEnabled());
    click("PauseButton");
    EXPECT_TRUE(window->clock().paused());
    EXPECT_FALSE(window->timer.isActive());
    EXPECT_FALSE(window->handInButton->isEnabled());
    EXPECT_FALSE(window->numbers->isEnabled());
    EXPECT_FALSE(window->nextButton->isEnabled());
    EXPECT_TRUE(window->pauseCover->isVisible());
    click("PauseButton");
    EXPECT_FALSE(window->clock().paused());
    EXPECT_TRUE(window->timer.isActive());
    EXPECT_TRUE(window->handInButton->isEnabled());
    EXPECT_FALSE(window->previousButton->isEnabled());
    EXPECT_TRUE(window->nextButton->isEnabled());
    EXPECT_FALSE(window->pauseCover->isVisible());
}

// "桌面" minimises every window; what brings the exam back (a restore by the window
// manager, a hide and show) must find it as it was left, in every mode.
TEST_F(ExamWindowTest, MinimiseAndRestoreChangeNothing) {
    const auto minimiseAndRestore = [this] {
        click("DesktopButton");
        window->showNormal();
        QShowEvent restored;
        QSpontaneKeyEvent::setSpontaneous(&restored);
        QApplication::sendEvent(window.get(), &restored);
        window->hide();
        window->show();
    };
    const auto state = [this] {
        return QStringLiteral("%1 %2 %3 chosen %4 timer %5 paused %6 cover %7 clock page %8")
            .arg(window->paper().mode, window->numberLabel->text(), window->clock().text())
            .arg(chosen())
            .arg(window->timer.isActive())
            .arg(window->clock().paused())
            .arg(window->pauseCover->isVisible())
            .arg(window->clockPages->currentIndex());
    };
    openSmallPaper(3);
    fakeClock() = 65000;
    click("NextButton");
    choose(1);  // being given: not stored until the question is left
    const QString answering = state();
    EXPECT_EQ(answering, "new 第2题 0:01:05 chosen 1 timer 1 paused 0 cover 0 clock page 0");
    minimiseAndRestore();
    EXPECT_EQ(state(), answering);

    click("PauseButton");
    const QString paused = state();
    EXPECT_EQ(paused, "new 第2题 0:01:05 chosen 1 timer 0 paused 1 cover 1 clock page 0");
    minimiseAndRestore();
    EXPECT_EQ(state(), paused);
    EXPECT_FALSE(window->numbers->isEnabled());

    click("PauseButton");
    prompts.promptAnswer = 1;
    click("HandInButton");
    click("NextButton");
    const QString review = state();
    EXPECT_EQ(review, "old 第2题 0:00:00 chosen 1 timer 0 paused 0 cover 0 clock page 1");
    minimiseAndRestore();
    EXPECT_EQ(state(), review);
}

// The clock keeps running while the note window is open; a time-out marks and
// reopens the paper on question 1, and the note still goes to its own question.
TEST_F(ExamWindowTest, NoteWrittenThroughATimeOutStaysOnItsQuestion) {
    openSmallPaper(3);
    setPlan(60, 0);
    fakeClock() = 0;
    window->timer.setInterval(5);
    click("NextButton");
    const QString noted = currentId();
    QTimer::singleShot(0, [this] {
        ASSERT_NE(aids::FrmBj, nullptr);
        QTest::keyClicks(aids::FrmBj->findChild<QPlainTextEdit*>("DBMemo1"), "remember");
        ms = 60000;
        EXPECT_TRUE(QTest::qWaitFor([this] { return window->paper().mode == "old"; }, 2000));
        QTest::mouseClick(aids::FrmBj->findChild<QAbstractButton*>("epEfTrBtn1"), Qt::LeftButton);
    });
    click("NoteButton");
    EXPECT_EQ(aids::FrmBj, nullptr);
    EXPECT_EQ(db().scalar(QStringLiteral("select group_concat(A1 || '=' || A14) from ") + table() +
                          QStringLiteral(" where A14 is not null"))
                  .toString(),
              noted + "=remember");
    EXPECT_EQ(window->numberLabel->text(), "第1题");
    EXPECT_EQ(window->noteButton->text(), practice::QuestionCardWidget::kNoteCaption);
}

TEST_F(ExamWindowTest, TimeOutMarksAPaperWithAnAnswer) {
    openSmallPaper(3);
    setPlan(0, 0);
    choose(0);
    window->clockTick();
    EXPECT_EQ(prompts.shown.value(0), "message|提示|很遗憾，考试时间到了！|0|0");
    EXPECT_EQ(window->paper().mode, "old");
    EXPECT_EQ(window->paper().score, 1);
}

TEST_F(ExamWindowTest, FullKindOnePaperWithoutAnswersIsDroppedWithoutAsking) {
    addType(1, 61, 80, 1);
    addType(1, 62, 60, 1);
    addQuestions(QStringLiteral("010101"), 61, 81);
    addQuestions(QStringLiteral("010101"), 62, 61);
    openPaper(1);
    ASSERT_EQ(dm->Cn1Query_exam.recordCount(), exam::TFrmExam::kCapacity);
    const QString name = table();
    click("HandInButton");
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(tableExists(name));
    EXPECT_EQ(scalarInt(QStringLiteral("select count(*) from tab_cj")), 0);
    EXPECT_FALSE(window->isVisible());
}

class DiscardedPaperTest : public ExamWindowTest {
  protected:
    // A 100-question paper with `open` questions left unanswered, after 2:05 of exam,
    // discarded in the hand-in prompt; the day's logged time afterwards.
    QString discardWithOpen(int open) {
        for (const auto& [type, count] : {std::pair{61, 50}, {65, 30}, {66, 20}}) {
            addType(2, type, count, 1);
            addQuestions(QStringLiteral("020101"), type, count + 1);
        }
        openPaper(2);
        choose(0);
        click("NextButton");  // counted: today's log row exists
        db().execute(QStringLiteral("update ") + table() +
                         QStringLiteral(" set E2_1='A' where A1 in (select A1 from ") + table() +
                         QStringLiteral(" order by A13,A1 limit -1 offset ?)"),
                     {{{}, open + 1}});
        fakeClock() = 125000;
        const QString name = table();
        prompts.promptAnswer = 2;  // 作废
        click("HandInButton");
        EXPECT_EQ(prompts.shown.value(0), "prompt|提示|" + exam::HandInText(open) + "|2|0");
        EXPECT_FALSE(tableExists(name));
        EXPECT_FALSE(window->isVisible());
        return db()
            .scalar(QStringLiteral("select D1 from tab_rz where A1=?"), {{{}, dm->todayText()}})
            .toString();
    }
};

TEST_F(DiscardedPaperTest, FortyNineUnansweredLogsTheTimeUsed) {
    EXPECT_EQ(discardWithOpen(49), "00:02:05");
}

TEST_F(DiscardedPaperTest, FiftyUnansweredLogsNoTime) {
    EXPECT_NE(discardWithOpen(50), "00:02:05");
}

TEST_F(ExamWindowTest, LeftAnswerGetsTheAnsweredPicture) {
    openSmallPaper(3);
    choose(1);
    click("NextButton");
    const QImage over(qb::ProgramFolder + QStringLiteral("pic/zemoover.bmp"));
    const QImage normal(qb::ProgramFolder + QStringLiteral("pic/zemoup.bmp"));
    EXPECT_EQ(window->numbers->buttonAt(0)->upPicture().toImage(), over);
    click("NextButton");  // left without an answer
    EXPECT_EQ(window->numbers->buttonAt(1)->upPicture().toImage(), normal);
}

TEST_F(ExamWindowTest, GroupedQuestionShowsTheSharedStemAboveItsOwn) {
    addType(1, 61, 80, 1);
    const QString group = QStringLiteral("G000000000000001");
    db().execute(QStringLiteral("insert into tab_title (A1,A15) values (?,'shared')"),
                 {{{}, group}});
    db().execute(QStringLiteral("insert into tab_answ (A1,A2,A2_1,A10,A13,E2,E3,E4,F1) "
                                "values (?,'A',4,'010101',61,'',0,0,0)"),
                 {{{}, group + "-1"}});
    db().execute(QStringLiteral("insert into tab_exer (A1,A15) values (?,'own')"),
                 {{{}, group + "-1"}});
    addQuestions(QStringLiteral("010101"), 61, 3);
    openPaper(1);
    ASSERT_EQ(currentId(), group + "-1");
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join('\n').toStdString();
    EXPECT_FALSE(window->card()->stem()->lowerCollapsed());
    EXPECT_TRUE(window->card()->stem()->Re1->toPlainText().contains("shared"));
    EXPECT_TRUE(window->card()->stem()->Re2->toPlainText().contains("own"));
    click("NextButton");
    EXPECT_TRUE(window->card()->stem()->lowerCollapsed());
}

// A type without an answer page (none of 61 to 66) keeps the page it finds: the
// window's first page, or the page of the question before; what is pressed on it
// is no answer.
TEST_F(ExamWindowTest, TypeWithoutAnswerPageStoresNothing) {
    addType(1, 61, 80, 1);
    addQuestions(QStringLiteral("010101"), 61, 3);
    addQuestions(QStringLiteral("010101"), 60, 1);
    addQuestions(QStringLiteral("010101"), 77, 1);
    // No kind draws these types: they are put on the paper by hand, first and last.
    openPaper(1, [this](const QString& paper) {
        db().execute(QStringLiteral("insert into ") + paper +
                     QStringLiteral(" (A1,A2,A2_1,A10,A13,E2,E2_1,E3,E4,F1) select A1,A2,A2_1,"
                                    "A10,A13,E2,'',E3,E4,F1 from tab_answ where A13 in (60,77)"));
    });
    practice::AnswerArea* answers = window->card()->answers();
    const auto pressFirstShownOption = [answers] {
        QTest::mouseClick(answers->optionBar(answers->kind())->buttonAt(0), Qt::LeftButton);
    };
    struct Step {
        int number;
        const char* page;
    };
    for (const Step& step : {Step{1, "配伍"}, Step{4, "单选"}}) {
        clickNumber(step.number);
        SCOPED_TRACE(step.number);
        EXPECT_EQ(answers->pageCaption(), QString::fromUtf8(step.page));
        const QString id = currentId();
        const int before = bankAnswers(id);
        pressFirstShownOption();
        clickNumber(step.number == 1 ? 2 : 3);
        EXPECT_EQ(bankAnswers(id), before);
        EXPECT_EQ(db().scalar(QStringLiteral("select E2_1 from ") + table() +
                                  QStringLiteral(" where A1=?"),
                              {{{}, id}})
                      .toString(),
                  "");
    }
    EXPECT_EQ(window->unanswered(), 4);
}

// Answers given in the exam are counted where practice counts them: today's log,
// the chapter and its prefixes, the knowledge point, its entry and its group.
TEST_F(ExamWindowTest, ExamAnswersReachTheLogChapterAndKnowledgePointCounters) {
    for (const char* code : {"01", "0101", "010101"})
        addChapter(db(), QLatin1String(code), 1);
    db().execute(QStringLiteral("insert into tab_fgmc (id) values ('01'),('010101')"));
    db().execute(QStringLiteral("insert into tab_rule (id,ftid) values ('010101','01010101')"));
    addType(1, 61, 80, 1);
    addQuestions(QStringLiteral("010101"), 61, 4);
    db().execute(QStringLiteral("update tab_answ set K3='01010101'"));
    openPaper(1);
    const QString first = currentId();
    choose(1);  // wrong
    click("NextButton");
    const QString second = currentId();
    choose(0);  // right
    click("PreviousButton");
    choose(0);  // put right
    click("NextButton");
    const QString counters = QStringLiteral(
        "select (select A2||'/'||A3||'/'||B1||'/'||B2 from tab_rz where A1=?) || ' ' ||"
        " (select group_concat(C4||'/'||D1||'/'||D2, ' ') from tab_kmmc) || ' ' ||"
        " (select q1||'/'||q2||'/'||q4 from tab_rule) || ' ' ||"
        " (select group_concat(q1||'/'||q2||'/'||q4, ' ') from tab_fgmc)");
    // Three answers on two new questions, one wrong and put right the same day.
    EXPECT_EQ(db().scalar(counters, {{{}, dm->todayText()}}).toString(),
              "3/1/2/0 2/3/1 2/3/1 2/3/1 2/3/1 2/3/1 2/3/1");
    const QString progress = QStringLiteral("select E3||'/'||E4||'/'||E2 from tab_answ where A1=?");
    EXPECT_EQ(db().scalar(progress, {{{}, first}}).toString(), "2/-2/A");
    EXPECT_EQ(db().scalar(progress, {{{}, second}}).toString(), "2/0/A");
}

// The clock running on its timer ends the exam at the exam time, not a second
// before, and the time used is the exam time.
TEST_F(ExamWindowTest, TimeOutComesAtTheExamTimeOnTheRunningClock) {
    openSmallPaper(3);
    setPlan(90 * 60, 0);
    fakeClock() = 0;
    window->timer.setInterval(5);
    choose(0);
    ms = (90 * 60 - 1) * 1000;
    // The clock ticks on its timer; a loaded machine may take a while to run it.
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->clockLabel->text() == "1:29:59"; }, 2000))
        << window->clockLabel->text().toStdString();
    EXPECT_EQ(window->paper().mode, "new");
    ms = 90 * 60 * 1000;
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->paper().mode == "old"; }, 2000));
    EXPECT_EQ(prompts.shown, QStringList{"message|提示|很遗憾，考试时间到了！|0|0"});
    EXPECT_EQ(db().scalar(QStringLiteral("select D2 from tab_cj")).toString(), "1:30:00");
    EXPECT_EQ(db().scalar(QStringLiteral("select A6 from tab_cj")).toDouble(), 1.0);
    EXPECT_EQ(window->usedLabel->text(), "用时：1:30:00");
}

// On the choice pages the keys answer and move: letters press (单选) or toggle
// (多选) options, Enter is "下一题", Backspace "上一题"; not while paused.
TEST_F(ExamWindowTest, KeysAnswerAndMoveOnTheChoicePages) {
    addType(1, 61, 80, 1);
    addType(1, 62, 60, 1);
    addQuestions(QStringLiteral("010101"), 61, 3);
    addQuestions(QStringLiteral("010101"), 62, 3);
    openPaper(1);
    const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(window.get(), k, m);
    };
    key(Qt::Key_B);
    key(Qt::Key_C);
    key(Qt::Key_A, Qt::ControlModifier);  // a chord is no answer
    EXPECT_EQ(chosen(), 2);
    key(Qt::Key_Return);
    EXPECT_EQ(window->numberLabel->text(), "第2题");
    key(Qt::Key_Backspace);
    EXPECT_EQ(window->numberLabel->text(), "第1题");
    EXPECT_EQ(chosen(), 2);  // stored when left, shown again

    click("PauseButton");
    key(Qt::Key_A);
    key(Qt::Key_Return);
    EXPECT_EQ(window->numberLabel->text(), "第1题");
    EXPECT_EQ(chosen(), 2);
    click("PauseButton");

    clickNumber(3);
    EXPECT_EQ(window->card()->answers()->pageCaption(), "多选");
    for (const Qt::Key k : {Qt::Key_A, Qt::Key_C, Qt::Key_A, Qt::Key_D})
        key(k);
    key(Qt::Key_Enter);
    EXPECT_EQ(window->numberLabel->text(), "第4题");
    EXPECT_EQ(db().scalar(QStringLiteral("select group_concat(E2_1, ' ') from (select E2_1 from ") +
                          table() + QStringLiteral(" order by A13, A1)"))
                  .toString(),
              "C  CD ");
}

TEST_F(ExamWindowTest, ReviewDiscardsAQuestionFromTheBankAndUndoes) {
    openSmallPaper(3);
    choose(0);
    prompts.promptAnswer = 1;
    click("HandInButton");
    ASSERT_EQ(window->paper().mode, "old");
    ASSERT_TRUE(window->discardButton->isEnabled());
    const QString id = currentId();
    click("DiscardButton");
    EXPECT_EQ(window->card()->redMarker()->text(), "本题已被您作废！");
    EXPECT_EQ(window->discardButton->text(), exam::TFrmExam::kRestoreCaption);
    EXPECT_EQ(
        db().scalar(QStringLiteral("select F1 || '|' || E2 from tab_answ where A1=?"), {{{}, id}})
            .toString(),
        "1|zero");
    EXPECT_EQ(db().scalar(QStringLiteral("select F1 || '|' || E2 from ") + table() +
                              QStringLiteral(" where A1=?"),
                          {{{}, id}})
                  .toString(),
              "1|zero");
    click("DiscardButton");
    EXPECT_EQ(window->card()->redMarker()->text(), "本题曾被作废，现已被您取消！");
    EXPECT_EQ(scalarInt(QStringLiteral("select F1 from tab_answ where A1=?"), {{{}, id}}), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("select F1 || '|' || E2 from ") + table() +
                              QStringLiteral(" where A1=?"),
                          {{{}, id}})
                  .toString(),
              "0|");
}

TEST_F(ExamWindowTest, ClockContinuesAfterResumeFromWhereItWasPaused) {
    openSmallPaper(3);
    fakeClock() = 10000;
    click("PauseButton");
    ms = 100000;
    window->clockTick();
    EXPECT_EQ(window->clockLabel->text(), "0:00:10");
    click("PauseButton");
    ms = 105000;
    window->clockTick();
    EXPECT_EQ(window->clockLabel->text(), "0:00:15");
}

TEST_F(ExamWindowTest, TimeOutOfABlankFullPaperDropsItAfterTheMessage) {
    addType(1, 61, 80, 1);
    addType(1, 62, 60, 1);
    addQuestions(QStringLiteral("010101"), 61, 81);
    addQuestions(QStringLiteral("010101"), 62, 61);
    openPaper(1);
    setPlan(0, 0);
    const QString name = table();
    window->clockTick();
    EXPECT_EQ(prompts.shown, QStringList{"message|提示|很遗憾，考试时间到了！|0|0"});
    EXPECT_FALSE(tableExists(name));
    EXPECT_EQ(scalarInt(QStringLiteral("select count(*) from tab_cj")), 0);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ExamWindowTest, MenuExamShowsTheMadePaperUntilItIsClosed) {
    addType(1, 61, 80, 1);
    addQuestions(QStringLiteral("010101"), 61, 4);
    QStringList steps;
    exam::setProgressHook({[&steps](const QString& text) { steps << text; },
                           [&steps] { steps << QStringLiteral("hide"); }});
    QString shownTitle;
    int shownQuestions = 0;
    QTimer::singleShot(0, [&] {
        ASSERT_NE(exam::FrmExam, nullptr);
        shownTitle = exam::FrmExam->titleLabel->text();
        shownQuestions = dm->Cn1Query_exam.recordCount();
        prompts.promptAnswer = 2;  // 作废
        QTest::mouseClick(exam::FrmExam->handInButton, Qt::LeftButton);
    });
    exam::StartMockExam(*dm, 1);
    exam::setProgressHook({});
    EXPECT_EQ(shownTitle, exam::PaperTitle(dm->today(), 1, 1));
    EXPECT_EQ(shownQuestions, 3);
    EXPECT_EQ(exam::FrmExam, nullptr);
    EXPECT_EQ(prompts.shown, QStringList{"prompt|提示|" + exam::HandInText(3) + "|2|0"});
    EXPECT_EQ(steps.value(0), "正在初始化数据...");
    EXPECT_EQ(steps.last(), "hide");
    EXPECT_FALSE(tableExists(QStringLiteral("tab_exam1")));
}

TEST_F(ExamWindowTest, AnAnswerWhosePaperRowFailsLeavesBankAndCountersAsTheyWere) {
    openSmallPaper(3);
    const QString first = currentId();
    const int before = bankAnswers(first);
    const QString log = QStringLiteral("select count(*) from tab_rz");
    const int logRows = scalarInt(log);
    // The paper row is the last write of an answer: everything before it must go too.
    db().execute(QStringLiteral("create trigger refuse before update on ") + table() +
                 QStringLiteral(" begin select raise(abort, 'refused'); end"));
    choose(0);
    click("NextButton");
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(bankAnswers(first), before);
    EXPECT_EQ(scalarInt(log), logRows);
    EXPECT_EQ(scalarInt(QStringLiteral("select count(*) from ") + table() +
                        QStringLiteral(" where E2_1 <> ''")),
              0);
}

// A write that fails (the disk full, another program holding the bank) leaves the
// window where it was, with the answer on screen; the next try stores it on its
// own question, and later answers land on theirs.
TEST_F(ExamWindowTest, FailedAnswerWriteKeepsTheQuestionAndIsStoredOnTheNextTry) {
    enum class Failure { Injected, Locked, ReadOnly };
    for (const Failure failure : {Failure::Injected, Failure::Locked, Failure::ReadOnly}) {
        SCOPED_TRACE(static_cast<int>(failure));
        window.reset();
        db().execute(QStringLiteral("delete from tab_answ"));
        db().execute(QStringLiteral("delete from tab_exer"));
        db().execute(QStringLiteral("delete from tab_tx1"));
        openSmallPaper(3);
        QStringList ids;
        for (int n = 1; n <= 3; ++n) {
            dm->Cn1Query_exam.setRecNo(n);
            ids << currentId();
        }
        choose(0);
        click("NextButton");  // question 1: A, stored
        choose(1);
        sqlite3* other = nullptr;
        if (failure == Failure::Injected) {
            db().execute(
                QStringLiteral("create temp trigger full before update on tab_answ "
                               "begin select raise(abort, 'disk full'); end"));
        } else if (failure == Failure::ReadOnly) {
            db().execute(QStringLiteral("pragma query_only=1"));
        } else {
            sqlite3_busy_timeout(db().handle(), 20);
            ASSERT_EQ(sqlite3_open(bankPath.toUtf8().constData(), &other), SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);
        }
        prompts.shown.clear();
        clickNumber(3);
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].startsWith("prompt|错误|")) << prompts.shown[0].toStdString();
        EXPECT_EQ(window->numberLabel->text(), "第2题");
        EXPECT_EQ(window->numbers->pressedIndex(), 1);
        EXPECT_EQ(currentId(), ids[1]);
        EXPECT_EQ(chosen(), 1);
        if (other != nullptr) {
            sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
            sqlite3_close(other);
        } else if (failure == Failure::ReadOnly) {
            db().execute(QStringLiteral("pragma query_only=0"));
        } else {
            db().execute(QStringLiteral("drop trigger full"));
        }
        clickNumber(3);  // the next try
        EXPECT_EQ(window->numberLabel->text(), "第3题");
        choose(2);
        click("PreviousButton");
        const QString answers = QStringLiteral(
            "select group_concat(A1 || '=' || E2_1, ' ') from "
            "(select A1, E2_1 from %1 order by A1)");
        EXPECT_EQ(db().scalar(answers.arg(table())).toString(),
                  ids[0] + "=A " + ids[1] + "=B " + ids[2] + "=C");
        EXPECT_EQ(db().scalar(QStringLiteral("select group_concat(A1 || '=' || E2_1, ' ') from "
                                             "(select A1, E2_1 from tab_answ where E2_1 <> '' "
                                             "order by A1)"))
                      .toString(),
                  ids[0] + "=A " + ids[1] + "=B " + ids[2] + "=C");
    }
}

// Marking that fails brings the window back in the answering mode with every
// answer and the clock going; handing in again marks the paper.
TEST_F(ExamWindowTest, FailedMarkingLeavesThePaperToBeHandedInAgain) {
    openSmallPaper(3);
    choose(0);
    db().execute(
        QStringLiteral("create temp trigger full before update on tab_cj "
                       "begin select raise(abort, 'disk full'); end"));
    prompts.promptAnswer = 1;
    click("HandInButton");
    EXPECT_EQ(prompts.shown.last(), "prompt|错误|发生错误！|1|2");
    EXPECT_EQ(window->paper().mode, "new");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->timer.isActive());
    EXPECT_TRUE(window->handInButton->isEnabled());
    EXPECT_TRUE(db().scalar(QStringLiteral("select A6 from tab_cj")).isNull());

    db().execute(QStringLiteral("drop trigger full"));
    click("HandInButton");
    EXPECT_EQ(window->paper().mode, "old");
    EXPECT_EQ(db().scalar(QStringLiteral("select A6 from tab_cj")).toInt(), 1);
    EXPECT_EQ(window->clockPages->currentIndex(), 1);
}

TEST_F(ExamWindowTest, FailedPaperReturnsToTheMenuWithItsMessageAndNothingLeft) {
    const QStringList tables = db().userTables();
    exam::StartMockExam(*dm, 1);
    EXPECT_EQ(prompts.shown, QStringList{"prompt|错误|" + exam::kNoQuestions + "|1|2"});
    EXPECT_EQ(db().userTables(), tables);
    EXPECT_EQ(scalarInt(QStringLiteral("select count(*) from tab_cj")), 0);
    EXPECT_EQ(exam::FrmExam, nullptr);
}

}  // namespace

namespace {

// "生成文档" writes the reviewed paper into the documents folder and hands it to the
// desktop; when it cannot, it says so and the window stays as it was.
TEST_F(ExamWindowTest, DocumentButtonExportsTheReviewedPaper) {
    openSmallPaper(3);
    EXPECT_FALSE(window->documentButton->isEnabled());
    choose(0);
    prompts.promptAnswer = 1;
    click("HandInButton");
    ASSERT_EQ(window->paper().mode, "old");
    ASSERT_TRUE(window->documentButton->isEnabled());
    clickNumber(2);

    const struct {
        QString folder;
        bool written;
        bool openable;  // a program opens the document
    } cases[] = {
        {dir.path() + QStringLiteral("/documents"), true, true},
        {dir.path() + QStringLiteral("/documents"), true, false},
        {bankPath + QStringLiteral("/not-a-folder"), false, true},
    };
    for (const auto& c : cases) {
        prompts.shown.clear();
        QList<QUrl> opened;
        exam::setExportHooks({[&c] { return c.folder; },
                              [&opened, &c](const QUrl& url) {
                                  opened << url;
                                  return c.openable;
                              }});
        click("DocumentButton");
        if (c.written) {
            ASSERT_EQ(opened.size(), 1);
            EXPECT_TRUE(opened.first().toLocalFile().startsWith(c.folder + QStringLiteral("/") +
                                                                window->paper().title));
            EXPECT_TRUE(QFileInfo::exists(opened.first().toLocalFile()));
            // Where nothing opens it, the candidate is told where it is.
            EXPECT_EQ(prompts.shown.size(), c.openable ? 0 : 1);
            if (!c.openable) {
                EXPECT_TRUE(prompts.shown.value(0).contains(opened.first().toLocalFile()));
            }
        } else {
            EXPECT_TRUE(opened.isEmpty());
            EXPECT_EQ(prompts.shown,
                      QStringList({"message|警告|导出试题发生错误，请退出后重试！|1|0"}));
        }
        EXPECT_EQ(window->currentNumber(), 2);
        EXPECT_EQ(dm->Cn1Query_exam.recNo(), 2);
    }
    exam::setExportHooks({[] { return QString(); }, [](const QUrl&) { return true; }});
}

}  // namespace
