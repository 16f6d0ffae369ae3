// The sound output the program plays its background music through. The program
// uses FluidSynth; tests use FakeSoundBackend so that they need no sound card.
#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

namespace platform {

class SoundBackend {
  public:
    virtual ~SoundBackend() = default;
    // Number of usable output devices; 0 means no sound card.
    virtual int outputDeviceCount() = 0;
    // Stops whatever plays and plays the file in a loop until stop(); false with a
    // reason in *error (when given) if the file is missing or damaged or the
    // output cannot be opened.
    virtual bool playMidi(const QString& file, QString* error) = 0;
    virtual void stop() = 0;
    // The 32-bit wave-output volume: low 16 bits the left channel, high 16 bits the
    // right. Ids without a device are ignored.
    virtual void setOutputGain(int deviceId, quint32 volume) = 0;
};

std::unique_ptr<SoundBackend> makeFluidSynthBackend();

}  // namespace platform
