// "点单分析报表" (pnl_ItemAnalysis): the items of a range, sorted by "排序：" (re-queried at
// once), filtered by kind, department, output point or shift behind the check box; "图表" shows
// the top 15 items by sales amount.
#pragma once

#include "frontdesk/reports/item_analysis.h"
#include "frontdesk/reports/report_screen.h"

class QCheckBox;
class QStackedWidget;

namespace sorrel::ui::print {
class DocumentView;
}

namespace sorrel::reports {

class ReportGrid;

namespace item_tool {
inline constexpr char kChart[] = "toolb_ItemChart";
}

class ItemAnalysisScreen : public ReportScreen {
    Q_OBJECT
  public:
    ItemAnalysisScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    document::DocumentStream printedReport() override;
    QVector<exporting::Sheet> exportSheets() override;

    QComboBox* sort() const { return sort_; }
    QCheckBox* filterBox() const { return filter_.box; }
    QComboBox* choice() const { return filter_.choice; }
    QComboBox* values() const { return filter_.values; }
    ReportGrid* grid() const { return grid_; }
    bool chartShown() const;

  protected:
    void resetFilters() override;
    void refresh() override;

  private:
    ItemFilter filter() const;
    void fillValues();
    void toggleChart();

    QComboBox* sort_;
    ChoiceFilter filter_;
    ReportGrid* grid_;
    ChartPages* pages_;
};

} // namespace sorrel::reports
