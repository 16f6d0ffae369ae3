#include "Pieces.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>

#include "MidiWriter.h"

namespace midigen {
namespace {

// General MIDI programs, counted from 0.
constexpr int kPiano = 0;
constexpr int kCelesta = 8;
constexpr int kMusicBox = 10;
constexpr int kNylonGuitar = 24;
constexpr int kHarp = 46;
constexpr int kStrings = 48;
constexpr int kClarinet = 71;
constexpr int kFlute = 73;

struct PartSource {
    const char* name;
    int program;
    int volume;
    int velocity;
    const char* notes;   // note list, or
    const char* chords;  // a chord chart with the pattern below
    ChordPattern pattern;
    bool pedal;  // sustain pedal held through each bar, as a pianist plays broken chords
};

struct PieceSource {
    const char* fileName;
    const char* title;
    int beatsPerMinute;
    int numerator;
    int denominator;
    int repeats;
    PartSource melody;
    PartSource accompaniment;
};

// Jasmine Flower in the common Jiangsu version, 1 = F, the tune an octave above
// the voice so that the guitar's chords stay below it.
const char* const kJasmine =
    "A5:1 A5:0.5 G5 | A5:0.5 C6 D6 F6:0.25 D6 | C6:1 C6:0.5 D6 | C6:2 |"
    "A5:1 A5:0.5 G5 | A5:0.5 C6 D6 F6:0.25 D6 | C6:1 C6:0.5 D6 | C6:2 |"
    "C6:0.5 C6 C6 A5:0.25 C6 | D6:0.5 D6 C6:1 |"
    "A5:0.5 G5:0.25 A5 C6:0.5 A5:0.25 G5 | F5:0.5 F5:0.25 G5 F5:1 |"
    "A5:0.5 G5 F5 A5:0.25 G5 | A5:0.5 C6 D6 F6 | C6:2 |"
    "G5:0.5 A5 C6 G5:0.25 A5 | F5:0.5 D5 C5:1 |"
    "D5:0.5 F5:0.25 G5 A5:0.5 F5:0.25 G5 | F5:0.5 D5 C5:1 | R:2";
const char* const kJasmineChords =
    "F:2 | Dm:2 | C:2 | C:2 | F:2 | Dm:2 | C:2 | C:2 |"
    "F:2 | Bb:2 | F:2 | F:2 | F:2 | Dm:2 | C:2 |"
    "C:2 | Bb:1 C:1 | Dm:2 | Bb:1 C:1 | C:2";

// Ode to Joy, the theme of the last movement of the Ninth Symphony, in D.
const char* const kOdeToJoy =
    "F#5:1 F#5 G5 A5 | A5 G5 F#5 E5 | D5 D5 E5 F#5 | F#5:1.5 E5:0.5 E5:2 |"
    "F#5:1 F#5 G5 A5 | A5 G5 F#5 E5 | D5 D5 E5 F#5 | E5:1.5 D5:0.5 D5:2 |"
    "E5:1 E5 F#5 D5 | E5:1 F#5:0.5 G5 F#5:1 D5 | E5:1 F#5:0.5 G5 F#5:1 E5 | D5 E5 A4:2 |"
    "F#5:1 F#5 G5 A5 | A5 G5 F#5 E5 | D5 D5 E5 F#5 | E5:1.5 D5:0.5 D5:2";
const char* const kOdeToJoyChords =
    "D:4 | A:4 | D:4 | A:4 | D:4 | A:4 | D:4 | A:2 D:2 |"
    "A:2 D:2 | A:2 D:2 | A:2 Bm:2 | E:2 A:2 | D:4 | A:4 | D:4 | A:2 D:2";

// Twinkle, Twinkle, Little Star (Ah ! vous dirai-je, maman), in C.
const char* const kTwinkle =
    "C5:1 C5 G5 G5 | A5 A5 G5:2 | F5:1 F5 E5 E5 | D5 D5 C5:2 |"
    "G5:1 G5 F5 F5 | E5 E5 D5:2 | G5:1 G5 F5 F5 | E5 E5 D5:2 |"
    "C5:1 C5 G5 G5 | A5 A5 G5:2 | F5:1 F5 E5 E5 | D5 D5 C5:2";
const char* const kTwinkleChords =
    "C:4 | F:2 C:2 | F:2 C:2 | G:2 C:2 | C:2 F:2 | C:2 G:2 | C:2 F:2 | C:2 G:2 |"
    "C:4 | F:2 C:2 | F:2 C:2 | G:2 C:2";

// Für Elise: the theme twice, the short middle phrase, the theme again; 3/8 time,
// so a bar is 1.5 quarters.
#define ELISE_THEME                                                                \
    "E5:0.25 D#5 E5 B4 D5 C5 | A4:0.5 R:0.25 C4 E4 A4 | B4:0.5 R:0.25 E4 G#4 B4 |" \
    "C5:0.5 R:0.25 E4 E5 D#5 | E5:0.25 D#5 E5 B4 D5 C5 | A4:0.5 R:0.25 C4 E4 A4 |" \
    "B4:0.5 R:0.25 E4 C5 B4 |"
#define ELISE_LEFT_THEME                                                            \
    "R:1.5 | A2:0.25 E3 A3 R:0.75 | E2:0.25 E3 G#3 R:0.75 | A2:0.25 E3 A3 R:0.75 |" \
    "R:1.5 | A2:0.25 E3 A3 R:0.75 | E2:0.25 E3 G#3 R:0.75 |"
const char* const kElise = "E5:0.25 D#5 |" ELISE_THEME "A4:0.5 R:0.5 E5:0.25 D#5 |" ELISE_THEME
                           "A4:0.5 R:0.25 B4 C5 D5 |"
                           "E5:0.75 G4:0.25 F5 E5 | D5:0.75 F4:0.25 E5 D5 | C5:0.75 E4:0.25 D5 C5 |"
                           "B4:0.5 R:0.25 E4 E5 R |"
                           "R:0.25 E5 E6 R R D#5 | E5:0.25 R R D#5 E5 D#5 |" ELISE_THEME "A4:1.5";
const char* const kEliseLeft =
    "R:0.5 |" ELISE_LEFT_THEME "A2:0.25 E3 A3 R:0.75 |" ELISE_LEFT_THEME
    "A2:0.25 E3 A3 R:0.75 |"
    "C3:0.25 G3 C4 R:0.75 | G2:0.25 G3 B3 R:0.75 | A2:0.25 E3 A3 R:0.75 |"
    "E2:0.25 E3 R:1 |"
    "R:1.5 | R:1.5 |" ELISE_LEFT_THEME "A2:0.25 E3 A3:1";
#undef ELISE_THEME
#undef ELISE_LEFT_THEME

// Brahms' Lullaby (Wiegenlied, op. 49 no. 4), in F, 3/4 with a two-eighth upbeat.
const char* const kLullaby =
    "A4:0.5 A4 | C5:2 A4:0.5 A4 | C5:2 A4:0.5 C5 | F5:1 E5:1.5 D5:0.5 |"
    "D5:1 C5 G4:0.5 A4 | Bb4:1 G4 G4:0.5 A4 | Bb4:2 G4:0.5 Bb4 |"
    "E5:0.5 D5 C5:1 E5 | F5:2 F4:0.5 F4 | F5:2 D5:0.5 Bb4 | C5:2 A4:0.5 F4 |"
    "Bb4:1 C5 D5 | C5:2 F4:0.5 F4 | F5:2 D5:0.5 Bb4 | C5:2 A4:0.5 F4 |"
    "Bb4:1 A4 G4 | F4:2";
const char* const kLullabyChords =
    "R:1 | F:3 | F:3 | C7:3 | C7:3 | C7:3 | C7:3 | C7:3 | F:3 |"
    "Bb:3 | F:3 | C7:3 | F:3 | Bb:3 | F:3 | C7:3 | F:2";

// Pachelbel's Canon in D: the ground under eight two-bar variations, the first
// three and the fourth as the violins play them, the others in their manner.
const char* const kCanon =
    "R:4 | R:4 |"
    "F#5:1 E5 D5 C#5 | B4 A4 B4 C#5 |"
    "D5:1 C#5 B4 A4 | G4 F#4 G4 E4 |"
    "D5:0.5 F#5 A5 G5 F#5 D5 F#5 E5 | D5 B4 D5 A5 G5 B5 A5 G5 |"
    "F#4:0.5 D4 E4 C#5 D5 F#5 A5 A4 | B4 G4 A4 F#4 D4 D5 D5:0.75 C#5:0.25 |"
    "A5:1 E5 F#5 C#5 | D5 A4 D5:0.5 E5 C#5:1 |"
    "D5:0.25 F#5 A5 F#5 C#5 E5 A5 E5 B4 D5 F#5 D5 A4 C#5 F#5 C#5 |"
    "B4:0.25 D5 G5 D5 A4 D5 F#5 D5 B4 D5 G5 D5 C#5 E5 A5 E5 |"
    "F#5:1 E5 D5 C#5 | B4 A4 B4 C#5 | D5:4";
#define CANON_GROUND "D:1 A:1 Bm:1 F#m:1 | G:1 D:1 G:1 A:1 |"
const char* const kCanonChords = CANON_GROUND CANON_GROUND CANON_GROUND CANON_GROUND CANON_GROUND
    CANON_GROUND CANON_GROUND CANON_GROUND "D:4";
#undef CANON_GROUND

const PieceSource kPieces[] = {
    {"乐曲01",
     "茉莉花（江苏民歌）",
     66,
     2,
     4,
     2,
     {"旋律", kFlute, 115, 88, kJasmine, nullptr, ChordPattern::Held, false},
     {"伴奏", kNylonGuitar, 100, 76, nullptr, kJasmineChords, ChordPattern::BassThenChords, false}},
    {"乐曲02",
     "欢乐颂（贝多芬）",
     100,
     4,
     4,
     2,
     {"旋律", kClarinet, 80, 80, kOdeToJoy, nullptr, ChordPattern::Held, false},
     {"伴奏", kStrings, 58, 64, nullptr, kOdeToJoyChords, ChordPattern::Held, false}},
    {"乐曲03",
     "小星星（法国民歌）",
     92,
     4,
     4,
     2,
     {"旋律", kMusicBox, 127, 100, kTwinkle, nullptr, ChordPattern::Held, false},
     {"伴奏", kPiano, 110, 76, nullptr, kTwinkleChords, ChordPattern::Arpeggio, false}},
    {"乐曲04",
     "致爱丽丝（贝多芬）",
     72,
     3,
     8,
     2,
     {"右手", kPiano, 127, 100, kElise, nullptr, ChordPattern::Held, false},
     {"左手", kPiano, 120, 88, kEliseLeft, nullptr, ChordPattern::Held, true}},
    {"乐曲05",
     "摇篮曲（勃拉姆斯）",
     72,
     3,
     4,
     2,
     {"旋律", kCelesta, 127, 110, kLullaby, nullptr, ChordPattern::Held, false},
     {"伴奏", kPiano, 110, 76, nullptr, kLullabyChords, ChordPattern::BassThenChords, false}},
    {"乐曲06",
     "D 大调卡农（帕赫贝尔）",
     60,
     4,
     4,
     1,
     {"旋律", kHarp, 88, 88, kCanon, nullptr, ChordPattern::Held, false},
     {"低音", kStrings, 62, 62, nullptr, kCanonChords, ChordPattern::Held, false}},
};

bool buildPart(const PartSource& source, double quartersPerBar, Part* part, QString* error) {
    part->name = QString::fromUtf8(source.name);
    part->program = source.program;
    part->volume = source.volume;
    part->velocity = source.velocity;
    part->pedal = source.pedal;
    const QString text = QString::fromUtf8(source.notes ? source.notes : source.chords);
    return source.notes ? parseNotes(text, quartersPerBar, &part->notes, error)
                        : expandChords(text, quartersPerBar, source.pattern, &part->notes, error);
}

}  // namespace

bool buildPieces(QVector<Piece>* pieces, QString* error) {
    for (const PieceSource& source : kPieces) {
        Piece piece;
        piece.fileName = QString::fromUtf8(source.fileName);
        piece.title = QString::fromUtf8(source.title);
        piece.beatsPerMinute = source.beatsPerMinute;
        piece.numerator = source.numerator;
        piece.denominator = source.denominator;
        piece.repeats = source.repeats;
        const double quartersPerBar = 4.0 * source.numerator / source.denominator;
        for (const PartSource* partSource : {&source.melody, &source.accompaniment}) {
            Part part;
            QString why;
            if (!buildPart(*partSource, quartersPerBar, &part, &why)) {
                if (error) *error = QStringLiteral("%1 %2: %3").arg(piece.fileName, part.name, why);
                return false;
            }
            piece.parts.append(part);
        }
        pieces->append(piece);
    }
    return true;
}

QByteArray pieceToMidi(const Piece& piece) {
    // Melody a little right, accompaniment a little left, both in some hall.
    constexpr int kPan[] = {76, 52};
    constexpr int kReverb = 48;
    constexpr int kAccent = 8;
    quint32 pieceTicks = 0;
    for (const Part& part : piece.parts)
        pieceTicks = std::max(pieceTicks, totalTicks(part.notes));
    const quint32 endTick = pieceTicks * quint32(piece.repeats);

    QVector<TrackBuilder> tracks;
    TrackBuilder conductor;
    conductor.trackName(0, piece.title);
    conductor.timeSignature(0, piece.numerator, piece.denominator);
    conductor.tempo(0, quint32(60000000 / piece.beatsPerMinute));
    conductor.endAt(endTick);
    tracks.append(conductor);

    for (int channel = 0; channel < piece.parts.size(); ++channel) {
        const Part& part = piece.parts[channel];
        TrackBuilder track;
        track.trackName(0, part.name);
        track.programChange(0, channel, part.program);
        track.controlChange(0, channel, 7, part.volume);
        track.controlChange(0, channel, 10, kPan[channel % 2]);
        track.controlChange(0, channel, 91, kReverb);
        for (int pass = 0; pass < piece.repeats; ++pass) {
            const quint32 base = pieceTicks * quint32(pass);
            for (const Note& note : part.notes) {
                const quint32 start = base + note.start;
                if (part.pedal && note.downbeat) {
                    // Lift and press again just after the bar line, catching only the new bass.
                    track.controlChange(start, channel, 64, 0);
                    track.controlChange(start + 20, channel, 64, 127);
                }
                // A short gap keeps repeated notes distinct.
                const quint32 sounding = note.length - std::min<quint32>(24, note.length / 8);
                const int velocity = part.velocity + (note.downbeat ? kAccent : 0);
                for (int key : note.keys)
                    track.note(start, sounding, channel, key, velocity);
            }
        }
        if (part.pedal) track.controlChange(endTick, channel, 64, 0);
        track.endAt(endTick);
        tracks.append(track);
    }
    return writeSmf(1, kTicksPerQuarter, tracks);
}

bool writeAllPieces(const QString& folder, QString* error) {
    QVector<Piece> pieces;
    if (!buildPieces(&pieces, error)) return false;
    if (!QDir().mkpath(folder)) {
        if (error) *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    for (const Piece& piece : pieces) {
        QSaveFile out(QDir(folder).filePath(piece.fileName + QStringLiteral(".mid")));
        if (!out.open(QIODevice::WriteOnly) || out.write(pieceToMidi(piece)) < 0 || !out.commit()) {
            if (error)
                *error =
                    QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString());
            return false;
        }
    }
    return true;
}

}  // namespace midigen
