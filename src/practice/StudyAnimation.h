// The small animated picture of the practice windows: an open book whose pages
// keep turning while the user works. Painted in code, in the skin's colours.
#pragma once

#include <QTimer>
#include <QWidget>

namespace practice {

class StudyAnimation : public QWidget {
    Q_OBJECT
  public:
    explicit StudyAnimation(QWidget* parent = nullptr);

    void start();
    void stop();
    bool isRunning() const { return timer_.isActive(); }
    int frame() const { return frame_; }

    static constexpr int kFrames = 24;
    static constexpr int kFrameMs = 90;

    QSize sizeHint() const override { return {48, 40}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTimer timer_;
    int frame_ = 0;
};

}  // namespace practice
