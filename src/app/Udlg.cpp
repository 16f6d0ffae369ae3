#include "Udlg.h"

#include "Globals.h"
#include "ModalForm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include "ShapeButton.h"

#include <QAbstractButton>
#include <QScreen>
#include <QStackedWidget>

namespace app {
namespace {

const QColor kBoxColor(152, 180, 209);

QPixmap loadPicture(const char* name) {
    return QPixmap(qb::ProgramFolder + QStringLiteral("pic/") + QLatin1String(name));
}

// A drawn stand-in when a picture file is missing: the box must still speak.
QPixmap fallbackIcon(int page) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(40, 110, 200), QColor(230, 170, 20), QColor(200, 40, 40)};
    p.setBrush(colours[page]);
    p.setPen(Qt::NoPen);
    p.drawEllipse(2, 2, 28, 28);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("黑体"));
    f.setPixelSize(20);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter,
               page == 0   ? QStringLiteral("i")
               : page == 1 ? QStringLiteral("!")
                           : QStringLiteral("×"));
    return pm;
}

}  // namespace

TFrmDlg::TFrmDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmDlg"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    setFixedSize(kDesignedWidth, kHeight);
    setFont(widgets::PixelFont(14));
    background_ = loadPicture("dlgback.bmp");
    titleStrip_ = loadPicture("dlgtitle.bmp");

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 0, 300, 25);
    Label1->setStyleSheet(QStringLiteral("color: white; font-style: italic;"));

    fcLabel1 = new QLabel(this);
    fcLabel1->setObjectName(QStringLiteral("fcLabel1"));
    fcLabel1->setGeometry(56, 32, kDesignedWidth - 64, 44);
    fcLabel1->setWordWrap(true);
    fcLabel1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    epNoteBook1 = new QStackedWidget(this);
    epNoteBook1->setObjectName(QStringLiteral("epNoteBook1"));
    epNoteBook1->setGeometry(8, 32, 32, 32);
    const char* icons[] = {"icon_notice.bmp", "icon_warning.bmp", "icon_error.bmp"};
    const char* pages[] = {"提示", "警告", "错误"};
    for (int i = 0; i < 3; ++i) {
        auto* page = new QLabel(epNoteBook1);
        page->setObjectName(QString::fromUtf8(pages[i]));
        const QPixmap icon = loadPicture(icons[i]);
        page->setPixmap(icon.isNull() ? fallbackIcon(i) : icon);
        epNoteBook1->addWidget(page);
    }

    fcShapeBtn1 = makeButton("fcShapeBtn1", 64, 1);
    fcShapeBtn3 = makeButton("fcShapeBtn3", 160, 3);
    fcShapeBtn2 = makeButton("fcShapeBtn2", 256, 2);
}

QAbstractButton* TFrmDlg::makeButton(const char* name, int left, int result) {
    auto* b = new widgets::ShapeButton(QString(), this);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(left, 80, 73, 25);
    b->setCursor(Qt::PointingHandCursor);
    connect(b, &QAbstractButton::clicked, this, [this, result] {
        closingByButton_ = true;
        done(result);
        closingByButton_ = false;
    });
    return b;
}

QAbstractButton* TFrmDlg::firstVisibleButton() const {
    for (QAbstractButton* b : {fcShapeBtn1, fcShapeBtn3, fcShapeBtn2}) {
        if (b->isVisibleTo(this)) return b;
    }
    return nullptr;
}

