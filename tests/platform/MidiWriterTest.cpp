// The writer's bytes against the Standard MIDI File format, read back with the
// player's own reader.
#include <gtest/gtest.h>

#include "MidiWriter.h"
#include "SmfReader.h"

using midigen::encodeVarLen;
using midigen::TrackBuilder;
using midigen::writeSmf;

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

struct VarLenCase {
    quint32 value;
    QByteArray encoded;
};

}  // namespace

TEST(VarLen, EncodesTheFormatsExamplesAndBoundaries) {
    const VarLenCase cases[] = {
        {0x00, bytes({0x00})},
        {0x40, bytes({0x40})},
        {0x7F, bytes({0x7F})},
        {0x80, bytes({0x81, 0x00})},
        {0x2000, bytes({0xC0, 0x00})},
        {0x3FFF, bytes({0xFF, 0x7F})},
        {0x4000, bytes({0x81, 0x80, 0x00})},
        {0x1FFFFF, bytes({0xFF, 0xFF, 0x7F})},
        {0x200000, bytes({0x81, 0x80, 0x80, 0x00})},
        {0x0FFFFFFF, bytes({0xFF, 0xFF, 0xFF, 0x7F})},
    };
    for (const VarLenCase& c : cases) {
        EXPECT_EQ(encodeVarLen(c.value).toHex(), c.encoded.toHex()) << std::hex << c.value;
        int pos = 0;
        quint32 back = 0;
        ASSERT_TRUE(platform::readVarLen(c.encoded, &pos, &back));
        EXPECT_EQ(back, c.value);
        EXPECT_EQ(pos, c.encoded.size());
    }
}

TEST(VarLen, ReaderRefusesTruncatedAndOverlongQuantities) {
    int pos = 0;
    quint32 value = 0;
    EXPECT_FALSE(platform::readVarLen(bytes({0x81}), &pos, &value));
    pos = 0;
    EXPECT_FALSE(platform::readVarLen(bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), &pos, &value));
}

TEST(MidiWriter, DeltaTimesAtTheVarLenBoundariesAreWrittenAndReadBack) {
    TrackBuilder track;
    track.noteOn(0x7F, 0, 60, 100);
    track.noteOff(0x7F + 0x80, 0, 60);
    track.noteOn(0x7F + 0x80 + 0x3FFF, 0, 62, 100);
    track.noteOff(0x7F + 0x80 + 0x3FFF + 0x4000, 0, 62);
    const QByteArray file = writeSmf(0, 96, {track});

    const QByteArray header = bytes({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96});
    ASSERT_EQ(file.left(14).toHex(), header.toHex());
    const QByteArray body = bytes({0x7F, 0x90, 60,   100,            //
                                   0x81, 0x00, 0x80, 60,   64,       //
                                   0xFF, 0x7F, 0x90, 62,   100,      //
                                   0x81, 0x80, 0x00, 0x80, 62,  64,  //
                                   0x00, 0xFF, 0x2F, 0x00});
    const QByteArray chunk = QByteArray("MTrk") + bytes({0, 0, 0, int(body.size())}) + body;
    EXPECT_EQ(file.mid(14).toHex(), chunk.toHex());

    platform::MidiFileData midi;
    QString error;
    ASSERT_TRUE(platform::parseMidi(file, &midi, &error)) << error.toStdString();
    ASSERT_EQ(midi.tracks.size(), 1);
    const auto& events = midi.tracks[0].events;
    ASSERT_EQ(events.size(), 5);
    EXPECT_EQ(events[0].tick, 0x7Fu);
    EXPECT_EQ(events[1].tick, 0xFFu);
    EXPECT_EQ(events[2].tick, 0xFFu + 0x3FFF);
    EXPECT_EQ(events[3].tick, 0xFFu + 0x3FFF + 0x4000);
    EXPECT_EQ(events[4].metaType, 0x2F);
    EXPECT_EQ(midi.tracks[0].declaredLength, quint32(body.size()));
}

