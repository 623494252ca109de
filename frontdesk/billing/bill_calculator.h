// The bill steps of the front desk: each reads what the bill core needs, computes with it (see
// bill_core.h) and puts the figures into the caller's guest record, which the caller posts.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/consumption_types.h"
#include "frontdesk/billing/guest_record.h"

namespace sorrel::billing {

// ChangeConsType and TotalDisc also write the rates of the bill's order lines, through the
// caller's connection and inside the caller's transaction; none of the four commits.

// Applies the record's cons_mode_code: copies the mode's type and service rate, sets the
// minimum, unit and room charge the mode starts the bill with (`guests` is the party's size as
// typed), gives the bill's lines the mode's service rate, then service and receivable. A mode
// that no longer exists charges nothing and no service. Throws std::invalid_argument for a
// negative party, and std::logic_error when a numbered bill is changed outside a transaction.
void ChangeConsType(Database& db, GuestRecord& guest, const BillSettings& settings, const Clock& clock,
                    int guests);

// Recomputes the room charge of the types charged by time, then service and receivable.
void ReTotal(Database& db, GuestRecord& guest, const BillSettings& settings, const Clock& clock);

// Recomputes the discount and the receivable from the typed whole-bill rate (percent to pay;
// 0 stands for a blank field and means no discount) and the record's disc_code, writing each
// line's rate; tabl_gues_fact follows the receivable. A bill without a number is left as it is.
// Throws std::invalid_argument for a rate outside 0..100, std::logic_error outside a transaction.
void TotalDisc(Database& db, GuestRecord& guest, const BillSettings& settings, int typedRate);

// Adds the tax to the current receivable (by rate, or per guest for `guests` typed on the
// checkout screen); tabl_gues_fact follows. Callers recompute the receivable first.
void TotalTax(GuestRecord& guest, const BillSettings& settings, double guests);

} // namespace sorrel::billing
