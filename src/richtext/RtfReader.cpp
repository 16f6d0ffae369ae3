#include "Codepage.h"
#include "Limits.h"
#include "RichText.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace richtext {

namespace {

using namespace limits;

// ---------------------------------------------------------------------------------------
// Tokens

struct Token {
    enum Kind { End, Open, Close, Word, Symbol, Hex, Text, Binary };
    Kind kind = End;
    QByteArrayView bytes;  // Word: the letters; Text, Binary: the data
    bool hasParam = false;
    int param = 0;
    char symbol = 0;
    uchar byte = 0;
};

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Lexer {
  public:
    explicit Lexer(QByteArrayView in) : in_(in) {}

    Token next() {
        Token t;
        while (pos_ < in_.size()) {
            const char c = in_[pos_];
            switch (c) {
                case '{':
                    ++pos_;
                    t.kind = Token::Open;
                    return t;
                case '}':
                    ++pos_;
                    t.kind = Token::Close;
                    return t;
                case '\r':
                case '\n':
                case '\0':
                    ++pos_;
                    continue;
                case '\\':
                    return control();
                default: {
                    const qsizetype start = pos_;
                    while (pos_ < in_.size() && !isSpecial(in_[pos_]))
                        ++pos_;
                    t.kind = Token::Text;
                    t.bytes = in_.sliced(start, pos_ - start);
                    return t;
                }
            }
        }
        return t;
    }

    // True when a \binN promised more bytes than were left.
    bool cutShort() const { return cutShort_; }
    // The bytes after the last token read.
    QByteArrayView rest() const { return in_.sliced(pos_); }

  private:
    static bool isSpecial(char c) {
        return c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n' || c == '\0';
    }

    Token control() {
        Token t;
        ++pos_;  // the backslash
        if (pos_ >= in_.size()) {
            cutShort_ = true;
            return t;
        }
        const char c = in_[pos_];
        if (isLetter(c)) {
            const qsizetype start = pos_;
            while (pos_ < in_.size() && isLetter(in_[pos_]))
                ++pos_;
            t.kind = Token::Word;
            t.bytes = in_.sliced(start, pos_ - start);
            bool negative = false;
            if (pos_ + 1 < in_.size() && in_[pos_] == '-' && isDigit(in_[pos_ + 1])) {
                negative = true;
                ++pos_;
            }
            if (pos_ < in_.size() && isDigit(in_[pos_])) {
                qint64 value = 0;
                while (pos_ < in_.size() && isDigit(in_[pos_])) {
                    value = std::min(value * 10 + (in_[pos_] - '0'), kMaxParameter);
                    ++pos_;
                }
                t.hasParam = true;
                t.param = static_cast<int>(negative ? -value : value);
            }
            if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
            if (t.bytes == "bin" && t.hasParam) {
                // Raw bytes follow; they may hold braces and backslashes of their own.
                qint64 length = std::max(0, t.param);
                const qint64 left = in_.size() - pos_;
                if (length > left) {
                    cutShort_ = true;
                    length = left;
                }
                t.kind = Token::Binary;
                t.bytes = in_.sliced(pos_, length);
                pos_ += length;
            }
            return t;
        }
        if (c == '\'') {
            ++pos_;
            const int hi = pos_ < in_.size() ? hexValue(in_[pos_]) : -1;
            const int lo = pos_ + 1 < in_.size() ? hexValue(in_[pos_ + 1]) : -1;
            if (hi < 0 || lo < 0) {
                // A broken \'h: drop the escape, keep what follows as text.
                t.kind = Token::Symbol;
                t.symbol = 0;
                return t;
            }
            pos_ += 2;
            t.kind = Token::Hex;
            t.byte = static_cast<uchar>(hi * 16 + lo);
            return t;
        }
        ++pos_;
        if (c == '\r' || c == '\n') {
            // A backslash before a line end is an old spelling of \par.
            t.kind = Token::Word;
            t.bytes = "par";
            return t;
        }
        t.kind = Token::Symbol;
        t.symbol = c;
        return t;
    }

    QByteArrayView in_;
    qsizetype pos_ = 0;
    bool cutShort_ = false;
};

// ---------------------------------------------------------------------------------------
// Control words

enum class Cmd {
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    // destinations
    FontTable,
    ColorTable,
    Picture,
    ShapePicture,
    SkipDestination,
    // font and colour tables
    Font,
    FontCharset,
    FontCodepage,
    Red,
    Green,
    Blue,
    // characters
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineDotted,
    UnderlineDashed,
    UnderlineWave,
    UnderlineNone,
    Strike,
    Super,
    Sub,
    NoSuperSub,
    Up,
    Down,
    FontSize,
    Foreground,
    Background,
    // paragraphs
    ParagraphDefault,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    InTable,
    TableLevel,
    // breaks and tables
    Paragraph,
    Cell,
    Row,
    NestedCell,
    NestedRow,
    RowDefaults,
    CellRight,
    Character,  // a control word that stands for one character
    // pictures
    PngBlip,
    JpegBlip,
    DeviceIndependentBitmap,
    UnsupportedPicture,
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
};

struct CmdInfo {
    Cmd cmd;
    char16_t ch = 0;  // for Cmd::Character
};

const std::unordered_map<std::string_view, CmdInfo>& commands() {
    static const std::unordered_map<std::string_view, CmdInfo> table = [] {
        std::unordered_map<std::string_view, CmdInfo> t = {
            {"ansi", {Cmd::Ansi}},
            {"mac", {Cmd::Mac}},
            {"pc", {Cmd::Pc}},
            {"pca", {Cmd::Pca}},
            {"ansicpg", {Cmd::AnsiCpg}},
            {"deff", {Cmd::DefaultFont}},
            {"uc", {Cmd::UnicodeSkip}},
            {"u", {Cmd::Unicode}},
            {"fonttbl", {Cmd::FontTable}},
            {"colortbl", {Cmd::ColorTable}},
            {"pict", {Cmd::Picture}},
            {"shppict", {Cmd::ShapePicture}},
            {"f", {Cmd::Font}},
            {"fcharset", {Cmd::FontCharset}},
            {"cpg", {Cmd::FontCodepage}},
            {"red", {Cmd::Red}},
            {"green", {Cmd::Green}},
            {"blue", {Cmd::Blue}},
            {"plain", {Cmd::Plain}},
            {"b", {Cmd::Bold}},
            {"i", {Cmd::Italic}},
            {"ul", {Cmd::Underline}},
            {"uldb", {Cmd::Underline}},
            {"ulth", {Cmd::Underline}},
            {"ulw", {Cmd::Underline}},
            {"uld", {Cmd::UnderlineDotted}},
            {"ulthd", {Cmd::UnderlineDotted}},
            {"uldash", {Cmd::UnderlineDashed}},
            {"uldashd", {Cmd::UnderlineDashed}},
            {"uldashdd", {Cmd::UnderlineDashed}},
            {"ulldash", {Cmd::UnderlineDashed}},
            {"ulthdash", {Cmd::UnderlineDashed}},
            {"ulthdashd", {Cmd::UnderlineDashed}},
            {"ulthdashdd", {Cmd::UnderlineDashed}},
            {"ulthldash", {Cmd::UnderlineDashed}},
            {"ulwave", {Cmd::UnderlineWave}},
            {"ulhwave", {Cmd::UnderlineWave}},
            {"ululdbwave", {Cmd::UnderlineWave}},
            {"ulnone", {Cmd::UnderlineNone}},
            {"strike", {Cmd::Strike}},
            {"striked", {Cmd::Strike}},
            {"super", {Cmd::Super}},
            {"sub", {Cmd::Sub}},
            {"nosupersub", {Cmd::NoSuperSub}},
            {"up", {Cmd::Up}},
            {"dn", {Cmd::Down}},
            {"fs", {Cmd::FontSize}},
            {"cf", {Cmd::Foreground}},
            {"cb", {Cmd::Background}},
            {"highlight", {Cmd::Background}},
            {"chcbpat", {Cmd::Background}},
            {"pard", {Cmd::ParagraphDefault}},
            {"ql", {Cmd::AlignLeft}},
            {"qc", {Cmd::AlignCenter}},
            {"qr", {Cmd::AlignRight}},
            {"qj", {Cmd::AlignJustify}},
            {"qd", {Cmd::AlignJustify}},
            {"li", {Cmd::LeftIndent}},
            {"lin", {Cmd::LeftIndent}},
            {"ri", {Cmd::RightIndent}},
            {"rin", {Cmd::RightIndent}},
            {"fi", {Cmd::FirstIndent}},
            {"sb", {Cmd::SpaceBefore}},
            {"sa", {Cmd::SpaceAfter}},
            {"intbl", {Cmd::InTable}},
            {"itap", {Cmd::TableLevel}},
            {"par", {Cmd::Paragraph}},
            {"sect", {Cmd::Paragraph}},
            {"page", {Cmd::Paragraph}},
            {"column", {Cmd::Paragraph}},
            {"cell", {Cmd::Cell}},
            {"row", {Cmd::Row}},
            {"nestcell", {Cmd::NestedCell}},
            {"nestrow", {Cmd::NestedRow}},
            {"trowd", {Cmd::RowDefaults}},
            {"cellx", {Cmd::CellRight}},
            {"line", {Cmd::Character, 0x2028}},
            {"tab", {Cmd::Character, u'\t'}},
            {"emdash", {Cmd::Character, 0x2014}},
            {"endash", {Cmd::Character, 0x2013}},
            {"emspace", {Cmd::Character, 0x2003}},
            {"enspace", {Cmd::Character, 0x2002}},
            {"qmspace", {Cmd::Character, 0x2005}},
            {"bullet", {Cmd::Character, 0x2022}},
            {"lquote", {Cmd::Character, 0x2018}},
            {"rquote", {Cmd::Character, 0x2019}},
            {"ldblquote", {Cmd::Character, 0x201C}},
            {"rdblquote", {Cmd::Character, 0x201D}},
            {"zwj", {Cmd::Character, 0x200D}},
            {"zwnj", {Cmd::Character, 0x200C}},
            {"zwbo", {Cmd::Character, 0x200B}},
            {"ltrmark", {Cmd::Character, 0x200E}},
            {"rtlmark", {Cmd::Character, 0x200F}},
            {"pngblip", {Cmd::PngBlip}},
            {"jpegblip", {Cmd::JpegBlip}},
            {"dibitmap", {Cmd::DeviceIndependentBitmap}},
            {"wmetafile", {Cmd::UnsupportedPicture}},
            {"emfblip", {Cmd::UnsupportedPicture}},
            {"macpict", {Cmd::UnsupportedPicture}},
            {"pmmetafile", {Cmd::UnsupportedPicture}},
            {"wbitmap", {Cmd::UnsupportedPicture}},
            {"picw", {Cmd::PictureWidth}},
            {"pich", {Cmd::PictureHeight}},
            {"picwgoal", {Cmd::PictureGoalWidth}},
            {"pichgoal", {Cmd::PictureGoalHeight}},
            {"picscalex", {Cmd::PictureScaleX}},
            {"picscaley", {Cmd::PictureScaleY}},
        };
        // Destinations that hold no text of the document, starred or not.
        static constexpr std::string_view kSkipped =
            "stylesheet info filetbl revtbl rsidtbl listtable listoverridetable pgdsctbl "
            "xmlnstbl generator header headerl headerr headerf footer footerl footerr footerf "
            "footnote annotation atnid atnauthor atndate atnref fldinst nonshppict themedata "
            "colorschememapping latentstyles datastore objdata objclass objname blipuid "
            "bkmkstart bkmkend template docvar userprops xe tc txe rxe falt panose fontemb "
            "fontfile ftnsep ftnsepc ftncn aftnsep aftnsepc aftncn pntxta pntxtb mmathPr "
            "passwordhash protusertbl wgrffmtfilter pgptbl shpinst picprop do";
        for (size_t start = 0; start < kSkipped.size();) {
            size_t end = kSkipped.find(' ', start);
            if (end == std::string_view::npos) end = kSkipped.size();
            t.emplace(kSkipped.substr(start, end - start), CmdInfo{Cmd::SkipDestination});
            start = end + 1;
        }
        return t;
    }();
    return table;
}

// ---------------------------------------------------------------------------------------
// The reader

enum class Dest { Text, FontTable, ColorTable, Picture, Skip };

struct GroupState {
    Dest dest = Dest::Text;
    QTextCharFormat chars;
    QTextBlockFormat paragraph;
    int font = -1;  // -1: the default font
    int unicodeSkip = 1;
    bool inTable = false;
};

struct FontEntry {
    QString name;
    int charset = -1;
    int codepage = 0;
    bool nameDone = false;
};

struct ColorEntry {
    QColor color;
    bool automatic = true;
};

struct Picture {
    enum Type { Unknown, Png, Jpeg, Dib, Unsupported };
    int depth = -1;  // group level of the \pict; -1: none open
    Type type = Unknown;
    int goalWidth = 0;
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
    QByteArray data;
    int nibble = -1;
    bool tooLarge = false;
};

QString nextImageName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("richtext-image:%1").arg(++counter);
}

