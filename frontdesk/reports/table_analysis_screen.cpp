#include "frontdesk/reports/table_analysis_screen.h"

#include "frontdesk/reports/bill_analysis.h"
#include "frontdesk/reports/report_grid_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace sorrel::reports {

TableAnalysisScreen::TableAnalysisScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : ReportScreen(context,
                   {QStringLiteral("pnl_TableAnalysis"), QStringLiteral("房台分析报表"), kRequeryCaption},
                   parent) {
    table_ = new QLineEdit(this);
    table_->setObjectName(QStringLiteral("edt_TableCode"));
    table_->setMaxLength(3);
    table_->setMaximumWidth(80);
    filterRow()->addWidget(new QLabel(QStringLiteral("房台号："), this));
    filterRow()->addWidget(table_);
    filterRow()->addStretch(1);
    grid_ = new ReportGrid(QStringLiteral("dbg_TableAnalysis"), context_.db, this);
    body()->addWidget(grid_, 1);
}

void TableAnalysisScreen::resetFilters() {
    table_->clear();
}

void TableAnalysisScreen::refresh() {
    grid_->rows()->setList(tableAnalysis(range(), table_->text()));
}

document::DocumentStream TableAnalysisScreen::printedReport() {
    refresh();
    return tableReport(context_.db, tableAnalysis(range(), table_->text()),
                       frame(QStringLiteral("房台分析报表"), QString()));
}

QVector<exporting::Sheet> TableAnalysisScreen::exportSheets() {
    return {tableAnalysis(range(), table_->text()).sheet(context_.db, QStringLiteral("房台分析"))};
}

} // namespace sorrel::reports
