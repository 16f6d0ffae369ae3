// A rounded-rectangle button, 73×25 unless its text needs more: the buttons of the
// prompt box.
#pragma once

#include "SkinButton.h"

namespace widgets {

class ShapeButton : public SkinButton {
    Q_OBJECT
  public:
    explicit ShapeButton(const QString& text = {}, QWidget* parent = nullptr);

    static constexpr QSize kDefaultSize{73, 25};

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace widgets
