// Background music and the wave-output volume.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "SoundBackend.h"

namespace app {

// The music file chosen in the settings window. It stays empty until start-up
// sets it to DefaultMusicFile(), because qb::ProgramFolder is known only then.
inline QString MusicFile;

// ProgramFolder + "sound/乐曲01.mid".
QString DefaultMusicFile();
// "乐曲01" … "乐曲06": the pieces shipped in the program's sound/ folder.
QStringList MusicPieceNames();

// The back end every routine here plays through; none installed counts as no
// sound card. The program installs FluidSynth, tests a fake.
void setSoundBackend(std::unique_ptr<platform::SoundBackend> backend);
platform::SoundBackend* soundBackend();

// Starts (on) or stops the music; tells the user when there is no sound card or
// the file cannot be played, and the program goes on either way.
void PlayBackgroundMusic(const QString& file, bool on);

// Volume level 1 (silent) .. 16 (full), clamped, applied to output devices 0..15.
void SetWaveVolume(int level);
// The wave-output volume of a level after clamping: both channels at (level-1)/15.
quint32 WaveVolumeForLevel(int level);

}  // namespace app
