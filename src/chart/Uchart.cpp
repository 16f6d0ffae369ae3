#include "Uchart.h"

#include "DataModule.h"
#include "FlatButton.h"
#include "Globals.h"
#include "Prompt.h"
#include "Skin.h"
#include "WindowHooks.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsObject>
#include <QGroupBox>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPieSeries>
#include <QPieSlice>
#include <QPrinter>
#include <QRadioButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace chart {

namespace skin = widgets::skin;

namespace {

const QString kCaption = QStringLiteral("成绩统计图");
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
// Depth of the 3D look, as a share of a bar's width or of the pie's radius.
constexpr double kDepthShare = 0.3;

bool compact() {
    return qb::ScreenMode == QLatin1String("800");
}

void errorPrompt(const QString& text) {
    widgets::ShowPromptBox(QStringLiteral("错误"), text, 1, QStringLiteral("NO"),
                           widgets::kPictureError);
}

// One bar as the depth painter draws it, in the chart's value coordinates.
struct Bar {
    int category = 0;
    double value = 0;
    QColor colour;
};

}  // namespace

// Qt Charts draws axes, titles, legend and the pie; the bars and every 3D face are
// drawn here, so that bars may stand one behind the other and have colours of their
// own, and the 3D look gets its depth.
class DepthPainter : public QGraphicsObject {
  public:
    enum class Kind { Bars, Pie };

    DepthPainter(QChart* chart, Kind kind) : QGraphicsObject(chart), chart_(chart), kind_(kind) {
        // The pie's rim lies under the pie; bars and faces over the (invisible) bars.
        setZValue(kind == Kind::Pie ? 3.5 : 4.5);
        QObject::connect(chart, &QChart::plotAreaChanged, this, [this] { update(); });
    }

    // Rows of bars, back row first; each row is mapped through its series.
    void setBars(QList<QPair<QAbstractSeries*, QVector<Bar>>> rows) {
        rows_ = std::move(rows);
        update();
    }
    void setPie(QPieSeries* pie) {
        pie_ = pie;
        update();
    }
    void setThreeD(bool on) {
        threeD_ = on;
        update();
    }
    void setLabels(bool on) {
        labels_ = on;
        update();
    }

    QRectF boundingRect() const override { return chart_->rect(); }

