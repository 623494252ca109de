// The arithmetic of a bill's money, free of the database and the clock: a snapshot of the bill in,
// the same snapshot with its figures (and the rates of its lines) out. The front-desk steps read
// a snapshot, compute with these and write the result; a preview, the board or a print computes
// the same figures and writes nothing.
#pragma once

#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/bill_snapshot.h"

#include <QDateTime>

namespace sorrel::billing {

// Which amount of an ordinary line counts in the food-and-drink total: the rounded line amount
// (after an order) or the unrounded quantity x price x sign (after tables were merged).
enum class DishTotalFrom { RoundedLines, UnroundedLines };

// tabl_gues_dish, tabl_gues_spec, tabl_gues_serv_main and tabl_gues_serv_spec from the lines,
// each through the bill rounding. Lines without a known class do not count.
BillSnapshot withLineSums(BillSnapshot bill, const BillSettings& settings,
                          DishTotalFrom from = DishTotalFrom::RoundedLines);

// The bill under snapshot.mode (ChangeConsType): the mode's type and service rate, the minimum,
// unit and room charge it starts with for `guests` (the party as typed) at `now`, the service
// rate of each line of a numbered bill, then service and receivable. Throws
// std::invalid_argument for a negative party.
BillSnapshot withMode(BillSnapshot bill, int guests, const QDateTime& now, const BillSettings& settings);

// The room charge of the types charged by time after the stay until `now` (ReTotal; the bands
// are snapshot.mode's), then service and receivable.
BillSnapshot withStay(BillSnapshot bill, const QDateTime& now, const BillSettings& settings);

// The discount from the typed whole-bill rate (percent to pay; 0 stands for a blank field and
// means none), the bill's scheme and each line's class (TotalDisc): each line's rate, the
// discount and the receivable, which tabl_gues_fact follows. A bill without a number stays as
// it is. Throws std::invalid_argument for a rate outside 0..100.
BillSnapshot withDiscount(BillSnapshot bill, int typedRate, const BillSettings& settings);

// The tax on the current receivable, by rate or per guest for `guests` as typed on the checkout
// screen (TotalTax); the receivable and tabl_gues_fact include it. Throws
// std::invalid_argument for a negative party.
BillSnapshot withTax(BillSnapshot bill, double guests, const BillSettings& settings);

} // namespace sorrel::billing
