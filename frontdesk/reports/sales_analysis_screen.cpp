#include "frontdesk/reports/sales_analysis_screen.h"

#include "common/ui/guard.h"
#include "common/ui/print/document_view.h"
#include "frontdesk/reports/report_grid_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>

namespace sorrel::reports {

namespace {

const QStringList kBusinessCaptions{QStringLiteral("帐 单 数："), QStringLiteral("客 人 数："),
                                    QStringLiteral("酒菜消费："), QStringLiteral("特殊消费："),
                                    QStringLiteral("最低消费："), QStringLiteral("房间消费："),
                                    QStringLiteral("服 务 费："), QStringLiteral("折扣金额：")};
const QStringList kTotalCaptions{QStringLiteral("应收金额："), QStringLiteral("收税金额："),
                                 QStringLiteral("实收金额："), QStringLiteral("提成金额："),
                                 QStringLiteral("酒菜成本："), QStringLiteral("总毛利率："),
                                 QStringLiteral("其它收入："), QStringLiteral("人均消费：")};

} // namespace

SalesAnalysisScreen::SalesAnalysisScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : ReportScreen(context,
                   {QStringLiteral("pnl_SalesAnalysis"),
                    QStringLiteral("消费分析报表"),
                    kRecountCaption,
                    {{sales_tool::kChart, QStringLiteral("图表"), QStyle::SP_FileDialogDetailedView}}},
                   parent) {
    filter_ = addChoiceFilter(QStringLiteral("Sales"), {QStringLiteral("部门"), QStringLiteral("班次")}, [this] { fillValues(); });
    filterRow()->addStretch(1);

    payments_ = new ReportGrid(QStringLiteral("dbg_SalesPayments"), context_.db, this);
    kinds_ = new ReportGrid(QStringLiteral("dbg_SalesKinds"), context_.db, this);
    const auto figureBox = [this](const QString& title, const QStringList& captions) {
        auto* box = new QGroupBox(title, this);
        auto* grid = new QGridLayout(box);
        for (int i = 0; i < captions.size(); ++i) {
            auto* value = new QLabel(box);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            value->setMinimumWidth(90);
            grid->addWidget(new QLabel(captions[i], box), i, 0);
            grid->addWidget(value, i, 1);
            figures_[captions[i]] = value;
        }
        if (captions.last() == QStringLiteral("人均消费："))
            grid->addWidget(new QLabel(QStringLiteral("元/人"), box), int(captions.size()) - 1, 2);
        return box;
    };
    auto* figures = new QHBoxLayout;
    figures->addWidget(figureBox(QStringLiteral("营业分析"), kBusinessCaptions));
    figures->addWidget(figureBox(QStringLiteral("总营业额"), kTotalCaptions));
    auto* grids = new QHBoxLayout;
    grids->addWidget(payments_, 1);
    grids->addWidget(kinds_, 1);
    auto* tables = new QWidget(this);
    auto* tablesColumn = new QVBoxLayout(tables);
    tablesColumn->setContentsMargins(0, 0, 0, 0);
    tablesColumn->addLayout(grids, 1);
    tablesColumn->addLayout(figures);

    pages_ = new ChartPages(tables, QStringLiteral("dcv_SalesChart"), this);
    body()->addWidget(pages_, 1);

    ui::connectGuarded(toolbar()->button(sales_tool::kChart), &QToolButton::clicked, this,
                       &SalesAnalysisScreen::toggleChart);
}

void SalesAnalysisScreen::resetFilters() {
    filter_.reset();
    pages_->showTable();
}

void SalesAnalysisScreen::fillValues() {
    fillChoices(filter_.values, choices(context_.db, filter_.choice->currentIndex() == 0 ? ChoiceList::Departments
                                                                           : ChoiceList::Shifts));
}

DepartmentOrShift SalesAnalysisScreen::filter() const {
    DepartmentOrShift f;
    f.by = filter_.choice->currentIndex() == 1 ? DepartmentOrShift::By::Shift : DepartmentOrShift::By::Department;
    if (filter_.box->isChecked()) {
        f.code = chosenCode(filter_.values);
        f.name = chosenName(filter_.values);
    }
    return f;
}

void SalesAnalysisScreen::refresh() {
    shown_ = salesAnalysis(context_.db, range(), filter(), context_.settings().sumRounding);
    payments_->rows()->setRows(salesPaymentColumns(), shown_.payments);
    kinds_->rows()->setRows(salesKindColumns(), shown_.kinds);
    const SalesFigures& f = shown_.figures;
    const QStringList business{
        QString::number(f.bills), f.guests ? QString::number(qlonglong(*f.guests)) : QString(),
        figureText(f.dish),       figureText(f.special),
        figureText(f.minimum),    figureText(f.room),
        figureText(f.service),    figureText(f.discount)};
    const QStringList totals{figureText(f.due),
                             figureText(f.tax),
                             figureText(f.received),
                             figureText(f.commission),
                             figureText(f.cost),
                             f.margin ? displayText(*f.margin, exporting::CellKind::Percent) : QString(),
                             figureText(f.otherIncome),
                             figureText(f.perGuest)};
    for (int i = 0; i < kBusinessCaptions.size(); ++i)
        figures_[kBusinessCaptions[i]]->setText(business[i]);
    for (int i = 0; i < kTotalCaptions.size(); ++i)
        figures_[kTotalCaptions[i]]->setText(totals[i]);
    if (pages_->chartShown()) pages_->showChart(salesChart(context_.db, range(), filter()));
}

void SalesAnalysisScreen::toggleChart() {
    if (pages_->chartShown()) {
        pages_->showTable();
        return;
    }
    pages_->showChart(salesChart(context_.db, range(), filter()));
}

bool SalesAnalysisScreen::chartShown() const {
    return pages_->chartShown();
}

QString SalesAnalysisScreen::figure(const QString& caption) const {
    return figures_.contains(caption) ? figures_[caption]->text() : QString();
}

document::DocumentStream SalesAnalysisScreen::printedReport() {
    refresh();
    document::Document doc = salesReport(shown_, frame(QStringLiteral("销售分析报表"), filter().caption()));
    return chartShown() ? withChart(doc, salesChart(context_.db, range(), filter())) : doc;
}

QVector<exporting::Sheet> SalesAnalysisScreen::exportSheets() {
    return {exporting::recordSetSheet(QStringLiteral("收入状况"), salesPaymentColumns(), shown_.payments),
            exporting::recordSetSheet(QStringLiteral("消费状况"), salesKindColumns(), shown_.kinds)};
}

} // namespace sorrel::reports
