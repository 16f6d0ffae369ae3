// The chapter practice window driven like a user would: by objectNames, clicks and
// keys, on tiny banks, with a prompt service that records instead of showing.
#include "BankFixture.h"
#include "EffectButton.h"
#include "FakePrompts.h"
#include "FlatButton.h"
#include "Gauge.h"
#include "Globals.h"
#include "NumberDisplay.h"
#include "PictureButtonGroup.h"
#include "Pictures.h"
#include "PracticeLauncher.h"
#include "ProgramEnd.h"
#include "QuestionCardWidget.h"
#include "Ulxxt.h"
#include "WindowDriver.h"
#include "WindowHooks.h"

#include <sqlite3.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using practice::AnswerKind;
using practice::TFrmLxxt;

namespace {

const QString kChapter = QStringLiteral("010101");
const QString kGroupChapter = QStringLiteral("010102");

// The bank: 45 new questions in chapter 010101 (30 single choice, 10 multiple
// choice, 4 fill-in, 1 true/false, all on one knowledge point) and, in 010102, a
// single-choice question and three questions of two groups.
class PracticeWindowTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        ASSERT_TRUE(picgen::writePictures(dir.path() + QStringLiteral("/pic")).isEmpty());
        dm = openModule();
        store::Database& db = dm->ADOCn1;
        addChapter(db, QStringLiteral("01"), 1);
        addChapter(db, QStringLiteral("0101"), 2);
        addChapter(db, kChapter, 3, QStringLiteral("组成　数据的表示"));
        addChapter(db, kGroupChapter, 4);
        db.execute(QStringLiteral("insert into tab_fgmc (id) values ('01'),('010101')"));
        db.execute(QStringLiteral("insert into tab_rule (id,ftid) values ('010101','01010101')"));
        db.execute(
            QStringLiteral("insert into tab_tx1 (A1,B1,time) values (61,'单项选择题',1),"
                           "(62,'多项选择题',1),(63,'填空题',1),(64,'案例分析题',1),"
                           "(65,'判断题',1)"));
        for (int i = 1; i <= 45; ++i) {
            const int type = i <= 30 ? 61 : i <= 40 ? 62 : i <= 44 ? 63 : 65;
            const QString key = type == 62   ? QStringLiteral("AC")
                                : type == 63 ? QStringLiteral("TCP,UDP")
                                             : QStringLiteral("A");
            addQuestion(id(i), kChapter, type, key,
                        type == 63   ? 0
                        : type == 65 ? 2
                                     : 4,
                        i, QStringLiteral("01010101"));
        }
        addQuestion(QStringLiteral("s1"), kGroupChapter, 61, QStringLiteral("A"), 4, 1);
        addQuestion(QStringLiteral("G000000000000001-1"), kGroupChapter, 66, QStringLiteral("B"), 4,
                    2);
        addQuestion(QStringLiteral("G000000000000001-2"), kGroupChapter, 66, QStringLiteral("AB"),
                    4, 3);
        addQuestion(QStringLiteral("G000000000000002-1"), kGroupChapter, 66, QStringLiteral("C"), 4,
                    4);
        for (const char* group : {"G000000000000001", "G000000000000002"}) {
            db.execute(
                QStringLiteral("insert into tab_title (A1,A15) values (?,?)"),
                {{{}, QLatin1String(group)}, {{}, QByteArray("shared ") + QByteArray(group)}});
        }
        qb::CurrentKind = 1;
        qb::ScreenMode = QStringLiteral("1024");
        qb::AnswerTimeTable = {};
        qb::CurrentChapterTitle = QStringLiteral("组成　数据的表示");
        practice::StemArea::setSlideStepDelay(0);
        previousEnder_ = practice::setProgramEnder([this] { ++ended; });
    }

    void TearDown() override {
        window.reset();
        practice::setProgramEnder(previousEnder_);
    }

    static QString id(int i) { return QStringLiteral("q%1").arg(i, 2, 10, QLatin1Char('0')); }

    void addQuestion(const QString& a1, const QString& chapter, int type, const QString& key,
                     int options, int xx, const QString& k3 = QString()) {
        store::Database& db = dm->ADOCn1;
        db.execute(QStringLiteral("insert into tab_answ (A1,A2,A2_1,K3,A10,A13,E2,E2_1,E3,E4,F1,xx,"
                                  "ecount) values (?,?,?,?,?,?,'','',0,0,0,?,0)"),
                   {{{}, a1},
                    {{}, key},
                    {{}, options},
                    {{}, k3.isEmpty() ? QVariant() : QVariant(k3)},
                    {{}, chapter},
                    {{}, type},
                    {{}, xx}});
        // Every other question has an explanation.
        db.execute(QStringLiteral("insert into tab_exer (A1,A15,jx) values (?,?,?)"),
                   {{{}, a1},
                    {{}, (QStringLiteral("stem ") + a1).toUtf8()},
                    {{}, xx % 2 == 1 ? QVariant(QByteArray("explanation")) : QVariant()}});
    }

    // The browser's "new questions" set of a chapter, loaded and shown.
    void open(const QString& chapter = kChapter) {
        qb::PracticeSql =
            QStringLiteral(
                "select a1 ,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,"
                "e4,f1,xx,csbs,ecount from tab_answ where (left(A10,%1) = %2) and (E2 = '' or E2 "
                "is null)  and (f1<>1)  order by a13,a10,xx,a1")
                .arg(chapter.size())
                .arg(store::quoted(chapter));
        window = std::make_unique<TFrmLxxt>(*dm);
        ASSERT_TRUE(window->LoadPracticeSet());
        window->show();
        // The clock is ticked by hand, on a time the test moves.
        window->KZTimeCounter1.stop();
        window->clock().setSource([this] { return millis; });
    }
    void tick(int seconds) {
        millis += seconds * 1000;
        window->KZTimeCounter1Timer();
    }

    template <class T = QAbstractButton>
    T* find(const QString& name) {
        return FindControl<T>(window.get(), name);
    }
    void click(const QString& name) { ClickControl(window.get(), name); }
    void clickNumber(int index) {
        QTest::mouseClick(window->fcBG_th->buttonAt(index), Qt::LeftButton);
    }
    void clickType(int typeId) { click(QStringLiteral("fcBG_tx_%1").arg(typeId)); }
    // Presses option `letter` on the answer page shown.
    void choose(char letter) {
        practice::AnswerArea* answers = window->card()->answers();
        QTest::mouseClick(answers->optionBar(answers->kind())->buttonAt(letter - 'A'),
                          Qt::LeftButton);
    }
    QString header() { return window->card()->headerText(); }
    QString text(const QString& name) { return find<QLabel>(name)->text(); }
    QString bank(const QString& sql) { return dm->ADOCn1.scalar(sql).toString(); }
    QString answerOf(const QString& a1) {
        return dm->ADOCn1
            .scalar(QStringLiteral("select E2_1||'/'||E2||'/'||E3||'/'||E4 from tab_answ where "
                                   "A1=?"),
                    {{{}, a1}})
            .toString();
    }
    int enabledNumbers() {
        int n = 0;
        for (int i = 0; i < TFrmLxxt::kGroupSize; ++i)
            n += window->fcBG_th->buttonAt(i)->isEnabled() ? 1 : 0;
        return n;
    }
    QImage picture(const char* file) {
        return QImage(dir.path() + QStringLiteral("/pic/") + QLatin1String(file))
            .convertToFormat(QImage::Format_RGB32);
    }
    static QImage image(const QPixmap& pixmap) {
        return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    }

    FakePrompts prompts;
    std::unique_ptr<store::TDM1> dm;
    std::unique_ptr<TFrmLxxt> window;
    int ended = 0;
    qint64 millis = 0;

  private:
    practice::ProgramEnder previousEnder_;
};