// Removes what would break the block structure of a QTextDocument if inserted as text:
// paragraph and frame separators, object placeholders and control characters.
QString sanitized(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u >= 0x20) {
            if (u == 0x2029)
                out.append(QChar(QChar::LineSeparator));
            else if (u != 0xFFFC && u != 0xFDD0 && u != 0xFDD1 && (u < 0x7F || u > 0x9F))
                out.append(c);
        }
    }
    return out;
}

// A DIB is a BMP without its 14-byte file header.
QByteArray bmpFromDib(const QByteArray& dib) {
    if (dib.size() < 16) return {};
    auto le32 = [&](int at) {
        return quint32(uchar(dib[at])) | quint32(uchar(dib[at + 1])) << 8 |
               quint32(uchar(dib[at + 2])) << 16 | quint32(uchar(dib[at + 3])) << 24;
    };
    const quint32 headerSize = le32(0);
    if (headerSize < 12 || headerSize > quint32(dib.size())) return {};
    quint32 paletteBytes = 0;
    if (headerSize >= 40 && dib.size() >= 36) {
        const quint32 bitCount = uchar(dib[14]) | uchar(dib[15]) << 8;
        const quint32 compression = le32(16);
        quint32 colorsUsed = le32(32);
        if (colorsUsed == 0 && bitCount <= 8) colorsUsed = 1u << bitCount;
        paletteBytes = std::min<quint32>(colorsUsed, 256) * 4;
        if (headerSize == 40 && (compression == 3 || compression == 6))
            paletteBytes += compression == 3 ? 12 : 16;
    }
    const quint32 offset = 14 + headerSize + paletteBytes;
    const quint32 fileSize = 14 + quint32(dib.size());
    QByteArray bmp("BM");
    for (quint32 v : {fileSize, quint32(0), offset})
        for (int i = 0; i < 4; ++i)
            bmp.append(char((v >> (8 * i)) & 0xFF));
    return bmp + dib;
}

