#include "frontdesk/reports/query_reports.h"

#include "common/typed_input.h"

#include <QHash>

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

BillSelection selection(BillListKind kind, const DateRange& range, Where where, const QString& caption) {
    where.add(dateCondition(QStringLiteral("tabl_gues_time_work"), range));
    return {kind, range, where, caption};
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
    return {selectOf(billListColumns()) + QStringLiteral(" FROM AllGues") + s.where.sql() +
                QStringLiteral(" ORDER BY tabl_gues_time_work, tabl_gues_auto_recn"),
            s.where.params(), billListColumns()};
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
    Where where;
    if (const std::optional<qint64> bill = typedBillNumber(typed))
        where.add(QStringLiteral("tabl_gues_auto_recn = ?"), {*bill});
    where.add(dateCondition(QStringLiteral("tabl_cons_time_work"), range));
    return {selectOf(orderLineColumns()) + QStringLiteral(" FROM AllCons") + where.sql() +
                QStringLiteral(" ORDER BY tabl_cons_time_work, tabl_gues_auto_recn, tabl_cons_ID"),
            where.params(), orderLineColumns()};
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

document::Document billListDocument(Database& db, const BillSelection& s, const ReportFrame& frame) {
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
    return framedReport(frame, list.columns(), [&](document::DocumentBuilder& b) {
        b.columnHeader();
        // Read a thousand bills at a time, each batch after the last bill of the one before: a
        // year's list prints in one pass, never re-reading what it has passed. Bill numbers rise
        // with the business dates, so the paper keeps the grid's order.
        constexpr int kBatch = 1000;
        for (qint64 after = -1;;) {
            Where batch = s.where;
            batch.add(QStringLiteral("tabl_gues_auto_recn > ?"), {after});
            const RecordSet set = db.query(QStringLiteral("SELECT ") + kFields + QStringLiteral(" FROM AllGues") +
                                               batch.sql() + QStringLiteral(" ORDER BY tabl_gues_auto_recn LIMIT ?"),
                                           QVariantList(batch.params()) << kBatch);
            for (int i = 0; i < set.rowCount(); ++i) list.row(b, set, i);
            if (set.rowCount() < kBatch) break;
            after = set.integer(set.rowCount() - 1, "tabl_gues_auto_recn");
        }
        list.end(b, QStringLiteral("合计"));
    });
}

document::Document orderLineDocument(Database& db, const ReportList& lines, const ReportFrame& frame) {
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
    for (const ReportColumn& c : lines.columns)
        if (kPrinted.contains(c.field)) printed.append({c.caption, c.field, c.kind, Total::None, kPrinted[c.field]});
    PrintedList list(printed);
    return framedReport(frame, list.columns(), [&](document::DocumentBuilder& b) {
        b.columnHeader();
        lines.forEachRow(db, [&](const RecordSet& set, int i) { list.row(b, set, i); });
    });
}

} // namespace sorrel::reports
