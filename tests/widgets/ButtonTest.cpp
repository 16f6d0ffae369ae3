#include "EffectButton.h"
#include "FlatButton.h"
#include "PictureButton.h"
#include "ShapeButton.h"
#include "Skin.h"

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace widgets;

namespace {

const QColor kBlack(0, 0, 0);
const QColor kGrey(128, 128, 128);

void sendEnter(QWidget* w) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w, &enter);
}

void sendLeave(QWidget* w) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
}

QPixmap solid(QSize size, QColor colour) {
    QPixmap pm(size);
    pm.fill(colour);
    return pm;
}

// The darkest pixel of a rendering, by its lightest channel: where the text is.
int darkest(const QImage& image) {
    int lowest = 255;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            lowest = std::min(lowest, std::max({c.red(), c.green(), c.blue()}));
        }
    }
    return lowest;
}

}  // namespace

// Every kind of button follows the same click, key and colour rules.
template <typename T>
class AnyButton : public ::testing::Test {
  protected:
    void SetUp() override {
        button = std::make_unique<T>();
        button->setText(QStringLiteral("确定"));
        button->resize(button->sizeHint());
        button->show();
    }
    std::unique_ptr<T> button;
};

using ButtonTypes = ::testing::Types<FlatButton, EffectButton, ShapeButton, PictureButton>;
TYPED_TEST_SUITE(AnyButton, ButtonTypes);

TYPED_TEST(AnyButton, ClickEmitsClickedOnce) {
    QSignalSpy spy(this->button.get(), &QAbstractButton::clicked);
    QTest::mouseClick(this->button.get(), Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
}

TYPED_TEST(AnyButton, DisabledIgnoresMouseAndSpace) {
    this->button->setEnabled(false);
    QSignalSpy spy(this->button.get(), &QAbstractButton::clicked);
    const bool checked = this->button->isChecked();
    QTest::mouseClick(this->button.get(), Qt::LeftButton);
    QTest::keyClick(this->button.get(), Qt::Key_Space);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(this->button->isChecked(), checked);
}

TYPED_TEST(AnyButton, SpaceActivates) {
    QSignalSpy spy(this->button.get(), &QAbstractButton::clicked);
    QTest::keyClick(this->button.get(), Qt::Key_Space);
    EXPECT_EQ(spy.count(), 1);
}

TYPED_TEST(AnyButton, FocusIsMarked) {
    const QImage unfocused = this->button->grab().toImage();
    QApplication::setActiveWindow(this->button.get());
    this->button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(this->button->hasFocus());
    EXPECT_NE(this->button->grab().toImage(), unfocused);
}

TYPED_TEST(AnyButton, TextBlackNormallyBlueUnderMouseGreyDisabled) {
    EXPECT_EQ(this->button->textColor(), kBlack);
    sendEnter(this->button.get());
    EXPECT_TRUE(this->button->isHovered());
    const QColor hover = this->button->textColor();
    EXPECT_GT(hover.blue(), hover.red() + 100);
    sendLeave(this->button.get());
    EXPECT_EQ(this->button->textColor(), kBlack);

    this->button->setEnabled(false);
    EXPECT_EQ(this->button->textColor(), kGrey);
}

TYPED_TEST(AnyButton, DisabledUnderMouseIsNotBlueWhenEnabledAgain) {
    sendEnter(this->button.get());
    this->button->setEnabled(false);
    EXPECT_EQ(this->button->textColor(), kGrey);
    this->button->setEnabled(true);
    EXPECT_EQ(this->button->textColor(), kBlack);
}

TYPED_TEST(AnyButton, CaptionPaintedGreyWhenDisabled) {
    this->button->setText(QStringLiteral("8888"));
    this->button->resize(this->button->sizeHint());
    const int enabledInk = darkest(this->button->grab().toImage());
    this->button->setEnabled(false);
    const int disabledInk = darkest(this->button->grab().toImage());
    EXPECT_LT(enabledInk, 70);
    EXPECT_GE(disabledInk, 100);
}

TYPED_TEST(AnyButton, SizeHintFitsTheText) {
    const QSize shortHint = this->button->sizeHint();
    this->button->setText(QStringLiteral("这是一个相当长的按钮标题文字"));
    const QSize longHint = this->button->sizeHint();
    EXPECT_GT(longHint.width(), shortHint.width());
    const QFontMetrics fm(this->button->font());
    EXPECT_GE(longHint.width(), fm.horizontalAdvance(this->button->text()));
    EXPECT_GE(longHint.height(), fm.height());
}

TEST(ShapeButton, DefaultSizeIs73By25) {
    ShapeButton button(QStringLiteral("确定"));
    EXPECT_EQ(button.sizeHint(), QSize(73, 25));
}

TEST(FlatButton, GlyphWidensTheButton) {
    FlatButton plain(QStringLiteral("帮助"));
    FlatButton withGlyph(QIcon(solid(QSize(16, 16), Qt::red)), QStringLiteral("帮助"));
    EXPECT_GE(withGlyph.sizeHint().width(), plain.sizeHint().width() + 16);
}

TEST(FlatButton, NotCheckable) {
    FlatButton button(QStringLiteral("帮助"));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(button.isChecked());
}

TEST(PictureButton, ShowsThePictureOfItsState) {
    PictureButton button;
    button.setPictures(solid(QSize(36, 26), Qt::green), solid(QSize(36, 26), Qt::red));
    EXPECT_EQ(button.sizeHint(), QSize(36, 26));
    button.resize(button.sizeHint());
    EXPECT_EQ(button.grab().toImage().pixelColor(1, 1), QColor(Qt::green));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_TRUE(button.isChecked());
    EXPECT_EQ(button.grab().toImage().pixelColor(1, 1), QColor(Qt::red));
}

TEST(PictureButton, ClickTogglesUnlessSticky) {
    PictureButton button;
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(button.isChecked());
    button.setSticky(true);
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_TRUE(button.isChecked());
}

TEST(PictureButton, LoadPicturesKeepsOldOnesWhenAFileIsMissing) {
    PictureButton button;
    button.setPictures(solid(QSize(36, 26), Qt::green), solid(QSize(36, 26), Qt::red));
    EXPECT_FALSE(button.loadPictures(QStringLiteral("/nonexistent/up.bmp"),
                                     QStringLiteral("/nonexistent/dw.bmp")));
    EXPECT_EQ(button.upPicture().size(), QSize(36, 26));
}
