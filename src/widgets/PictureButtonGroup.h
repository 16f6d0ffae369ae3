// A bar of picture buttons laid out in a number of columns: the question-number bar
// and the question-type bar. Exclusive, exactly one button is pressed whenever the
// bar has any; otherwise each button is pressed and released on its own.
#pragma once

#include "PictureButton.h"

#include <QVector>
#include <QWidget>

class QGridLayout;

namespace widgets {

class PictureButtonGroup : public QWidget {
    Q_OBJECT
  public:
    explicit PictureButtonGroup(QWidget* parent = nullptr);

    // Adds or removes buttons at the end; a new button's tag is its index and its
    // caption empty. Exclusive, a bar that loses its pressed button presses the first.
    void setCount(int count);
    int count() const { return static_cast<int>(buttons_.size()); }
    PictureButton* buttonAt(int index) const;
    int indexOf(const QAbstractButton* button) const;
    // Index of the first button carrying `tag`, or -1.
    int indexOfTag(int tag) const;
    // Captions first, first + 1, … on the buttons in order.
    void numberButtons(int first);

    int columns() const { return columns_; }
    void setColumns(int columns);
    // Buttons in order fill the rows left to right (the default), or the columns top
    // to bottom, with as many rows as `columns` columns need.
    bool fillsDownColumns() const { return downColumns_; }
    void setFillDownColumns(bool down);
    void setSpacing(int pixels);

    bool isExclusive() const { return exclusive_; }
    // Turning exclusive keeps the first pressed button (the first button when none is).
    void setExclusive(bool exclusive);

    // The pressed button; the first of them when not exclusive; -1 for none.
    int pressedIndex() const;
    QVector<int> pressedIndexes() const;
    bool isPressed(int index) const;
    // Presses `index` and releases every other; -1 releases all, except when exclusive,
    // where a bar with buttons keeps one pressed and so ignores it. Never emits.
    void setPressedIndex(int index);
    // One button alone; exclusive, pressing releases the others and releasing the
    // pressed one is ignored. Never emits.
    void setPressed(int index, bool pressed);

    // Pictures for every button, the ones added later too.
    void setPictures(const QPixmap& up, const QPixmap& down);
    bool loadPictures(const QString& upFile, const QString& downFile);

  signals:
    // The user pressed the button at `index` (exclusive), or toggled it (not exclusive).
    void changed(int index);

  private:
    void onClicked(PictureButton* button);
    void relayout();
    void ensureOnePressed();

    QGridLayout* grid_;
    QVector<PictureButton*> buttons_;
    QPixmap up_;
    QPixmap down_;
    int columns_ = 10;
    bool downColumns_ = false;
    bool exclusive_ = true;
    bool wasPressed_ = false;
};

}  // namespace widgets
