#include "PictureButton.h"

#include "Skin.h"

#include <QPainter>

namespace widgets {

PictureButton::PictureButton(const QString& caption, QWidget* parent)
    : SkinButton(caption, parent) {
    setCheckable(true);
    // Drawn from fixed-size pictures: stretched, the rounded corners would smear.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PictureButton::setPictures(const QPixmap& up, const QPixmap& down) {
    up_ = up;
    down_ = down;
    updateGeometry();
    update();
}

bool PictureButton::loadPictures(const QString& upFile, const QString& downFile) {
    QPixmap up;
    QPixmap down;
    if (!up.load(upFile) || !down.load(downFile)) return false;
    setPictures(up, down);
    return true;
}

QSize PictureButton::sizeHint() const {
    if (!up_.isNull()) return up_.deviceIndependentSize().toSize();
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text()) + 12, fm.height() + 8};
}

void PictureButton::nextCheckState() {
    if (sticky_ && isChecked()) return;
    QAbstractButton::nextCheckState();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool sunken = isSunken();
    const QPixmap& picture = sunken && !down_.isNull() ? down_ : up_;
    if (!picture.isNull()) {
        p.drawPixmap(rect(), picture);
    } else {
        // No pictures loaded (a missing pic folder): a plain tile keeps the bar usable.
        p.setPen(QColor::fromRgb(skin::kBorder));
        p.setBrush(QColor::fromRgb(sunken ? skin::kFaceBottom : skin::kTileNeutral));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const int shift = sunken ? 1 : 0;
    p.setPen(textColor());
    p.setFont(font());
    p.drawText(rect().translated(shift, shift), Qt::AlignCenter | Qt::TextShowMnemonic, text());
    paintFocusMark(p, rect().adjusted(2, 2, -2, -2));
}

}  // namespace widgets
