#include "RtfTestUtil.h"

#include "Limits.h"

#include <QStringDecoder>

using namespace rtftest;

namespace {

QString textOf(const char* rtfText) {
    return richtext::plainTextOfRtf(QByteArray(rtfText));
}

}  // namespace

TEST(RtfCodepages, GbkIsAvailableThroughIcu) {
    // Without it every Chinese record would show replacement characters.
    EXPECT_TRUE(QStringDecoder("GBK").isValid());
    EXPECT_TRUE(QStringDecoder("Big5").isValid());
}

TEST(RtfReader, GbkPairsUnderAnsicpg936) {
    EXPECT_EQ(
        textOf(R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fnil\fcharset134 X;}}\f0 \'d6\'d0\'ce\'c4})"),
        QStringLiteral("中文"));
}

TEST(RtfReader, GbkTrailByteMayBeAPlainOrEscapedCharacter) {
    // 丂 is 81 40 ('@'), 乗 is 81 5C ('\\'), 亄 is 81 7B ('{').
    EXPECT_EQ(
        textOf(R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fcharset134 X;}}\'81@\'81\\\'81\{})"),
        QStringLiteral("丂乗亄"));
}

TEST(RtfReader, DocumentCodepageAppliesWithoutFontTable) {
    EXPECT_EQ(textOf(R"({\rtf1\ansi\ansicpg936 \'d6\'d0})"), QStringLiteral("中"));
    EXPECT_EQ(textOf(R"({\rtf1\ansi caf\'e9})"), QStringLiteral("café"));
}

TEST(RtfReader, FontCharsetChoosesTheCodepageOfItsBytes) {
    const char* text =
        R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fcharset134 A;}{\f1\fcharset0 Arial;}}
\f1 caf\'e9\f0 \'d6\'d0})";
    EXPECT_EQ(textOf(text), QStringLiteral("café中"));
}

TEST(RtfReader, LoneLeadByteDoesNotEatTheNextRun) {
    // The run ends with half a character; the next run must still read right.
    const QString text = textOf(R"({\rtf1\ansi\ansicpg936 \'d6\par \'ce\'c4})");
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n文"))) << text.toStdString();
}

TEST(RtfReader, UnicodeEscapeSkipsItsFallback) {
    EXPECT_EQ(textOf(R"({\rtf1\ansi \u20013?\u25991?})"), QStringLiteral("中文"));
    // The blank after a fallback byte is text, not a delimiter.
    EXPECT_EQ(textOf(R"({\rtf1\ansi\ansicpg936\uc2\u27979\'b2\'e2\u35797\'ca\'d4 x})"),
              QStringLiteral("测试 x"));
    EXPECT_EQ(textOf(R"({\rtf1\ansi\uc0\u8364 x})"), QStringLiteral("€x"));
    // Negative values stand for N + 65536.
    EXPECT_EQ(textOf(R"({\rtf1\ansi\u-28930?})"), QString(QChar(0x8EFE)));
}

TEST(RtfReader, UnicodeSkipCountBelongsToItsGroup) {
    // After the group \uc is 1 again: only one '?' follows.
    EXPECT_EQ(textOf(R"({\rtf1\ansi{\uc2\u20013??}\u25991?!})"), QStringLiteral("中文!"));
}

TEST(RtfReader, FallbackEndsAtAGroupBoundary) {
    EXPECT_EQ(textOf(R"({\rtf1\ansi\uc3\u20013{x}y})"), QStringLiteral("中xy"));
}

TEST(RtfReader, FallbackCountsAControlWordAsOneCharacter) {
    EXPECT_EQ(textOf(R"({\rtf1\ansi\uc1\u20013\tab x})"), QStringLiteral("中x"));
}

TEST(RtfReader, SurrogatePairsFromTwoEscapes) {
    EXPECT_EQ(textOf(R"({\rtf1\ansi\u-10179?\u-8704?})"), QString::fromUtf8("\xF0\x9F\x98\x80"));
}

