#include "Utedit.h"

#include "EffectButton.h"
#include "Globals.h"
#include "ModalForm.h"
#include "Prompt.h"
#include "QuestionFields.h"
#include "RichTextEdit.h"
#include "UselectFg.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTextDocument>

namespace authoring {
namespace {

struct Layout {
    QSize client;
    QRect shared, stem, explanation;
    QPoint explanationLabel;
    QPoint choicesLabel, choices;
    QPoint answerLabel, answer;
    QPoint typeLabel, type;
    QPoint pointsLabel, addPoint;
    QRect points;
    int fieldWidth;
    QPoint save, cancel, help;
};

const Layout& layoutFor(bool compactScreen) {
    static const Layout large{TfrmTedit::kLargeSize,
                              {12, 28, 547, 137},
                              {12, 172, 547, 139},
                              {12, 342, 547, 249},
                              {12, 322},
                              {665, 55},
                              {735, 48},
                              {664, 97},
                              {735, 90},
                              {664, 135},
                              {736, 131},
                              {665, 185},
                              {737, 179},
                              {594, 226, 311, 221},
                              168,
                              {594, 458},
                              {707, 458},
                              {817, 458}};
    static const Layout compact{TfrmTedit::kCompactSize,
                                {12, 28, 445, 115},
                                {12, 148, 445, 115},
                                {12, 294, 445, 155},
                                {12, 274},
                                {533, 55},
                                {606, 48},
                                {533, 97},
                                {606, 90},
                                {533, 135},
                                {606, 131},
                                {533, 161},
                                {606, 155},
                                {471, 194, 282, 191},
                                146,
                                {471, 428},
                                {571, 428},
                                {670, 428}};
    return compactScreen ? compact : large;
}

constexpr QSize kButtonSize{84, 38};
constexpr int kFieldHeight = 22;

widgets::RichTextEdit* makeBox(QWidget* parent, const char* name) {
    auto* box = new widgets::RichTextEdit(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

// A box the candidate did not touch keeps the bank's bytes as they were.
QByteArray textOf(const widgets::RichTextEdit* box, const QByteArray& stored) {
    return box->document()->isModified() ? box->rtf() : stored;
}

}  // namespace

TfrmTedit::TfrmTedit(store::TDM1& dm, const QString& questionId, QWidget* parent)
    : aids::AidForm(parent, 0), dm_(dm), question_(LoadQuestionForEdit(dm, questionId)) {
    setObjectName(QStringLiteral("frmTedit"));
    setWindowTitle(QStringLiteral("试题修改"));
    setFont(widgets::PixelFont(12));
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel2 = new QFrame(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Sunken);

    LabelStem = aids::MakeLabel(Panel2, "LabelStem", QStringLiteral("试题内容："), 14);
    LabelExplanation =
        aids::MakeLabel(Panel2, "LabelExplanation", QStringLiteral("试题解析："), 14);
    RxDBRichEdit3 = makeBox(Panel2, "RxDBRichEdit3");
    RxDBRichEdit1 = makeBox(Panel2, "RxDBRichEdit1");
    RxDBRichEdit2 = makeBox(Panel2, "RxDBRichEdit2");
    fields_ = new QuestionFields(
        dm, Panel2,
        {QStringLiteral("备选个数："), QStringLiteral("答　　案："), QStringLiteral("题　　型："),
         QStringLiteral("对应考点："), kLimitText, false, true});

    const auto button = [this](const char* name, const QString& caption, auto handler) {
        auto* b = new widgets::EffectButton(caption, Panel2);
        b->setObjectName(QLatin1String(name));
        b->setFont(QFont(QStringLiteral("黑体")));
        QFont face = b->font();
        face.setPixelSize(16);
        b->setFont(face);
        connect(b, &QAbstractButton::clicked, this,
                [this, handler] { widgets::RunGuarded([this, handler] { (this->*handler)(); }); });
        return b;
    };
    SpeedButton4 = button("SpeedButton4", QStringLiteral("保存"), &TfrmTedit::SpeedButton4Click);
    SpeedButton3 = button("SpeedButton3", QStringLiteral("取消"), &TfrmTedit::SpeedButton3Click);
    SpeedButton2 =
        button("SpeedButton2", QStringLiteral("使用说明"), &TfrmTedit::SpeedButton2Click);

    const QuestionDraft& d = question_.draft;
    RxDBRichEdit1->setRtf(d.stem);
    RxDBRichEdit2->setRtf(d.explanation);
    RxDBRichEdit3->setRtf(question_.sharedStem);
    RxDBRichEdit3->setVisible(question_.isGrouped());
    fields_->SE_Num->setValue(d.choices);
    fields_->Edit1->setText(d.answer);
    fields_->LoadTypes();
    fields_->ShowType(d.typeId.value_or(0));
    fields_->setPoints(question_.pointLabels, d.ftids);
    applyLayout();
}

void TfrmTedit::FormShow() {
    applyLayout();
    RxDBRichEdit1->setFocus();
}

void TfrmTedit::applyLayout() {
    const Layout& l = layoutFor(qb::ScreenMode == QLatin1String("800"));
    setFixedSize(l.client);
    Panel1->setGeometry(QRect(QPoint(0, 0), l.client));
    Panel2->setGeometry(7, 7, l.client.width() - 16, l.client.height() - 14);
    LabelStem->move(12, 6);
    if (question_.isGrouped()) {
        RxDBRichEdit3->setGeometry(l.shared);
        RxDBRichEdit1->setGeometry(l.stem);
    } else {
        // The stem takes the shared stem's place as well.
        RxDBRichEdit1->setGeometry(l.shared.left(), l.shared.top(), l.shared.width(),
                                   l.stem.bottom() - l.shared.top() + 1 - 4);
    }
    LabelExplanation->move(l.explanationLabel);
    RxDBRichEdit2->setGeometry(l.explanation);
    QuestionFields& f = *fields_;
    f.choicesLabel->move(l.choicesLabel);
    f.SE_Num->setGeometry(QRect(l.choices, QSize(68, kFieldHeight)));
    f.answerLabel->move(l.answerLabel);
    f.Edit1->setGeometry(QRect(l.answer, QSize(l.fieldWidth, kFieldHeight)));
    f.typeLabel->move(l.typeLabel);
    f.ComboBox1->setGeometry(QRect(l.type, QSize(l.fieldWidth, kFieldHeight)));
    f.pointsLabel->move(l.pointsLabel);
    f.BtnAddFg->setGeometry(QRect(l.addPoint, QSize(89, 26)));
    f.ListBox1->setGeometry(l.points);
    SpeedButton4->setGeometry(QRect(l.save, kButtonSize));
    SpeedButton3->setGeometry(QRect(l.cancel, kButtonSize));
    SpeedButton2->setGeometry(QRect(l.help, kButtonSize));
}

void TfrmTedit::keyPressEvent(QKeyEvent* event) {
    // Escape would throw the edit away unasked.
    if (event->key() == Qt::Key_Escape) return;
    aids::AidForm::keyPressEvent(event);
}

bool TfrmTedit::SpeedButton4Click() {
    EditedQuestion edit = question_;
    QuestionDraft& d = edit.draft;
    d.stem = textOf(RxDBRichEdit1, question_.draft.stem);
    d.explanation = textOf(RxDBRichEdit2, question_.draft.explanation);
    d.explanationText = RxDBRichEdit2->contentText();
    if (edit.isGrouped()) edit.sharedStem = textOf(RxDBRichEdit3, question_.sharedStem);
    fields_->collect(d);
    if (!d.typeId) {
        widgets::ShowMessage(QStringLiteral("提示"), QStringLiteral("请选择题型！"),
                             widgets::MessageIcon::Information);
        fields_->ComboBox1->setFocus();
        return false;
    }
    try {
        SaveQuestionEdit(dm_, edit);
    } catch (const std::exception& e) {
        ReportSaveFailure(e);
        return false;
    }
    question_ = edit;
    accept();
    return true;
}

void TfrmTedit::SpeedButton3Click() {
    reject();
}

void TfrmTedit::SpeedButton2Click() {
    knowledge::ShowEntryInstructions(dm_, this);
}

}  // namespace authoring
