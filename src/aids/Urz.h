// The study-log window: the daily log newest day first, read-only, with the
// totals over every day and the overall correct rate.
#pragma once

#include "DataModule.h"
#include "FlatButton.h"
#include "WindowLook.h"

#include <QLabel>
#include <QTableWidget>

namespace aids {

class TFrmRz : public AidForm {
    Q_OBJECT
  public:
    // The window in the compact layout (ScreenMode "800") and the large one.
    static QSize LayoutSize(bool compact) { return compact ? QSize(761, 480) : QSize(934, 611); }

    explicit TFrmRz(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmRz() override;

    void FormCreate();
    void FormShow() override;
    void SpeedButton1Click();  // settings
    void FormClose() override;

  private:
    void fillGrid();

    store::TDM1& dm_;
    QTableWidget* DBGrid1;
    QLabel* Label1;  // 已做习题（道次）
    QLabel* Label2;  // 做错习题（道次）
    QLabel* Label3;  // 综合成绩
    QLabel* LabelD1;
    QLabel* LabelD2;
    QLabel* LabelRate;
    widgets::FlatButton* SpeedButton1;
    widgets::FlatButton* SpeedButton3;
};

// The log window while it is open.
inline TFrmRz* FrmRz = nullptr;

}  // namespace aids
