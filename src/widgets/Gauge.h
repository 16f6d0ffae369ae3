// A progress gauge: a gradient fill from the minimum up to the value, turning from
// blue to orange-red once the value nears the maximum (the time of an exam running
// out), with an optional text over it. Horizontal it fills from the left, vertical
// from the bottom (the time gauge beside a question).
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <algorithm>

namespace widgets {

class Gauge : public QWidget {
    Q_OBJECT
  public:
    explicit Gauge(QWidget* parent = nullptr);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int value() const { return value_; }
    // A maximum below the minimum is raised to it; the value is clamped into the range.
    void setRange(int minimum, int maximum);
    void setMinimum(int minimum) { setRange(minimum, std::max(minimum, maximum_)); }
    void setMaximum(int maximum) { setRange(std::min(minimum_, maximum), maximum); }
    // Values outside the range are clamped to its nearer end.
    void setValue(int value);

    // How far the value is along the range, 0 to 1; 0 for an empty range.
    double fraction() const;

    // From this fraction on the fill takes the warning colours; above 1 never.
    double warningFraction() const { return warningFraction_; }
    void setWarningFraction(double fraction);
    bool isWarning() const { return fraction() >= warningFraction_; }
    // The colours of the fill's gradient, from its left end to its right end.
    QColor fillStartColor() const;
    QColor fillEndColor() const;

    // The text over the gauge: %v the value, %m the maximum, %p the percentage.
    QString format() const { return format_; }
    void setFormat(const QString& format);
    QString text() const;
    bool isTextVisible() const { return textVisible_; }
    void setTextVisible(bool visible);

    Qt::Orientation orientation() const { return orientation_; }
    void setOrientation(Qt::Orientation orientation);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void valueChanged(int value);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int minimum_ = 0;
    int maximum_ = 100;
    int value_ = 0;
    double warningFraction_ = 0.9;
    QString format_ = QStringLiteral("%p%");
    bool textVisible_ = false;
    Qt::Orientation orientation_ = Qt::Horizontal;
};

}  // namespace widgets
