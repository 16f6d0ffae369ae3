// A seven-segment display of digits or a clock ("1:05:09"), painted by itself so that
// it looks the same on every platform style. Unlit segments show as a faint trace.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace widgets {

class NumberDisplay : public QWidget {
    Q_OBJECT
  public:
    explicit NumberDisplay(QWidget* parent = nullptr);

    // "H:MM:SS" for a count of seconds; negative counts show 0:00:00.
    static QString formatClock(int seconds);
    // `number` right-aligned in at least `digits` cells, padded with blank cells.
    static QString formatNumber(long long number, int digits);

    // Shows `text` as it is: digits, ':', '.', '-' and ' '; any other character
    // shows as a blank cell.
    void setText(const QString& text);
    QString text() const { return text_; }
    void setSeconds(int seconds) { setText(formatClock(seconds)); }
    void setNumber(long long number) { setText(formatNumber(number, digitCount_)); }

    // The least number of cells setNumber() uses.
    int digitCount() const { return digitCount_; }
    void setDigitCount(int digits);

    QColor onColor() const { return on_; }
    QColor offColor() const { return off_; }
    QColor backColor() const { return back_; }
    void setColors(const QColor& on, const QColor& off, const QColor& back);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    int digitCount_ = 2;
    QColor on_;
    QColor off_;
    QColor back_;
};

}  // namespace widgets
