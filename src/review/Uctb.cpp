#include "Uctb.h"

#include "DataModule.h"
#include "EffectButton.h"
#include "Globals.h"
#include "ModalForm.h"
#include "PaperExport.h"
#include "PracticeLauncher.h"
#include "Prompt.h"
#include "RichText.h"
#include "WindowLook.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QScopeGuard>
#include <QShowEvent>
#include <QTableView>
#include <QTextBrowser>

namespace review {
namespace {

constexpr int kStrip = 34;
const QString kPrompt = QStringLiteral("提示");
const QColor kWrongColour(190, 30, 30);
const QColor kRightColour(20, 120, 40);

WrongBookExportHooks& exportHooks() {
    static WrongBookExportHooks installed{
        exam::DocumentsFolder, [](const QUrl& document) {
            // Without a word processor the document is still there: say where.
            if (!QDesktopServices::openUrl(document))
                widgets::ShowDocumentSavedAt(document.toLocalFile());
        }};
    return installed;
}

bool compactScreen() {
    return qb::ScreenMode == QLatin1String("800");
}

widgets::EffectButton* makeButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new widgets::EffectButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setFont(widgets::PixelFont(14));
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QComboBox* makeCombo(QWidget* parent, const char* name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setFont(widgets::PixelFont(13));
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return c;
}

QString plainStem(const QByteArray& data) {
    return richtext::plainTextOfRtf(data).simplified();
}

}  // namespace

void setWrongBookExportHooks(WrongBookExportHooks hooks) {
    exportHooks() = std::move(hooks);
}

// ------------------------------------------------------------------ the model

WrongBookModel::WrongBookModel(store::Database& db, QObject* parent)
    : QAbstractTableModel(parent), db_(db) {}

void WrongBookModel::setBook(QVector<WrongQuestion> rows, QHash<QString, QString> chapterNames,
                             QHash<int, QString> typeNames) {
    beginResetModel();
    rows_ = std::move(rows);
    chapterNames_ = std::move(chapterNames);
    typeNames_ = std::move(typeNames);
    endResetModel();
}

int WrongBookModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int WrongBookModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count;
}

QString WrongBookModel::stemOf(const QString& id) const {
    const auto it = stems_.constFind(id);
    if (it != stems_.constEnd()) return it.value();
    QString stem;
    try {
        stem =
            plainStem(db_.scalar(QStringLiteral("select A15 from tab_exer where A1=?"), {{{}, id}})
                          .toByteArray())
                .left(120);
    } catch (const store::EngineError&) {
        // A grid row without its stem is better than a grid that cannot paint.
    }
    stems_.insert(id, stem);
    return stem;
}

QVariant WrongBookModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    const WrongQuestion& q = rows_[index.row()];
    if (role == Qt::TextAlignmentRole) {
        const bool figure =
            index.column() == Number || index.column() == Answers || index.column() == Wrong;
        return QVariant::fromValue(Qt::AlignVCenter | (figure ? Qt::AlignRight : Qt::AlignLeft));
    }
    // The last answer in red while it is wrong; a right one, as after practice, in green.
    if (role == Qt::ForegroundRole && index.column() == Answer)
        return q.lastAnswer == q.key ? kRightColour : kWrongColour;
    if (role == Qt::ForegroundRole && index.column() == Key) return kRightColour;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
        case Number:
            return index.row() + 1;
        case Stem:
            return stemOf(q.id);
        case Chapter: {
            const QString name = chapterNames_.value(q.chapter);
            return name.isEmpty() ? q.chapter : name;
        }
        case Type:
            return typeNames_.value(q.type, QString::number(q.type));
        case Answer:
            return AnswerText(q.type, q.lastAnswer);
        case Key:
            return AnswerText(q.type, q.key);
        case Answers:
            return q.answers;
        case Wrong:
            return -q.mastery;
        case LastDate:
            return q.lastDate;
        default:
            return {};
    }
}

