// read(write(doc)) must give back the text and, character by character, the formatting.
#include "RtfTestUtil.h"

#include <sstream>

using namespace rtftest;

namespace {

std::string describe(const QTextCharFormat& f) {
    std::ostringstream s;
    s << "weight=" << f.fontWeight() << " italic=" << f.fontItalic()
      << " underline=" << f.underlineStyle() << " strike=" << f.fontStrikeOut()
      << " valign=" << f.verticalAlignment() << " size=" << f.fontPointSize() << " fg="
      << (f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name().toStdString()
                                                      : "none")
      << " bg="
      << (f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color().name().toStdString()
                                                      : "none")
      << " family=" << f.fontFamilies().toStringList().join(",").toStdString();
    return s.str();
}

// Every character of `a` against `b`: same character, same formatting, same paragraph
// alignment and margins. Returns the first difference, or an empty string.
std::string firstDifference(const QTextDocument& a, const QTextDocument& b) {
    if (a.characterCount() != b.characterCount())
        return "character count " + std::to_string(a.characterCount()) + " vs " +
               std::to_string(b.characterCount()) + ": '" + a.toPlainText().toStdString() +
               "' vs '" + b.toPlainText().toStdString() + "'";
    QTextCursor ca(const_cast<QTextDocument*>(&a));
    QTextCursor cb(const_cast<QTextDocument*>(&b));
    for (int pos = 0; pos + 1 < a.characterCount(); ++pos) {
        const QChar xa = a.characterAt(pos);
        const QChar xb = b.characterAt(pos);
        if (xa != xb) return "character at " + std::to_string(pos);
        ca.setPosition(pos + 1);
        cb.setPosition(pos + 1);
        if (xa == QChar::ParagraphSeparator) continue;
        const QTextCharFormat fa = ca.charFormat();
        const QTextCharFormat fb = cb.charFormat();
        if (describe(fa) != describe(fb))
            return "format at " + std::to_string(pos) + ": " + describe(fa) + " vs " + describe(fb);
        const QTextBlockFormat ba = ca.blockFormat();
        const QTextBlockFormat bb = cb.blockFormat();
        if (ba.alignment() != bb.alignment() || ba.leftMargin() != bb.leftMargin() ||
            ba.rightMargin() != bb.rightMargin() || ba.textIndent() != bb.textIndent() ||
            ba.topMargin() != bb.topMargin() || ba.bottomMargin() != bb.bottomMargin())
            return "paragraph format at " + std::to_string(pos);
    }
    return {};
}

void roundTrip(const QTextDocument& doc, QTextDocument* back) {
    const QByteArray rtf = richtext::writeRtf(doc);
    const auto result = richtext::read(rtf, back);
    EXPECT_TRUE(result.ok) << result.warnings.join("; ").toStdString();
    EXPECT_TRUE(result.wasRtf);
}

}  // namespace

TEST(RtfRoundTrip, CharacterFormatting) {
    QTextDocument doc;
    QTextCursor c(&doc);
    auto add = [&](const QString& text, auto&& change) {
        QTextCharFormat f;
        change(f);
        c.insertText(text, f);
    };
    add("plain ", [](QTextCharFormat&) {});
    add("bold ", [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
    add("italic ", [](QTextCharFormat& f) { f.setFontItalic(true); });
    add("underline ", [](QTextCharFormat& f) { f.setFontUnderline(true); });
    add("wave ", [](QTextCharFormat& f) { f.setUnderlineStyle(QTextCharFormat::WaveUnderline); });
    add("all ", [](QTextCharFormat& f) {
        f.setFontWeight(QFont::Bold);
        f.setFontItalic(true);
        f.setFontUnderline(true);
    });
    add("big ", [](QTextCharFormat& f) { f.setFontPointSize(22); });
    add("half ", [](QTextCharFormat& f) { f.setFontPointSize(10.5); });
    add("red ", [](QTextCharFormat& f) { f.setForeground(QColor(200, 10, 20)); });
    add("blue on yellow ", [](QTextCharFormat& f) {
        f.setForeground(QColor(0, 0, 255));
        f.setBackground(QColor(255, 255, 0));
    });
    add("red again ", [](QTextCharFormat& f) { f.setForeground(QColor(200, 10, 20)); });
    add("struck ", [](QTextCharFormat& f) { f.setFontStrikeOut(true); });
    add("x2",
        [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); });
    add("h2o", [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); });
    add(" 黑体", [](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("黑体")}); });
    add(" arial", [](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("Arial")}); });

    QTextDocument back;
    roundTrip(doc, &back);
    EXPECT_EQ(firstDifference(doc, back), "");
}

TEST(RtfRoundTrip, ParagraphAlignmentAndMargins) {
    QTextDocument doc;
    QTextCursor c(&doc);
    const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                    Qt::AlignJustify};
    for (int i = 0; i < 4; ++i) {
        QTextBlockFormat f;
        f.setAlignment(aligns[i]);
        if (i == 3) {
            f.setLeftMargin(40);
            f.setRightMargin(20);
            f.setTextIndent(-12);
            f.setTopMargin(6);
            f.setBottomMargin(10);
        }
        if (i == 0)
            c.setBlockFormat(f);
        else
            c.insertBlock(f);
        c.insertText(QStringLiteral("段落 %1").arg(i));
    }
    QTextDocument back;
    roundTrip(doc, &back);
    EXPECT_EQ(back.blockCount(), 4);
    EXPECT_EQ(firstDifference(doc, back), "");
}

