// The note lists and chord charts the pieces are written in.
#include <gtest/gtest.h>

#include "Notation.h"

using namespace midigen;

namespace {

QVector<int> keysAt(const QVector<Note>& notes, quint32 start) {
    for (const Note& note : notes)
        if (note.start == start) return note.keys;
    return {-1};
}

}  // namespace

TEST(Notation, PitchNames) {
    EXPECT_EQ(parsePitch(QStringLiteral("C4")), 60);
    EXPECT_EQ(parsePitch(QStringLiteral("A4")), 69);
    EXPECT_EQ(parsePitch(QStringLiteral("C#4")), 61);
    EXPECT_EQ(parsePitch(QStringLiteral("Bb3")), 58);
    EXPECT_EQ(parsePitch(QStringLiteral("B#3")), 60);
    EXPECT_EQ(parsePitch(QStringLiteral("Cb4")), 59);
    EXPECT_EQ(parsePitch(QStringLiteral("C-1")), 0);
    EXPECT_EQ(parsePitch(QStringLiteral("G9")), 127);
    for (const char* bad : {"G#9", "H4", "C", "c4", "C#", "C4x", "", "Cb-1"})
        EXPECT_EQ(parsePitch(QString::fromLatin1(bad)), -1) << bad;
}

TEST(Notation, LengthsCarryOverAndChordsJoinWithPlus) {
    QVector<Note> notes;
    QString error;
    ASSERT_TRUE(parseNotes(QStringLiteral("C4:1 D4 E4:0.5 F4 R:1|C4+E4+G4:4"), 4, &notes, &error))
        << error.toStdString();
    ASSERT_EQ(notes.size(), 6);
    EXPECT_EQ(notes[1].start, 480u);
    EXPECT_EQ(notes[1].length, 480u);
    EXPECT_EQ(notes[3].start, 1200u);
    EXPECT_EQ(notes[3].length, 240u);
    EXPECT_TRUE(notes[4].keys.isEmpty());
    EXPECT_EQ(notes[5].keys, (QVector<int>{60, 64, 67}));
    EXPECT_EQ(notes[5].start, 1920u);
    EXPECT_TRUE(notes[0].downbeat);
    EXPECT_FALSE(notes[1].downbeat);
    EXPECT_TRUE(notes[5].downbeat);
    EXPECT_EQ(totalTicks(notes), 1920u + 1920u);
}

TEST(Notation, BarsMustBeFullExceptTheUpbeatAndTheLast) {
    QVector<Note> notes;
    QString error;
    EXPECT_TRUE(parseNotes(QStringLiteral("G4:1 | C5:3 | E5:1"), 3, &notes, &error));

    notes.clear();
    EXPECT_FALSE(parseNotes(QStringLiteral("C5:3 | D5:2 | E5:3"), 3, &notes, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("bar 2"))) << error.toStdString();

    notes.clear();
    EXPECT_FALSE(parseNotes(QStringLiteral("C5:2 D5:2"), 3, &notes, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("too long"))) << error.toStdString();

    for (const char* bad : {"C4", "C4:0", "C4:-1", "C4:0.001", "X4:1", "C4:1:2"}) {
        notes.clear();
        EXPECT_FALSE(parseNotes(QString::fromLatin1(bad), 4, &notes, &error)) << bad;
    }
}

TEST(Notation, ChordSymbols) {
    Chord chord;
    ASSERT_TRUE(parseChord(QStringLiteral("Dm"), &chord));
    EXPECT_EQ(chord.toneClasses, (QVector<int>{2, 5, 9}));
    EXPECT_EQ(chord.bassClass, 2);
    ASSERT_TRUE(parseChord(QStringLiteral("C7"), &chord));
    EXPECT_EQ(chord.toneClasses, (QVector<int>{0, 4, 7, 10}));
    ASSERT_TRUE(parseChord(QStringLiteral("F#m"), &chord));
    EXPECT_EQ(chord.toneClasses, (QVector<int>{6, 9, 1}));
    ASSERT_TRUE(parseChord(QStringLiteral("Bb/D"), &chord));
    EXPECT_EQ(chord.toneClasses, (QVector<int>{10, 2, 5}));
    EXPECT_EQ(chord.bassClass, 2);
    for (const char* bad : {"H", "Cx", "C/", "C/H", "", "m"})
        EXPECT_FALSE(parseChord(QString::fromLatin1(bad), &chord)) << bad;
}

TEST(Notation, WaltzAccompanimentFollowsTheUpbeat) {
    QVector<Note> notes;
    QString error;
    ASSERT_TRUE(expandChords(QStringLiteral("R:1 | F:3 | C7:2"), 3, ChordPattern::BassThenChords,
                             &notes, &error))
        << error.toStdString();
    // The upbeat is the third beat, so the F bar starts with its bass.
    EXPECT_TRUE(keysAt(notes, 0).isEmpty());
    EXPECT_EQ(keysAt(notes, 480), (QVector<int>{41}));  // F2
    EXPECT_EQ(keysAt(notes, 960), (QVector<int>{53, 57, 60}));
    EXPECT_EQ(keysAt(notes, 1440), (QVector<int>{53, 57, 60}));
    EXPECT_EQ(keysAt(notes, 1920), (QVector<int>{48}));  // C3
    EXPECT_EQ(keysAt(notes, 2400), (QVector<int>{55, 58, 60, 64}));
    EXPECT_EQ(totalTicks(notes), 2880u);
}

TEST(Notation, HeldAndBrokenChords) {
    QVector<Note> held;
    ASSERT_TRUE(expandChords(QStringLiteral("G:4"), 4, ChordPattern::Held, &held, nullptr));
    ASSERT_EQ(held.size(), 1);
    EXPECT_EQ(held[0].keys, (QVector<int>{43, 55, 59, 62}));
    EXPECT_EQ(held[0].length, 1920u);

    QVector<Note> broken;
    ASSERT_TRUE(expandChords(QStringLiteral("C:3"), 4, ChordPattern::Arpeggio, &broken, nullptr));
    QVector<int> keys;
    for (const Note& note : broken)
        keys << note.keys.value(0);
    EXPECT_EQ(keys, (QVector<int>{48, 55, 60, 64, 60, 55}));
    EXPECT_EQ(broken.last().start, 1200u);
    EXPECT_EQ(broken.last().length, 240u);
}

TEST(Notation, EveryChordToneLiesInItsRegister) {
    for (const char* symbol :
         {"C", "C#m", "D7", "Ebmaj7", "E", "Fm7", "F#dim", "G", "Ab", "A", "Bb", "Bm", "B7"}) {
        QVector<Note> notes;
        ASSERT_TRUE(expandChords(QString::fromLatin1(symbol) + QStringLiteral(":1"), 4,
                                 ChordPattern::Held, &notes, nullptr))
            << symbol;
        const QVector<int>& keys = notes[0].keys;
        EXPECT_GE(keys[0], 40) << symbol;
        EXPECT_LE(keys[0], 51) << symbol;
        for (int i = 1; i < keys.size(); ++i) {
            EXPECT_GE(keys[i], 53) << symbol;
            EXPECT_LE(keys[i], 64) << symbol;
        }
    }
}
