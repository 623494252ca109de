// "销售分析报表" (pnl_SalesAnalysis, heading "消费分析报表"): receipts per method, consumption per
// kind, the bills' figures; a department or shift filter behind its check box; "图表" shows the
// receipts per day stacked by kind.
#pragma once

#include "frontdesk/reports/report_screen.h"
#include "frontdesk/reports/sales_analysis.h"

#include <QMap>

class QCheckBox;
class QStackedWidget;

namespace sorrel::ui::print {
class DocumentView;
}

namespace sorrel::reports {

class ReportGrid;

namespace sales_tool {
inline constexpr char kChart[] = "toolb_SalesChart";
}

class SalesAnalysisScreen : public ReportScreen {
    Q_OBJECT
  public:
    SalesAnalysisScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    document::DocumentStream printedReport() override;
    QVector<exporting::Sheet> exportSheets() override;

    QCheckBox* filterBox() const { return filter_.box; }
    QComboBox* choice() const { return filter_.choice; }
    QComboBox* values() const { return filter_.values; }
    ReportGrid* payments() const { return payments_; }
    ReportGrid* kinds() const { return kinds_; }
    // The figure shown beside a caption of "营业分析" or "总营业额" ("帐 单 数：").
    QString figure(const QString& caption) const;
    bool chartShown() const;

  protected:
    void resetFilters() override;
    void refresh() override;

  private:
    DepartmentOrShift filter() const;
    void fillValues();
    void toggleChart();

    ChoiceFilter filter_;
    ReportGrid* payments_;
    ReportGrid* kinds_;
    QMap<QString, QLabel*> figures_;
    ChartPages* pages_;
    SalesAnalysis shown_;
};

} // namespace sorrel::reports
