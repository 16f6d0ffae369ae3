// A small Standard MIDI File writer: enough for the program's background pieces.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

namespace midigen {

// The format's variable-length quantity: 7 bits a byte, most significant first,
// the high bit set on every byte but the last. Values up to 0x0FFFFFFF.
QByteArray encodeVarLen(quint32 value);

// Events of one track at absolute ticks; chunk() sorts them and writes the deltas.
class TrackBuilder {
  public:
    void trackName(quint32 tick, const QString& name);
    void tempo(quint32 tick, quint32 microsPerQuarter);
    void timeSignature(quint32 tick, int numerator, int denominator);
    void programChange(quint32 tick, int channel, int program);
    void controlChange(quint32 tick, int channel, int controller, int value);
    void noteOn(quint32 tick, int channel, int key, int velocity);
    void noteOff(quint32 tick, int channel, int key);
    // A note on at tick and its note off length ticks later.
    void note(quint32 tick, quint32 length, int channel, int key, int velocity);

    // Keeps the track going until tick even when its last event is earlier, so that
    // a closing rest is not cut off when the file loops.
    void endAt(quint32 tick) { end_ = tick; }

    // The MTrk chunk, closed by an end-of-track event at the last event's tick or
    // at endAt(), whichever is later.
    QByteArray chunk() const;

  private:
    // At one tick, note offs go first (so a repeated key is struck again), then
    // settings, then note ons; otherwise the order of insertion is kept.
    enum Order { kNoteOff = 0, kSetting = 1, kNoteOn = 2 };
    struct Event {
        quint32 tick;
        Order order;
        QByteArray bytes;
    };
    void add(quint32 tick, Order order, QByteArray bytes);
    QVector<Event> events_;
    quint32 end_ = 0;
};

// A whole file: the MThd header chunk and the tracks' chunks.
QByteArray writeSmf(int format, int division, const QVector<TrackBuilder>& tracks);

}  // namespace midigen
