#include "Ueset.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "ExamSettings.h"
#include "ModalForm.h"
#include "Prompt.h"
#include "Skin.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QShowEvent>

#include <functional>

namespace exam {
namespace {

namespace skin = widgets::skin;

constexpr int kTitleHeight = 26;
const QString kTitle = QStringLiteral("考试设置");

QLineEdit* makeNumberField(QWidget* parent, const char* name, const QString& hint) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(kFieldDigits);
    // Digits only, so that what is typed is always a number once it is not empty.
    e->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}").arg(kFieldDigits)), e));
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setToolTip(hint);
    return e;
}

QLabel* makeHint(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor::fromRgb(skin::kDialogTitle));
    l->setPalette(p);
    return l;
}

}  // namespace

TFrmEset::TFrmEset(store::TDM1& dm, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), dm_(dm) {
    setObjectName(QStringLiteral("FrmEset"));
    setWindowTitle(kTitle);
    setFixedSize(kSize);
    setFont(widgets::PixelFont(12));

    CheckBox1 = new QCheckBox(QStringLiteral("保留试卷最低分数"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(QStringLiteral("模拟考试答题时间"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    Edit1 = makeNumberField(this, "Edit1", QStringLiteral("与试卷总分数相关"));
    Edit2 = makeNumberField(this, "Edit2", QStringLiteral("（单位：分钟）"));
    Label1 = makeHint(this, "Label1", QStringLiteral("与试卷总分数相关"));
    Label2 = makeHint(this, "Label2", QStringLiteral("（单位：分钟）"));
    Button1 = new widgets::EffectButton(QStringLiteral("默认"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(QStringLiteral("先选择要恢复默认值的项"));
    Button2 = new widgets::EffectButton(QStringLiteral("关闭"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setToolTip(QStringLiteral("保存后退出本界面"));

    const int row1 = kTitleHeight + 14;
    const int row2 = row1 + 34;
    CheckBox1->setGeometry(22, row1, 136, 22);
    Edit1->setGeometry(160, row1, 48, 22);
    Label1->setGeometry(216, row1, 130, 22);
    CheckBox2->setGeometry(22, row2, 136, 22);
    Edit2->setGeometry(160, row2, 48, 22);
    Label2->setGeometry(216, row2, 130, 22);
    Button1->setGeometry(84, 118, 76, 28);
    Button2->setGeometry(200, 118, 76, 28);

    connect(Edit1, &QLineEdit::textChanged, this,
            [this] { widgets::RunGuarded([this] { Edit1Change(); }); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBoxClick(); });
    connect(CheckBox2, &QCheckBox::clicked, this, [this] { CheckBoxClick(); });
    connect(Button1, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { Button1Click(); }); });
    connect(Button2, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { Button2Click(); }); });
}

TFrmEset::~TFrmEset() = default;

void TFrmEset::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) widgets::RunGuarded([this] { FormShow(); });
}

void TFrmEset::FormShow() {
    const ExamSettingsText fields = ReadExamSettings(dm_.Cn1Table_plan);
    {
        // The check runs once below whether or not the text differs from before.
        const QSignalBlocker block(Edit1);
        Edit1->setText(fields.leastMark);
    }
    Edit1Change();
    Edit2->setText(fields.minutes);
}

void TFrmEset::Edit1Change() {
    if (correcting_) return;
    const int total = dm_.TypeScoreTotal();
    const LeastMarkCheck check = CheckLeastMark(Edit1->text(), total);
    if (check.text == Edit1->text()) return;
    correcting_ = true;
    Edit1->setText(check.text);
    correcting_ = false;
    if (check.aboveTotal) {
        widgets::ShowMessage(QStringLiteral("提示"), QStringLiteral("最低分数不能超过总分数！"),
                             widgets::MessageIcon::Information);
        Edit1->setFocus();
    } else {
        // The "0" put into an emptied field is replaced by the next digit typed.
        Edit1->selectAll();
    }
}

void TFrmEset::CheckBoxClick() {
    Button1->setEnabled(CheckBox1->isChecked() || CheckBox2->isChecked());
}

void TFrmEset::Button1Click() {
    if (CheckBox1->isChecked())
        Edit1->setText(QString::number(DefaultLeastMark(dm_.TypeScoreTotal())));
    if (CheckBox2->isChecked()) Edit2->setText(kDefaultExamMinutes);
}

void TFrmEset::Button2Click() {
    if (!SaveExamSettings(dm_.Cn1Table_plan, {Edit1->text(), Edit2->text()})) {
        widgets::ShowMessage(QStringLiteral("警告"), QStringLiteral("保存设置失败！"),
                             widgets::MessageIcon::Critical);
    }
    close();
}

void TFrmEset::FormClose() {
    if (dm_.Cn1Table_plan.isActive()) dm_.Cn1Table_plan.close();
}

void TFrmEset::done(int result) {
    widgets::RunGuarded([this] { FormClose(); });
    QDialog::done(result);
}

void TFrmEset::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(0, 0, 0, height());
    body.setColorAt(0, QColor::fromRgb(skin::kWindow));
    body.setColorAt(1, QColor::fromRgb(skin::kPanel));
    p.fillRect(rect(), body);

    // The window has no frame of its own: a title strip and a border stand in.
    const QRect strip(0, 0, width(), kTitleHeight);
    QLinearGradient title(0, 0, 0, kTitleHeight);
    title.setColorAt(0, QColor::fromRgb(skin::kDialogBack));
    title.setColorAt(1, QColor::fromRgb(skin::kDialogTitle));
    p.fillRect(strip, title);
    QFont titleFont = widgets::PixelFont(14);
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.setPen(Qt::white);
    p.drawText(strip.adjusted(12, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, kTitle);

    p.setPen(QPen(QColor::fromRgb(skin::kBorder), 1));
    p.drawLine(16, 106, width() - 16, 106);
    p.setPen(QPen(QColor::fromRgb(skin::kDarkBorder), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace exam
