// The question card's widgets on their own: the answer pages against the answer
// rules, the option buttons' behaviour, hints, page names and the verdict slide.
#include "PictureButtonGroup.h"
#include "QtPrinters.h"
#include "QuestionCardWidget.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QSplitter>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using practice::AnswerArea;
using practice::AnswerKind;

namespace {

class AnswerAreaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        area.resize(430, 51);
        area.show();
    }
    void click(AnswerKind kind, int option) {
        QTest::mouseClick(bar(kind)->buttonAt(option), Qt::LeftButton);
    }
    widgets::PictureButtonGroup* bar(AnswerKind kind) {
        return kind == AnswerKind::TrueFalse ? area.trueFalseBar() : area.optionBar(kind);
    }
    AnswerArea area;
};

TEST_F(AnswerAreaTest, PagesComeInTheOrderOfTheAnswerKindsAndAreNamedByTheirCaption) {
    const QStringList captions{QStringLiteral("单选"), QStringLiteral("多选"),
                               QStringLiteral("填空"), QStringLiteral("判断"),
                               QStringLiteral("主观"), QStringLiteral("配伍")};
    ASSERT_EQ(area.count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(area.widget(i)->objectName(), captions[i]);
        area.setKind(static_cast<AnswerKind>(i));
        EXPECT_EQ(area.pageCaption(), captions[i]);
    }
    EXPECT_EQ(area.objectName(), QStringLiteral("Notebook1"));
    for (const char* name :
         {"fcBG_one", "fcBG_many", "FlatEdit1", "fcBG_yn", "FlatComboBox1", "fcBG_pw"}) {
        EXPECT_NE(area.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
    }
}

TEST_F(AnswerAreaTest, PageNamesAreWrittenOneCharacterALine) {
    EXPECT_EQ(area.pageLabel(AnswerKind::SingleChoice), QStringLiteral("单\n选"));
    EXPECT_EQ(area.pageLabel(AnswerKind::Matching), QStringLiteral("综\n合\n分\n析"));
    area.setPageLabel(AnswerKind::SelfAssessed, QStringLiteral("单\r项"));
    EXPECT_EQ(area.pageLabel(AnswerKind::SelfAssessed), QStringLiteral("单\n项"));
    area.setPageLabel(AnswerKind::Matching, QStringLiteral("不\r\n定\r\n项"));
    EXPECT_EQ(area.pageLabel(AnswerKind::Matching), QStringLiteral("不\n定\n项"));
}

TEST_F(AnswerAreaTest, SingleChoiceAndTrueFalseKeepOneOptionPressed) {
    area.setKind(AnswerKind::SingleChoice);
    area.showStoredAnswer(AnswerKind::SingleChoice, 4, QString());
    click(AnswerKind::SingleChoice, 0);
    click(AnswerKind::SingleChoice, 2);
    EXPECT_EQ(area.collectAnswer(4), QStringLiteral("C"));
    click(AnswerKind::SingleChoice, 2);  // pressed again: still the answer
    EXPECT_EQ(area.collectAnswer(4), QStringLiteral("C"));

    area.setKind(AnswerKind::TrueFalse);
    area.showStoredAnswer(AnswerKind::TrueFalse, 2, QString());
    EXPECT_EQ(area.collectAnswer(2), QString());  // neither pressed: not answered
    click(AnswerKind::TrueFalse, 1);
    EXPECT_EQ(area.collectAnswer(2), QStringLiteral("B"));
    click(AnswerKind::TrueFalse, 0);
    EXPECT_EQ(area.collectAnswer(2), QStringLiteral("A"));
    EXPECT_FALSE(area.trueFalseBar()->isPressed(1));
}

TEST_F(AnswerAreaTest, MultipleChoiceReadsAToFWhateverTheOrderOfPressing) {
    area.setKind(AnswerKind::MultipleChoice);
    area.showStoredAnswer(AnswerKind::MultipleChoice, 5, QString());
    for (int option : {3, 0, 2})
        click(AnswerKind::MultipleChoice, option);
    EXPECT_EQ(area.collectAnswer(5), QStringLiteral("ACD"));
    click(AnswerKind::MultipleChoice, 0);  // pressed again: released
    EXPECT_EQ(area.collectAnswer(5), QStringLiteral("CD"));
}

TEST_F(AnswerAreaTest, AStoredAnswerShowsOnlyTheQuestionsOptions) {
    area.setKind(AnswerKind::MultipleChoice);
    area.showStoredAnswer(AnswerKind::MultipleChoice, 6, QStringLiteral("AF"));
    // The next question has three options: F is hidden and released, not kept.
    area.showStoredAnswer(AnswerKind::MultipleChoice, 3, QStringLiteral("B"));
    widgets::PictureButtonGroup* options = area.optionBar(AnswerKind::MultipleChoice);
    EXPECT_TRUE(options->buttonAt(2)->isVisible());
    EXPECT_FALSE(options->buttonAt(3)->isVisible());
    EXPECT_FALSE(options->isPressed(5));
    EXPECT_FALSE(options->isPressed(0));
    EXPECT_EQ(area.collectAnswer(3), QStringLiteral("B"));
    // No option count: no options, and no answer from that page.
    area.showStoredAnswer(AnswerKind::MultipleChoice, 0, QStringLiteral("B"));
    EXPECT_FALSE(options->buttonAt(0)->isVisible());
    EXPECT_EQ(area.collectAnswer(0), QString());
    // A stored answer of two letters on the single-choice page presses nothing.
    area.setKind(AnswerKind::SingleChoice);
    area.showStoredAnswer(AnswerKind::SingleChoice, 4, QStringLiteral("AB"));
    EXPECT_TRUE(area.optionBar(AnswerKind::SingleChoice)->pressedIndexes().isEmpty());
}

TEST_F(AnswerAreaTest, FillInAndSelfAssessedPages) {
    area.setKind(AnswerKind::FillIn);
    area.showStoredAnswer(AnswerKind::FillIn, 0, QStringLiteral("TCP"));
    EXPECT_EQ(area.fillInEdit()->text(), QStringLiteral("TCP"));
    area.showStoredAnswer(AnswerKind::FillIn, 0, QString());
    EXPECT_TRUE(area.fillInEdit()->text().isEmpty());
    // At most 100 characters can be typed: nothing typed is lost on storing.
    area.fillInEdit()->setFocus();
    QTest::keyClicks(area.fillInEdit(), QStringLiteral(" ") + QString(120, u'x'));
    EXPECT_EQ(area.fillInEdit()->text().size(), 100);
    EXPECT_EQ(area.collectAnswer(0), QString(99, u'x'));

    area.setKind(AnswerKind::SelfAssessed);
    area.showStoredAnswer(AnswerKind::SelfAssessed, 1, QString());
    EXPECT_EQ(area.selfAssessedBox()->currentIndex(), -1);
    EXPECT_EQ(area.collectAnswer(1), QString());
    area.selfAssessedBox()->setCurrentIndex(1);
    EXPECT_EQ(area.selfAssessedBox()->currentText(), QStringLiteral("会"));
    EXPECT_EQ(area.collectAnswer(1), QStringLiteral("1"));
    area.showStoredAnswer(AnswerKind::SelfAssessed, 1, QStringLiteral("0"));
    EXPECT_EQ(area.selfAssessedBox()->currentText(), QStringLiteral("不会"));
}

TEST_F(AnswerAreaTest, OptionKeysPressOnSingleToggleOnMultipleAndReachHiddenOptions) {
    area.setKind(AnswerKind::SingleChoice);
    area.showStoredAnswer(AnswerKind::SingleChoice, 2, QString());
    EXPECT_TRUE(area.pressOption(1));
    EXPECT_TRUE(area.pressOption(4));  // E is hidden, yet pressed
    EXPECT_EQ(area.optionBar(AnswerKind::SingleChoice)->pressedIndexes(), QVector<int>({4}));
    EXPECT_EQ(area.collectAnswer(2), QString());  // but a hidden option is no answer

    area.setKind(AnswerKind::MultipleChoice);
    area.showStoredAnswer(AnswerKind::MultipleChoice, 4, QString());
    area.pressOption(0);
    area.pressOption(2);
    area.pressOption(0);
    EXPECT_EQ(area.collectAnswer(4), QStringLiteral("C"));

    area.setKind(AnswerKind::Matching);
    EXPECT_FALSE(area.pressOption(0));
    EXPECT_TRUE(area.optionBar(AnswerKind::Matching)->pressedIndexes().isEmpty());
}

TEST_F(AnswerAreaTest, TheMouseOverTheAreaShowsThePagesHint) {
    area.setKind(AnswerKind::SingleChoice);
    QTest::mouseMove(area.optionBar(AnswerKind::SingleChoice)->buttonAt(1));
    EXPECT_EQ(area.toolTip(), QStringLiteral("选择一个选项作为正确答案"));
    area.setKind(AnswerKind::FillIn);
    QTest::mouseMove(area.fillInEdit());
    EXPECT_EQ(area.toolTip(), QStringLiteral("填写正确答案，答案间用“,”隔开"));
    area.setKind(AnswerKind::Matching);
    QTest::mouseMove(&area, QPoint(2, 2));
    EXPECT_EQ(area.toolTip(), QStringLiteral("选择若干个选项作为正确答案"));
}

// Records every width the verdict panel takes.
class WidthRecorder : public QObject {
  public:
    QVector<int> widths;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) widths << static_cast<QWidget*>(watched)->width();
        return false;
    }
};

