// Where the reports' sums over the history come from: the closed business days from a day
// summary (AllConsDay of the lines, AllGuesDay of the bills, AllGuesPayDay of the payments), the
// open day and the bills cleared since the last day end from the history's rows themselves, so a
// year costs a few hundred rows a day and the figures are the rows' own.
#pragma once

#include "common/line_summary.h"
#include "frontdesk/reports/report_frame.h"

#include <functional>

namespace sorrel::reports {

// The lines of a report: those of one value of a set (a department by code, a shift by name, an
// ordering operator or a commission staff by code; the commission set without a value: every line
// with a commission staff), and of an item's kind (code) or output point (name).
struct LineSelection {
    struct OfSet {
        SummarySet set;
        QString value;
    };
    QList<OfSet> sets; // none: every line
    QString kindCode;
    QString outputPoint;

    LineSelection& of(SummarySet set, const QString& value);
};

// What to read of a day summary over a range: which of its sets (none: every row; two at once are
// read from the history's rows alone), the columns selected from a summary row or (fromRows) a
// history row aliased `a`, and further conditions on either.
struct SummedRead {
    const DaySummary* summary = nullptr;
    QList<LineSelection::OfSet> sets;
    std::function<QString(bool fromRows)> columns;
    std::function<void(Where&, bool fromRows)> conditions; // may be empty
};

// A summary's keys and sums by their own names: as the summary holds them, or (fromRows) of a
// history row aliased `a`, for a SummedRead's columns.
QString summaryColumns(const DaySummary& summary, bool fromRows);

// A derived table "(…) alias": the summary's rows for the closed days of the range, the open
// day's history rows and those of the bills cleared since the last day end, one row each, to be
// summed and grouped by the caller. The one way every report reads a day summary.
Condition summedRows(Database& db, const DateRange& range, const SummedRead& read, const QString& alias);

// A derived table "(…) lines" over the range, to sum and group: one row per summary row or line,
// with the columns line_day, dedu_oper_code, dedu_oper_name (the commission set only), item_code,
// item_name, item_unit, kind_code, kind_name, clas_name, manu_name, bill1..bill4 (ordered,
// returned, given, gift returned), bill3total (the gifts at their price), constotal, facttotal
// (sales amount), costtotal, dedutotal (commission), counttotal (quantity, a return against the
// sale). Two sets at once are read from the lines alone.
Condition lineSums(Database& db, const DateRange& range, const LineSelection& selection);

} // namespace sorrel::reports
