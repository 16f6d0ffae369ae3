// The knowledge-point picker, and on its second page the instructions for entering
// questions. The question entry and editor windows open it:
//
//     knowledge::QuestionPointLinks links;  // what ListBox1 and ListBox2 show
//     if (knowledge::AddPointsWithPicker(dm, links, limitText, this) > 0) ...refill
//
// and Delete in their ListBox1 removes an item of both lists (links.Remove).
#pragma once

#include "PointPicker.h"

#include <QDialog>

namespace store {
class TDM1;
}
namespace widgets {
class EffectButton;
}

class QComboBox;
class QListWidget;
class QStackedWidget;
class QTextEdit;

namespace knowledge {

class TFrmSelectFG : public QDialog {
    Q_OBJECT
  public:
    static constexpr QSize kClientSize{528, 400};
    // The lines of the instructions page.
    static const QStringList& InstructionLines();

    explicit TFrmSelectFG(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmSelectFG() override;

    // Page 0 the picker, 1 the instructions; chosen before showing.
    void setPage(int page);
    // The question's points so far: their number counts toward the limit, and
    // their ids are ticked when another chapter is chosen.
    void setCallerPoints(const QStringList& ftids) { callerFtids_ = ftids; }
    const PointPicker& picker() const { return picker_; }

    void ComboBox1Change(int index);
    void CheckListBox1ClickCheck(int index);
    void epEfButton1Click();  // 确定

    QStackedWidget* Notebook1;
    QComboBox* ComboBox1;
    QListWidget* CheckListBox1;
    QTextEdit* Memo1;
    widgets::EffectButton* epEfButton1;
    widgets::EffectButton* epEfButton2;
    widgets::EffectButton* epEfButton3;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void fillPoints();

    PointPicker picker_;
    QStringList callerFtids_;
    bool loaded_ = false;
};

// The picker while it exists.
inline TFrmSelectFG* FrmSelectFG = nullptr;

// "添加考点": a full list refuses with limitText; otherwise the picker opens on the
// question's points and what is ticked on "确定" is added to them, points already
// there skipped. Returns how many were added.
int AddPointsWithPicker(store::TDM1& dm, QuestionPointLinks& links, const QString& limitText,
                        QWidget* caller);

// "使用说明" of the entry and editor windows: the picker's instructions page, modal.
void ShowEntryInstructions(store::TDM1& dm, QWidget* caller);

}  // namespace knowledge
