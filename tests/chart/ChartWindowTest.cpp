#include "ChartBank.h"
#include "FakePrompts.h"
#include "Globals.h"
#include "Uchart.h"
#include "WindowDriver.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPieSeries>
#include <QPrinter>
#include <QStackedWidget>

namespace {

class ChartWindowTest : public ChartBankTest {
  protected:
    void SetUp() override {
        ChartBankTest::SetUp();
        qb::ScreenMode = QStringLiteral("1024");
        addSmallBank();
        window = std::make_unique<chart::Tfrmchart>(*dm);
        window->show();
    }
    void TearDown() override { window.reset(); }
    void click(const QString& name) { ClickControl(window.get(), name); }
    int totalTop() { return window->TotalLabel->y(); }

    FakePrompts prompts;
    std::unique_ptr<chart::Tfrmchart> window;
};

TEST_F(ChartWindowTest, ShowsFrequencyThenEachChosenChart) {
    EXPECT_EQ(window->ChartPages->currentIndex(), int(chart::ChartPage::Frequency));
    EXPECT_TRUE(FindControl(window.get(), QStringLiteral("TypeItem1"))->isChecked());
    QStringList series;
    for (QAbstractSeries* s : window->chartOf(chart::ChartPage::Frequency)->series())
        series << static_cast<QBarSeries*>(s)->barSets().first()->label();
    EXPECT_EQ(series, QStringList({"已做题次", "做错题次"}));

    click(QStringLiteral("TypeItem0"));
    EXPECT_EQ(window->ChartPages->currentIndex(), int(chart::ChartPage::Distribution));
    EXPECT_EQ(window->TotalLabel->text(),
              QStringLiteral("习题总数:") + QString::number(chart::DistributionTotal(*dm)));
    auto* pie = qobject_cast<QPieSeries*>(
        window->chartOf(chart::ChartPage::Distribution)->series().first());
    ASSERT_NE(pie, nullptr);
    EXPECT_EQ(pie->count(), 11);

    // 下方 lifts the total line, 上方 puts it back where it stood.
    const int normal = totalTop();
    click(QStringLiteral("LegendItem1"));
    EXPECT_EQ(totalTop(), normal - 30);
    EXPECT_EQ(window->chartOf(chart::ChartPage::Distribution)->legend()->alignment(),
              Qt::AlignBottom);
    click(QStringLiteral("LegendItem0"));
    EXPECT_EQ(totalTop(), normal);

    // Unchecking the legend greys the legend group until a chart is chosen again.
    click(QStringLiteral("CheckBoxLegend"));
    EXPECT_FALSE(window->RadioGroupLegend->isEnabled());
    EXPECT_FALSE(window->chartOf(chart::ChartPage::Distribution)->legend()->isVisible());
    click(QStringLiteral("TypeItem2"));
    EXPECT_TRUE(window->RadioGroupLegend->isEnabled());
    EXPECT_TRUE(window->CheckBoxLegend->isChecked());
    EXPECT_TRUE(window->chartOf(chart::ChartPage::Distribution)->legend()->isVisible());
    EXPECT_EQ(window->ChartPages->currentIndex(), int(chart::ChartPage::Progress));
}

TEST_F(ChartWindowTest, SavesTheShownChartAsBitmap) {
    const QString file = dir.path() + QStringLiteral("/chart.bmp");
    QString filterAsked;
    window->setSaveDialog([&](QWidget*, const QString& filter) {
        filterAsked = filter;
        return file;
    });
    click(QStringLiteral("SaveButton"));
    EXPECT_TRUE(filterAsked.startsWith(QStringLiteral("Bitmaps图片 (*.bmp)")));
    QImageReader reader(file);
    EXPECT_EQ(reader.format(), QByteArray("bmp"));
    EXPECT_EQ(reader.read().size(),
              window->viewOf(chart::ChartPage::Frequency)->size() * window->devicePixelRatio());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(QLatin1Char('\n')).toStdString();

    window->setSaveDialog(
        [&](QWidget*, const QString&) { return dir.path() + QStringLiteral("/no/such/c.bmp"); });
    click(QStringLiteral("SaveButton"));
    EXPECT_EQ(prompts.shown, QStringList({"prompt|错误|无法保存文件！|1|2"}));
}

TEST_F(ChartWindowTest, PrintsOnTheDefaultPrinterOrSaysThereIsNone) {
    const QString pdf = dir.path() + QStringLiteral("/printed.pdf");
    const auto pdfPrinter = [pdf] {
        auto printer = std::make_unique<QPrinter>();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return printer;
    };
    const struct {
        QList<QPrinterInfo> printers;
        QStringList prompts;
        bool printed;
    } cases[] = {
        {{}, {"prompt|提示|没有发现打印机！|1|1"}, false},
        {{QPrinterInfo()}, {}, true},
    };
    for (const auto& c : cases) {
        prompts.shown.clear();
        QFile::remove(pdf);
        window->setPrinterAccess({[&c] { return c.printers; }, pdfPrinter});
        click(QStringLiteral("PrintButton"));
        EXPECT_EQ(prompts.shown, c.prompts);
        QFile printed(pdf);
        EXPECT_EQ(printed.open(QIODevice::ReadOnly) && printed.read(4) == "%PDF", c.printed);
    }
}

}  // namespace