TEST(RtfReader, CharacterFormatting) {
    QTextDocument doc;
    ASSERT_TRUE(
        richtext::readRtf(R"({\rtf1\ansi{\colortbl;\red255\green0\blue0;\red0\green0\blue255;}
plain {\b bold} {\i it} {\ul under\ulnone  notunder} {\fs40 big} {\cf1 red} {\highlight2 marked}
{\strike struck} {\super up} {\sub down}})",
                          &doc));
    EXPECT_EQ(formatOf(doc, "plain").fontWeight(), QFont::Normal);
    EXPECT_EQ(formatOf(doc, "bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(doc, "it").fontItalic());
    EXPECT_FALSE(formatOf(doc, "bold").fontItalic());
    EXPECT_TRUE(formatOf(doc, "under").fontUnderline());
    EXPECT_FALSE(formatOf(doc, "notunder").fontUnderline());
    EXPECT_DOUBLE_EQ(formatOf(doc, "big").fontPointSize(), 20.0);
    EXPECT_EQ(formatOf(doc, "red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(doc, "marked").background().color(), QColor(0, 0, 255));
    EXPECT_FALSE(formatOf(doc, "plain").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_TRUE(formatOf(doc, "struck").fontStrikeOut());
    EXPECT_EQ(formatOf(doc, "up").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(doc, "down").verticalAlignment(), QTextCharFormat::AlignSubScript);
}

TEST(RtfReader, ToggleOffAndPlain) {
    QTextDocument doc;
    richtext::read(R"({\rtf1\ansi\b\i one\b0 two\i0 three\b\fs40\plain four})", &doc);
    EXPECT_EQ(formatOf(doc, "one").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(doc, "two").fontItalic());
    EXPECT_EQ(formatOf(doc, "two").fontWeight(), QFont::Normal);
    EXPECT_FALSE(formatOf(doc, "three").fontItalic());
    EXPECT_EQ(formatOf(doc, "four").fontWeight(), QFont::Normal);
    EXPECT_FALSE(formatOf(doc, "four").hasProperty(QTextFormat::FontPointSize));
}

TEST(RtfReader, ColourZeroIsAutomatic) {
    QTextDocument doc;
    richtext::read(R"({\rtf1\ansi{\colortbl;\red255\green0\blue0;}\cf1 red\cf0 auto})", &doc);
    EXPECT_TRUE(formatOf(doc, "red").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(formatOf(doc, "auto").hasProperty(QTextFormat::ForegroundBrush));
}

TEST(RtfReader, FontFamilyFromTable) {
    QTextDocument doc;
    richtext::read(
        R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fcharset134 \'cb\'ce\'cc\'e5;}{\f1\fswiss Arial;}}\f1 latin\f0 han})",
        &doc);
    EXPECT_EQ(formatOf(doc, "latin").fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(formatOf(doc, "han").fontFamilies().toStringList(), QStringList{"宋体"});
}

TEST(RtfReader, ParagraphAlignmentAndIndents) {
    QTextDocument doc;
    richtext::read(
        R"({\rtf1\ansi\pard\qc centre\par\pard\qr right\par\pard\qj just\par\pard\li720\fi-360\sa240 left})",
        &doc);
    ASSERT_EQ(doc.blockCount(), 4);
    EXPECT_EQ(blockOf(doc, "centre").blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(blockOf(doc, "right").blockFormat().alignment(), Qt::AlignRight);
    EXPECT_EQ(blockOf(doc, "just").blockFormat().alignment(), Qt::AlignJustify);
    const QTextBlockFormat left = blockOf(doc, "left").blockFormat();
    EXPECT_EQ(left.alignment(), Qt::AlignLeft);
    EXPECT_DOUBLE_EQ(left.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(left.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(left.bottomMargin(), 16.0);
}

TEST(RtfReader, ParagraphPropertiesInForceAtParApply) {
    QTextDocument doc;
    richtext::read(R"({\rtf1\ansi\pard first\qc\par\pard second})", &doc);
    EXPECT_EQ(blockOf(doc, "first").blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(blockOf(doc, "second").blockFormat().alignment(), Qt::AlignLeft);
}

TEST(RtfReader, FinalParLeavesNoEmptyParagraph) {
    QTextDocument doc;
    richtext::read(R"({\rtf1\ansi a\par b\par})", &doc);
    EXPECT_EQ(doc.blockCount(), 2);
    richtext::read(R"({\rtf1\ansi a\par\par b\par})", &doc);
    EXPECT_EQ(doc.blockCount(), 3);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("a\n\nb"));
}

TEST(RtfReader, SpecialCharacters) {
    EXPECT_EQ(
        textOf(
            R"({\rtf1\ansi a\line b\tab c\~d\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})"),
        QStringLiteral("a\nb\tc d—–•‘’“”"));
    QTextDocument doc;
    richtext::read(R"({\rtf1\ansi a\line b})", &doc);
    EXPECT_EQ(doc.blockCount(), 1);  // a line break stays inside its paragraph
    EXPECT_EQ(doc.firstBlock().text(), QString("a") + QChar(QChar::LineSeparator) + "b");
}

TEST(RtfReader, EscapedBracesAndBackslash) {
    EXPECT_EQ(textOf(R"({\rtf1\ansi \{x\}\\y})"), QStringLiteral("{x}\\y"));
}

TEST(RtfReader, NonTextDestinationsAreSkipped) {
    EXPECT_EQ(textOf(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;}
{\stylesheet{\s1 Heading;}}{\info{\title T}}{\*\unknown hidden}{\header H}a{\*\bkmkstart m}b})"),
              QStringLiteral("ab"));
}

TEST(RtfReader, FieldShowsItsResultOnly) {
    EXPECT_EQ(textOf(R"({\rtf1\ansi {\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})"),
              QStringLiteral("link"));
}

TEST(RtfReader, UnknownControlWordsAreIgnored) {
    EXPECT_EQ(textOf(R"({\rtf1\ansi \foo a\bar12 b{\baz c}})"), QStringLiteral("abc"));
}

TEST(RtfReader, ControlCharactersCannotSplitBlocks) {
    QTextDocument doc;
    richtext::read(R"({\rtf1\ansi a\u10?b\u8233?c\u65532?d\u-560?e})", &doc);
    EXPECT_EQ(doc.blockCount(), 1);
    EXPECT_TRUE(doc.toPlainText().startsWith('a'));
    EXPECT_TRUE(doc.toPlainText().endsWith('e'));
}

TEST(RtfReader, TableBecomesQTextTable) {
    QTextDocument doc;
    ASSERT_TRUE(richtext::readRtf(R"({\rtf1\ansi Before\par
\trowd\cellx1500\cellx3000\pard\intbl A1\cell\pard\intbl\qc B1\par B1b\cell\row
\trowd\cellx1500\cellx3000\pard\intbl A2\cell\pard\intbl B2\cell\row
\pard After})",
                                  &doc));
    const auto found = tables(doc);
    ASSERT_EQ(found.size(), 1u);
    QTextTable* t = found[0];
    EXPECT_EQ(t->rows(), 2);
    EXPECT_EQ(t->columns(), 2);
    EXPECT_EQ(cellText(t, 0, 0), QStringLiteral("A1"));
    EXPECT_EQ(cellText(t, 1, 1), QStringLiteral("B2"));
    EXPECT_EQ(blockOf(doc, "B1b").blockFormat().alignment(), Qt::AlignHCenter);
    const auto widths = t->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_DOUBLE_EQ(widths[0].rawValue(), 100.0);
    EXPECT_EQ(richtext::plainTextOf(doc), QStringLiteral("Before\nA1\tB1 B1b\nA2\tB2\nAfter"));
}

TEST(RtfReader, ParBeforeCellLeavesAnEmptyParagraph) {
    QTextDocument doc;
    richtext::read(R"({\rtf1\ansi\trowd\cellx1000\intbl a\par\cell\row})", &doc);
    ASSERT_EQ(tables(doc).size(), 1u);
    const QTextTableCell cell = tables(doc)[0]->cellAt(0, 0);
    EXPECT_EQ(cell.lastCursorPosition().blockNumber() - cell.firstCursorPosition().blockNumber(),
              1);
}

TEST(RtfReader, RowWiderThanDefinedGrowsColumns) {
    QTextDocument doc;
    richtext::read(R"({\rtf1\ansi\trowd\cellx1000\intbl a\cell b\cell c\cell\row})", &doc);
    ASSERT_EQ(tables(doc).size(), 1u);
    EXPECT_EQ(tables(doc)[0]->columns(), 3);
    EXPECT_EQ(cellText(tables(doc)[0], 0, 2), QStringLiteral("c"));
}

TEST(RtfReader, CellsWithoutIntblStayApartAsText) {
    EXPECT_EQ(textOf(R"({\rtf1\ansi a\cell b\cell\row c})"), QStringLiteral("a\tb\t\nc"));
}

TEST(RtfReader, TooManyColumnsShareTheLastOne) {
    QByteArray rtfText = "{\\rtf1\\ansi\\trowd\\intbl ";
    for (int i = 0; i < 80; ++i)
        rtfText += "c" + QByteArray::number(i) + "\\cell ";
    rtfText += "\\row}";
    QTextDocument doc;
    richtext::read(rtfText, &doc);
    ASSERT_EQ(tables(doc).size(), 1u);
    EXPECT_EQ(tables(doc)[0]->columns(), 64);
    EXPECT_TRUE(richtext::plainTextOf(doc).contains(QStringLiteral("c79")));
}

TEST(RtfReader, PngPictureBecomesAnImageResource) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    const QByteArray rtfText =
        "{\\rtf1\\ansi x{\\pict\\pngblip\\picw3\\pich2\\picwgoal90\\pichgoal30 " +
        pngBytes(image).toHex() + "}y}";
    QTextDocument doc;
    ASSERT_TRUE(richtext::readRtf(rtfText, &doc));
    const auto found = images(doc);
    ASSERT_EQ(found.size(), 1u);
    const QImage back = imageOf(doc, found[0]);
    EXPECT_EQ(back.size(), QSize(3, 2));
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_DOUBLE_EQ(found[0].width(), 6.0);   // 90 twips
    EXPECT_DOUBLE_EQ(found[0].height(), 2.0);  // 30 twips
    EXPECT_EQ(richtext::plainTextOf(doc), QStringLiteral("xy"));
}

TEST(RtfReader, PictureAtItsOwnSizeKeepsNoSize) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QByteArray rtfText =
        "{\\rtf1\\ansi{\\pict\\pngblip\\picwgoal60\\pichgoal60 " + pngBytes(image).toHex() + "}}";
    QTextDocument doc;
    richtext::read(rtfText, &doc);
    ASSERT_EQ(images(doc).size(), 1u);
    EXPECT_FALSE(images(doc)[0].hasProperty(QTextFormat::ImageWidth));
}

TEST(RtfReader, JpegAndDibPictures) {
    QImage image(8, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray jpeg;
    {
        QBuffer b(&jpeg);
        b.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&b, "JPEG"));
    }
    QByteArray bmp;
    {
        QBuffer b(&bmp);
        b.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&b, "BMP"));
    }
    const QByteArray dib = bmp.mid(14);
    const QByteArray rtfText = "{\\rtf1\\ansi{\\pict\\jpegblip " + jpeg.toHex() +
                               "}{\\pict\\dibitmap0 " + dib.toHex() + "}}";
    QTextDocument doc;
    richtext::read(rtfText, &doc);
    const auto found = images(doc);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(imageOf(doc, found[0]).size(), QSize(8, 5));
    EXPECT_EQ(imageOf(doc, found[1]).size(), QSize(8, 5));
    EXPECT_EQ(imageOf(doc, found[1]).pixel(7, 4), qRgb(255, 0, 0));
}

