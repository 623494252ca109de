#include "frontdesk/reports/item_analysis_screen.h"

#include "common/ui/guard.h"
#include "common/ui/print/document_view.h"
#include "frontdesk/reports/report_grid_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::reports {

ItemAnalysisScreen::ItemAnalysisScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : ReportScreen(context,
                   {QStringLiteral("pnl_ItemAnalysis"),
                    QStringLiteral("点单分析报表"),
                    kRequeryCaption,
                    {{item_tool::kChart, QStringLiteral("图表"), QStyle::SP_FileDialogDetailedView}}},
                   parent) {
    sort_ = new QComboBox(this);
    sort_->setObjectName(QStringLiteral("cbb_ItemSort"));
    sort_->addItems(
        {QStringLiteral("编号"), QStringLiteral("总数"), QStringLiteral("总金额"), QStringLiteral("销售额")});
    filterRow()->addWidget(new QLabel(QStringLiteral("排序："), this));
    filterRow()->addWidget(sort_);
    filterRow()->addSpacing(12);
    filter_ = addChoiceFilter(QStringLiteral("Item"), {QStringLiteral("大类"), QStringLiteral("部门"), QStringLiteral("出品"), QStringLiteral("班次")}, [this] { fillValues(); });
    filterRow()->addStretch(1);

    grid_ = new ReportGrid(QStringLiteral("dbg_ItemAnalysis"), context_.db, this);
    grid_->rows()->setColumnColour(QStringLiteral("facttotal"), QColor(0, 128, 0));
    pages_ = new ChartPages(grid_, QStringLiteral("dcv_ItemChart"), this);
    body()->addWidget(pages_, 1);

    ui::connectGuarded(sort_, &QComboBox::activated, this, &ItemAnalysisScreen::refresh);
    ui::connectGuarded(toolbar()->button(item_tool::kChart), &QToolButton::clicked, this,
                       &ItemAnalysisScreen::toggleChart);
}

void ItemAnalysisScreen::resetFilters() {
    filter_.reset();
    pages_->showTable();
}

void ItemAnalysisScreen::fillValues() {
    static const ChoiceList lists[] = {ChoiceList::Kinds, ChoiceList::Departments, ChoiceList::OutputPoints,
                                       ChoiceList::Shifts};
    fillChoices(filter_.values, choices(context_.db, lists[qMax(0, filter_.choice->currentIndex())]));
}

ItemFilter ItemAnalysisScreen::filter() const {
    ItemFilter f;
    f.by = ItemFilter::By(qMax(0, filter_.choice->currentIndex()));
    if (filter_.box->isChecked()) {
        f.code = chosenCode(filter_.values);
        f.name = chosenName(filter_.values);
    }
    return f;
}

void ItemAnalysisScreen::refresh() {
    const RecordSet items =
        itemAnalysis(context_.db, range(), filter(), ItemSort(qMax(0, sort_->currentIndex())));
    grid_->rows()->setRows(itemColumns(false), items);
    if (pages_->chartShown()) pages_->showChart(itemChart(items));
}

void ItemAnalysisScreen::toggleChart() {
    if (pages_->chartShown()) {
        pages_->showTable();
        return;
    }
    pages_->showChart(itemChart(grid_->rows()->rows()));
}

bool ItemAnalysisScreen::chartShown() const {
    return pages_->chartShown();
}

document::DocumentStream ItemAnalysisScreen::printedReport() {
    refresh();
    document::Document doc =
        itemReport(context_.db, range(), filter(), frame(QStringLiteral("点单分析报表"), filter().caption()));
    return chartShown() ? withChart(doc, itemChart(grid_->rows()->rows())) : doc;
}

QVector<exporting::Sheet> ItemAnalysisScreen::exportSheets() {
    return {exporting::recordSetSheet(QStringLiteral("点单分析"), itemColumns(false), grid_->rows()->rows())};
}

} // namespace sorrel::reports
