// The history's ordered lines summed per business day and item (AllConsDay), so that a report over
// a year reads a few hundred rows a day instead of every line. A closed business day is summed by
// its day end; the day still open, and the bills cleared since the last day end (a bill settled
// on a closed day and cleared later), are read from the lines themselves.
#pragma once

#include "common/db/database.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace sorrel {

inline const QString kLineSummaryTable = QStringLiteral("AllConsDay");

// The sets a day is summed in: all lines, and per one of the bill's or line's attributes.
enum class SummarySet { All, Department, Shift, Operator, CommissionStaff };

// The summ_by code of a set ('A', 'D', 'S', 'O', 'C').
QString summaryCode(SummarySet set);

// What a summary row keys an item by, and what it sums: each summary column with the expression
// of a line (AllCons aliased `a`) it is the sum of.
const QStringList& summaryItemKeys();
struct SummaryMeasure {
    QString column;
    QString ofLine;
};
const QList<SummaryMeasure>& summaryMeasures();

// A line's sales amount (its amount with its service and less its discount), the columns taken
// with `prefix` ("a." or nothing).
QString salesAmountOf(const QString& prefix);

// The business date worked on now, while a day is open: its lines are not summed yet.
std::optional<QDate> openBusinessDate(Database& db);

// A cleared bill whose day end has not come yet still has its guest record (not in use); its
// lines are not in the summary. The condition on an AllCons row aliased `a`.
inline const QString kLineOfPendingBill =
    QStringLiteral("EXISTS (SELECT 1 FROM TableGuestlist g WHERE g.tabl_gues_auto_recn = "
                   "a.tabl_gues_auto_recn AND g.tabl_gues_use = 0)");

// The days whose sums a day end writes: the business date it closes and the dates of the bills
// cleared since the last day end. Read before the day end removes those bills' guest records.
QList<QDate> daysClosedByDayEnd(Database& db, const std::optional<QDate>& closing);

// Sums the days again from the lines, replacing what the summary held for them; lines of bills
// still pending are left out. Inside the caller's transaction.
void summarizeDays(Database& db, const QList<QDate>& days);

// The summary made anew from the whole history, leaving out the open day and the pending bills;
// inside the caller's transaction. Answers the number of days summed.
int rebuildLineSummary(Database& db);

// The days (not the open one) whose summary differs from the sums of their lines, oldest first.
QList<QDate> lineSummaryMismatches(Database& db);

} // namespace sorrel
