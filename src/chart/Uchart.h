// The score chart window: the chapters' figures as a frequency, a distribution or a
// progress chart, with the legend and display options, printing and saving.
#pragma once

#include "ChartData.h"
#include "ModalForm.h"

#include <QImage>
#include <QList>
#include <QPrinterInfo>

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPrinter;
class QStackedWidget;
class QChart;
class QChartView;

namespace store {
class TDM1;
}
namespace widgets {
class FlatButton;
}

namespace chart {

class DepthPainter;
class PieLegend;

// What printing needs of the system: its printers and the one printed on. Tests
// put a printer that writes a PDF file in place of the default one.
struct PrinterAccess {
    std::function<QList<QPrinterInfo>()> printers;
    std::function<std::unique_ptr<QPrinter>()> defaultPrinter;
};
PrinterAccess SystemPrinters();

// The file name chosen in the save dialog, or empty when cancelled.
using SaveDialog = std::function<QString(QWidget* parent, const QString& filter)>;

// Writes the picture as the file's extension says (.png, .pdf, otherwise BMP);
// false when it could not be written.
bool SaveChartPicture(const QImage& picture, const QString& fileName);

class Tfrmchart : public widgets::ModalForm {
    Q_OBJECT
  public:
    static constexpr QSize kLargeSize{934, 600};
    static constexpr QSize kCompactSize{790, 472};
    static inline const QString kSaveFilter =
        QStringLiteral("Bitmaps图片 (*.bmp);;PNG图片 (*.png);;PDF文档 (*.pdf)");

    explicit Tfrmchart(store::TDM1& dm, QWidget* parent = nullptr);
    ~Tfrmchart() override;

    void setPrinterAccess(PrinterAccess access) { printers_ = std::move(access); }
    void setSaveDialog(SaveDialog dialog) { saveDialog_ = std::move(dialog); }

    void FormShow();
    void RadioGroupTypeClick(int item);    // 0 习题分布, 1 频度统计, 2 进度统计
    void RadioGroupLegendClick(int item);  // 0 上方, 1 下方, 2 左侧, 3 右侧
    void CheckBox3DClick();
    void CheckBoxLegendClick();
    void CheckBoxLabelsClick();
    void SettingsClick();
    void SaveClick();
    void PrintClick();
    void CloseClick();
    void FormClose();

    const ChartControls& controls() const { return controls_; }
    QChart* chartOf(ChartPage page) const;
    QChartView* viewOf(ChartPage page) const;
    // The shown chart as a picture, as it is saved and printed.
    QImage chartPicture() const;

    QStackedWidget* ChartPages;
    QGroupBox* RadioGroupType;
    QGroupBox* RadioGroupLegend;
    QGroupBox* GroupBoxStyle;
    QButtonGroup* typeItems;
    QButtonGroup* legendItems;
    QCheckBox* CheckBox3D;
    QCheckBox* CheckBoxLegend;
    QCheckBox* CheckBoxLabels;
    QLabel* TotalLabel;
    widgets::FlatButton* SettingsButton;
    widgets::FlatButton* SaveButton;
    widgets::FlatButton* PrintButton;
    widgets::FlatButton* CloseButton;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeQuery(bool& canClose) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void buildCharts();
    void fillCharts(const ChartData& data);
    void layOut();
    // Draws a chart as its page's style says.
    void applyStyle(ChartPage page);
    void syncControls();

    store::TDM1& dm_;
    ChartControls controls_;
    QChart* charts_[3] = {};
    QChartView* views_[3] = {};
    DepthPainter* depth_[3] = {};
    PieLegend* pieLegend_ = nullptr;
    PrinterAccess printers_;
    SaveDialog saveDialog_;
    bool syncing_ = false;
};

// The chart window while it is open.
inline Tfrmchart* frmchart = nullptr;

}  // namespace chart