TEST(RtfReader, MetafileIsSkippedWithAWarning) {
    QTextDocument doc;
    const auto result = richtext::read(R"({\rtf1\ansi a{\pict\wmetafile8 0100090000}b})", &doc);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(images(doc).empty());
    EXPECT_FALSE(result.warnings.isEmpty());
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("ab"));
}

TEST(RtfReader, PictureInsideASkippedDestinationIsNotShown) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QByteArray rtfText = "{\\rtf1\\ansi{\\header{\\pict\\pngblip " + pngBytes(image).toHex() +
                               "}}{\\fonttbl{\\pict\\pngblip " + pngBytes(image).toHex() + "}}}";
    QTextDocument doc;
    richtext::read(rtfText, &doc);
    EXPECT_TRUE(images(doc).empty());
}

TEST(RtfReader, NotRtfIsPlainText) {
    QTextDocument doc;
    const auto utf8 = richtext::read(QByteArray("第一行\r\n第二行"), &doc);
    EXPECT_FALSE(utf8.wasRtf);
    EXPECT_TRUE(utf8.ok);
    EXPECT_EQ(doc.blockCount(), 2);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("第一行\n第二行"));
    // The same text in GBK: not valid UTF-8, so read as the Chinese code page.
    const auto gbk = richtext::read(QByteArray("\xb5\xda\xd2\xbb\xd0\xd0 {x}\\par"), &doc);
    EXPECT_FALSE(gbk.wasRtf);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("第一行 {x}\\par"));
}

