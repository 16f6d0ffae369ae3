#include "QuestionFields.h"

#include "EffectButton.h"
#include "ErrorText.h"
#include "ModalForm.h"
#include "Prompt.h"
#include "UselectFg.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

namespace authoring {
namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

void ReportSaveFailure(const std::exception& error) {
    qWarning("question not saved: %s", error.what());
    widgets::ShowMessage(QStringLiteral("提示"),
                         kSaveFailedText + u'\n' + store::UserErrorText(error),
                         widgets::MessageIcon::Information);
}

QuestionFields::QuestionFields(store::TDM1& dm, QWidget* window, FieldCaptions captions)
    : QObject(window), dm_(dm), window_(window), captions_(std::move(captions)) {
    choicesLabel = makeLabel(window, "LabelChoices", captions_.choices);
    SE_Num = new QSpinBox(window);
    SE_Num->setObjectName(QStringLiteral("SE_Num"));
    SE_Num->setRange(1, 7);
    answerLabel = makeLabel(window, "LabelAnswer", captions_.answer);
    Edit1 = new QLineEdit(window);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(100);  // what the key column holds
    typeLabel = makeLabel(window, "LabelType", captions_.type);
    ComboBox1 = new QComboBox(window);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(captions_.typeTyped);
    if (captions_.typeTyped) ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    pointsLabel = makeLabel(window, "LabelPoints", captions_.points);
    BtnAddFg = new widgets::EffectButton(QStringLiteral("添加考点"), window);
    BtnAddFg->setObjectName(QStringLiteral("BtnAddFg"));
    ListBox1 = new QListWidget(window);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setToolTip(QStringLiteral("点击\"Delete\"键可以删除考点"));
    ListBox1->installEventFilter(this);

    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(BtnAddFg, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { BtnAddFgClick(); }); });
}

void QuestionFields::LoadTypes() {
    types_ = LoadQuestionTypes(dm_);
    ComboBox1->clear();
    for (const QuestionType& type : types_)
        ComboBox1->addItem(type.name);
    if (!types_.isEmpty()) ComboBox1->setCurrentIndex(0);
}

void QuestionFields::ShowType(int typeId) {
    for (int i = 0; i < types_.size(); ++i) {
        if (types_[i].id != typeId) continue;
        ComboBox1->setCurrentIndex(i);
        if (IsSubjectiveTypeName(types_[i].name)) lockForSubjective();
        return;
    }
    ComboBox1->setCurrentIndex(-1);
}

void QuestionFields::lockForSubjective() {
    SE_Num->setValue(1);
    SE_Num->setEnabled(false);
    Edit1->setText(kSubjectiveKey);
    Edit1->setEnabled(false);
}

void QuestionFields::unlock() {
    SE_Num->setEnabled(true);
    Edit1->setEnabled(true);
}

void QuestionFields::ComboBox1Change() {
    unlock();
    if (IsSubjectiveTypeName(ComboBox1->currentText())) {
        lockForSubjective();
    } else if (captions_.clearAnswerOnType) {
        Edit1->clear();
    }
}

void QuestionFields::BtnAddFgClick() {
    if (knowledge::AddPointsWithPicker(dm_, links_, captions_.limitText, window_) > 0) refillList();
}

bool QuestionFields::ListBox1KeyDown(int key) {
    if (key != Qt::Key_Delete) return false;
    const int row = ListBox1->currentRow();
    if (row >= 0 && ListBox1->item(row)->isSelected() && links_.Remove(row)) refillList();
    return true;
}

bool QuestionFields::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        return ListBox1KeyDown(static_cast<QKeyEvent*>(event)->key());
    }
    return QObject::eventFilter(watched, event);
}

void QuestionFields::setPoints(const QStringList& labels, const QStringList& ftids) {
    links_.labels = labels;
    links_.ftids = ftids;
    refillList();
}

void QuestionFields::refillList() {
    ListBox1->clear();
    ListBox1->addItems(links_.labels);
}

void QuestionFields::collect(QuestionDraft& draft) const {
    draft.choices = SE_Num->value();
    draft.answer = Edit1->text();
    draft.typeId = TypeIdByName(types_, ComboBox1->currentText());
    draft.ftids = links_.ftids;
}

void QuestionFields::clear() {
    Edit1->clear();
    setPoints({}, {});
    if (!types_.isEmpty()) ComboBox1->setCurrentIndex(0);
}

}  // namespace authoring