TEST_F(PracticeWindowTest, FortyFiveQuestionsMakeThreeGroupsOfTwentyTwentyAndFive) {
    open();
    EXPECT_EQ(text(QStringLiteral("lbGroups")), QStringLiteral("共3组45道题"));
    EXPECT_EQ(text(QStringLiteral("lbGroup")), QStringLiteral("第1组"));
    EXPECT_EQ(text(QStringLiteral("epLabel2")), QStringLiteral("组成　数据的表示"));
    EXPECT_EQ(header(), QStringLiteral("第1题（第1次出现）"));
    EXPECT_EQ(window->fcBG_th->pressedIndex(), 0);
    EXPECT_EQ(enabledNumbers(), 20);
    EXPECT_FALSE(find(QStringLiteral("FlatSpeedButton1"))->isEnabled());
    EXPECT_FALSE(find(QStringLiteral("epEfTrBtn1"))->isEnabled());  // 上一题 on question 1
    // A type the set has none of cannot be chosen.
    EXPECT_FALSE(find(QStringLiteral("fcBG_tx_64"))->isEnabled());
    EXPECT_TRUE(find(QStringLiteral("fcBG_tx_63"))->isEnabled());
    EXPECT_EQ(find(QStringLiteral("fcBG_tx_0"))->text(), QStringLiteral("任意"));

    click(QStringLiteral("FlatSpeedButton2"));
    click(QStringLiteral("FlatSpeedButton2"));
    EXPECT_EQ(text(QStringLiteral("lbGroup")), QStringLiteral("第3组"));
    EXPECT_EQ(enabledNumbers(), 5);
    EXPECT_EQ(window->fcBG_th->buttonAt(0)->tag(), 41);
    EXPECT_EQ(window->fcBG_th->buttonAt(4)->tag(), 45);
    EXPECT_EQ(window->fcBG_th->buttonAt(5)->tag(), 0);
    // The captions stay 1 to 20; the header counts within the group.
    EXPECT_EQ(window->fcBG_th->buttonAt(4)->text(), QStringLiteral("5"));
    EXPECT_EQ(window->CurrentQuestionNo, 41);
    EXPECT_EQ(header(), QStringLiteral("第1题（第1次出现）"));
    EXPECT_FALSE(find(QStringLiteral("FlatSpeedButton2"))->isEnabled());
    EXPECT_TRUE(find(QStringLiteral("FlatSpeedButton1"))->isEnabled());
    clickNumber(4);
    EXPECT_FALSE(find(QStringLiteral("epEfTrBtn2"))->isEnabled());  // 下一题 on the last
    click(QStringLiteral("FlatSpeedButton1"));
    EXPECT_EQ(window->CurrentQuestionNo, 21);
    EXPECT_TRUE(find(QStringLiteral("FlatSpeedButton1"))->isEnabled());
    click(QStringLiteral("FlatSpeedButton1"));
    EXPECT_EQ(window->CurrentQuestionNo, 1);
    EXPECT_FALSE(find(QStringLiteral("FlatSpeedButton1"))->isEnabled());
    EXPECT_TRUE(find(QStringLiteral("FlatSpeedButton2"))->isEnabled());
}

