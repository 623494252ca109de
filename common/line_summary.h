// The history summed per business day, so that a report over a year reads a few rows a day
// instead of every bill, payment and line: the ordered lines per item (AllConsDay), the bills'
// totals (AllGuesDay) and the receipts per payment method (AllGuesPayDay). A closed business day
// is summed by its day end; the day still open, and the bills cleared since the last day end (a
// bill settled on a closed day and cleared later), are read from the history's own rows.
#pragma once

#include "common/db/database.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace sorrel {

inline const QString kLineSummaryTable = QStringLiteral("AllConsDay");
inline const QString kBillSummaryTable = QStringLiteral("AllGuesDay");
inline const QString kPaymentSummaryTable = QStringLiteral("AllGuesPayDay");

// The sets a day is summed in: all rows, and per one of the bill's or line's attributes.
enum class SummarySet { All, Department, Shift, Operator, CommissionStaff };

// The summ_by code of a set ('A', 'D', 'S', 'O', 'C').
QString summaryCode(SummarySet set);

// A summary column with the expression of a history row (aliased `a`) it is the sum of.
struct SummaryMeasure {
    QString column;
    QString ofLine;
};

// How a summary keys one of its sets: the code (and name) of a history row aliased `a`, or of its
// bill aliased `b`, and which rows the set holds at all.
struct SummarySetKey {
    SummarySet set;
    QString code;     // empty: the set of all rows
    QString name;     // empty: none
    bool ofBill;      // the code is the bill's (AllGues b), joined by the bill number
    QString onlyRows; // a condition on the rows the set holds; empty: every row
};

// One day summary: which history rows it sums, by which business date, in which sets, keyed by
// which of the rows' columns (the same names in the summary) and with which sums.
struct DaySummary {
    QString table;
    QString source;    // the history table, aliased `a`
    QString dayColumn; // its business date
    QString ownRows;   // the rows it sums at all; empty: every row
    QList<SummarySetKey> sets;
    QStringList keys;
    QList<SummaryMeasure> measures;
    int sinceVersion;    // the schema version that brought it: an upgrade from before fills it
    QString caption;     // how the administrator reads it: "点单汇总"
    QString rowsCaption; // and the rows it sums: "点单明细"

    const SummarySetKey& keyOf(SummarySet set) const;
};

// The ordered lines (no set-meal components) per item, in every set.
const DaySummary& lineSummary();
// The bills' totals per day, of all bills, per department and per shift (the bill's orde_code).
const DaySummary& billSummary();
// The receipts per payment method, of all bills, per department and per shift of the bill.
const DaySummary& paymentSummary();
const QList<const DaySummary*>& daySummaries();

// The line summary's item keys and sums.
const QStringList& summaryItemKeys();
const QList<SummaryMeasure>& summaryMeasures();

// A line's sales amount (its amount with its service and less its discount), the columns taken
// with `prefix` ("a." or nothing).
QString salesAmountOf(const QString& prefix);

// The condition, on a history row aliased `a`, that it belongs to `value` of the set (its code;
// an empty value: every row the set holds), with its parameters.
struct RowCondition {
    QString sql;
    QVariantList params;
};
RowCondition rowOfSet(const DaySummary& summary, SummarySet set, const QString& value);

// The business date worked on now, while a day is open: its rows are not summed yet.
std::optional<QDate> openBusinessDate(Database& db);

// A cleared bill whose day end has not come yet still has its guest record (not in use); its
// rows are not in the summaries. The condition on a history row aliased `a`.
inline const QString kLineOfPendingBill =
    QStringLiteral("EXISTS (SELECT 1 FROM TableGuestlist g WHERE g.tabl_gues_auto_recn = "
                   "a.tabl_gues_auto_recn AND g.tabl_gues_use = 0)");

// The days whose sums a day end writes: the business date it closes and the dates of the bills
// cleared since the last day end. Read before the day end removes those bills' guest records.
QList<QDate> daysClosedByDayEnd(Database& db, const std::optional<QDate>& closing);

// Sums the days again from the history, replacing what every summary held for them; rows of
// bills still pending are left out. Inside the caller's transaction.
void summarizeDays(Database& db, const QList<QDate>& days);

// The summaries made anew from the whole history, leaving out the open day and the pending
// bills; inside the caller's transaction. `fromVersion`: only those a database of that schema
// version lacks (0: all). Answers the number of days summed.
int rebuildDaySummaries(Database& db, int fromVersion = 0);

// The days (not the open one) whose summary differs from the sums of its rows, oldest first: of
// one summary, or of any.
QList<QDate> daySummaryMismatches(Database& db, const DaySummary& summary);
QList<QDate> daySummaryMismatches(Database& db);

} // namespace sorrel
