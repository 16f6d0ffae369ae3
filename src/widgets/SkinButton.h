// What every button of the toolkit shares: the skin's font, the text colour rule
// (black, blue under the mouse, grey when disabled), keyboard focus and its mark.
#pragma once

#include <QAbstractButton>
#include <QColor>

class QPainter;

namespace widgets {

class SkinButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit SkinButton(const QString& text = {}, QWidget* parent = nullptr);

    // Tracked from enter and leave events rather than read from the window
    // system, so that it follows events sent by hand too.
    bool isHovered() const { return hovered_; }
    // The colour the caption is painted in right now.
    QColor textColor() const;

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

    // Pressed look: held down by the mouse or the space bar, or checked.
    bool isSunken() const { return isDown() || isChecked(); }
    void paintFocusMark(QPainter& painter, const QRect& rect) const;
    // The caption centred, one pixel down and right while sunk, and the focus mark.
    void paintCaption(QPainter& painter) const;

  private:
    bool hovered_ = false;
};

}  // namespace widgets
