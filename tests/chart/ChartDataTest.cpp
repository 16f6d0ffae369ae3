#include "ChartBank.h"
#include "ChartData.h"

using chart::ChartControls;
using chart::ChartPage;
using chart::LegendPosition;

namespace {

TEST(ChartColourTest, RowNumberReadAsBlueGreenRed) {
    const struct {
        int i;
        qint64 value;
        QColor colour;
    } cases[] = {
        {0, 255, QColor(255, 0, 0)},
        {1, 80255, QColor(0x7F, 0x39, 0x01)},
        {10, 800255, QColor(0xFF, 0x35, 0x0C)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chart::ChartColourValue(c.i), c.value) << c.i;
        EXPECT_EQ(chart::ChartColour(c.i), c.colour) << c.i;
    }
}

TEST(ProgressPercentTest, CutTowardsZero) {
    const struct {
        qint64 c4, c3;
        int percent;
    } cases[] = {{1, 3, 33}, {2, 3, 66}, {5, 6, 83}, {7, 7, 100}, {0, 9, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(chart::ProgressPercent(c.c4, c.c3), c.percent) << c.c4 << "/" << c.c3;
}

using ChartFiguresTest = ChartBankTest;

// Every figure against the same question put to the file on its own.
TEST_F(ChartFiguresTest, FiguresOfTheChartedRows) {
    addSmallBank();
    const chart::ChartData data = chart::LoadChartData(*dm);

    QStringList expected, got;
    dm->ADOCn1.query(QStringLiteral("select C2,C3,D1,D2 from tab_kmmc where C7='0' order by rowid"),
                     {}, [&expected](store::Statement& s) {
                         expected << QStringLiteral("%1|%2|%3|%4")
                                         .arg(s.value(0).toString(), s.value(1).toString(),
                                              s.value(2).toString(), s.value(3).toString());
                     });
    for (int i = 0; i < data.distribution.size(); ++i) {
        got << QStringLiteral("%1|%2|%3|%4")
                   .arg(data.distribution[i].label)
                   .arg(data.distribution[i].value)
                   .arg(data.frequency[i].attempts)
                   .arg(data.frequency[i].wrong);
        EXPECT_EQ(data.distribution[i].colour, chart::ChartColour(i));
        EXPECT_EQ(data.frequency[i].label, data.distribution[i].label);
    }
    EXPECT_EQ(got, expected);

    // Progress leaves the chapter without questions out, but keeps the colour of
    // each row's own number.
    QStringList expectedProgress, gotProgress;
    int row = 0;
    dm->ADOCn1.query(QStringLiteral("select C2,C3,C4 from tab_kmmc where C7='0' order by rowid"),
                     {}, [&](store::Statement& s) {
                         if (s.value(1).toInt() != 0)
                             expectedProgress << QStringLiteral("%1|%2|%3")
                                                     .arg(s.value(0).toString(),
                                                          QString::number(s.value(2).toInt() * 100 /
                                                                          s.value(1).toInt()),
                                                          chart::ChartColour(row).name());
                         ++row;
                     });
    for (const chart::ProgressBar& bar : data.progress)
        gotProgress
            << QStringLiteral("%1|%2|%3").arg(bar.label).arg(bar.percent).arg(bar.colour.name());
    EXPECT_EQ(gotProgress, expectedProgress);
    ASSERT_GE(data.progress.size(), 2);
    EXPECT_EQ(data.progress[0].percent, 33);
    EXPECT_EQ(data.progress[1].label, QStringLiteral("第三章"));

    EXPECT_EQ(chart::DistributionTotal(*dm),
              dm->ADOCn1.scalar(QStringLiteral("select sum(C3) from tab_kmmc where C7='0'"))
                  .toLongLong());
}

TEST_F(ChartFiguresTest, NoChartedRowsGiveEmptyChartsAndTotalZero) {
    addRows({{"01", "科目一", 90, 40, 200, 50, "1"}});
    const chart::ChartData data = chart::LoadChartData(*dm);
    EXPECT_TRUE(data.distribution.isEmpty());
    EXPECT_TRUE(data.frequency.isEmpty());
    EXPECT_TRUE(data.progress.isEmpty());
    EXPECT_EQ(chart::DistributionTotal(*dm), 0);
}

// The legend moves the distribution page's total line; other pages leave it be.
TEST(ChartControlsTest, TotalLineFollowsTheLegend) {
    const struct {
        ChartPage page;
        std::vector<LegendPosition> clicks;
        int top;
    } cases[] = {
        {ChartPage::Distribution, {LegendPosition::Bottom}, 370},
        {ChartPage::Distribution, {LegendPosition::Bottom, LegendPosition::Top}, 400},
        {ChartPage::Distribution, {LegendPosition::Bottom, LegendPosition::Bottom}, 340},
        {ChartPage::Distribution, {LegendPosition::Bottom, LegendPosition::Right}, 400},
        {ChartPage::Frequency, {LegendPosition::Bottom}, 400},
    };
    for (const auto& c : cases) {
        ChartControls controls;
        controls.chooseChart(c.page);
        for (LegendPosition p : c.clicks)
            controls.chooseLegend(p);
        EXPECT_EQ(controls.totalLineTop(), c.top) << static_cast<int>(c.page);
        EXPECT_EQ(controls.styleOf(c.page).legend, c.clicks.back());
    }
}

// Choosing a chart first puts the controls back, and each change acts on the chart
// shown at that moment, before the chosen one is shown.
TEST(ChartControlsTest, ChartChoiceResetsTheStyleOfTheChartShown) {
    ChartControls controls;
    controls.chooseChart(ChartPage::Distribution);
    controls.chooseLegend(LegendPosition::Bottom);
    controls.setThreeD(false);
    controls.setLegendVisible(false);
    controls.setLabels(false);
    EXPECT_FALSE(controls.legendGroupEnabled());

    controls.chooseChart(ChartPage::Progress);
    const chart::ChartStyle start;
    EXPECT_EQ(controls.shown(), ChartPage::Progress);
    EXPECT_EQ(controls.controls(), start);
    EXPECT_EQ(controls.styleOf(ChartPage::Distribution), start);
    EXPECT_EQ(controls.styleOf(ChartPage::Progress), start);
    EXPECT_TRUE(controls.legendGroupEnabled());
    EXPECT_EQ(controls.totalLineTop(), ChartControls::kTotalLineTop);
}

}  // namespace
