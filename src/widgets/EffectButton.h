// A raised button: a light gradient face that glows blue under the mouse and sinks
// when pressed.
#pragma once

#include "SkinButton.h"

namespace widgets {

class EffectButton : public SkinButton {
    Q_OBJECT
  public:
    explicit EffectButton(const QString& text = {}, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace widgets
