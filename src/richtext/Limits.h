// Bounds that keep the reader linear in its input whatever the bytes: a bank record is
// untrusted (it may be damaged, or made by a tool we have never seen).
#pragma once

#include <QtGlobal>

namespace richtext::limits {

// Groups nested deeper than this are skipped whole.
constexpr int kMaxGroupDepth = 1000;
// Numeric parameters saturate here; every use clamps again to its own range.
constexpr qint64 kMaxParameter = 2147483647;
// Fallback characters after \uN; writers use 1 or 2.
constexpr int kMaxUnicodeSkip = 16;
constexpr int kMaxFonts = 4096;
constexpr int kMaxColors = 4096;
constexpr qsizetype kMaxFontNameLength = 256;
// Bytes of one picture, before decoding.
constexpr qsizetype kMaxPictureBytes = 32 * 1024 * 1024;
// Pixels of one decoded picture, and of all pictures of one document.
constexpr qint64 kMaxPicturePixels = 25'000'000;
constexpr qint64 kMaxDocumentPixels = 60'000'000;
// Shown size of a picture, in pixels.
constexpr double kMaxPictureExtent = 20000;
constexpr int kMaxTableColumns = 64;
// Cells of all tables of one document; past this, table text flows as tab-separated lines.
constexpr int kMaxTableCells = 50'000;
// Blocks of one document (paragraphs and table cells): each costs the document far more than
// its bytes, so a record of nothing but paragraph marks or line ends would otherwise take
// gigabytes. Past this the rest is left out and the document ends with kCutMarker.
constexpr int kMaxBlocks = 100'000;
// Shown where a document was cut short.
constexpr char16_t kCutMarker = u'\u2026';
// Twips of an indent, a spacing or a column (22 inches).
constexpr int kMaxTwips = 31680;

}  // namespace richtext::limits
