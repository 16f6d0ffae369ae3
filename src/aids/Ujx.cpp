#include "Ujx.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "Explanation.h"
#include "ModalForm.h"
#include "WindowLook.h"

#include <QApplication>
#include <QTextEdit>

namespace aids {

TFrmJx::TFrmJx(store::TDM1& dm, ExplanationSource source, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmJx"));
    makeFixedToolWindow(this, QStringLiteral("解析"), kWidth, kHeight);
    setFont(widgets::PixelFont(14));

    Re = new QTextEdit(this);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setGeometry(8, 8, kWidth - 16, kHeight - 53);
    Re->setFont(widgets::PixelFont(16));
    Re->document()->setDefaultFont(widgets::PixelFont(16));
    Re->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    epEfTrBtn1 = new widgets::EffectButton(QStringLiteral("关闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setGeometry(kWidth - 8 - 75, kHeight - 37, 75, 25);
    epEfTrBtn1->setCursor(Qt::PointingHandCursor);
    connect(epEfTrBtn1, &QAbstractButton::clicked, this, &QDialog::accept);

    Bind(source == ExplanationSource::Exam ? static_cast<store::Dataset&>(dm.Cn1Query_exam)
                                           : static_cast<store::Dataset&>(dm.cn1query_nr),
         QStringLiteral("jx"));
    FrmJx = this;
}

TFrmJx::~TFrmJx() {
    if (FrmJx == this) FrmJx = nullptr;
}

void TFrmJx::Bind(store::Dataset& dataset, const QString& column) {
    LoadExplanation(dataset, column, Re->document());
}

void TFrmJx::Open(store::TDM1& dm, ExplanationSource source, QWidget* parent) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TFrmJx window(dm, source, parent);
    window.exec();
}

void TFrmJx::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFrmJx::FormShow() {
    // The opener set the busy cursor for the loading; it ends here.
    if (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    Re->setReadOnly(true);
}

}  // namespace aids
