// The study-log window: the daily log newest day first, read-only, with the
// totals over every day and the overall correct rate.
#pragma once

#include <QDialog>

class QLabel;
class QTableWidget;

namespace store {
class TDM1;
}
namespace widgets {
class FlatButton;
}

namespace aids {

class TFrmRz : public QDialog {
    Q_OBJECT
  public:
    static constexpr QSize kCompactSize{761, 480};
    static constexpr QSize kLargeSize{934, 611};

    explicit TFrmRz(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmRz() override;

    void FormCreate();
    void FormShow();
    void SpeedButton1Click();  // settings
    void FormClose();

    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

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
