#include "frontdesk/billing/line_sums.h"

#include "frontdesk/billing/bill_store.h"

namespace sorrel::billing {

void setLineSums(Database& db, GuestRecord& guest, const BillSettings& settings, DishTotalFrom from) {
    const BillSnapshot bill{.bill = guest, .lines = readBillLines(db, guest.tabl_gues_auto_recn)};
    guest = withLineSums(bill, settings, from).bill;
}

} // namespace sorrel::billing
