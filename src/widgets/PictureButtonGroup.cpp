#include "PictureButtonGroup.h"

#include "Skin.h"

#include <QGridLayout>

#include <algorithm>

namespace widgets {

PictureButtonGroup::PictureButtonGroup(QWidget* parent)
    : QWidget(parent), grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setSpacing(2);
    grid_->setSizeConstraint(QLayout::SetMinimumSize);
    // A bar wider than its buttons keeps them together at its top left.
    grid_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The tiles' rounded corners are drawn on this colour.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(skin::kPanel));
    setPalette(pal);
    setAutoFillBackground(true);
}

void PictureButtonGroup::setCount(int count) {
    count = std::max(count, 0);
    while (buttons_.size() > count)
        delete buttons_.takeLast();
    while (buttons_.size() < count) {
        auto* button = new PictureButton(QString(), this);
        button->setTag(static_cast<int>(buttons_.size()));
        button->setSticky(exclusive_);
        if (!up_.isNull()) button->setPictures(up_, down_);
        // Every click, by mouse, space bar or click(), is preceded by its press: the
        // state seen there tells whether the click changed anything.
        connect(button, &QAbstractButton::pressed, this,
                [this, button] { wasPressed_ = button->isChecked(); });
        connect(button, &QAbstractButton::clicked, this, [this, button] { onClicked(button); });
        buttons_.append(button);
    }
    relayout();
    if (exclusive_) ensureOnePressed();
}

PictureButton* PictureButtonGroup::buttonAt(int index) const {
    return index >= 0 && index < buttons_.size() ? buttons_[index] : nullptr;
}

int PictureButtonGroup::indexOf(const QAbstractButton* button) const {
    for (int i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i] == button) return i;
    }
    return -1;
}

int PictureButtonGroup::indexOfTag(int tag) const {
    for (int i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i]->tag() == tag) return i;
    }
    return -1;
}

void PictureButtonGroup::numberButtons(int first) {
    for (int i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setText(QString::number(first + i));
}

void PictureButtonGroup::setColumns(int columns) {
    columns = std::max(columns, 1);
    if (columns == columns_) return;
    columns_ = columns;
    relayout();
}

void PictureButtonGroup::setFillDownColumns(bool down) {
    if (down == downColumns_) return;
    downColumns_ = down;
    relayout();
}

void PictureButtonGroup::setSpacing(int pixels) {
    grid_->setSpacing(pixels);
}

void PictureButtonGroup::setExclusive(bool exclusive) {
    if (exclusive == exclusive_) return;
    exclusive_ = exclusive;
    for (PictureButton* b : buttons_)
        b->setSticky(exclusive);
    if (exclusive) ensureOnePressed();
}

int PictureButtonGroup::pressedIndex() const {
    for (int i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i]->isChecked()) return i;
    }
    return -1;
}

QVector<int> PictureButtonGroup::pressedIndexes() const {
    QVector<int> pressed;
    for (int i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i]->isChecked()) pressed.append(i);
    }
    return pressed;
}

bool PictureButtonGroup::isPressed(int index) const {
    const PictureButton* b = buttonAt(index);
    return b != nullptr && b->isChecked();
}

void PictureButtonGroup::setPressedIndex(int index) {
    if (buttonAt(index) == nullptr) {
        if (exclusive_) return;
        index = -1;
    }
    for (int i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setChecked(i == index);
}

void PictureButtonGroup::setPressed(int index, bool pressed) {
    PictureButton* b = buttonAt(index);
    if (b == nullptr) return;
    if (!exclusive_) {
        b->setChecked(pressed);
    } else if (pressed) {
        setPressedIndex(index);
    }
}

void PictureButtonGroup::setPictures(const QPixmap& up, const QPixmap& down) {
    up_ = up;
    down_ = down;
    for (PictureButton* b : buttons_)
        b->setPictures(up, down);
}

bool PictureButtonGroup::loadPictures(const QString& upFile, const QString& downFile) {
    QPixmap up;
    QPixmap down;
    if (!up.load(upFile) || !down.load(downFile)) return false;
    setPictures(up, down);
    return true;
}

void PictureButtonGroup::onClicked(PictureButton* button) {
    const int index = indexOf(button);
    if (index < 0) return;
    if (!exclusive_) {
        emit changed(index);
        return;
    }
    // A sticky button clicked while pressed stays pressed: nothing changed.
    if (wasPressed_) return;
    for (PictureButton* b : buttons_) {
        if (b != button) b->setChecked(false);
    }
    emit changed(index);
}

void PictureButtonGroup::relayout() {
    for (PictureButton* b : buttons_)
        grid_->removeWidget(b);
    const int count = static_cast<int>(buttons_.size());
    const int rows = (count + columns_ - 1) / columns_;
    for (int i = 0; i < count; ++i) {
        if (downColumns_) {
            grid_->addWidget(buttons_[i], i % rows, i / rows);
        } else {
            grid_->addWidget(buttons_[i], i / columns_, i % columns_);
        }
    }
}

void PictureButtonGroup::ensureOnePressed() {
    const int keep = pressedIndex();
    if (keep < 0) {
        if (!buttons_.isEmpty()) buttons_.first()->setChecked(true);
        return;
    }
    for (int i = keep + 1; i < buttons_.size(); ++i)
        buttons_[i]->setChecked(false);
}

}  // namespace widgets
