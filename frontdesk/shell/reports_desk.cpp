#include "frontdesk/shell/reports_desk.h"

#include "common/ui/guard.h"
#include "common/ui/panel_host.h"
#include "frontdesk/reports/bill_detail_screen.h"
#include "frontdesk/reports/item_analysis_screen.h"
#include "frontdesk/reports/operator_analysis_screen.h"
#include "frontdesk/reports/performance_analysis_screen.h"
#include "frontdesk/reports/query_screen.h"
#include "frontdesk/reports/report_screen.h"
#include "frontdesk/reports/sales_analysis_screen.h"
#include "frontdesk/reports/table_analysis_screen.h"
#include "frontdesk/tables/board_screen.h"

#include <QMenu>

namespace sorrel::frontdesk {

ReportsDesk::ReportsDesk(const FrontDeskContext& context, tables::BoardScreen* board, QMenu* menu,
                         QObject* parent)
    : QObject(parent), context_(context), board_(board) {
    sales_ = new reports::SalesAnalysisScreen(context_, context_.host);
    table_ = new reports::TableAnalysisScreen(context_, context_.host);
    items_ = new reports::ItemAnalysisScreen(context_, context_.host);
    operators_ = new reports::OperatorAnalysisScreen(context_, context_.host);
    performance_ = new reports::PerformanceAnalysisScreen(context_, context_.host);
    for (reports::ReportScreen* screen :
         QList<reports::ReportScreen*>{sales_, table_, items_, operators_, performance_})
        adopt(screen);
    // Between the shift's two entries and the reset, which stays last.
    const QList<QAction*> present = menu->actions();
    QAction* before = present.isEmpty() ? nullptr : present.last();
    for (const MenuEntry& entry : menuEntries()) {
        auto* action = new QAction(entry.caption, menu);
        menu->insertAction(before, action);
        ui::connectGuarded(action, &QAction::triggered, this, entry.open);
    }
}

QList<ReportsDesk::MenuEntry> ReportsDesk::menuEntries() {
    return {
        {QStringLiteral("销售分析报表"), &ReportsDesk::openSalesAnalysis},
        {QStringLiteral("房台分析报表"), &ReportsDesk::openTableAnalysis},
        {QStringLiteral("点单分析报表"), &ReportsDesk::openItemAnalysis},
        {QStringLiteral("操作分析报表"), &ReportsDesk::openOperatorAnalysis},
        {QStringLiteral("业绩分析报表"), &ReportsDesk::openPerformanceAnalysis},
        {QStringLiteral("帐单查询报表"), &ReportsDesk::openBillQuery},
        {QStringLiteral("点单查询报表"), &ReportsDesk::openLineQuery},
        {QStringLiteral("会员查询报表"), &ReportsDesk::openMemberQuery},
        {QStringLiteral("挂帐查询报表"), &ReportsDesk::openCreditQuery},
    };
}

void ReportsDesk::adopt(reports::ReportScreen* screen) {
    screen->hide();
    ui::connectGuarded(screen, &reports::ReportScreen::back, this, &ReportsDesk::backToBoard);
}

void ReportsDesk::backToBoard() {
    board_->returnFrom(board_->tables().selectedCode());
}

void ReportsDesk::openSalesAnalysis() {
    if (context_.session.limite(kSalesReportPermission)) sales_->present();
}

void ReportsDesk::openTableAnalysis() {
    table_->present();
}

void ReportsDesk::openItemAnalysis() {
    items_->present();
}

void ReportsDesk::openOperatorAnalysis() {
    operators_->present();
}

void ReportsDesk::openPerformanceAnalysis() {
    if (context_.session.limite(kPerformanceReportPermission)) performance_->present();
}

void ReportsDesk::openBillQuery() {
    openBillList(reports::BillListKind::Bills);
}

void ReportsDesk::openMemberQuery() {
    openBillList(reports::BillListKind::Members);
}

void ReportsDesk::openCreditQuery() {
    openBillList(reports::BillListKind::Credit);
}

void ReportsDesk::openLineQuery() {
    if (!lineQuery_) {
        lineQuery_ = new reports::LineQueryScreen(context_, context_.host);
        adopt(lineQuery_);
    }
    lineQuery_->present();
}

void ReportsDesk::openBillList(reports::BillListKind kind) {
    reports::BillListScreen* screen = nullptr;
    for (reports::BillListScreen* s : billLists_)
        if (s->kind() == kind) screen = s;
    if (!screen) {
        screen = new reports::BillListScreen(context_, kind, context_.host);
        adopt(screen);
        ui::connectGuarded(screen, &reports::BillListScreen::detailRequested, this,
                           [this, screen](qint64 bill) { showDetail(screen, bill); });
        billLists_.append(screen);
    }
    screen->present();
}

void ReportsDesk::showDetail(reports::BillListScreen* list, qint64 billNumber) {
    if (!detail_) {
        detail_ = new reports::BillDetailScreen(context_, context_.host);
        detail_->hide();
        ui::connectGuarded(detail_, &reports::BillDetailScreen::back, this,
                           [this] { context_.navigator.showPanel(detailFrom_, context_.host, true); });
    }
    if (!detail_->showBill(billNumber)) return;
    detailFrom_ = list;
    context_.navigator.showPanel(detail_, context_.host, true);
}

} // namespace sorrel::frontdesk
