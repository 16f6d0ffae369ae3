// The study-aid commands as the menu sends them: the windows registered by the
// program, music through a fake sound back end.
#include "DataModule.h"
#include "EmptyBank.h"
#include "FakePrompts.h"
#include "FakeSoundBackend.h"
#include "Globals.h"
#include "PracticeLauncher.h"
#include "Sound.h"
#include "Uabout.h"
#include "Uconfig.h"
#include "Ustart.h"
#include "WindowDriver.h"
#include "WindowHooks.h"
#include "Windows.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class StudyAidCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        OpenEmptyBank(dm, dir.path());
        start = std::make_unique<app::TFrmStart>(dm);
        app::RegisterWindows(*start, dm);
        start->setMockExamStarter([](int) {});
        auto fake = std::make_unique<platform::FakeSoundBackend>();
        sound = fake.get();
        app::setSoundBackend(std::move(fake));
        app::MusicFile = app::DefaultMusicFile();
    }
    void TearDown() override {
        app::setSoundBackend(nullptr);
        widgets::setSystemSettingsRunner(nullptr);
        practice::setChapterPracticeRunner(nullptr);
        qb::ConfigMode = 0;
    }
    // Runs `act` on the settings window once it shows, then closes it.
    static void whenSettingsShow(const std::function<void(aids::TFrmConfig&)>& act) {
        QTimer::singleShot(0, [act] {
            ASSERT_NE(aids::FrmConfig, nullptr);
            act(*aids::FrmConfig);
            ClickControl(aids::FrmConfig, QStringLiteral("epFocusButton3"));
        });
    }

    QTemporaryDir dir;
    store::TDM1 dm;
    std::unique_ptr<app::TFrmStart> start;
    platform::FakeSoundBackend* sound = nullptr;
};

TEST_F(StudyAidCommandsTest, MusicSwitchesAndPiecesPlayThroughTheSoundBackEnd) {
    whenSettingsShow([](aids::TFrmConfig& w) {
        ClickControl(&w, QStringLiteral("RxSwitch1"));  // shown on: this turns it off
        ClickControl(&w, QStringLiteral("RxSwitch1"));
        FindControl<QComboBox>(&w, QStringLiteral("FlatComboBox1"))->setCurrentIndex(5);
    });
    start->ShockwaveFlash1FSCommand(QStringLiteral("music"), QString());
    const QString folder = qb::ProgramFolder + QStringLiteral("sound/");
    EXPECT_EQ(sound->calls,
              QStringList({QStringLiteral("stop"), QStringLiteral("stop"),
                           QStringLiteral("play ") + folder + QStringLiteral("乐曲01.mid"),
                           QStringLiteral("stop"),
                           QStringLiteral("play ") + folder + QStringLiteral("乐曲06.mid")}));
    EXPECT_EQ(app::MusicFile, folder + QStringLiteral("乐曲06.mid"));
    EXPECT_EQ(aids::FrmConfig, nullptr);
}

TEST_F(StudyAidCommandsTest, WithoutASoundCardTheUserIsTold) {
    sound->devices = 0;
    FakePrompts prompts;
    whenSettingsShow([](aids::TFrmConfig& w) { ClickControl(&w, QStringLiteral("RxSwitch1")); });
    start->ShockwaveFlash1FSCommand(QStringLiteral("music"), QString());
    EXPECT_TRUE(sound->calls.filter(QStringLiteral("play")).isEmpty());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].contains(QStringLiteral("没发现声卡！")));
}

TEST_F(StudyAidCommandsTest, AnswerTimesAfterAnExamOfKindThreeAreThoseOfItsTypes) {
    for (int id = 1; id <= 2; ++id)
        dm.ADOCn1.execute(QStringLiteral("insert into tab_tx3 (A1,B1,time) values (?,?,2)"),
                          {{{}, id}, {{}, QStringLiteral("题型%1").arg(id)}});
    start->ShockwaveFlash1FSCommand(QStringLiteral("mnks3"), QString());
    QString kindLine;
    whenSettingsShow([&kindLine](aids::TFrmConfig& w) {
        kindLine = FindControl<QLabel>(&w, QStringLiteral("LabelKind"))->text();
        EXPECT_FALSE(FindControl<QWidget>(&w, QStringLiteral("FlatComboBox1"))->isVisible());
        EXPECT_EQ(FindControl<QWidget>(&w, QStringLiteral("epFocusButton3"))->pos(),
                  QPoint(280, 137));
        FindControl<QDoubleSpinBox>(&w, QStringLiteral("Currencyedit2"))->setValue(2.5);
    });
    start->ShockwaveFlash1FSCommand(QStringLiteral("sztime"), QString());
    EXPECT_TRUE(kindLine.contains(QStringLiteral("数据库技术"))) << kindLine.toStdString();
    EXPECT_EQ(dm.ADOCn1.scalar(QStringLiteral("select time from tab_tx3 where A1=2")).toDouble(),
              2.5);
    EXPECT_EQ(qb::AnswerTimeTable.typeIds, QVector<int>({1, 2}));
    EXPECT_EQ(qb::AnswerTimeTable.tenths, QVector<int>({1200, 1500}));
}

// Every other window's "设置" opens the music settings, whatever mode was last used.
TEST_F(StudyAidCommandsTest, TheSettingsButtonOfOtherWindowsOpensMusic) {
    ASSERT_TRUE(widgets::HasSystemSettings());
    qb::ConfigMode = 1;
    int height = 0;
    whenSettingsShow([&height](aids::TFrmConfig& w) { height = w.height(); });
    QWidget owner;
    widgets::RunSystemSettings(&owner);
    EXPECT_EQ(height, aids::TFrmConfig::kMusicHeight);
}

// "about" shows the picture drawn at build time and closes with its button.
TEST_F(StudyAidCommandsTest, AboutShowsThePictureAndCloses) {
    qb::ProgramFolder = QStringLiteral(APP_PIC_FOLDER);
    bool pictured = false;
    QTimer::singleShot(0, [&pictured] {
        ASSERT_NE(aids::FrmAbout, nullptr);
        pictured = aids::FrmAbout->hasPicture();
        ClickControl(aids::FrmAbout, QStringLiteral("epEfTrBtn1"));
    });
    start->ShockwaveFlash1FSCommand(QStringLiteral("about"), QString());
    EXPECT_TRUE(pictured);
    EXPECT_EQ(aids::FrmAbout, nullptr);
}

}  // namespace
