// The real FluidSynth back end: file checks, the machine without sound, the volume
// mapping, the SoundFont search, and the pieces rendered offline to WAV.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>

#include "FluidSynth.h"
#include "Pieces.h"
#include "SoundBackend.h"

namespace {

// Whether this machine can have an audio output at all: no ALSA card and no
// sound server means FluidSynth cannot open one.
bool machineHasNoSound() {
    if (QFileInfo::exists(QStringLiteral("/dev/snd"))) return false;
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) return false;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && (QFileInfo::exists(runtime + QStringLiteral("/pulse/native")) ||
                               QFileInfo::exists(runtime + QStringLiteral("/pipewire-0"))))
        return false;
    return true;
}

struct Wav {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    QVector<qint16> samples;
};

// Reads a 16-bit PCM WAV file; channels stays 0 when it is not one.
Wav readWav(const QString& path) {
    Wav wav;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return wav;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return wav;
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    int pos = 12;
    int channels = 0;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const qint64 length = qFromLittleEndian<quint32>(data + pos + 4);
        pos += 8;
        if (length > bytes.size() - pos) break;
        if (id == "fmt " && length >= 16) {
            if (qFromLittleEndian<quint16>(data + pos) != 1) return wav;  // PCM only
            channels = qFromLittleEndian<quint16>(data + pos + 2);
            wav.rate = int(qFromLittleEndian<quint32>(data + pos + 4));
            wav.bits = qFromLittleEndian<quint16>(data + pos + 14);
        } else if (id == "data" && wav.bits == 16) {
            for (qint64 i = 0; i + 1 < length; i += 2)
                wav.samples.append(qFromLittleEndian<qint16>(data + pos + i));
            wav.channels = channels;
        }
        pos += int(length + (length & 1));
    }
    return wav;
}

struct Loudness {
    int peak = 0;
    double rms = 0;
};

Loudness loudness(const QVector<qint16>& samples) {
    Loudness result;
    double sum = 0;
    for (qint16 s : samples) {
        result.peak = std::max(result.peak, std::abs(int(s)));
        sum += double(s) * s;
    }
    if (!samples.isEmpty()) result.rms = std::sqrt(sum / samples.size());
    return result;
}

class PiecesOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QString error;
        ASSERT_TRUE(midigen::writeAllPieces(dir_.path(), &error)) << error.toStdString();
    }
    QString piece(int number) const {
        return dir_.filePath(QStringLiteral("乐曲%1.mid").arg(number, 2, 10, QLatin1Char('0')));
    }
    QString scratch(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
};

}  // namespace