QVariant WrongBookModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const QStringList titles{
        QStringLiteral("序号"),     QStringLiteral("题目"),     QStringLiteral("章节"),
        QStringLiteral("题型"),     QStringLiteral("你的答案"), QStringLiteral("正确答案"),
        QStringLiteral("作答次数"), QStringLiteral("待巩固"),   QStringLiteral("最后作答")};
    return section >= 0 && section < titles.size() ? titles[section] : QVariant();
}

// ------------------------------------------------------------------ the book

TFrmCtb::TFrmCtb(store::TDM1& dm, QWidget* parent) : widgets::ModalForm(parent), dm_(dm) {
    setObjectName(QStringLiteral("FrmCtb"));
    setWindowTitle(QStringLiteral("错题本"));
    setFont(widgets::PixelFont(14));

    lbSubject = aids::MakeLabel(this, "lbSubject", QStringLiteral("科目"), 14);
    lbChapter = aids::MakeLabel(this, "lbChapter", QStringLiteral("章节"), 14);
    lbPoint = aids::MakeLabel(this, "lbPoint", QStringLiteral("考点"), 14);
    lbType = aids::MakeLabel(this, "lbType", QStringLiteral("题型"), 14);
    cbSubject = makeCombo(this, "cbSubject");
    cbChapter = makeCombo(this, "cbChapter");
    cbPoint = makeCombo(this, "cbPoint");
    cbType = makeCombo(this, "cbType");

    model_ = new WrongBookModel(dm_.ADOCn1, this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(model_);
    DBGrid1->setFont(widgets::PixelFont(14));
    DBGrid1->horizontalHeader()->setFont(widgets::PixelFont(13));
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setWordWrap(false);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->verticalHeader()->setDefaultSectionSize(24);
    DBGrid1->horizontalHeader()->setStretchLastSection(false);
    DBGrid1->horizontalHeader()->setSectionResizeMode(WrongBookModel::Stem, QHeaderView::Stretch);

    lbCount = aids::MakeLabel(this, "lbCount", QString(), 14, true);
    lbRule = aids::MakeLabel(
        this, "lbRule",
        QStringLiteral("答错过、还没有练会的题都在这里；“待巩固”是还需连续答对的次数。"), 12);
    QPalette grey = lbRule->palette();
    grey.setColor(QPalette::WindowText, QColor(80, 90, 105));
    lbRule->setPalette(grey);

    btnView = makeButton(this, "btnView", QStringLiteral("查看"));
    btnPractice = makeButton(this, "btnPractice", QStringLiteral("练习"));
    btnExport = makeButton(this, "btnExport", QStringLiteral("导出"));
    btnClose = makeButton(this, "btnClose", QStringLiteral("关闭"));

    connect(cbSubject, &QComboBox::currentIndexChanged, this,
            [this] { widgets::RunGuarded([this] { cbSubjectChange(); }); });
    for (QComboBox* c : {cbChapter, cbPoint, cbType}) {
        connect(c, &QComboBox::currentIndexChanged, this,
                [this] { widgets::RunGuarded([this] { cbFilterChange(); }); });
    }
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this,
            [this] { widgets::RunGuarded([this] { btnViewClick(); }); });
    connect(btnView, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { btnViewClick(); }); });
    connect(btnPractice, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { btnPracticeClick(); }); });
    connect(btnExport, &QAbstractButton::clicked, this,
            [this] { widgets::RunGuarded([this] { btnExportClick(); }); });
    connect(btnClose, &QAbstractButton::clicked, this, &QWidget::close);

    layOut();
    LoadBook();
    FrmCtb = this;
}

TFrmCtb::~TFrmCtb() {
    if (FrmCtb == this) FrmCtb = nullptr;
}

