#include "NumberDisplay.h"

#include "Skin.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>

namespace widgets {
namespace {

// Segments a..g as bits 0..6: a top, b upper right, c lower right, d bottom,
// e lower left, f upper left, g middle.
constexpr std::array<quint8, 10> kDigitSegments = {0x3f, 0x06, 0x5b, 0x4f, 0x66,
                                                   0x6d, 0x7d, 0x07, 0x7f, 0x6f};
constexpr quint8 kMinusSegments = 0x40;

// Cell widths as a share of the digit height.
constexpr qreal kDigitWidth = 0.56;
constexpr qreal kNarrowWidth = 0.26;
constexpr int kMargin = 3;

bool isNarrow(QChar c) {
    return c == u':' || c == u'.';
}

quint8 segmentsOf(QChar c) {
    if (c >= u'0' && c <= u'9') return kDigitSegments[c.unicode() - u'0'];
    if (c == u'-') return kMinusSegments;
    return 0;
}

// A segment is a stretched hexagon between two points, `t` thick.
QPolygonF segment(QPointF from, QPointF to, qreal t) {
    const qreal h = t / 2;
    if (from.y() == to.y()) {
        return QPolygonF({QPointF(from.x(), from.y()), QPointF(from.x() + h, from.y() - h),
                          QPointF(to.x() - h, to.y() - h), QPointF(to.x(), to.y()),
                          QPointF(to.x() - h, to.y() + h), QPointF(from.x() + h, from.y() + h)});
    }
    return QPolygonF({QPointF(from.x(), from.y()), QPointF(from.x() + h, from.y() + h),
                      QPointF(to.x() + h, to.y() - h), QPointF(to.x(), to.y()),
                      QPointF(to.x() - h, to.y() - h), QPointF(from.x() - h, from.y() + h)});
}

void paintDigit(QPainter& p, const QRectF& cell, quint8 lit, const QColor& on, const QColor& off) {
    const qreal t = std::max<qreal>(2.0, cell.width() / 5.5);
    const qreal gap = t / 5;
    const qreal l = cell.left() + t / 2;
    const qreal r = cell.right() - t / 2;
    const qreal top = cell.top() + t / 2;
    const qreal mid = cell.center().y();
    const qreal bottom = cell.bottom() - t / 2;
    const std::array<QPolygonF, 7> segments = {
        segment({l + gap, top}, {r - gap, top}, t),
        segment({r, top + gap}, {r, mid - gap}, t),
        segment({r, mid + gap}, {r, bottom - gap}, t),
        segment({l + gap, bottom}, {r - gap, bottom}, t),
        segment({l, mid + gap}, {l, bottom - gap}, t),
        segment({l, top + gap}, {l, mid - gap}, t),
        segment({l + gap, mid}, {r - gap, mid}, t),
    };
    for (int i = 0; i < 7; ++i) {
        p.setBrush((lit >> i) & 1 ? on : off);
        p.drawPolygon(segments[i]);
    }
}

void paintNarrow(QPainter& p, const QRectF& cell, QChar c, const QColor& on) {
    const qreal d = std::max<qreal>(2.0, cell.height() / 9);
    const qreal x = cell.center().x() - d / 2;
    p.setBrush(on);
    if (c == u'.') {
        p.drawRect(QRectF(x, cell.bottom() - d, d, d));
    } else {
        p.drawRect(QRectF(x, cell.top() + cell.height() * 0.3 - d / 2, d, d));
        p.drawRect(QRectF(x, cell.top() + cell.height() * 0.7 - d / 2, d, d));
    }
}

}  // namespace

NumberDisplay::NumberDisplay(QWidget* parent)
    : QWidget(parent),
      on_(QColor::fromRgb(skin::kLcdOn)),
      off_(QColor::fromRgb(skin::kLcdOff)),
      back_(QColor::fromRgb(skin::kLcdBack)) {
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QString NumberDisplay::formatClock(int seconds) {
    seconds = std::max(seconds, 0);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString NumberDisplay::formatNumber(long long number, int digits) {
    return QStringLiteral("%1").arg(number, std::max(digits, 0), 10, QLatin1Char(' '));
}

void NumberDisplay::setText(const QString& text) {
    QString shown = text;
    for (QChar& c : shown) {
        const bool digit = c >= u'0' && c <= u'9';  // other scripts' digits have no segments
        if (!digit && c != u':' && c != u'.' && c != u'-') c = u' ';
    }
    if (shown == text_) return;
    const bool resized = shown.size() != text_.size();
    text_ = shown;
    if (resized) updateGeometry();
    update();
}

void NumberDisplay::setDigitCount(int digits) {
    digitCount_ = std::max(digits, 1);
    updateGeometry();
}

void NumberDisplay::setColors(const QColor& on, const QColor& off, const QColor& back) {
    on_ = on;
    off_ = off;
    back_ = back;
    update();
}

QSize NumberDisplay::sizeHint() const {
    constexpr int kHeight = 30;
    const qreal digitH = kHeight - 2 * kMargin;
    qreal w = 0;
    const QString shown = text_.isEmpty() ? QString(digitCount_, u'8') : text_;
    for (QChar c : shown)
        w += digitH * (isNarrow(c) ? kNarrowWidth : kDigitWidth) + digitH * 0.12;
    return {qRound(w) + 2 * kMargin, kHeight};
}

QSize NumberDisplay::minimumSizeHint() const {
    const QSize hint = sizeHint();
    return {hint.width() / 2, hint.height() / 2};
}

void NumberDisplay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), back_);
    if (text_.isEmpty()) return;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    // The text is scaled to fit both ways and centred.
    const QRectF area = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    qreal units = 0;
    for (QChar c : text_)
        units += (isNarrow(c) ? kNarrowWidth : kDigitWidth) + 0.12;
    const qreal h = std::min(area.height(), area.width() / units);
    qreal x = area.center().x() - units * h / 2;
    const qreal y = area.center().y() - h / 2;
    for (QChar c : text_) {
        const qreal w = h * (isNarrow(c) ? kNarrowWidth : kDigitWidth);
        const QRectF cell(x + h * 0.06, y, w, h);
        if (isNarrow(c)) {
            paintNarrow(p, cell, c, on_);
        } else {
            paintDigit(p, cell, segmentsOf(c), on_, off_);
        }
        x += w + h * 0.12;
    }
}

}  // namespace widgets
