#include "PictureButtonGroup.h"

#include <QLayout>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace widgets;

namespace {

class GroupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        group.setCount(20);
        group.show();
    }
    void click(int index) { QTest::mouseClick(group.buttonAt(index), Qt::LeftButton); }
    QVector<int> spied(const QSignalSpy& spy) {
        QVector<int> indexes;
        for (const QList<QVariant>& args : spy)
            indexes << args.at(0).toInt();
        return indexes;
    }

    PictureButtonGroup group;
};

}  // namespace

TEST_F(GroupTest, ExclusiveStartsWithTheFirstPressed) {
    EXPECT_TRUE(group.isExclusive());
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({0}));
}

TEST_F(GroupTest, ExclusiveClickMovesThePressAndEmitsItsIndex) {
    QSignalSpy spy(&group, &PictureButtonGroup::changed);
    click(5);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({5}));
    click(13);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({13}));
    EXPECT_EQ(spied(spy), QVector<int>({5, 13}));
}

TEST_F(GroupTest, ExclusiveClickOnThePressedButtonChangesNothing) {
    click(5);
    QSignalSpy spy(&group, &PictureButtonGroup::changed);
    click(5);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({5}));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(GroupTest, SpaceOnAButtonPressesIt) {
    QSignalSpy spy(&group, &PictureButtonGroup::changed);
    QTest::keyClick(group.buttonAt(7), Qt::Key_Space);
    EXPECT_EQ(group.pressedIndex(), 7);
    EXPECT_EQ(spied(spy), QVector<int>({7}));
}

TEST_F(GroupTest, DisabledButtonCannotBePressed) {
    group.buttonAt(3)->setEnabled(false);
    QSignalSpy spy(&group, &PictureButtonGroup::changed);
    click(3);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({0}));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(GroupTest, NotExclusiveButtonsToggleOnTheirOwn) {
    group.setExclusive(false);
    QSignalSpy spy(&group, &PictureButtonGroup::changed);
    click(2);
    click(4);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({0, 2, 4}));
    click(2);
    click(0);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({4}));
    EXPECT_EQ(spied(spy), QVector<int>({2, 4, 2, 0}));
}

TEST_F(GroupTest, TurningExclusiveKeepsTheFirstPressed) {
    group.setExclusive(false);
    group.setPressedIndex(-1);
    group.setPressed(9, true);
    group.setPressed(4, true);
    group.setPressed(12, true);
    group.setExclusive(true);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({4}));
    // And the buttons behave as an exclusive bar again.
    click(4);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({4}));
    click(6);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({6}));
}

TEST_F(GroupTest, TurningExclusiveWithNonePressedPressesTheFirst) {
    group.setExclusive(false);
    click(0);
    ASSERT_EQ(group.pressedIndex(), -1);
    group.setExclusive(true);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({0}));
}

TEST_F(GroupTest, SettingThePressedIndexDoesNotEmit) {
    QSignalSpy spy(&group, &PictureButtonGroup::changed);
    group.setPressedIndex(11);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({11}));
    group.setPressedIndex(-1);
    group.setPressedIndex(20);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({11}));
    group.setPressed(11, false);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({11}));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(GroupTest, NotExclusiveMinusOneReleasesAll) {
    group.setExclusive(false);
    group.setPressed(3, true);
    group.setPressedIndex(-1);
    EXPECT_TRUE(group.pressedIndexes().isEmpty());
    EXPECT_EQ(group.pressedIndex(), -1);
}

TEST_F(GroupTest, ShrinkingPastThePressedButtonPressesTheFirst) {
    group.setPressedIndex(15);
    group.setCount(10);
    EXPECT_EQ(group.count(), 10);
    EXPECT_EQ(group.buttonAt(10), nullptr);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({0}));
}

TEST_F(GroupTest, GrowingKeepsThePressedButton) {
    group.setPressedIndex(15);
    group.setCount(25);
    EXPECT_EQ(group.pressedIndexes(), QVector<int>({15}));
    EXPECT_EQ(group.buttonAt(24)->tag(), 24);
    QSignalSpy spy(&group, &PictureButtonGroup::changed);
    click(24);
    EXPECT_EQ(spied(spy), QVector<int>({24}));
}

TEST_F(GroupTest, EmptyBarHasNoPressedButton) {
    group.setCount(0);
    EXPECT_EQ(group.pressedIndex(), -1);
    EXPECT_EQ(group.buttonAt(0), nullptr);
}

TEST_F(GroupTest, LaysButtonsOutInColumns) {
    group.setColumns(10);
    group.adjustSize();
    const QRect first = group.buttonAt(0)->geometry();
    const QRect eleventh = group.buttonAt(10)->geometry();
    EXPECT_EQ(eleventh.left(), first.left());
    EXPECT_GT(eleventh.top(), first.bottom());
    EXPECT_GT(group.buttonAt(9)->geometry().left(), first.right());
    EXPECT_EQ(group.buttonAt(9)->geometry().top(), first.top());

    group.setColumns(4);
    group.adjustSize();
    EXPECT_EQ(group.buttonAt(4)->geometry().left(), group.buttonAt(0)->geometry().left());
    EXPECT_GT(group.buttonAt(4)->geometry().top(), group.buttonAt(0)->geometry().bottom());
}

TEST_F(GroupTest, TagsAndNumbers) {
    group.numberButtons(21);
    EXPECT_EQ(group.buttonAt(0)->text(), QStringLiteral("21"));
    EXPECT_EQ(group.buttonAt(19)->text(), QStringLiteral("40"));
    group.buttonAt(2)->setTag(65);
    EXPECT_EQ(group.indexOfTag(65), 2);
    EXPECT_EQ(group.indexOfTag(999), -1);
    EXPECT_EQ(group.indexOf(group.buttonAt(17)), 17);
}

TEST_F(GroupTest, PicturesReachButtonsAddedLater) {
    QPixmap up(36, 26);
    up.fill(Qt::white);
    QPixmap down(36, 26);
    down.fill(Qt::gray);
    group.setPictures(up, down);
    group.setCount(22);
    EXPECT_EQ(group.buttonAt(21)->sizeHint(), QSize(36, 26));
    EXPECT_EQ(group.buttonAt(3)->sizeHint(), QSize(36, 26));
}

TEST(PictureButtonGroupLayout, ButtonsCanBeNumberedDownEachColumn) {
    // The question bar: 20 buttons in 5 columns of 4, 1 to 4 in the first column.
    PictureButtonGroup group;
    group.setColumns(5);
    group.setFillDownColumns(true);
    group.setCount(20);
    group.numberButtons(1);
    group.show();
    group.layout()->activate();
    const auto x = [&](int i) { return group.buttonAt(i)->geometry().x(); };
    const auto y = [&](int i) { return group.buttonAt(i)->geometry().y(); };
    EXPECT_EQ(x(0), x(3));
    EXPECT_LT(y(0), y(1));
    EXPECT_LT(y(2), y(3));
    EXPECT_LT(x(3), x(4));
    EXPECT_EQ(y(4), y(0));
    EXPECT_EQ(x(19), x(16));
    EXPECT_EQ(y(19), y(3));
    group.setFillDownColumns(false);
    group.layout()->activate();
    EXPECT_EQ(y(4), y(0));
    EXPECT_LT(x(3), x(4));
    EXPECT_LT(y(4), y(5));
}
