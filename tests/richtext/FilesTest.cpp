// Hand-made files in tests/data/rtf, each shaped like what some writer (or some damage)
// leaves in a bank.
#include "RtfTestUtil.h"

#include <QDir>
#include <QElapsedTimer>

using namespace rtftest;

TEST(RtfFiles, RichEditGbk) {
    QTextDocument doc;
    const auto result = richtext::read(dataFile("gbk_ansicpg936.rtf"), &doc);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.wasRtf);
    EXPECT_EQ(richtext::plainTextOf(doc), QStringLiteral("中文测试\n丂乗亄亇\ncafé中"));
    EXPECT_DOUBLE_EQ(formatOf(doc, "中文").fontPointSize(), 10.0);
}

TEST(RtfFiles, UnicodeEscapes) {
    EXPECT_EQ(richtext::plainTextOfRtf(dataFile("unicode_uc.rtf")),
              QStringLiteral("中文\n测试 tail\n€軾\n") + QString::fromUtf8("\xF0\x9F\x98\x80"));
}

TEST(RtfFiles, NestedGroups) {
    QTextDocument doc;
    richtext::read(dataFile("nested_groups.rtf"), &doc);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("plain bold both all boldbig plain"));
    const QTextCharFormat all = formatOf(doc, "all");
    EXPECT_EQ(all.fontWeight(), QFont::Bold);
    EXPECT_TRUE(all.fontItalic());
    EXPECT_TRUE(all.fontUnderline());
    const QTextCharFormat both = formatOf(doc, "both");
    EXPECT_FALSE(both.fontUnderline());
    EXPECT_TRUE(both.fontItalic());
    // Back in the outer group: bold without italic; then a sibling group, not bold.
    EXPECT_FALSE(formatOf(doc, "boldbig").fontItalic());
    EXPECT_EQ(formatOf(doc, "boldbig").fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(formatOf(doc, "big").fontPointSize(), 20.0);
    EXPECT_EQ(formatOf(doc, "big").fontWeight(), QFont::Normal);
    EXPECT_EQ(formatOf(doc, " plain").fontWeight(), QFont::Normal);
}

TEST(RtfFiles, UnknownDestinations) {
    EXPECT_EQ(richtext::plainTextOfRtf(dataFile("unknown_destinations.rtf")),
              QStringLiteral("Visible link kept end"));
}

TEST(RtfFiles, Table) {
    QTextDocument doc;
    EXPECT_TRUE(richtext::readRtf(dataFile("table.rtf"), &doc));
    ASSERT_EQ(tables(doc).size(), 1u);
    QTextTable* t = tables(doc)[0];
    EXPECT_EQ(t->rows(), 2);
    EXPECT_EQ(t->columns(), 3);
    EXPECT_EQ(cellText(t, 0, 0), QStringLiteral("中"));
    EXPECT_EQ(richtext::plainTextOf(doc),
              QStringLiteral("Before\n中\tB1\tC1 C1b\nA2\tB2\tC2\nAfter"));
    EXPECT_EQ(blockOf(doc, "B1").blockFormat().alignment(), Qt::AlignHCenter);
}

TEST(RtfFiles, ShapePictureWinsOverItsMetafileTwin) {
    QTextDocument doc;
    const auto result = richtext::read(dataFile("picture_shppict.rtf"), &doc);
    EXPECT_TRUE(result.ok);
    const auto found = images(doc);
    ASSERT_EQ(found.size(), 1u);
    const QImage image = imageOf(doc, found[0]);
    EXPECT_EQ(image.size(), QSize(4, 3));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(3, 2), qRgb(0, 0, 255));
    EXPECT_DOUBLE_EQ(found[0].width(), 8.0);
    EXPECT_DOUBLE_EQ(found[0].height(), 6.0);
    EXPECT_EQ(richtext::plainTextOf(doc), QStringLiteral("Picture: done"));
    // The metafile would have been skipped with a warning of its own.
    EXPECT_TRUE(result.warnings.isEmpty()) << result.warnings.join("; ").toStdString();
}

TEST(RtfFiles, PictureAsBinaryData) {
    QTextDocument doc;
    EXPECT_TRUE(richtext::readRtf(dataFile("picture_bin.rtf"), &doc));
    ASSERT_EQ(images(doc).size(), 1u);
    EXPECT_EQ(imageOf(doc, images(doc)[0]).size(), QSize(4, 3));
    EXPECT_EQ(richtext::plainTextOf(doc), QStringLiteral("AB"));
}

TEST(RtfFiles, TruncatedKeepsWhatWasRead) {
    QTextDocument doc;
    const auto result = richtext::read(dataFile("truncated.rtf"), &doc);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.warnings.isEmpty());
    EXPECT_EQ(doc.blockCount(), 2);
    EXPECT_EQ(doc.firstBlock().text(), QStringLiteral("First paragraph"));
    // The last character lost its second byte.
    EXPECT_EQ(doc.lastBlock().text(), QStringLiteral("Second 中") + QChar(0xFFFD));
    EXPECT_EQ(formatOf(doc, "Second").fontWeight(), QFont::Bold);
}

TEST(RtfFiles, UnbalancedBracesStopAtTheDocumentEnd) {
    QTextDocument doc;
    const auto result = richtext::read(dataFile("unbalanced_braces.rtf"), &doc);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("One"));
}

