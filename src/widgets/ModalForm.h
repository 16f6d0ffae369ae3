// What every window of the program is built on: the modal form, the busy cursor,
// the pixel-sized "宋体" font, centring on the desktop and the keys of an answer
// area. A window uses these; it never carries its own copy.
#pragma once

#include "Guard.h"

#include <QFont>
#include <QScopeGuard>
#include <QWidget>

#include <functional>

class QAbstractButton;
class QEventLoop;
class QKeyEvent;

namespace widgets {

// A window that is shown modally and stays modal while it hides itself: a window
// that opens practice steps aside while the practice window runs, and comes back
// when it closes. A QDialog cannot do that, since hiding it ends its exec().
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
    // Borderless and without a cancel button: Escape never closes a form.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QEventLoop* loop_ = nullptr;
};

// The screen has one cursor, not a stack of them: busy is busy however often it
// is asked for, and normal clears every busy request still pending, including one
// made by the opener of the window.
void SetBusyCursor();
void SetNormalCursor();

// The program's face ("宋体") at a size in pixels, as the windows are laid out.
QFont PixelFont(int pixels, bool bold = false);

// Moves a window to the centre of the desktop of its screen.
void CentreOnDesktop(QWidget* window);

// The keys of an answer area on a choice page: Backspace the previous question,
// Enter the next (each only when its button is enabled, through its click), A to F
// an option. True when the key was taken.
struct AnswerKeys {
    QAbstractButton* previous = nullptr;
    QAbstractButton* next = nullptr;
    std::function<bool(int option)> pressOption;
};
bool HandleAnswerKey(const QKeyEvent& event, const AnswerKeys& keys);

// Runs a window that an opener starts (practice on a set): busy until that window
// is about to show, when beforeShow hides the opener; afterwards, whatever the run
// met, the cursor is normal, `afterwards` has run and a visible opener is shown
// again. Returns what `run` returned.
template <class Run>
auto RunAside(QWidget* opener, Run&& run, const std::function<void()>& afterwards = {}) {
    const bool wasVisible = opener->isVisible();
    SetBusyCursor();
    const auto comeBack = qScopeGuard([&] {
        SetNormalCursor();
        if (afterwards) afterwards();
        if (wasVisible) opener->show();
    });
    return run([opener] {
        SetNormalCursor();
        opener->hide();
    });
}

// The plain window look: the panel colour, a title strip of `strip` pixels with a
// rule under it, and a dark frame.
void PaintStripWindow(QWidget* window, int strip);

}  // namespace widgets