    void paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) override {
        p->setRenderHint(QPainter::Antialiasing);
        if (kind_ == Kind::Pie) {
            paintPieRim(p);
        } else {
            paintBars(p);
        }
    }

  private:
    void paintBars(QPainter* p) {
        const QRectF area = chart_->plotArea();
        p->save();
        p->setClipRect(area.adjusted(0, -area.top(), area.width(), 0));
        const int rowCount = int(rows_.size());
        for (int r = 0; r < rowCount; ++r) {
            const auto& [series, bars] = rows_[r];
            if (bars.isEmpty()) continue;
            const double left = chart_->mapToPosition(QPointF(-0.3, 0), series).x();
            const double right = chart_->mapToPosition(QPointF(0.3, 0), series).x();
            const double width = std::max(1.0, right - left);
            const double depth = threeD_ ? std::clamp(width * kDepthShare, 2.0, 14.0) : 0.0;
            // In 3D the rows stand one behind the other, the first farthest back.
            const double shift = depth * (rowCount - 1 - r);
            for (const Bar& bar : bars) {
                const QPointF top =
                    chart_->mapToPosition(QPointF(bar.category - 0.3, bar.value), series);
                const QPointF base = chart_->mapToPosition(QPointF(bar.category + 0.3, 0), series);
                QRectF front(QPointF(top.x() + shift, top.y() - shift),
                             QPointF(base.x() + shift, base.y() - shift));
                front = front.normalized();
                p->setPen(QPen(bar.colour.darker(140), 0.5));
                p->setBrush(bar.colour);
                p->drawRect(front);
                if (depth > 0) {
                    const QPointF d(depth, -depth);
                    QPolygonF topFace{front.topLeft(), front.topRight(), front.topRight() + d,
                                      front.topLeft() + d};
                    QPolygonF sideFace{front.topRight(), front.bottomRight(),
                                       front.bottomRight() + d, front.topRight() + d};
                    p->setBrush(bar.colour.lighter(130));
                    p->drawPolygon(topFace);
                    p->setBrush(bar.colour.darker(150));
                    p->drawPolygon(sideFace);
                }
                if (labels_) paintMark(p, front, depth, bar.value);
            }
        }
        p->restore();
    }

    void paintMark(QPainter* p, const QRectF& front, double depth, double value) {
        const QString text = QString::number(qint64(value));
        const QFontMetricsF fm(chart_->font());
        const QSizeF size(fm.horizontalAdvance(text) + 6, fm.height() + 2);
        QRectF mark(QPointF(front.center().x() + depth / 2 - size.width() / 2,
                            front.top() - depth - size.height() - 2),
                    size);
        p->setPen(QPen(QColor(128, 128, 128), 0.5));
        p->setBrush(QColor(255, 255, 225));
        p->drawRect(mark);
        p->setPen(Qt::black);
        p->setFont(chart_->font());
        p->drawText(mark, Qt::AlignCenter, text);
    }

    // A pie seen from above stands on a rim: the slices again, darker, stacked
    // downwards under the pie.
    void paintPieRim(QPainter* p) {
        if (!threeD_ || pie_ == nullptr || pie_->count() == 0) return;
        const QRectF area = chart_->plotArea();
        const double radius = pie_->pieSize() * std::min(area.width(), area.height()) / 2.0;
        const QPointF centre(area.left() + area.width() * pie_->horizontalPosition(),
                             area.top() + area.height() * pie_->verticalPosition());
        const int depth = int(std::max(2.0, radius * kDepthShare * 0.5));
        const QRectF disc(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        for (int k = depth; k >= 1; --k) {
            const QRectF layer = disc.translated(0, k);
            for (QPieSlice* slice : pie_->slices()) {
                const QColor side = slice->color().darker(k == depth ? 190 : 160);
                p->setPen(Qt::NoPen);
                p->setBrush(side);
                const int start = qRound((90.0 - slice->startAngle()) * 16);
                const int span = -qRound(slice->angleSpan() * 16);
                p->drawPie(layer, start, span);
            }
        }
    }

    QChart* chart_;
    Kind kind_;
    QList<QPair<QAbstractSeries*, QVector<Bar>>> rows_;
    QPieSeries* pie_ = nullptr;
    bool threeD_ = true;
    bool labels_ = true;
};

// The pie's legend. Qt's legend puts every row of a top or bottom legend on one
// line and cuts the names short; this one keeps the names whole and wraps them into
// at most 15 rows, inside the room Qt's (emptied) legend keeps free for it.
class PieLegend : public QGraphicsObject {
  public:
    static constexpr int kMaxRows = 15;

    explicit PieLegend(QChart* chart) : QGraphicsObject(chart), chart_(chart) {
        setZValue(6);
        QLegend* legend = chart->legend();
        QObject::connect(legend, &QGraphicsWidget::geometryChanged, this, [this] { update(); });
        QObject::connect(legend, &QGraphicsWidget::visibleChanged, this, [this] { update(); });
        // Queued: the room is changed after the chart's layout pass, not inside it.
        QObject::connect(
            chart, &QGraphicsWidget::geometryChanged, this, [this] { relayout(); },
            Qt::QueuedConnection);
    }

    void setEntries(QVector<QPair<QColor, QString>> entries) {
        entries_ = std::move(entries);
        relayout();
    }

    // Reserves the legend's room for the chart's size and the legend's side.
    void relayout() {
        QLegend* legend = chart_->legend();
        const QSizeF item = itemSize();
        const int count = int(entries_.size());
        if (legend->alignment() & (Qt::AlignLeft | Qt::AlignRight)) {
            legend->setMinimumSize(count > 0 ? item.width() + 8 : 0, 0);
            legend->setMaximumSize(count > 0 ? item.width() + 8 : 0, QWIDGETSIZE_MAX);
        } else {
            const int rows = (count + columns() - 1) / columns();
            const double height = std::min(rows, kMaxRows) * item.height() + (count > 0 ? 8 : 0);
            legend->setMinimumSize(0, height);
            legend->setMaximumSize(QWIDGETSIZE_MAX, height);
        }
        update();
    }

