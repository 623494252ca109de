#include "frontdesk/tables/open_bill.h"

#include "common/tables/table_refusals.h"
#include "common/tables/table_states.h"

namespace sorrel::tables {

TableColumns columnsOf(const billing::GuestRecord& guest) {
    return {guest.tabl_gues_auto_recn, guest.tabl_gues_name, guest.tabl_gues_coun, guest.tabl_gues_time,
            guest.tabl_gues_shou};
}

void postOpenBill(Database& db, billing::GuestRecord& guest) {
    using namespace TableState;
    static const QString stillOpen =
        QStringLiteral("tabl_code = ? AND tabl_gues_use = 1 AND tabl_gues_stat = ? AND EXISTS (SELECT 1 FROM "
                       "TableList t WHERE "
                       "t.tabl_code = TableGuestlist.tabl_code AND t.tabl_gues_auto_recn = "
                       "TableGuestlist.tabl_gues_auto_recn "
                       "AND t.tabl_stat_code IN (?, ?))");
    // An open bill's own status is that of a table in use, whether or not its table was re-opened.
    if (!guest.postWhile(db, stillOpen, {guest.tabl_code, kInUse, kInUse, kReopened}))
        throw TableChangedElsewhere(guest.tabl_code);
}

} // namespace sorrel::tables