TEST(FluidSynthBackend, WithoutASoundDeviceReportsNoneAndRefusesToPlay) {
    if (!machineHasNoSound()) GTEST_SKIP() << "this machine has sound output";
    auto backend = platform::makeFluidSynthBackend();
    EXPECT_EQ(backend->outputDeviceCount(), 0);
    // Asked again, it probes again rather than remembering a broken state.
    EXPECT_EQ(backend->outputDeviceCount(), 0);

    QTemporaryDir dir;
    ASSERT_TRUE(midigen::writeAllPieces(dir.path(), nullptr));
    QString error;
    EXPECT_FALSE(backend->playMidi(dir.filePath(QStringLiteral("乐曲01.mid")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("声音输出"))) << error.toStdString();
    backend->setOutputGain(0, 0x80008000u);
    backend->stop();
}

TEST_F(PiecesOnDisk, MissingOrDamagedFilesAreRefusedWithAReason) {
    auto backend = platform::makeFluidSynthBackend();
    QString error;
    const QString missing = scratch(QStringLiteral("无此乐曲.mid"));
    EXPECT_FALSE(backend->playMidi(missing, &error));
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();

    QFile good(piece(2));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    const QByteArray damaged[] = {bytes.left(bytes.size() / 2), QByteArray(200, '\x90'),
                                  QByteArray()};
    for (const QByteArray& content : damaged) {
        QFile out(scratch(QStringLiteral("坏.mid")));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(content);
        out.close();
        error.clear();
        EXPECT_FALSE(backend->playMidi(out.fileName(), &error));
        EXPECT_TRUE(error.contains(QStringLiteral("损坏"))) << error.toStdString();
    }
    // A folder in place of the file.
    ASSERT_TRUE(QDir().mkpath(scratch(QStringLiteral("folder.mid"))));
    EXPECT_FALSE(backend->playMidi(scratch(QStringLiteral("folder.mid")), &error));
}

TEST(FluidSynthBackend, WaveVolumeMapsToGainAveragingTheChannels) {
    EXPECT_DOUBLE_EQ(platform::gainForWaveVolume(0), 0.0);
    EXPECT_DOUBLE_EQ(platform::gainForWaveVolume(0xFFFFFFFFu), platform::kFullGain);
    EXPECT_DOUBLE_EQ(platform::gainForWaveVolume(0x0000FFFFu), platform::kFullGain / 2);
    EXPECT_DOUBLE_EQ(platform::gainForWaveVolume(0xFFFF0000u), platform::kFullGain / 2);
    EXPECT_NEAR(platform::gainForWaveVolume(0x88888888u), platform::kFullGain * 8 / 15, 1e-9);
}

TEST(FluidSynthBackend, SoundFontSearchPrefersTimGM6mbThenTheFirstByName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString first = dir.filePath(QStringLiteral("one"));
    const QString second = dir.filePath(QStringLiteral("two"));
    QDir().mkpath(first);
    QDir().mkpath(second);
    auto touch = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    };
    EXPECT_EQ(platform::findSoundFont({first, second}), QString());
    ASSERT_TRUE(touch(second + QStringLiteral("/b.sf2")));
    ASSERT_TRUE(touch(second + QStringLiteral("/a.sf2")));
    ASSERT_TRUE(touch(second + QStringLiteral("/notes.txt")));
    EXPECT_EQ(platform::findSoundFont({first, second}), second + QStringLiteral("/a.sf2"));
    ASSERT_TRUE(touch(second + QStringLiteral("/TimGM6mb.sf2")));
    ASSERT_TRUE(touch(first + QStringLiteral("/z.sf2")));
    EXPECT_EQ(platform::findSoundFont({first, second}), second + QStringLiteral("/TimGM6mb.sf2"));
}

TEST(FluidSynthBackend, TheDebianSoundFontIsInstalled) {
    // scripts/setup installs timgm6mb-soundfont; without it there is no music.
    EXPECT_FALSE(platform::findSoundFont().isEmpty());
}

TEST_F(PiecesOnDisk, EveryPieceRendersAudibly) {
    constexpr double kSeconds = 3.0;
    for (int number = 1; number <= 6; ++number) {
        SCOPED_TRACE(number);
        const QString wavFile = scratch(QStringLiteral("%1.wav").arg(number));
        QString error;
        ASSERT_TRUE(platform::renderMidiToWav(piece(number), wavFile, kSeconds, &error))
            << error.toStdString();
        const Wav wav = readWav(wavFile);
        ASSERT_EQ(wav.channels, 2);
        EXPECT_EQ(wav.rate, 44100);
        EXPECT_NEAR(double(wav.samples.size()) / 2 / wav.rate, kSeconds, 0.01);
        const Loudness level = loudness(wav.samples);
        EXPECT_GT(level.peak, 2000);
        EXPECT_GT(level.rms, 150);
        EXPECT_LT(level.peak, 32767) << "clipped at full volume";
    }
}

TEST_F(PiecesOnDisk, ZeroGainRendersSilence) {
    // The loudness check above must be able to fail: the same piece at gain 0.
    const QString wavFile = scratch(QStringLiteral("silent.wav"));
    QString error;
    ASSERT_TRUE(platform::renderMidiToWav(piece(1), wavFile, 1.0, &error, 0.0))
        << error.toStdString();
    const Wav wav = readWav(wavFile);
    ASSERT_EQ(wav.channels, 2);
    EXPECT_GT(wav.samples.size(), 40000);
    EXPECT_LE(loudness(wav.samples).peak, 1);
}

TEST_F(PiecesOnDisk, RenderingADamagedFileFailsWithoutWritingAudio) {
    QFile out(scratch(QStringLiteral("bad.mid")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("MThd\0\0\0\6\0\1\0\2\1\xe0MTrk\0\0\0\x40", 22);
    out.close();
    QString error;
    EXPECT_FALSE(
        platform::renderMidiToWav(out.fileName(), scratch(QStringLiteral("bad.wav")), 1.0, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("损坏"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(scratch(QStringLiteral("bad.wav"))));
}
