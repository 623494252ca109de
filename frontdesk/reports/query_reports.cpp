#include "frontdesk/reports/query_reports.h"

#include "common/typed_input.h"

#include <QHash>
#include <algorithm>
#include <memory>

#include <limits>

namespace sorrel::reports {

using exporting::CellKind;

namespace {

const QString kWhole = QStringLiteral("综合统计");

QString selectOf(const QList<ReportColumn>& columns) {
    QStringList fields;
    for (const ReportColumn& c : columns) fields << c.field;
    return QStringLiteral("SELECT ") + fields.join(QStringLiteral(", "));
}

BillSelection selection(BillListKind kind, const DateRange& range, const Where& filters, const QString& caption) {
    return {kind, range, filters, caption};
}

// The weeks of a range, first to last, the last one cut at the range's end. Files and paper read
// a list a week at a time: a year goes out in one pass over the dates, never re-reading what it
// has passed (as a list read page by page from its start does) nor holding more than a week.
QList<DateRange> weeksOf(const DateRange& range) {
    QList<DateRange> weeks;
    for (QDate from = range.from; from <= range.to; from = from.addDays(7))
        weeks.append({from, std::min(from.addDays(6), range.to)});
    return weeks;
}

// A sheet whose rows `read` answers week by week.
exporting::Sheet weeklySheet(const QString& name, const QList<ReportColumn>& columns, const DateRange& range,
                             const std::function<RecordSet(const DateRange& week)>& read) {
    struct Reading {
        QList<DateRange> weeks;
        int week = 0;
        RecordSet rows;
        int row = 0;
    };
    auto reading = std::make_shared<Reading>();
    reading->weeks = weeksOf(range);
    QVector<exporting::ExportColumn> out;
    for (const ReportColumn& c : columns) out.append({c.caption, c.kind});
    return {name, out, [reading, columns, read](QVector<QVariant>& values) {
                Reading& r = *reading;
                while (r.row >= r.rows.rowCount()) {
                    if (r.week >= r.weeks.size()) return false;
                    r.rows = read(r.weeks[r.week++]);
                    r.row = 0;
                }
                values.resize(columns.size());
                for (int c = 0; c < columns.size(); ++c) values[c] = r.rows.value(r.row, columns[c].field);
                ++r.row;
                return true;
            }};
}

const QString kBillOrder = QStringLiteral(" ORDER BY tabl_gues_time_work, tabl_gues_auto_recn");
const QString kLineOrder = QStringLiteral(" ORDER BY tabl_cons_time_work, tabl_gues_auto_recn, tabl_cons_ID");
// The orders above as the paged lists name them: business date, bill number, and the line's id.
const QList<OrderKey> kBillKey{{QStringLiteral("tabl_gues_time_work")},
                               {QStringLiteral("tabl_gues_auto_recn")}};
const QList<OrderKey> kLineKey{{QStringLiteral("tabl_cons_time_work")},
                               {QStringLiteral("tabl_gues_auto_recn")},
                               {QStringLiteral("tabl_cons_ID")}};

Where lineWhere(const DateRange& range, const QString& typed) {
    Where where;
    if (const std::optional<qint64> bill = typedBillNumber(typed))
        where.add(QStringLiteral("tabl_gues_auto_recn = ?"), {*bill});
    return where.add(dateCondition(QStringLiteral("tabl_cons_time_work"), range));
}

} // namespace

const QList<ReportColumn>& billListColumns() {
    static const QList<ReportColumn> columns{
        {QStringLiteral("日期"), QStringLiteral("tabl_gues_time_work"), CellKind::Date},
        {QStringLiteral("单号"), QStringLiteral("tabl_gues_auto_recn"), CellKind::Integer},
        {QStringLiteral("手工编号"), QStringLiteral("tabl_gues_user_recn")},
        {QStringLiteral("台桌号"), QStringLiteral("tabl_code")},
        {QStringLiteral("台桌名称"), QStringLiteral("tabl_name")},
        {QStringLiteral("类别"), QStringLiteral("tabl_type_name")},
        {QStringLiteral("客人"), QStringLiteral("tabl_gues_name")},
        {QStringLiteral("客人数"), QStringLiteral("tabl_gues_coun"), CellKind::Integer},
        {QStringLiteral("开台时间"), QStringLiteral("tabl_gues_time"), CellKind::DateTime},
        {QStringLiteral("结帐时间"), QStringLiteral("tabl_gues_time_end"), CellKind::DateTime},
        {QStringLiteral("实收金额"), QStringLiteral("tabl_gues_fact"), CellKind::Money},
        {QStringLiteral("操作员工"), QStringLiteral("oper_name")},
        {QStringLiteral("结帐情况"), QStringLiteral("tabl_gues_pay_narr")},
    };
    return columns;
}

const QList<ReportColumn>& orderLineColumns() {
    static const QList<ReportColumn> columns{
        {QStringLiteral("日期"), QStringLiteral("tabl_cons_time_work"), CellKind::Date},
        {QStringLiteral("单号"), QStringLiteral("tabl_gues_auto_recn"), CellKind::Integer},
        {QStringLiteral("时间"), QStringLiteral("tabl_cons_time"), CellKind::DateTime},
        {QStringLiteral("台桌号"), QStringLiteral("tabl_code")},
        {QStringLiteral("台桌名称"), QStringLiteral("tabl_name")},
        {QStringLiteral("项目编码"), QStringLiteral("item_code")},
        {QStringLiteral("项目名称"), QStringLiteral("item_name")},
        {QStringLiteral("单位"), QStringLiteral("item_unit")},
        {QStringLiteral("单价"), QStringLiteral("item_unit_pric"), CellKind::Money},
        {QStringLiteral("数量"), QStringLiteral("tabl_cons_coun"), CellKind::Quantity},
        {QStringLiteral("单类"), QStringLiteral("menu_type_name")},
        {QStringLiteral("金额"), QStringLiteral("tabl_cons_tota"), CellKind::Money},
        {QStringLiteral("点单员工"), QStringLiteral("oper_name")},
        {QStringLiteral("提成员工"), QStringLiteral("dedu_oper_name")},
        {QStringLiteral("提成金额"), QStringLiteral("tabl_dedu_tota"), CellKind::Money},
        {QStringLiteral("分类"), QStringLiteral("clas_name")},
        {QStringLiteral("大类"), QStringLiteral("kind_name")},
        {QStringLiteral("套菜合成说明"), QStringLiteral("cons_grou_narr")},
        {QStringLiteral("消费说明"), QStringLiteral("cons_narr_name")},
    };
    return columns;
}

Where BillSelection::where(const std::optional<DateRange>& within) const {
    Where out = filters;
    return out.add(dateCondition(QStringLiteral("tabl_gues_time_work"), within.value_or(range)));
}

QString billFilterCaption(BillFilterBy by) {
    return by == BillFilterBy::Department ? QStringLiteral("部门") : QStringLiteral("班次");
}

BillSelection billsOf(const DateRange& range, BillFilterBy by, const Choice& value) {
    Where where;
    where.equalsUnlessEmpty(by == BillFilterBy::Department ? QStringLiteral("dept_code") : QStringLiteral("orde_code"),
                            value.code);
    return selection(BillListKind::Bills, range, where,
                     value.code.isEmpty() ? kWhole : filterCaption(kWhole, billFilterCaption(by), value.name));
}

BillSelection memberBillsOf(const DateRange& range, const QString& cardNumber) {
    const QString card = plainTypedText(cardNumber).trimmed();
    Where where;
    where.equalsUnlessEmpty(QStringLiteral("memb_card_code"), card).add(QStringLiteral("memb_mone <> 0"));
    return selection(BillListKind::Members, range, where, filterCaption(kWhole, QStringLiteral("会员"), card));
}

BillSelection creditBillsOf(const DateRange& range, const Choice& guest) {
    Where where;
    where.equalsUnlessEmpty(QStringLiteral("hang_code"), guest.code).add(QStringLiteral("hang_mone <> 0"));
    return selection(BillListKind::Credit, range, where,
                     guest.code.isEmpty() ? kWhole : filterCaption(kWhole, QStringLiteral("挂帐客人"), guest.name));
}

QList<Choice> creditGuestsIn(Database& db, const DateRange& range) {
    Where where;
    where.add(QStringLiteral("hang_mone > 0")).add(dateCondition(QStringLiteral("tabl_gues_time_work"), range));
    const RecordSet rows = db.query(QStringLiteral("SELECT hang_code, MAX(hang_name) AS hang_name FROM AllGues") +
                                        where.sql() + QStringLiteral(" GROUP BY hang_code ORDER BY hang_code"),
                                    where.params());
    QList<Choice> out;
    for (int i = 0; i < rows.rowCount(); ++i) out.append({rows.text(i, "hang_code"), rows.text(i, "hang_name")});
    return out;
}

ReportList billList(const BillSelection& s) {
    const Where where = s.where();
    return {selectOf(billListColumns()) + QStringLiteral(" FROM AllGues") + where.sql(), where.params(),
            billListColumns(), kBillKey};
}

exporting::Sheet billListSheet(Database& db, const BillSelection& s, const QString& name) {
    return weeklySheet(name, billListColumns(), s.range, [&db, s](const DateRange& week) {
        const Where where = s.where(week);
        return db.query(selectOf(billListColumns()) + QStringLiteral(" FROM AllGues") + where.sql() + kBillOrder,
                        where.params());
    });
}

std::optional<qint64> typedBillNumber(const QString& text) {
    const QString number = text.trimmed();
    if (number.isEmpty()) return std::nullopt;
    // Digits only, and no more than a bill number holds: the number reaches the statement bound,
    // and "12 or 1=1" is no bill number.
    bool ok = number.size() <= 10;
    for (const QChar c : number) ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!ok || number.toLongLong() > std::numeric_limits<qint32>::max()) refuseTypedNumber(text);
    return number.toLongLong();
}