class Reader {
  public:
    Reader(QTextDocument* doc, int maxBlocks) : doc_(doc), cursor_(doc), maxBlocks_(maxBlocks) {}

    void run(QByteArrayView input) {
        Lexer lexer(input);
        bool closed = false;
        for (;;) {
            const Token t = lexer.next();
            if (t.kind == Token::End) break;
            if (overflowDepth_ > 0) {
                // Inside a group nested past the limit: only its braces matter.
                if (t.kind == Token::Open)
                    ++overflowDepth_;
                else if (t.kind == Token::Close)
                    --overflowDepth_;
                continue;
            }
            if (t.kind != Token::Word) starred_ = false;
            if (t.kind == Token::Close && stack_.size() == 1) {
                flushBytes();
                finish();
                stack_.clear();
                closed = true;
                break;
            }
            handle(t);
            // The rest of a document cut at its block limit is not even read.
            if (full_) break;
        }
        if (full_) {
            // What follows the cut was never read, so it is not judged either.
            finish();
        } else {
            if (lexer.cutShort())
                damage(QStringLiteral("RTF cut short inside a control word or binary data"));
            if (!closed) {
                damage(QStringLiteral("RTF ends before its groups are closed"));
                flushBytes();
                finish();
            } else {
                for (char c : lexer.rest()) {
                    if (c != ' ' && c != '\r' && c != '\n' && c != '\t' && c != '\0') {
                        damage(QStringLiteral("data after the end of the RTF ignored"));
                        break;
                    }
                }
            }
        }
        if (decoders_.usedFallback())
            warn(QStringLiteral("a code page is not available; its characters were replaced"));
    }

    bool damaged() const { return damaged_; }
    QStringList warnings() const { return warnings_; }

  private:
    // -- tokens --------------------------------------------------------------------------

    void handle(const Token& t) {
        switch (t.kind) {
            case Token::Open:
                flushBytes();
                unicodeSkipLeft_ = 0;
                if (int(stack_.size()) >= kMaxGroupDepth) {
                    damage(QStringLiteral("groups nested too deep; the deepest were skipped"));
                    overflowDepth_ = 1;
                    return;
                }
                stack_.push_back(st_);
                return;
            case Token::Close:
                flushBytes();
                unicodeSkipLeft_ = 0;
                closeGroup();
                return;
            case Token::Word:
                onWord(t);
                return;
            case Token::Symbol:
                onSymbol(t.symbol);
                return;
            case Token::Hex:
                if (consumeSkip()) return;
                onBytes(QByteArrayView(reinterpret_cast<const char*>(&t.byte), 1));
                return;
            case Token::Text:
                onText(t.bytes);
                return;
            case Token::Binary:
                if (consumeSkip()) return;
                flushBytes();
                if (st_.dest == Dest::Picture) appendPictureBytes(t.bytes);
                return;
            case Token::End:
                return;
        }
    }

    void closeGroup() {
        if (stack_.empty()) return;
        const int depth = int(stack_.size());
        if (picture_.depth == depth) finishPicture();
        const bool leftTable = st_.dest == Dest::FontTable || st_.dest == Dest::ColorTable;
        st_ = stack_.back();
        stack_.pop_back();
        if (leftTable) fontBeingDefined_ = -1;
        charsDirty_ = true;
    }

    // The fallback characters after \uN are skipped one per character, byte or control word.
    bool consumeSkip() {
        if (unicodeSkipLeft_ <= 0) return false;
        --unicodeSkipLeft_;
        return true;
    }

