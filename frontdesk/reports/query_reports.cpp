#include "frontdesk/reports/query_reports.h"

#include "common/typed_input.h"

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
    const QList<ReportColumn> printed{
        {QStringLiteral("日期"), QStringLiteral("tabl_gues_time_work"), CellKind::Date},
        {QStringLiteral("单号"), QStringLiteral("tabl_gues_auto_recn")},
        {QStringLiteral("房台"), QStringLiteral("tabl_name")},
        {QStringLiteral("人数"), QStringLiteral("tabl_gues_coun"), CellKind::Integer},
        {QStringLiteral("酒菜"), QStringLiteral("tabl_gues_dish"), CellKind::Money},
        {QStringLiteral("低消"), QStringLiteral("tabl_gues_low"), CellKind::Money},
        {QStringLiteral("房间费"), QStringLiteral("tabl_gues_room"), CellKind::Money},
        {QStringLiteral("服务费"), QStringLiteral("tabl_gues_serv"), CellKind::Money},
        {QStringLiteral("折扣"), QStringLiteral("tabl_gues_disc"), CellKind::Money},
        {QStringLiteral("税额"), QStringLiteral("tabl_gues_tax"), CellKind::Money},
        {credit ? QStringLiteral("挂帐额") : QStringLiteral("应收"),
         credit ? QStringLiteral("hang_mone") : QStringLiteral("tabl_gues_shou"), CellKind::Money},
        {QStringLiteral("实收"), QStringLiteral("tabl_gues_fact"), CellKind::Money},
        {credit ? QStringLiteral("挂帐人") : QStringLiteral("手工号"),
         credit ? QStringLiteral("hang_name") : QStringLiteral("tabl_gues_user_recn")},
        {QStringLiteral("操作员"), QStringLiteral("oper_name")},
    };
    // Fourteen columns across A4: the figures keep their digits, the dates theirs, and the names
    // take what is left.
    QVector<document::Column> columns;
    for (const ReportColumn& c : printed) {
        if (c.kind == CellKind::Money)
            columns.append(document::Column::money(c.caption, 1, 6).summing());
        else if (c.kind == CellKind::Integer)
            columns.append(document::Column::quantity(c.caption, 0.5, 3).summing());
        else if (c.kind == CellKind::Date)
            columns.append(document::Column::centred(c.caption, 1.4, 10));
        else if (c.field == QLatin1String("tabl_gues_auto_recn"))
            columns.append(document::Column::text(c.caption, 0.8, 5));
        else
            columns.append(document::Column::text(c.caption, c.field == QLatin1String("tabl_name") ? 1.8 : 1.2,
                                                  c.field == QLatin1String("tabl_name") ? 9 : 6));
    }
    return framedReport(frame, columns, [&](document::DocumentBuilder& b) {
        b.columnHeader();
        // Read a thousand bills at a time, each batch after the last bill of the one before: a
        // year's list prints in one pass, never re-reading what it has passed. Bill numbers rise
        // with the business dates, so the paper keeps the grid's order.
        constexpr int kBatch = 1000;
        int bills = 0;
        for (qint64 after = -1;;) {
            Where batch = s.where;
            batch.add(QStringLiteral("tabl_gues_auto_recn > ?"), {after});
            const RecordSet set = db.query(selectOf(printed) + QStringLiteral(" FROM AllGues") + batch.sql() +
                                               QStringLiteral(" ORDER BY tabl_gues_auto_recn LIMIT ?"),
                                           QVariantList(batch.params()) << kBatch);
            for (int i = 0; i < set.rowCount(); ++i) {
                QVector<document::Cell> cells;
                for (const ReportColumn& c : printed) {
                    const QVariant& v = set.value(i, c.field);
                    if (c.kind == CellKind::Money || c.kind == CellKind::Integer)
                        cells.append(document::Cell(v.toDouble()));
                    else
                        cells.append(document::Cell(displayText(v, c.kind)));
                }
                b.row(cells);
                ++bills;
            }
            if (set.rowCount() < kBatch) break;
            after = set.integer(set.rowCount() - 1, "tabl_gues_auto_recn");
        }
        b.totals({QStringLiteral("合计"), QString::number(bills)});
    });
}

document::Document orderLineDocument(Database& db, const ReportList& lines, const ReportFrame& frame) {
    // What fits across A4 of the grid's nineteen columns: the bill, the table, the item and its
    // money, who ordered it and who earns on it.
    static const QStringList kPrinted{
        QStringLiteral("tabl_cons_time_work"), QStringLiteral("tabl_gues_auto_recn"), QStringLiteral("tabl_name"),
        QStringLiteral("item_code"),           QStringLiteral("item_name"),           QStringLiteral("item_unit"),
        QStringLiteral("item_unit_pric"),      QStringLiteral("tabl_cons_coun"),      QStringLiteral("menu_type_name"),
        QStringLiteral("tabl_cons_tota"),      QStringLiteral("oper_name"),           QStringLiteral("dedu_oper_name"),
        QStringLiteral("tabl_dedu_tota")};
    QList<ReportColumn> printed;
    QVector<document::Column> columns;
    for (const ReportColumn& c : lines.columns) {
        if (!kPrinted.contains(c.field)) continue;
        printed.append(c);
        if (c.kind == CellKind::Money)
            columns.append(document::Column::money(c.caption, 1, 6));
        else if (c.kind == CellKind::Quantity || c.kind == CellKind::Integer)
            columns.append(document::Column::quantity(c.caption, 0.6, 4));
        else if (c.kind == CellKind::Date)
            columns.append(document::Column::centred(c.caption, 1.4, 10));
        else if (c.field == QLatin1String("item_name"))
            columns.append(document::Column::text(c.caption, 2, 10));
        else
            columns.append(document::Column::text(
                c.caption, 1, c.field == QLatin1String("item_unit") || c.field == QLatin1String("menu_type_name") ? 4 : 8));
    }
    return framedReport(frame, columns, [&](document::DocumentBuilder& b) {
        b.columnHeader();
        lines.forEachRow(db, [&](const RecordSet& set, int i) {
            QVector<document::Cell> cells;
            for (const ReportColumn& c : printed) cells.append(document::Cell(displayText(set.value(i, c.field), c.kind)));
            b.row(cells);
        });
    });
}

} // namespace sorrel::reports
