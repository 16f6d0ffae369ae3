#include "FlatButton.h"

#include <QPainter>

#include <algorithm>

namespace widgets {
namespace {
constexpr int kPadX = 4;
constexpr int kPadY = 3;
constexpr int kGlyphGap = 4;
}  // namespace

FlatButton::FlatButton(const QString& text, QWidget* parent) : SkinButton(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setIconSize(QSize(16, 16));
}

FlatButton::FlatButton(const QIcon& glyph, const QString& text, QWidget* parent)
    : FlatButton(text, parent) {
    setIcon(glyph);
}

QSize FlatButton::sizeHint() const {
    const QFontMetrics fm(font());
    int w = fm.horizontalAdvance(text());
    int h = fm.height();
    if (!icon().isNull()) {
        w += iconSize().width() + (text().isEmpty() ? 0 : kGlyphGap);
        h = std::max(h, iconSize().height());
    }
    return {w + 2 * kPadX, h + 2 * kPadY};
}

void FlatButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Pressed, the content sinks by one pixel: the only sign of a press on a flat face.
    const int shift = isSunken() ? 1 : 0;
    QRect content = rect().adjusted(kPadX + shift, kPadY + shift, -kPadX + shift, -kPadY + shift);

    if (!icon().isNull()) {
        const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
        const QPixmap glyph = icon().pixmap(iconSize(), devicePixelRatioF(), mode);
        const int y = content.top() + (content.height() - iconSize().height()) / 2;
        p.drawPixmap(QRect(QPoint(content.left(), y), iconSize()), glyph);
        content.setLeft(content.left() + iconSize().width() + kGlyphGap);
    }
    p.setPen(textColor());
    p.setFont(font());
    const Qt::Alignment align =
        icon().isNull() ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
    p.drawText(content, align | Qt::TextShowMnemonic, text());
    paintFocusMark(p, rect());
}

}  // namespace widgets
