#include "Gauge.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <climits>

using namespace widgets;

TEST(Gauge, ValueIsClampedIntoTheRange) {
    Gauge gauge;
    gauge.setRange(10, 50);
    gauge.setValue(70);
    EXPECT_EQ(gauge.value(), 50);
    gauge.setValue(-3);
    EXPECT_EQ(gauge.value(), 10);
    gauge.setValue(30);
    EXPECT_EQ(gauge.value(), 30);
}

TEST(Gauge, ValueChangedOnlyWhenTheClampedValueChanges) {
    Gauge gauge;
    gauge.setRange(0, 10);
    QSignalSpy spy(&gauge, &Gauge::valueChanged);
    gauge.setValue(20);
    gauge.setValue(30);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 10);
}

TEST(Gauge, NarrowingTheRangeClampsTheValue) {
    Gauge gauge;
    gauge.setRange(0, 100);
    gauge.setValue(80);
    QSignalSpy spy(&gauge, &Gauge::valueChanged);
    gauge.setMaximum(60);
    EXPECT_EQ(gauge.value(), 60);
    gauge.setMinimum(70);
    EXPECT_EQ(gauge.minimum(), 70);
    EXPECT_EQ(gauge.maximum(), 70);
    EXPECT_EQ(gauge.value(), 70);
    EXPECT_EQ(spy.count(), 2);
}

TEST(Gauge, InvertedRangeRaisesTheMaximum) {
    Gauge gauge;
    gauge.setRange(10, 5);
    EXPECT_EQ(gauge.minimum(), 10);
    EXPECT_EQ(gauge.maximum(), 10);
    EXPECT_EQ(gauge.value(), 10);
    EXPECT_EQ(gauge.fraction(), 0.0);
}

TEST(Gauge, FractionOverTheWholeIntRange) {
    Gauge gauge;
    gauge.setRange(INT_MIN, INT_MAX);
    gauge.setValue(INT_MAX);
    EXPECT_DOUBLE_EQ(gauge.fraction(), 1.0);
    gauge.setValue(0);
    EXPECT_NEAR(gauge.fraction(), 0.5, 1e-9);
}

TEST(Gauge, TextFormat) {
    Gauge gauge;
    gauge.setRange(0, 120);
    gauge.setValue(30);
    EXPECT_EQ(gauge.text(), QStringLiteral("25%"));
    gauge.setFormat(QStringLiteral("已答 %v/%m 题（%p%）"));
    EXPECT_EQ(gauge.text(), QStringLiteral("已答 30/120 题（25%）"));
}

TEST(Gauge, ColourChangesNearTheEnd) {
    Gauge gauge;
    gauge.setRange(0, 100);
    gauge.setWarningFraction(0.9);
    gauge.setValue(89);
    EXPECT_FALSE(gauge.isWarning());
    const QColor calm = gauge.fillEndColor();
    gauge.setValue(90);
    EXPECT_TRUE(gauge.isWarning());
    const QColor warn = gauge.fillEndColor();
    EXPECT_NE(warn, calm);
    EXPECT_GT(warn.red(), warn.blue());
    EXPECT_GT(calm.blue(), calm.red());
}

TEST(Gauge, FillReachesAsFarAsTheValue) {
    Gauge gauge;
    gauge.setRange(0, 100);
    gauge.setValue(50);
    gauge.resize(200, 20);
    const QImage image = gauge.grab().toImage();
    const QColor trough = image.pixelColor(190, 14);
    EXPECT_NE(image.pixelColor(60, 14), trough);
    EXPECT_EQ(image.pixelColor(120, 14), trough);
    gauge.setValue(100);
    EXPECT_NE(gauge.grab().toImage().pixelColor(190, 14), trough);
}

TEST(Gauge, VerticalFillsFromTheBottom) {
    Gauge gauge;
    gauge.setOrientation(Qt::Vertical);
    gauge.setRange(0, 100);
    gauge.setValue(25);
    gauge.resize(16, 200);
    const QImage image = gauge.grab().toImage();
    const QColor trough = image.pixelColor(10, 10);
    // A quarter of the trough, counted from its bottom edge, is filled.
    EXPECT_NE(image.pixelColor(10, 190), trough);
    EXPECT_NE(image.pixelColor(10, 160), trough);
    EXPECT_EQ(image.pixelColor(10, 130), trough);
    EXPECT_GT(gauge.sizeHint().height(), gauge.sizeHint().width());
}
