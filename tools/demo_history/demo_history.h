// A year (or any number of days) of business in the demo venue, written as the front desk would
// have left it: bills of every consumption type with their lines, returns, gifts and set meals,
// several payment methods per bill, member-card and credit charges with the balances moved,
// handovers per shift, other income and the ended business days. Made for proving the system at
// venue scale (the benchmarks, the crash test, a copy to a server); the same seed always gives
// the same venue.
#pragma once

#include "common/db/database.h"
#include "common/progress.h"

#include <QDate>

namespace sorrel::demo_history {

struct HistoryOptions {
    int days = 365;        // business days written, ending with lastDay
    quint32 seed = 1;      // the same seed gives the same bills, to the fen
    QDate lastDay = {};    // the last business day written (required), e.g. yesterday
    int billsPerDay = 300; // the average; each day varies around it
};

// What was written, for the command's report and for checks.
struct HistoryTally {
    qlonglong bills = 0;     // AllGues rows
    qlonglong lines = 0;     // AllCons rows
    qlonglong payments = 0;  // AllGuesPay rows
    qlonglong handovers = 0; // Allpaytotal rows
    double received = 0;     // the sum of tabl_gues_fact over the bills
};

// Writes the history into `db`, which holds the demo venue (demo::write) and no business yet:
// every day is started, its bills settled and cleared, each shift handed over and the day ended,
// so the history tables, the balances of members and credit guests, the bill counter and the
// settings continue where the last day left off (no day open; the next login starts one).
// Runs inside the caller's transaction when one is open, otherwise in its own. Reports progress
// in percent. Throws DbError (and with its own transaction leaves nothing) on any failure, and
// std::invalid_argument for days or bills below 1 or no last day.
HistoryTally generate(Database& db, const HistoryOptions& options, const ProgressReport& progress = {});

} // namespace sorrel::demo_history
