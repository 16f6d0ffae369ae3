// The progress window shown while a long database task runs. Never modal.
#pragma once

#include <QFrame>

class QLabel;

namespace app {

class TFrmProgress : public QFrame {
    Q_OBJECT
  public:
    explicit TFrmProgress(QWidget* parent = nullptr);

    // Shows the window (if hidden) with the step's text and lets it paint at once.
    void ShowStep(const QString& text);
    void HideProgress();
    QString text() const;

  private:
    QLabel* Label1;
};

// The one progress window of the run, set at start-up.
inline TFrmProgress* FrmProgress = nullptr;

}  // namespace app
