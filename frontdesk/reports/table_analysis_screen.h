// "房台分析报表" (pnl_TableAnalysis): the bills of a range, of one table when its code is typed
// in "房台号："; printed by department.
#pragma once

#include "frontdesk/reports/report_screen.h"

class QLineEdit;

namespace sorrel::reports {

class ReportGrid;

class TableAnalysisScreen : public ReportScreen {
    Q_OBJECT
  public:
    TableAnalysisScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    document::DocumentStream printedReport() override;
    QVector<exporting::Sheet> exportSheets() override;

    QLineEdit* tableCode() const { return table_; }
    ReportGrid* grid() const { return grid_; }

  protected:
    void resetFilters() override;
    void refresh() override;

  private:
    QLineEdit* table_;
    ReportGrid* grid_;
};

} // namespace sorrel::reports
