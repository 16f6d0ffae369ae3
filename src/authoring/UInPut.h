// The question entry window: the candidate's own questions into one chapter, any
// number in one opening, each stored with its counters at once and the form
// cleared for the next.
#pragma once

#include "WindowLook.h"

#include <QRect>

namespace store {
class TDM1;
}
namespace widgets {
class FlatButton;
class RichTextEdit;
}  // namespace widgets

namespace authoring {

class QuestionFields;

class TFrmInPut : public aids::AidForm {
    Q_OBJECT
  public:
    static constexpr QSize kLargeSize{931, 611};
    static constexpr QSize kCompactSize{762, 480};
    static inline const QString kLimitText = QStringLiteral(
        "试题对应考点最多为10条！\r如果要去掉考点，请选中要\r去掉的考点，再按键盘上的\r[Delete]"
        "键！");

    TFrmInPut(store::TDM1& dm, const QString& chapter, QWidget* parent = nullptr);

    // Questions saved since the window was made.
    int savedCount() const { return saved_; }
    QuestionFields* fields() const { return fields_; }

    void ComboBox1Change();
    void BtnAddFgClick();
    void epBtn_helpClick();
    void epBtn_ClearClick();
    // Stores the question on the form; true when it was stored.
    bool epBtn_SaveClick();
    void epBtn_ConfigClick();
    void SpeedButton6Click();

    widgets::RichTextEdit* Re1;
    widgets::RichTextEdit* Re2;
    widgets::FlatButton* SpeedButton2;  // 使用说明
    widgets::FlatButton* SpeedButton3;  // 清除
    widgets::FlatButton* SpeedButton4;  // 保存
    widgets::FlatButton* SpeedButton1;  // 设置
    widgets::FlatButton* SpeedButton7;  // 关闭

  signals:
    // A question was stored; the browser adds it to its total at once.
    void questionSaved();

  protected:
    void FormShow() override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FormCreate();
    void applyLayout();
    // Whether the form holds something not yet stored.
    bool holdsWork() const;

    store::TDM1& dm_;
    QString chapter_;
    QuestionFields* fields_;
    int saved_ = 0;
    bool compact_ = false;
};

inline TFrmInPut* FrmInPut = nullptr;

}  // namespace authoring
