#include "backoffice/stock/stock_navigation.h"

#include "backoffice/stock/stock_posting.h"
#include "common/db/errors.h"

namespace sorrel::stock {

namespace {

using B = panels::ToolButton;

// "执行" on the bill panel: the bill's edits saved, then posted from what the database holds.
void postCurrentBill(StockLists& lists) {
    lists::MaintenanceList& bills = lists.bills();
    if (bills.current() < 0 || !bills.save()) return;
    const QVariant id = bills.currentKey();
    try {
        postBill(lists.db(), id);
    } catch (const StepRefused&) {
        bills.reload();
        throw;
    }
    bills.reload();
    lists.items().reload();
}

} // namespace

void registerStockPanels(panels::Workspace& workspace, StockLists& lists, StockAdjustment& adjustment) {
    workspace.registerPanel(
        kItemStockPanel,
        {&lists.items(), panels::rereading({&lists.kinds(), &lists.classes(), &lists.items()})});
    panels::PanelEntry bills{&lists.bills(), panels::rereading({&lists.bills()})};
    bills.execute = [&lists] { postCurrentBill(lists); };
    workspace.registerPanel(kBillsPanel, std::move(bills));
    workspace.registerPanel(kAccountsPanel,
                            {nullptr, panels::rereading({&lists.partnerTypes(), &lists.partners()})});
    for (const char* leaf : {"库存帐务", "帐务查询", "库存盘点", "配料使用"})
        workspace.registerPanel(QString::fromUtf8(leaf), {nullptr, {}});
    workspace.registerPanel(QStringLiteral("单位类型"),
                            {&lists.partnerTypes(), panels::rereading({&lists.partnerTypes()})});
    workspace.registerPanel(
        QStringLiteral("往来单位"),
        {&lists.partners(), panels::rereading({&lists.partnerTypes(), &lists.partners()})});
    workspace.registerPanel(kLinesPanel, {&lists.lines(), {}});
    workspace.registerPanel(kPaymentsPanel, {&lists.payments(), {}});

    panels::PanelEntry typing{&lists.items(), {}};
    // Applied, the adjustment is over: the item stock panel shows the stock as it now is, and a
    // second "保存" saves the item, not the adjustment again.
    typing.save = [&workspace, &lists, &adjustment] {
        if (!adjustment.commit()) return;
        workspace.returnFromDetail();
        lists.items().reload();
    };
    typing.remove = [&adjustment] { adjustment.removeCurrent(); };
    typing.retreat = [&adjustment] { adjustment.start(); };
    typing.enterMovesFocus = false;
    workspace.registerPanel(kAdjustmentPanel, std::move(typing));
}

void startAdjustment(panels::Workspace& workspace, StockLists& lists, StockAdjustment& adjustment) {
    adjustment.start();
    if (workspace.panel() == kAdjustmentPanel) return;
    if (!lists.items().saveIfPending()) lists.items().cancel();
    workspace.enterDetail(kAdjustmentPanel, lists.items(), {B::Delete, B::Save, B::Retreat});
}

bool enterLines(panels::Workspace& workspace, StockLists& lists) {
    lists::MaintenanceList& bills = lists.bills();
    if (bills.current() < 0 || !bills.save()) return false;
    lists.lines().reload();
    workspace.enterDetail(kLinesPanel, lists.lines(), {B::Delete, B::Cancel, B::Save, B::Retreat});
    return true;
}

bool enterPayments(panels::Workspace& workspace, StockLists& lists) {
    if (lists.partners().current() < 0 || !lists.partners().saveIfPending()) return false;
    lists.payments().reload();
    workspace.enterDetail(kPaymentsPanel, lists.payments(), {B::Retreat, B::Add, B::Cancel, B::Save});
    return true;
}

} // namespace sorrel::stock
