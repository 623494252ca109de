// Clearing a settled table ("清台 -"): the bill leaves its table for the history (AllGues,
// AllCons, AllGuesPay, with the names and figures the reports read) and the table is free, or
// booked when a booking waits for it. The bill, its lines and payments stay in the current
// tables until day end, so that it can still be brought back by reverse settlement.
#pragma once

#include "common/db/database.h"

namespace sorrel::table_life {

inline const QString kClearCode = QStringLiteral("B100006");
inline const QString kClearNotSettledMessage = QStringLiteral("现在台桌不在[结帐]状态，所以不能进行[清台]！");
inline const QString kClearQuestion = QStringLiteral("此台已结帐完毕，是否进行[清台]操作!");

// In one transaction: refused (StepRefused) unless table `tableCode` is still settled with bill
// `bill` on it; any other failure is CodedFailure B100006.
void clearTable(Database& db, const QString& tableCode, int bill);

} // namespace sorrel::table_life
