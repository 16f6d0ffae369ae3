#include "UselectFg.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "Guard.h"
#include "ModalForm.h"
#include "Prompt.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QShowEvent>
#include <QStackedWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace knowledge {
namespace {

const QString kPrompt = QStringLiteral("提示");

QLabel* heading(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    l->setFont(widgets::PixelFont(20, true));
    l->setStyleSheet(QStringLiteral("color: #3f6a98;"));
    return l;
}

widgets::EffectButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new widgets::EffectButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setFixedSize(75, 25);
    return b;
}

}  // namespace

const QStringList& TFrmSelectFG::InstructionLines() {
    static const QStringList lines{
        QStringLiteral("使用方法如下："),
        QString(),
        QStringLiteral("   首先将试题的内容填写在试题内容框内，这是必须填写项，如果试题有对应的"),
        QStringLiteral("讲解，请把内容填写进解析框内。"),
        QString(),
        QStringLiteral("   然后选择或录入待选答案的个数，主要是选择题，例如试题："),
        QString(),
        QStringLiteral("   7月有几天？"),
        QStringLiteral("   A. 30"),
        QStringLiteral("   B. 28"),
        QStringLiteral("   C. 31"),
        QStringLiteral("   "),
        QStringLiteral("   这里的待选答案是A B C，共为3个，也就是我们这里的待选答案个数为3。"),
        QStringLiteral("   "),
        QStringLiteral("   接下来填入答案："),
        QStringLiteral("   如果是单选，例如上面的试题，就填写C；"),
        QStringLiteral("   如果是多选把答案直接填入框内。例如答案是ABD那么答案框内就写ABD；"),
        QStringLiteral("   如果是判断题则答案正确填写A，答案错误填写B；"),
        QStringLiteral("   如果试题是主观题，则把实际答案同解析内容一起填入解析栏中。答案框中自"),
        QStringLiteral("动填写1；"),
        QString(),
    };
    return lines;
}

TFrmSelectFG::TFrmSelectFG(store::TDM1& dm, QWidget* parent)
    : QDialog(parent), picker_(dm.m_query) {
    setObjectName(QStringLiteral("FrmSelectFG"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("欢迎"));
    setFont(widgets::PixelFont(14));
    setFixedSize(kClientSize);

    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(Notebook1);

    auto* pick = new QWidget;
    ComboBox1 = new QComboBox(pick);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    CheckListBox1 = new QListWidget(pick);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    epEfButton1 = button("epEfButton1", QStringLiteral("确定"), pick);
    epEfButton2 = button("epEfButton2", QStringLiteral("关闭"), pick);
    auto* pickButtons = new QHBoxLayout;
    pickButtons->addStretch(1);
    pickButtons->addWidget(epEfButton1);
    pickButtons->addWidget(epEfButton2);
    auto* pickColumn = new QVBoxLayout(pick);
    pickColumn->setContentsMargins(16, 10, 16, 12);
    pickColumn->addWidget(heading(QStringLiteral("考 点 选 择"), pick));
    pickColumn->addWidget(new QLabel(QStringLiteral("考点："), pick));
    pickColumn->addWidget(ComboBox1);
    pickColumn->addWidget(new QLabel(QStringLiteral("条文："), pick));
    pickColumn->addWidget(CheckListBox1, 1);
    pickColumn->addLayout(pickButtons);
    Notebook1->addWidget(pick);

    auto* help = new QWidget;
    Memo1 = new QTextEdit(help);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFont(widgets::PixelFont(14));
    // The lines break where they were written to break; the margins are thin so
    // that the longest of them fits beside the scroll bar.
    Memo1->setLineWrapMode(QTextEdit::NoWrap);
    Memo1->document()->setDocumentMargin(2);
    Memo1->setPlainText(InstructionLines().join(u'\n'));
    epEfButton3 = button("epEfButton3", QStringLiteral("关闭"), help);
    auto* helpColumn = new QVBoxLayout(help);
    helpColumn->setContentsMargins(4, 10, 4, 12);
    helpColumn->addWidget(heading(QStringLiteral("使 用 说 明"), help));
    helpColumn->addWidget(Memo1, 1);
    helpColumn->addWidget(epEfButton3, 0, Qt::AlignRight);
    Notebook1->addWidget(help);

    connect(ComboBox1, &QComboBox::activated, this,
            [this](int index) { widgets::RunGuarded([this, index] { ComboBox1Change(index); }); });
    connect(CheckListBox1, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { CheckListBox1ClickCheck(CheckListBox1->row(item)); });
    connect(epEfButton1, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { epEfButton1Click(); }); });
    connect(epEfButton2, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(epEfButton3, &QAbstractButton::clicked, this, &QDialog::reject);
    FrmSelectFG = this;
}

TFrmSelectFG::~TFrmSelectFG() {
    if (FrmSelectFG == this) FrmSelectFG = nullptr;
}

void TFrmSelectFG::setPage(int page) {
    Notebook1->setCurrentIndex(page);
}

void TFrmSelectFG::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    widgets::CentreOnDesktop(this);
    if (loaded_ || Notebook1->currentIndex() != 0) return;
    loaded_ = true;
    widgets::RunGuarded([this] {
        picker_.Open();
        ComboBox1->clear();
        ComboBox1->addItems(picker_.chapterNames());
        ComboBox1->setCurrentIndex(picker_.chapter());
        fillPoints();
    });
}

void TFrmSelectFG::ComboBox1Change(int index) {
    if (index < 0) return;
    picker_.ChooseChapter(index, callerFtids_);
    fillPoints();
}

void TFrmSelectFG::fillPoints() {
    const QSignalBlocker quiet(CheckListBox1);
    CheckListBox1->clear();
    for (int i = 0; i < picker_.pointNames().size(); ++i) {
        auto* item = new QListWidgetItem(picker_.pointNames()[i], CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(picker_.ticks()[i] ? Qt::Checked : Qt::Unchecked);
    }
    if (CheckListBox1->count() > 0) CheckListBox1->setCurrentRow(0);
}

void TFrmSelectFG::CheckListBox1ClickCheck(int index) {
    if (QListWidgetItem* item = CheckListBox1->item(index)) {
        picker_.setTick(index, item->checkState() == Qt::Checked);
    }
}

void TFrmSelectFG::epEfButton1Click() {
    if (const auto refusal = picker_.Refusal(static_cast<int>(callerFtids_.size()))) {
        widgets::ShowMessage(kPrompt, *refusal, widgets::MessageIcon::Information);
        return;
    }
    accept();
}

int AddPointsWithPicker(store::TDM1& dm, QuestionPointLinks& links, const QString& limitText,
                        QWidget* caller) {
    if (links.isFull()) {
        widgets::ShowMessage(kPrompt, limitText, widgets::MessageIcon::Information);
        return 0;
    }
    TFrmSelectFG picker(dm, caller);
    picker.setPage(0);
    picker.setCallerPoints(links.ftids);
    if (picker.exec() != QDialog::Accepted) return 0;
    return links.AddPicked(picker.picker());
}

void ShowEntryInstructions(store::TDM1& dm, QWidget* caller) {
    TFrmSelectFG help(dm, caller);
    help.setPage(1);
    help.exec();
}

}  // namespace knowledge
