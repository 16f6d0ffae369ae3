// Which knowledge points a question has, what the list shows and what a click picks.
#include "KnowledgeFixture.h"

#include "QuestionPoints.h"

namespace {

using QuestionPointsTest = KnowledgeTest;

const QVariant kNull;

TEST_F(QuestionPointsTest, SlotsAreReadInOrderSkippingNullAndEmptyOnes) {
    addQuestion(QStringLiteral("Q1"),
                {QStringLiteral("01010101"), kNull, QString(""), QStringLiteral("01010201"), kNull,
                 kNull, kNull, kNull, QString(""), QStringLiteral("01010102")});
    knowledge::QuestionPoints points(*dm);
    EXPECT_TRUE(points.LoadQuestionPoints(QStringLiteral("Q1")));
    EXPECT_EQ(points.ids(), (QStringList{QStringLiteral("01010101"), QStringLiteral("01010201"),
                                         QStringLiteral("01010102")}));
}

TEST_F(QuestionPointsTest, AQuestionWithoutPointsOrWithoutARowHasNone) {
    addQuestion(QStringLiteral("Q1"), {QStringLiteral("01010101")});
    addQuestion(QStringLiteral("Q2"), {kNull, QString(""), kNull});
    knowledge::QuestionPoints points(*dm);
    ASSERT_TRUE(points.LoadQuestionPoints(QStringLiteral("Q1")));
    // A later question without points must not keep the earlier one's.
    EXPECT_FALSE(points.LoadQuestionPoints(QStringLiteral("Q2")));
    EXPECT_TRUE(points.ids().isEmpty());
    EXPECT_FALSE(points.LoadQuestionPoints(QStringLiteral("nobody")));
    EXPECT_FALSE(points.LoadQuestionPoints(QStringLiteral("Q1' or '1'='1")));
    EXPECT_TRUE(points.ids().isEmpty());
}

TEST_F(QuestionPointsTest, OpenListsTheNamedPointsAndTheFirstOnesChapter) {
    addQuestion(QStringLiteral("Q1"), {QStringLiteral("01010101"), kNull,
                                       QStringLiteral("01010201"), QStringLiteral("01010102")});
    knowledge::QuestionPoints points(*dm);
    ASSERT_TRUE(points.LoadQuestionPoints(QStringLiteral("Q1")));
    EXPECT_FALSE(points.isOpen());
    points.Open();
    EXPECT_TRUE(points.isOpen());
    EXPECT_EQ(points.names(),
              (QStringList{QStringLiteral("进制转换    "), QStringLiteral("原码与补码  "),
                           QStringLiteral("指令周期    ")}));
    EXPECT_EQ(points.current(), 0);
    EXPECT_EQ(points.chapterName(), QStringLiteral("数据的表示"));
    EXPECT_EQ(plain(points.text()), QStringLiteral("二进制与十进制"));
}

TEST_F(QuestionPointsTest, AClickShowsThatPointsTextAndChapter) {
    addQuestion(QStringLiteral("Q1"), {QStringLiteral("01010101"), QStringLiteral("01010201")});
    knowledge::QuestionPoints points(*dm);
    ASSERT_TRUE(points.LoadQuestionPoints(QStringLiteral("Q1")));
    points.Select(1);  // before Open nothing happens
    EXPECT_EQ(points.current(), -1);
    EXPECT_TRUE(points.text().isEmpty());

    points.Open();
    points.Select(1);
    EXPECT_EQ(points.current(), 1);
    EXPECT_EQ(plain(points.text()), QStringLiteral("取指、译码、执行"));
    EXPECT_EQ(points.chapterName(), QStringLiteral("中央处理器"));
    points.Select(0);
    EXPECT_EQ(plain(points.text()), QStringLiteral("二进制与十进制"));
    EXPECT_EQ(points.chapterName(), QStringLiteral("数据的表示"));
    points.Select(7);
    EXPECT_EQ(points.current(), 0);
}

TEST_F(QuestionPointsTest, IdsWithoutAKnowledgePointAreLeftOut) {
    addQuestion(QStringLiteral("Q1"), {QStringLiteral("99999999"), QStringLiteral("01010102")});
    addQuestion(QStringLiteral("Q2"), {QStringLiteral("99999999"), QStringLiteral("0101'x")});
    knowledge::QuestionPoints points(*dm);
    ASSERT_TRUE(points.LoadQuestionPoints(QStringLiteral("Q1")));
    points.Open();
    EXPECT_EQ(points.names(), QStringList{QStringLiteral("原码与补码  ")});
    EXPECT_EQ(points.chapterName(), QStringLiteral("数据的表示"));

    // The question has slots, so the window opens, but with nothing to list.
    ASSERT_TRUE(points.LoadQuestionPoints(QStringLiteral("Q2")));
    points.Open();
    EXPECT_TRUE(points.names().isEmpty());
    EXPECT_EQ(points.current(), -1);
    EXPECT_EQ(points.chapterName(), QString());
    EXPECT_TRUE(points.text().isEmpty());
}

TEST_F(QuestionPointsTest, AClickShowsTheClickedPointsOwnChapterWhenShortNamesRepeat) {
    // The same short name in another chapter, stored before this one.
    addPoint(QStringLiteral("010102"), QStringLiteral("01010202"), QStringLiteral("原码与补码  "),
             QStringLiteral("寄存器中的补码"));
    addQuestion(QStringLiteral("Q1"), {QStringLiteral("01010202")});
    knowledge::QuestionPoints points(*dm);
    ASSERT_TRUE(points.LoadQuestionPoints(QStringLiteral("Q1")));
    points.Open();
    EXPECT_EQ(points.chapterName(), QStringLiteral("中央处理器"));
    points.Select(0);
    EXPECT_EQ(plain(points.text()), QStringLiteral("寄存器中的补码"));
    EXPECT_EQ(points.chapterName(), QStringLiteral("中央处理器"));
}

}  // namespace
