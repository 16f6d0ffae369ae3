#include "ShapeButton.h"

#include "Skin.h"

#include <QLinearGradient>
#include <QPainter>

namespace widgets {
namespace {
constexpr int kPadX = 10;
constexpr qreal kRadius = 7.0;
}  // namespace

ShapeButton::ShapeButton(const QString& text, QWidget* parent) : SkinButton(text, parent) {}

QSize ShapeButton::sizeHint() const {
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text()) + 2 * kPadX, fm.height() + 6)
        .expandedTo(kDefaultSize);
}

void ShapeButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

    QLinearGradient gradient(shape.topLeft(), shape.bottomLeft());
    QRgb border = skin::kBorder;
    if (!isEnabled()) {
        gradient.setColorAt(0.0, QColor(245, 245, 245));
        gradient.setColorAt(1.0, QColor(225, 225, 225));
        border = 0xffb4b4b4;
    } else if (isSunken()) {
        gradient.setColorAt(0.0, QColor::fromRgb(skin::kFaceBottom));
        gradient.setColorAt(1.0, QColor::fromRgb(skin::kPanel));
        border = skin::kDarkBorder;
    } else {
        gradient.setColorAt(0.0, QColor::fromRgb(skin::kWindow));
        gradient.setColorAt(1.0, QColor::fromRgb(isHovered() ? skin::kPanel : skin::kFaceBottom));
        if (isHovered()) border = skin::kDarkBorder;
    }
    p.setPen(QPen(QColor::fromRgb(border), 1.0));
    p.setBrush(gradient);
    p.drawRoundedRect(shape, kRadius, kRadius);

    paintCaption(p);
}

}  // namespace widgets
