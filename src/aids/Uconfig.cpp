#include "Uconfig.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "Globals.h"
#include "ModalForm.h"
#include "PaperMaker.h"
#include "Prompt.h"
#include "Skin.h"
#include "WindowLook.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QShowEvent>

namespace aids {
namespace {

const QColor kPaleBlueGrey(222, 230, 240);

}  // namespace

OnOffSwitch::OnOffSwitch(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
}

void OnOffSwitch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal r = track.height() / 2;
    p.setPen(QColor::fromRgb(widgets::skin::kDarkBorder));
    p.setBrush(isChecked() ? QColor(100, 203, 37) : QColor(190, 196, 204));
    p.drawRoundedRect(track, r, r);
    p.setFont(widgets::PixelFont(12, true));
    p.setPen(Qt::white);
    const QRectF knob(isChecked() ? track.right() - 2 * r : track.left(), track.top(), 2 * r,
                      2 * r);
    const QRectF words =
        isChecked() ? track.adjusted(4, 0, -2 * r, 0) : track.adjusted(2 * r, 0, -4, 0);
    p.drawText(words, Qt::AlignCenter, isChecked() ? QStringLiteral("开") : QStringLiteral("关"));
    p.setBrush(Qt::white);
    p.setPen(QColor::fromRgb(widgets::skin::kBorder));
    p.drawEllipse(knob.adjusted(1, 1, -1, -1));
}

TFrmConfig::TFrmConfig(store::TDM1& dm, MusicControl music, QWidget* parent)
    : AidForm(parent, 0), dm_(dm), music_(std::move(music)) {
    setObjectName(QStringLiteral("FrmConfig"));
    setWindowTitle(QStringLiteral("系统设置"));
    setFont(widgets::PixelFont(14));
    mode_ = qb::ConfigMode == 1 ? 1 : 0;
    setFixedSize(kWidth, mode_ == 1 ? kAnswerTimeHeight : kMusicHeight);

    Label1 = MakeLabel(this, "Label1", QStringLiteral("背景音乐"), 14);
    Label1->setGeometry(16, 24, 72, 18);
    RxSwitch1 = new OnOffSwitch(this);
    RxSwitch1->setObjectName(QStringLiteral("RxSwitch1"));
    RxSwitch1->setGeometry(96, 18, 56, 24);
    RxSwitch1->setChecked(true);
    Label5 = MakeLabel(this, "Label5", QStringLiteral("声音列表"), 14);
    Label5->setGeometry(16, 60, 72, 18);
    FlatComboBox1 = new QComboBox(this);
    FlatComboBox1->setObjectName(QStringLiteral("FlatComboBox1"));
    FlatComboBox1->setGeometry(93, 58, 248, 22);
    for (int i = 1; i <= 6; ++i)
        FlatComboBox1->addItem(QStringLiteral("乐曲%1").arg(i, 2, 10, QLatin1Char('0')));
    FlatComboBox1->setCurrentIndex(-1);
    epFocusButton3 = new widgets::EffectButton(QStringLiteral("关闭"), this);
    epFocusButton3->setObjectName(QStringLiteral("epFocusButton3"));
    epFocusButton3->setGeometry(270, 23, 70, 24);
    Label4 = MakeLabel(this, "Label4", QStringLiteral("答题时间设置"), 14);
    Label4->setGeometry(8, 112, 90, 18);
    LabelKind = MakeLabel(this, "LabelKind", QString(), 14);
    LabelKind->setGeometry(98, 112, kWidth - 104, 18);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(9, 136, 345, 168);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* lines = new QWidget;
    lines->setObjectName(QStringLiteral("ScrollBox1Lines"));
    lines->setAutoFillBackground(true);
    QPalette white = lines->palette();
    white.setColor(QPalette::Window, Qt::white);
    lines->setPalette(white);
    ScrollBox1->setWidget(lines);

    connect(RxSwitch1, &QAbstractButton::clicked, this, [this](bool on) {
        widgets::RunGuarded([this, on] { on ? RxSwitch1On() : RxSwitch1Off(); });
    });
    connect(FlatComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { widgets::RunGuarded([this] { FlatComboBox1Change(); }); });
    connect(epFocusButton3, &QAbstractButton::clicked, this, &QDialog::accept);
    FrmConfig = this;
}

