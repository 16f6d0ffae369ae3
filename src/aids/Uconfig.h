// The system settings window: background music on or off and its piece (mode 0),
// or the answer time of every question type of the current exam kind (mode 1,
// qb::ConfigMode chosen before the window is made).
#pragma once

#include "SystemSettings.h"

#include <QAbstractButton>
#include <QVector>
#include "WindowLook.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QScrollArea;

namespace store {
class TDM1;
}
namespace widgets {
class EffectButton;
}

namespace aids {

// An on/off switch: a slider in a track, green when on.
class OnOffSwitch : public QAbstractButton {
    Q_OBJECT
  public:
    explicit OnOffSwitch(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {56, 24}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

class TFrmConfig : public AidForm {
    Q_OBJECT
  public:
    static constexpr int kWidth = 364;
    static constexpr int kMusicHeight = 100;
    static constexpr int kAnswerTimeHeight = 170;

    TFrmConfig(store::TDM1& dm, MusicControl music, QWidget* parent = nullptr);
    ~TFrmConfig() override;

    // What "sztime" does to the window: the music controls hidden, the answer
    // times moved up.
    void ArrangeForAnswerTimes();

    void FormShow() override;
    void RxSwitch1On();
    void RxSwitch1Off();
    void FlatComboBox1Change();
    void FormClose() override;

  protected:
    // The pale blue-grey body without a title strip.
    void paintEvent(QPaintEvent* event) override;

  private:
    void addAnswerTimeLines();

    store::TDM1& dm_;
    MusicControl music_;
    int mode_ = 0;
    int kind_ = 1;
    QVector<AnswerTimeLine> lines_;
    QVector<QDoubleSpinBox*> fields_;
    QLabel* Label1;  // 背景音乐
    OnOffSwitch* RxSwitch1;
    QLabel* Label5;  // 声音列表
    QComboBox* FlatComboBox1;
    widgets::EffectButton* epFocusButton3;
    QLabel* Label4;     // 答题时间设置
    QLabel* LabelKind;  // whose answer times
    QScrollArea* ScrollBox1;
};

// The settings window while it is open.
inline TFrmConfig* FrmConfig = nullptr;

}  // namespace aids
