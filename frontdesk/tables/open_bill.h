// A table's open bill as the table's moves write it: the board's copies of the bill, and saving
// the bill while it is still the table's.
#pragma once

#include "common/db/database.h"
#include "common/tables/table_state_moves.h"
#include "frontdesk/billing/guest_record.h"

namespace sorrel::tables {

// Bill `guest` and its copies, for a table that takes it.
TableColumns columnsOf(const billing::GuestRecord& guest);

// Saves `guest` (what changed since it was read) only while it is still the open bill of its
// table: on the table it was read at, not settled, and that table still in use or re-opened
// with it. Refused (TableChangedElsewhere) when another workstation merged, moved, settled or
// cleared it meanwhile; nothing is written then.
void postOpenBill(Database& db, billing::GuestRecord& guest);

} // namespace sorrel::tables
