// The controls that the question entry and the question editor share beside their
// rich-text boxes: the number of choices, the key, the type and the knowledge
// points, with what choosing a type and adding or removing a point do.
#pragma once

#include "PointPicker.h"
#include "QuestionEntry.h"

#include <QObject>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QWidget;

namespace store {
class TDM1;
}
namespace widgets {
class EffectButton;
}

namespace authoring {

struct FieldCaptions {
    QString choices;
    QString answer;
    QString type;
    QString points = QStringLiteral("对应考点：");
    QString limitText;  // shown when the question has ten points already
    // What a type that is not subjective does to the key: entry clears it for the
    // new type, the editor keeps the key the question had.
    bool clearAnswerOnType = true;
    // The editor's type can also be typed.
    bool typeTyped = false;
};

// "保存试题出现错误！" with what went wrong; the engine's words go to the log.
void ReportSaveFailure(const std::exception& error);

class QuestionFields : public QObject {
    Q_OBJECT
  public:
    QuestionFields(store::TDM1& dm, QWidget* window, FieldCaptions captions);

    // The types of the current exam kind into ComboBox1.
    void LoadTypes();
    const QVector<QuestionType>& types() const { return types_; }
    // Shows the type with this id; a subjective one locks the choices and the key.
    void ShowType(int typeId);
    void ComboBox1Change();
    void BtnAddFgClick();
    // Delete in ListBox1 removes the selected point; true when the key was taken.
    bool ListBox1KeyDown(int key);

    void setPoints(const QStringList& labels, const QStringList& ftids);
    const knowledge::QuestionPointLinks& points() const { return links_; }
    // The choices, key, type and points as the controls hold them; the type is the
    // one whose name is the text of ComboBox1, typed or chosen.
    void collect(QuestionDraft& draft) const;
    void unlock();
    // Empties the key and the points and selects the first type without its
    // change step.
    void clear();

    QLabel* choicesLabel;
    QSpinBox* SE_Num;
    QLabel* answerLabel;
    QLineEdit* Edit1;
    QLabel* typeLabel;
    QComboBox* ComboBox1;
    QLabel* pointsLabel;
    widgets::EffectButton* BtnAddFg;
    QListWidget* ListBox1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void lockForSubjective();
    void refillList();

    store::TDM1& dm_;
    QWidget* window_;
    FieldCaptions captions_;
    QVector<QuestionType> types_;
    knowledge::QuestionPointLinks links_;
};

}  // namespace authoring
