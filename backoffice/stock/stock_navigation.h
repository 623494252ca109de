// How the inventory plugs into the back office's shell: the leaves of "库存管理" and "管理设置",
// the sub-panels (a bill's lines, a partner's payments, the adjustment being typed) and the ways
// in and out of them, and what "执行" and "保存" do there.
#pragma once

#include "backoffice/panels/workspace.h"
#include "backoffice/stock/stock_adjustment.h"
#include "backoffice/stock/stock_lists.h"

namespace sorrel::stock {

inline const QString kItemStockPanel = QStringLiteral("库存调整");
inline const QString kAdjustmentPanel = QStringLiteral("库存调整明细");
inline const QString kBillsPanel = QStringLiteral("物流管理");
inline const QString kLinesPanel = QStringLiteral("货物明细");
inline const QString kAccountsPanel = QStringLiteral("往来管理");
inline const QString kPaymentsPanel = QStringLiteral("收款/付款");

void registerStockPanels(panels::Workspace& workspace, StockLists& lists, StockAdjustment& adjustment);

// "库存调整": a new adjustment becomes the current panel ("删除", "保存", "回退").
void startAdjustment(panels::Workspace& workspace, StockLists& lists, StockAdjustment& adjustment);
// The lines button of the bill panel: the bill saved first (with its checks); false when refused
// or when there is no bill.
bool enterLines(panels::Workspace& workspace, StockLists& lists);
// "收款/付款" on the partner accounts: false without a partner.
bool enterPayments(panels::Workspace& workspace, StockLists& lists);

} // namespace sorrel::stock
