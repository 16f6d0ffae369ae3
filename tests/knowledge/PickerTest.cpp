// Picking a question's knowledge points: the limits, the ticks brought over from
// the question, the caller's two lists, and the picker window driven by name.
#include "CatalogueBank.h"

#include "EffectButton.h"
#include "UselectFg.h"
#include "WindowDriver.h"

#include <QComboBox>
#include <QListWidget>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>

namespace {

using knowledge::PointPicker;
using knowledge::QuestionPointLinks;

class PickerTest : public CatalogueTest {
  protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        // The first chapter offered is the group, with a point of its own.
        addPoint(QStringLiteral("01"), QStringLiteral("01000001"), QStringLiteral("总则"),
                 QStringLiteral("总则"));
        for (int i = 5; i <= 8; ++i) {
            addPoint(QStringLiteral("010101"), QStringLiteral("0101010%1").arg(i),
                     QStringLiteral("点%1").arg(i), QString());
        }
    }
    // Ticks the points at the indexes in the chapter shown.
    static void tick(PointPicker& picker, std::initializer_list<int> indexes) {
        for (int i : indexes)
            picker.setTick(i, true);
    }
};

TEST_F(PickerTest, AQuestionTakesSevenPointsAtMost) {
    PointPicker picker(dm->m_query);
    picker.Open();
    picker.ChooseChapter(1, {});
    ASSERT_EQ(picker.pointIds().size(), 8);
    EXPECT_EQ(picker.Refusal(3), QStringLiteral("请选择对应考点，退出请按关闭按钮！"));
    tick(picker, {0, 1, 2, 3});
    EXPECT_EQ(picker.Refusal(3), std::nullopt);
    tick(picker, {4});
    EXPECT_EQ(picker.Refusal(3), QStringLiteral("对应考点最多不能超过7条，已有考点3条！"));
    EXPECT_EQ(picker.Refusal(2), std::nullopt);
}

TEST_F(PickerTest, ThePointsAQuestionHasAreTickedOnlyAfterAChapterChange) {
    const QStringList question{QStringLiteral("01000001"), QStringLiteral("01010103"),
                               QStringLiteral("01010101")};
    PointPicker picker(dm->m_query);
    picker.Open();
    EXPECT_EQ(picker.chapterIds(), (QStringList{"01", "010101", "010102", "010103"}));
    EXPECT_EQ(picker.pointIds(), QStringList{"01000001"});
    EXPECT_EQ(picker.tickedCount(), 0);
    picker.ChooseChapter(1, question);
    EXPECT_EQ(picker.ticks().mid(0, 4), (QVector<bool>{true, false, true, false}));
    // They count toward the limit, on top of the question's own.
    tick(picker, {1, 3});
    EXPECT_EQ(picker.Refusal(3), std::nullopt);
    tick(picker, {4});
    EXPECT_NE(picker.Refusal(3), std::nullopt);
    // Another chapter forgets the ticks.
    picker.ChooseChapter(2, question);
    EXPECT_EQ(picker.tickedCount(), 0);
}

TEST_F(PickerTest, PointsTheQuestionHasAreNotAddedTwice) {
    QuestionPointLinks links;
    links.labels = {QStringLiteral("数据的表示进制转换")};
    links.ftids = {QStringLiteral("01010103")};
    PointPicker picker(dm->m_query);
    picker.Open();
    picker.ChooseChapter(1, links.ftids);
    tick(picker, {1});  // ticked before the one the question has, in list order
    EXPECT_EQ(links.AddPicked(picker), 1);
    EXPECT_EQ(links.ftids, (QStringList{"01010103", "01010102"}));
    EXPECT_EQ(links.labels[1], QStringLiteral("数据的表示[原码与补码  ]"));
    EXPECT_FALSE(links.Remove(2));
    EXPECT_TRUE(links.Remove(0));
    EXPECT_EQ(links.ftids, QStringList{"01010102"});
    EXPECT_EQ(links.labels, QStringList{QStringLiteral("数据的表示[原码与补码  ]")});
}

TEST_F(PickerTest, TheWindowAddsWhatIsTickedAndRefusesTooMany) {
    QuestionPointLinks links;
    links.ftids = {"a", "b", "c"};
    links.labels = {"A", "B", "C"};
    QStringList steps;
    QTimer::singleShot(0, [&] {
        knowledge::TFrmSelectFG* w = knowledge::FrmSelectFG;
        ASSERT_NE(w, nullptr);
        steps << w->windowTitle() << QString::number(w->Notebook1->currentIndex());
        ClickControl(w, QStringLiteral("epEfButton1"));  // nothing ticked
        w->ComboBox1->setCurrentIndex(1);
        emit w->ComboBox1->activated(1);
        for (int i = 0; i < 5; ++i)
            w->CheckListBox1->item(i)->setCheckState(Qt::Checked);
        ClickControl(w, QStringLiteral("epEfButton1"));  // 3 + 5
        steps << QString::number(w->isVisible());
        w->CheckListBox1->item(0)->setCheckState(Qt::Unchecked);
        ClickControl(w, QStringLiteral("epEfButton1"));
    });
    EXPECT_EQ(knowledge::AddPointsWithPicker(*dm, links, QStringLiteral("full"), nullptr), 4);
    EXPECT_EQ(steps, (QStringList{"欢迎", "0", "1"}));
    EXPECT_EQ(
        prompts.shown,
        (QStringList{QStringLiteral("message|提示|请选择对应考点，退出请按关闭按钮！|0|0"),
                     QStringLiteral("message|提示|对应考点最多不能超过7条，已有考点3条！|0|0")}));
    EXPECT_EQ(links.ftids.mid(3), (QStringList{"01010102", "01010103", "01010104", "01010105"}));
    EXPECT_EQ(knowledge::FrmSelectFG, nullptr);
}

TEST_F(PickerTest, AFullListOpensNoPicker) {
    QuestionPointLinks links;
    for (int i = 0; i < 10; ++i) {
        links.ftids << QString::number(i);
        links.labels << QString::number(i);
    }
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (knowledge::FrmSelectFG != nullptr) {
            opened = true;
            knowledge::FrmSelectFG->reject();
        }
    });
    EXPECT_EQ(
        knowledge::AddPointsWithPicker(*dm, links, QStringLiteral("考点不能超过10条！"), nullptr),
        0);
    QTest::qWait(5);
    EXPECT_FALSE(opened);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("message|提示|考点不能超过10条！|0|0")});
}

TEST_F(PickerTest, TheInstructionsPage) {
    knowledge::TFrmSelectFG w(*dm);
    w.setPage(1);
    w.show();
    EXPECT_EQ(w.size(), knowledge::TFrmSelectFG::kClientSize);
    const QStringList lines = w.Memo1->toPlainText().split(u'\n');
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines[0], QStringLiteral("使用方法如下："));
    EXPECT_EQ(lines[7], QStringLiteral("   7月有几天？"));
    EXPECT_EQ(lines[11], QStringLiteral("   "));
    EXPECT_EQ(lines[19], QStringLiteral("动填写1；"));
    EXPECT_TRUE(lines[20].isEmpty());
    EXPECT_TRUE(w.Memo1->isReadOnly());
    // The picker's page is not loaded for the instructions.
    EXPECT_EQ(w.ComboBox1->count(), 0);
    ClickControl(&w, QStringLiteral("epEfButton3"));
    EXPECT_FALSE(w.isVisible());
}

}  // namespace
