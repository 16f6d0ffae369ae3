// A checkable button drawn from two pictures, one not pressed and one pressed, with
// its caption painted on top. It carries an integer tag for its owner's use.
#pragma once

#include "SkinButton.h"

#include <QPixmap>

namespace widgets {

class PictureButton : public SkinButton {
    Q_OBJECT
  public:
    explicit PictureButton(const QString& caption = {}, QWidget* parent = nullptr);

    void setPictures(const QPixmap& up, const QPixmap& down);
    // Loads both pictures; false (and nothing changed) when either cannot be read.
    bool loadPictures(const QString& upFile, const QString& downFile);
    const QPixmap& upPicture() const { return up_; }
    const QPixmap& downPicture() const { return down_; }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // A sticky button, once pressed, stays pressed when clicked again: the way a
    // button of an exclusive group behaves.
    bool isSticky() const { return sticky_; }
    void setSticky(bool sticky) { sticky_ = sticky; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;

  private:
    QPixmap up_;
    QPixmap down_;
    int tag_ = 0;
    bool sticky_ = false;
};

}  // namespace widgets
