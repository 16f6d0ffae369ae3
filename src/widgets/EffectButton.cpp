#include "EffectButton.h"

#include "Skin.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace widgets {
namespace {
constexpr int kPadX = 12;
constexpr int kPadY = 5;
constexpr qreal kRadius = 3.0;
}  // namespace

EffectButton::EffectButton(const QString& text, QWidget* parent) : SkinButton(text, parent) {}

QSize EffectButton::sizeHint() const {
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text()) + 2 * kPadX, fm.height() + 2 * kPadY)
        .expandedTo(QSize(75, 25));
}

QSize EffectButton::minimumSizeHint() const {
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text()) + 8, fm.height() + 4};
}

void EffectButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QRectF face = outer.adjusted(1, 1, -1, -1);
    const bool glow = isHovered() && isEnabled() && !isSunken();

    if (glow) {
        p.setPen(QPen(QColor::fromRgb(skin::kGlow), 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(outer, kRadius + 1, kRadius + 1);
    }

    QColor top = QColor::fromRgb(skin::kFaceTop);
    QColor bottom = QColor::fromRgb(skin::kFaceBottom);
    if (glow) bottom = bottom.lighter(106);
    if (isSunken()) std::swap(top, bottom);
    if (!isEnabled()) {
        // A disabled face keeps its shape but loses the blue tint.
        top = QColor(248, 248, 248);
        bottom = QColor(228, 228, 228);
    }
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    gradient.setColorAt(0.0, top);
    gradient.setColorAt(1.0, bottom);
    const QRgb border = isEnabled() && (glow || isSunken()) ? skin::kDarkBorder : skin::kBorder;
    p.setPen(QPen(isEnabled() ? QColor::fromRgb(border) : QColor(180, 180, 180), 1.0));
    p.setBrush(gradient);
    p.drawRoundedRect(face, kRadius, kRadius);

    paintCaption(p);
}

}  // namespace widgets