    void onText(QByteArrayView bytes) {
        if (unicodeSkipLeft_ > 0) {
            const qsizetype n = std::min<qsizetype>(unicodeSkipLeft_, bytes.size());
            unicodeSkipLeft_ -= int(n);
            bytes = bytes.sliced(n);
        }
        if (!bytes.isEmpty()) onBytes(bytes);
    }

    // Bytes of text in the current destination's code page.
    void onBytes(QByteArrayView bytes) {
        switch (st_.dest) {
            case Dest::Text:
            case Dest::FontTable:
                // Kept until the run ends: the two bytes of a GBK character may come as
                // \'hh\'hh or as \'hh and a plain character.
                pendingBytes_.append(bytes.data(), bytes.size());
                return;
            case Dest::ColorTable:
                for (char c : bytes)
                    if (c == ';') endColor();
                return;
            case Dest::Picture:
                appendPictureHex(bytes);
                return;
            case Dest::Skip:
                return;
        }
    }

    void flushBytes() {
        if (pendingBytes_.isEmpty()) return;
        const QString text = decoders_.decode(pendingBytes_, currentCodepage());
        pendingBytes_.clear();
        emitString(text);
    }

    void emitString(const QString& text) {
        if (st_.dest == Dest::Text)
            insertText(text);
        else if (st_.dest == Dest::FontTable)
            fontNameText(text);
    }

    void onSymbol(char symbol) {
        if (symbol == '*') {
            flushBytes();
            starred_ = true;
            return;
        }
        if (symbol == '\\' || symbol == '{' || symbol == '}') {
            if (consumeSkip()) return;
            onBytes(QByteArrayView(&symbol, 1));
            return;
        }
        flushBytes();
        if (consumeSkip()) return;
        char16_t ch = 0;
        switch (symbol) {
            case '~':
                ch = 0x00A0;
                break;
            case '_':
                ch = 0x2011;
                break;
            case '-':
                ch = 0x00AD;
                break;
            default:
                return;
        }
        emitString(QString(QChar(ch)));
    }

