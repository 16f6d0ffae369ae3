#include "SmfReader.h"

#include <QtEndian>
#include <algorithm>
#include <utility>

namespace platform {
namespace {

quint32 readBigEndian32(const QByteArray& bytes, int pos) {
    return qFromBigEndian<quint32>(reinterpret_cast<const uchar*>(bytes.constData()) + pos);
}

quint16 readBigEndian16(const QByteArray& bytes, int pos) {
    return qFromBigEndian<quint16>(reinterpret_cast<const uchar*>(bytes.constData()) + pos);
}

int channelDataLength(quint8 status) {
    const quint8 kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

bool parseTrack(const QByteArray& bytes, int begin, int end, MidiTrack* track, QString* error) {
    int pos = begin;
    quint32 tick = 0;
    quint8 runningStatus = 0;
    bool ended = false;
    while (pos < end) {
        if (ended) return fail(error, QStringLiteral("音轨结束标记之后还有数据"));
        quint32 delta = 0;
        if (!readVarLen(bytes, &pos, &delta) || pos >= end)
            return fail(error, QStringLiteral("音轨中的时间间隔不完整"));
        tick += delta;
        MidiEvent event;
        event.tick = tick;
        quint8 status = static_cast<quint8>(bytes[pos]);
        if (status < 0x80) {
            if (runningStatus == 0)
                return fail(error, QStringLiteral("音轨中出现无状态的数据字节"));
            status = runningStatus;
        } else {
            ++pos;
        }
        event.status = status;
        if (status < 0xF0) {
            runningStatus = status;
            const int length = channelDataLength(status);
            if (pos + length > end) return fail(error, QStringLiteral("音符消息被截断"));
            for (int i = 0; i < length; ++i) {
                if (static_cast<quint8>(bytes[pos + i]) >= 0x80)
                    return fail(error, QStringLiteral("音符消息的数据字节越界"));
            }
            event.data = bytes.mid(pos, length);
            pos += length;
        } else if (status == 0xFF) {
            runningStatus = 0;
            if (pos >= end) return fail(error, QStringLiteral("元事件被截断"));
            event.metaType = static_cast<quint8>(bytes[pos++]);
            quint32 length = 0;
            if (!readVarLen(bytes, &pos, &length) || length > quint32(end - pos))
                return fail(error, QStringLiteral("元事件长度超出音轨"));
            event.data = bytes.mid(pos, int(length));
            pos += int(length);
            if (event.metaType == 0x2F) ended = true;
            if (event.metaType == 0x51 && length != 3)
                return fail(error, QStringLiteral("速度事件的长度不是 3"));
        } else if (status == 0xF0 || status == 0xF7) {
            runningStatus = 0;
            quint32 length = 0;
            if (!readVarLen(bytes, &pos, &length) || length > quint32(end - pos))
                return fail(error, QStringLiteral("系统专用消息长度超出音轨"));
            event.data = bytes.mid(pos, int(length));
            pos += int(length);
        } else {
            return fail(error, QStringLiteral("音轨中出现不允许的状态字节 0x%1")
                                   .arg(status, 2, 16, QLatin1Char('0')));
        }
        track->events.append(event);
    }
    if (!ended) return fail(error, QStringLiteral("音轨缺少结束标记"));
    return true;
}

}  // namespace

bool readVarLen(const QByteArray& bytes, int* pos, quint32* value) {
    quint32 result = 0;
    for (int i = 0; i < 4; ++i) {
        if (*pos >= bytes.size()) return false;
        const quint8 byte = static_cast<quint8>(bytes[(*pos)++]);
        result = (result << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            *value = result;
            return true;
        }
    }
    return false;
}

bool parseMidi(const QByteArray& bytes, MidiFileData* out, QString* error) {
    MidiFileData midi;
    if (bytes.size() < 14 || !bytes.startsWith("MThd"))
        return fail(error, QStringLiteral("不是 MIDI 文件（缺少 MThd 文件头）"));
    const quint32 headerLength = readBigEndian32(bytes, 4);
    if (headerLength < 6 || headerLength > quint32(bytes.size() - 8))
        return fail(error, QStringLiteral("MIDI 文件头长度错误"));
    midi.format = readBigEndian16(bytes, 8);
    const int trackCount = readBigEndian16(bytes, 10);
    const quint16 division = readBigEndian16(bytes, 12);
    if (midi.format > 2)
        return fail(error, QStringLiteral("未知的 MIDI 文件格式 %1").arg(midi.format));
    if (trackCount == 0) return fail(error, QStringLiteral("MIDI 文件没有音轨"));
    if (midi.format == 0 && trackCount != 1)
        return fail(error, QStringLiteral("格式 0 的 MIDI 文件只能有一个音轨"));
    if (division == 0 || (division & 0x8000) != 0)
        return fail(error, QStringLiteral("不支持的时间分辨率"));
    midi.division = division;

    int pos = 8 + int(headerLength);
    while (midi.tracks.size() < trackCount) {
        if (pos + 8 > bytes.size())
            return fail(
                error, QStringLiteral("MIDI 文件在第 %1 个音轨前结束").arg(midi.tracks.size() + 1));
        const QByteArray chunkId = bytes.mid(pos, 4);
        const quint32 length = readBigEndian32(bytes, pos + 4);
        pos += 8;
        if (length > quint32(bytes.size() - pos))
            return fail(error, QStringLiteral("音轨长度超出文件末尾"));
        // Unknown chunks are allowed by the format and skipped.
        if (chunkId == "MTrk") {
            MidiTrack track;
            track.declaredLength = length;
            if (!parseTrack(bytes, pos, pos + int(length), &track, error)) return false;
            midi.tracks.append(std::move(track));
        }
        pos += int(length);
    }
    *out = std::move(midi);
    return true;
}

double midiDurationSeconds(const MidiFileData& midi) {
    if (midi.division <= 0) return 0;
    struct TempoChange {
        quint32 tick;
        quint32 microsPerQuarter;
    };
    QVector<TempoChange> tempos;
    quint32 lastTick = 0;
    for (const MidiTrack& track : midi.tracks) {
        for (const MidiEvent& event : track.events) {
            lastTick = std::max(lastTick, event.tick);
            if (event.status == 0xFF && event.metaType == 0x51 && event.data.size() == 3) {
                const auto* d = reinterpret_cast<const uchar*>(event.data.constData());
                tempos.append({event.tick, quint32(d[0]) << 16 | quint32(d[1]) << 8 | d[2]});
            }
        }
    }
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    double seconds = 0;
    quint32 tick = 0;
    quint32 micros = 500000;  // the format's default of 120 beats a minute
    for (const TempoChange& change : tempos) {
        if (change.tick > lastTick) break;
        seconds += double(change.tick - tick) * micros / 1e6 / midi.division;
        tick = change.tick;
        micros = change.microsPerQuarter;
    }
    seconds += double(lastTick - tick) * micros / 1e6 / midi.division;
    return seconds;
}

}  // namespace platform