void TFrmCtb::layOut() {
    const bool compact = compactScreen();
    const QSize size = LayoutSize(compact);
    setFixedSize(size);
    const int top = kStrip + 12;
    const int comboH = 26;
    // Label, combo; widths by layout: subject, chapter, point, type.
    const int widths[4] = {compact ? 150 : 160, compact ? 160 : 220, compact ? 130 : 190,
                           compact ? 100 : 120};
    QLabel* labels[4] = {lbSubject, lbChapter, lbPoint, lbType};
    QComboBox* combos[4] = {cbSubject, cbChapter, cbPoint, cbType};
    int x = 16;
    for (int i = 0; i < 4; ++i) {
        labels[i]->setGeometry(x, top, 32, comboH);
        combos[i]->setGeometry(x + 34, top, widths[i], comboH);
        x += 34 + widths[i] + (compact ? 12 : 18);
    }
    const int gridTop = top + comboH + 10;
    const int bottom = size.height() - 50;
    DBGrid1->setGeometry(16, gridTop, size.width() - 32, bottom - gridTop);
    const int widthsOfColumns[WrongBookModel::Count] = {compact ? 36 : 44,
                                                        0,
                                                        compact ? 100 : 150,
                                                        compact ? 80 : 100,
                                                        compact ? 64 : 72,
                                                        compact ? 64 : 72,
                                                        64,
                                                        56,
                                                        compact ? 84 : 92};
    for (int c = 0; c < WrongBookModel::Count; ++c) {
        if (c != WrongBookModel::Stem) DBGrid1->setColumnWidth(c, widthsOfColumns[c]);
    }
    const int buttonsLeft = size.width() - 16 - 4 * 80 - 3 * 8;
    lbCount->setGeometry(16, bottom + 6, 180, 20);
    lbRule->setGeometry(16, bottom + 26, buttonsLeft - 24, 18);
    int bx = buttonsLeft;
    for (widgets::EffectButton* b : {btnView, btnPractice, btnExport, btnClose}) {
        b->setGeometry(bx, bottom + 10, 80, 32);
        bx += 88;
    }
}

void TFrmCtb::fillCombo(QComboBox* combo, const QString& all, const QVector<FilterOption>& options,
                        const QString& keep) {
    combo->clear();
    combo->addItem(all, QString());
    int keepAt = 0;
    for (const FilterOption& o : options) {
        combo->addItem(QStringLiteral("%1（%2）").arg(o.caption).arg(o.count), o.value);
        if (o.value == keep) keepAt = combo->count() - 1;
    }
    combo->setCurrentIndex(keepAt);
}

void TFrmCtb::LoadBook() {
    widgets::SetBusyCursor();
    const auto normal = qScopeGuard([] { widgets::SetNormalCursor(); });
    store::Database& db = dm_.ADOCn1;
    whole_ = LoadWrongBook(db);
    options_ = ReadWrongBookOptions(db, whole_);
    chapterNames_.clear();
    for (const FilterOption& o : options_.chapters)
        chapterNames_.insert(o.value, o.caption);
    typeNames_.clear();
    for (const FilterOption& o : options_.types)
        typeNames_.insert(o.value.toInt(), o.caption);
    {
        // Filling the lists must not reload the book once per list.
        filling_ = true;
        const auto done = qScopeGuard([this] { filling_ = false; });
        fillCombo(cbSubject, QStringLiteral("全部科目"), options_.subjects, filter_.subject);
        fillCombo(cbChapter, QStringLiteral("全部章节"),
                  ChaptersOf(options_, cbSubject->currentData().toString()), filter_.chapter);
        fillCombo(cbPoint, QStringLiteral("全部考点"), options_.points, filter_.point);
        fillCombo(cbType, QStringLiteral("全部题型"), options_.types,
                  filter_.type == 0 ? QString() : QString::number(filter_.type));
    }
    cbFilterChange();
}

void TFrmCtb::cbSubjectChange() {
    if (filling_) return;
    {
        filling_ = true;
        const auto done = qScopeGuard([this] { filling_ = false; });
        fillCombo(cbChapter, QStringLiteral("全部章节"),
                  ChaptersOf(options_, cbSubject->currentData().toString()), QString());
    }
    cbFilterChange();
}

void TFrmCtb::cbFilterChange() {
    if (filling_) return;
    filter_.subject = cbSubject->currentData().toString();
    filter_.chapter = cbChapter->currentData().toString();
    filter_.point = cbPoint->currentData().toString();
    filter_.type = cbType->currentData().toString().toInt();
    showList();
}