    // The width the chart will have once its page is shown: before that its
    // geometry is a placeholder, and a legend laid out for it is not given back.
    void setWidthHint(double width) {
        widthHint_ = width;
        relayout();
    }

    QRectF boundingRect() const override { return chart_->rect(); }

    void paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) override {
        QLegend* legend = chart_->legend();
        if (!legend->isVisible() || entries_.isEmpty()) return;
        const QRectF room = legend->geometry();
        const QSizeF item = itemSize();
        const bool vertical = legend->alignment() & (Qt::AlignLeft | Qt::AlignRight);
        const int perRow = vertical ? 1 : columns();
        const int shown = std::min(int(entries_.size()), perRow * kMaxRows);
        const int usedColumns = std::min(perRow, shown);
        const double left =
            room.left() + std::max(0.0, (room.width() - usedColumns * item.width()) / 2);
        const double top = room.top() + 4;
        p->setFont(legend->font());
        const QFontMetricsF fm(legend->font());
        for (int i = 0; i < shown; ++i) {
            const QPointF at(left + (i % perRow) * item.width(),
                             top + static_cast<double>(i / perRow) * item.height());
            const double box = fm.height() * 0.6;
            p->setPen(QPen(entries_[i].first.darker(130), 0.5));
            p->setBrush(entries_[i].first);
            p->drawRect(QRectF(at.x() + 2, at.y() + (item.height() - box) / 2, box, box));
            p->setPen(legend->labelColor());
            p->drawText(QRectF(at.x() + box + 6, at.y(), item.width() - box - 8, item.height()),
                        Qt::AlignLeft | Qt::AlignVCenter, entries_[i].second);
        }
    }

  private:
    QSizeF itemSize() const {
        const QFontMetricsF fm(chart_->legend()->font());
        double widest = 0;
        for (const auto& entry : entries_)
            widest = std::max(widest, fm.horizontalAdvance(entry.second));
        return {std::ceil(widest + fm.height() * 0.6 + 16), std::ceil(fm.height() + 4)};
    }
    int columns() const {
        const double width = std::max(chart_->rect().width(), widthHint_) - 40;
        return std::max(1, int(width / std::max(1.0, itemSize().width())));
    }

    QChart* chart_;
    QVector<QPair<QColor, QString>> entries_;
    double widthHint_ = 0;
};

namespace {

// An axis's upper end with room above the highest bar for its mark and 3D top.
double AxisTop(double highest) {
    if (highest <= 0) return 10;
    return highest * 1.15;
}

QPieSeries* PieOf(QChart* chart) {
    for (QAbstractSeries* s : chart->series())
        if (auto* pie = qobject_cast<QPieSeries*>(s)) return pie;
    return nullptr;
}

QGroupBox* makeGroup(QWidget* parent, const char* name, const QString& title) {
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

widgets::FlatButton* makeButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new widgets::FlatButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

}  // namespace

PrinterAccess SystemPrinters() {
    return {[] { return QPrinterInfo::availablePrinters(); },
            [] {
                QPrinterInfo info = QPrinterInfo::defaultPrinter();
                if (info.isNull()) {
                    const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
                    if (!all.isEmpty()) info = all.first();
                }
                return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
            }};
}

bool SaveChartPicture(const QImage& picture, const QString& fileName) {
    if (picture.isNull() || fileName.isEmpty()) return false;
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("pdf")) {
        QPdfWriter pdf(fileName);
        pdf.setPageOrientation(QPageLayout::Landscape);
        QPainter p;
        if (!p.begin(&pdf)) return false;
        const QRect page = p.viewport();
        const QSize fitted = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
        p.drawImage(QRect(page.topLeft(), fitted), picture);
        return p.end();
    }
    return picture.save(fileName, suffix == QLatin1String("png") ? "PNG" : "BMP");
}

