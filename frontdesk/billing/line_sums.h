// The bill's totals over its order lines: food and drink, special consumption, and the parts of
// each that bear service. Set after the lines of a bill change, before ReTotal.
#pragma once

#include "common/db/database.h"
#include "frontdesk/billing/bill_core.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/guest_record.h"

namespace sorrel::billing {

// Sets tabl_gues_dish, tabl_gues_spec, tabl_gues_serv_main and tabl_gues_serv_spec from the
// bill's lines, each passed through the bill rounding. Lines whose class is empty or unknown do
// not count. Reads through the caller's connection; writes only the record.
void setLineSums(Database& db, GuestRecord& guest, const BillSettings& settings,
                 DishTotalFrom from = DishTotalFrom::RoundedLines);

} // namespace sorrel::billing