ReportList orderLineList(const DateRange& range, const QString& typed) {
    const Where where = lineWhere(range, typed);
    // The line's id orders the lines of one bill; it is read but not shown.
    return {selectOf(orderLineColumns()) + QStringLiteral(", tabl_cons_ID FROM AllCons") + where.sql(),
            where.params(), orderLineColumns(), kLineKey};
}

exporting::Sheet orderLineSheet(Database& db, const DateRange& range, const QString& typed, const QString& name) {
    lineWhere(range, typed); // a mistyped bill number is refused before the file is begun
    return weeklySheet(name, orderLineColumns(), range, [&db, typed](const DateRange& week) {
        const Where where = lineWhere(week, typed);
        return db.query(selectOf(orderLineColumns()) + QStringLiteral(" FROM AllCons") + where.sql() + kLineOrder,
                        where.params());
    });
}

QString billListTitle(BillListKind kind) {
    switch (kind) {
    case BillListKind::Members:
        return QStringLiteral("会员查询报表");
    case BillListKind::Credit:
        return QStringLiteral("挂帐客人查询报表");
    case BillListKind::Bills:
        break;
    }
    return QStringLiteral("帐单查询报表");
}

document::DocumentStream billListDocument(Database& db, const BillSelection& s, const ReportFrame& frame) {
    const bool credit = s.kind == BillListKind::Credit;
    // Fourteen columns across A4: the figures keep their digits, the dates theirs, and the names
    // take what is left.
    PrintedList list({
        {QStringLiteral("日期"), QStringLiteral("tabl_gues_time_work"), CellKind::Date, Total::None, 1.4},
        {QStringLiteral("单号"), QStringLiteral("tabl_gues_auto_recn"), CellKind::Text, Total::None, 1.7},
        {QStringLiteral("房台"), QStringLiteral("tabl_name"), CellKind::Text, Total::None, 3},
        {QStringLiteral("人数"), QStringLiteral("tabl_gues_coun"), CellKind::Integer, Total::Sum, 0.6},
        {QStringLiteral("酒菜"), QStringLiteral("tabl_gues_dish"), CellKind::Money, Total::Sum},
        {QStringLiteral("低消"), QStringLiteral("tabl_gues_low"), CellKind::Money, Total::Sum},
        {QStringLiteral("房间费"), QStringLiteral("tabl_gues_room"), CellKind::Money, Total::Sum},
        {QStringLiteral("服务费"), QStringLiteral("tabl_gues_serv"), CellKind::Money, Total::Sum},
        {QStringLiteral("折扣"), QStringLiteral("tabl_gues_disc"), CellKind::Money, Total::Sum},
        {QStringLiteral("税额"), QStringLiteral("tabl_gues_tax"), CellKind::Money, Total::Sum},
        {credit ? QStringLiteral("挂帐额") : QStringLiteral("应收"),
         credit ? QStringLiteral("hang_mone") : QStringLiteral("tabl_gues_shou"), CellKind::Money, Total::Sum},
        {QStringLiteral("实收"), QStringLiteral("tabl_gues_fact"), CellKind::Money, Total::Sum},
        {credit ? QStringLiteral("挂帐人") : QStringLiteral("手工号"),
         credit ? QStringLiteral("hang_name") : QStringLiteral("tabl_gues_user_recn"), CellKind::Text, Total::None, 2},
        {QStringLiteral("操作员"), QStringLiteral("oper_name"), CellKind::Text, Total::None, 2},
    });
    static const QString kFields = QStringLiteral(
        "tabl_gues_time_work, tabl_gues_auto_recn, tabl_name, tabl_gues_coun, tabl_gues_dish, tabl_gues_low, "
        "tabl_gues_room, tabl_gues_serv, tabl_gues_disc, tabl_gues_tax, tabl_gues_shou, hang_mone, tabl_gues_fact, "
        "tabl_gues_user_recn, hang_name, oper_name");
    return framedList(frame, list.columns(), [&](document::DocumentBuilder& b) {
        b.columnHeader();
        for (const DateRange& week : weeksOf(s.range)) {
            const Where where = s.where(week);
            const RecordSet set = db.query(QStringLiteral("SELECT ") + kFields + QStringLiteral(" FROM AllGues") +
                                               where.sql() + kBillOrder,
                                           where.params());
            for (int i = 0; i < set.rowCount(); ++i) list.row(b, set, i);
        }
        list.end(b, QStringLiteral("合计"));
    });
}

