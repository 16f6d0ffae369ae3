#include "Codepage.h"

namespace richtext {

int codepageForCharset(int charset, int documentCodepage) {
    switch (charset) {
        case 0:  // ANSI
        case 2:  // Symbol: its glyphs sit on the Latin-1 positions
            return 1252;
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
            return 437;
        case 255:
            return 850;
        default:
            return documentCodepage;
    }
}

const char* codepageName(int codepage) {
    switch (codepage) {
        case 936:
            return "GBK";
        case 54936:
            return "GB18030";
        case 950:
            return "Big5";
        case 932:
            return "windows-31j";
        case 949:
            return "windows-949";
        case 874:
            return "windows-874";
        case 1250:
            return "windows-1250";
        case 1251:
            return "windows-1251";
        case 1252:
            return "windows-1252";
        case 1253:
            return "windows-1253";
        case 1254:
            return "windows-1254";
        case 1255:
            return "windows-1255";
        case 1256:
            return "windows-1256";
        case 1257:
            return "windows-1257";
        case 1258:
            return "windows-1258";
        case 10000:
            return "macintosh";
        case 437:
            return "IBM437";
        case 850:
            return "IBM850";
        case 65001:
            return "UTF-8";
        default:
            return nullptr;
    }
}

namespace {

// 0x80..0x9F of cp1252; the rest of the page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QString decodeWithoutIcu(QByteArrayView bytes, int codepage) {
    QString out;
    out.reserve(bytes.size());
    const bool singleByteAnsi = codepage == 1252;
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out.append(QLatin1Char(static_cast<char>(b)));
        else if (!singleByteAnsi)
            out.append(QChar(0xFFFD));
        else if (b < 0xA0)
            out.append(QChar(kCp1252High[b - 0x80]));
        else
            out.append(QLatin1Char(static_cast<char>(b)));
    }
    return out;
}

}  // namespace

QStringDecoder* Decoders::decoderFor(int codepage) {
    auto it = decoders_.find(codepage);
    if (it != decoders_.end()) return it->second.get();
    std::unique_ptr<QStringDecoder> decoder;
    if (const char* name = codepageName(codepage)) {
        decoder = std::make_unique<QStringDecoder>(name);
        if (!decoder->isValid()) decoder.reset();
    }
    return decoders_.emplace(codepage, std::move(decoder)).first->second.get();
}

QString Decoders::decode(QByteArrayView bytes, int codepage) {
    QStringDecoder* decoder = decoderFor(codepage);
    if (!decoder) {
        if (codepage != 1252) usedFallback_ = true;
        return decodeWithoutIcu(bytes, codepage);
    }
    // ICU keeps a trailing lead byte for the next call whatever the flags say. A newline
    // is no trail byte in any of these code pages, so appending one makes ICU report the
    // cut character now; the newline itself is then dropped.
    QByteArray terminated;
    terminated.reserve(bytes.size() + 1);
    terminated.append(bytes.data(), bytes.size());
    terminated.append('\n');
    decoder->resetState();
    QString out = decoder->decode(terminated);
    decoder->resetState();
    if (out.endsWith(QLatin1Char('\n'))) out.chop(1);
    return out;
}

GbkFallback::GbkFallback()
    : encoder_(codepageName(kCodepageGbk)), decoder_(codepageName(kCodepageGbk)) {}

QByteArray GbkFallback::bytesFor(QChar c) {
    if (!encoder_.isValid() || !decoder_.isValid() || c.isSurrogate()) return {};
    const auto cached = cache_.constFind(c.unicode());
    if (cached != cache_.constEnd()) return *cached;
    // Qt's ICU encoder keeps its error flag through resetState(), so success is judged by
    // decoding the bytes back instead.
    encoder_.resetState();
    QByteArray bytes = encoder_.encode(QStringView(&c, 1));
    decoder_.resetState();
    const QString back = decoder_.decode(bytes);
    if (bytes.isEmpty() || bytes.size() > 2 || back.size() != 1 || back[0] != c) bytes.clear();
    if (cache_.size() < 65536) cache_.insert(c.unicode(), bytes);
    return bytes;
}

}  // namespace richtext
