#include "ModalForm.h"

#include "Guard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>

#include <exception>

namespace practice {

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

void SetBusyCursor() {
    const QCursor* current = QApplication::overrideCursor();
    if (current == nullptr || current->shape() != Qt::WaitCursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void SetNormalCursor() {
    widgets::RestoreNormalCursor();
}

void RunGuarded(const std::function<void()>& handler) {
    widgets::RunGuarded(handler);
}

}  // namespace practice
