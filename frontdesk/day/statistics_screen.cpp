#include "frontdesk/day/statistics_screen.h"

#include "common/db/recordset.h"
#include "common/document/number_format.h"
#include "common/ui/guard.h"
#include "common/ui/panel_host.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/day/bold_label.h"
#include "frontdesk/day/current_statistics.h"

#include <QHeaderView>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::day {

StatisticsScreen::StatisticsScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_Statistics"));
    setAutoFillBackground(true);
    using namespace statistics_tool;
    toolbar_ = new ui::ToolStrip(QStringLiteral("pnl_StatisticsTools"),
                                 {
                                     {kBack, QStringLiteral("回退"), QStyle::SP_ArrowBack},
                                     {kHelp, QStringLiteral("帮助信息"), QStyle::SP_DialogHelpButton},
                                 },
                                 this);
    QLabel* title = boldLabel(QStringLiteral("当日营业统计报表"), 18, this);
    title->setObjectName(QStringLiteral("lbl_StatTitle"));
    title->setAlignment(Qt::AlignCenter);
    time_ = new QLabel(this);
    time_->setObjectName(QStringLiteral("lbl_StatTime"));
    grid_ = new ui::TextGrid(QStringLiteral("dbg_Statistics"), day::statisticsColumns(), this);
    grid_->setSelectionColours(Qt::white, Qt::black);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 8, 12, 12);
    body->addWidget(title);
    body->addWidget(time_);
    body->addWidget(grid_, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(toolbar_);
    column->addLayout(body, 1);

    ui::connectGuarded(toolbar_->button(kBack), &QToolButton::clicked, this, &StatisticsScreen::back);
}

void StatisticsScreen::present() {
    const RecordSet statistics = day::loadCurrentStatistics(context_.db);
    QList<QStringList> rows;
    for (int r = 0; r < statistics.rowCount(); ++r) {
        QStringList row{statistics.text(r, day::statisticsColumns().first())};
        for (int c = 1; c < statistics.columnCount(); ++c)
            row << (statistics.columns()[c].endsWith(QStringLiteral("金额"))
                        ? document::formatNumber(statistics.number(r, statistics.columns()[c]),
                                                 document::NumberFormat::Money)
                        : QString::number(statistics.integer(r, statistics.columns()[c])));
        rows << row;
    }
    grid_->setRows(rows);
    for (int r = 0; r < statistics.rowCount(); ++r) {
        const bool total = day::isTotalRow(statistics, r);
        for (int c = 0; c < grid_->columnCount(); ++c) {
            QTableWidgetItem* item = grid_->item(r, c);
            QFont font = item->font();
            font.setBold(total);
            item->setFont(font);
            item->setForeground(total ? QColor(Qt::darkGreen) : QColor(Qt::black));
            item->setBackground(Qt::white);
            if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    time_->setText(QStringLiteral("统计时间：") +
                   context_.clock.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    context_.navigator.showPanel(this, context_.host, true);
    grid_->setFocus();
}

} // namespace sorrel::day
