// A window that is shown modally and stays modal while it hides itself: a window
// that opens practice steps aside while the practice window runs, and comes back
// when it closes. A QDialog cannot do that, since hiding it ends its exec().
#pragma once

#include <QWidget>

#include <functional>

class QEventLoop;

namespace practice {

class ModalForm : public QWidget {
    Q_OBJECT
  public:
    explicit ModalForm(QWidget* parent = nullptr);
    ~ModalForm() override;

    // Shows the window application-modal and returns when it has closed; hiding
    // it in between does not end the wait.
    int exec();
    bool isRunning() const { return loop_ != nullptr; }

  protected:
    // Whether the window may close now; the default always allows it.
    virtual void closeQuery(bool& canClose);
    void closeEvent(QCloseEvent* event) override;

  private:
    QEventLoop* loop_ = nullptr;
};

// The screen has one cursor, not a stack of them: busy is busy however often it
// is asked for, and normal clears every busy request still pending, including one
// made by the opener of the window.
void SetBusyCursor();
void SetNormalCursor();

// Runs a handler called from the event loop. An error that escapes it is shown in
// the prompt box, as the program's last resort, instead of unwinding through Qt.
void RunGuarded(const std::function<void()>& handler);

}  // namespace practice
