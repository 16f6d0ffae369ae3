#include "Notation.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace midigen {
namespace {

struct Token {
    QString head;  // pitch, chord or symbol
    quint32 length = 0;
    bool barStart = false;
};

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

bool quartersToTicks(double quarters, quint32* ticks) {
    const double exact = quarters * kTicksPerQuarter;
    if (!(quarters > 0) || std::abs(exact - std::round(exact)) > 1e-6) return false;
    *ticks = quint32(std::lround(exact));
    return true;
}

// Splits "HEAD:LENGTH" tokens and checks the bar lines.
bool tokenize(const QString& text, double quartersPerBar, QVector<Token>* tokens, QString* error) {
    quint32 barTicks = 0;
    if (!quartersToTicks(quartersPerBar, &barTicks))
        return fail(error, QStringLiteral("bad bar length %1").arg(quartersPerBar));
    // Bar lines need no spaces around them: the note lists are joined literals.
    QString spaced = text;
    spaced.replace(u'|', QStringLiteral(" | "));
    const QStringList words =
        spaced.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    quint32 length = 0;
    quint32 inBar = 0;
    int bar = 1;
    bool barStart = true;
    for (const QString& word : words) {
        if (word == QLatin1String("|")) {
            const bool upbeat = bar == 1 && inBar > 0 && inBar < barTicks;
            if (inBar != barTicks && !upbeat)
                return fail(error, QStringLiteral("bar %1 lasts %2 quarters instead of %3")
                                       .arg(bar)
                                       .arg(double(inBar) / kTicksPerQuarter)
                                       .arg(quartersPerBar));
            ++bar;
            inBar = 0;
            barStart = true;
            continue;
        }
        Token token;
        const int colon = word.indexOf(u':');
        token.head = colon < 0 ? word : word.left(colon);
        if (colon >= 0) {
            bool ok = false;
            const double quarters = word.mid(colon + 1).toDouble(&ok);
            if (!ok || !quartersToTicks(quarters, &length))
                return fail(error, QStringLiteral("bad length in \"%1\"").arg(word));
        }
        if (length == 0) return fail(error, QStringLiteral("\"%1\" has no length").arg(word));
        if (token.head.isEmpty())
            return fail(error, QStringLiteral("empty token \"%1\"").arg(word));
        token.length = length;
        token.barStart = barStart;
        barStart = false;
        inBar += length;
        if (inBar > barTicks)
            return fail(error, QStringLiteral("bar %1 is too long at \"%2\"").arg(bar).arg(word));
        tokens->append(token);
    }
    return true;
}

int pitchClass(QChar letter) {
    switch (letter.unicode()) {
        case 'C':
            return 0;
        case 'D':
            return 2;
        case 'E':
            return 4;
        case 'F':
            return 5;
        case 'G':
            return 7;
        case 'A':
            return 9;
        case 'B':
            return 11;
        default:
            return -1;
    }
}

// Letter and accidental at the start of name; returns the characters used.
int readNoteClass(const QString& name, int* pitch) {
    if (name.isEmpty()) return 0;
    int pc = pitchClass(name[0]);
    if (pc < 0) return 0;
    int used = 1;
    if (name.size() > 1 && (name[1] == u'#' || name[1] == u'b')) {
        pc += name[1] == u'#' ? 1 : -1;
        used = 2;
    }
    *pitch = (pc + 12) % 12;
    return used;
}

// The key of a pitch class in [low, low + 11].
int keyInRange(int pitchClassValue, int low) {
    int key = low + ((pitchClassValue - low) % 12 + 12) % 12;
    return key;
}

}  // namespace

int parsePitch(const QString& name) {
    int pc = 0;
    const int used = readNoteClass(name, &pc);
    if (used == 0 || used == name.size()) return -1;
    bool ok = false;
    const int octave = name.mid(used).toInt(&ok);
    if (!ok || octave < -1 || octave > 9) return -1;
    // The accidental may cross the octave: B#3 is C4, Cb4 is B3.
    int natural = pitchClass(name[0]);
    int shift = used == 2 ? (name[1] == u'#' ? 1 : -1) : 0;
    const int key = (octave + 1) * 12 + natural + shift;
    return (key < 0 || key > 127) ? -1 : key;
}

