#include "frontdesk/reports/bill_analysis.h"

namespace sorrel::reports {

using exporting::CellKind;

namespace {

// Only what the list shows, with the margin of each bill (0 for a bill that took nothing).
const QString kBillColumns = QStringLiteral(
    "SELECT tabl_gues_time_work, tabl_gues_auto_recn, tabl_code, tabl_name, dept_name, tabl_gues_coun, "
    "tabl_gues_dish + tabl_gues_spec AS tabl_gues_dish_one, tabl_gues_low, tabl_gues_room, tabl_gues_serv, "
    "tabl_gues_disc, tabl_gues_tax, tabl_gues_shou, tabl_gues_fact, tabl_gues_pay_narr, cost_mone, "
    "CASE WHEN tabl_gues_fact = 0 THEN 0 ELSE (tabl_gues_fact - cost_mone) / tabl_gues_fact * 100 END AS "
    "starperc "
    "FROM AllGues");

QList<ReportColumn> billColumns(bool tableScreen) {
    const auto c = [tableScreen](const char* table, const char* op) {
        return QString::fromUtf8(tableScreen ? table : op);
    };
    return {{c("时间", "日期"), QStringLiteral("tabl_gues_time_work"), CellKind::Date},
            {c("帐单", "单号"), QStringLiteral("tabl_gues_auto_recn"), CellKind::Integer},
            {QStringLiteral("台桌号"), QStringLiteral("tabl_code")},
            {c("台桌名", "台桌名称"), QStringLiteral("tabl_name")},
            {c("人数", "客人数量"), QStringLiteral("tabl_gues_coun"), CellKind::Integer},
            {QStringLiteral("酒菜消费"), QStringLiteral("tabl_gues_dish_one"), CellKind::Money},
            {QStringLiteral("最低消费"), QStringLiteral("tabl_gues_low"), CellKind::Money},
            {c("房间消费", "房间费"), QStringLiteral("tabl_gues_room"), CellKind::Money},
            {QStringLiteral("服务费"), QStringLiteral("tabl_gues_serv"), CellKind::Money},
            {QStringLiteral("折扣金额"), QStringLiteral("tabl_gues_disc"), CellKind::Money},
            {QStringLiteral("收税金额"), QStringLiteral("tabl_gues_tax"), CellKind::Money},
            {QStringLiteral("实收金额"), QStringLiteral("tabl_gues_fact"), CellKind::Money},
            {QStringLiteral("应收金额"), QStringLiteral("tabl_gues_shou"), CellKind::Money},
            {QStringLiteral("付款方式"), QStringLiteral("tabl_gues_pay_narr")},
            {c("酒菜成本", "成本"), QStringLiteral("cost_mone"), CellKind::Money},
            {QStringLiteral("毛利率"), QStringLiteral("starperc"), CellKind::Percent}};
}

QList<PrintColumn> printedBillColumns() {
    const auto sum = [](const char* caption, const char* field, CellKind kind = CellKind::Money) {
        return PrintColumn{QString::fromUtf8(caption), QString::fromLatin1(field), kind, Total::Sum};
    };
    return {{QStringLiteral("日期"), QStringLiteral("tabl_gues_time_work"), CellKind::Date, Total::None, 1.4},
            {QStringLiteral("单号"), QStringLiteral("tabl_gues_auto_recn"), CellKind::Integer},
            {QStringLiteral("房台"), QStringLiteral("tabl_name"), CellKind::Text, Total::None, 1.4},
            sum("人数", "tabl_gues_coun", CellKind::Quantity),
            sum("酒菜", "tabl_gues_dish_one"),
            sum("低消", "tabl_gues_low"),
            sum("房间费", "tabl_gues_room"),
            sum("服务费", "tabl_gues_serv"),
            sum("折扣", "tabl_gues_disc"),
            sum("税额", "tabl_gues_tax"),
            sum("应收", "tabl_gues_shou"),
            sum("实收", "tabl_gues_fact"),
            sum("成本", "cost_mone"),
            {QStringLiteral("毛利率"), QStringLiteral("starperc"), CellKind::Percent, Total::Average}};
}

} // namespace

ReportList tableAnalysis(const DateRange& range, const QString& tableCode) {
    Where where;
    where.add(dateCondition(QStringLiteral("tabl_gues_time_work"), range))
        .equalsUnlessEmpty(QStringLiteral("tabl_code"), tableCode.trimmed());
    return {kBillColumns + where.sql(),
            where.params(),
            billColumns(true),
            {{QStringLiteral("dept_name"), true},
             {QStringLiteral("tabl_gues_time_work")},
             {QStringLiteral("tabl_gues_auto_recn")}}};
}

ReportList operatorBills(const DateRange& range, OperatorBills which, const QString& operatorCode) {
    Where where;
    if (which == OperatorBills::Booked) where.add(QStringLiteral("book_flag = 1"));
    where
        .equalsUnlessEmpty(which == OperatorBills::Booked ? QStringLiteral("book_oper_code")
                                                          : QStringLiteral("oper_code"),
                           operatorCode)
        .add(dateCondition(QStringLiteral("tabl_gues_time_work"), range));
    return {kBillColumns + where.sql(),
            where.params(),
            billColumns(false),
            {{QStringLiteral("tabl_gues_time_work")}, {QStringLiteral("tabl_gues_auto_recn")}}};
}

document::DocumentStream tableReport(Database& db, const ReportList& list, const ReportFrame& frame) {
    PrintedList printed(printedBillColumns());
    return framedList(frame, printed.columns(), [&](document::DocumentBuilder& b) {
        b.columnHeader();
        QString department;
        bool open = false;
        list.forEachRow(db, [&](const RecordSet& rows, int row) {
            const QString d = rows.text(row, QStringLiteral("dept_name"));
            if (!open || d != department) {
                if (open) printed.close(b, document::BandKind::GroupFooter, QStringLiteral("小计"));
                department = d;
                open = true;
                b.sums(document::BandKind::GroupHeader, {QStringLiteral("部门：") + d}, {});
                printed.begin();
            }
            printed.row(b, rows, row);
        });
        if (open) printed.close(b, document::BandKind::GroupFooter, QStringLiteral("小计"));
        printed.end(b, QStringLiteral("合计"));
    });
}

document::DocumentStream operatorBillReport(Database& db, const ReportList& list, const ReportFrame& frame) {
    PrintedList printed(printedBillColumns());
    return framedList(frame, printed.columns(), [&](document::DocumentBuilder& b) {
        b.columnHeader();
        list.forEachRow(db, [&](const RecordSet& rows, int row) { printed.row(b, rows, row); });
        printed.end(b, QStringLiteral("合计"));
    });
}

} // namespace sorrel::reports
