#include "frontdesk/reports/line_sums.h"

#include <optional>

namespace sorrel::reports {

namespace {

// The report's names of the summary's sums, in the order of summaryMeasures().
const char* const kSumNames[] = {"bill1",     "bill2",     "bill3",     "bill4",     "bill3total",
                                 "constotal", "facttotal", "costtotal", "dedutotal", "counttotal"};

bool commissionSet(const LineSelection& s) {
    return s.sets.size() == 1 && s.sets.first().set == SummarySet::CommissionStaff;
}

// The columns of a part: `prefix` "a." for the lines, "" for the summary.
QString partColumns(const LineSelection& s, bool fromLines) {
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

// The selection's conditions on a line of AllCons aliased `a`.
void addLineConditions(Where& where, const LineSelection& s) {
    where.add(QStringLiteral("COALESCE(a.grou_code, '') = ''"));
    for (const LineSelection::OfSet& of : s.sets) {
        switch (of.set) {
        case SummarySet::Department:
            where.add(QStringLiteral("EXISTS (SELECT 1 FROM AllGues b WHERE b.tabl_gues_auto_recn = "
                                     "a.tabl_gues_auto_recn AND b.dept_code = ?)"),
                      {of.value});
            break;
        case SummarySet::Shift:
            where.add(QStringLiteral("a.orde_name = ?"), {of.value});
            break;
        case SummarySet::Operator:
            where.add(QStringLiteral("a.oper_code = ?"), {of.value});
            break;
        case SummarySet::CommissionStaff:
            where.add(QStringLiteral("COALESCE(a.dedu_oper_code, '') <> ''"));
            where.equalsUnlessEmpty(QStringLiteral("a.dedu_oper_code"), of.value);
            break;
        case SummarySet::All:
            break;
        }
    }
    where.equalsUnlessEmpty(QStringLiteral("a.kind_code"), s.kindCode);
    where.equalsUnlessEmpty(QStringLiteral("a.manu_name"), s.outputPoint);
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

Condition lineSums(Database& db, const DateRange& range, const LineSelection& s) {
    const QString lineColumns = partColumns(s, true);
    const Condition inRange = dateCondition(QStringLiteral("a.tabl_cons_time_work"), range);
    QList<Part> parts;
    if (s.sets.size() > 1) {
        Where all;
        all.add(inRange);
        addLineConditions(all, s);
        parts << part(lineColumns, QStringLiteral("AllCons a"), all);
    } else {
        const std::optional<QDate> open = openBusinessDate(db);
        const bool openInRange = open && *open >= range.from && *open <= range.to;
        // The closed days.
        Where summary;
        const LineSelection::OfSet of =
            s.sets.isEmpty() ? LineSelection::OfSet{SummarySet::All, {}} : s.sets.first();
        summary.add(QStringLiteral("summ_by = ?"), {summaryCode(of.set)})
            .equalsUnlessEmpty(QStringLiteral("summ_code"), of.value)
            .add(dateCondition(QStringLiteral("summ_day"), range));
        if (openInRange) summary.add(notOn(QStringLiteral("summ_day"), *open));
        summary.equalsUnlessEmpty(QStringLiteral("kind_code"), s.kindCode)
            .equalsUnlessEmpty(QStringLiteral("manu_name"), s.outputPoint);
        parts << part(partColumns(s, false), QStringLiteral("AllConsDay"), summary);
        // The open day, from its lines.
        if (openInRange) {
            Where today;
            today.add(dateCondition(QStringLiteral("a.tabl_cons_time_work"), {*open, *open}));
            addLineConditions(today, s);
            parts << part(lineColumns, QStringLiteral("AllCons a"), today);
        }
        // A bill of a closed day cleared since the last day end, found from the few guest records
        // still waiting for their day end.
        Where late;
        late.add(QStringLiteral("g.tabl_gues_use = 0"))
            .add(QStringLiteral("a.tabl_gues_auto_recn = g.tabl_gues_auto_recn"))
            .add(inRange);
        if (open) late.add(notOn(QStringLiteral("a.tabl_cons_time_work"), *open));
        addLineConditions(late, s);
        parts << part(lineColumns, QStringLiteral("TableGuestlist g CROSS JOIN AllCons a"), late);
    }
    Condition out;
    QStringList selects;
    for (const Part& p : parts) {
        selects << p.sql;
        out.params << p.params;
    }
    out.sql = QStringLiteral("(") + selects.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(") lines");
    return out;
}

} // namespace sorrel::reports
