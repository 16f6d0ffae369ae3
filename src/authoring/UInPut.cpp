#include "UInPut.h"

#include "EffectButton.h"
#include "FlatButton.h"
#include "Globals.h"
#include "ModalForm.h"
#include "Prompt.h"
#include "QuestionFields.h"
#include "RichTextEdit.h"
#include "Skin.h"
#include "UselectFg.h"
#include "WindowHooks.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSpinBox>

namespace authoring {
namespace {

const QString kPrompt = QStringLiteral("提示");

struct Layout {
    QSize client;
    QRect re1, re2;
    QPoint choicesLabel;
    QRect choices;
    QPoint answerLabel;
    QRect answer;
    QPoint typeLabel;
    QRect type;
    QPoint pointsLabel;
    QRect addPoint;
    QRect points;
    QRect help, clear, save;  // the first column of buttons
    QRect settings, close;
    QRect panel;  // "试题相关信息"
    int titleHeight;
};

const Layout& layoutFor(bool compactScreen) {
    static const Layout large{TFrmInPut::kLargeSize,
                              {59, 80, 566, 225},
                              {59, 341, 566, 225},
                              {694, 147},
                              {796, 144, 68, 21},
                              {702, 174},
                              {775, 170, 89, 20},
                              {702, 199},
                              {775, 194, 89, 20},
                              {702, 222},
                              {775, 217, 89, 22},
                              {703, 240, 161, 40},
                              {692, 357, 85, 36},
                              {692, 404, 85, 36},
                              {692, 451, 85, 36},
                              {810, 480, 85, 36},
                              {810, 526, 85, 36},
                              {682, 104, 196, 190},
                              56};
    static const Layout compact{TFrmInPut::kCompactSize,
                                {52, 63, 460, 177},
                                {52, 268, 460, 177},
                                {552, 107},
                                {654, 104, 68, 21},
                                {560, 134},
                                {633, 130, 89, 20},
                                {560, 159},
                                {633, 154, 89, 20},
                                {560, 179},
                                {633, 174, 89, 22},
                                {561, 197, 161, 40},
                                {567, 280, 71, 31},
                                {567, 317, 71, 31},
                                {567, 354, 71, 31},
                                {663, 376, 69, 30},
                                {663, 413, 69, 30},
                                {542, 72, 192, 176},
                                44};
    return compactScreen ? compact : large;
}

void placeLabel(QLabel* label, QPoint at) {
    label->adjustSize();
    label->move(at);
}

// A box heading painted over the top left of the box.
void paintBoxHeading(QPainter& p, const QRect& box, const QString& text, bool compact) {
    namespace skin = widgets::skin;
    const int margin = compact ? 3 : 6;
    const QRect frame = box.adjusted(-margin, compact ? -20 : -24, margin, margin);
    p.setPen(QPen(QColor::fromRgb(skin::kBorder), 1));
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.setFont(widgets::PixelFont(14, true));
    p.setPen(QColor::fromRgb(skin::kDialogTitle));
    p.drawText(QRect(frame.left() + 8, frame.top(), frame.width() - 16, compact ? 20 : 22),
               Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace

TFrmInPut::TFrmInPut(store::TDM1& dm, const QString& chapter, QWidget* parent)
    : aids::AidForm(parent, 0), dm_(dm), chapter_(chapter) {
    setObjectName(QStringLiteral("FrmInPut"));
    setWindowTitle(QStringLiteral("试题录入"));
    setFont(widgets::PixelFont(12));
    Re1 = new widgets::RichTextEdit(this);
    Re1->setObjectName(QStringLiteral("Re1"));
    Re2 = new widgets::RichTextEdit(this);
    Re2->setObjectName(QStringLiteral("Re2"));
    fields_ = new QuestionFields(
        dm, this,
        {QStringLiteral("待选答案个数："), QStringLiteral("试题答案："),
         QStringLiteral("题    型："), QStringLiteral("对应考点："), kLimitText, true, false});

    const auto button = [this](const char* name, const QString& caption, auto handler) {
        auto* b = new widgets::FlatButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setFont(widgets::PixelFont(14, true));
        connect(b, &QAbstractButton::clicked, this,
                [this, handler] { widgets::RunGuarded([this, handler] { (this->*handler)(); }); });
        return b;
    };
    SpeedButton2 = button("SpeedButton2", QStringLiteral("使用说明"), &TFrmInPut::epBtn_helpClick);
    SpeedButton3 = button("SpeedButton3", QStringLiteral("清除"), &TFrmInPut::epBtn_ClearClick);
    SpeedButton4 = button("SpeedButton4", QStringLiteral("保存"), &TFrmInPut::epBtn_SaveClick);
    SpeedButton1 = button("SpeedButton1", QStringLiteral("设置"), &TFrmInPut::epBtn_ConfigClick);
    SpeedButton7 = button("SpeedButton7", QStringLiteral("关闭"), &TFrmInPut::SpeedButton6Click);
    SpeedButton1->setEnabled(widgets::HasSystemSettings());
    FormCreate();
    applyLayout();
}

void TFrmInPut::FormCreate() {
    saved_ = 0;
    fields_->SE_Num->setValue(5);
    fields_->LoadTypes();
}

void TFrmInPut::FormShow() {
    applyLayout();
    Re1->setFocus();
}

void TFrmInPut::applyLayout() {
    compact_ = qb::ScreenMode == QLatin1String("800");
    const Layout& l = layoutFor(compact_);
    setFixedSize(l.client);
    Re1->setGeometry(l.re1);
    Re2->setGeometry(l.re2);
    QuestionFields& f = *fields_;
    placeLabel(f.choicesLabel, l.choicesLabel);
    f.SE_Num->setGeometry(l.choices);
    placeLabel(f.answerLabel, l.answerLabel);
    f.Edit1->setGeometry(l.answer);
    placeLabel(f.typeLabel, l.typeLabel);
    f.ComboBox1->setGeometry(l.type);
    placeLabel(f.pointsLabel, l.pointsLabel);
    f.BtnAddFg->setGeometry(l.addPoint);
    f.ListBox1->setGeometry(l.points);
    SpeedButton2->setGeometry(l.help);
    SpeedButton3->setGeometry(l.clear);
    SpeedButton4->setGeometry(l.save);
    SpeedButton1->setGeometry(l.settings);
    SpeedButton7->setGeometry(l.close);
    // The labels sit left of their fields; each is moved so that it ends where its
    // field begins, whatever the font makes of its width.
    for (auto [label, field] : {std::pair<QLabel*, QWidget*>{f.choicesLabel, f.SE_Num},
                                {f.answerLabel, f.Edit1},
                                {f.typeLabel, f.ComboBox1},
                                {f.pointsLabel, static_cast<QWidget*>(f.BtnAddFg)}}) {
        if (label->geometry().right() >= field->x())
            label->move(field->x() - label->width() - 2, label->y());
        label->move(label->x(), field->y() + (field->height() - label->height()) / 2);
    }
    update();
}

void TFrmInPut::paintEvent(QPaintEvent* event) {
    aids::AidForm::paintEvent(event);
    namespace skin = widgets::skin;
    const Layout& l = layoutFor(compact_);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont title(QStringLiteral("黑体"));
    title.setPixelSize(compact_ ? 24 : 30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor::fromRgb(skin::kDialogTitle));
    p.drawText(QRect(0, 4, width(), l.titleHeight - 8), Qt::AlignCenter, windowTitle());
    paintBoxHeading(p, l.re1, QStringLiteral("试题内容"), compact_);
    paintBoxHeading(p, l.re2, QStringLiteral("试题解析"), compact_);
    paintBoxHeading(p, l.panel.adjusted(6, 24, -6, -6), QStringLiteral("试题相关信息"), compact_);
    // The painted labels under the flat buttons.
    p.setPen(QPen(QColor::fromRgb(skin::kBorder), 1));
    for (const QRect& r : {l.help, l.clear, l.save, l.settings, l.close}) {
        QLinearGradient face(r.topLeft(), r.bottomLeft());
        face.setColorAt(0, QColor::fromRgb(skin::kWindow));
        face.setColorAt(1, QColor::fromRgb(skin::kFaceBottom));
        p.setBrush(face);
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    }
}

void TFrmInPut::keyPressEvent(QKeyEvent* event) {
    // Escape would close the form and drop what is typed.
    if (event->key() == Qt::Key_Escape) return;
    aids::AidForm::keyPressEvent(event);
}

void TFrmInPut::ComboBox1Change() {
    fields_->ComboBox1Change();
}

void TFrmInPut::BtnAddFgClick() {
    fields_->BtnAddFgClick();
}

void TFrmInPut::epBtn_helpClick() {
    knowledge::ShowEntryInstructions(dm_, this);
}

void TFrmInPut::epBtn_ClearClick() {
    Re1->clear();
    Re2->clear();
    fields_->clear();
}

bool TFrmInPut::epBtn_SaveClick() {
    fields_->unlock();
    QuestionDraft draft;
    draft.stem = Re1->rtf();
    draft.stemText = Re1->contentText();
    draft.explanation = Re2->rtf();
    draft.explanationText = Re2->contentText();
    fields_->collect(draft);
    if (const auto refusal = CheckDraft(draft)) {
        widgets::ShowMessage(kPrompt, refusal->text, widgets::MessageIcon::Information);
        QWidget* field = refusal->field == DraftField::Stem ? static_cast<QWidget*>(Re1)
                         : refusal->field == DraftField::Answer
                             ? static_cast<QWidget*>(fields_->Edit1)
                             : fields_->ComboBox1;
        field->setFocus();
        return false;
    }
    std::optional<QString> id;
    try {
        id = SaveNewQuestion(dm_, chapter_, draft);
    } catch (const std::exception& e) {
        ReportSaveFailure(e);
        return false;
    }
    if (!id) {
        widgets::ShowMessage(kPrompt, kTooManyText, widgets::MessageIcon::Warning);
        return false;
    }
    epBtn_ClearClick();
    ++saved_;
    emit questionSaved();
    return true;
}

void TFrmInPut::epBtn_ConfigClick() {
    widgets::RunSystemSettings(this);
}

bool TFrmInPut::holdsWork() const {
    return !Re1->contentText().trimmed().isEmpty() || !Re2->contentText().trimmed().isEmpty() ||
           fields_->points().count() > 0;
}

void TFrmInPut::SpeedButton6Click() {
    fields_->unlock();
    if (holdsWork() &&
        widgets::ShowMessage(kPrompt, QStringLiteral("试题尚未保存，确定要关闭吗？"),
                             widgets::MessageIcon::Question,
                             widgets::MessageButtons::OkCancel) != widgets::MessageResult::Ok) {
        return;
    }
    accept();
}

}  // namespace authoring
