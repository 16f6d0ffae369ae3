// The about window: one picture with the product's name, version and bank
// identifier (drawn at build time into pic/about.bmp), and a close button.
#pragma once

#include <QDialog>
#include <QPixmap>

namespace widgets {
class EffectButton;
}

namespace aids {

class TFrmAbout : public QDialog {
    Q_OBJECT
  public:
    static constexpr QSize kSize{395, 266};

    explicit TFrmAbout(QWidget* parent = nullptr);
    ~TFrmAbout() override;

    // False when the picture is missing: the window is then plain white.
    bool hasPicture() const { return !picture_.isNull(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
    widgets::EffectButton* epEfTrBtn1;
};

// The about window while it is open.
inline TFrmAbout* FrmAbout = nullptr;

}  // namespace aids
