// Windows code pages as RTF names them (\ansicpgN, \cpgN, \fcharsetN), decoded through
// QStringDecoder. Qt 6.4 reaches the legacy code pages through ICU; a Qt built without
// ICU only knows UTF-8/16 and Latin-1, so cp1252 is kept here as a table and other code
// pages then turn their high bytes into U+FFFD rather than into wrong letters.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <map>
#include <memory>

namespace richtext {

constexpr int kCodepageGbk = 936;
constexpr int kCodepageAnsi = 1252;

// The code page of a font with \fcharsetN; `documentCodepage` for DEFAULT_CHARSET and
// for charsets that name no code page.
int codepageForCharset(int charset, int documentCodepage);

// The ICU name of a code page, or nullptr when it has none that Qt knows.
const char* codepageName(int codepage);

class Decoders {
  public:
    // Decodes one run of bytes. A run cut inside a multi-byte character ends in U+FFFD
    // instead of swallowing a byte of the next run.
    QString decode(QByteArrayView bytes, int codepage);
    // True when the code page had to fall back (no ICU converter for it).
    bool usedFallback() const { return usedFallback_; }

  private:
    QStringDecoder* decoderFor(int codepage);
    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;
    bool usedFallback_ = false;
};

// The GBK bytes of one character, for the fallback after \uN; empty when GBK has no
// such character (or no GBK converter is available).
class GbkFallback {
  public:
    GbkFallback();
    QByteArray bytesFor(QChar c);

  private:
    QStringEncoder encoder_;
    QStringDecoder decoder_;
    QHash<char16_t, QByteArray> cache_;
};

}  // namespace richtext
