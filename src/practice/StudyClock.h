// The clock of the practice and exam windows: wall-clock time since the last
// reset, less the time spent paused. Timer ticks only redraw it, so a busy event
// loop (a slide, a modal prompt) never makes it slow.
#pragma once

#include <QElapsedTimer>
#include <QString>

#include <functional>

namespace practice {

class StudyClock {
  public:
    using Source = std::function<qint64()>;  // milliseconds, monotonic
    explicit StudyClock(Source source = {});
    // Another time source (tests); the clock starts again from 0.
    void setSource(Source source);
    void reset();
    void pause();
    void resume();
    bool paused() const { return paused_; }
    int seconds() const;
    // "1:05:09": hours without a leading zero.
    QString text() const;

  private:
    qint64 now() const;
    Source source_;
    QElapsedTimer wall_;
    qint64 start_ = 0;
    qint64 pausedAt_ = 0;
    qint64 pausedTotal_ = 0;
    bool paused_ = false;
};

}  // namespace practice