TEST_F(PracticeWindowTest, NextFromTwentyOpensTheSecondGroupAndPreviousGoesBackToItsFirst) {
    open();
    clickNumber(19);
    EXPECT_EQ(window->CurrentQuestionNo, 20);
    EXPECT_EQ(header(), QStringLiteral("第20题（第1次出现）"));
    click(QStringLiteral("epEfTrBtn2"));
    EXPECT_EQ(window->CurrentQuestionNo, 21);
    EXPECT_EQ(window->currentGroup(), 2);
    EXPECT_EQ(header(), QStringLiteral("第1题（第1次出现）"));
    EXPECT_EQ(window->fcBG_th->pressedIndex(), 0);
    EXPECT_EQ(find<widgets::PictureButton>(QStringLiteral("fcBG_th_1"))->tag(), 21);
    click(QStringLiteral("epEfTrBtn1"));
    EXPECT_EQ(window->CurrentQuestionNo, 1);
    EXPECT_EQ(window->currentGroup(), 1);
    EXPECT_EQ(text(QStringLiteral("lbGroup")), QStringLiteral("第1组"));
    EXPECT_FALSE(find(QStringLiteral("FlatSpeedButton1"))->isEnabled());
}

TEST_F(PracticeWindowTest, ATypeChangeStoresTheAnswerOfTheQuestionLeft) {
    open();
    choose('B');
    clickType(62);
    EXPECT_EQ(answerOf(id(1)), QStringLiteral("B/B/1/-3"));
    EXPECT_EQ(bank(QStringLiteral("select A2||'/'||A3||'/'||B1||'/'||B2 from tab_rz")),
              QStringLiteral("1/1/1/1"));
    EXPECT_EQ(text(QStringLiteral("lbGroups")), QStringLiteral("共1组10道题"));
    EXPECT_EQ(window->card()->answers()->pageCaption(), QStringLiteral("多选"));
    EXPECT_EQ(window->card()->answers()->pageLabel(AnswerKind::SelfAssessed),
              QStringLiteral("多\n项"));
    EXPECT_EQ(window->CurrentQuestionNo, 1);
    EXPECT_EQ(dm->Cn1Query_tm.text(QStringLiteral("A1")), id(31));
    // A multiple-choice answer pressed in any order is stored A to F.
    choose('C');
    choose('A');
    clickType(0);
    EXPECT_EQ(answerOf(id(31)), QStringLiteral("AC/AC/1/0"));
    EXPECT_EQ(window->card()->answers()->pageLabel(AnswerKind::SelfAssessed),
              QStringLiteral("主\n观"));
    // Back in the whole set, question 1 shows the answer given before.
    EXPECT_EQ(window->card()->answers()->collectAnswer(4), QStringLiteral("B"));
}

