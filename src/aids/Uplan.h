// The study-plan window: the daily target (answers or minutes), the date of the
// real examination and the countdown of the days left.
#pragma once

#include <QDate>
#include "WindowLook.h"

#include <functional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace store {
class TDM1;
}
namespace widgets {
class FlatButton;
}

namespace aids {

class TFrmplan : public AidForm {
    Q_OBJECT
  public:
    static constexpr QSize kSize{460, 250};

    explicit TFrmplan(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmplan() override;

    void FormShow() override;
    // Recomputes the countdown from the date field; false when it holds no date.
    bool ShowCountdown();
    void RadioGroupClick(int item);
    void SpeedButton1Click();  // 设定 / 保存
    void FormClose() override;
    bool isEditing() const;

  private:
    void enableNumberFields(int item);
    void pickDate();

    store::TDM1& dm_;
    QLabel* Label1;    // the day count
    QLabel* epLabel1;  // 距离考试还有
    QLabel* epLabel2;  // 天
    QLabel* Label2;    // 考试日：
    QLineEdit* DateEdit1;
    QToolButton* DateButton;
    QGroupBox* SeSkinRadioGroup1;
    QButtonGroup* planKinds_;
    QLineEdit* suiNumberEdit1;  // answers a day
    QLineEdit* suiNumberEdit2;  // minutes a day
    widgets::FlatButton* SpeedButton1;
    widgets::FlatButton* SpeedButton2;
};

// The plan window while it is open.
inline TFrmplan* Frmplan = nullptr;

}  // namespace aids