TEST(RtfReader, Utf16WithBomIsPlainText) {
    QByteArray data("\xFF\xFE", 2);
    const QString text = QStringLiteral("题目");
    data.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    EXPECT_EQ(richtext::plainTextOfRtf(data), text);
}

TEST(RtfReader, LeadingBlanksAndBomStillRtf) {
    EXPECT_TRUE(richtext::looksLikeRtf("\xEF\xBB\xBF  \r\n{\\rtf1 x}"));
    EXPECT_FALSE(richtext::looksLikeRtf("x{\\rtf1 x}"));
    EXPECT_EQ(richtext::plainTextOfRtf("\xEF\xBB\xBF\r\n{\\rtf1\\ansi x}"), QStringLiteral("x"));
}

TEST(RtfReader, ReadingReplacesTheDocument) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("old\ntext"));
    richtext::read(R"({\rtf1\ansi new})", &doc);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("new"));
    EXPECT_FALSE(doc.isUndoAvailable());
}

TEST(RtfReader, NoDocumentIsAFailure) {
    EXPECT_FALSE(richtext::readRtf(R"({\rtf1 x})", nullptr));
}

TEST(RtfReader, EmptyInputIsAnEmptyDocument) {
    QTextDocument doc;
    EXPECT_TRUE(richtext::readRtf(QByteArray(), &doc));
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_TRUE(richtext::readRtf("{\\rtf1}", &doc));
    EXPECT_TRUE(doc.isEmpty());
}

