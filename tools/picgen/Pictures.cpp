#include "Pictures.h"

#include "Skin.h"

#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace picgen {
namespace {

using namespace widgets;

constexpr QSize kTileSize{36, 26};
constexpr QSize kTypeTabSize{110, 26};
constexpr QSize kDialogSize{399, 110};
constexpr QSize kTitleSize{399, 25};
constexpr QSize kIconSize{32, 32};
constexpr QSize kAboutSize{395, 266};

QColor rgb(QRgb value) {
    return QColor::fromRgb(value);
}

// BMP keeps no transparency: every picture starts from the colour it is shown on.
QImage canvas(QSize size, QColor back) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(back);
    return image;
}

// A rounded tile: raised with a light top edge, or pressed, darker and with the
// shadow inside its upper left edge.
QImage tile(QSize size, QColor base, bool pressed, qreal radius) {
    QImage image = canvas(size, rgb(skin::kPanel));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor face = pressed ? base.darker(118) : base;

    QLinearGradient gradient(shape.topLeft(), shape.bottomLeft());
    gradient.setColorAt(0.0, pressed ? face.darker(110) : face.lighter(112));
    gradient.setColorAt(1.0, pressed ? face.lighter(104) : face.darker(106));
    p.setPen(QPen(base.darker(pressed ? 175 : 150), 1.0));
    p.setBrush(gradient);
    p.drawRoundedRect(shape, radius, radius);

    QPainterPath inner;
    inner.addRoundedRect(shape.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    p.setClipPath(inner);
    p.setBrush(Qt::NoBrush);
    if (pressed) {
        p.setPen(QPen(QColor(0, 0, 0, 70), 2.0));
        p.drawLine(shape.topLeft() + QPointF(1, 1.5), shape.topRight() + QPointF(-1, 1.5));
        p.drawLine(shape.topLeft() + QPointF(1.5, 1), shape.bottomLeft() + QPointF(1.5, -1));
    } else {
        p.setPen(QPen(QColor(255, 255, 255, 150), 1.0));
        p.drawLine(shape.topLeft() + QPointF(2, 1.5), shape.topRight() + QPointF(-2, 1.5));
    }
    return image;
}

QImage dialogBack() {
    QImage image = canvas(kDialogSize, rgb(skin::kDialogBack));
    QPainter p(&image);
    // Faint diagonal hatching and a slight fall of light from the top: a texture
    // felt more than seen, so the text on it stays plain to read.
    p.setPen(QPen(QColor(255, 255, 255, 14), 1.0));
    for (int x = -kDialogSize.height(); x < kDialogSize.width(); x += 4) {
        p.drawLine(x, 0, x + kDialogSize.height(), kDialogSize.height());
    }
    QLinearGradient light(0, 0, 0, kDialogSize.height());
    light.setColorAt(0.0, QColor(255, 255, 255, 22));
    light.setColorAt(1.0, QColor(0, 0, 0, 10));
    p.fillRect(image.rect(), light);
    return image;
}

QImage dialogTitle() {
    QImage image = canvas(kTitleSize, rgb(skin::kDialogTitle));
    QPainter p(&image);
    QLinearGradient gradient(0, 0, 0, kTitleSize.height());
    gradient.setColorAt(0.0, rgb(skin::kDialogTitle).lighter(125));
    gradient.setColorAt(0.5, rgb(skin::kDialogTitle));
    gradient.setColorAt(1.0, rgb(skin::kDialogTitle).darker(120));
    p.fillRect(image.rect(), gradient);
    p.setPen(QColor(255, 255, 255, 70));
    p.drawLine(0, 0, kTitleSize.width() - 1, 0);
    p.setPen(rgb(skin::kDialogTitle).darker(150));
    p.drawLine(0, kTitleSize.height() - 1, kTitleSize.width() - 1, kTitleSize.height() - 1);
    return image;
}

void shadedDisc(QPainter& p, QColor colour) {
    QRadialGradient gradient(QPointF(12, 10), 20);
    gradient.setColorAt(0.0, colour.lighter(140));
    gradient.setColorAt(1.0, colour.darker(115));
    p.setPen(QPen(colour.darker(150), 1.0));
    p.setBrush(gradient);
    p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
}

QImage noticeIcon() {
    QImage image = canvas(kIconSize, rgb(skin::kDialogBack));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    shadedDisc(p, QColor(38, 108, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(14, 7, 4.5, 4.5));
    p.drawRoundedRect(QRectF(14, 13.5, 4.5, 12), 1.5, 1.5);
    return image;
}

QImage warningIcon() {
    QImage image = canvas(kIconSize, rgb(skin::kDialogBack));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(16, 2.5);
    triangle.lineTo(30, 28.5);
    triangle.lineTo(2, 28.5);
    triangle.closeSubpath();
    QLinearGradient gradient(0, 2, 0, 29);
    gradient.setColorAt(0.0, QColor(255, 228, 90));
    gradient.setColorAt(1.0, QColor(240, 184, 20));
    p.setPen(QPen(QColor(150, 105, 0), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(gradient);
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    p.drawRoundedRect(QRectF(14.2, 10, 3.6, 11), 1.5, 1.5);
    p.drawEllipse(QRectF(14, 22.5, 4, 4));
    return image;
}

QImage errorIcon() {
    QImage image = canvas(kIconSize, rgb(skin::kDialogBack));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    shadedDisc(p, QColor(210, 48, 40));
    p.setPen(QPen(Qt::white, 3.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    p.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
    return image;
}

QImage typeTab(bool pressed) {
    // The question-type bar: light like a raised face, pale blue when chosen.
    const QColor base = pressed ? QColor(192, 216, 244) : rgb(skin::kFaceBottom).lighter(104);
    return tile(kTypeTabSize, base, pressed, 3.0);
}

QFont chineseFace(int pixels, bool bold) {
    QFont f;
    f.setFamilies(
        {skin::kFontFamily, QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Sans CJK SC")});
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// The about window is this one picture; its close button stands on the lower right.
QImage aboutPicture() {
    QImage image = canvas(kAboutSize, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect band(0, 0, kAboutSize.width(), 92);
    QLinearGradient sky(0, 0, kAboutSize.width(), band.height());
    sky.setColorAt(0.0, rgb(skin::kDialogTitle));
    sky.setColorAt(1.0, rgb(skin::kGaugeStart));
    p.fillRect(band, sky);
    // An open book on the band's left.
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(255, 255, 255, 60));
    QPainterPath book;
    book.moveTo(26, 34);
    book.quadTo(42, 26, 58, 34);
    book.lineTo(58, 66);
    book.quadTo(42, 58, 26, 66);
    book.closeSubpath();
    book.moveTo(58, 34);
    book.quadTo(74, 26, 90, 34);
    book.lineTo(90, 66);
    book.quadTo(74, 58, 58, 66);
    book.closeSubpath();
    p.drawPath(book);
    p.setFont(chineseFace(20, true));
    p.drawText(QRect(104, 22, 285, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("信息技术资格考试学习系统"));
    p.setFont(chineseFace(13, false));
    p.drawText(QRect(104, 54, 285, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("练习 · 模拟考试 · 知识点 · 学习计划"));

    p.setPen(rgb(skin::kText));
    p.setFont(chineseFace(14, false));
    const QStringList lines = {
        QStringLiteral("版本：") + QStringLiteral(EXAMSTUDY_VERSION),
        QStringLiteral("题库产品标识：QBDATA000001"),
        QStringLiteral("本软件供考生个人学习使用。"),
    };
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QRect(30, 112 + i * 26, 340, 22), Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    p.setPen(QPen(rgb(skin::kBorder), 1));
    p.drawLine(20, 192, kAboutSize.width() - 20, 192);
    return image;
}

}  // namespace

const QVector<PictureFile>& pictureFiles() {
    static const QVector<PictureFile> files = {
        {QStringLiteral("zemoup.bmp"), kTileSize},
        {QStringLiteral("zemodw.bmp"), kTileSize},
        {QStringLiteral("zemoyes.bmp"), kTileSize},
        {QStringLiteral("zemodw_r.bmp"), kTileSize},
        {QStringLiteral("zemono.bmp"), kTileSize},
        {QStringLiteral("zemodw_w.bmp"), kTileSize},
        {QStringLiteral("zemoover.bmp"), kTileSize},
        {QStringLiteral("zemotxup.bmp"), kTypeTabSize},
        {QStringLiteral("zemotxdw.bmp"), kTypeTabSize},
        {QStringLiteral("dlgback.bmp"), kDialogSize},
        {QStringLiteral("dlgtitle.bmp"), kTitleSize},
        {QStringLiteral("icon_notice.bmp"), kIconSize},
        {QStringLiteral("icon_warning.bmp"), kIconSize},
        {QStringLiteral("icon_error.bmp"), kIconSize},
        {QStringLiteral("about.bmp"), kAboutSize},
    };
    return files;
}

QImage drawPicture(const QString& file) {
    constexpr qreal kTileRadius = 4.0;
    if (file == u"zemoup.bmp") return tile(kTileSize, rgb(skin::kTileNeutral), false, kTileRadius);
    if (file == u"zemodw.bmp") return tile(kTileSize, rgb(skin::kTileNeutral), true, kTileRadius);
    if (file == u"zemoyes.bmp") return tile(kTileSize, rgb(skin::kTileRight), false, kTileRadius);
    if (file == u"zemodw_r.bmp") return tile(kTileSize, rgb(skin::kTileRight), true, kTileRadius);
    if (file == u"zemono.bmp") return tile(kTileSize, rgb(skin::kTileWrong), false, kTileRadius);
    if (file == u"zemodw_w.bmp") return tile(kTileSize, rgb(skin::kTileWrong), true, kTileRadius);
    if (file == u"zemoover.bmp") {
        return tile(kTileSize, rgb(skin::kTileAnswered), false, kTileRadius);
    }
    if (file == u"zemotxup.bmp") return typeTab(false);
    if (file == u"zemotxdw.bmp") return typeTab(true);
    if (file == u"dlgback.bmp") return dialogBack();
    if (file == u"dlgtitle.bmp") return dialogTitle();
    if (file == u"icon_notice.bmp") return noticeIcon();
    if (file == u"icon_warning.bmp") return warningIcon();
    if (file == u"icon_error.bmp") return errorIcon();
    if (file == u"about.bmp") return aboutPicture();
    return {};
}

QImage drawIcon(int side) {
    if (side <= 0) return {};
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 256-unit grid; smaller sizes are the same drawing scaled down, with
    // strokes wide enough to stay visible at 48 pixels.
    p.scale(side / 256.0, side / 256.0);

    const QRectF tileShape(12, 12, 232, 232);
    QLinearGradient sky(tileShape.topLeft(), tileShape.bottomRight());
    sky.setColorAt(0.0, rgb(skin::kGaugeStart));
    sky.setColorAt(1.0, rgb(skin::kGaugeEnd));
    p.setPen(QPen(rgb(skin::kDialogTitle), 4));
    p.setBrush(sky);
    p.drawRoundedRect(tileShape, 44, 44);

    // The open book: two pages curving up from the spine.
    QPainterPath book;
    book.moveTo(128, 86);
    book.cubicTo(104, 66, 66, 64, 40, 74);
    book.lineTo(40, 194);
    book.cubicTo(66, 184, 104, 186, 128, 206);
    book.cubicTo(152, 186, 190, 184, 216, 194);
    book.lineTo(216, 74);
    book.cubicTo(190, 64, 152, 66, 128, 86);
    book.closeSubpath();
    p.setPen(QPen(rgb(skin::kDialogTitle), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(book);
    p.drawLine(QPointF(128, 88), QPointF(128, 204));

    // Lines of text on the left page.
    p.setPen(QPen(rgb(skin::kBorder), 7, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const qreal y = 104 + i * 22;
        p.drawLine(QPointF(58, y), QPointF(110, y + 4));
    }

    // The check mark across the right page, in the program's blue.
    QPainterPath check;
    check.moveTo(146, 136);
    check.lineTo(170, 162);
    check.lineTo(208, 104);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 34, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(check);
    p.setPen(QPen(rgb(skin::kGaugeEnd), 20, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(check);
    return image;
}

bool writeIcon(int side, const QString& file) {
    const QImage image = drawIcon(side);
    if (image.isNull() || !QDir().mkpath(QFileInfo(file).absolutePath())) return false;
    return image.save(file, "PNG");
}

QStringList writePictures(const QString& dir) {
    QStringList failed;
    if (!QDir().mkpath(dir)) {
        for (const PictureFile& picture : pictureFiles())
            failed << picture.file;
        return failed;
    }
    for (const PictureFile& picture : pictureFiles()) {
        const QImage image = drawPicture(picture.file);
        if (image.isNull() || !image.save(QDir(dir).filePath(picture.file), "BMP")) {
            failed << picture.file;
        }
    }
    return failed;
}

}  // namespace picgen
