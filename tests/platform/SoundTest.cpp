// The background-music routines through a recording back end and prompt service.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <stdexcept>

#include "FakeSoundBackend.h"
#include "Globals.h"
#include "Pieces.h"
#include "Prompt.h"
#include "Sound.h"

namespace {

struct Prompt {
    QString caption, text, mode;
    int kind = 0, picture = 0;
};

class RecordingPrompts : public widgets::PromptService {
  public:
    QVector<Prompt> prompts;
    int promptBox(const QString& caption, const QString& text, int kind, const QString& mode,
                  int picture) override {
        prompts.append({caption, text, mode, kind, picture});
        return 1;
    }
    widgets::MessageResult messageBox(const QString&, const QString&, widgets::MessageIcon,
                                      widgets::MessageButtons) override {
        ADD_FAILURE() << "the sound routines use the prompt box only";
        return widgets::MessageResult::Ok;
    }
};

class ThrowingBackend : public platform::FakeSoundBackend {
  public:
    bool playMidi(const QString&, QString*) override { throw std::runtime_error("driver died"); }
};

class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = widgets::setPromptService(&prompts_);
        auto fake = std::make_unique<platform::FakeSoundBackend>();
        fake_ = fake.get();
        app::setSoundBackend(std::move(fake));
    }
    void TearDown() override {
        app::setSoundBackend(nullptr);
        widgets::setPromptService(previous_);
    }

    void expectOnlyPrompt(const QString& text) {
        ASSERT_EQ(prompts_.prompts.size(), 1);
        const Prompt& p = prompts_.prompts[0];
        EXPECT_EQ(p.caption, QStringLiteral("提示"));
        EXPECT_EQ(p.text, text);
        EXPECT_EQ(p.kind, 1);
        EXPECT_EQ(p.mode, QStringLiteral("NO"));
        EXPECT_EQ(p.picture, 1);
    }

    QStringList gainsFor(int level) {
        fake_->calls.clear();
        app::SetWaveVolume(level);
        return fake_->calls;
    }

    static QStringList allDevices(const char* volume) {
        QStringList calls;
        for (int id = 0; id < 16; ++id)
            calls << QStringLiteral("gain %1 %2").arg(id).arg(QLatin1String(volume));
        return calls;
    }

    RecordingPrompts prompts_;
    platform::FakeSoundBackend* fake_ = nullptr;

  private:
    widgets::PromptService* previous_ = nullptr;
};

}  // namespace

TEST_F(SoundTest, VolumeLevelsAreClampedAndSpreadOverTheRange) {
    EXPECT_EQ(gainsFor(0), allDevices("00000000"));
    EXPECT_EQ(gainsFor(-7), allDevices("00000000"));
    EXPECT_EQ(gainsFor(1), allDevices("00000000"));
    EXPECT_EQ(gainsFor(2), allDevices("11111111"));
    EXPECT_EQ(gainsFor(9), allDevices("88888888"));
    EXPECT_EQ(gainsFor(16), allDevices("ffffffff"));
    EXPECT_EQ(gainsFor(40), allDevices("ffffffff"));
    EXPECT_TRUE(prompts_.prompts.isEmpty());
}

TEST_F(SoundTest, NoSoundCardIsToldAndNothingPlays) {
    fake_->devices = 0;
    app::PlayBackgroundMusic(QStringLiteral("/x/乐曲01.mid"), true);
    expectOnlyPrompt(QStringLiteral("没发现声卡！"));
    EXPECT_TRUE(fake_->calls.isEmpty());
}

TEST_F(SoundTest, NoBackEndCountsAsNoSoundCard) {
    app::setSoundBackend(nullptr);
    app::PlayBackgroundMusic(QStringLiteral("/x/乐曲01.mid"), true);
    expectOnlyPrompt(QStringLiteral("没发现声卡！"));
    app::SetWaveVolume(5);  // must not crash either
}

TEST_F(SoundTest, AFileThatCannotPlayIsTold) {
    fake_->playFails = true;
    app::PlayBackgroundMusic(QStringLiteral("/x/坏.mid"), true);
    expectOnlyPrompt(QStringLiteral("无法播放背景音乐！"));
    EXPECT_EQ(fake_->calls, (QStringList{"stop", "play /x/坏.mid"}));
}

TEST_F(SoundTest, ABackEndThatThrowsIsToldAndTheProgramGoesOn) {
    app::setSoundBackend(std::make_unique<ThrowingBackend>());
    app::PlayBackgroundMusic(QStringLiteral("/x/乐曲02.mid"), true);
    expectOnlyPrompt(QStringLiteral("无法播放背景音乐！"));
}

TEST_F(SoundTest, OnStopsAndPlaysOffOnlyStops) {
    app::PlayBackgroundMusic(QStringLiteral("/x/乐曲03.mid"), true);
    EXPECT_EQ(fake_->calls, (QStringList{"stop", "play /x/乐曲03.mid"}));
    app::PlayBackgroundMusic(QStringLiteral("/x/乐曲03.mid"), false);
    EXPECT_EQ(fake_->calls, (QStringList{"stop", "play /x/乐曲03.mid", "stop"}));
    EXPECT_TRUE(prompts_.prompts.isEmpty());
}

TEST(SoundFiles, DefaultMusicIsTheFirstPieceInTheProgramFolder) {
    const QString saved = qb::ProgramFolder;
    qb::ProgramFolder = QStringLiteral("/opt/考试/");
    EXPECT_EQ(app::DefaultMusicFile(), QStringLiteral("/opt/考试/sound/乐曲01.mid"));
    qb::ProgramFolder = saved;
}

TEST(SoundFiles, ThePieceNamesAreTheFilesMidigenWrites) {
    QVector<midigen::Piece> pieces;
    ASSERT_TRUE(midigen::buildPieces(&pieces, nullptr));
    QStringList written;
    for (const midigen::Piece& piece : pieces)
        written << piece.fileName;
    EXPECT_EQ(app::MusicPieceNames(), written);
    EXPECT_EQ(app::MusicPieceNames().first() + QStringLiteral(".mid"),
              QFileInfo(app::DefaultMusicFile()).fileName());
}

TEST(SoundFiles, TheBuildPutsEveryPieceInTheProgramsSoundFolder) {
    for (const QString& name : app::MusicPieceNames()) {
        const QFileInfo file(QStringLiteral(APP_SOUND_DIR "/") + name + QStringLiteral(".mid"));
        EXPECT_TRUE(file.isFile()) << file.filePath().toStdString();
        EXPECT_GT(file.size(), 1000);
    }
}