    void onWord(const Token& t) {
        flushBytes();
        const bool starred = std::exchange(starred_, false);
        if (st_.dest == Dest::Skip) return;
        if (consumeSkip()) return;
        const auto& table = commands();
        const auto it = table.find(std::string_view(t.bytes.data(), t.bytes.size()));
        if (it == table.end()) {
            // An unknown destination under \* is skipped whole; unknown words are ignored.
            if (starred) st_.dest = Dest::Skip;
            return;
        }
        const Cmd cmd = it->second.cmd;
        if (starred && cmd != Cmd::ShapePicture && cmd != Cmd::Picture && cmd != Cmd::FontTable &&
            cmd != Cmd::ColorTable) {
            st_.dest = Dest::Skip;
            return;
        }
        const int p = t.param;
        const bool on = !t.hasParam || p != 0;
        switch (cmd) {
            case Cmd::Ansi:
                documentCodepage_ = 1252;
                break;
            case Cmd::Mac:
                documentCodepage_ = 10000;
                break;
            case Cmd::Pc:
                documentCodepage_ = 437;
                break;
            case Cmd::Pca:
                documentCodepage_ = 850;
                break;
            case Cmd::AnsiCpg:
                if (t.hasParam && p > 0) documentCodepage_ = p;
                break;
            case Cmd::DefaultFont:
                if (t.hasParam) defaultFont_ = p;
                break;
            case Cmd::UnicodeSkip:
                if (t.hasParam) st_.unicodeSkip = std::clamp(p, 0, kMaxUnicodeSkip);
                break;
            case Cmd::Unicode:
                if (t.hasParam) {
                    const int code = p < 0 ? p + 65536 : p;
                    if (code >= 0 && code <= 0xFFFF) emitString(QString(QChar(char16_t(code))));
                    unicodeSkipLeft_ = st_.unicodeSkip;
                }
                break;
            case Cmd::FontTable:
                st_.dest = Dest::FontTable;
                fontBeingDefined_ = -1;
                break;
            case Cmd::ColorTable:
                st_.dest = Dest::ColorTable;
                colorPending_ = ColorEntry();
                break;
            case Cmd::Picture:
                startPicture();
                break;
            case Cmd::ShapePicture:
                // The PNG of a shape picture; its WMF twin is in \nonshppict, skipped.
                break;
            case Cmd::SkipDestination:
                st_.dest = Dest::Skip;
                break;
            case Cmd::Font:
                if (t.hasParam) onFont(p);
                break;
            case Cmd::FontCharset:
                if (st_.dest == Dest::FontTable && fontBeingDefined_ >= 0 && t.hasParam)
                    fonts_[fontBeingDefined_].charset = p;
                break;
            case Cmd::FontCodepage:
                if (st_.dest == Dest::FontTable && fontBeingDefined_ >= 0 && t.hasParam)
                    fonts_[fontBeingDefined_].codepage = p;
                break;
            case Cmd::Red:
            case Cmd::Green:
            case Cmd::Blue:
                if (st_.dest == Dest::ColorTable) {
                    const int v = std::clamp(p, 0, 255);
                    QColor& c = colorPending_.color;
                    if (cmd == Cmd::Red)
                        c.setRed(v);
                    else if (cmd == Cmd::Green)
                        c.setGreen(v);
                    else
                        c.setBlue(v);
                    colorPending_.automatic = false;
                }
                break;
            case Cmd::Plain:
                st_.chars = QTextCharFormat();
                st_.font = -1;
                charsDirty_ = true;
                break;
            case Cmd::Bold:
                st_.chars.setFontWeight(on ? QFont::Bold : QFont::Normal);
                charsDirty_ = true;
                break;
            case Cmd::Italic:
                st_.chars.setFontItalic(on);
                charsDirty_ = true;
                break;
            case Cmd::Underline:
                setUnderline(on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
                break;
            case Cmd::UnderlineDotted:
                setUnderline(on ? QTextCharFormat::DotLine : QTextCharFormat::NoUnderline);
                break;
            case Cmd::UnderlineDashed:
                setUnderline(on ? QTextCharFormat::DashUnderline : QTextCharFormat::NoUnderline);
                break;
            case Cmd::UnderlineWave:
                setUnderline(on ? QTextCharFormat::WaveUnderline : QTextCharFormat::NoUnderline);
                break;
            case Cmd::UnderlineNone:
                setUnderline(QTextCharFormat::NoUnderline);
                break;
            case Cmd::Strike:
                st_.chars.setFontStrikeOut(on);
                charsDirty_ = true;
                break;
            case Cmd::Super:
                st_.chars.setVerticalAlignment(on ? QTextCharFormat::AlignSuperScript
                                                  : QTextCharFormat::AlignNormal);
                charsDirty_ = true;
                break;
            case Cmd::Sub:
                st_.chars.setVerticalAlignment(on ? QTextCharFormat::AlignSubScript
                                                  : QTextCharFormat::AlignNormal);
                charsDirty_ = true;
                break;
            case Cmd::NoSuperSub:
                st_.chars.setVerticalAlignment(QTextCharFormat::AlignNormal);
                charsDirty_ = true;
                break;
            case Cmd::Up:
            case Cmd::Down: {
                const bool raised = !t.hasParam || p != 0;
                st_.chars.setVerticalAlignment(!raised          ? QTextCharFormat::AlignNormal
                                               : cmd == Cmd::Up ? QTextCharFormat::AlignSuperScript
                                                                : QTextCharFormat::AlignSubScript);
                charsDirty_ = true;
                break;
            }
            case Cmd::FontSize:
                if (t.hasParam && p > 0) {
                    // Half-points; Word's own range is 1..1638 points.
                    st_.chars.setFontPointSize(std::clamp(p, 2, 3276) / 2.0);
                    charsDirty_ = true;
                }
                break;
            case Cmd::Foreground: {
                const ColorEntry* c = colorAt(t.hasParam ? p : 0);
                if (c)
                    st_.chars.setForeground(c->color);
                else
                    st_.chars.clearForeground();
                charsDirty_ = true;
                break;
            }
            case Cmd::Background: {
                const ColorEntry* c = colorAt(t.hasParam ? p : 0);
                if (c)
                    st_.chars.setBackground(c->color);
                else
                    st_.chars.clearBackground();
                charsDirty_ = true;
                break;
            }
            case Cmd::ParagraphDefault:
                st_.paragraph = QTextBlockFormat();
                st_.inTable = false;
                break;
            case Cmd::AlignLeft:
                st_.paragraph.setAlignment(Qt::AlignLeft);
                break;
            case Cmd::AlignCenter:
                st_.paragraph.setAlignment(Qt::AlignHCenter);
                break;
            case Cmd::AlignRight:
                st_.paragraph.setAlignment(Qt::AlignRight);
                break;
            case Cmd::AlignJustify:
                st_.paragraph.setAlignment(Qt::AlignJustify);
                break;
            case Cmd::LeftIndent:
                st_.paragraph.setLeftMargin(twipsToPixels(p, 0));
                break;
            case Cmd::RightIndent:
                st_.paragraph.setRightMargin(twipsToPixels(p, 0));
                break;
            case Cmd::FirstIndent:
                st_.paragraph.setTextIndent(twipsToPixels(p, -kMaxTwips));
                break;
            case Cmd::SpaceBefore:
                st_.paragraph.setTopMargin(twipsToPixels(p, 0));
                break;
            case Cmd::SpaceAfter:
                st_.paragraph.setBottomMargin(twipsToPixels(p, 0));
                break;
            case Cmd::InTable:
                st_.inTable = on;
                break;
            case Cmd::TableLevel:
                st_.inTable = t.hasParam && p > 0;
                break;
            case Cmd::Paragraph:
                if (st_.dest == Dest::Text) paragraphBreak();
                break;
            case Cmd::Cell:
                if (st_.dest == Dest::Text) endCell();
                break;
            case Cmd::Row:
                if (st_.dest == Dest::Text) endRow();
                break;
            case Cmd::NestedCell:
                // Nested tables are kept as text inside the outer cell.
                emitString(QStringLiteral("\t"));
                break;
            case Cmd::NestedRow:
                emitString(QString(QChar(QChar::LineSeparator)));
                break;
            case Cmd::RowDefaults:
                rowBoundaries_.clear();
                break;
            case Cmd::CellRight:
                if (int(rowBoundaries_.size()) < kMaxTableColumns)
                    rowBoundaries_.push_back(std::clamp(p, 0, kMaxTwips * kMaxTableColumns));
                break;
            case Cmd::Character:
                emitString(QString(QChar(it->second.ch)));
                break;
            case Cmd::PngBlip:
                setPictureType(Picture::Png);
                break;
            case Cmd::JpegBlip:
                setPictureType(Picture::Jpeg);
                break;
            case Cmd::DeviceIndependentBitmap:
                setPictureType(Picture::Dib);
                break;
            case Cmd::UnsupportedPicture:
                setPictureType(Picture::Unsupported);
                break;
            case Cmd::PictureWidth:
            case Cmd::PictureHeight:
                // The pixel size comes from the picture data itself.
                break;
            case Cmd::PictureGoalWidth:
                if (st_.dest == Dest::Picture)
                    picture_.goalWidth = std::clamp(p, 0, kMaxTwips * 10);
                break;
            case Cmd::PictureGoalHeight:
                if (st_.dest == Dest::Picture)
                    picture_.goalHeight = std::clamp(p, 0, kMaxTwips * 10);
                break;
            case Cmd::PictureScaleX:
                if (st_.dest == Dest::Picture && p > 0) picture_.scaleX = std::min(p, 10000);
                break;
            case Cmd::PictureScaleY:
                if (st_.dest == Dest::Picture && p > 0) picture_.scaleY = std::min(p, 10000);
                break;
        }
    }

    static double twipsToPixels(int twips, int lowest) {
        // 1440 twips an inch, 96 pixels an inch.
        return std::clamp(twips, lowest, kMaxTwips) / 15.0;
    }

    void setUnderline(QTextCharFormat::UnderlineStyle style) {
        st_.chars.setUnderlineStyle(style);
        charsDirty_ = true;
    }

    // -- fonts, colours, code pages --------------------------------------------------------

    void onFont(int number) {
        if (st_.dest == Dest::FontTable) {
            if (fonts_.contains(number) || fonts_.size() < kMaxFonts) {
                fonts_[number];
                fontBeingDefined_ = number;
            } else {
                fontBeingDefined_ = -1;
            }
            return;
        }
        st_.font = number;
        const auto it = fonts_.constFind(number);
        const QString family = it != fonts_.constEnd() ? it->name.trimmed() : QString();
        if (!family.isEmpty())
            st_.chars.setFontFamilies(QStringList{family});
        else
            st_.chars.clearProperty(QTextFormat::FontFamilies);
        charsDirty_ = true;
    }

    void fontNameText(const QString& text) {
        if (fontBeingDefined_ < 0) return;
        FontEntry& font = fonts_[fontBeingDefined_];
        for (QChar c : text) {
            if (font.nameDone) return;
            if (c == QLatin1Char(';')) {
                font.name = font.name.trimmed();
                font.nameDone = true;
            } else if (font.name.size() < kMaxFontNameLength && c.unicode() >= 0x20) {
                font.name.append(c);
            }
        }
    }

    int codepageOfFont(int number) const {
        const auto it = fonts_.constFind(number);
        if (it == fonts_.constEnd()) return documentCodepage_;
        if (it->codepage > 0) return it->codepage;
        if (it->charset >= 0) return codepageForCharset(it->charset, documentCodepage_);
        return documentCodepage_;
    }

    int currentCodepage() const {
        if (st_.dest == Dest::FontTable)
            return fontBeingDefined_ >= 0 ? codepageOfFont(fontBeingDefined_) : documentCodepage_;
        return codepageOfFont(st_.font >= 0 ? st_.font : defaultFont_);
    }

    void endColor() {
        if (int(colors_.size()) < kMaxColors) colors_.push_back(colorPending_);
        colorPending_ = ColorEntry();
    }

    const ColorEntry* colorAt(int index) const {
        if (index <= 0 || index >= int(colors_.size()) || colors_[index].automatic) return nullptr;
        return &colors_[index];
    }

    QTextCharFormat currentCharFormat() {
        if (charsDirty_) {
            charFormat_ = st_.chars;
            charsDirty_ = false;
        }
        return charFormat_;
    }

    // -- document structure -----------------------------------------------------------------

    void insertText(const QString& raw) {
        if (full_) return;
        const QString text = sanitized(raw);
        if (text.isEmpty()) return;
        beginContent();
        if (full_) return;
        const QTextCharFormat format = currentCharFormat();
        if (!run_.isEmpty() && format != runFormat_) flushRun();
        runFormat_ = format;
        run_ += text;
    }

    void flushRun() {
        if (run_.isEmpty()) return;
        cursor_.insertText(run_, runFormat_);
        run_.clear();
    }

    // Moves into or out of a table as the paragraph's \intbl says, and opens the paragraph
    // that a \par before it promised.
    void beginContent() {
        syncTable();
        if (pendingBreak_ && !full_) {
            flushRun();
            if (!roomFor(1)) return;
            cursor_.setBlockFormat(pendingFormat_);
            cursor_.insertBlock();
            pendingBreak_ = false;
        }
    }

    // A \par ends the paragraph; the new one is only made once something goes in it, so
    // that the \par that closes the last paragraph leaves no empty one behind.
    void paragraphBreak() {
        beginContent();
        if (full_) return;
        flushRun();
        pendingBreak_ = true;
        pendingFormat_ = st_.paragraph;
    }

    void finishParagraph() {
        flushRun();
        cursor_.setBlockFormat(pendingBreak_ ? pendingFormat_ : st_.paragraph);
        pendingBreak_ = false;
    }

    void finish() {
        if (picture_.depth >= 0) finishPicture();
        flushRun();
        if (table_ && !inCell_) {
            // The document ends with a table; the block after it is Qt's, not ours.
            pendingBreak_ = false;
            return;
        }
        finishParagraph();
    }

    // True when `blocks` more blocks fit; otherwise the document ends here, visibly.
    bool roomFor(qint64 blocks) {
        if (full_) return false;
        if (doc_->blockCount() + blocks <= maxBlocks_) return true;
        full_ = true;
        pendingBreak_ = false;
        flushRun();
        cursor_.insertText(QString(QChar(kCutMarker)), QTextCharFormat());
        damage(QStringLiteral("too many paragraphs; the rest was left out"));
        return false;
    }

    void syncTable() {
        if (tableAsText_ || full_) return;
        if (table_ && !st_.inTable)
            endTable();
        else if (st_.inTable)
            enterCell();
    }

    QTextTableFormat tableFormat() const {
        QTextTableFormat format;
        format.setBorder(1);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(3);
        QList<QTextLength> widths;
        int left = 0;
        for (int right : rowBoundaries_) {
            widths.append(QTextLength(QTextLength::FixedLength, std::max(right - left, 15) / 15.0));
            left = std::max(left, right);
        }
        if (!widths.isEmpty()) format.setColumnWidthConstraints(widths);
        return format;
    }

    // Places the cursor in the cell that the next content belongs to, making the table, the
    // row or the column as needed.
    void enterCell() {
        const int wantedColumns = std::max<int>(1, int(rowBoundaries_.size()));
        if (!table_) {
            if (tableCells_ + wantedColumns > kMaxTableCells) {
                tooManyCells();
                return;
            }
            if (!roomFor(wantedColumns + 1)) return;
            flushRun();
            // A \par before the table ended the paragraph before it.
            if (pendingBreak_) {
                cursor_.setBlockFormat(pendingFormat_);
                pendingBreak_ = false;
            }
            table_ = cursor_.insertTable(1, wantedColumns, tableFormat());
            tableCells_ += wantedColumns;
            row_ = 0;
            cell_ = 0;
            inCell_ = false;
        } else if (row_ < 0) {
            const int columns = std::max(table_->columns(), wantedColumns);
            if (tableCells_ + columns > kMaxTableCells) {
                tooManyCells();
                return;
            }
            if (!roomFor(columns + qint64(columns - table_->columns()) * table_->rows())) return;
            flushRun();
            pendingBreak_ = false;
            if (columns > table_->columns()) table_->appendColumns(columns - table_->columns());
            table_->appendRows(1);
            tableCells_ += columns;
            row_ = table_->rows() - 1;
            cell_ = 0;
            inCell_ = false;
        }
        if (inCell_) return;
        flushRun();
        bool overflow = false;
        if (cell_ >= table_->columns()) {
            const int needed = cell_ + 1 - table_->columns();
            if (cell_ < kMaxTableColumns &&
                tableCells_ + needed * table_->rows() <= kMaxTableCells &&
                doc_->blockCount() + needed * table_->rows() <= maxBlocks_) {
                table_->appendColumns(needed);
                tableCells_ += needed * table_->rows();
            } else {
                overflow = true;
            }
        }
        const int column = std::min(cell_, table_->columns() - 1);
        cursor_ = table_->cellAt(row_, column).lastCursorPosition();
        inCell_ = true;
        if (overflow) {
            // More cells than columns can be had: the rest share the last one.
            cursor_.insertText(QStringLiteral("\t"));
        }
    }

    void endCell() {
        if (!table_ && !st_.inTable) {
            // A \cell outside any table (no \intbl): keep the cells apart at least.
            emitString(QStringLiteral("\t"));
            return;
        }
        if (tableAsText_) {
            emitString(QStringLiteral("\t"));
            return;
        }
        flushRun();
        const bool wasInTable = st_.inTable;
        st_.inTable = true;
        enterCell();
        st_.inTable = wasInTable;
        if (full_) return;
        if (tableAsText_ || !table_) {
            emitString(QStringLiteral("\t"));
            return;
        }
        // \cell ends a paragraph of its own: a \par before it leaves an empty one, as in Word.
        if (pendingBreak_) {
            if (!roomFor(1)) return;
            cursor_.setBlockFormat(pendingFormat_);
            cursor_.insertBlock();
            pendingBreak_ = false;
        }
        cursor_.setBlockFormat(st_.paragraph);
        ++cell_;
        inCell_ = false;
    }

    void endRow() {
        if (!table_ || tableAsText_) {
            paragraphBreak();
            return;
        }
        if (row_ < 0) return;
        flushRun();
        if (inCell_) finishParagraph();
        if (int(rowBoundaries_.size()) > table_->columns() &&
            tableCells_ + table_->rows() * (int(rowBoundaries_.size()) - table_->columns()) <=
                kMaxTableCells &&
            doc_->blockCount() +
                    table_->rows() * (int(rowBoundaries_.size()) - table_->columns()) <=
                maxBlocks_) {
            const int added = int(rowBoundaries_.size()) - table_->columns();
            table_->appendColumns(added);
            tableCells_ += added * table_->rows();
        }
        row_ = -1;
        cell_ = 0;
        inCell_ = false;
    }

    void endTable() {
        flushRun();
        if (inCell_) finishParagraph();
        pendingBreak_ = false;
        cursor_.setPosition(table_->lastPosition() + 1);
        table_ = nullptr;
        row_ = -1;
        cell_ = 0;
        inCell_ = false;
    }

    void tooManyCells() {
        damage(QStringLiteral("too many table cells; the rest are kept as text"));
        if (table_) endTable();
        tableAsText_ = true;
    }

    // -- pictures -------------------------------------------------------------------------

    void startPicture() {
        if (picture_.depth >= 0) {
            // A picture inside a picture holds nothing we could show.
            st_.dest = Dest::Skip;
            return;
        }
        picture_ = Picture();
        picture_.depth = int(stack_.size());
        st_.dest = Dest::Picture;
    }

    void setPictureType(Picture::Type type) {
        if (st_.dest == Dest::Picture) picture_.type = type;
    }

    void appendPictureHex(QByteArrayView bytes) {
        for (char c : bytes) {
            const int v = hexValue(c);
            if (v < 0) continue;
            if (picture_.nibble < 0) {
                picture_.nibble = v;
                continue;
            }
            const char byte = char(picture_.nibble * 16 + v);
            picture_.nibble = -1;
            if (picture_.data.size() < kMaxPictureBytes)
                picture_.data.append(byte);
            else
                picture_.tooLarge = true;
        }
    }

    void appendPictureBytes(QByteArrayView bytes) {
        const qsizetype room = kMaxPictureBytes - picture_.data.size();
        if (bytes.size() > room) {
            picture_.tooLarge = true;
            bytes = bytes.first(std::max<qsizetype>(room, 0));
        }
        picture_.data.append(bytes.data(), bytes.size());
    }

    void finishPicture() {
        Picture pic = std::move(picture_);
        picture_ = Picture();
        if (pic.tooLarge) {
            damage(QStringLiteral("picture larger than the limit skipped"));
            return;
        }
        QByteArray data = std::move(pic.data);
        const char* format = nullptr;
        switch (pic.type) {
            case Picture::Png:
                format = "png";
                break;
            case Picture::Jpeg:
                format = "jpeg";
                break;
            case Picture::Dib:
                data = bmpFromDib(data);
                format = "bmp";
                break;
            case Picture::Unknown:
                if (data.startsWith("\x89PNG"))
                    format = "png";
                else if (data.startsWith("\xFF\xD8\xFF"))
                    format = "jpeg";
                break;
            case Picture::Unsupported:
                break;
        }
        if (!format || data.isEmpty()) {
            warn(QStringLiteral("picture in a format other than PNG, JPEG or DIB skipped"));
            return;
        }
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, format);
        // Only the format the RTF names: no SVG or other plugin gets untrusted bytes.
        reader.setAutoDetectImageFormat(false);
        const QSize size = reader.size();
        const qint64 pixels = size.isValid() ? qint64(size.width()) * size.height() : 0;
        if (pixels <= 0 || pixels > kMaxPicturePixels ||
            picturePixels_ + pixels > kMaxDocumentPixels) {
            warn(QStringLiteral("picture unreadable or too large skipped"));
            return;
        }
        QImage image = reader.read();
        if (image.isNull()) {
            warn(QStringLiteral("picture unreadable or too large skipped"));
            return;
        }
        picturePixels_ += pixels;
        insertImage(image, pic);
    }