void TFrmDlg::Prepare(const QString& caption, const QString& text, int kind, const QString& mode,
                      int picture) {
    setFixedWidth(kDesignedWidth);
    setWindowTitle(caption);
    Label1->setText(caption);
    fcLabel1->setText(text);
    switch (kind) {
        case 0:
            fcShapeBtn1->setVisible(true);
            fcShapeBtn2->setVisible(true);
            fcShapeBtn3->setVisible(false);
            break;
        case 1:
            fcShapeBtn1->setVisible(false);
            fcShapeBtn2->setVisible(false);
            fcShapeBtn3->setVisible(true);
            break;
        case 2:
            fcShapeBtn1->setVisible(true);
            fcShapeBtn2->setVisible(true);
            fcShapeBtn3->setVisible(true);
            break;
        case 3:
            fcShapeBtn1->setVisible(true);
            fcShapeBtn2->setVisible(false);
            fcShapeBtn3->setVisible(false);
            setFixedWidth(200);
            break;
        default:
            break;  // the buttons stay as the last showing left them
    }
    fcLabel1->setFixedWidth(width() - 64);
    if (picture >= 0 && picture <= 2) epNoteBook1->setCurrentIndex(picture);
    const bool exam = mode == QLatin1String("Exam");
    fcShapeBtn1->setText(QStringLiteral("确定"));
    fcShapeBtn2->setText(exam ? QStringLiteral("作废") : QStringLiteral("取消"));
    fcShapeBtn3->setText(exam ? QStringLiteral("取消") : QStringLiteral("确定"));
    // The first visible button takes the keyboard (Enter and space).
    if (QAbstractButton* first = firstVisibleButton()) first->setFocus();
    widgets::CentreOnDesktop(this);
}

int TFrmDlg::ShowPromptBox(const QString& caption, const QString& text, int kind,
                           const QString& mode, int picture) {
    Prepare(caption, text, kind, mode, picture);
    return exec();
}

void TFrmDlg::keyPressEvent(QKeyEvent* event) {
    // No system buttons and no Escape: the box closes only through its buttons.
    if (event->key() == Qt::Key_Escape) return;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto* focused = qobject_cast<QAbstractButton*>(focusWidget());
        if (focused == nullptr || !focused->isVisibleTo(this)) focused = firstVisibleButton();
        if (focused != nullptr) focused->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmDlg::closeEvent(QCloseEvent* event) {
    if (!closingByButton_) event->ignore();
}

void TFrmDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!background_.isNull()) {
        p.drawPixmap(rect(), background_, QRect(0, 0, width(), height()));
    } else {
        p.fillRect(rect(), kBoxColor);
    }
    const QRect strip(0, 0, width(), 25);
    if (!titleStrip_.isNull()) {
        p.drawPixmap(strip, titleStrip_, QRect(0, 0, width(), 25));
    } else {
        QLinearGradient g(0, 0, 0, 25);
        g.setColorAt(0, QColor(70, 110, 160));
        g.setColorAt(1, QColor(40, 80, 130));
        p.fillRect(strip, g);
    }
    p.setPen(QColor(40, 70, 110));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

int WindowPromptService::promptBox(const QString& caption, const QString& text, int kind,
                                   const QString& mode, int picture) {
    if (!dialog_->isVisible()) return dialog_->ShowPromptBox(caption, text, kind, mode, picture);
    // A prompt asked while the box is up (a timer's, say) gets a box of its own: the
    // first keeps its text and buttons, and each caller gets its own answer.
    TFrmDlg second(dialog_->parentWidget());
    return second.ShowPromptBox(caption, text, kind, mode, picture);
}

widgets::MessageResult WindowPromptService::messageBox(const QString& caption, const QString& text,
                                                       widgets::MessageIcon icon,
                                                       widgets::MessageButtons buttons) {
    QMessageBox::Icon qicon = QMessageBox::Information;
    switch (icon) {
        case widgets::MessageIcon::Information:
            qicon = QMessageBox::Information;
            break;
        case widgets::MessageIcon::Warning:
            qicon = QMessageBox::Warning;
            break;
        case widgets::MessageIcon::Critical:
            qicon = QMessageBox::Critical;
            break;
        case widgets::MessageIcon::Question:
            qicon = QMessageBox::Question;
            break;
    }
    QMessageBox box(qicon, caption, text,
                    buttons == widgets::MessageButtons::OkCancel
                        ? QMessageBox::Ok | QMessageBox::Cancel
                        : QMessageBox::Ok);
    return box.exec() == QMessageBox::Cancel ? widgets::MessageResult::Cancel
                                             : widgets::MessageResult::Ok;
}

}  // namespace app