TEST(RtfRoundTrip, ChineseAndSpecialText) {
    QTextDocument doc;
    const QString text = QStringLiteral(
                             "第1题：下列说法正确的是（　　）\tA．{大括号}\\反斜杠 "
                             "€ ÿ 丂乗亄亇 繁體字 かな 한글 ") +
                         QString::fromUtf8("\xF0\x9F\x98\x80") + QChar(QChar::LineSeparator) +
                         QStringLiteral("第二行") + QChar(QChar::Nbsp) + QStringLiteral("end");
    QTextCursor(&doc).insertText(text);
    QTextDocument back;
    roundTrip(doc, &back);
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    EXPECT_EQ(back.firstBlock().text(), text);
}

TEST(RtfRoundTrip, EmptyParagraphsSurvive) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("\na\n\nb\n"));
    QTextDocument back;
    roundTrip(doc, &back);
    EXPECT_EQ(back.blockCount(), doc.blockCount());
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
}

TEST(RtfRoundTrip, PictureKeepsPixelsAndShownSize) {
    QImage image(5, 7, QImage::Format_ARGB32);
    image.fill(qRgba(0, 128, 0, 255));
    image.setPixel(4, 6, qRgba(255, 0, 0, 255));
    QTextDocument doc;
    doc.addResource(QTextDocument::ImageResource, QUrl("img:a"), image);
    QTextCursor c(&doc);
    c.insertText("before ");
    QTextImageFormat natural;
    natural.setName("img:a");
    c.insertImage(natural);
    QTextImageFormat scaled;
    scaled.setName("img:a");
    scaled.setWidth(10);
    scaled.setHeight(21);
    c.insertImage(scaled);
    c.insertText(" after");

    QTextDocument back;
    roundTrip(doc, &back);
    const auto found = images(back);
    ASSERT_EQ(found.size(), 2u);
    for (const auto& f : found) {
        const QImage got = imageOf(back, f);
        EXPECT_EQ(got.size(), QSize(5, 7));
        EXPECT_EQ(got.pixel(4, 6), qRgba(255, 0, 0, 255));
        EXPECT_EQ(got.pixel(0, 0), qRgba(0, 128, 0, 255));
    }
    EXPECT_FALSE(found[0].hasProperty(QTextFormat::ImageWidth));
    EXPECT_DOUBLE_EQ(found[1].width(), 10.0);
    EXPECT_DOUBLE_EQ(found[1].height(), 21.0);
    EXPECT_NE(found[0].name(), found[1].name());
    EXPECT_EQ(richtext::plainTextOf(back), QStringLiteral("before  after"));
}

TEST(RtfRoundTrip, PictureGoalSizeComesBackToTheTwip) {
    // 51 twips are 3.4 pixels: close to the picture's own 3, yet not the same size.
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::gray);
    const QByteArray rtfText =
        "{\\rtf1\\ansi{\\pict\\pngblip\\picwgoal51\\pichgoal30 " + pngBytes(image).toHex() + "}}";
    QTextDocument doc;
    richtext::read(rtfText, &doc);
    ASSERT_EQ(images(doc).size(), 1u);
    EXPECT_DOUBLE_EQ(images(doc)[0].width(), 3.4);
    EXPECT_TRUE(richtext::writeRtf(doc).contains("\\picwgoal51\\pichgoal30"));
}

TEST(RtfRoundTrip, TablesKeepTheirShape) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("题干"));
    QTextTable* t = c.insertTable(2, 3);
    for (int r = 0; r < 2; ++r)
        for (int col = 0; col < 3; ++col)
            t->cellAt(r, col).firstCursorPosition().insertText(
                QStringLiteral("格%1%2").arg(r).arg(col));
    QTextCursor cell = t->cellAt(1, 2).lastCursorPosition();
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cell.insertBlock(centred);
    cell.insertText(QStringLiteral("第二段"));
    c.setPosition(t->lastPosition() + 1);
    c.insertText(QStringLiteral("之后"));

    QTextDocument back;
    roundTrip(doc, &back);
    const auto found = tables(back);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->rows(), 2);
    EXPECT_EQ(found[0]->columns(), 3);
    EXPECT_EQ(cellText(found[0], 0, 1), QStringLiteral("格01"));
    EXPECT_EQ(blockOf(back, "第二段").blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(back.blockCount(), doc.blockCount());
    EXPECT_EQ(firstDifference(doc, back), "");
    EXPECT_EQ(richtext::plainTextOf(back), richtext::plainTextOf(doc));
}

TEST(RtfRoundTrip, TablesAtTheEdgesAndBackToBack) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextTable* first = c.insertTable(1, 2);
    first->cellAt(0, 0).firstCursorPosition().insertText("a");
    c.setPosition(first->lastPosition() + 1);
    QTextTable* second = c.insertTable(1, 1);
    second->cellAt(0, 0).firstCursorPosition().insertText("b");

    QTextDocument back;
    roundTrip(doc, &back);
    EXPECT_EQ(tables(back).size(), 2u);
    EXPECT_EQ(back.blockCount(), doc.blockCount());
    EXPECT_EQ(firstDifference(doc, back), "");
    EXPECT_EQ(richtext::plainTextOf(back), QStringLiteral("a\t\n\nb"));
}

TEST(RtfRoundTrip, WriterIsStableAfterOneRound) {
    QTextDocument doc;
    richtext::read(dataFile("formatting.rtf"), &doc);
    const QByteArray once = richtext::writeRtf(doc);
    QTextDocument back;
    richtext::read(once, &back);
    EXPECT_EQ(richtext::writeRtf(back), once);
}
