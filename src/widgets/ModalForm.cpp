#include "ModalForm.h"

#include "Skin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>

namespace widgets {

ModalForm::ModalForm(QWidget* parent) : QWidget(parent) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
}

ModalForm::~ModalForm() {
    if (loop_ != nullptr) loop_->exit();
}

int ModalForm::exec() {
    if (loop_ != nullptr) return 0;
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    loop_ = &loop;
    QPointer<ModalForm> self(this);
    show();
    loop.exec(QEventLoop::DialogExec);
    if (self) loop_ = nullptr;
    return 0;
}

void ModalForm::closeQuery(bool&) {}

void ModalForm::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    closeQuery(canClose);
    if (!canClose) {
        event->ignore();
        return;
    }
    event->accept();
    if (loop_ != nullptr) loop_->exit();
}

void ModalForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SetBusyCursor() {
    const QCursor* current = QApplication::overrideCursor();
    if (current == nullptr || current->shape() != Qt::WaitCursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void SetNormalCursor() {
    while (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
}

QFont PixelFont(int pixels, bool bold) {
    QFont f(skin::kFontFamily);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void CentreOnDesktop(QWidget* window) {
    if (const QScreen* screen = window->screen()) {
        window->move(screen->availableGeometry().center() -
                     QPoint(window->width() / 2, window->height() / 2));
    }
}

bool HandleAnswerKey(const QKeyEvent& event, const AnswerKeys& keys) {
    const int key = event.key();
    if (key == Qt::Key_Backspace) {
        if (keys.previous != nullptr) keys.previous->click();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (keys.next != nullptr) keys.next->click();
        return true;
    }
    const auto chord = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (key >= Qt::Key_A && key <= Qt::Key_F && (event.modifiers() & chord) == 0) {
        return keys.pressOption && keys.pressOption(key - Qt::Key_A);
    }
    return false;
}

void PaintStripWindow(QWidget* window, int strip) {
    QPainter p(window);
    p.fillRect(window->rect(), QColor::fromRgb(skin::kPanel));
    QLinearGradient gradient(0, 0, 0, strip);
    gradient.setColorAt(0, QColor::fromRgb(skin::kFaceTop));
    gradient.setColorAt(1, QColor::fromRgb(skin::kGlow));
    p.fillRect(QRect(1, 1, window->width() - 2, strip), gradient);
    p.setPen(QColor::fromRgb(skin::kBorder));
    p.drawLine(1, strip + 1, window->width() - 2, strip + 1);
    p.setPen(QColor::fromRgb(skin::kDarkBorder));
    p.drawRect(window->rect().adjusted(0, 0, -1, -1));
}

}  // namespace widgets
