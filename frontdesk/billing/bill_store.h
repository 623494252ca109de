// What the bill steps read from the database and write back to it, through the caller's
// connection: a bill's order lines, its consumption mode and bands, its discount scheme, and the
// service and discount rates the bill core gives its lines.
#pragma once

#include "common/db/database.h"
#include "common/time_band_store.h"
#include "frontdesk/billing/bill_snapshot.h"

namespace sorrel::billing {

// Every line of bill `billNumber`, in line order, with the rules of its class; none for a bill
// without a number.
QList<BillLine> readBillLines(Database& db, int billNumber);

// The mode and its bands; the default value (no type, no amount) when no such mode exists.
ConsMode readConsMode(Database& db, const QString& modeCode);

// The class rates of discount scheme `scheme`; none for an empty code.
SchemeRates readSchemeRates(Database& db, const QString& scheme);

// Everything the figures of `bill` depend on, as the database holds it now: what the checkout
// preview, the board and the print compute from.
BillSnapshot readBillSnapshot(Database& db, const GuestRecord& bill);

enum class LineRate { Service, Discount }; // serv_perc, disc_clas_perc

// Writes the chosen rate of every line in `lines` (all of one bill) to the database.
void writeLineRates(Database& db, int billNumber, const QList<BillLine>& lines, LineRate rate);

} // namespace sorrel::billing
