#include "Codepage.h"
#include "Limits.h"
#include "RichText.h"

#include <QBuffer>
#include <QColor>
#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QImageReader>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cmath>
#include <variant>
#include <vector>

namespace richtext {

namespace {

// Rich edit and Word both assume SimSun for Chinese when the font table names none.
const QString kDefaultFontName = QStringLiteral("宋体");
// Width given to a table whose columns have no fixed widths: A4 less Word's margins.
constexpr int kDefaultTableTwips = 8300;

char hexDigit(int v) {
    return "0123456789abcdef"[v & 0xF];
}

int toTwips(double pixels) {
    const double twips =
        std::clamp(pixels * 15.0, double(-limits::kMaxTwips), double(limits::kMaxTwips));
    return int(std::lround(twips));
}

using Item = std::variant<QTextBlock, QTextTable*>;

// The blocks of a frame, those of nested frames included, in order.
void collectBlocks(QTextFrame::iterator it, std::vector<QTextBlock>* out) {
    for (; !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame())
            collectBlocks(child->begin(), out);
        else if (it.currentBlock().isValid())
            out->push_back(it.currentBlock());
    }
}

class Writer {
  public:
    explicit Writer(const QTextDocument& doc) : doc_(doc) {
        fonts_.append(kDefaultFontName);
        colors_.append(QColor());  // index 0: automatic
    }

    QByteArray write() {
        std::vector<Item> items;
        for (auto it = doc_.rootFrame()->begin(); !it.atEnd(); ++it) {
            if (QTextFrame* frame = it.currentFrame()) {
                if (auto* table = qobject_cast<QTextTable*>(frame)) {
                    items.emplace_back(table);
                } else {
                    std::vector<QTextBlock> blocks;
                    collectBlocks(frame->begin(), &blocks);
                    for (const QTextBlock& b : blocks)
                        items.emplace_back(b);
                }
            } else if (it.currentBlock().isValid()) {
                items.emplace_back(it.currentBlock());
            }
        }
        for (size_t i = 0; i < items.size(); ++i) {
            if (auto* table = std::get_if<QTextTable*>(&items[i])) {
                writeTable(*table);
                continue;
            }
            const QTextBlock& block = std::get<QTextBlock>(items[i]);
            writeParagraphStart(block.blockFormat(), false);
            writeRuns(block);
            if (i + 1 == items.size()) {
                // The \par that closes the last paragraph is dropped on reading (rich edit
                // does the same), so an empty last paragraph needs one more.
                if (i > 0 && block.length() <= 1 &&
                    std::holds_alternative<QTextBlock>(items[i - 1]))
                    body_ += "\\par\r\n";
                break;
            }
            // Qt keeps an empty block before every table; only a paragraph of the text ends
            // with \par there, or reading it back would add one.
            const bool beforeTable = std::holds_alternative<QTextTable*>(items[i + 1]);
            if (!beforeTable || i > 0 || block.length() > 1) body_ += "\\par\r\n";
        }

        QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052\\uc1";
        out += "{\\fonttbl";
        for (qsizetype i = 0; i < fonts_.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset134 ";
            out += fontNameBytes(fonts_[i]);
            out += ";}";
        }
        out += "}\r\n{\\colortbl;";
        for (qsizetype i = 1; i < colors_.size(); ++i) {
            const QColor& c = colors_[i];
            out += "\\red" + QByteArray::number(c.red()) + "\\green" +
                   QByteArray::number(c.green()) + "\\blue" + QByteArray::number(c.blue()) + ';';
        }
        out += "}\r\n\\viewkind4\r\n";
        out += body_;
        out += "}\r\n";
        return out;
    }

  private:
    // -- paragraphs ----------------------------------------------------------------------

    void writeParagraphStart(const QTextBlockFormat& f, bool inTable) {
        body_ += "\\pard";
        if (inTable) body_ += "\\intbl";
        const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignJustify)
            body_ += "\\qj";
        else if (align & Qt::AlignHCenter)
            body_ += "\\qc";
        else if (align & Qt::AlignRight)
            body_ += "\\qr";
        const double left = f.leftMargin() + f.indent() * doc_.indentWidth();
        writeTwips("\\li", left);
        writeTwips("\\ri", f.rightMargin());
        writeTwips("\\fi", f.textIndent());
        writeTwips("\\sb", f.topMargin());
        writeTwips("\\sa", f.bottomMargin());
        body_ += ' ';
    }