TEST_F(PracticeWindowTest, LeavingAQuestionStoresItAndPaintsItsNumber) {
    open();
    choose('A');
    click(QStringLiteral("epEfTrBtn2"));
    EXPECT_EQ(answerOf(id(1)), QStringLiteral("A/A/1/0"));
    widgets::PictureButton* first = window->fcBG_th->buttonAt(0);
    EXPECT_EQ(image(first->upPicture()), picture("zemoyes.bmp"));
    choose('D');
    click(QStringLiteral("epEfTrBtn2"));
    EXPECT_EQ(image(window->fcBG_th->buttonAt(1)->upPicture()), picture("zemono.bmp"));
    // The current question carries the pressed picture of its state.
    clickNumber(0);
    EXPECT_EQ(image(first->downPicture()), picture("zemodw_r.bmp"));
    EXPECT_EQ(window->card()->answers()->collectAnswer(4), QStringLiteral("A"));
    // An answered question's explanation and knowledge points can be opened.
    EXPECT_TRUE(find(QStringLiteral("epEfTrBtn4"))->isEnabled());
    EXPECT_TRUE(find(QStringLiteral("epEfTrBtn9"))->isEnabled());
    EXPECT_TRUE(find(QStringLiteral("epEfTrBtn6"))->isEnabled());
    clickNumber(2);
    EXPECT_FALSE(find(QStringLiteral("epEfTrBtn4"))->isEnabled());
    EXPECT_FALSE(find(QStringLiteral("epEfTrBtn6"))->isEnabled());
    // Leaving a question whose controls are empty clears its session answer.
    clickType(62);
    choose('A');
    click(QStringLiteral("epEfTrBtn2"));
    click(QStringLiteral("epEfTrBtn1"));
    choose('A');
    click(QStringLiteral("epEfTrBtn2"));
    EXPECT_EQ(answerOf(id(31)), QStringLiteral("/A/1/-3"));
    EXPECT_EQ(image(window->fcBG_th->buttonAt(0)->upPicture()), picture("zemoup.bmp"));
}

TEST_F(PracticeWindowTest, FinishChecksAndTheVerdictSlidesOverTheStem) {
    open();
    click(QStringLiteral("epEfTrBtn3"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("prompt|提示|请先做出答案！|1|1")});
    choose('B');
    click(QStringLiteral("epEfTrBtn3"));
    EXPECT_EQ(answerOf(id(1)), QStringLiteral("B/B/1/-3"));
    EXPECT_EQ(image(window->fcBG_th->buttonAt(0)->downPicture()), picture("zemodw_w.bmp"));
    widgets::EffectButton* answer = find<widgets::EffectButton>(QStringLiteral("epEfTrBtn6"));
    ASSERT_TRUE(answer->isEnabled());
    click(QStringLiteral("epEfTrBtn6"));
    practice::StemArea* stem = window->card()->stem();
    EXPECT_EQ(answer->text(), QStringLiteral("返回"));
    EXPECT_EQ(stem->verdictWidth(), stem->width());
    EXPECT_EQ(stem->width(), 700);
    EXPECT_EQ(stem->verdictLine(), QStringLiteral("很遗憾，做错了，请继续努力！"));
    EXPECT_EQ(stem->verdictAnswer(), QStringLiteral("B"));
    EXPECT_EQ(stem->verdictKey(), QStringLiteral("A"));
    click(QStringLiteral("epEfTrBtn6"));
    EXPECT_EQ(answer->text(), QStringLiteral("答案"));
    EXPECT_EQ(stem->verdictWidth(), 0);
    // The verdict is worked out from the controls as they stand.
    choose('A');
    click(QStringLiteral("epEfTrBtn6"));
    EXPECT_EQ(stem->verdictLine(), QStringLiteral("恭喜你，做对了！"));
    // Another question shuts the panel at once.
    click(QStringLiteral("epEfTrBtn2"));
    EXPECT_EQ(stem->verdictWidth(), 0);
    EXPECT_EQ(answer->text(), QStringLiteral("答案"));
    EXPECT_EQ(answerOf(id(1)), QStringLiteral("A/A/2/-2"));
}

TEST_F(PracticeWindowTest, TheGaugeRunsOutAfterItsTypesTimeAndMarksTheQuestion) {
    // Half a minute for single choice: 100 steps of 300 milliseconds.
    qb::AnswerTimeTable.typeIds = {62, 61};
    qb::AnswerTimeTable.tenths = {600, 300};
    open();
    EXPECT_EQ(window->Timer1.interval(), 300);
    EXPECT_TRUE(window->Timer1.isActive());
    choose('A');
    click(QStringLiteral("epEfTrBtn3"));  // answered: the gauge runs on all the same
    for (int tick = 1; tick <= 100; ++tick)
        window->Timer1Timer();
    EXPECT_EQ(window->epIndiGauge1->value(), 100);
    EXPECT_TRUE(prompts.shown.isEmpty());
    window->Timer1Timer();
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("prompt|提示|到时间了|1|1")});
    EXPECT_FALSE(window->Timer1.isActive());
    EXPECT_EQ(bank(QStringLiteral("select csbs from tab_answ where A1='q01'")),
              QStringLiteral("Y"));
    // Still answerable after the time is up.
    choose('C');
    click(QStringLiteral("epEfTrBtn3"));
    EXPECT_EQ(answerOf(id(1)), QStringLiteral("C/C/2/-1"));
    // A type without an entry: 60 seconds; showing a question starts the gauge again.
    clickType(63);
    EXPECT_EQ(window->Timer1.interval(), 600);
    EXPECT_EQ(window->epIndiGauge1->value(), 0);
    EXPECT_TRUE(window->Timer1.isActive());
}

