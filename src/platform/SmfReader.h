// A Standard MIDI File reader. The player checks a file with it before handing the
// bytes to the synthesiser, because FluidSynth loads files lazily on its audio
// thread and reports a damaged one only by falling silent.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

namespace platform {

struct MidiEvent {
    quint32 tick = 0;     // absolute, from the start of the track
    quint8 status = 0;    // 0x80..0xEF channel message, 0xF0/0xF7 SysEx, 0xFF meta
    quint8 metaType = 0;  // meta events only
    QByteArray data;      // channel: 1 or 2 data bytes; meta and SysEx: the payload
};

struct MidiTrack {
    QVector<MidiEvent> events;
    quint32 declaredLength = 0;  // the MTrk chunk length as written in the file
};

struct MidiFileData {
    int format = 0;
    int division = 0;  // ticks per quarter note (SMPTE divisions are refused)
    QVector<MidiTrack> tracks;
};

// Reads a variable-length quantity at *pos, advancing it; false when the bytes end
// early or the value takes more than four bytes.
bool readVarLen(const QByteArray& bytes, int* pos, quint32* value);

// Parses a whole file; false with a reason in *error for anything malformed.
bool parseMidi(const QByteArray& bytes, MidiFileData* out, QString* error);

// Playing time in seconds, following the tempo changes of every track.
double midiDurationSeconds(const MidiFileData& midi);

}  // namespace platform
