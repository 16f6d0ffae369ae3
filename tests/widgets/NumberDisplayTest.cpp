#include "NumberDisplay.h"

#include <gtest/gtest.h>

using namespace widgets;

TEST(NumberDisplay, ClockFormat) {
    EXPECT_EQ(NumberDisplay::formatClock(3909), QStringLiteral("1:05:09"));
    EXPECT_EQ(NumberDisplay::formatClock(0), QStringLiteral("0:00:00"));
    EXPECT_EQ(NumberDisplay::formatClock(59), QStringLiteral("0:00:59"));
    EXPECT_EQ(NumberDisplay::formatClock(60), QStringLiteral("0:01:00"));
    EXPECT_EQ(NumberDisplay::formatClock(7200), QStringLiteral("2:00:00"));
    EXPECT_EQ(NumberDisplay::formatClock(36000 + 61), QStringLiteral("10:01:01"));
    EXPECT_EQ(NumberDisplay::formatClock(-5), QStringLiteral("0:00:00"));
}

TEST(NumberDisplay, NumberFormatPadsWithBlanks) {
    EXPECT_EQ(NumberDisplay::formatNumber(5, 3), QStringLiteral("  5"));
    EXPECT_EQ(NumberDisplay::formatNumber(-7, 3), QStringLiteral(" -7"));
    EXPECT_EQ(NumberDisplay::formatNumber(1234, 2), QStringLiteral("1234"));
    EXPECT_EQ(NumberDisplay::formatNumber(0, 0), QStringLiteral("0"));
}

TEST(NumberDisplay, SettersShowTheFormattedText) {
    NumberDisplay display;
    display.setSeconds(3909);
    EXPECT_EQ(display.text(), QStringLiteral("1:05:09"));
    display.setDigitCount(4);
    display.setNumber(42);
    EXPECT_EQ(display.text(), QStringLiteral("  42"));
}

TEST(NumberDisplay, UnknownCharactersShowAsBlanks) {
    NumberDisplay display;
    display.setText(QStringLiteral("12a:3-4.5分"));
    EXPECT_EQ(display.text(), QStringLiteral("12 :3-4.5 "));
    // Full-width digits have no segments either.
    display.setText(QStringLiteral("１2"));
    EXPECT_EQ(display.text(), QStringLiteral(" 2"));
}

TEST(NumberDisplay, SizeHintFollowsTheText) {
    NumberDisplay display;
    display.setText(QStringLiteral("88"));
    const int two = display.sizeHint().width();
    display.setText(QStringLiteral("8888"));
    const int four = display.sizeHint().width();
    display.setText(QStringLiteral("88:88"));
    EXPECT_GT(four, two);
    // A colon takes a narrow cell, less than a digit's.
    EXPECT_LT(display.sizeHint().width() - four, (four - two) / 2);
}

TEST(NumberDisplay, DisplaysTakeNoFocus) {
    NumberDisplay display;
    EXPECT_EQ(display.focusPolicy(), Qt::NoFocus);
}

namespace {

// Whether any pixel of `area` has exactly the colour of lit segments.
bool anyLit(const QImage& image, const QRect& area, QColor lit) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == lit) return true;
        }
    }
    return false;
}

QImage render(const QString& text) {
    NumberDisplay display;
    display.setColors(Qt::red, Qt::green, Qt::blue);
    display.setText(text);
    display.resize(60, 100);
    return display.grab().toImage();
}

}  // namespace

TEST(NumberDisplay, OneLightsOnlyTheRightSegments) {
    const QImage image = render(QStringLiteral("1"));
    const int w = image.width();
    const int h = image.height();
    EXPECT_TRUE(anyLit(image, QRect(w / 2, 0, w / 2, h), Qt::red));
    EXPECT_FALSE(anyLit(image, QRect(0, 0, w / 2, h), Qt::red));
    // The left segments are there, unlit.
    EXPECT_TRUE(anyLit(image, QRect(0, 0, w / 2, h), Qt::green));
}

TEST(NumberDisplay, MinusLightsOnlyTheMiddle) {
    const QImage image = render(QStringLiteral("-"));
    const int w = image.width();
    const int h = image.height();
    EXPECT_TRUE(anyLit(image, QRect(0, h / 2 - 3, w, 6), Qt::red));
    EXPECT_FALSE(anyLit(image, QRect(0, 0, w, h / 3), Qt::red));
    EXPECT_FALSE(anyLit(image, QRect(0, 2 * h / 3, w, h / 3), Qt::red));
}

TEST(NumberDisplay, EightLightsTopMiddleAndBottom) {
    const QImage image = render(QStringLiteral("8"));
    const int w = image.width();
    const int h = image.height();
    EXPECT_TRUE(anyLit(image, QRect(0, 0, w, h / 4), Qt::red));
    EXPECT_TRUE(anyLit(image, QRect(0, h / 2 - 3, w, 6), Qt::red));
    EXPECT_TRUE(anyLit(image, QRect(0, 3 * h / 4, w, h / 4), Qt::red));
    EXPECT_FALSE(anyLit(image, image.rect(), Qt::green));
}
