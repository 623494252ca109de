// "业绩分析报表" (pnl_PerformanceAnalysis): the commission staff's performance over a range in
// four modes, one button down ("点单分析" on every opening), filtered by "提成员工：".
#pragma once

#include "frontdesk/reports/performance_analysis.h"
#include "frontdesk/reports/report_screen.h"

class QToolButton;

namespace sorrel::reports {

class ReportGrid;

class PerformanceAnalysisScreen : public ReportScreen {
    Q_OBJECT
  public:
    PerformanceAnalysisScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    document::DocumentStream printedReport() override;
    QVector<exporting::Sheet> exportSheets() override;

    PerformanceMode mode() const { return mode_; }
    void chooseMode(PerformanceMode mode);

    QComboBox* staff() const { return staff_; }
    QList<QToolButton*> modeButtons() const { return modes_; }
    ReportGrid* grid() const { return grid_; }

  protected:
    void resetFilters() override;
    void refresh() override;

  private:
    ReportList list() const;

    QComboBox* staff_;
    QList<QToolButton*> modes_;
    ReportGrid* grid_;
    PerformanceMode mode_ = PerformanceMode::Lines;
};

} // namespace sorrel::reports
