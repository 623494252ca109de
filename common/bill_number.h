// Bill numbers (guest-record numbers) unique across every workstation: the next number is
// read from SetupPay.auto_recn and raised inside the transaction that writes the guest record.
#pragma once

#include "common/db/database.h"

namespace sorrel {

// Draws the next bill number: reads auto_recn under the engine's write lock, raises it by 1
// and answers the number read. Must be called inside the caller's open transaction, which also
// writes the guest record: if that transaction rolls back, the number is drawn again by the
// next opening. Throws DbError outside a transaction, or when the settings row does not hold
// exactly one valid counter (a bill number is never 0 or negative: 0 marks a table without guest).
int drawBillNumber(Database& db);

} // namespace sorrel