Tfrmchart::Tfrmchart(store::TDM1& dm, QWidget* parent)
    : widgets::ModalForm(parent), dm_(dm), printers_(SystemPrinters()) {
    setObjectName(QStringLiteral("frmchart"));
    setWindowTitle(kCaption);
    saveDialog_ = [](QWidget* owner, const QString& filter) {
        QString chosen;
        QString name = QFileDialog::getSaveFileName(owner, QStringLiteral("存为..."), QString(),
                                                    filter, &chosen);
        // A name typed without extension gets the one of the filter chosen.
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) {
            const int star = chosen.indexOf(QStringLiteral("*."));
            name += star >= 0 ? chosen.mid(star + 1, chosen.indexOf(QLatin1Char(')')) - star - 1)
                              : QStringLiteral(".bmp");
        }
        return name;
    };

    ChartPages = new QStackedWidget(this);
    ChartPages->setObjectName(QStringLiteral("ChartPages"));
    buildCharts();

    RadioGroupType = makeGroup(this, "RadioGroupType", QStringLiteral("统计图类型"));
    typeItems = new QButtonGroup(this);
    const QStringList types{QStringLiteral("习题分布"), QStringLiteral("频度统计"),
                            QStringLiteral("进度统计")};
    for (int i = 0; i < types.size(); ++i) {
        auto* item = new QRadioButton(types[i], RadioGroupType);
        item->setObjectName(QStringLiteral("TypeItem%1").arg(i));
        typeItems->addButton(item, i);
    }
    RadioGroupLegend = makeGroup(this, "RadioGroupLegend", QStringLiteral("图例位置"));
    legendItems = new QButtonGroup(this);
    const QStringList places{QStringLiteral("上方"), QStringLiteral("下方"), QStringLiteral("左侧"),
                             QStringLiteral("右侧")};
    for (int i = 0; i < places.size(); ++i) {
        auto* item = new QRadioButton(places[i], RadioGroupLegend);
        item->setObjectName(QStringLiteral("LegendItem%1").arg(i));
        legendItems->addButton(item, i);
    }
    GroupBoxStyle = makeGroup(this, "GroupBoxStyle", QStringLiteral("显示风格"));
    const auto check = [this](const char* name, const QString& text) {
        auto* c = new QCheckBox(text, GroupBoxStyle);
        c->setObjectName(QLatin1String(name));
        c->setChecked(true);
        return c;
    };
    CheckBox3D = check("CheckBox3D", QStringLiteral("立体显示"));
    CheckBoxLegend = check("CheckBoxLegend", QStringLiteral("显示图例"));
    CheckBoxLabels = check("CheckBoxLabels", QStringLiteral("显示标签"));

    SettingsButton = makeButton(this, "SettingsButton", QStringLiteral("设置"));
    SettingsButton->setEnabled(widgets::HasSystemSettings());
    SaveButton = makeButton(this, "SaveButton", QStringLiteral("存为..."));
    PrintButton = makeButton(this, "PrintButton", QStringLiteral("打印"));
    CloseButton = makeButton(this, "CloseButton", QStringLiteral("关闭"));

    const auto guarded = [this](auto handler) {
        return [this, handler] { widgets::RunGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(typeItems, &QButtonGroup::idClicked, this, [this](int id) {
        if (!syncing_) widgets::RunGuarded([this, id] { RadioGroupTypeClick(id); });
    });
    connect(legendItems, &QButtonGroup::idClicked, this, [this](int id) {
        if (!syncing_) widgets::RunGuarded([this, id] { RadioGroupLegendClick(id); });
    });
    connect(CheckBox3D, &QCheckBox::clicked, this, guarded(&Tfrmchart::CheckBox3DClick));
    connect(CheckBoxLegend, &QCheckBox::clicked, this, guarded(&Tfrmchart::CheckBoxLegendClick));
    connect(CheckBoxLabels, &QCheckBox::clicked, this, guarded(&Tfrmchart::CheckBoxLabelsClick));
    connect(SettingsButton, &QAbstractButton::clicked, this, guarded(&Tfrmchart::SettingsClick));
    connect(SaveButton, &QAbstractButton::clicked, this, guarded(&Tfrmchart::SaveClick));
    connect(PrintButton, &QAbstractButton::clicked, this, guarded(&Tfrmchart::PrintClick));
    connect(CloseButton, &QAbstractButton::clicked, this, guarded(&Tfrmchart::CloseClick));

    layOut();
    syncControls();
}

Tfrmchart::~Tfrmchart() = default;

QChart* Tfrmchart::chartOf(ChartPage page) const {
    return charts_[static_cast<int>(page)];
}

QChartView* Tfrmchart::viewOf(ChartPage page) const {
    return views_[static_cast<int>(page)];
}

void Tfrmchart::buildCharts() {
    const QStringList titles{QStringLiteral("频 度 统 计 图"), QStringLiteral("习题分布统计图"),
                             QStringLiteral("进度统计图")};
    for (int i = 0; i < 3; ++i) {
        auto* c = new QChart;
        c->setTitle(titles[i]);
        c->setAnimationOptions(QChart::NoAnimation);
        c->legend()->setAlignment(Qt::AlignTop);
        c->setBackgroundRoundness(0);
        auto* view = new QChartView(c, ChartPages);
        view->setObjectName(QStringLiteral("ChartView%1").arg(i));
        view->setRenderHint(QPainter::Antialiasing);
        view->setFrameShape(QFrame::NoFrame);
        ChartPages->addWidget(view);
        charts_[i] = c;
        views_[i] = view;
        depth_[i] =
            new DepthPainter(c, i == int(ChartPage::Distribution) ? DepthPainter::Kind::Pie
                                                                  : DepthPainter::Kind::Bars);
    }
    pieLegend_ = new PieLegend(chartOf(ChartPage::Distribution));
    TotalLabel = new QLabel(views_[int(ChartPage::Distribution)]);
    TotalLabel->setObjectName(QStringLiteral("TotalLabel"));
    TotalLabel->setText(QStringLiteral("习题总数:0"));
}

void Tfrmchart::fillCharts(const ChartData& data) {
    const QFont markFont = widgets::PixelFont(12);
    const QFont titleFont = widgets::PixelFont(compact() ? 16 : 18, true);
    for (QChart* c : charts_) {
        c->removeAllSeries();
        for (QAbstractAxis* axis : c->axes())
            c->removeAxis(axis);
        c->setTitleFont(titleFont);
        c->setFont(markFont);
        c->legend()->setFont(markFont);
    }

    // Frequency: attempts behind, wrong attempts in front.
    {
        QChart* c = chartOf(ChartPage::Frequency);
        QStringList labels;
        QVector<Bar> attempts, wrong;
        double highest = 0;
        for (int i = 0; i < data.frequency.size(); ++i) {
            const FrequencyBar& row = data.frequency[i];
            labels << row.label;
            attempts.push_back({i, double(row.attempts), kGreen});
            wrong.push_back({i, double(row.wrong), kRed});
            highest = std::max({highest, double(row.attempts), double(row.wrong)});
        }
        auto* axisX = new QBarCategoryAxis;
        axisX->append(labels);
        axisX->setTitleText(QStringLiteral("章    节"));
        axisX->setVisible(false);
        auto* axisY = new QValueAxis;
        axisY->setTitleText(QStringLiteral("题  次"));
        axisY->setRange(0, AxisTop(highest));
        axisY->applyNiceNumbers();
        axisY->setLabelFormat(QStringLiteral("%d"));
        c->addAxis(axisX, Qt::AlignBottom);
        c->addAxis(axisY, Qt::AlignLeft);
        QList<QPair<QAbstractSeries*, QVector<Bar>>> rows;
        const QList<QPair<QString, QColor>> sets{{QStringLiteral("已做题次"), kGreen},
                                                 {QStringLiteral("做错题次"), kRed}};
        for (int s = 0; s < 2; ++s) {
            auto* series = new QBarSeries;
            auto* set = new QBarSet(sets[s].first);
            set->setColor(Qt::transparent);
            set->setBorderColor(Qt::transparent);
            series->append(set);
            c->addSeries(series);
            series->attachAxis(axisX);
            series->attachAxis(axisY);
            for (QLegendMarker* m : c->legend()->markers(series))
                m->setBrush(sets[s].second);
            rows.append({series, s == 0 ? attempts : wrong});
        }
        depth_[int(ChartPage::Frequency)]->setBars(rows);
    }

    // Distribution: one slice per row, label and per cent on its mark.
    {
        QChart* c = chartOf(ChartPage::Distribution);
        auto* pie = new QPieSeries;
        pie->setName(QStringLiteral("习题分布"));
        pie->setPieSize(0.62);
        pie->setVerticalPosition(0.45);
        qint64 sum = 0;
        for (const PieSlice& row : data.distribution)
            sum += row.value;
        for (const PieSlice& row : data.distribution) {
            const double share = sum > 0 ? double(row.value) * 100.0 / double(sum) : 0.0;
            auto* slice = new QPieSlice(row.label + QStringLiteral(" ") +
                                            QString::number(share, 'f', 0) + QStringLiteral("%"),
                                        double(row.value));
            slice->setColor(row.colour);
            slice->setBorderColor(row.colour.darker(130));
            slice->setLabelFont(markFont);
            pie->append(slice);
        }
        c->addSeries(pie);
        // The legend names the rows, drawn whole by the pie's own legend.
        for (QLegendMarker* m : c->legend()->markers(pie))
            m->setVisible(false);
        QVector<QPair<QColor, QString>> entries;
        for (const PieSlice& row : data.distribution)
            entries.push_back({row.colour, row.label});
        pieLegend_->setEntries(entries);
        depth_[int(ChartPage::Distribution)]->setPie(pie);
    }

    // Progress: per cent done of each chapter that has questions.
    {
        QChart* c = chartOf(ChartPage::Progress);
        QStringList labels;
        QVector<Bar> bars;
        for (int i = 0; i < data.progress.size(); ++i) {
            labels << data.progress[i].label;
            bars.push_back({i, double(data.progress[i].percent), data.progress[i].colour});
        }
        auto* axisX = new QBarCategoryAxis;
        axisX->append(labels);
        axisX->setTitleText(QStringLiteral("章   节"));
        axisX->setVisible(false);
        auto* axisY = new QValueAxis;
        axisY->setTitleText(QStringLiteral("进度(%)"));
        // Room above 100 for the marks and the 3D tops.
        axisY->setRange(0, 120);
        axisY->setTickCount(7);
        axisY->setLabelFormat(QStringLiteral("%d"));
        c->addAxis(axisX, Qt::AlignBottom);
        c->addAxis(axisY, Qt::AlignLeft);
        auto* series = new QBarSeries;
        auto* set = new QBarSet(QStringLiteral("进度"));
        set->setColor(Qt::transparent);
        set->setBorderColor(Qt::transparent);
        series->append(set);
        c->addSeries(series);
        series->attachAxis(axisX);
        series->attachAxis(axisY);
        for (QLegendMarker* m : c->legend()->markers(series))
            m->setBrush(ChartColour(0));
        depth_[int(ChartPage::Progress)]->setBars({{series, bars}});
    }
}

void Tfrmchart::layOut() {
    const bool small = compact();
    setFixedSize(small ? kCompactSize : kLargeSize);
    setFont(widgets::PixelFont(small ? 12 : 14));
    const int strip = small ? 26 : 30;
    const int panelX = small ? 644 : 774;
    const int panelW = small ? 138 : 150;
    const int rowH = small ? 20 : 26;
    const int top = strip + 8;
    ChartPages->setGeometry(8, top, panelX - 16, height() - top - 8);
    pieLegend_->setWidthHint(ChartPages->width());

    const int typeH = 3 * rowH + (small ? 26 : 30);
    const int legendH = 4 * rowH + (small ? 26 : 30);
    RadioGroupType->setGeometry(panelX, top, panelW, typeH);
    RadioGroupLegend->setGeometry(panelX, top + typeH + 8, panelW, legendH);
    GroupBoxStyle->setGeometry(panelX, top + typeH + legendH + 16, panelW, typeH);
    const int itemTop = small ? 20 : 24;
    const auto placeItems = [&](const QList<QAbstractButton*>& items) {
        // As wide as their text: a click beside it is no click on the item.
        for (int i = 0; i < items.size(); ++i)
            items[i]->setGeometry(12, itemTop + i * rowH,
                                  std::min(items[i]->sizeHint().width(), panelW - 20), rowH);
    };
    placeItems(typeItems->buttons());
    placeItems(legendItems->buttons());
    placeItems({CheckBox3D, CheckBoxLegend, CheckBoxLabels});

    const int buttonsTop = top + 2 * typeH + legendH + (small ? 24 : 36);
    const int buttonH = small ? 24 : 32;
    const int gap = small ? 2 : 8;
    const QList<widgets::FlatButton*> buttons{SettingsButton, SaveButton, PrintButton, CloseButton};
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setGeometry(panelX, buttonsTop + i * (buttonH + gap), panelW, buttonH);

    TotalLabel->setFont(widgets::PixelFont(small ? 12 : 14, true));
    TotalLabel->adjustSize();
}

void Tfrmchart::showEvent(QShowEvent* event) {
    widgets::ModalForm::showEvent(event);
    if (event->spontaneous()) return;
    widgets::CentreOnDesktop(this);
    widgets::RunGuarded([this] { FormShow(); });
}

void Tfrmchart::FormShow() {
    widgets::SetBusyCursor();
    struct Normal {
        ~Normal() { widgets::SetNormalCursor(); }
    } normal;
    layOut();
    fillCharts(LoadChartData(dm_));
    controls_ = ChartControls();
    for (int i = 0; i < 3; ++i)
        applyStyle(static_cast<ChartPage>(i));
    ChartPages->setCurrentIndex(int(ChartPage::Frequency));
    syncControls();
}

void Tfrmchart::applyStyle(ChartPage page) {
    const ChartStyle& style = controls_.styleOf(page);
    QChart* c = chartOf(page);
    static const Qt::Alignment kPlaces[] = {Qt::AlignTop, Qt::AlignBottom, Qt::AlignLeft,
                                            Qt::AlignRight};
    c->legend()->setAlignment(kPlaces[static_cast<int>(style.legend)]);
    c->legend()->setVisible(style.legendVisible);
    DepthPainter* depth = depth_[static_cast<int>(page)];
    depth->setThreeD(style.threeD);
    if (page == ChartPage::Distribution) {
        pieLegend_->relayout();
        if (QPieSeries* pie = PieOf(c)) pie->setLabelsVisible(style.labels);
        TotalLabel->move(16, controls_.totalLineTop() * (compact() ? 472 : 600) / 600);
    } else {
        depth->setLabels(style.labels);
    }
}

void Tfrmchart::syncControls() {
    syncing_ = true;
    static const ChartPage kItemPage[] = {ChartPage::Distribution, ChartPage::Frequency,
                                          ChartPage::Progress};
    for (int i = 0; i < 3; ++i)
        if (kItemPage[i] == controls_.shown()) typeItems->button(i)->setChecked(true);
    const ChartStyle& c = controls_.controls();
    legendItems->button(static_cast<int>(c.legend))->setChecked(true);
    CheckBox3D->setChecked(c.threeD);
    CheckBoxLegend->setChecked(c.legendVisible);
    CheckBoxLabels->setChecked(c.labels);
    RadioGroupLegend->setEnabled(controls_.legendGroupEnabled());
    syncing_ = false;
}

void Tfrmchart::RadioGroupTypeClick(int item) {
    static const ChartPage kItemPage[] = {ChartPage::Distribution, ChartPage::Frequency,
                                          ChartPage::Progress};
    if (item < 0 || item > 2) return;
    const ChartPage leaving = controls_.shown();
    const ChartPage page = kItemPage[item];
    controls_.chooseChart(page);
    applyStyle(leaving);
    if (page == ChartPage::Distribution) {
        TotalLabel->setText(QStringLiteral("习题总数:") + QString::number(DistributionTotal(dm_)));
        TotalLabel->adjustSize();
    }
    applyStyle(page);
    ChartPages->setCurrentIndex(static_cast<int>(page));
    syncControls();
}

void Tfrmchart::RadioGroupLegendClick(int item) {
    if (item < 0 || item > 3) return;
    controls_.chooseLegend(static_cast<LegendPosition>(item));
    applyStyle(controls_.shown());
    syncControls();
}

void Tfrmchart::CheckBox3DClick() {
    controls_.setThreeD(CheckBox3D->isChecked());
    applyStyle(controls_.shown());
}

void Tfrmchart::CheckBoxLegendClick() {
    controls_.setLegendVisible(CheckBoxLegend->isChecked());
    applyStyle(controls_.shown());
    syncControls();
}

void Tfrmchart::CheckBoxLabelsClick() {
    controls_.setLabels(CheckBoxLabels->isChecked());
    applyStyle(controls_.shown());
}

QImage Tfrmchart::chartPicture() const {
    QChartView* view = viewOf(controls_.shown());
    return view->grab().toImage();
}

void Tfrmchart::SettingsClick() {
    qb::ConfigMode = 0;
    widgets::RunSystemSettings(this);
}

void Tfrmchart::SaveClick() {
    const QString name = saveDialog_ ? saveDialog_(this, kSaveFilter) : QString();
    if (name.isEmpty()) return;
    if (!SaveChartPicture(chartPicture(), name)) errorPrompt(QStringLiteral("无法保存文件！"));
}

void Tfrmchart::PrintClick() {
    if (!printers_.printers || printers_.printers().isEmpty()) {
        widgets::ShowPromptBox(QStringLiteral("提示"), QStringLiteral("没有发现打印机！"), 1,
                               QStringLiteral("NO"), widgets::kPictureWarning);
        return;
    }
    bool printed = false;
    try {
        std::unique_ptr<QPrinter> printer = printers_.defaultPrinter();
        if (printer) {
            printer->setPageOrientation(QPageLayout::Landscape);
            printer->setDocName(kCaption);
            const QImage picture = chartPicture();
            QPainter p;
            if (p.begin(printer.get())) {
                const QRect page = p.viewport();
                const QSize fitted = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
                p.drawImage(QRect(page.topLeft(), fitted), picture);
                printed = p.end() && printer->printerState() != QPrinter::Error;
            }
        }
    } catch (const std::exception&) {
        printed = false;
    }
    if (!printed) errorPrompt(QStringLiteral("打印时发生错误！"));
}

void Tfrmchart::CloseClick() {
    close();
}

void Tfrmchart::FormClose() {
    CloseChartRows(dm_);
}

void Tfrmchart::closeQuery(bool& canClose) {
    widgets::RunGuarded([this] { FormClose(); });
    canClose = true;
}

void Tfrmchart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient body(0, 0, 0, height());
    body.setColorAt(0, QColor::fromRgb(skin::kWindow));
    body.setColorAt(1, QColor::fromRgb(skin::kPanel));
    p.fillRect(rect(), body);
    const int strip = compact() ? 26 : 30;
    const QRect title(0, 0, width(), strip);
    QLinearGradient band(0, 0, 0, strip);
    band.setColorAt(0, QColor::fromRgb(skin::kDialogBack));
    band.setColorAt(1, QColor::fromRgb(skin::kDialogTitle));
    p.fillRect(title, band);
    p.setFont(widgets::PixelFont(compact() ? 13 : 14, true));
    p.setPen(Qt::white);
    p.drawText(title.adjusted(12, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, kCaption);
    p.setPen(QPen(QColor::fromRgb(skin::kDarkBorder), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace chart