TEST(MidiWriter, NoteOffComesBeforeANoteOnAtTheSameTick) {
    TrackBuilder track;
    // Inserted in the order a careless caller would: the next note first.
    track.noteOn(480, 0, 64, 90);
    track.note(0, 480, 0, 64, 90);
    platform::MidiFileData midi;
    ASSERT_TRUE(platform::parseMidi(writeSmf(0, 480, {track}), &midi, nullptr));
    const auto& events = midi.tracks[0].events;
    ASSERT_EQ(events.size(), 4);
    EXPECT_EQ(events[1].tick, 480u);
    EXPECT_EQ(events[1].status, 0x80);
    EXPECT_EQ(events[2].tick, 480u);
    EXPECT_EQ(events[2].status, 0x90);
}

TEST(MidiWriter, EndAtKeepsAClosingRestAndTempoSetsTheDuration) {
    TrackBuilder conductor;
    conductor.tempo(0, 500000);
    conductor.tempo(480, 1000000);
    conductor.endAt(960);
    TrackBuilder notes;
    notes.note(0, 240, 0, 60, 80);
    platform::MidiFileData midi;
    ASSERT_TRUE(platform::parseMidi(writeSmf(1, 480, {conductor, notes}), &midi, nullptr));
    ASSERT_EQ(midi.format, 1);
    ASSERT_EQ(midi.tracks.size(), 2);
    EXPECT_EQ(midi.tracks[0].events.last().tick, 960u);
    // Half a second at 120 a minute, then a whole second at 60.
    EXPECT_DOUBLE_EQ(platform::midiDurationSeconds(midi), 1.5);
}

TEST(MidiWriter, TimeSignatureStoresTheDenominatorAsAPowerOfTwo) {
    TrackBuilder track;
    track.timeSignature(0, 3, 8);
    platform::MidiFileData midi;
    ASSERT_TRUE(platform::parseMidi(writeSmf(0, 480, {track}), &midi, nullptr));
    const platform::MidiEvent& event = midi.tracks[0].events[0];
    EXPECT_EQ(event.metaType, 0x58);
    EXPECT_EQ(event.data.toHex(), bytes({3, 3, 24, 8}).toHex());
}

TEST(SmfReader, FollowsRunningStatus) {
    const QByteArray body = bytes({0x00, 0x90, 60, 100, 0x60, 62, 100, 0x60, 60, 0,  //
                                   0x00, 0xFF, 0x2F, 0x00});
    const QByteArray file = bytes({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0}) + "MTrk" +
                            bytes({0, 0, 0, int(body.size())}) + body;
    platform::MidiFileData midi;
    QString error;
    ASSERT_TRUE(platform::parseMidi(file, &midi, &error)) << error.toStdString();
    const auto& events = midi.tracks[0].events;
    ASSERT_EQ(events.size(), 4);
    EXPECT_EQ(events[1].status, 0x90);
    EXPECT_EQ(events[1].data.toHex(), bytes({62, 100}).toHex());
    EXPECT_EQ(events[2].tick, 0xC0u);
}

TEST(SmfReader, RefusesDamagedFiles) {
    TrackBuilder track;
    track.note(0, 480, 0, 60, 80);
    const QByteArray good = writeSmf(0, 480, {track});
    platform::MidiFileData midi;
    ASSERT_TRUE(platform::parseMidi(good, &midi, nullptr));

    QByteArray noEnd = good;
    noEnd.chop(4);  // the end-of-track event
    noEnd[21] = char(noEnd[21] - 4);
    QByteArray trailing = good + bytes({0x00, 0x90});
    trailing[21] = char(trailing[21] + 2);
    QByteArray noStatus = good;
    noStatus[23] = 0x10;  // the first status byte becomes a data byte
    QByteArray smpte = good;
    smpte[12] = char(0xE7);

    const QByteArray damaged[] = {
        QByteArray("RIFF0000WAVEfmt "),
        good.left(good.size() - 1),  // the track runs past the end of the file
        noEnd,
        trailing,
        noStatus,
        smpte,
        good.left(10),
    };
    for (const QByteArray& file : damaged) {
        QString error;
        EXPECT_FALSE(platform::parseMidi(file, &midi, &error)) << file.toHex().toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}
