#include "Ubj.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "Globals.h"
#include "InputMethods.h"
#include "ModalForm.h"
#include "Prompt.h"
#include "WindowLook.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace aids {

TFrmBj::TFrmBj(store::TDM1& dm, NoteOrigin origin, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmBj"));
    makeFixedToolWindow(this, QStringLiteral("笔记"), kWidth, kHeight);
    setFont(widgets::PixelFont(14));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->hide();

    DBMemo1 = new QPlainTextEdit(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setGeometry(8, 8, kWidth - 16, kHeight - 53);
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBMemo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    DBMemo1->setTabChangesFocus(true);

    epEfTrBtn1 = new widgets::EffectButton(QStringLiteral("关  闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setGeometry(kWidth - 8 - 75, kHeight - 37, 75, 25);
    epEfTrBtn1->setCursor(Qt::PointingHandCursor);
    connect(epEfTrBtn1, &QAbstractButton::clicked, this, &QDialog::accept);

    const bool exam = origin == NoteOrigin::Exam;
    Label1->setText(exam ? QStringLiteral("ks") : QStringLiteral("lx"));
    Bind(exam ? dm.Cn1DS_exam : dm.Cn1DS_tm, QStringLiteral("A14"));
    FrmBj = this;
}

TFrmBj::~TFrmBj() {
    if (FrmBj == this) FrmBj = nullptr;
}

void TFrmBj::Bind(store::DataSource& source, const QString& column) {
    const bool bound = binding_.Bind(*source.dataset(), column);
    DBMemo1->setPlainText(bound ? binding_.text() : QString());
    DBMemo1->setReadOnly(!bound);
    DBMemo1->moveCursor(QTextCursor::End);
}

bool TFrmBj::Open(store::TDM1& dm, NoteOrigin origin, QWidget* parent) {
    TFrmBj window(dm, origin, parent);
    window.exec();
    return qb::NoteFilled;
}

void TFrmBj::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFrmBj::FormShow() {
    // Nothing is installed to choose from here, so the memo keeps the input
    // method the user has; a preference would be handed to the desktop.
    inputMethod_ = PreferredNoteInputMethod(InstalledInputMethods());
    DBMemo1->setFocus();
}

bool TFrmBj::SaveNote() {
    try {
        binding_.Save(DBMemo1->toPlainText());
        return true;
    } catch (const std::exception&) {
        widgets::ShowPromptBox(QStringLiteral("错误"),
                               QStringLiteral("笔记未能保存，内容仍在窗口中，请稍后再关闭！"), 1,
                               QStringLiteral("NO"), widgets::kPictureError);
        DBMemo1->setFocus();
        return false;
    }
}

void TFrmBj::done(int result) {
    if (!SaveNote()) return;
    QDialog::done(result);
}

}  // namespace aids