TEST_F(PracticeWindowTest, DiscardThenRestoreLeavesTheLastAnswerAsZero) {
    open();
    widgets::EffectButton* discard = find<widgets::EffectButton>(QStringLiteral("epEfTrBtn10"));
    EXPECT_EQ(discard->text(), QStringLiteral("题目作废"));
    click(QStringLiteral("epEfTrBtn10"));
    EXPECT_EQ(bank(QStringLiteral("select F1||'/'||E2 from tab_answ where A1='q01'")),
              QStringLiteral("1/zero"));
    EXPECT_EQ(text(QStringLiteral("RedMarker")), QStringLiteral("本题已被您作废！"));
    EXPECT_EQ(discard->text(), QStringLiteral("取消作废"));
    // Shown again, a discarded question says so.
    click(QStringLiteral("epEfTrBtn2"));
    EXPECT_TRUE(text(QStringLiteral("RedMarker")).isEmpty());
    click(QStringLiteral("epEfTrBtn1"));
    EXPECT_EQ(text(QStringLiteral("RedMarker")), QStringLiteral("本题已被您作废！"));
    click(QStringLiteral("epEfTrBtn10"));
    EXPECT_EQ(bank(QStringLiteral("select F1||'/'||E2 from tab_answ where A1='q01'")),
              QStringLiteral("0/zero"));
    EXPECT_EQ(text(QStringLiteral("RedMarker")), QStringLiteral("本题曾被作废，现已被您取消！"));
    EXPECT_EQ(discard->text(), QStringLiteral("题目作废"));
    // Answered now, it counts as answered before: not a new question of the chapter.
    choose('A');
    click(QStringLiteral("epEfTrBtn3"));
    EXPECT_EQ(answerOf(id(1)), QStringLiteral("A/A/1/0"));
    EXPECT_EQ(bank(QStringLiteral("select C4||'/'||D1 from tab_kmmc where C1='010101'")),
              QStringLiteral("0/1"));
}

