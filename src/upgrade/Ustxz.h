// The question-bank upgrade window: the user picks an upgrade file on disk and
// imports it; every outcome is told in the prompt box and the window stays open, so
// that another file can be tried.
#pragma once

#include "Upgrade.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;

namespace store {
class TDM1;
}

namespace widgets {
class EffectButton;
class FlatButton;
}  // namespace widgets

namespace upgrade {

class Tfrmstxz : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kWidth = 305;
    static constexpr int kHeight = 158;

    explicit Tfrmstxz(store::TDM1& dm, QWidget* parent = nullptr);
    ~Tfrmstxz() override;

    void FormShow();
    void SpeedButton1Click();    // folder button: choose the file
    void epFocusButton1Click();  // 开始升级
    void FormClose();

    // The file dialog; tests answer it instead.
    void setFileChooser(std::function<QString(QWidget*)> chooser) {
        chooseFile_ = std::move(chooser);
    }

    // What the last import ended with.
    const Result& lastResult() const { return last_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

  private:
    void showProgress(int step, int total);

    store::TDM1& dm_;
    std::function<QString(QWidget*)> chooseFile_;
    Result last_;

    QLabel* Label1;
    QGroupBox* RadioGroup1;
    QRadioButton* RadioLocal;
    QLineEdit* Edit1;
    widgets::FlatButton* SpeedButton1;
    widgets::EffectButton* epFocusButton1;
    widgets::EffectButton* epFocusButton3;
    QProgressBar* ProgressBar1;
};

// The upgrade window while it is open.
inline Tfrmstxz* frmstxz = nullptr;

}  // namespace upgrade
