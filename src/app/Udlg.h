// The prompt box: the program's own notices, warnings, errors and questions.
#pragma once

#include "Prompt.h"

#include <QDialog>

class QLabel;
class QAbstractButton;
class QStackedWidget;

namespace app {

class TFrmDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TFrmDlg(QWidget* parent = nullptr);

    // Sets up caption, text, buttons (by kind), picture and button texts (by mode)
    // without showing the box.
    void Prepare(const QString& caption, const QString& text, int kind, const QString& mode,
                 int picture);
    // Prepare, then show modally; 1, 2 or 3 for the button pressed.
    int ShowPromptBox(const QString& caption, const QString& text, int kind, const QString& mode,
                      int picture);

    static constexpr int kDesignedWidth = 399;
    static constexpr int kHeight = 110;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QAbstractButton* makeButton(const char* name, int left, int result);
    QAbstractButton* firstVisibleButton() const;

    QLabel* Label1;
    QLabel* fcLabel1;
    QStackedWidget* epNoteBook1;
    QAbstractButton* fcShapeBtn1;
    QAbstractButton* fcShapeBtn2;
    QAbstractButton* fcShapeBtn3;
    QPixmap background_;
    QPixmap titleStrip_;
    bool closingByButton_ = false;
};

// The service the program installs: prompts through TFrmDlg (a second box while the
// first is up), system messages through QMessageBox.
class WindowPromptService : public widgets::PromptService {
  public:
    explicit WindowPromptService(TFrmDlg* dialog) : dialog_(dialog) {}
    int promptBox(const QString& caption, const QString& text, int kind, const QString& mode,
                  int picture) override;
    widgets::MessageResult messageBox(const QString& caption, const QString& text,
                                      widgets::MessageIcon icon,
                                      widgets::MessageButtons buttons) override;

  private:
    TFrmDlg* dialog_;
};

// The one prompt box of the run, set at start-up.
inline TFrmDlg* FrmDlg = nullptr;

}  // namespace app
