// "操作分析报表" (pnl_OperatorAnalysis): what an operator did over a range, in three modes, one
// button down: the items ordered ("点单分析"), the bills settled ("结帐分析") and the bookings
// taken ("预订分析"); the staff list follows the mode ("操作员工" / "预订员工").
#pragma once

#include "frontdesk/reports/report_screen.h"

class QToolButton;

namespace sorrel::reports {

class ReportGrid;

enum class OperatorMode { Items, Settled, Booked };

class OperatorAnalysisScreen : public ReportScreen {
    Q_OBJECT
  public:
    OperatorAnalysisScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    document::DocumentStream printedReport() override;
    QVector<exporting::Sheet> exportSheets() override;

    OperatorMode mode() const { return mode_; }
    // A mode button pressed: relabel and refill the staff list, compute, set the heading.
    void chooseMode(OperatorMode mode);

    QLabel* staffCaption() const { return staffCaption_; }
    QComboBox* staff() const { return staff_; }
    QList<QToolButton*> modeButtons() const { return modes_; }
    ReportGrid* grid() const { return grid_; }

  protected:
    void resetFilters() override;
    void refresh() override;

  private:
    QLabel* staffCaption_;
    QComboBox* staff_;
    QList<QToolButton*> modes_;
    ReportGrid* grid_;
    OperatorMode mode_ = OperatorMode::Items;
};

} // namespace sorrel::reports