document::DocumentStream orderLineDocument(Database& db, const DateRange& range, const QString& typed,
                                     const ReportFrame& frame) {
    // What fits across A4 of the grid's nineteen columns, with each one's share of the width: the
    // bill, the table, the item and its money, who ordered it and who earns on it.
    static const QHash<QString, double> kPrinted{
        {QStringLiteral("tabl_cons_time_work"), 1.4}, {QStringLiteral("tabl_gues_auto_recn"), 0.8},
        {QStringLiteral("tabl_name"), 3},             {QStringLiteral("item_code"), 2.4},
        {QStringLiteral("item_name"), 3.4},           {QStringLiteral("item_unit"), 1.4},
        {QStringLiteral("item_unit_pric"), 1},        {QStringLiteral("tabl_cons_coun"), 0.7},
        {QStringLiteral("menu_type_name"), 1.4},      {QStringLiteral("tabl_cons_tota"), 1},
        {QStringLiteral("oper_name"), 2.7},           {QStringLiteral("dedu_oper_name"), 2.7},
        {QStringLiteral("tabl_dedu_tota"), 1}};
    QList<PrintColumn> printed;
    for (const ReportColumn& c : orderLineColumns())
        if (kPrinted.contains(c.field)) printed.append({c.caption, c.field, c.kind, Total::None, kPrinted[c.field]});
    PrintedList list(printed);
    return framedList(frame, list.columns(), [&](document::DocumentBuilder& b) {
        b.columnHeader();
        for (const DateRange& week : weeksOf(range)) {
            const Where where = lineWhere(week, typed);
            const RecordSet set = db.query(selectOf(orderLineColumns()) + QStringLiteral(" FROM AllCons") +
                                               where.sql() + kLineOrder,
                                           where.params());
            for (int i = 0; i < set.rowCount(); ++i) list.row(b, set, i);
        }
    });
}

} // namespace sorrel::reports
