#include "frontdesk/ordering/order_entry.h"

#include "common/tables/table_refusals.h"
#include "frontdesk/tables/board_tables.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::ordering {

QString orderingRefusal(Database& db, const QString& tableCode) {
    const std::optional<tables::BoardTable> now = tables::loadBoardTable(db, tableCode);
    const QString state = now ? now->state : QString();
    if (state == tables::TableState::kSettled) return kSettledTableMessage;
    if (state != tables::TableState::kInUse && state != tables::TableState::kReopened)
        return tables::tableChangedElsewhereMessage(tableCode);
    return {};
}

} // namespace sorrel::ordering