    void insertImage(const QImage& image, const Picture& pic) {
        // Only a picture in the text is shown; one in a table of the header is not.
        const int outer = pic.depth - 1;
        if (outer < 0 || outer >= int(stack_.size()) || stack_[outer].dest != Dest::Text) return;
        const QString name = nextImageName();
        doc_->addResource(QTextDocument::ImageResource, QUrl(name), image);
        QTextImageFormat format;
        format.setName(name);
        // The shown size is the goal size scaled, in whole twips as the writer puts it back;
        // set only when it differs from the picture's own pixels, so that a plain picture
        // stays plain.
        const auto twips = [](int goal, int pixels, int scale) {
            const double t = (goal > 0 ? goal : pixels * 15.0) * scale / 100.0;
            return std::clamp<qint64>(std::llround(t), 15, qint64(kMaxPictureExtent * 15));
        };
        const qint64 width = twips(pic.goalWidth, image.width(), pic.scaleX);
        const qint64 height = twips(pic.goalHeight, image.height(), pic.scaleY);
        if (width != image.width() * 15 || height != image.height() * 15) {
            format.setWidth(width / 15.0);
            format.setHeight(height / 15.0);
        }
        beginContent();
        if (full_) return;
        flushRun();
        cursor_.insertImage(format);
    }

