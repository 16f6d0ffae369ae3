#include "Ustxz.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "FlatButton.h"
#include "Guard.h"
#include "ModalForm.h"
#include "Prompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>

namespace upgrade {
namespace {

const QColor kPaleBlueGrey(193, 209, 227);

QString chooseWithDialog(QWidget* owner) {
    // The upgrade files are SQLite files like the bank (".db"); any other name can be
    // picked under "all files". No folder is preset.
    return QFileDialog::getOpenFileName(owner, QStringLiteral("打开"), QString(),
                                        QStringLiteral("升级文件(*.db);;所有文件(*)"));
}

}  // namespace

Tfrmstxz::Tfrmstxz(store::TDM1& dm, QWidget* parent)
    : QDialog(parent), dm_(dm), chooseFile_(chooseWithDialog) {
    setObjectName(QStringLiteral("frmstxz"));
    setWindowTitle(QStringLiteral("题库升级"));
    // A fixed frame with its caption and no system buttons: the window closes by "关闭".
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kPaleBlueGrey);
    setPalette(pal);
    setFont(widgets::PixelFont(14));

    Label1 = new QLabel(QStringLiteral("建议先下载升级题库，然后选择本地升级！"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 290, 18);

    RadioGroup1 = new QGroupBox(QStringLiteral("选择升级方式"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(8, 30, 289, 46);
    RadioLocal = new QRadioButton(QStringLiteral("本地升级"), RadioGroup1);
    RadioLocal->setObjectName(QStringLiteral("RadioGroup1Item0"));
    RadioLocal->setGeometry(12, 20, 120, 20);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 85, 258, 24);
    SpeedButton1 =
        new widgets::FlatButton(style()->standardIcon(QStyle::SP_DirOpenIcon), QString(), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(270, 85, 27, 24);
    SpeedButton1->setToolTip(QStringLiteral("选择升级文件"));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(8, 113, 289, 8);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();

    epFocusButton1 = new widgets::EffectButton(QStringLiteral("开始升级"), this);
    epFocusButton1->setObjectName(QStringLiteral("epFocusButton1"));
    epFocusButton1->setGeometry(64, 124, 80, 26);
    epFocusButton3 = new widgets::EffectButton(QStringLiteral("关闭"), this);
    epFocusButton3->setObjectName(QStringLiteral("epFocusButton3"));
    epFocusButton3->setGeometry(160, 124, 80, 26);
    for (QWidget* b : {static_cast<QWidget*>(SpeedButton1), static_cast<QWidget*>(epFocusButton1),
                       static_cast<QWidget*>(epFocusButton3)}) {
        b->setCursor(Qt::PointingHandCursor);
    }

    connect(SpeedButton1, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { SpeedButton1Click(); }); });
    connect(epFocusButton1, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { epFocusButton1Click(); }); });
    connect(epFocusButton3, &QAbstractButton::clicked, this, &QDialog::accept);
    frmstxz = this;
}

Tfrmstxz::~Tfrmstxz() {
    if (frmstxz == this) frmstxz = nullptr;
}

void Tfrmstxz::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) widgets::RunGuarded([this] { FormShow(); });
}

void Tfrmstxz::FormShow() {
    RadioLocal->setChecked(true);
    widgets::CentreOnDesktop(this);
}

void Tfrmstxz::SpeedButton1Click() {
    const QString chosen = chooseFile_ ? chooseFile_(this) : QString();
    if (!chosen.isEmpty()) Edit1->setText(chosen);
}

void Tfrmstxz::showProgress(int step, int total) {
    ProgressBar1->setRange(0, total);
    ProgressBar1->setValue(step - 1);
    ProgressBar1->show();
    // Let the bar be drawn between the steps; the buttons are off meanwhile.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Tfrmstxz::epFocusButton1Click() {
    for (QWidget* w : {static_cast<QWidget*>(epFocusButton1), static_cast<QWidget*>(epFocusButton3),
                       static_cast<QWidget*>(SpeedButton1), static_cast<QWidget*>(Edit1)}) {
        w->setEnabled(false);
    }
    widgets::SetBusyCursor();
    const auto restore = [this] {
        widgets::SetNormalCursor();
        ProgressBar1->hide();
        for (QWidget* w :
             {static_cast<QWidget*>(epFocusButton1), static_cast<QWidget*>(epFocusButton3),
              static_cast<QWidget*>(SpeedButton1), static_cast<QWidget*>(Edit1)}) {
            w->setEnabled(true);
        }
    };
    try {
        last_ = StartUpgrade(dm_, Edit1->text(),
                             [this](int step, int total) { showProgress(step, total); });
    } catch (...) {
        restore();
        throw;
    }
    restore();
    const OutcomeMessage m = MessageFor(last_.outcome);
    widgets::ShowPromptBox(m.caption, m.text, 1, QStringLiteral("NO"), m.picture);
}

void Tfrmstxz::FormClose() {
    dm_.Cn2Query1.close();
    dm_.ADOCn2.close();
}

void Tfrmstxz::done(int result) {
    widgets::RunGuarded([this] { FormClose(); });
    QDialog::done(result);
}

}  // namespace upgrade
