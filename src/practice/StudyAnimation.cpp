#include "StudyAnimation.h"

#include "Skin.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace practice {

StudyAnimation::StudyAnimation(QWidget* parent) : QWidget(parent) {
    timer_.setInterval(kFrameMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kFrames;
        update();
    });
}

void StudyAnimation::start() {
    timer_.start();
}

void StudyAnimation::stop() {
    timer_.stop();
}

void StudyAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(2, 2, -2, -2);
    const double spineX = area.center().x();
    const double top = area.top() + area.height() * 0.18;
    const double bottom = area.bottom() - area.height() * 0.08;
    const double half = area.width() / 2 - 1;

    // The cover under the pages.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(widgets::skin::kDarkBorder));
    p.drawRoundedRect(QRectF(spineX - half - 1, top + 3, 2 * half + 2, bottom - top), 2, 2);

    const QColor paper(0xff, 0xff, 0xff);
    const QColor edge = QColor::fromRgb(widgets::skin::kBorder);
    const auto page = [&](double outerX, double lift) {
        QPainterPath path;
        path.moveTo(spineX, bottom);
        path.lineTo(spineX, top);
        path.quadTo((spineX + outerX) / 2, top - lift, outerX, top);
        path.lineTo(outerX, bottom);
        path.quadTo((spineX + outerX) / 2, bottom - lift, spineX, bottom);
        p.setPen(QPen(edge, 1));
        p.setBrush(paper);
        p.drawPath(path);
    };
    page(spineX - half, 3);
    page(spineX + half, 3);

    // Lines of text on both pages.
    p.setPen(QPen(QColor::fromRgb(widgets::skin::kFaceBottom), 1));
    for (int i = 1; i <= 3; ++i) {
        const double y = top + (bottom - top) * i / 4.5 + 2;
        p.drawLine(QPointF(spineX - half + 4, y), QPointF(spineX - 3, y));
        p.drawLine(QPointF(spineX + 3, y), QPointF(spineX + half - 4, y));
    }

    // The turning page: from right to left over the first half of the cycle, then
    // the book rests.
    const double t = static_cast<double>(frame_) / (kFrames / 2);
    if (t < 1.0) {
        const double outerX = spineX + half * std::cos(t * M_PI);
        const double lift = 3 + 9 * std::sin(t * M_PI);
        QColor turning = paper;
        if (t > 0.5) turning = QColor::fromRgb(widgets::skin::kPanel);
        QPainterPath path;
        path.moveTo(spineX, bottom);
        path.lineTo(spineX, top);
        path.quadTo((spineX + outerX) / 2, top - lift, outerX, top - lift / 2);
        path.lineTo(outerX, bottom - lift / 2);
        path.quadTo((spineX + outerX) / 2, bottom - lift, spineX, bottom);
        p.setPen(QPen(edge, 1));
        p.setBrush(turning);
        p.drawPath(path);
    }
}

}  // namespace practice
