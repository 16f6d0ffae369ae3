// Rich text of the question bank. Its text columns hold RTF as the Windows rich-edit
// control and word processors write it (GBK under \ansicpg936, \uN escapes, PNG
// pictures, simple tables); some banks were made by other tools and hold plain text,
// in UTF-8 or GBK. Everything here turns such bytes into a QTextDocument and back.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace richtext {

struct ReadResult {
    // False when there was no document to fill, or when the RTF was damaged (cut short,
    // unbalanced braces, nested too deep, a picture too large); the document then holds
    // whatever could be recovered.
    bool ok = false;
    // False when the bytes were not RTF and were shown as plain text.
    bool wasRtf = false;
    // One line per kind of problem met, for logs; never grows with the input.
    QStringList warnings;
};

// Replaces the content of `doc` (and its image resources) with what `data` holds: RTF, or
// when the bytes do not start with "{\rtf", plain text in UTF-8, UTF-16 (with BOM) or GBK.
// Never throws; bounded in time and memory for any input: past limits::kMaxBlocks
// paragraphs the rest is left out, and the last one kept ends with "…".
ReadResult read(const QByteArray& data, QTextDocument* doc);

// read() keeping at most maxBlocks blocks (never more than limits::kMaxBlocks), for a
// caller that shows only the beginning of a text.
ReadResult read(const QByteArray& data, QTextDocument* doc, int maxBlocks);

// read() for callers that only care whether the input was sound.
bool readRtf(const QByteArray& rtf, QTextDocument* doc);

// RTF for `doc` that read(), LibreOffice and Word read back with the same text and
// formatting: GBK code page, Chinese as \uN with GBK fallback bytes, PNG pictures, tables.
QByteArray writeRtf(const QTextDocument& doc);

// The text of `doc` for searching and listing: paragraphs and line breaks as '\n',
// table cells separated by '\t' and rows by '\n', pictures left out.
QString plainTextOf(const QTextDocument& doc);

// plainTextOf() of what read() makes of `data`.
QString plainTextOfRtf(const QByteArray& data);

// True when `data` starts (after a BOM or blanks) with "{\rtf".
bool looksLikeRtf(const QByteArray& data);

}  // namespace richtext
