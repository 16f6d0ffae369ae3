// The exam settings window: the length of a mock exam and the minimum mark a
// marked paper needs to be kept.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace store {
class TDM1;
}
namespace widgets {
class EffectButton;
}

namespace exam {

class TFrmEset : public QDialog {
    Q_OBJECT
  public:
    explicit TFrmEset(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmEset() override;

    static constexpr QSize kSize{360, 159};

    void FormShow();
    void Edit1Change();
    void CheckBoxClick();
    void Button1Click();  // 默认
    void Button2Click();  // 关闭: saves, then closes
    void FormClose();

    QCheckBox* CheckBox1;  // 保留试卷最低分数
    QCheckBox* CheckBox2;  // 模拟考试答题时间
    QLineEdit* Edit1;      // LeastMark
    QLineEdit* Edit2;      // minutes
    QLabel* Label1;        // 与试卷总分数相关
    QLabel* Label2;        // （单位：分钟）
    widgets::EffectButton* Button1;
    widgets::EffectButton* Button2;

    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // Runs a handler from the event loop; an error is shown instead of unwinding

    store::TDM1& dm_;
    bool correcting_ = false;
};

// The settings window while it is open.
inline TFrmEset* FrmEset = nullptr;

}  // namespace exam
