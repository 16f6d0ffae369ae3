#include "MidiWriter.h"

#include <algorithm>

namespace midigen {
namespace {

void appendBigEndian32(QByteArray* out, quint32 value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out->append(char((value >> shift) & 0xFF));
}

void appendBigEndian16(QByteArray* out, quint16 value) {
    out->append(char(value >> 8));
    out->append(char(value & 0xFF));
}

QByteArray meta(int type, const QByteArray& payload) {
    QByteArray bytes;
    bytes.append(char(0xFF));
    bytes.append(char(type));
    bytes += encodeVarLen(quint32(payload.size()));
    bytes += payload;
    return bytes;
}

QByteArray channelMessage(int status, int channel, int data1, int data2 = -1) {
    QByteArray bytes;
    bytes.append(char((status & 0xF0) | (channel & 0x0F)));
    bytes.append(char(data1 & 0x7F));
    if (data2 >= 0) bytes.append(char(data2 & 0x7F));
    return bytes;
}

}  // namespace

QByteArray encodeVarLen(quint32 value) {
    QByteArray bytes;
    bytes.prepend(char(value & 0x7F));
    value >>= 7;
    while (value != 0) {
        bytes.prepend(char(0x80 | (value & 0x7F)));
        value >>= 7;
    }
    return bytes;
}

void TrackBuilder::add(quint32 tick, Order order, QByteArray bytes) {
    events_.append({tick, order, std::move(bytes)});
}

void TrackBuilder::trackName(quint32 tick, const QString& name) {
    add(tick, kSetting, meta(0x03, name.toUtf8()));
}

void TrackBuilder::tempo(quint32 tick, quint32 microsPerQuarter) {
    QByteArray payload;
    payload.append(char((microsPerQuarter >> 16) & 0xFF));
    payload.append(char((microsPerQuarter >> 8) & 0xFF));
    payload.append(char(microsPerQuarter & 0xFF));
    add(tick, kSetting, meta(0x51, payload));
}

void TrackBuilder::timeSignature(quint32 tick, int numerator, int denominator) {
    int power = 0;
    while ((1 << power) < denominator)
        ++power;
    QByteArray payload;
    payload.append(char(numerator));
    payload.append(char(power));
    payload.append(char(24));  // MIDI clocks per metronome click
    payload.append(char(8));   // 32nd notes per quarter
    add(tick, kSetting, meta(0x58, payload));
}

void TrackBuilder::programChange(quint32 tick, int channel, int program) {
    add(tick, kSetting, channelMessage(0xC0, channel, program));
}

void TrackBuilder::controlChange(quint32 tick, int channel, int controller, int value) {
    add(tick, kSetting, channelMessage(0xB0, channel, controller, value));
}

void TrackBuilder::noteOn(quint32 tick, int channel, int key, int velocity) {
    add(tick, kNoteOn, channelMessage(0x90, channel, key, std::clamp(velocity, 1, 127)));
}

void TrackBuilder::noteOff(quint32 tick, int channel, int key) {
    add(tick, kNoteOff, channelMessage(0x80, channel, key, 64));
}

void TrackBuilder::note(quint32 tick, quint32 length, int channel, int key, int velocity) {
    noteOn(tick, channel, key, velocity);
    noteOff(tick + length, channel, key);
}

QByteArray TrackBuilder::chunk() const {
    QVector<Event> sorted = events_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    QByteArray body;
    quint32 previous = 0;
    for (const Event& event : sorted) {
        body += encodeVarLen(event.tick - previous);
        body += event.bytes;
        previous = event.tick;
    }
    body += encodeVarLen(end_ > previous ? end_ - previous : 0);
    body += meta(0x2F, {});

    QByteArray chunk("MTrk");
    appendBigEndian32(&chunk, quint32(body.size()));
    return chunk + body;
}

QByteArray writeSmf(int format, int division, const QVector<TrackBuilder>& tracks) {
    QByteArray file("MThd");
    appendBigEndian32(&file, 6);
    appendBigEndian16(&file, quint16(format));
    appendBigEndian16(&file, quint16(tracks.size()));
    appendBigEndian16(&file, quint16(division));
    for (const TrackBuilder& track : tracks)
        file += track.chunk();
    return file;
}

}  // namespace midigen