void TFrmCtb::showList() {
    const bool narrowed = !filter_.subject.isEmpty() || !filter_.chapter.isEmpty() ||
                          !filter_.point.isEmpty() || filter_.type != 0;
    model_->setBook(narrowed ? LoadWrongBook(dm_.ADOCn1, filter_) : whole_, chapterNames_,
                    typeNames_);
    const int n = model_->rowCount();
    lbCount->setText(QStringLiteral("共 %1 道错题").arg(n));
    // Unavailable, never hidden.
    for (widgets::EffectButton* b : {btnView, btnPractice, btnExport})
        b->setEnabled(n > 0);
    if (n > 0) DBGrid1->selectRow(0);
}

void TFrmCtb::btnViewClick() {
    const QModelIndex current = DBGrid1->currentIndex();
    if (!current.isValid()) return;
    const WrongQuestion& q = model_->rows().at(current.row());
    TFrmCtbView view(ReadWrongQuestion(dm_.ADOCn1, q.id),
                     typeNames_.value(q.type, QString::number(q.type)), this);
    view.exec();
}

void TFrmCtb::btnPracticeClick() {
    if (model_->rowCount() == 0) return;
    qb::PracticeSql = WrongPracticeSql(filter_);
    const QString previousTitle = qb::CurrentChapterTitle;
    qb::CurrentChapterTitle = windowTitle();
    // Even when practice fails, the book must not stay hidden or busy.
    const bool started = widgets::RunAside(
        this,
        [](const auto& beforeShow) {
            return practice::RunChapterPractice(kWrongPracticeCaption, beforeShow);
        },
        [&previousTitle] { qb::CurrentChapterTitle = previousTitle; });
    if (!started) {
        widgets::ShowPromptBox(kPrompt, kEmptyBookText, 1, QStringLiteral("NO"),
                               widgets::kPictureWarning);
    }
    // Questions answered right often enough have left the book.
    LoadBook();
}

void TFrmCtb::btnExportClick() {
    if (model_->rowCount() == 0) return;
    const QString title =
        QStringLiteral("错题本 ") + dm_.today().toString(QStringLiteral("yyyy年M月d日"));
    QString path;
    widgets::SetBusyCursor();
    try {
        path = WriteWrongBookDocument(dm_.ADOCn1, model_->rows(), title, exportHooks().folder());
    } catch (const std::exception&) {
        path.clear();
    }
    widgets::SetNormalCursor();
    if (path.isEmpty()) {
        widgets::ShowMessage(QStringLiteral("警告"),
                             QStringLiteral("导出试题发生错误，请退出后重试！"),
                             widgets::MessageIcon::Warning);
        return;
    }
    exportHooks().open(QUrl::fromLocalFile(path));
}

void TFrmCtb::showEvent(QShowEvent* event) {
    widgets::ModalForm::showEvent(event);
    if (!event->spontaneous()) widgets::CentreOnDesktop(this);
}

void TFrmCtb::paintEvent(QPaintEvent*) {
    aids::PaintFormBackground(this, windowTitle(), kStrip);
}

// ------------------------------------------------------------------ one question

