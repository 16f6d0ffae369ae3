// The question editor: the stem, the shared stem of a grouped question, the
// explanation, the choices, the key, the type and the knowledge points of one
// question, written back all at once.
#pragma once

#include "QuestionEdit.h"
#include "WindowLook.h"

namespace store {
class TDM1;
}
namespace widgets {
class EffectButton;
class RichTextEdit;
}  // namespace widgets

class QFrame;
class QLabel;

namespace authoring {

class QuestionFields;

class TfrmTedit : public aids::AidForm {
    Q_OBJECT
  public:
    static constexpr QSize kLargeSize{944, 623};
    static constexpr QSize kCompactSize{780, 490};
    static inline const QString kLimitText = QStringLiteral(
        "试题对应知识点最多为10条！\r如果要去掉知识点，请选中要\r去掉的知识点，"
        "再按键盘上的\r[Delete]键！");

    // Reads the question; throws when the bank has no question with the id.
    TfrmTedit(store::TDM1& dm, const QString& questionId, QWidget* parent = nullptr);

    QuestionFields* fields() const { return fields_; }
    const EditedQuestion& question() const { return question_; }

    // Stores the edit; on success the window closes accepted. True when stored.
    bool SpeedButton4Click();
    void SpeedButton3Click();  // 取消
    void SpeedButton2Click();  // 使用说明

    QFrame* Panel1;
    QFrame* Panel2;
    QLabel* LabelStem;         // 试题内容：
    QLabel* LabelExplanation;  // 试题解析：
    widgets::RichTextEdit* RxDBRichEdit3;
    widgets::RichTextEdit* RxDBRichEdit1;
    widgets::RichTextEdit* RxDBRichEdit2;
    widgets::EffectButton* SpeedButton4;
    widgets::EffectButton* SpeedButton3;
    widgets::EffectButton* SpeedButton2;

  protected:
    void FormShow() override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void applyLayout();

    store::TDM1& dm_;
    EditedQuestion question_;
    QuestionFields* fields_;
};

}  // namespace authoring
