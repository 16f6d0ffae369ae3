// The figures of the score chart: what each of its three charts shows for the
// chapters tab_kmmc marks for it, and how the chart's style controls move
// together. Nothing here draws; the window turns these figures into charts.
#pragma once

#include <QColor>
#include <QString>
#include <QVector>

#include <array>

namespace store {
class TDM1;
}

namespace chart {

// The chart pages in the order the window keeps them.
enum class ChartPage { Frequency = 0, Distribution = 1, Progress = 2 };

// The colour of the row number i: 255 + 80000 × i read as a 0x00BBGGRR value,
// so that row 0 is pure red. Values past 24 bits keep their low 24 bits.
qint64 ChartColourValue(int i);
QColor ChartColour(int i);

// Per cent of a chapter's questions done, cut towards zero; c3 must not be 0.
int ProgressPercent(qint64 c4, qint64 c3);

struct PieSlice {
    QString label;
    qint64 value = 0;
    QColor colour;
};
struct FrequencyBar {
    QString label;
    qint64 attempts = 0;  // D1, "已做题次"
    qint64 wrong = 0;     // D2, "做错题次"
};
struct ProgressBar {
    QString label;
    int percent = 0;
    QColor colour;
};

struct ChartData {
    QVector<PieSlice> distribution;
    QVector<FrequencyBar> frequency;
    QVector<ProgressBar> progress;  // rows with C3 = 0 left out
};

// Reads the rows charted (C7 = "0", in the engine's order) through the data
// module's chapter query, which stays open until CloseChartRows.
ChartData LoadChartData(store::TDM1& dm);
void CloseChartRows(store::TDM1& dm);
// The number of the distribution page's total line: the sum of C3 over the same
// rows, 0 when there is none.
qint64 DistributionTotal(store::TDM1& dm);

enum class LegendPosition { Top = 0, Bottom, Left, Right };

// What the style controls say, and what each chart was last told.
struct ChartStyle {
    LegendPosition legend = LegendPosition::Top;
    bool threeD = true;
    bool legendVisible = true;
    bool labels = true;
    bool operator==(const ChartStyle&) const = default;
};

// The style controls beside the chart and their effect on the shown chart. A
// control acts on the chart shown when it is clicked; choosing a chart first puts
// every control back to its start value, each change acting as its own click
// would, and only then shows the chosen chart.
class ChartControls {
  public:
    // Top of the distribution page's total line, from the chart's top.
    static constexpr int kTotalLineTop = 400;
    static constexpr int kTotalLineLift = 30;

    ChartPage shown() const { return shown_; }
    const ChartStyle& controls() const { return controls_; }
    const ChartStyle& styleOf(ChartPage page) const { return styles_[index(page)]; }
    int totalLineTop() const { return totalTop_; }
    // The legend-position group is usable only while the legend is shown.
    bool legendGroupEnabled() const { return controls_.legendVisible; }

    void chooseChart(ChartPage page);
    void chooseLegend(LegendPosition position);
    void setThreeD(bool on);
    void setLegendVisible(bool on);
    void setLabels(bool on);

  private:
    static int index(ChartPage page) { return static_cast<int>(page); }
    ChartStyle& shownStyle() { return styles_[index(shown_)]; }

    ChartPage shown_ = ChartPage::Frequency;
    ChartStyle controls_;
    std::array<ChartStyle, 3> styles_{};
    int totalTop_ = kTotalLineTop;
};

}  // namespace chart
