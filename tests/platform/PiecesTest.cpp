// The six pieces as midigen writes them: well-formed files of the right length
// whose parts keep time with each other.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include "Pieces.h"
#include "SmfReader.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(Pieces, PartsOfAPieceAreEquallyLong) {
    QVector<midigen::Piece> pieces;
    QString error;
    ASSERT_TRUE(midigen::buildPieces(&pieces, &error)) << error.toStdString();
    ASSERT_EQ(pieces.size(), 6);
    for (const midigen::Piece& piece : pieces) {
        ASSERT_EQ(piece.parts.size(), 2) << piece.fileName.toStdString();
        EXPECT_EQ(midigen::totalTicks(piece.parts[0].notes),
                  midigen::totalTicks(piece.parts[1].notes))
            << piece.fileName.toStdString();
    }
}

TEST(Pieces, WrittenFilesAreWellFormedAndLastBetween40And90Seconds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    ASSERT_TRUE(midigen::writeAllPieces(dir.path() + QStringLiteral("/sound"), &error))
        << error.toStdString();
    const QStringList files = QDir(dir.path() + QStringLiteral("/sound")).entryList(QDir::Files);
    ASSERT_EQ(files,
              QStringLiteral("乐曲01.mid,乐曲02.mid,乐曲03.mid,乐曲04.mid,乐曲05.mid,乐曲06.mid")
                  .split(u','));

    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = readAll(dir.path() + QStringLiteral("/sound/") + name);
        platform::MidiFileData midi;
        ASSERT_TRUE(platform::parseMidi(bytes, &midi, &error)) << error.toStdString();
        EXPECT_EQ(midi.format, 1);
        EXPECT_EQ(midi.division, midigen::kTicksPerQuarter);
        ASSERT_EQ(midi.tracks.size(), 3);

        // The chunks tile the file exactly: header, then each track's declared length.
        qint64 size = 14;
        for (const platform::MidiTrack& track : midi.tracks)
            size += 8 + track.declaredLength;
        EXPECT_EQ(size, bytes.size());

        const double seconds = platform::midiDurationSeconds(midi);
        EXPECT_GE(seconds, 40.0);
        EXPECT_LE(seconds, 90.0);

        int notes = 0;
        for (int t = 1; t < midi.tracks.size(); ++t) {
            QMap<int, int> sounding;  // channel * 128 + key -> note ons not yet ended
            int programs = 0;
            for (const platform::MidiEvent& event : midi.tracks[t].events) {
                const int kind = event.status & 0xF0;
                const int channel = event.status & 0x0F;
                if (kind == 0x90 || kind == 0x80 || kind == 0xC0) {
                    EXPECT_NE(channel, 9) << "the drum channel";
                }
                if (kind == 0xC0) ++programs;
                if (kind != 0x90 && kind != 0x80) continue;
                const int key = quint8(event.data[0]);
                EXPECT_GE(key, 28);
                EXPECT_LE(key, 100);
                const int slot = channel * 128 + key;
                if (kind == 0x90 && quint8(event.data[1]) > 0) {
                    EXPECT_EQ(sounding.value(slot), 0) << "key " << key << " struck twice";
                    ++sounding[slot];
                    ++notes;
                } else {
                    EXPECT_EQ(sounding.value(slot), 1) << "key " << key << " released unstruck";
                    sounding[slot] = 0;
                }
            }
            EXPECT_EQ(programs, 1);
            for (int count : sounding)
                EXPECT_EQ(count, 0) << "a note never released";
        }
        EXPECT_GT(notes, 100);
    }
}

TEST(Pieces, WritingIntoAnUnwritableFolderFails) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.path() + QStringLiteral("/sound"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_FALSE(midigen::writeAllPieces(blocker.fileName(), &error));
    EXPECT_FALSE(error.isEmpty());
}