TEST(StemAreaTest, TheVerdictSlidesBy20_40_60AndBack) {
    practice::StemArea::setSlideStepDelay(0);
    practice::StemArea stem;
    stem.resize(700, 463);
    stem.show();
    WidthRecorder recorder;
    stem.VerdictPanel->installEventFilter(&recorder);
    stem.slideVerdict(true);
    EXPECT_EQ(recorder.widths, QVector<int>({20, 60, 120, 200, 300, 420, 560, 700}));
    EXPECT_EQ(stem.verdictWidth(), 700);
    EXPECT_EQ(stem.VerdictPanel->height(), 463);
    recorder.widths.clear();
    stem.slideVerdict(false);
    EXPECT_EQ(recorder.widths, QVector<int>({680, 640, 580, 500, 400, 280, 140, 0}));
    EXPECT_EQ(stem.verdictWidth(), 0);
    EXPECT_FALSE(stem.VerdictPanel->isVisible());
}

TEST(StemAreaTest, GroupedStemsOpenTheLowerPaneOnceAndKeepTheUsersSize) {
    practice::StemArea stem;
    stem.resize(700, 463);
    stem.show();
    EXPECT_TRUE(stem.lowerCollapsed());
    stem.showGrouped("shared stem", "own stem");
    EXPECT_EQ(stem.lowerPaneHeight(), practice::StemArea::kLowerPaneHeight);
    EXPECT_EQ(stem.splitterHeight(), practice::StemArea::kSplitterHeight);
    EXPECT_EQ(stem.Re1->toPlainText(), QStringLiteral("shared stem"));
    EXPECT_EQ(stem.Re2->toPlainText(), QStringLiteral("own stem"));
    // The user drags the splitter; the next question of a group keeps that.
    stem.Splitter1->setSizes({200, 257});
    stem.showGrouped("shared", "second");
    EXPECT_EQ(stem.lowerPaneHeight(), 257);
    stem.showSingle("alone");
    EXPECT_TRUE(stem.lowerCollapsed());
    EXPECT_EQ(stem.splitterHeight(), 0);
    EXPECT_EQ(stem.Re1->toPlainText(), QStringLiteral("alone"));
    EXPECT_TRUE(stem.Re2->toPlainText().isEmpty());
    EXPECT_TRUE(stem.Re1->isReadOnly() && stem.Re2->isReadOnly());
}

}  // namespace
