#include "frontdesk/reports/operator_analysis_screen.h"

#include "frontdesk/reports/bill_analysis.h"
#include "frontdesk/reports/item_analysis.h"
#include "frontdesk/reports/report_grid_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::reports {

namespace {

const char* const kHeadings[] = {"点单（操作）分析报表", "结帐（操作）分析报表", "预订（操作）分析报表"};
const char* const kTitles[] = {"员工点单（操作）分析报表", "员工结帐(操作)分析报表",
                               "员工预订(操作)分析报表"};

} // namespace

OperatorAnalysisScreen::OperatorAnalysisScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : ReportScreen(context, {QStringLiteral("pnl_OperatorAnalysis"), QStringLiteral("点菜（操作）分析报表")},
                   parent) {
    staffCaption_ = new QLabel(QStringLiteral("操作员工"), this);
    staffCaption_->setObjectName(QStringLiteral("lbl_OperatorStaff"));
    staff_ = addFilterList(QStringLiteral("dbl_OperatorStaff"), staffCaption_);
    modes_ =
        addModeButtons({QStringLiteral("点单分析"), QStringLiteral("结帐分析"), QStringLiteral("预订分析")},
                       [this](int mode) { chooseMode(OperatorMode(mode)); });
    filterRow()->addStretch(1);
    grid_ = new ReportGrid(QStringLiteral("dbg_OperatorAnalysis"), context_.db, this);
    body()->addWidget(grid_, 1);
}

void OperatorAnalysisScreen::resetFilters() {
    mode_ = OperatorMode::Items;
    modes_[0]->setChecked(true);
    staffCaption_->setText(QStringLiteral("操作员工"));
    fillChoices(staff_, choices(context_.db, ChoiceList::Operators));
    setHeading(QStringLiteral("点菜（操作）分析报表"));
}

void OperatorAnalysisScreen::chooseMode(OperatorMode mode) {
    ReportScreen::emptyEveryFilterList();
    mode_ = mode;
    modes_[int(mode)]->setChecked(true);
    staffCaption_->setText(mode == OperatorMode::Booked ? QStringLiteral("预订员工")
                                                        : QStringLiteral("操作员工"));
    fillChoices(staff_, choices(context_.db, ChoiceList::Operators));
    refresh();
    setHeading(QString::fromUtf8(kHeadings[int(mode)]));
}

void OperatorAnalysisScreen::refresh() {
    const QString code = chosenCode(staff_);
    if (mode_ == OperatorMode::Items)
        grid_->rows()->setRows(itemColumns(true),
                               itemAnalysis(context_.db, range(), {}, ItemSort::Code, code));
    else
        grid_->rows()->setList(operatorBills(
            range(), mode_ == OperatorMode::Booked ? OperatorBills::Booked : OperatorBills::Settled, code));
}

document::DocumentStream OperatorAnalysisScreen::printedReport() {
    refresh();
    const QString name = chosenName(staff_);
    const ReportFrame f =
        frame(QString::fromUtf8(kTitles[int(mode_)]),
              filterCaption(QStringLiteral("全部员工统计"), QStringLiteral("操作员工"), name));
    if (mode_ == OperatorMode::Items) return operatorItemReport(grid_->rows()->rows(), f);
    return operatorBillReport(
        context_.db,
        operatorBills(range(), mode_ == OperatorMode::Booked ? OperatorBills::Booked : OperatorBills::Settled,
                      chosenCode(staff_)),
        f);
}

QVector<exporting::Sheet> OperatorAnalysisScreen::exportSheets() {
    const QString name = QString::fromUtf8(kHeadings[int(mode_)]);
    if (mode_ == OperatorMode::Items) return {exporting::recordSetSheet(name, itemColumns(true), grid_->rows()->rows())};
    return {operatorBills(range(),
                          mode_ == OperatorMode::Booked ? OperatorBills::Booked : OperatorBills::Settled,
                          chosenCode(staff_))
                .sheet(context_.db, name)};
}

} // namespace sorrel::reports
