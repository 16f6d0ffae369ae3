#include "WindowLook.h"

#include "ModalForm.h"
#include "Skin.h"

#include <QLabel>
#include <QPainter>
#include <QShowEvent>

namespace aids {

void PaintFormBackground(QWidget* w, const QString& caption, int strip) {
    namespace skin = widgets::skin;
    QPainter p(w);
    QLinearGradient body(0, 0, 0, w->height());
    body.setColorAt(0, QColor::fromRgb(skin::kWindow));
    body.setColorAt(1, QColor::fromRgb(skin::kFaceBottom));
    p.fillRect(w->rect(), body);
    if (strip > 0) {
        const QRect bar(0, 0, w->width(), strip);
        QLinearGradient title(0, 0, w->width(), 0);
        title.setColorAt(0, QColor::fromRgb(skin::kDialogTitle));
        title.setColorAt(1, QColor::fromRgb(skin::kDialogBack));
        p.fillRect(bar, title);
        p.setFont(widgets::PixelFont(15, true));
        p.setPen(Qt::white);
        p.drawText(bar.adjusted(14, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, caption);
    }
    p.setPen(QColor::fromRgb(skin::kDarkBorder));
    p.setBrush(Qt::NoBrush);
    p.drawRect(w->rect().adjusted(0, 0, -1, -1));
}

AidForm::AidForm(QWidget* parent, int strip)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), strip_(strip) {}

void AidForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    widgets::CentreOnDesktop(this);
    widgets::RunGuarded([this] { FormShow(); });
}

void AidForm::done(int result) {
    widgets::RunGuarded([this] { FormClose(); });
    QDialog::done(result);
}

void AidForm::paintEvent(QPaintEvent*) {
    PaintFormBackground(this, windowTitle(), strip_);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int pixels, bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(widgets::PixelFont(pixels, bold));
    return label;
}

}  // namespace aids
