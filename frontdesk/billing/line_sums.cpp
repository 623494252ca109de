#include "frontdesk/billing/line_sums.h"

#include "frontdesk/billing/bill_lines.h"

namespace sorrel::billing {

void setLineSums(Database& db, GuestRecord& guest, const BillSettings& settings, DishTotalFrom from) {
    double dish = 0;
    double special = 0;
    double servMain = 0;
    double servSpec = 0;
    for (const BillLine& line : readBillLines(db, guest.tabl_gues_auto_recn)) {
        const double value = line.value();
        if (line.special) {
            special += value;
            if (line.service) servSpec += value;
        } else {
            dish += from == DishTotalFrom::RoundedLines ? line.amount : value;
            if (line.service) servMain += value;
        }
    }
    guest.tabl_gues_dish = settings.intWay(dish);
    guest.tabl_gues_spec = settings.intWay(special);
    guest.tabl_gues_serv_main = settings.intWay(servMain);
    guest.tabl_gues_serv_spec = settings.intWay(servSpec);
}

} // namespace sorrel::billing
