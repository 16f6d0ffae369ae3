// A flat text button with an optional glyph (the button's icon) before the text:
// no face, no frame; only the text colour tells the mouse is over it.
#pragma once

#include "SkinButton.h"

namespace widgets {

class FlatButton : public SkinButton {
    Q_OBJECT
  public:
    explicit FlatButton(const QString& text = {}, QWidget* parent = nullptr);
    FlatButton(const QIcon& glyph, const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace widgets
