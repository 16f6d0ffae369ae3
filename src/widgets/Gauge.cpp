#include "Gauge.h"

#include "Skin.h"

#include <QLinearGradient>
#include <QPainter>

namespace widgets {

Gauge::Gauge(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setFont(skin::font());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Gauge::setRange(int minimum, int maximum) {
    maximum = std::max(minimum, maximum);
    const bool changed = minimum != minimum_ || maximum != maximum_;
    minimum_ = minimum;
    maximum_ = maximum;
    const int old = value_;
    value_ = std::clamp(value_, minimum_, maximum_);
    if (value_ != old) emit valueChanged(value_);
    if (changed) update();
}

void Gauge::setValue(int value) {
    value = std::clamp(value, minimum_, maximum_);
    if (value == value_) return;
    value_ = value;
    update();
    emit valueChanged(value_);
}

double Gauge::fraction() const {
    if (maximum_ == minimum_) return 0.0;
    // In double, so that a range spanning all of int does not overflow.
    return (double(value_) - minimum_) / (double(maximum_) - minimum_);
}

void Gauge::setWarningFraction(double fraction) {
    warningFraction_ = std::max(fraction, 0.0);
    update();
}

QColor Gauge::fillStartColor() const {
    return QColor::fromRgb(isWarning() ? skin::kGaugeWarnStart : skin::kGaugeStart);
}

QColor Gauge::fillEndColor() const {
    return QColor::fromRgb(isWarning() ? skin::kGaugeWarnEnd : skin::kGaugeEnd);
}

void Gauge::setFormat(const QString& format) {
    format_ = format;
    update();
}

QString Gauge::text() const {
    QString t = format_;
    t.replace(QLatin1String("%v"), QString::number(value_));
    t.replace(QLatin1String("%m"), QString::number(maximum_));
    t.replace(QLatin1String("%p"), QString::number(qRound(fraction() * 100)));
    return t;
}

void Gauge::setTextVisible(bool visible) {
    textVisible_ = visible;
    update();
}

void Gauge::setOrientation(Qt::Orientation orientation) {
    if (orientation == orientation_) return;
    orientation_ = orientation;
    setSizePolicy(orientation == Qt::Horizontal
                      ? QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed)
                      : QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding));
    updateGeometry();
    update();
}

QSize Gauge::sizeHint() const {
    const QSize across{200, std::max(18, QFontMetrics(font()).height() + 6)};
    return orientation_ == Qt::Horizontal ? across : across.transposed();
}

QSize Gauge::minimumSizeHint() const {
    return orientation_ == Qt::Horizontal ? QSize(40, 10) : QSize(10, 40);
}

void Gauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    p.setPen(QColor::fromRgb(isEnabled() ? skin::kBorder : 0xffb4b4b4));
    p.setBrush(QColor::fromRgb(skin::kGaugeTrough));
    p.drawRect(frame);

    const QRect inside = frame.adjusted(2, 2, -1, -1);
    const bool horizontal = orientation_ == Qt::Horizontal;
    const int filled = qRound((horizontal ? inside.width() : inside.height()) * fraction());
    if (filled > 0) {
        // The gradient spans the whole trough, so the fill's colour tells how far it is.
        QLinearGradient gradient(horizontal ? inside.topLeft() : inside.bottomLeft(),
                                 horizontal ? inside.topRight() : inside.topLeft());
        gradient.setColorAt(0.0, fillStartColor());
        gradient.setColorAt(1.0, fillEndColor());
        QRect bar = inside;
        if (horizontal) {
            bar.setWidth(filled);
        } else {
            bar.setTop(inside.bottom() - filled + 1);
        }
        p.fillRect(bar, gradient);
        // A light half along the bar gives it a rounded look.
        QRect shine = bar;
        if (horizontal) {
            shine.setHeight(bar.height() / 2);
        } else {
            shine.setWidth(bar.width() / 2);
        }
        p.fillRect(shine, QColor(255, 255, 255, 60));
    }
    if (textVisible_) {
        p.setPen(QColor::fromRgb(isEnabled() ? skin::kText : skin::kDisabledText));
        p.setFont(font());
        p.drawText(rect(), Qt::AlignCenter, text());
    }
}

}  // namespace widgets
