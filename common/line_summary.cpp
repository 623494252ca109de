#include "common/line_summary.h"

#include "common/db_datetime.h"

#include <algorithm>

namespace sorrel {

namespace {

constexpr SummarySet kSets[] = {SummarySet::All, SummarySet::Department, SummarySet::Shift,
                                SummarySet::Operator, SummarySet::CommissionStaff};

// The line (AllCons a, its bill AllGues b) as the set keys it.
QString codeOfLine(SummarySet set) {
    switch (set) {
    case SummarySet::Department:
        return QStringLiteral("COALESCE(b.dept_code, '')");
    case SummarySet::Shift:
        return QStringLiteral("COALESCE(a.orde_name, '')");
    case SummarySet::Operator:
        return QStringLiteral("COALESCE(a.oper_code, '')");
    case SummarySet::CommissionStaff:
        return QStringLiteral("a.dedu_oper_code");
    case SummarySet::All:
        break;
    }
    return {};
}

// The lines of one day, of one set, not of a pending bill: FROM … WHERE … GROUP BY …, with the
// set's code and name first among the selected columns.
struct DaySelect {
    QStringList columns;
    QString rest;
};

DaySelect linesOfDay(SummarySet set) {
    const QString code = codeOfLine(set);
    const QString name = set == SummarySet::CommissionStaff ? QStringLiteral("a.dedu_oper_name") : QString();
    QStringList group;
    if (!code.isEmpty()) group << code;
    if (!name.isEmpty()) group << name;
    QStringList columns{code.isEmpty() ? QStringLiteral("''") : code,
                        name.isEmpty() ? QStringLiteral("NULL") : name};
    for (const QString& key : summaryItemKeys()) {
        columns << QStringLiteral("a.") + key;
        group << QStringLiteral("a.") + key;
    }
    for (const SummaryMeasure& m : summaryMeasures())
        columns << QStringLiteral("sum(%1)").arg(m.ofLine);
    QString rest = QStringLiteral(" FROM AllCons a");
    if (set == SummarySet::Department)
        rest += QStringLiteral(" JOIN AllGues b ON b.tabl_gues_auto_recn = a.tabl_gues_auto_recn");
    rest += QStringLiteral(" WHERE COALESCE(a.grou_code, '') = '' AND a.tabl_cons_time_work >= ? AND "
                           "a.tabl_cons_time_work < ? AND NOT ") +
            kLineOfPendingBill;
    if (set == SummarySet::CommissionStaff)
        rest += QStringLiteral(" AND COALESCE(a.dedu_oper_code, '') <> ''");
    rest += QStringLiteral(" GROUP BY ") + group.join(QStringLiteral(", "));
    return {columns, rest};
}

QVariantList dayBounds(const QDate& day) {
    return {toDbDate(day), toDbDate(day.addDays(1))};
}

QList<QDate> datesOf(const RecordSet& rows) {
    QList<QDate> days;
    for (int i = 0; i < rows.rowCount(); ++i) {
        const QDate d = fromDbDateTime(rows.value(i, 0)).date();
        if (d.isValid()) days << d;
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

// Every day of the history but the open one.
QList<QDate> closedHistoryDays(Database& db, bool withSummaryDays) {
    QList<QDate> days = datesOf(db.query(QStringLiteral("SELECT DISTINCT tabl_cons_time_work FROM AllCons")));
    if (withSummaryDays) {
        days << datesOf(db.query(QStringLiteral("SELECT DISTINCT summ_day FROM AllConsDay")));
        std::sort(days.begin(), days.end());
        days.erase(std::unique(days.begin(), days.end()), days.end());
    }
    if (const std::optional<QDate> open = openBusinessDate(db)) days.removeAll(*open);
    return days;
}

bool sameRows(const RecordSet& a, const RecordSet& b) {
    if (a.rowCount() != b.rowCount() || a.columnCount() != b.columnCount()) return false;
    const int keys = 2 + int(summaryItemKeys().size());
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

} // namespace

const QStringList& summaryItemKeys() {
    static const QStringList keys{QStringLiteral("item_code"), QStringLiteral("item_name"),
                                  QStringLiteral("item_unit"), QStringLiteral("kind_code"),
                                  QStringLiteral("kind_name"), QStringLiteral("clas_name"),
                                  QStringLiteral("manu_name")};
    return keys;
}

const QList<SummaryMeasure>& summaryMeasures() {
    static const QList<SummaryMeasure> measures{
        {QStringLiteral("tabl_d_bill"), QStringLiteral("a.tabl_d_bill")},
        {QStringLiteral("tabl_t_bill"), QStringLiteral("a.tabl_t_bill")},
        {QStringLiteral("tabl_z_bill"), QStringLiteral("a.tabl_z_bill")},
        {QStringLiteral("tabl_tz_bill"), QStringLiteral("a.tabl_tz_bill")},
        {QStringLiteral("gift_tota"), QStringLiteral("a.tabl_z_bill * a.item_unit_pric")},
        {QStringLiteral("tabl_cons_tota"), QStringLiteral("a.tabl_cons_tota")},
        {QStringLiteral("fact_tota"), salesAmountOf(QStringLiteral("a."))},
        {QStringLiteral("tabl_cost_tota"), QStringLiteral("a.tabl_cost_tota")},
        {QStringLiteral("tabl_dedu_tota"), QStringLiteral("a.tabl_dedu_tota")},
        {QStringLiteral("coun_tota"), QStringLiteral("a.tabl_cons_coun * a.item_coun_flag")}};
    return measures;
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

std::optional<QDate> openBusinessDate(Database& db) {
    const RecordSet row = db.query(QStringLiteral("SELECT pay_star, time_work FROM SetupPay"));
    if (row.isEmpty() || row.value(0, 0).toLongLong() == 0) return std::nullopt;
    const QDate day = fromDbDateTime(row.value(0, 1)).date();
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

QList<QDate> daysClosedByDayEnd(Database& db, const std::optional<QDate>& closing) {
    QList<QDate> days = datesOf(db.query(
        QStringLiteral("SELECT DISTINCT a.tabl_cons_time_work FROM TableGuestlist g JOIN AllCons a ON "
                       "a.tabl_gues_auto_recn = g.tabl_gues_auto_recn WHERE g.tabl_gues_use = 0")));
    if (closing && closing->isValid() && !days.contains(*closing)) days << *closing;
    std::sort(days.begin(), days.end());
    return days;
}

void summarizeDays(Database& db, const QList<QDate>& days) {
    QStringList into{QStringLiteral("summ_day"), QStringLiteral("summ_by"), QStringLiteral("summ_code"),
                     QStringLiteral("summ_name")};
    into << summaryItemKeys();
    for (const SummaryMeasure& m : summaryMeasures())
        into << m.column;
    QStringList statements;
    for (SummarySet set : kSets) {
        const DaySelect select = linesOfDay(set);
        statements << QStringLiteral("INSERT INTO AllConsDay (%1) SELECT ?, '%2', %3%4")
                          .arg(into.join(QStringLiteral(", ")), summaryCode(set),
                               select.columns.join(QStringLiteral(", ")), select.rest);
    }
    for (const QDate& day : days) {
        db.exec(QStringLiteral("DELETE FROM AllConsDay WHERE summ_day >= ? AND summ_day < ?"),
                dayBounds(day));
        for (const QString& statement : statements)
            db.exec(statement, QVariantList{toDbDateTime(QDateTime(day, QTime(0, 0)))} + dayBounds(day));
    }
}

int rebuildLineSummary(Database& db) {
    db.exec(QStringLiteral("DELETE FROM AllConsDay"));
    const QList<QDate> days = closedHistoryDays(db, false);
    summarizeDays(db, days);
    return int(days.size());
}

QList<QDate> lineSummaryMismatches(Database& db) {
    QStringList keys{QStringLiteral("summ_code"), QStringLiteral("summ_name")};
    keys << summaryItemKeys();
    QStringList summed = keys;
    for (const SummaryMeasure& m : summaryMeasures())
        summed << QStringLiteral("sum(%1)").arg(m.column);
    const QString order = QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", "));
    const QString fromSummary =
        QStringLiteral("SELECT %1 FROM AllConsDay WHERE summ_by = ? AND summ_day >= ? AND summ_day < ? "
                       "GROUP BY %2")
            .arg(summed.join(QStringLiteral(", ")), keys.join(QStringLiteral(", "))) +
        order;
    QList<QDate> differing;
    for (const QDate& day : closedHistoryDays(db, true)) {
        for (SummarySet set : kSets) {
            const DaySelect lines = linesOfDay(set);
            QStringList named = lines.columns;
            named[0] += QStringLiteral(" AS summ_code");
            named[1] += QStringLiteral(" AS summ_name");
            const RecordSet fromLines =
                db.query(QStringLiteral("SELECT ") + named.join(QStringLiteral(", ")) + lines.rest + order,
                         dayBounds(day));
            const RecordSet inSummary =
                db.query(fromSummary, QVariantList{summaryCode(set)} + dayBounds(day));
            if (!sameRows(fromLines, inSummary)) {
                differing << day;
                break;
            }
        }
    }
    return differing;
}

} // namespace sorrel
