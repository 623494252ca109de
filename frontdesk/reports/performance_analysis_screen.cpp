#include "frontdesk/reports/performance_analysis_screen.h"

#include "frontdesk/reports/report_grid_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::reports {

namespace {

const char* const kTitles[] = {"点单业绩分析报表", "点单业绩统计报表", "帐单业绩分析报表",
                               "帐单业绩统计报表"};

} // namespace

PerformanceAnalysisScreen::PerformanceAnalysisScreen(const frontdesk::FrontDeskContext& context,
                                                     QWidget* parent)
    : ReportScreen(context,
                   {QStringLiteral("pnl_PerformanceAnalysis"), performanceHeading(PerformanceMode::Lines)},
                   parent) {
    staff_ =
        addFilterList(QStringLiteral("dbl_PerformanceStaff"), new QLabel(QStringLiteral("提成员工："), this));
    modes_ = addModeButtons({QStringLiteral("点单分析"), QStringLiteral("点单统计"),
                             QStringLiteral("帐单分析"), QStringLiteral("帐单统计")},
                            [this](int mode) { chooseMode(PerformanceMode(mode)); });
    filterRow()->addStretch(1);
    grid_ = new ReportGrid(QStringLiteral("dbg_PerformanceAnalysis"), context_.db, this);
    body()->addWidget(grid_, 1);
}

void PerformanceAnalysisScreen::resetFilters() {
    mode_ = PerformanceMode::Lines;
    modes_[0]->setChecked(true);
    fillChoices(staff_, choices(context_.db, ChoiceList::CommissionStaff));
    setHeading(performanceHeading(mode_));
}

void PerformanceAnalysisScreen::chooseMode(PerformanceMode mode) {
    ReportScreen::emptyEveryFilterList();
    mode_ = mode;
    modes_[int(mode)]->setChecked(true);
    fillChoices(staff_, choices(context_.db, ChoiceList::CommissionStaff));
    refresh();
    setHeading(performanceHeading(mode));
}

ReportList PerformanceAnalysisScreen::list() const {
    return performanceAnalysis(context_.db, range(), mode_, chosenCode(staff_));
}

void PerformanceAnalysisScreen::refresh() {
    grid_->rows()->setList(list());
}

document::DocumentStream PerformanceAnalysisScreen::printedReport() {
    refresh();
    return performanceReport(context_.db, mode_, list(),
                             frame(QString::fromUtf8(kTitles[int(mode_)]),
                                   filterCaption(QStringLiteral("全部提成员工统计"),
                                                 QStringLiteral("提成员工"), chosenName(staff_))));
}

QVector<exporting::Sheet> PerformanceAnalysisScreen::exportSheets() {
    return {list().sheet(context_.db, performanceHeading(mode_))};
}

} // namespace sorrel::reports