TEST_F(PracticeWindowTest, ClosingStoresTheAnswerShownAndAddsTheClockToTheLog) {
    open();
    tick(75);
    EXPECT_EQ(find<widgets::NumberDisplay>(QStringLiteral("epLabel1"))->text(),
              QStringLiteral("0:01:15"));
    choose('A');
    click(QStringLiteral("epEfTrBtn99"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(answerOf(id(1)), QStringLiteral("A/A/1/0"));
    EXPECT_EQ(bank(QStringLiteral("select D1||'/'||A4 from tab_rz")),
              QStringLiteral("00:01:15/100.00"));
    EXPECT_FALSE(dm->Cn1Query_tm.isActive());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(PracticeWindowTest, AWindowFreedWhileOpenKeepsItsAnswerAndTime) {
    open();
    choose('B');
    tick(1);
    window.reset();  // the program ends under the window
    EXPECT_EQ(answerOf(id(1)), QStringLiteral("B/B/1/-3"));
    EXPECT_EQ(bank(QStringLiteral("select D1 from tab_rz")), QStringLiteral("00:00:01"));
}

TEST_F(PracticeWindowTest, TheCountersAgreeWithTheAnswersGiven) {
    open();
    choose('A');  // q01 right
    click(QStringLiteral("epEfTrBtn2"));
    choose('B');  // q02 wrong
    click(QStringLiteral("epEfTrBtn2"));
    choose('C');  // q03 wrong
    click(QStringLiteral("epEfTrBtn2"));
    click(QStringLiteral("epEfTrBtn1"));
    click(QStringLiteral("epEfTrBtn1"));
    choose('A');  // q02 changed to right
    click(QStringLiteral("epEfTrBtn2"));
    click(QStringLiteral("epEfTrBtn2"));  // q03 left unchanged: not counted again
    clickType(62);
    choose('A');
    choose('C');  // q31 right
    tick(1);
    click(QStringLiteral("epEfTrBtn99"));

    EXPECT_EQ(answerOf(id(1)), QStringLiteral("A/A/1/0"));
    EXPECT_EQ(answerOf(id(2)), QStringLiteral("A/A/2/-2"));
    EXPECT_EQ(answerOf(id(3)), QStringLiteral("C/C/1/-3"));
    EXPECT_EQ(answerOf(id(31)), QStringLiteral("AC/AC/1/0"));
    // Five answers, two wrong, four questions of which one stands wrong.
    EXPECT_EQ(bank(QStringLiteral("select A2||'/'||A3||'/'||B1||'/'||B2||'/'||D1 from tab_rz")),
              QStringLiteral("5/2/4/1/00:00:01"));
    for (const char* code : {"010101", "0101", "01"}) {
        EXPECT_EQ(dm->ADOCn1
                      .scalar(QStringLiteral("select C4||'/'||D1||'/'||D2||'/'||C6 from tab_kmmc "
                                             "where C1=?"),
                              {{{}, QLatin1String(code)}})
                      .toString(),
                  QStringLiteral("4/5/2/60.00"))
            << code;
    }
    EXPECT_EQ(bank(QStringLiteral("select C4||'/'||D1 from tab_kmmc where C1='010102'")),
              QStringLiteral("0/0"));
    EXPECT_EQ(bank(QStringLiteral("select q1||'/'||q2||'/'||q4 from tab_rule")),
              QStringLiteral("4/5/2"));
    for (const char* point : {"010101", "01"}) {
        EXPECT_EQ(
            dm->ADOCn1
                .scalar(QStringLiteral("select q1||'/'||q2||'/'||q4 from tab_fgmc where id=?"),
                        {{{}, QLatin1String(point)}})
                .toString(),
            QStringLiteral("4/5/2"))
            << point;
    }
}

TEST_F(PracticeWindowTest, KeysAnswerAndMoveOnChoicePagesOnly) {
    open();
    QTest::keyClick(window.get(), Qt::Key_C);
    QTest::keyClick(window.get(), Qt::Key_B);
    EXPECT_EQ(window->card()->answers()->collectAnswer(4), QStringLiteral("B"));
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_EQ(window->CurrentQuestionNo, 2);
    EXPECT_EQ(answerOf(id(1)), QStringLiteral("B/B/1/-3"));
    QTest::keyClick(window.get(), Qt::Key_Backspace);
    EXPECT_EQ(window->CurrentQuestionNo, 1);
    QTest::keyClick(window.get(), Qt::Key_Backspace);  // 上一题 is disabled here
    EXPECT_EQ(window->CurrentQuestionNo, 1);

    clickType(62);
    QTest::keyClick(window.get(), Qt::Key_D);
    QTest::keyClick(window.get(), Qt::Key_A);
    QTest::keyClick(window.get(), Qt::Key_D);
    EXPECT_EQ(window->card()->answers()->collectAnswer(4), QStringLiteral("A"));

    // On the fill-in page the keys are the edit's.
    clickType(63);
    ASSERT_EQ(window->card()->answers()->pageCaption(), QStringLiteral("填空"));
    QLineEdit* edit = find<QLineEdit>(QStringLiteral("FlatEdit1"));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("TCP,UDP"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_P);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(window->CurrentQuestionNo, 1);
    EXPECT_EQ(edit->text(), QStringLiteral("TCP,UDp"));
    // At most 100 characters go in: what was typed is what is stored.
    edit->clear();
    QTest::keyClicks(edit, QString(130, u'x'));
    click(QStringLiteral("epEfTrBtn2"));
    EXPECT_EQ(bank(QStringLiteral("select length(E2_1) from tab_answ where A1='q41'")),
              QStringLiteral("100"));
}

TEST_F(PracticeWindowTest, AGroupedQuestionShowsItsSharedStemAbove) {
    open(kGroupChapter);
    practice::StemArea* stem = window->card()->stem();
    EXPECT_TRUE(stem->lowerCollapsed());
    EXPECT_EQ(stem->Re1->toPlainText(), QStringLiteral("stem s1"));
    click(QStringLiteral("epEfTrBtn2"));
    EXPECT_EQ(stem->Re1->toPlainText(), QStringLiteral("shared G000000000000001"));
    EXPECT_EQ(stem->Re2->toPlainText(), QStringLiteral("stem G000000000000001-1"));
    EXPECT_EQ(stem->lowerPaneHeight(), 150);
    EXPECT_EQ(stem->splitterHeight(), 6);
    // Type 66 is answered on the 配伍 page, named 综合分析 here.
    EXPECT_EQ(window->card()->answers()->pageCaption(), QStringLiteral("配伍"));
    EXPECT_EQ(window->card()->answers()->pageLabel(AnswerKind::Matching),
              QStringLiteral("综\n合\n分\n析"));
    stem->Splitter1->setSizes({180, 277});
    click(QStringLiteral("epEfTrBtn2"));
    click(QStringLiteral("epEfTrBtn2"));
    EXPECT_EQ(stem->Re1->toPlainText(), QStringLiteral("shared G000000000000002"));
    EXPECT_EQ(stem->lowerPaneHeight(), 277);
    click(QStringLiteral("fcBG_th_1"));
    EXPECT_TRUE(stem->lowerCollapsed());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(PracticeWindowTest, AQuestionWithoutItsTextsIsReportedAndTheWindowGoesOn) {
    dm->ADOCn1.execute(QStringLiteral("delete from tab_exer where A1='q02'"));
    open();
    click(QStringLiteral("epEfTrBtn2"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("prompt|错误|无法打开试题！|1|2")});
    EXPECT_EQ(header(), QStringLiteral("第2题（第1次出现）"));
    EXPECT_TRUE(window->card()->stem()->Re1->toPlainText().isEmpty());
    choose('A');
    click(QStringLiteral("epEfTrBtn2"));
    EXPECT_EQ(answerOf(id(2)), QStringLiteral("A/A/1/0"));
    EXPECT_EQ(window->card()->stem()->Re1->toPlainText(), QStringLiteral("stem q03"));
    EXPECT_EQ(prompts.shown.size(), 1);
}

TEST_F(PracticeWindowTest, MissingPicturesEndTheProgramAfterTheErrorPrompt) {
    QFile::remove(dir.path() + QStringLiteral("/pic/zemodw_w.bmp"));
    TFrmLxxt broken(*dm);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("prompt|错误|无法提取资源文件！|1|2")});
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(broken.LoadPracticeSet());
}

TEST_F(PracticeWindowTest, MissingTypePicturesEndTheProgramWhenTheSetIsLoaded) {
    QFile::remove(dir.path() + QStringLiteral("/pic/zemotxdw.bmp"));
    qb::PracticeSql = QStringLiteral("select * from tab_answ");
    TFrmLxxt broken(*dm);
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(broken.LoadPracticeSet());
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("prompt|错误|无法提取资源文件！|1|2")});
    EXPECT_EQ(ended, 1);
}

