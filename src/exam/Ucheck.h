// The paper history window: the stored papers with three summary figures, review
// of a paper in the exam window, and deletion of papers.
#pragma once

#include "ModalForm.h"

#include <functional>

class QLabel;
class QTableWidget;

namespace store {
class TDM1;
}
namespace widgets {
class FlatButton;
class NumberDisplay;
}  // namespace widgets

namespace exam {

// The whole-number average of the scored papers, halves to the even neighbour;
// 0 when no paper has a score.
int AverageScore(const QVariant& average);

struct ProgressHook;
// The progress window, reached the same way the exam reaches it.
void setCheckProgressHook(ProgressHook hook);

// A modal form, not a dialog: it hides itself while a paper is reviewed and must
// stay modal underneath.
class TFrmCheck : public widgets::ModalForm {
    Q_OBJECT
  public:
    explicit TFrmCheck(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmCheck() override;

    static constexpr QSize kLargeSize{935, 612};
    static constexpr QSize kCompactSize{760, 479};

    void FormShow();
    void ReviewClick();
    void DeleteClick();
    void SettingsClick();
    void CloseClick();
    void FormClose();

    // The work table (A1) of the selected list row; empty when none is selected.
    QString currentTable() const;

    QTableWidget* DBGrid1;
    widgets::NumberDisplay* LEDTimes;    // 考试次数
    widgets::NumberDisplay* LEDPassed;   // 及格次数
    widgets::NumberDisplay* LEDAverage;  // 平均成绩
    QLabel* LabelTip;
    widgets::FlatButton* SettingsButton;
    widgets::FlatButton* ReviewButton;
    widgets::FlatButton* CloseButton;
    widgets::FlatButton* DeleteButton;

  protected:
    void closeQuery(bool& canClose) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void layOut();
    void fillList();

    store::TDM1& dm_;
};

// The history window while it is open.
inline TFrmCheck* FrmCheck = nullptr;

}  // namespace exam
