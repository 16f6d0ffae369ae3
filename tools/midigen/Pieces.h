// The six background pieces of the program's sound/ folder, all public domain.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include "Notation.h"

namespace midigen {

struct Part {
    QString name;
    int program = 0;  // General MIDI, counted from 0
    int volume = 100;
    int velocity = 80;
    bool pedal = false;  // sustain pedal lifted and pressed again at every bar line
    QVector<Note> notes;
};

struct Piece {
    QString fileName;  // without ".mid"
    QString title;
    int beatsPerMinute = 100;  // quarter notes
    int numerator = 4;
    int denominator = 4;
    int repeats = 1;  // the written notes are played this many times in the file
    QVector<Part> parts;
};

// Builds every piece from its notation; false with the piece and the fault in
// *error when a note list or chord chart does not parse.
bool buildPieces(QVector<Piece>* pieces, QString* error);

// The file: a tempo track, then one track and one channel a part.
QByteArray pieceToMidi(const Piece& piece);

// Writes every piece as OUTDIR/<fileName>.mid.
bool writeAllPieces(const QString& folder, QString* error);

}  // namespace midigen