    // -- diagnostics ----------------------------------------------------------------------

    void warn(const QString& message) {
        if (!warnings_.contains(message)) warnings_.append(message);
    }

    void damage(const QString& message) {
        damaged_ = true;
        warn(message);
    }

    QTextDocument* doc_;
    QTextCursor cursor_;
    int maxBlocks_;
    bool full_ = false;
    Decoders decoders_;

    GroupState st_;
    std::vector<GroupState> stack_;
    int overflowDepth_ = 0;
    bool starred_ = false;
    int unicodeSkipLeft_ = 0;
    QByteArray pendingBytes_;

    int documentCodepage_ = 1252;
    int defaultFont_ = 0;
    QHash<int, FontEntry> fonts_;
    int fontBeingDefined_ = -1;
    std::vector<ColorEntry> colors_;
    ColorEntry colorPending_;

    QTextCharFormat charFormat_;
    bool charsDirty_ = true;
    QString run_;
    QTextCharFormat runFormat_;
    bool pendingBreak_ = false;
    QTextBlockFormat pendingFormat_;

    QTextTable* table_ = nullptr;
    int row_ = -1;
    int cell_ = 0;
    bool inCell_ = false;
    std::vector<int> rowBoundaries_;
    int tableCells_ = 0;
    bool tableAsText_ = false;