TFrmCtbView::TFrmCtbView(const WrongQuestionDetail& detail, const QString& typeName,
                         QWidget* parent)
    : widgets::ModalForm(parent), stem_(std::make_unique<exam::WordDocument>()) {
    setObjectName(QStringLiteral("FrmCtbView"));
    setWindowTitle(QStringLiteral("错题 ") + detail.question.id + QStringLiteral("（") + typeName +
                   QStringLiteral("）"));
    setFont(widgets::PixelFont(14));
    const bool compact = compactScreen();
    const QSize size = compact ? QSize(640, 470) : QSize(760, 560);
    setFixedSize(size);
    const int w = size.width() - 32;

    if (!detail.sharedStem.isEmpty()) {
        stem_->PasteRichText(detail.sharedStem);
        stem_->TypeParagraph();
    }
    stem_->PasteRichText(detail.stem);
    txtStem = new QTextBrowser(this);
    txtStem->setObjectName(QStringLiteral("txtStem"));
    txtStem->setDocument(&stem_->document());

    const int type = detail.question.type;
    lbAnswer = aids::MakeLabel(
        this, "lbAnswer",
        QStringLiteral("你的答案：") + AnswerText(type, detail.question.lastAnswer), 15, true);
    lbKey = aids::MakeLabel(this, "lbKey",
                            QStringLiteral("正确答案：") + AnswerText(type, detail.question.key),
                            15, true);
    QPalette answerColour = lbAnswer->palette();
    answerColour.setColor(QPalette::WindowText, detail.question.lastAnswer == detail.question.key
                                                    ? kRightColour
                                                    : kWrongColour);
    lbAnswer->setPalette(answerColour);
    QPalette green = lbKey->palette();
    green.setColor(QPalette::WindowText, kRightColour);
    lbKey->setPalette(green);
    lbFigures =
        aids::MakeLabel(this, "lbFigures",
                        QStringLiteral("作答 %1 次，最后一次 %2，还需答对 %3 次")
                            .arg(detail.question.answers)
                            .arg(detail.question.lastDate.isEmpty() ? QStringLiteral("—")
                                                                    : detail.question.lastDate)
                            .arg(-detail.question.mastery),
                        13);

    auto* lbExplanation = aids::MakeLabel(this, "lbExplanation", QStringLiteral("解析"), 14, true);
    txtExplanation = new QTextBrowser(this);
    txtExplanation->setObjectName(QStringLiteral("txtExplanation"));
    if (detail.explanation.isEmpty()) {
        txtExplanation->setPlainText(QStringLiteral("本题没有解析。"));
    } else {
        richtext::read(detail.explanation, txtExplanation->document());
    }
    auto* lbNote = aids::MakeLabel(this, "lbNote", QStringLiteral("笔记"), 14, true);
    txtNote = new QTextBrowser(this);
    txtNote->setObjectName(QStringLiteral("txtNote"));
    txtNote->setPlainText(detail.note.trimmed().isEmpty() ? QStringLiteral("（没有笔记）")
                                                          : detail.note);
    btnClose = makeButton(this, "btnClose", QStringLiteral("关闭"));
    connect(btnClose, &QAbstractButton::clicked, this, &QWidget::close);

    // Stem on top, the verdict line, then explanation and note side by side.
    int y = kStrip + 10;
    const int stemH = compact ? 170 : 210;
    txtStem->setGeometry(16, y, w, stemH);
    y += stemH + 8;
    lbAnswer->setGeometry(16, y, w / 4, 24);
    lbKey->setGeometry(16 + w / 4, y, w / 4, 24);
    lbFigures->setGeometry(16 + w / 2, y, w / 2, 24);
    lbFigures->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    y += 30;
    const int lowerH = size.height() - y - 20 - 50;
    const int noteW = w * 2 / 5;
    lbExplanation->setGeometry(16, y, 80, 20);
    lbNote->setGeometry(16 + w - noteW, y, 80, 20);
    txtExplanation->setGeometry(16, y + 22, w - noteW - 10, lowerH);
    txtNote->setGeometry(16 + w - noteW, y + 22, noteW, lowerH);
    btnClose->setGeometry(size.width() - 16 - 80, size.height() - 44, 80, 32);
}

TFrmCtbView::~TFrmCtbView() {
    // The browser shows the document; it must let go of it before it goes.
    txtStem->setDocument(
        new QTextDocument(txtStem));  // NOLINT(bugprone-unhandled-exception-at-new)
}

void TFrmCtbView::showEvent(QShowEvent* event) {
    widgets::ModalForm::showEvent(event);
    if (!event->spontaneous()) widgets::CentreOnDesktop(this);
}

void TFrmCtbView::paintEvent(QPaintEvent*) {
    aids::PaintFormBackground(this, windowTitle(), kStrip);
}

}  // namespace review
