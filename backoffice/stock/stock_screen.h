// The inventory's panels as the work area shows them: the item stock with its flag box, the stock
// adjustment, the stock bills with their lines, the partner accounts and payments, the partner
// types and partners, and the four query panels with their printed documents.
#pragma once

#include "backoffice/panels/back_office_context.h"
#include "backoffice/stock/stock_adjustment.h"
#include "backoffice/stock/stock_lists.h"

#include <QHash>

class QWidget;

namespace sorrel::stock {

// Every panel by the name the workspace shows it under (leaf captions and sub-panel names).
QHash<QString, QWidget*> makeStockPanels(const panels::BackOfficeContext& context, StockLists& lists,
                                         StockAdjustment& adjustment);
QHash<QString, QWidget*> makePartnerPanels(const panels::BackOfficeContext& context, StockLists& lists);
QHash<QString, QWidget*> makeStockQueryPanels(const panels::BackOfficeContext& context);

} // namespace sorrel::stock
