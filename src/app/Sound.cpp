#include "Sound.h"

#include <QDebug>
#include <exception>

#include "Globals.h"
#include "Prompt.h"

namespace app {
namespace {

std::unique_ptr<platform::SoundBackend>& backendSlot() {
    static std::unique_ptr<platform::SoundBackend> backend;
    return backend;
}

void tellCannotPlay() {
    widgets::ShowPromptBox(QStringLiteral("提示"), QStringLiteral("无法播放背景音乐！"), 1,
                           QStringLiteral("NO"), widgets::kPictureWarning);
}

}  // namespace

QString DefaultMusicFile() {
    return qb::ProgramFolder + QStringLiteral("sound/乐曲01.mid");
}

QStringList MusicPieceNames() {
    QStringList names;
    for (int i = 1; i <= 6; ++i)
        names << QStringLiteral("乐曲%1").arg(i, 2, 10, QLatin1Char('0'));
    return names;
}

void setSoundBackend(std::unique_ptr<platform::SoundBackend> backend) {
    backendSlot() = std::move(backend);
}

platform::SoundBackend* soundBackend() {
    return backendSlot().get();
}

void PlayBackgroundMusic(const QString& file, bool on) {
    platform::SoundBackend* backend = soundBackend();
    if (backend == nullptr || backend->outputDeviceCount() == 0) {
        widgets::ShowPromptBox(QStringLiteral("提示"), QStringLiteral("没发现声卡！"), 1,
                               QStringLiteral("NO"), widgets::kPictureWarning);
        return;
    }
    try {
        backend->stop();
        if (!on) return;
        QString error;
        if (!backend->playMidi(file, &error)) {
            qWarning().noquote() << "background music:" << error;
            tellCannotPlay();
        }
    } catch (const std::exception& e) {
        // Music is a nicety: whatever goes wrong in the back end, studying goes on.
        qWarning().noquote() << "background music:" << e.what();
        tellCannotPlay();
    }
}

quint32 WaveVolumeForLevel(int level) {
    const int clamped = std::clamp(level, 1, 16);
    return quint32(clamped - 1) * 0x11111111u;
}

void SetWaveVolume(int level) {
    platform::SoundBackend* backend = soundBackend();
    if (backend == nullptr) return;
    const quint32 volume = WaveVolumeForLevel(level);
    for (int device = 0; device < 16; ++device)
        backend->setOutputGain(device, volume);
}

}  // namespace app
