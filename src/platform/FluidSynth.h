// FluidSynth helpers beside the back end: the SoundFont search, the volume mapping
// and an offline renderer that lets the music be checked without a sound card.
#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Synthesiser gain at full wave volume. FluidSynth's own default, 0.2, is quiet
// with a GM SoundFont; much above 0.6 two-part pieces start to clip.
inline constexpr double kFullGain = 0.6;

// The synthesiser has one master gain, so the two channel volumes are averaged.
double gainForWaveVolume(quint32 volume);

// The General MIDI SoundFont to load: TimGM6mb from the Debian package when
// present, otherwise the first .sf2 in the given folders (default: the system's).
QString findSoundFont(const QStringList& folders = {});

// Renders a MIDI file to a 16-bit stereo WAV file at 44.1 kHz, at most maxSeconds
// long (the file plays once); false with a reason in *error.
bool renderMidiToWav(const QString& midiFile, const QString& wavFile, double maxSeconds,
                     QString* error, double gain = kFullGain);

}  // namespace platform