TEST_F(PracticeWindowTest, TheCompactLayoutFitsTheWindow) {
    qb::ScreenMode = QStringLiteral("800");
    open();
    EXPECT_EQ(window->size(), TFrmLxxt::kCompactSize);
    const QRect inside = window->rect();
    for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isWindow() || w->isHidden()) continue;
        EXPECT_TRUE(inside.contains(w->geometry())) << qPrintable(w->objectName());
    }
    // The answer buttons of the bottom strip do not overlap one another.
    QVector<QRect> buttons;
    for (const char* name :
         {"epEfTrBtn1", "epEfTrBtn2", "epEfTrBtn3", "epEfTrBtn6", "epEfTrBtn4", "epEfTrBtn5",
          "epEfTrBtn9", "epEfTrBtn11", "epEfTrBtn10", "epEfTrBtn99", "Notebook1"}) {
        const QRect r = window->findChild<QWidget*>(QLatin1String(name))->geometry();
        for (const QRect& other : buttons)
            EXPECT_FALSE(r.intersects(other)) << name;
        buttons << r;
    }
}

TEST_F(PracticeWindowTest, TheDesktopButtonMinimisesTheProgramsWindows) {
    open();
    click(QStringLiteral("epEfTrBtn7"));
    EXPECT_TRUE(window->isMinimized());
}

// A write the bank refuses (another program holds it, the file is read-only, the
// disk is full) leaves the set, the question shown and its answer as they were; the
// next try stores every answer on its own question.
TEST_F(PracticeWindowTest, ARefusedAnswerStaysOnItsQuestionUntilTheBankTakesIt) {
    struct Failure {
        const char* name;
        std::function<void(store::Database&)> begin;
        std::function<void(store::Database&)> end;
    };
    store::Database other;
    const std::vector<Failure> failures{
        {"locked",
         [&](store::Database& db) {
             sqlite3_busy_timeout(db.handle(), 20);
             other.open(db.path());
             other.execute(QStringLiteral("begin immediate"));
         },
         [&](store::Database&) {
             other.execute(QStringLiteral("rollback"));
             other.close();
         }},
        {"read-only",
         [](store::Database& db) { db.execute(QStringLiteral("pragma query_only=1")); },
         [](store::Database& db) { db.execute(QStringLiteral("pragma query_only=0")); }},
        {"disk full",
         [](store::Database& db) {
             db.execute(
                 QStringLiteral("create temp trigger full before update on tab_answ begin "
                                "select raise(abort, 'database or disk is full'); end"));
         },
         [](store::Database& db) { db.execute(QStringLiteral("drop trigger temp.full")); }},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.name);
        dm->ADOCn1.execute(QStringLiteral("update tab_answ set E2='',E2_1='',E3=0,E4=0"));
        dm->ADOCn1.execute(QStringLiteral("delete from tab_rz"));
        open();
        choose('A');
        click(QStringLiteral("epEfTrBtn2"));  // q01 stored: it leaves the "new" set's SQL
        choose('B');
        failure.begin(dm->ADOCn1);
        prompts.shown.clear();
        click(QStringLiteral("epEfTrBtn2"));
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].startsWith(QStringLiteral("prompt|错误|")));
        EXPECT_EQ(window->CurrentQuestionNo, 2);
        EXPECT_EQ(window->fcBG_th->pressedIndex(), 1);
        EXPECT_EQ(header(), QStringLiteral("第2题（第1次出现）"));
        clickNumber(5);  // still refused: nothing moves
        EXPECT_EQ(window->fcBG_th->pressedIndex(), 1);
        EXPECT_EQ(dm->Cn1Query_tm.recordCount(), 45);
        failure.end(dm->ADOCn1);
        click(QStringLiteral("epEfTrBtn2"));  // the answer on screen is stored now
        choose('C');
        click(QStringLiteral("epEfTrBtn2"));
        choose('D');
        click(QStringLiteral("epEfTrBtn99"));
        EXPECT_EQ(answerOf(id(1)), QStringLiteral("A/A/1/0"));
        EXPECT_EQ(answerOf(id(2)), QStringLiteral("B/B/1/-3"));
        EXPECT_EQ(answerOf(id(3)), QStringLiteral("C/C/1/-3"));
        EXPECT_EQ(answerOf(id(4)), QStringLiteral("D/D/1/-3"));
        EXPECT_EQ(bank(QStringLiteral("select count(*) from tab_answ where E2<>''")),
                  QStringLiteral("4"));
        EXPECT_EQ(bank(QStringLiteral("select A2||'/'||A3 from tab_rz")), QStringLiteral("4/3"));
    }
}