TFrmConfig::~TFrmConfig() {
    if (FrmConfig == this) FrmConfig = nullptr;
}

void TFrmConfig::ArrangeForAnswerTimes() {
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label5, RxSwitch1, FlatComboBox1})
        w->hide();
    Label4->move(Label4->x(), 4);
    LabelKind->move(LabelKind->x(), 4);
    ScrollBox1->setGeometry(ScrollBox1->x(), 22, ScrollBox1->width(), 110);
    epFocusButton3->move(280, 137);
}

void TFrmConfig::FormShow() {
    // Shown on whatever the music does; no switch event fires for this.
    RxSwitch1->setChecked(true);
    if (qb::CurrentKind == 0) qb::CurrentKind = 1;
    kind_ = qb::CurrentKind;
    if (mode_ == 1) {
        setFixedSize(kWidth, kAnswerTimeHeight);
        LabelKind->setText(QStringLiteral("（") + exam::KindTitle(kind_) + QStringLiteral("）"));
        addAnswerTimeLines();
    } else {
        setFixedSize(kWidth, kMusicHeight);
    }
}

void TFrmConfig::addAnswerTimeLines() {
    QWidget* box = ScrollBox1->widget();
    qDeleteAll(fields_);
    fields_.clear();
    lines_ = ReadAnswerTimes(dm_, kind_);
    for (int i = 0; i < lines_.size(); ++i) {
        auto* field = new QDoubleSpinBox(box);
        field->setObjectName(QStringLiteral("Currencyedit%1").arg(i + 1));
        field->setGeometry(100, i * 20 + 5, 40, 20);
        field->setButtonSymbols(QAbstractSpinBox::NoButtons);
        field->setDecimals(1);
        field->setRange(kMinAnswerMinutes, kMaxAnswerMinutes);
        field->setSingleStep(0.1);
        field->setValue(lines_[i].minutes);
        field->setProperty("tag", lines_[i].typeId);
        fields_ << field;
        QLabel* name = MakeLabel(box, "", lines_[i].name, 14);
        name->setGeometry(16, i * 20 + 8, 84, 25);
        name->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QLabel* unit = MakeLabel(box, "", QStringLiteral("分钟"), 14);
        unit->setGeometry(150, i * 20 + 8, 40, 25);
        unit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // Made while the window shows: they do not show by themselves.
        for (QWidget* w : std::initializer_list<QWidget*>{field, name, unit})
            w->show();
    }
    box->resize(ScrollBox1->viewport()->width(), lines_.size() * 20 + 10);
}

void TFrmConfig::RxSwitch1On() {
    if (FlatComboBox1->currentText().isEmpty())
        music_.setFile(MusicFileFor(qb::ProgramFolder, QStringLiteral("乐曲01")));
    music_.play(music_.file(), true);
}

void TFrmConfig::RxSwitch1Off() {
    music_.play(music_.file(), false);
}

void TFrmConfig::FlatComboBox1Change() {
    if (FlatComboBox1->currentIndex() < 0) return;
    music_.setFile(MusicFileFor(qb::ProgramFolder, FlatComboBox1->currentText()));
    // A piece chosen while the switch is off only stops what plays.
    music_.play(music_.file(), RxSwitch1->isChecked());
}

void TFrmConfig::FormClose() {
    if (mode_ != 1) return;
    QVector<AnswerTimeLine> typed;
    for (QDoubleSpinBox* field : std::as_const(fields_)) {
        field->interpretText();
        typed.push_back(
            {field->property("tag").toInt(), QString(), BoundAnswerMinutes(field->value())});
    }
    if (!SaveAnswerTimes(dm_, kind_, typed)) {
        widgets::ShowPromptBox(QStringLiteral("错误"), kSaveSettingsFailed, 1, QStringLiteral("NO"),
                               widgets::kPictureError);
    }
}

void TFrmConfig::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kPaleBlueGrey);
    p.setPen(QColor::fromRgb(widgets::skin::kDarkBorder));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace aids