TEST(RtfReader, NestingUpToTheLimitIsSound) {
    QByteArray rtfText = "{\\rtf1\\ansi ";
    rtfText += QByteArray(900, '{') + "deep" + QByteArray(900, '}') + "}";
    QTextDocument doc;
    const auto result = richtext::read(rtfText, &doc);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("deep"));
}

TEST(RtfReader, BrokenHexEscapeKeepsTheRest) {
    EXPECT_EQ(textOf(R"({\rtf1\ansi a\'zzb\'4})"), QStringLiteral("azzb4"));
}

TEST(RtfReader, BinaryDataMayHoldBraces) {
    // The braces inside \bin are data, not groups: the text after them is still read.
    EXPECT_EQ(textOf("{\\rtf1\\ansi a{\\*\\blob\\bin4 }}{{}b}"), QStringLiteral("ab"));
}

// Every paragraph costs the document far more than its bytes: past the block limit the rest
// is left out, and the cut shows.
TEST(RtfReader, BlocksPastTheLimitAreCutVisibly) {
    struct Case {
        const char* data;
        int maxBlocks;
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"{\\rtf1\\ansi a\\par b\\par c\\par d\\par e}", 3, "a\nb\nc\u2026", false},
        {"{\\rtf1\\ansi a\\par b\\par c\\par}", 3, "a\nb\nc", true},
        {"{\\rtf1\\ansi a\\par\\par\\par\\par\\par\\par x}", 2, "a\n\u2026", false},
        {"{\\rtf1\\ansi a\\par{\\b b\\par c\\par d}", 2, "a\nb\u2026", false},
        {"a\nb\nc\nd", 3, "a\nb\nc\u2026", false},
        {"a\r\nb\r\nc", 3, "a\nb\nc", true},
        {"a\r\rb", 2, "a\n\u2026", false},
        {"\n\n\n\n\n\n", 1, "\u2026", false},
    };
    for (const Case& c : cases) {
        QTextDocument doc;
        const auto result = richtext::read(QByteArray(c.data), &doc, c.maxBlocks);
        EXPECT_EQ(richtext::plainTextOf(doc), QString::fromUtf8(c.text)) << c.data;
        EXPECT_LE(doc.blockCount(), c.maxBlocks) << c.data;
        EXPECT_EQ(result.ok, c.ok) << c.data;
    }
}

TEST(RtfReader, BlockLimitHoldsForParagraphMarksAndLineEnds) {
    const int n = richtext::limits::kMaxBlocks * 2;
    QByteArray rtfText = "{\\rtf1\\ansi ";
    for (int i = 0; i < n; ++i)
        rtfText += "x\\par ";
    rtfText += "}";
    for (const QByteArray& data : {rtfText, QByteArray(n, '\n')}) {
        QTextDocument doc;
        const auto result = richtext::read(data, &doc);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(doc.blockCount(), richtext::limits::kMaxBlocks);
        EXPECT_TRUE(doc.lastBlock().text().endsWith(QChar(u'\u2026')));
    }
}
