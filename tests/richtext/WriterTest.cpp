#include "RtfTestUtil.h"

#include <QRegularExpression>

using namespace rtftest;

namespace {

QByteArray writePlain(const QString& text) {
    QTextDocument doc;
    doc.setPlainText(text);
    return richtext::writeRtf(doc);
}

// What a reader that knows no \uN makes of the output: it sees only the fallbacks.
QString textWithoutUnicodeEscapes(const QByteArray& rtf) {
    QString withoutU = QString::fromLatin1(rtf);
    withoutU.remove(QRegularExpression(QStringLiteral(R"(\\u-?[0-9]+)")));
    return richtext::plainTextOfRtf(withoutU.toLatin1());
}

int braceBalance(const QByteArray& rtf) {
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}' && --depth < 0)
            return -1;
    }
    return depth;
}

}  // namespace

TEST(RtfWriter, HeaderDeclaresTheChineseCodepage) {
    const QByteArray out = writePlain(QStringLiteral("x"));
    EXPECT_TRUE(out.startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0")) << out.constData();
    // The default font is SimSun, by its GBK name, with the GB2312 charset.
    EXPECT_TRUE(out.contains("{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}")) << out.constData();
    EXPECT_TRUE(out.contains("{\\colortbl;"));
}

TEST(RtfWriter, ChineseAsUnicodeWithGbkFallback) {
    const QByteArray out = writePlain(QStringLiteral("a中文"));
    EXPECT_TRUE(out.contains("a\\uc2\\u20013\\'d6\\'d0\\u25991\\'ce\\'c4")) << out.constData();
}

TEST(RtfWriter, UcFollowsTheFallbackLength) {
    // The emoji has no GBK bytes: '?' with \uc1; the Chinese after it needs \uc2 again.
    const QByteArray out = writePlain(QStringLiteral("中") + QString::fromUtf8("\xF0\x9F\x98\x80") +
                                      QStringLiteral("文"));
    EXPECT_TRUE(
        out.contains("\\uc2\\u20013\\'d6\\'d0\\uc1\\u-10179?\\u-8704?\\uc2\\u25991\\'ce\\'c4"))
        << out.constData();
}

TEST(RtfWriter, GbkFallbackAfterACharacterGbkLacks) {
    // An unencodable character must not spoil the fallbacks of the ones after it.
    const QByteArray out = writePlain(QStringLiteral("\ufffd中"));
    EXPECT_TRUE(out.contains("\\u-3?\\uc2\\u20013\\'d6\\'d0")) << out.constData();
    EXPECT_TRUE(out.contains("\\fcharset134 \\'cb\\'ce\\'cc\\'e5;")) << out.constData();
}

TEST(RtfWriter, FallbacksAloneSpellTheSameChineseText) {
    const QString text = QStringLiteral("选择题：下列哪个是正确的？（A）€ 丂乗亄亇");
    EXPECT_EQ(textWithoutUnicodeEscapes(writePlain(text)), text);
}

TEST(RtfWriter, OutputIsSevenBitAscii) {
    const QByteArray out = writePlain(QStringLiteral("中文 café ÿ \u00a0 😀"));
    for (char c : out)
        EXPECT_LT(uchar(c), 0x80u);
}

TEST(RtfWriter, SpecialCharactersAreEscaped) {
    const QByteArray out =
        writePlain(QStringLiteral("{a}\\b\tc") + QChar(QChar::LineSeparator) + "d");
    EXPECT_TRUE(out.contains("\\{a\\}\\\\b\\tab c\\line d")) << out.constData();
    EXPECT_EQ(braceBalance(out), 0);
}

TEST(RtfWriter, ParagraphsAndFormatting) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centred);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(14);
    bold.setForeground(QColor(255, 0, 0));
    c.insertText(QStringLiteral("Title"), bold);
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral("body"), QTextCharFormat());
    const QByteArray out = richtext::writeRtf(doc);
    EXPECT_TRUE(out.contains("{\\colortbl;\\red255\\green0\\blue0;}")) << out.constData();
    EXPECT_TRUE(out.contains("\\pard\\qc {\\fs28\\b\\cf1 Title}\\par")) << out.constData();
    EXPECT_TRUE(out.contains("\\pard body}")) << out.constData();
}

TEST(RtfWriter, ImageAsPngWithSizes) {
    QTextDocument doc;
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::green);
    doc.addResource(QTextDocument::ImageResource, QUrl("img:1"), image);
    QTextImageFormat f;
    f.setName("img:1");
    f.setWidth(8);
    QTextCursor(&doc).insertImage(f);
    const QByteArray out = richtext::writeRtf(doc);
    // Height follows the width in proportion when only the width is set.
    EXPECT_TRUE(out.contains("{\\pict\\pngblip\\picw4\\pich3\\picwgoal120\\pichgoal90\r\n89504e47"))
        << out.constData();
}

TEST(RtfWriter, ImageResourceAsJpegBytesStaysJpeg) {
    QImage image(6, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray jpeg;
    QBuffer b(&jpeg);
    b.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&b, "JPEG"));
    QTextDocument doc;
    doc.addResource(QTextDocument::ImageResource, QUrl("img:j"), jpeg);
    QTextImageFormat f;
    f.setName("img:j");
    QTextCursor(&doc).insertImage(f);
    const QByteArray out = richtext::writeRtf(doc);
    EXPECT_TRUE(out.contains("{\\pict\\jpegblip\\picw6\\pich2\\picwgoal90\\pichgoal30\r\nffd8ff"))
        << out.constData();
}

TEST(RtfWriter, MissingImageIsLeftOut) {
    QTextDocument doc;
    QTextImageFormat f;
    f.setName("img:none");
    QTextCursor c(&doc);
    c.insertText("a");
    c.insertImage(f);
    c.insertText("b");
    const QByteArray out = richtext::writeRtf(doc);
    EXPECT_FALSE(out.contains("\\pict"));
    EXPECT_EQ(richtext::plainTextOfRtf(out), QStringLiteral("ab"));
}

TEST(RtfWriter, TableRows) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextTable* t = c.insertTable(2, 2);
    t->cellAt(0, 0).firstCursorPosition().insertText("a");
    t->cellAt(1, 1).firstCursorPosition().insertText("d");
    const QByteArray out = richtext::writeRtf(doc);
    EXPECT_EQ(out.count("\\trowd"), 2);
    EXPECT_EQ(out.count("\\cell"), 4 + 4);  // \cellx and \cell
    EXPECT_EQ(out.count("\\row"), 2);
    EXPECT_TRUE(out.contains("\\pard\\intbl a\\cell")) << out.constData();
    EXPECT_EQ(braceBalance(out), 0);
}
