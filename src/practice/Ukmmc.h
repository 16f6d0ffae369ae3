// The subject and chapter browser: the catalogue of subjects and chapters with
// their progress, the totals over all chapters, and the doors to practice by
// chapter, question entry and the settings.
#pragma once

#include "ChapterSets.h"
#include "ModalForm.h"

#include <QRect>

#include <functional>

class QAbstractButton;
class QLabel;
class QTableView;

namespace store {
class TDM1;
}
namespace widgets {
class FlatButton;
class NumberDisplay;
}  // namespace widgets

namespace practice {

class DatasetGridModel;

// Question entry into a chapter: shows the entry window modally and counts the
// questions it saved in `saved` as they are saved, so that the count survives an
// error raised later in the window.
using QuestionEntryRunner =
    std::function<void(const QString& chapterCode, QWidget* opener, int& saved)>;
// Installed by the entry window; until then "试题录入" only checks the row.
void setQuestionEntryRunner(QuestionEntryRunner runner);

class TFrmkmmc : public widgets::ModalForm {
    Q_OBJECT
  public:
    explicit TFrmkmmc(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmkmmc() override;

    // Runs every time the window becomes visible: lists the catalogue, lays the
    // window out, refreshes the totals and goes back to the chapter last acted on.
    void FormShow();
    // The three practice buttons; the set is the pressed button's tag.
    void epEfButton1Click(QAbstractButton* sender);
    void epEfButton2Click();
    void epEfButton3Click();
    void DBGrid1DblClick();
    void epEfButton6Click();  // question entry
    void epEfButton5Click();  // settings
    void SpeedButton6Click();
    void FormCloseQuery(bool& CanClose);

    // The code of the row a practice button or a double-click last read.
    QString actedCode() const { return ActedCode; }
    // Column widths follow the physical screen width; tests give their own.
    void setScreenWidthProvider(std::function<int()> provider);

    QTableView* DBGrid1;
    widgets::NumberDisplay* epNum_all;
    widgets::NumberDisplay* epNum_ok;
    widgets::NumberDisplay* epNum_Err;
    QLabel* Lb_fs;
    QLabel* Label1;  // 总习题数
    QLabel* Label2;  // 已做题道次
    QLabel* Label3;  // 做错题道次
    QLabel* Label4;  // 综合成绩
    widgets::FlatButton* SpeedButton1;
    widgets::FlatButton* SpeedButton2;
    widgets::FlatButton* SpeedButton3;
    widgets::FlatButton* SpeedButton4;
    widgets::FlatButton* SpeedButton5;
    widgets::FlatButton* SpeedButton6;

    static constexpr QSize kLargeSize{935, 611};
    static constexpr QSize kCompactSize{761, 480};

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeQuery(bool& canClose) override;

  private:
    widgets::FlatButton* makeButton(const char* name, const QString& caption);
    void applyLayout();
    void setColumnWidths();
    // Reads C1 of the current catalogue row; false when there is no row to read.
    bool readCurrentCode(QString& code);
    void refuseRow();
    void startSet(ChapterSet set, const QString& sql, const QString& caption);
    void followDataset();
    void followGrid(int row);

    store::TDM1& dm_;
    DatasetGridModel* model_;
    QString ActedCode;
    qint64 shownQuestions_ = 0;
    bool compact_ = false;
    bool following_ = false;
    std::function<int()> screenWidth_;
};

// The browser while it exists.
inline TFrmkmmc* Frmkmmc = nullptr;

}  // namespace practice
