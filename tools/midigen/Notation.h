// The text notation the pieces are written in, and chord charts turned into
// accompaniment.
//
// Notes: "E5:0.5 D#5 C5+E5:1 R:2 | ..." — a pitch (letter, optional # or b,
// octave; C4 = key 60), several joined by "+" for a chord, or R for a rest,
// then ":" and the length in quarter notes. A length left out repeats the one
// before. "|" is a bar line: every bar must be exactly one bar long, except a
// shorter first bar (the upbeat) and the last bar.
//
// Chord charts: "F:2 Dm:2 | C7:3 | Bb/D:1 ..." — a root with optional # or b,
// then "", "m", "7", "m7", "maj7" or "dim", optionally "/" and a bass note; R
// for silence. The same bar rules apply.
#pragma once

#include <QString>
#include <QVector>

namespace midigen {

inline constexpr int kTicksPerQuarter = 480;

struct Note {
    quint32 start = 0;   // ticks
    quint32 length = 0;  // ticks
    QVector<int> keys;   // empty for a rest
    bool downbeat = false;
};

// Key number of a pitch name such as "C4", "F#5", "Bb3"; -1 when malformed.
int parsePitch(const QString& name);

// Parses notes; false with the offending token or bar in *error.
bool parseNotes(const QString& text, double quartersPerBar, QVector<Note>* notes, QString* error);

struct Chord {
    int bassClass = 0;         // pitch class of the bass note
    QVector<int> toneClasses;  // pitch classes, root first
};
// Parses a chord symbol; false when malformed.
bool parseChord(const QString& symbol, Chord* chord);

enum class ChordPattern {
    BassThenChords,  // bass on the bar's first beat, chords on the other beats
    Held,            // bass and chord held for the chord's whole length
    Arpeggio,        // eighth notes: bass, then up and down the chord
};

// Turns a chord chart into notes: the bass between E2 and D#3, the chord in close
// position between F3 and E4.
bool expandChords(const QString& chart, double quartersPerBar, ChordPattern pattern,
                  QVector<Note>* notes, QString* error);

// Ticks from the start to the end of the last note or rest.
quint32 totalTicks(const QVector<Note>& notes);

}  // namespace midigen
