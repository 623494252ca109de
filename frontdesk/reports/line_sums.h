// Where the reports' sums over the history's lines come from: the closed business days from the
// day summary (AllConsDay), the open day and the bills cleared since the last day end from the
// lines (AllCons) themselves, so a year costs a few hundred rows a day and the figures are the
// lines' own.
#pragma once

#include "common/line_summary.h"
#include "frontdesk/reports/report_frame.h"

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

// A derived table "(…) lines" over the range, to sum and group: one row per summary row or line,
// with the columns line_day, dedu_oper_code, dedu_oper_name (the commission set only), item_code,
// item_name, item_unit, kind_code, kind_name, clas_name, manu_name, bill1..bill4 (ordered,
// returned, given, gift returned), bill3total (the gifts at their price), constotal, facttotal
// (sales amount), costtotal, dedutotal (commission), counttotal (quantity, a return against the
// sale). Two sets at once are read from the lines alone.
Condition lineSums(Database& db, const DateRange& range, const LineSelection& selection);

} // namespace sorrel::reports
