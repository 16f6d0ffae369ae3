#include "ChartData.h"

#include "DataModule.h"

#include <cmath>

namespace chart {

qint64 ChartColourValue(int i) {
    return (255 + qint64{80000} * i) & 0xFFFFFF;
}

QColor ChartColour(int i) {
    const qint64 bgr = ChartColourValue(i);
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

int ProgressPercent(qint64 c4, qint64 c3) {
    return static_cast<int>(std::trunc(double(c4) / double(c3) * 100.0));
}

ChartData LoadChartData(store::TDM1& dm) {
    store::Query& rows = dm.ADOQ_kmmc;
    rows.close();
    rows.setSql(QStringLiteral("select * from tab_kmmc where C7='0'"));
    rows.open();
    ChartData data;
    const int count = rows.recordCount();
    data.distribution.reserve(count);
    data.frequency.reserve(count);
    data.progress.reserve(count);
    int i = 0;
    for (rows.first(); !rows.eof(); rows.next(), ++i) {
        const QString label = rows.text(QStringLiteral("C2"));
        const qint64 c3 = rows.value(QStringLiteral("C3")).toLongLong();
        const QColor colour = ChartColour(i);
        data.distribution.push_back({label, c3, colour});
        data.frequency.push_back({label, rows.value(QStringLiteral("D1")).toLongLong(),
                                  rows.value(QStringLiteral("D2")).toLongLong()});
        if (c3 != 0) {
            data.progress.push_back(
                {label, ProgressPercent(rows.value(QStringLiteral("C4")).toLongLong(), c3),
                 colour});
        }
    }
    return data;
}

void CloseChartRows(store::TDM1& dm) {
    dm.ADOQ_kmmc.close();
}

qint64 DistributionTotal(store::TDM1& dm) {
    return dm.ADOCn1.scalar(QStringLiteral("select sum(C3) as sumc3 from tab_kmmc where C7='0'"))
        .toLongLong();
}

void ChartControls::chooseChart(ChartPage page) {
    const ChartStyle start;
    if (controls_.legend != start.legend) chooseLegend(start.legend);
    if (controls_.threeD != start.threeD) setThreeD(start.threeD);
    if (controls_.legendVisible != start.legendVisible) setLegendVisible(start.legendVisible);
    if (controls_.labels != start.labels) setLabels(start.labels);
    shown_ = page;
}

void ChartControls::chooseLegend(LegendPosition position) {
    controls_.legend = position;
    shownStyle().legend = position;
    if (shown_ != ChartPage::Distribution) return;
    // Below the pie the legend takes the room the line stood in.
    totalTop_ = position == LegendPosition::Bottom ? totalTop_ - kTotalLineLift : kTotalLineTop;
}

void ChartControls::setThreeD(bool on) {
    controls_.threeD = on;
    shownStyle().threeD = on;
}

void ChartControls::setLegendVisible(bool on) {
    controls_.legendVisible = on;
    shownStyle().legendVisible = on;
}

void ChartControls::setLabels(bool on) {
    controls_.labels = on;
    shownStyle().labels = on;
}

}  // namespace chart