TEST(RtfFiles, MissingBracesKeepFormatting) {
    QTextDocument doc;
    const auto result = richtext::read(dataFile("missing_braces.rtf"), &doc);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("open groups"));
    EXPECT_TRUE(formatOf(doc, "groups").fontItalic());
    EXPECT_EQ(formatOf(doc, "groups").fontWeight(), QFont::Bold);
}

TEST(RtfFiles, HugeNumbersAreClamped) {
    QTextDocument doc;
    const auto result = richtext::read(dataFile("huge_numbers.rtf"), &doc);
    EXPECT_FALSE(result.ok);  // the \bin runs past the end
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("bignegzeroyy2zw"));
    EXPECT_DOUBLE_EQ(formatOf(doc, "big").fontPointSize(), 1638.0);
    EXPECT_DOUBLE_EQ(formatOf(doc, "neg").fontPointSize(), 1638.0);
    // Colour components past 255 or below 0 are clamped.
    EXPECT_EQ(formatOf(doc, "y").foreground().color(), QColor(255, 0, 128));
    EXPECT_FALSE(formatOf(doc, "y2").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_LE(blockOf(doc, "z").blockFormat().leftMargin(), 31680 / 15.0);
}

TEST(RtfFiles, DeepNestingIsCutNotFollowed) {
    QElapsedTimer timer;
    timer.start();
    QTextDocument doc;
    const auto result = richtext::read(dataFile("deep_nesting.rtf"), &doc);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("before after"));
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(RtfFiles, OpenBracesWithoutEnd) {
    QByteArray data = "{\\rtf1\\ansi x";
    data += QByteArray(100000, '{');
    QTextDocument doc;
    const auto result = richtext::read(data, &doc);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("x"));
}

TEST(RtfFiles, PictureClaimingHugeSizeIsSkipped) {
    QElapsedTimer timer;
    timer.start();
    QTextDocument doc;
    const auto result = richtext::read(dataFile("huge_png_header.rtf"), &doc);
    EXPECT_TRUE(images(doc).empty());
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("beforeafter"));
    EXPECT_FALSE(result.warnings.isEmpty());
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(RtfFiles, PerFontCodepages) {
    EXPECT_EQ(richtext::plainTextOfRtf(dataFile("codepages.rtf")),
              QStringLiteral("選擇\nテスト\nПривет\n中"));
}

TEST(RtfFiles, Formatting) {
    QTextDocument doc;
    EXPECT_TRUE(richtext::readRtf(dataFile("formatting.rtf"), &doc));
    EXPECT_EQ(blockOf(doc, "Title").blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(formatOf(doc, "Title").fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(formatOf(doc, "Title").fontPointSize(), 16.0);
    EXPECT_EQ(formatOf(doc, "Title").fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(blockOf(doc, "red").blockFormat().alignment(), Qt::AlignRight);
    EXPECT_EQ(formatOf(doc, "red").foreground().color(), QColor(Qt::red));
    EXPECT_FALSE(formatOf(doc, "auto").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOf(doc, "marked").background().color(), QColor(Qt::blue));
    EXPECT_EQ(blockOf(doc, "marked").blockFormat().alignment(), Qt::AlignJustify);
    EXPECT_EQ(blockOf(doc, "marked").text(),
              QStringLiteral("marked\u2028second\ttabbed\u00a0nbsp—–•“q”"));
    const QTextBlockFormat indented = blockOf(doc, "indented").blockFormat();
    EXPECT_DOUBLE_EQ(indented.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(indented.rightMargin(), 24.0);
    EXPECT_DOUBLE_EQ(indented.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(indented.topMargin(), 8.0);
    EXPECT_DOUBLE_EQ(indented.bottomMargin(), 16.0);
    EXPECT_FALSE(formatOf(doc, " plain").hasProperty(QTextFormat::FontFamilies));
}

TEST(RtfFiles, PlainTextFiles) {
    const QString expected = QStringLiteral("第一行 first line\nsecond 第二行\n");
    QTextDocument doc;
    const auto utf8 = richtext::read(dataFile("plain_utf8.txt"), &doc);
    EXPECT_FALSE(utf8.wasRtf);
    EXPECT_EQ(doc.toPlainText(), expected);
    const auto gbk = richtext::read(dataFile("plain_gbk.txt"), &doc);
    EXPECT_FALSE(gbk.wasRtf);
    EXPECT_EQ(doc.toPlainText(), expected);
}

// Every file in the folder, fuzzer finds included: reading, writing and reading again
// must neither crash nor lose the text.
TEST(RtfFiles, EveryFileSurvivesARoundTrip) {
    const QDir dir(QStringLiteral(RTF_TEST_DATA_DIR));
    const QStringList names = dir.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QTextDocument first;
        richtext::read(f.readAll(), &first);
        const QByteArray written = richtext::writeRtf(first);
        QTextDocument second;
        const auto result = richtext::read(written, &second);
        EXPECT_TRUE(result.ok) << name.toStdString();
        EXPECT_EQ(richtext::plainTextOf(second), richtext::plainTextOf(first))
            << name.toStdString();
        EXPECT_EQ(richtext::writeRtf(second), written) << name.toStdString();
    }
}
