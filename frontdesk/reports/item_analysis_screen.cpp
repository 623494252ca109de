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
    filterBox_ = new QCheckBox(this);
    filterBox_->setObjectName(QStringLiteral("chk_ItemFilter"));
    choice_ = new QComboBox(this);
    choice_->setObjectName(QStringLiteral("cbb_ItemChoice"));
    choice_->addItems(
        {QStringLiteral("大类"), QStringLiteral("部门"), QStringLiteral("出品"), QStringLiteral("班次")});
    filterRow()->addWidget(filterBox_);
    filterRow()->addWidget(choice_);
    values_ = addFilterList(QStringLiteral("dbl_ItemValue"));
    values_->hide();
    filterRow()->addStretch(1);

    grid_ = new ReportGrid(QStringLiteral("dbg_ItemAnalysis"), context_.db, this);
    grid_->rows()->setColumnColour(QStringLiteral("facttotal"), QColor(0, 128, 0));
    chart_ = new ui::print::DocumentView(this);
    chart_->setObjectName(QStringLiteral("dcv_ItemChart"));
    auto* chartArea = new QScrollArea(this);
    chartArea->setWidgetResizable(true);
    chartArea->setWidget(chart_);
    pages_ = new QStackedWidget(this);
    pages_->addWidget(grid_);
    pages_->addWidget(chartArea);
    body()->addWidget(pages_, 1);

    ui::connectGuarded(sort_, &QComboBox::activated, this, &ItemAnalysisScreen::refresh);
    ui::connectGuarded(filterBox_, &QCheckBox::toggled, this, [this](bool on) {
        values_->setVisible(on);
        if (!on) return;
        choice_->setCurrentIndex(0);
        fillValues();
    });
    ui::connectGuarded(choice_, &QComboBox::activated, this, [this] { fillValues(); });
    ui::connectGuarded(toolbar()->button(item_tool::kChart), &QToolButton::clicked, this,
                       &ItemAnalysisScreen::toggleChart);
}

void ItemAnalysisScreen::resetFilters() {
    choice_->setCurrentIndex(0);
    filterBox_->setChecked(false);
    values_->hide();
    pages_->setCurrentIndex(0);
}

void ItemAnalysisScreen::fillValues() {
    static const ChoiceList lists[] = {ChoiceList::Kinds, ChoiceList::Departments, ChoiceList::OutputPoints,
                                       ChoiceList::Shifts};
    fillChoices(values_, choices(context_.db, lists[qMax(0, choice_->currentIndex())]));
}

ItemFilter ItemAnalysisScreen::filter() const {
    ItemFilter f;
    f.by = ItemFilter::By(qMax(0, choice_->currentIndex()));
    if (filterBox_->isChecked()) {
        f.code = chosenCode(values_);
        f.name = chosenName(values_);
    }
    return f;
}

void ItemAnalysisScreen::refresh() {
    const RecordSet items =
        itemAnalysis(context_.db, range(), filter(), ItemSort(qMax(0, sort_->currentIndex())));
    grid_->rows()->setRows(itemColumns(false), items);
    if (chartShown()) chart_->setChart(itemChart(items));
}

void ItemAnalysisScreen::toggleChart() {
    if (chartShown()) {
        pages_->setCurrentIndex(0);
        return;
    }
    chart_->setChart(itemChart(grid_->rows()->rows()));
    pages_->setCurrentIndex(1);
}

bool ItemAnalysisScreen::chartShown() const {
    return pages_->currentIndex() == 1;
}

document::Document ItemAnalysisScreen::printedReport() {
    refresh();
    document::Document doc =
        itemReport(context_.db, range(), filter(), frame(QStringLiteral("点单分析报表"), filter().caption()));
    return chartShown() ? withChart(doc, itemChart(grid_->rows()->rows())) : doc;
}

QVector<exporting::Sheet> ItemAnalysisScreen::exportSheets() {
    return {sheetOf(QStringLiteral("点单分析"), itemColumns(false), grid_->rows()->rows())};
}

} // namespace sorrel::reports
