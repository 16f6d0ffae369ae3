#include "StudyClock.h"

namespace practice {

StudyClock::StudyClock(Source source) : source_(std::move(source)) {
    wall_.start();
    reset();
}

void StudyClock::setSource(Source source) {
    source_ = std::move(source);
    reset();
}

qint64 StudyClock::now() const {
    return source_ ? source_() : wall_.elapsed();
}

void StudyClock::reset() {
    start_ = now();
    pausedTotal_ = 0;
    pausedAt_ = start_;
    paused_ = false;
}

void StudyClock::pause() {
    if (paused_) return;
    pausedAt_ = now();
    paused_ = true;
}

void StudyClock::resume() {
    if (!paused_) return;
    pausedTotal_ += now() - pausedAt_;
    paused_ = false;
}

int StudyClock::seconds() const {
    const qint64 end = paused_ ? pausedAt_ : now();
    return static_cast<int>((end - start_ - pausedTotal_) / 1000);
}

QString StudyClock::text() const {
    const int s = seconds();
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace practice
