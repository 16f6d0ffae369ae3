#include "Uabout.h"

#include "EffectButton.h"
#include "Globals.h"
#include "ModalForm.h"

#include <QPainter>

namespace aids {

TFrmAbout::TFrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("关于"));
    setFixedSize(kSize);
    setFont(widgets::PixelFont(14));
    picture_.load(qb::ProgramFolder + QStringLiteral("pic/about.bmp"));

    epEfTrBtn1 = new widgets::EffectButton(QStringLiteral("关 闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setFont(widgets::PixelFont(15, true));
    epEfTrBtn1->setGeometry(312, 202, 75, 25);
    epEfTrBtn1->setCursor(Qt::PointingHandCursor);
    connect(epEfTrBtn1, &QAbstractButton::clicked, this, &QDialog::accept);
    widgets::CentreOnDesktop(this);
    FrmAbout = this;
}

TFrmAbout::~TFrmAbout() {
    if (FrmAbout == this) FrmAbout = nullptr;
}

void TFrmAbout::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (hasPicture()) p.drawPixmap(rect(), picture_);
}

}  // namespace aids