    Picture picture_;
    qint64 picturePixels_ = 0;

    bool damaged_ = false;
    QStringList warnings_;
};

// ---------------------------------------------------------------------------------------
// Plain text

QString decodePlainText(QByteArrayView data, QString* encoding) {
    if (data.startsWith("\xEF\xBB\xBF")) {
        *encoding = QStringLiteral("UTF-8");
        return QString::fromUtf8(data.sliced(3));
    }
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        *encoding = QStringLiteral("UTF-16");
        QStringDecoder utf16(QStringDecoder::Utf16);
        return utf16.decode(data);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(data);
    if (!utf8.hasError()) {
        *encoding = QStringLiteral("UTF-8");
        return text;
    }
    // Not UTF-8: the bank's other tools wrote the Chinese ANSI code page. GB18030 reads
    // every GBK byte sequence the same way and a few more.
    Decoders decoders;
    *encoding = QStringLiteral("GB18030");
    return decoders.decode(data.toByteArray(), 54936);
}

// The bytes that hold the first maxLines lines: a line end byte is never part of a UTF-8 or
// GBK character, so the lines past the limit are cut before they cost a decoded copy.
QByteArrayView firstLines(QByteArrayView data, int maxLines) {
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) return data;
    int ends = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] != '\n' && data[i] != '\r') continue;
        if (++ends == maxLines) return data.first(i + 1);
        if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    }
    return data;
}

void readPlainText(const QByteArray& data, QTextDocument* doc, int maxBlocks, ReadResult* result) {
    QString encoding;
    const QString text = decodePlainText(firstLines(data, maxBlocks), &encoding);
    QTextCursor cursor(doc);
    int blocks = 1;
    bool cut = false;
    for (qsizetype pos = 0; pos <= text.size();) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        QString line = sanitized(QStringView(text).sliced(pos, end - pos).toString());
        const bool more = end < text.size();
        if (more && blocks == maxBlocks) {
            line += QChar(kCutMarker);
            cut = true;
        }
        if (!line.isEmpty()) cursor.insertText(line);
        if (!more || cut) break;
        pos = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
        cursor.insertBlock();
        ++blocks;
    }
    if (!data.isEmpty())
        result->warnings.append(QStringLiteral("not RTF; read as plain text (%1)").arg(encoding));
    if (cut) result->warnings.append(QStringLiteral("too many lines; the rest was left out"));
    result->ok = !cut;
}

}  // namespace

bool looksLikeRtf(const QByteArray& data) {
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' ||
                               data[i] == '\n' || data[i] == '\0'))
        ++i;
    return QByteArrayView(data).sliced(i).startsWith("{\\rtf");
}

ReadResult read(const QByteArray& data, QTextDocument* doc) {
    return read(data, doc, limits::kMaxBlocks);
}

ReadResult read(const QByteArray& data, QTextDocument* doc, int maxBlocks) {
    maxBlocks = std::clamp(maxBlocks, 1, limits::kMaxBlocks);
    ReadResult result;
    if (!doc) {
        result.warnings.append(QStringLiteral("no document to read into"));
        return result;
    }
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    // One edit for the whole read: outside an edit every insertion lays out its paragraph
    // again to place the cursor, which makes a paragraph of many formatting changes
    // quadratic in its length.
    QTextCursor edit(doc);
    edit.beginEditBlock();
    if (looksLikeRtf(data)) {
        result.wasRtf = true;
        Reader reader(doc, maxBlocks);
        reader.run(QByteArrayView(data).sliced(data.indexOf('{')));
        result.ok = !reader.damaged();
        result.warnings = reader.warnings();
    } else {
        readPlainText(data, doc, maxBlocks, &result);
    }
    edit.endEditBlock();
    doc->setUndoRedoEnabled(undo);
    doc->setModified(false);
    return result;
}

bool readRtf(const QByteArray& rtf, QTextDocument* doc) {
    return read(rtf, doc).ok;
}

}  // namespace richtext
