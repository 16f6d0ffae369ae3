// The exam settings window on a tiny bank, driven by its controls offscreen.
#include "EffectButton.h"
#include "EsetBank.h"
#include "Globals.h"
#include "Ueset.h"
#include "app/FakePrompts.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QTest>

#include <memory>

using exam::TFrmEset;

namespace {

const QString kAboveTotal = QStringLiteral("message|提示|最低分数不能超过总分数！|0|0");
const QString kSaveFailed = QStringLiteral("message|警告|保存设置失败！|2|0");

class EsetWindowTest : public EsetBankTest {
  protected:
    void SetUp() override {
        EsetBankTest::SetUp();
        setTotal(140);
        setPlan(7200, 100);
    }
    void TearDown() override {
        window.reset();
        dm.reset();
        EsetBankTest::TearDown();
    }
    void open() {
        dm = openModule();
        window = std::make_unique<TFrmEset>(*dm);
        window->show();
    }
    void replaceText(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    static void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

    FakePrompts prompts;
    std::unique_ptr<store::TDM1> dm;
    std::unique_ptr<TFrmEset> window;
};

TEST_F(EsetWindowTest, ShowsTheMinimumAndTheTimeInMinutes) {
    open();
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("100"));
    EXPECT_EQ(window->Edit2->text(), QStringLiteral("120"));
    EXPECT_FALSE(window->CheckBox1->isChecked());
    EXPECT_FALSE(window->CheckBox2->isChecked());
    EXPECT_TRUE(window->Button1->isEnabled());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(EsetWindowTest, StoredMinimumAboveTheTotalIsCorrectedOnShow) {
    setPlan(7200, 150);
    open();
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("140"));
    EXPECT_EQ(prompts.shown, QStringList{kAboveTotal});
}

TEST_F(EsetWindowTest, TypedMinimumAboveTheTotalIsRefused) {
    open();
    window->activateWindow();
    replaceText(window->Edit1, QStringLiteral("999"));
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("140"));
    EXPECT_EQ(prompts.shown, QStringList{kAboveTotal});
    EXPECT_EQ(window->focusWidget(), window->Edit1);
}

TEST_F(EsetWindowTest, FieldsTakeThreeDigitsOnly) {
    open();
    replaceText(window->Edit2, QStringLiteral("9a-1234"));
    EXPECT_EQ(window->Edit2->text(), QStringLiteral("912"));
}

TEST_F(EsetWindowTest, EmptiedMinimumBecomesZeroAndTheNextDigitReplacesIt) {
    open();
    window->Edit1->selectAll();
    QTest::keyClick(window->Edit1, Qt::Key_Delete);
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("0"));
    QTest::keyClicks(window->Edit1, QStringLiteral("85"));
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("85"));
}

TEST_F(EsetWindowTest, DefaultRestoresOnlyTheCheckedItems) {
    open();
    window->Edit2->setText(QStringLiteral("45"));
    click(window->CheckBox1);
    click(window->Button1);
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("70"));
    EXPECT_EQ(window->Edit2->text(), QStringLiteral("45"));
    click(window->CheckBox2);
    click(window->Button1);
    EXPECT_EQ(window->Edit2->text(), QStringLiteral("120"));
}

TEST_F(EsetWindowTest, DefaultMinimumFollowsAnOddTotal) {
    setTotal(149);
    open();
    click(window->CheckBox1);
    click(window->Button1);
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("74"));
}

TEST_F(EsetWindowTest, DefaultIsEnabledOnlyWhileABoxIsChecked) {
    open();
    click(window->CheckBox2);
    EXPECT_TRUE(window->Button1->isEnabled());
    click(window->CheckBox2);
    EXPECT_FALSE(window->Button1->isEnabled());
    click(window->CheckBox1);
    EXPECT_TRUE(window->Button1->isEnabled());
}

TEST_F(EsetWindowTest, CloseButtonSavesTheOneRowAndCloses) {
    open();
    replaceText(window->Edit1, QStringLiteral("66"));
    replaceText(window->Edit2, QStringLiteral("90"));
    click(window->Button2);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(planInFile(), QStringLiteral("1|5400|66"));
    EXPECT_FALSE(dm->Cn1Table_plan.isActive());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(EsetWindowTest, ClosingOtherwiseSavesNothing) {
    open();
    replaceText(window->Edit1, QStringLiteral("66"));
    replaceText(window->Edit2, QStringLiteral("90"));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(planInFile(), QStringLiteral("1|7200|100"));
    EXPECT_FALSE(dm->Cn1Table_plan.isActive());
}

TEST_F(EsetWindowTest, EmptyMinutesAreReportedAndTheRowKept) {
    open();
    replaceText(window->Edit1, QStringLiteral("66"));
    window->Edit2->clear();
    click(window->Button2);
    EXPECT_EQ(prompts.shown, QStringList{kSaveFailed});
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(planInFile(), QStringLiteral("1|7200|100"));
}

// Pictures of the window on the program's own bank for a person to look at;
// written to ESET_SHOTS when it is set.
TEST(EsetPictures, BothScreenModesRenderOnACopyOfTheBank) {
    const QString shots = qEnvironmentVariable("ESET_SHOTS");
    const QString source = QStringLiteral(EXAMSTUDY_APP_DIR "/data/QBDATA000001.db");
    if (shots.isEmpty() || !QFile::exists(source)) GTEST_SKIP() << "no ESET_SHOTS or no bank";
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/data"));
    ASSERT_TRUE(QFile::copy(source, dir.path() + QStringLiteral("/data/QBDATA000001.db")));
    FakePrompts prompts;
    for (const QString& mode : {QStringLiteral("1024"), QStringLiteral("800")}) {
        qb::ScreenMode = mode;
        store::TDM1 dm;
        dm.DataModuleCreate(dir.path());
        ASSERT_TRUE(dm.DatabaseReady);
        TFrmEset window(dm);
        window.show();
        window.CheckBox2->setChecked(true);
        EXPECT_EQ(window.size(), TFrmEset::kSize);
        EXPECT_TRUE(QFontInfo(window.CheckBox1->font()).family().contains(QStringLiteral("UMing")))
            << QFontInfo(window.CheckBox1->font()).family().toStdString();
        EXPECT_TRUE(window.grab().save(shots + QStringLiteral("/eset_") + mode + ".png"));
        window.close();
    }
    qb::ScreenMode = QStringLiteral("1024");
}

}  // namespace
