// What the study-aid windows share of their look.
#pragma once

#include <QColor>
#include <QDialog>
#include <QString>
#include <QWidget>

namespace aids {

// The light blue body of the note and explanation windows.
inline const QColor kLightBlue(214, 228, 243);

// A fixed-size window with a caption and a close box only.
inline void makeFixedToolWindow(QWidget* w, const QString& caption, int width, int height) {
    w->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    w->setWindowTitle(caption);
    w->setFixedSize(width, height);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, kLightBlue);
    w->setPalette(pal);
}

}  // namespace aids

class QLabel;

namespace aids {

// The borderless study-aid windows (plan, log, settings) stand on a painted
// background instead of a picture: a soft blue body, a title strip with the
// caption, a frame. `strip` 0 leaves the title out.
void PaintFormBackground(QWidget* w, const QString& caption, int strip);

// A label in the program's face at a pixel size, named for tests and drivers.
// A borderless study-aid window on the painted background, centred when shown;
// what it does on showing and on closing (any way of closing) is guarded, so that
// an error is reported and the window still goes.
class AidForm : public QDialog {
    Q_OBJECT
  public:
    // `strip`: height of the title strip painted with the window's title.
    explicit AidForm(QWidget* parent, int strip);
    void done(int result) override;

  protected:
    virtual void FormShow() {}
    virtual void FormClose() {}
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    int strip_;
};

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int pixels,
                  bool bold = false);

}  // namespace aids