// "修改本题" and "设置" are grey until the editor and the settings window are installed.
TEST_F(PracticeWindowTest, ButtonsWithoutTheirWindowAreGrey) {
    open();
    EXPECT_FALSE(find(QStringLiteral("epEfTrBtn11"))->isEnabled());
    EXPECT_FALSE(find(QStringLiteral("epEfTrBtn8"))->isEnabled());
    window.reset();
    practice::setQuestionEditorRunner([](const QString&, QWidget*) { return false; });
    widgets::setSystemSettingsRunner([](QWidget*) {});
    open();
    EXPECT_TRUE(find(QStringLiteral("epEfTrBtn11"))->isEnabled());
    EXPECT_TRUE(find(QStringLiteral("epEfTrBtn8"))->isEnabled());
    practice::setQuestionEditorRunner(nullptr);
    widgets::setSystemSettingsRunner(nullptr);
}

// After a stored edit the window shows the question as it now is; when the new
// type takes it out of the type shown, the first question of that type, and the
// answer on screen is not stored on another question.
TEST_F(PracticeWindowTest, AStoredEditIsShownAtOnce) {
    struct Case {
        int newType;
        QString stem;  // shown afterwards
        QString header;
    } cases[] = {{61, QStringLiteral("edited q02"), QStringLiteral("第2题（第1次出现）")},
                 {62, QStringLiteral("stem q01"), QStringLiteral("第1题（第1次出现）")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.newType);
        dm->ADOCn1.execute(QStringLiteral("update tab_answ set A13=61, ecount=0 where A1='q02'"));
        practice::setQuestionEditorRunner([&](const QString& questionId, QWidget*) {
            EXPECT_EQ(questionId, id(2));
            dm->ADOCn1.execute(QStringLiteral("update tab_answ set A13=?, ecount=1 where A1=?"),
                               {{{}, c.newType}, {{}, questionId}});
            dm->ADOCn1.execute(QStringLiteral("update tab_exer set A15='edited q02' where A1=?"),
                               {{{}, questionId}});
            return true;
        });
        open();
        clickType(61);
        click(QStringLiteral("epEfTrBtn2"));
        click(QStringLiteral("epEfTrBtn11"));
        EXPECT_EQ(window->card()->stem()->Re1->toPlainText(), c.stem);
        EXPECT_EQ(header(), c.header);
        EXPECT_EQ(answerOf(id(1)), QStringLiteral("//0/0"));
        window.reset();
    }
    practice::setQuestionEditorRunner(nullptr);
}

TEST_F(PracticeWindowTest, TheRunnerShowsANonEmptySetModallyAndFreesTheWindow) {
    practice::InstallChapterPractice(*dm);
    qb::PracticeSql = QStringLiteral("select * from tab_answ where A1='none'");
    int hidden = 0;
    EXPECT_FALSE(practice::RunChapterPractice(QStringLiteral("练习新题"), [&] { ++hidden; }));
    EXPECT_EQ(hidden, 0);
    EXPECT_EQ(practice::FrmLxxt, nullptr);

    qb::PracticeSql = QStringLiteral("select * from tab_answ where A10='010101' order by xx");
    QString caption;
    int shownQuestion = 0;
    QTimer::singleShot(0, [&] {
        ASSERT_NE(practice::FrmLxxt, nullptr);
        caption = practice::FrmLxxt->windowTitle();
        shownQuestion = practice::FrmLxxt->CurrentQuestionNo;
        practice::FrmLxxt->close();
    });
    EXPECT_TRUE(practice::RunChapterPractice(QStringLiteral("错题重做"), [&] { ++hidden; }));
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(caption, QStringLiteral("错题重做"));
    EXPECT_EQ(shownQuestion, 1);
    EXPECT_EQ(practice::FrmLxxt, nullptr);
    practice::setChapterPracticeRunner({});
}

}  // namespace
