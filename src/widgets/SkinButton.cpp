#include "SkinButton.h"

#include "Skin.h"

#include <QEnterEvent>
#include <QPainter>

namespace widgets {

SkinButton::SkinButton(const QString& text, QWidget* parent) : QAbstractButton(parent) {
    setText(text);
    setFont(skin::font());
    setFocusPolicy(Qt::StrongFocus);
}

QColor SkinButton::textColor() const {
    return skin::textColor(isEnabled(), hovered_);
}

void SkinButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void SkinButton::changeEvent(QEvent* event) {
    // A button disabled under the mouse gets no leave event until the mouse moves;
    // enabled again elsewhere it must not come back blue.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) hovered_ = false;
    QAbstractButton::changeEvent(event);
}

void SkinButton::paintCaption(QPainter& painter) const {
    const int shift = isSunken() ? 1 : 0;
    painter.setPen(textColor());
    painter.setFont(font());
    painter.drawText(rect().translated(shift, shift), Qt::AlignCenter | Qt::TextShowMnemonic,
                     text());
    paintFocusMark(painter, rect().adjusted(4, 4, -4, -4));
}

void SkinButton::paintFocusMark(QPainter& painter, const QRect& rect) const {
    if (!hasFocus()) return;
    painter.save();
    QPen pen(QColor::fromRgb(skin::kFocus));
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

}  // namespace widgets
