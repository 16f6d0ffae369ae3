#include "Uprogress.h"

#include "ModalForm.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace app {

TFrmProgress::TFrmProgress(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("FrmProgress"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(358, 63);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(193, 209, 227));
    setPalette(pal);
    setCursor(Qt::WaitCursor);
    Label1 = new QLabel(QStringLiteral("请等待..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(widgets::PixelFont(16, true));
    Label1->setStyleSheet(QStringLiteral("color: #800000;"));
    Label1->setGeometry(16, 24, 330, 20);
}

void TFrmProgress::ShowStep(const QString& text) {
    if (!isVisible()) {
        widgets::CentreOnDesktop(this);
        show();
        raise();
    }
    Label1->setText(text);
    repaint();
    // Let the text appear before the long step takes the thread.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFrmProgress::HideProgress() {
    hide();
}

QString TFrmProgress::text() const {
    return Label1->text();
}

}  // namespace app
