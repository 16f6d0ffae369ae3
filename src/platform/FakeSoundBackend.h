// A sound back end that only records what it was asked, for tests.
#pragma once

#include "SoundBackend.h"

#include <QStringList>

namespace platform {

class FakeSoundBackend : public SoundBackend {
  public:
    int devices = 1;
    bool playFails = false;
    // One entry a call: "stop", "play <file>", "gain <id> <volume as 8 hex digits>".
    QStringList calls;

    int outputDeviceCount() override { return devices; }
    bool playMidi(const QString& file, QString* error) override {
        calls << QStringLiteral("play ") + file;
        if (playFails && error) *error = QStringLiteral("fake failure");
        return !playFails;
    }
    void stop() override { calls << QStringLiteral("stop"); }
    void setOutputGain(int deviceId, quint32 volume) override {
        calls << QStringLiteral("gain %1 %2").arg(deviceId).arg(volume, 8, 16, QLatin1Char('0'));
    }
};

}  // namespace platform