    void writeTwips(const char* word, double pixels) {
        const int twips = toTwips(pixels);
        if (twips != 0) body_ += word + QByteArray::number(twips);
    }

    void writeRuns(const QTextBlock& block) {
        // Fragments that differ only in what RTF does not carry go out as one run, so that
        // writing what was read back gives the same bytes.
        QByteArray runWords;
        QString runText;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                writeRun(runWords, runText);
                runText.clear();
                const QString text = fragment.text();
                for (QChar c : text)
                    if (c.unicode() == QChar::ObjectReplacementCharacter)
                        writeImage(format.toImageFormat());
                continue;
            }
            const QByteArray words = charFormatWords(format);
            if (words != runWords) {
                writeRun(runWords, runText);
                runText.clear();
                runWords = words;
            }
            runText += fragment.text();
        }
        writeRun(runWords, runText);
    }

    void writeRun(const QByteArray& words, const QString& text) {
        int skip = unicodeSkip_;
        QByteArray bytes;
        appendText(text, &bytes, &skip);
        if (bytes.isEmpty()) return;
        if (words.isEmpty()) {
            body_ += bytes;
            unicodeSkip_ = skip;
        } else {
            // \ucN inside the group ends with it.
            body_ += '{' + words + ' ' + bytes + '}';
        }
    }

    // -- characters ----------------------------------------------------------------------

    QByteArray charFormatWords(const QTextCharFormat& f) {
        QByteArray w;
        QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
        if (families.isEmpty() && f.hasProperty(QTextFormat::FontFamily))
            families.append(f.stringProperty(QTextFormat::FontFamily));
        const QString family = families.isEmpty() ? QString() : fontName(families.first());
        if (!family.isEmpty()) w += "\\f" + QByteArray::number(fontIndex(family));
        double points = 0;
        if (f.hasProperty(QTextFormat::FontPointSize))
            points = f.fontPointSize();
        else if (f.hasProperty(QTextFormat::FontPixelSize))
            points = f.intProperty(QTextFormat::FontPixelSize) * 0.75;
        if (points > 0)
            w += "\\fs" + QByteArray::number(std::clamp(int(std::lround(points * 2)), 2, 3276));
        if (f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold) w += "\\b";
        if (f.fontItalic()) w += "\\i";
        // fontUnderline() is true for the single line only.
        const bool underlined = f.hasProperty(QTextFormat::TextUnderlineStyle)
                                    ? f.underlineStyle() != QTextCharFormat::NoUnderline
                                    : f.fontUnderline();
        if (underlined) {
            switch (f.underlineStyle()) {
                case QTextCharFormat::DotLine:
                    w += "\\uld";
                    break;
                case QTextCharFormat::DashUnderline:
                case QTextCharFormat::DashDotLine:
                case QTextCharFormat::DashDotDotLine:
                    w += "\\uldash";
                    break;
                case QTextCharFormat::WaveUnderline:
                    w += "\\ulwave";
                    break;
                default:
                    w += "\\ul";
                    break;
            }
        }
        if (f.fontStrikeOut()) w += "\\strike";
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            w += "\\super";
        else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            w += "\\sub";
        if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
            w += "\\cf" + QByteArray::number(colorIndex(f.foreground().color()));
        if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
            w += "\\highlight" + QByteArray::number(colorIndex(f.background().color()));
        return w;
    }

    // A family as the font table can hold it: no ';', braces, backslashes or controls,
    // no blanks around it.
    static QString fontName(const QString& family) {
        QString name;
        for (QChar c : family)
            if (c.unicode() >= 0x20 && c != u';' && c != u'\\' && c != u'{' && c != u'}')
                name.append(c);
        return name.trimmed();
    }

    int fontIndex(const QString& name) {
        qsizetype i = fonts_.indexOf(name);
        if (i < 0) {
            fonts_.append(name);
            i = fonts_.size() - 1;
        }
        return int(i);
    }

    int colorIndex(const QColor& color) {
        const QColor rgb = QColor::fromRgb(color.rgb());
        for (qsizetype i = 1; i < colors_.size(); ++i)
            if (colors_[i] == rgb) return int(i);
        colors_.append(rgb);
        return int(colors_.size() - 1);
    }

    // Font names go out as their GBK bytes, as Word writes them: some readers take no Unicode
    // escapes in the font table.
    QByteArray fontNameBytes(const QString& name) {
        QByteArray out;
        for (QChar c : name) {
            const char16_t u = c.unicode();
            if (u < 0x20 || u == u';' || u == u'\\' || u == u'{' || u == u'}') continue;
            if (u < 0x80) {
                out += char(u);
                continue;
            }
            const QByteArray bytes = gbk_.bytesFor(c);
            if (bytes.isEmpty()) {
                out += "\\u" + QByteArray::number(u > 32767 ? int(u) - 65536 : int(u)) + '?';
                continue;
            }
            for (char b : bytes) {
                out += "\\'";
                out += hexDigit(uchar(b) >> 4);
                out += hexDigit(uchar(b));
            }
        }
        return out;
    }

    // Plain ASCII as it is; everything else as \uN with the GBK bytes as the fallback for
    // readers that know no Unicode. \ucN follows the fallback's length.
    void appendText(const QString& text, QByteArray* out, int* skip) {
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u == u'\\' || u == u'{' || u == u'}') {
                *out += '\\';
                *out += char(u);
            } else if (u == u'\t') {
                *out += "\\tab ";
            } else if (u == QChar::LineSeparator || u == QChar::ParagraphSeparator) {
                *out += "\\line ";
            } else if (u == QChar::Nbsp) {
                *out += "\\~";
            } else if (u == 0x00AD) {
                *out += "\\-";
            } else if (u == 0x2011) {
                *out += "\\_";
            } else if (u < 0x20 || u == 0x7F || u == QChar::ObjectReplacementCharacter ||
                       u == 0xFDD0 || u == 0xFDD1) {
                continue;
            } else if (u < 0x80) {
                *out += char(u);
            } else {
                const QByteArray fallback = gbk_.bytesFor(c);
                const int wanted = fallback.isEmpty() ? 1 : int(fallback.size());
                if (wanted != *skip) {
                    *out += "\\uc" + QByteArray::number(wanted);
                    *skip = wanted;
                }
                *out += "\\u" + QByteArray::number(u > 32767 ? int(u) - 65536 : int(u));
                if (fallback.isEmpty()) {
                    *out += '?';
                } else {
                    for (char b : fallback) {
                        *out += "\\'";
                        *out += hexDigit(uchar(b) >> 4);
                        *out += hexDigit(uchar(b));
                    }
                }
            }
        }
    }

    // -- pictures ------------------------------------------------------------------------

    void writeImage(const QTextImageFormat& format) {
        const QVariant resource = doc_.resource(QTextDocument::ImageResource, QUrl(format.name()));
        QByteArray data;
        QSize pixels;
        bool jpeg = false;
        if (resource.userType() == QMetaType::QByteArray) {
            data = resource.toByteArray();
            jpeg = data.startsWith("\xFF\xD8\xFF");
            if (jpeg || data.startsWith("\x89PNG")) {
                QBuffer buffer(&data);
                buffer.open(QIODevice::ReadOnly);
                pixels = QImageReader(&buffer).size();
            } else {
                QImage image;
                image.loadFromData(data);
                data = pngOf(image);
                pixels = image.size();
            }
        } else if (resource.canConvert<QImage>()) {
            const QImage image = resource.value<QImage>();
            data = pngOf(image);
            pixels = image.size();
        }
        if (data.isEmpty() || !pixels.isValid() || pixels.isEmpty()) return;
        double width = format.width();
        double height = format.height();
        if (width <= 0 && height <= 0) {
            width = pixels.width();
            height = pixels.height();
        } else if (width <= 0) {
            width = height * pixels.width() / pixels.height();
        } else if (height <= 0) {
            height = width * pixels.height() / pixels.width();
        }
        body_ += jpeg ? "{\\pict\\jpegblip" : "{\\pict\\pngblip";
        body_ += "\\picw" + QByteArray::number(pixels.width());
        body_ += "\\pich" + QByteArray::number(pixels.height());
        body_ += "\\picwgoal" + QByteArray::number(std::lround(width * 15));
        body_ += "\\pichgoal" + QByteArray::number(std::lround(height * 15));
        body_ += "\r\n";
        const qsizetype start = body_.size();
        body_.reserve(start + data.size() * 2 + data.size() / 32 + 8);
        for (qsizetype i = 0; i < data.size(); ++i) {
            const auto b = uchar(data[i]);
            body_ += hexDigit(b >> 4);
            body_ += hexDigit(b);
            if (i % 64 == 63) body_ += "\r\n";
        }
        body_ += "}";
    }

    static QByteArray pngOf(const QImage& image) {
        if (image.isNull()) return {};
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) return {};
        return png;
    }

    // -- tables --------------------------------------------------------------------------

    // The width a column without a set width takes on screen, so that a table pasted
    // into an editor comes back as wide as it was shown; 0 when the document is not
    // shown anywhere (no text width) and so has no layout worth asking.
    double shownWidth(QTextTable* table, int column) const {
        if (doc_.textWidth() <= 0) return 0;
        QAbstractTextDocumentLayout* layout = doc_.documentLayout();
        double widest = 0;
        for (int r = 0; r < table->rows(); ++r) {
            const QTextTableCell cell = table->cellAt(r, column);
            if (!cell.isValid() || cell.columnSpan() != 1) continue;
            widest = std::max(widest,
                              layout->blockBoundingRect(cell.firstCursorPosition().block()).width());
        }
        if (widest <= 0) return 0;
        const QTextTableFormat f = table->format();
        return widest + 2 * f.cellPadding() + f.cellSpacing() + 2 * f.border();
    }

    void writeTable(QTextTable* table) {
        const int rows = table->rows();
        const int columns = table->columns();
        if (rows <= 0 || columns <= 0) return;
        QByteArray rowDefinition = "\\trowd\\trgaph108";
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        int right = 0;
        for (int c = 0; c < columns; ++c) {
            int twips = kDefaultTableTwips / columns;
            if (const double shown = shownWidth(table, c); shown > 0) twips = toTwips(shown);
            if (c < widths.size()) {
                const QTextLength& w = widths[c];
                if (w.type() == QTextLength::FixedLength && w.rawValue() > 0)
                    twips = std::max(1, toTwips(w.rawValue()));
                else if (w.type() == QTextLength::PercentageLength && w.rawValue() > 0)
                    twips = std::max(1, int(kDefaultTableTwips * w.rawValue() / 100));
            }
            right += twips;
            rowDefinition += "\\cellx" + QByteArray::number(right);
        }
        for (int r = 0; r < rows; ++r) {
            body_ += rowDefinition + "\r\n";
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                std::vector<QTextBlock> blocks;
                if (cell.isValid() && cell.row() == r && cell.column() == c)
                    collectBlocks(cell.begin(), &blocks);
                if (blocks.empty()) {
                    // A cell covered by a merged one is written empty.
                    body_ += "\\pard\\intbl \\cell";
                    continue;
                }
                for (size_t i = 0; i < blocks.size(); ++i) {
                    if (i > 0) body_ += "\\par\r\n";
                    writeParagraphStart(blocks[i].blockFormat(), true);
                    writeRuns(blocks[i]);
                }
                body_ += "\\cell";
            }
            body_ += "\\row\r\n";
        }
    }

    const QTextDocument& doc_;
    QStringList fonts_;
    QList<QColor> colors_;
    QByteArray body_;
    int unicodeSkip_ = 1;
    GbkFallback gbk_;
};

}  // namespace

QByteArray writeRtf(const QTextDocument& doc) {
    return Writer(doc).write();
}

}  // namespace richtext
