#include "frontdesk/reports/line_sums.h"

#include <optional>

namespace sorrel::reports {

namespace {

// The report's names of the line summary's sums, in the order of summaryMeasures().
const char* const kSumNames[] = {"bill1",     "bill2",     "bill3",     "bill4",     "bill3total",
                                 "constotal", "facttotal", "costtotal", "dedutotal", "counttotal"};

bool commissionSet(const LineSelection& s) {
    return s.sets.size() == 1 && s.sets.first().set == SummarySet::CommissionStaff;
}

// The columns of a part of the lines: from the lines (`a.`) or from the summary.
QString lineColumns(const LineSelection& s, bool fromLines) {
    const QString p = fromLines ? QStringLiteral("a.") : QString();
    QStringList columns;
    columns << (fromLines ? QStringLiteral("a.tabl_cons_time_work") : QStringLiteral("summ_day")) +
                   QStringLiteral(" AS line_day");
    if (commissionSet(s))
        columns << (fromLines ? QStringLiteral("a.dedu_oper_code") : QStringLiteral("summ_code")) +
                       QStringLiteral(" AS dedu_oper_code")
                << (fromLines ? QStringLiteral("a.dedu_oper_name") : QStringLiteral("summ_name")) +
                       QStringLiteral(" AS dedu_oper_name");
    else
        columns << QStringLiteral("NULL AS dedu_oper_code") << QStringLiteral("NULL AS dedu_oper_name");
    for (const QString& key : summaryItemKeys())
        columns << p + key + QStringLiteral(" AS ") + key;
    const QList<SummaryMeasure>& measures = summaryMeasures();
    for (int i = 0; i < measures.size(); ++i)
        columns << (fromLines ? measures[i].ofLine : measures[i].column) + QStringLiteral(" AS ") +
                       QLatin1String(kSumNames[i]);
    return columns.join(QStringLiteral(", "));
}

// The read's conditions on a history row aliased `a`.
void addRowConditions(Where& where, const SummedRead& read) {
    if (!read.summary->ownRows.isEmpty()) where.add(read.summary->ownRows);
    for (const LineSelection::OfSet& of : read.sets) {
        const RowCondition c = rowOfSet(*read.summary, of.set, of.value);
        if (!c.sql.isEmpty()) where.add(c.sql, c.params);
    }
    if (read.conditions) read.conditions(where, true);
}

Condition notOn(const QString& column, const QDate& day) {
    const Condition on = dateCondition(column, {day, day});
    return {QStringLiteral("NOT (") + on.sql + QLatin1Char(')'), on.params};
}

struct Part {
    QString sql;
    QVariantList params;
};

Part part(const QString& columns, const QString& from, const Where& where) {
    return {QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + from + where.sql(),
            where.params()};
}

} // namespace

LineSelection& LineSelection::of(SummarySet set, const QString& value) {
    if (set == SummarySet::CommissionStaff || !value.isEmpty()) sets.append({set, value});
    return *this;
}

QString summaryColumns(const DaySummary& summary, bool fromRows) {
    QStringList columns;
    for (const QString& key : summary.keys)
        columns << (fromRows ? QStringLiteral("a.") + key + QStringLiteral(" AS ") + key : key);
    for (const SummaryMeasure& m : summary.measures)
        columns << (fromRows ? m.ofLine + QStringLiteral(" AS ") + m.column : m.column);
    return columns.join(QStringLiteral(", "));
}

Condition summedRows(Database& db, const DateRange& range, const SummedRead& read, const QString& alias) {
    const DaySummary& summary = *read.summary;
    const QString rowColumns = read.columns(true);
    const Condition inRange = dateCondition(summary.dayColumn, range);
    QList<Part> parts;
    if (read.sets.size() > 1) {
        Where all;
        all.add(inRange);
        addRowConditions(all, read);
        parts << part(rowColumns, summary.source, all);
    } else {
        const std::optional<QDate> open = openBusinessDate(db);
        const bool openInRange = open && *open >= range.from && *open <= range.to;
        // The closed days.
        Where summed;
        const LineSelection::OfSet of =
            read.sets.isEmpty() ? LineSelection::OfSet{SummarySet::All, {}} : read.sets.first();
        summed.add(QStringLiteral("summ_by = ?"), {summaryCode(of.set)})
            .equalsUnlessEmpty(QStringLiteral("summ_code"), of.value)
            .add(dateCondition(QStringLiteral("summ_day"), range));
        if (openInRange) summed.add(notOn(QStringLiteral("summ_day"), *open));
        if (read.conditions) read.conditions(summed, false);
        parts << part(read.columns(false), summary.table, summed);
        // The open day, from its rows.
        if (openInRange) {
            Where today;
            today.add(dateCondition(summary.dayColumn, {*open, *open}));
            addRowConditions(today, read);
            parts << part(rowColumns, summary.source, today);
        }
        // A bill of a closed day cleared since the last day end, found from the few guest records
        // still waiting for their day end.
        Where late;
        late.add(QStringLiteral("g.tabl_gues_use = 0"))
            .add(QStringLiteral("a.tabl_gues_auto_recn = g.tabl_gues_auto_recn"))
            .add(inRange);
        if (open) late.add(notOn(summary.dayColumn, *open));
        addRowConditions(late, read);
        parts << part(rowColumns, QStringLiteral("TableGuestlist g CROSS JOIN ") + summary.source, late);
    }
    Condition out;
    QStringList selects;
    for (const Part& p : parts) {
        selects << p.sql;
        out.params << p.params;
    }
    out.sql =
        QStringLiteral("(") + selects.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(") ") + alias;
    return out;
}

Condition lineSums(Database& db, const DateRange& range, const LineSelection& s) {
    SummedRead read;
    read.summary = &lineSummary();
    read.sets = s.sets;
    read.columns = [&s](bool fromLines) { return lineColumns(s, fromLines); };
    read.conditions = [&s](Where& where, bool fromLines) {
        const QString p = fromLines ? QStringLiteral("a.") : QString();
        where.equalsUnlessEmpty(p + QStringLiteral("kind_code"), s.kindCode)
            .equalsUnlessEmpty(p + QStringLiteral("manu_name"), s.outputPoint);
    };
    return summedRows(db, range, read, QStringLiteral("lines"));
}

} // namespace sorrel::reports
