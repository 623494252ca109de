#include "common/line_summary.h"

#include "common/db_datetime.h"

#include <algorithm>

namespace sorrel {

namespace {

const QString kBillJoin = QStringLiteral(" JOIN AllGues b ON b.tabl_gues_auto_recn = a.tabl_gues_auto_recn");

// The rows of one day, of one set of a summary, not of a pending bill: FROM … WHERE … GROUP BY …,
// with the set's code and name first among the selected columns.
struct DaySelect {
    QStringList columns;
    QString rest;
};

DaySelect rowsOfDay(const DaySummary& summary, const SummarySetKey& key) {
    QStringList group;
    if (!key.code.isEmpty()) group << key.code;
    if (!key.name.isEmpty()) group << key.name;
    QStringList columns{key.code.isEmpty() ? QStringLiteral("''") : key.code,
                        key.name.isEmpty() ? QStringLiteral("NULL") : key.name};
    for (const QString& k : summary.keys) {
        columns << QStringLiteral("a.") + k;
        group << QStringLiteral("a.") + k;
    }
    for (const SummaryMeasure& m : summary.measures)
        columns << QStringLiteral("sum(%1)").arg(m.ofLine);
    QString rest = QStringLiteral(" FROM ") + summary.source;
    if (key.ofBill) rest += kBillJoin;
    rest += QStringLiteral(" WHERE ");
    if (!summary.ownRows.isEmpty()) rest += summary.ownRows + QStringLiteral(" AND ");
    rest += QStringLiteral("%1 >= ? AND %1 < ? AND NOT ").arg(summary.dayColumn) + kLineOfPendingBill;
    if (!key.onlyRows.isEmpty()) rest += QStringLiteral(" AND ") + key.onlyRows;
    if (!group.isEmpty())
        return {columns, rest + QStringLiteral(" GROUP BY ") + group.join(QStringLiteral(", "))};
    // Nothing grouped: a day without rows still has no row in the summary.
    QStringList inner, outer;
    for (int i = 0; i < columns.size(); ++i) {
        inner << columns[i] + QStringLiteral(" AS c%1").arg(i);
        outer << QStringLiteral("s.c%1").arg(i);
    }
    return {outer, QStringLiteral(" FROM (SELECT count(*) AS n, ") + inner.join(QStringLiteral(", ")) + rest +
                       QStringLiteral(") s WHERE s.n > 0")};
}

QVariantList dayBounds(const QDate& day) {
    return {toDbDate(day), toDbDate(day.addDays(1))};
}

void sortUnique(QList<QDate>& days) {
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
}

QList<QDate> datesOf(const RecordSet& rows) {
    QList<QDate> days;
    for (int i = 0; i < rows.rowCount(); ++i) {
        const QDate d = fromDbDateTime(rows.value(i, 0)).date();
        if (d.isValid()) days << d;
    }
    sortUnique(days);
    return days;
}

// Every day of the summaries' history but the open one.
QList<QDate> closedHistoryDays(Database& db, const QList<const DaySummary*>& summaries,
                               bool withSummaryDays) {
    QList<QDate> days;
    for (const DaySummary* s : summaries) {
        days << datesOf(db.query(QStringLiteral("SELECT DISTINCT %1 FROM %2").arg(s->dayColumn, s->source)));
        if (withSummaryDays)
            days << datesOf(db.query(QStringLiteral("SELECT DISTINCT summ_day FROM %1").arg(s->table)));
    }
    sortUnique(days);
    if (const std::optional<QDate> open = openBusinessDate(db)) days.removeAll(*open);
    return days;
}

bool sameRows(const RecordSet& a, const RecordSet& b, int keys) {
    if (a.rowCount() != b.rowCount() || a.columnCount() != b.columnCount()) return false;
    for (int r = 0; r < a.rowCount(); ++r)
        for (int c = 0; c < a.columnCount(); ++c) {
            const QVariant& x = a.value(r, c);
            const QVariant& y = b.value(r, c);
            if (c < keys) {
                if (x.isNull() != y.isNull() || x.toString() != y.toString()) return false;
            } else if (qAbs(x.toDouble() - y.toDouble()) > 1e-6) {
                return false;
            }
        }
    return true;
}

SummarySetKey allRows() {
    return {SummarySet::All, {}, {}, false, {}};
}

void summarizeDays(Database& db, const QList<const DaySummary*>& summaries, const QList<QDate>& days) {
    for (const DaySummary* summary : summaries) {
        QStringList into{QStringLiteral("summ_day"), QStringLiteral("summ_by"), QStringLiteral("summ_code"),
                         QStringLiteral("summ_name")};
        into << summary->keys;
        for (const SummaryMeasure& m : summary->measures)
            into << m.column;
        QStringList statements;
        for (const SummarySetKey& key : summary->sets) {
            const DaySelect select = rowsOfDay(*summary, key);
            statements << QStringLiteral("INSERT INTO %1 (%2) SELECT ?, '%3', %4%5")
                              .arg(summary->table, into.join(QStringLiteral(", ")), summaryCode(key.set),
                                   select.columns.join(QStringLiteral(", ")), select.rest);
        }
        for (const QDate& day : days) {
            db.exec(QStringLiteral("DELETE FROM %1 WHERE summ_day >= ? AND summ_day < ?").arg(summary->table),
                    dayBounds(day));
            for (const QString& statement : statements)
                db.exec(statement, QVariantList{toDbDateTime(QDateTime(day, QTime(0, 0)))} + dayBounds(day));
        }
    }
}

} // namespace

const SummarySetKey& DaySummary::keyOf(SummarySet set) const {
    for (const SummarySetKey& key : sets)
        if (key.set == set) return key;
    static const SummarySetKey none = allRows();
    return none;
}

const QStringList& summaryItemKeys() {
    return lineSummary().keys;
}

const QList<SummaryMeasure>& summaryMeasures() {
    return lineSummary().measures;
}

const DaySummary& lineSummary() {
    static const DaySummary summary{
        kLineSummaryTable,
        QStringLiteral("AllCons a"),
        QStringLiteral("a.tabl_cons_time_work"),
        QStringLiteral("COALESCE(a.grou_code, '') = ''"),
        {allRows(),
         {SummarySet::Department, QStringLiteral("COALESCE(b.dept_code, '')"), {}, true, {}},
         {SummarySet::Shift, QStringLiteral("COALESCE(a.orde_name, '')"), {}, false, {}},
         {SummarySet::Operator, QStringLiteral("COALESCE(a.oper_code, '')"), {}, false, {}},
         {SummarySet::CommissionStaff, QStringLiteral("a.dedu_oper_code"), QStringLiteral("a.dedu_oper_name"),
          false, QStringLiteral("COALESCE(a.dedu_oper_code, '') <> ''")}},
        {QStringLiteral("item_code"), QStringLiteral("item_name"), QStringLiteral("item_unit"),
         QStringLiteral("kind_code"), QStringLiteral("kind_name"), QStringLiteral("clas_name"),
         QStringLiteral("manu_name")},
        {{QStringLiteral("tabl_d_bill"), QStringLiteral("a.tabl_d_bill")},
         {QStringLiteral("tabl_t_bill"), QStringLiteral("a.tabl_t_bill")},
         {QStringLiteral("tabl_z_bill"), QStringLiteral("a.tabl_z_bill")},
         {QStringLiteral("tabl_tz_bill"), QStringLiteral("a.tabl_tz_bill")},
         {QStringLiteral("gift_tota"), QStringLiteral("a.tabl_z_bill * a.item_unit_pric")},
         {QStringLiteral("tabl_cons_tota"), QStringLiteral("a.tabl_cons_tota")},
         {QStringLiteral("fact_tota"), salesAmountOf(QStringLiteral("a."))},
         {QStringLiteral("tabl_cost_tota"), QStringLiteral("a.tabl_cost_tota")},
         {QStringLiteral("tabl_dedu_tota"), QStringLiteral("a.tabl_dedu_tota")},
         {QStringLiteral("coun_tota"), QStringLiteral("a.tabl_cons_coun * a.item_coun_flag")}},
        3,
        QStringLiteral("点单汇总"),
        QStringLiteral("点单明细")};
    return summary;
}

const DaySummary& billSummary() {
    const auto sum = [](const char* column) {
        return SummaryMeasure{QString::fromLatin1(column), QStringLiteral("a.") + QLatin1String(column)};
    };
    static const DaySummary summary{
        kBillSummaryTable,
        QStringLiteral("AllGues a"),
        QStringLiteral("a.tabl_gues_time_work"),
        {},
        {allRows(),
         {SummarySet::Department, QStringLiteral("COALESCE(a.dept_code, '')"), {}, false, {}},
         {SummarySet::Shift, QStringLiteral("COALESCE(a.orde_code, '')"), {}, false, {}}},
        {},
        {{QStringLiteral("bill_coun"), QStringLiteral("1")},
         sum("tabl_gues_coun"),
         sum("tabl_gues_dish"),
         sum("tabl_gues_spec"),
         sum("tabl_gues_low"),
         sum("tabl_gues_room"),
         sum("tabl_gues_serv"),
         sum("tabl_gues_disc"),
         sum("tabl_gues_shou"),
         sum("tabl_gues_tax"),
         sum("tabl_gues_fact"),
         sum("dedu_mone"),
         sum("cost_mone")},
        4,
        QStringLiteral("帐单汇总"),
        QStringLiteral("历史帐单")};
    return summary;
}

const DaySummary& paymentSummary() {
    static const DaySummary summary{
        kPaymentSummaryTable,
        QStringLiteral("AllGuesPay a"),
        QStringLiteral("a.pay_time"),
        {},
        {allRows(),
         {SummarySet::Department, QStringLiteral("COALESCE(b.dept_code, '')"), {}, true, {}},
         {SummarySet::Shift, QStringLiteral("COALESCE(b.orde_code, '')"), {}, true, {}}},
        // A method renamed during a day keeps a row per name; the report shows it once.
        {QStringLiteral("pay_type_code"), QStringLiteral("pay_type_name")},
        {{QStringLiteral("pay_coun"), QStringLiteral("CASE WHEN a.pay_type_mone > 0 THEN 1 ELSE 0 END")},
         {QStringLiteral("pay_type_mone"), QStringLiteral("a.pay_type_mone")}},
        4,
        QStringLiteral("付款汇总"),
        QStringLiteral("历史付款")};
    return summary;
}

const QList<const DaySummary*>& daySummaries() {
    static const QList<const DaySummary*> all{&lineSummary(), &billSummary(), &paymentSummary()};
    return all;
}

QString salesAmountOf(const QString& prefix) {
    return QStringLiteral(
               "%1tabl_cons_tota+%1tabl_cons_tota*0.01*(100-%1serv_perc)-%1tabl_cons_tota*0.01*(100-"
               "%1disc_clas_perc)")
        .arg(prefix);
}

QString summaryCode(SummarySet set) {
    static const char codes[] = {'A', 'D', 'S', 'O', 'C'};
    return QString(QLatin1Char(codes[int(set)]));
}

RowCondition rowOfSet(const DaySummary& summary, SummarySet set, const QString& value) {
    const SummarySetKey& key = summary.keyOf(set);
    RowCondition out;
    QStringList parts;
    if (!key.onlyRows.isEmpty()) parts << key.onlyRows;
    if (!value.isEmpty() && !key.code.isEmpty()) {
        const QString equals = key.code + QStringLiteral(" = ?");
        parts << (key.ofBill ? QStringLiteral("EXISTS (SELECT 1 FROM AllGues b WHERE b.tabl_gues_auto_recn = "
                                              "a.tabl_gues_auto_recn AND ") +
                                   equals + QLatin1Char(')')
                             : equals);
        out.params << value;
    }
    out.sql = parts.join(QStringLiteral(" AND "));
    return out;
}

std::optional<QDate> openBusinessDate(Database& db) {
    const RecordSet row = db.query(QStringLiteral("SELECT pay_star, time_work FROM SetupPay"));
    if (row.isEmpty() || row.value(0, 0).toLongLong() == 0) return std::nullopt;
    const QDate day = fromDbDateTime(row.value(0, 1)).date();
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

QList<QDate> daysClosedByDayEnd(Database& db, const std::optional<QDate>& closing) {
    QList<QDate> days;
    for (const DaySummary* s : daySummaries())
        days << datesOf(db.query(
            QStringLiteral("SELECT DISTINCT %1 FROM TableGuestlist g JOIN %2 ON a.tabl_gues_auto_recn = "
                           "g.tabl_gues_auto_recn WHERE g.tabl_gues_use = 0")
                .arg(s->dayColumn, s->source)));
    if (closing && closing->isValid()) days << *closing;
    sortUnique(days);
    return days;
}

void summarizeDays(Database& db, const QList<QDate>& days) {
    summarizeDays(db, daySummaries(), days);
}

int rebuildDaySummaries(Database& db, int fromVersion) {
    QList<const DaySummary*> summaries;
    for (const DaySummary* s : daySummaries())
        if (s->sinceVersion > fromVersion) summaries << s;
    for (const DaySummary* s : summaries)
        db.exec(QStringLiteral("DELETE FROM ") + s->table);
    const QList<QDate> days = closedHistoryDays(db, summaries, false);
    summarizeDays(db, summaries, days);
    return int(days.size());
}

QList<QDate> daySummaryMismatches(Database& db, const DaySummary& summary) {
    QStringList keys{QStringLiteral("summ_code"), QStringLiteral("summ_name")};
    keys << summary.keys;
    QStringList summed = keys;
    for (const SummaryMeasure& m : summary.measures)
        summed << QStringLiteral("sum(%1)").arg(m.column);
    const QString order = QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", "));
    const QString fromSummary =
        QStringLiteral("SELECT %1 FROM %2 WHERE summ_by = ? AND summ_day >= ? AND summ_day < ? GROUP BY %3")
            .arg(summed.join(QStringLiteral(", ")), summary.table, keys.join(QStringLiteral(", "))) +
        order;
    QList<QDate> differing;
    for (const QDate& day : closedHistoryDays(db, {&summary}, true)) {
        for (const SummarySetKey& key : summary.sets) {
            const DaySelect rows = rowsOfDay(summary, key);
            QStringList named = rows.columns;
            named[0] += QStringLiteral(" AS summ_code");
            named[1] += QStringLiteral(" AS summ_name");
            const RecordSet fromRows =
                db.query(QStringLiteral("SELECT ") + named.join(QStringLiteral(", ")) + rows.rest + order,
                         dayBounds(day));
            const RecordSet inSummary =
                db.query(fromSummary, QVariantList{summaryCode(key.set)} + dayBounds(day));
            if (!sameRows(fromRows, inSummary, int(keys.size()))) {
                differing << day;
                break;
            }
        }
    }
    return differing;
}

QList<QDate> daySummaryMismatches(Database& db) {
    QList<QDate> days;
    for (const DaySummary* s : daySummaries())
        days << daySummaryMismatches(db, *s);
    sortUnique(days);
    return days;
}

} // namespace sorrel