bool parseNotes(const QString& text, double quartersPerBar, QVector<Note>* notes, QString* error) {
    QVector<Token> tokens;
    if (!tokenize(text, quartersPerBar, &tokens, error)) return false;
    quint32 tick = 0;
    for (const Token& token : tokens) {
        Note note;
        note.start = tick;
        note.length = token.length;
        note.downbeat = token.barStart;
        if (token.head != QLatin1String("R")) {
            for (const QString& part : token.head.split(u'+')) {
                const int key = parsePitch(part);
                if (key < 0) return fail(error, QStringLiteral("bad pitch \"%1\"").arg(part));
                note.keys.append(key);
            }
        }
        notes->append(note);
        tick += token.length;
    }
    return true;
}

bool parseChord(const QString& symbol, Chord* chord) {
    int root = 0;
    const int used = readNoteClass(symbol, &root);
    if (used == 0) return false;
    QString rest = symbol.mid(used);
    int bass = root;
    const int slash = rest.indexOf(u'/');
    if (slash >= 0) {
        const QString bassName = rest.mid(slash + 1);
        if (readNoteClass(bassName, &bass) != bassName.size() || bassName.isEmpty()) return false;
        rest = rest.left(slash);
    }
    QVector<int> intervals;
    if (rest.isEmpty())
        intervals = {0, 4, 7};
    else if (rest == QLatin1String("m"))
        intervals = {0, 3, 7};
    else if (rest == QLatin1String("7"))
        intervals = {0, 4, 7, 10};
    else if (rest == QLatin1String("m7"))
        intervals = {0, 3, 7, 10};
    else if (rest == QLatin1String("maj7"))
        intervals = {0, 4, 7, 11};
    else if (rest == QLatin1String("dim"))
        intervals = {0, 3, 6};
    else
        return false;
    chord->bassClass = bass;
    chord->toneClasses.clear();
    for (int interval : intervals)
        chord->toneClasses.append((root + interval) % 12);
    return true;
}

bool expandChords(const QString& chart, double quartersPerBar, ChordPattern pattern,
                  QVector<Note>* notes, QString* error) {
    constexpr int kBassLow = 40;   // E2
    constexpr int kChordLow = 53;  // F3
    constexpr quint32 kBeat = kTicksPerQuarter;
    constexpr quint32 kEighth = kTicksPerQuarter / 2;
    QVector<Token> tokens;
    if (!tokenize(chart, quartersPerBar, &tokens, error)) return false;
    const quint32 barTicks = quint32(std::lround(quartersPerBar * kTicksPerQuarter));

    // Where in its bar the chart starts: an upbeat ends on the next bar line.
    quint32 firstBar = 0;
    for (const Token& token : tokens) {
        if (token.barStart && firstBar > 0) break;
        firstBar += token.length;
    }
    const quint32 offset = firstBar < barTicks ? barTicks - firstBar : 0;

    quint32 tick = 0;
    for (const Token& token : tokens) {
        const quint32 end = tick + token.length;
        if (token.head == QLatin1String("R")) {
            notes->append({tick, token.length, {}, token.barStart});
            tick = end;
            continue;
        }
        Chord chord;
        if (!parseChord(token.head, &chord))
            return fail(error, QStringLiteral("bad chord \"%1\"").arg(token.head));
        const int bass = keyInRange(chord.bassClass, kBassLow);
        QVector<int> upper;
        for (int pc : chord.toneClasses)
            upper.append(keyInRange(pc, kChordLow));
        std::sort(upper.begin(), upper.end());

        if (pattern == ChordPattern::Held) {
            notes->append({tick, token.length, QVector<int>{bass} + upper, token.barStart});
        } else if (pattern == ChordPattern::BassThenChords) {
            for (quint32 t = tick; t < end;) {
                const quint32 step = std::min(kBeat, end - t);
                const bool barStart = (t + offset) % barTicks == 0;
                notes->append({t, step, barStart ? QVector<int>{bass} : upper, barStart});
                t += step;
            }
        } else {
            // bass, then the chord upward and back: 1-2-3-4-3-2-3-4…
            QVector<int> cycle = upper;
            for (int i = int(upper.size()) - 2; i >= 1; --i)
                cycle.append(upper[i]);
            int index = 0;
            for (quint32 t = tick; t < end; ++index) {
                const quint32 step = std::min(kEighth, end - t);
                const int key = index == 0 ? bass : cycle[(index - 1) % cycle.size()];
                notes->append({t, step, {key}, (t + offset) % barTicks == 0});
                t += step;
            }
        }
        tick = end;
    }
    return true;
}

quint32 totalTicks(const QVector<Note>& notes) {
    quint32 end = 0;
    for (const Note& note : notes)
        end = std::max(end, note.start + note.length);
    return end;
}

}  // namespace midigen
