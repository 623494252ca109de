#include "frontdesk/reports/performance_analysis.h"

#include "frontdesk/reports/line_sums.h"

namespace sorrel::reports {

using exporting::CellKind;

namespace {

PrintColumn summed(const char* caption, const char* field, CellKind kind = CellKind::Money) {
    return {QString::fromUtf8(caption), QString::fromLatin1(field), kind, Total::Sum};
}

PrintColumn shown(const char* caption, const char* field, CellKind kind = CellKind::Text, double share = 1) {
    return {QString::fromUtf8(caption), QString::fromLatin1(field), kind, Total::None, share};
}

QList<PrintColumn> printedColumns(PerformanceMode mode) {
    switch (mode) {
    case PerformanceMode::Lines:
        return {shown("编号", "item_code"),          shown("消费项目", "item_name", CellKind::Text, 2),
                shown("单位", "item_unit"),          summed("总数", "counttotal", CellKind::Quantity),
                summed("总金额", "constotal"),       summed("销售额", "facttotal"),
                shown("员工编号", "dedu_oper_code"), shown("提成员工", "dedu_oper_name"),
                summed("提成金额", "dedutotal")};
    case PerformanceMode::LineSums:
        return {shown("员工编号", "dedu_oper_code"),
                shown("提成员工", "dedu_oper_name", CellKind::Text, 2),
                summed("项目总数", "counttotal", CellKind::Quantity),
                summed("总金额", "constotal"),
                summed("销售额", "facttotal"),
                summed("提成金额", "dedutotal")};
    case PerformanceMode::Bills:
        return {shown("日期", "tabl_gues_time_work", CellKind::Date, 1.4),
                shown("单号", "tabl_gues_auto_recn", CellKind::Integer),
                shown("房台", "tabl_name", CellKind::Text, 1.4),
                summed("人数", "tabl_gues_coun", CellKind::Quantity),
                summed("税额", "tabl_gues_tax"),
                summed("实收", "tabl_gues_fact"),
                shown("组别", "grou_name"),
                shown("提成员工", "dedu_oper_name"),
                shown("提成方式", "dedu_type"),
                summed("提成金额", "dedu_mone"),
                summed("业绩", "totadedu")};
    case PerformanceMode::BillSums:
        break;
    }
    return {shown("编码", "dedu_oper_code"), shown("姓名", "dedu_oper_name", CellKind::Text, 1.4),
            summed("实收金额", "totafact"),  summed("税额", "totatax"),
            summed("提成", "totadedu"),      summed("预定业绩", "totay"),
            summed("指定业绩", "totaz"),     summed("领位业绩", "totall"),
            summed("业绩合计", "totadeduc"), shown("业绩标准", "tota_stan", CellKind::Money)};
}

QList<ReportColumn> screenColumns(PerformanceMode mode) {
    const auto c = [](const char* caption, const char* field, CellKind kind = CellKind::Text) {
        return ReportColumn{QString::fromUtf8(caption), QString::fromLatin1(field), kind};
    };
    switch (mode) {
    case PerformanceMode::Lines:
        return {c("编码", "item_code"),
                c("项目名称", "item_name"),
                c("单位", "item_unit"),
                c("总数", "counttotal", CellKind::Quantity),
                c("总金额", "constotal", CellKind::Money),
                c("销售金额", "facttotal", CellKind::Money),
                c("提成员工编码", "dedu_oper_code"),
                c("提成员工", "dedu_oper_name"),
                c("提成金额", "dedutotal", CellKind::Money)};
    case PerformanceMode::LineSums:
        return {c("提成员工编码", "dedu_oper_code"),         c("提成员工", "dedu_oper_name"),
                c("总数", "counttotal", CellKind::Quantity), c("总金额", "constotal", CellKind::Money),
                c("销售金额", "facttotal", CellKind::Money), c("提成金额", "dedutotal", CellKind::Money)};
    case PerformanceMode::Bills:
        return {c("日期", "tabl_gues_time_work", CellKind::Date),
                c("单号", "tabl_gues_auto_recn", CellKind::Integer),
                c("台桌号", "tabl_code"),
                c("台桌名称", "tabl_name"),
                c("客人数", "tabl_gues_coun", CellKind::Integer),
                c("收税金额", "tabl_gues_tax", CellKind::Money),
                c("应收金额", "tabl_gues_shou", CellKind::Money),
                c("实收金额", "tabl_gues_fact", CellKind::Money),
                c("组名", "grou_name"),
                c("提成员工", "dedu_oper_name"),
                c("提成类型", "dedu_type"),
                c("提成金额", "dedu_mone", CellKind::Money),
                c("提成业绩", "totadedu", CellKind::Money),
                c("收款方式", "tabl_gues_pay_narr")};
    case PerformanceMode::BillSums:
        break;
    }
    return {c("组名", "grou_name"),
            c("提成员工", "dedu_oper_name"),
            c("应收金额", "totashou", CellKind::Money),
            c("实收金额", "totafact", CellKind::Money),
            c("收税金额", "totatax", CellKind::Money),
            c("提成金额", "totadedu", CellKind::Money),
            c("业绩合计", "totadeduc", CellKind::Money),
            c("预定业绩", "totay", CellKind::Money),
            c("指定业绩", "totaz", CellKind::Money),
            c("领位业绩", "totall", CellKind::Money),
            c("业绩标准", "tota_stan", CellKind::Money)};
}

} // namespace

ReportList performanceAnalysis(Database& db, const DateRange& range, PerformanceMode mode,
                               const QString& staffCode) {
    if (mode == PerformanceMode::LineSums) {
        const Condition lines =
            lineSums(db, range, LineSelection().of(SummarySet::CommissionStaff, staffCode));
        return {QStringLiteral("SELECT dedu_oper_code, max(dedu_oper_name) AS dedu_oper_name, "
                               "sum(counttotal) AS counttotal, sum(constotal) AS constotal, "
                               "sum(facttotal) AS facttotal, sum(dedutotal) AS dedutotal FROM ") +
                    lines.sql + QStringLiteral(" GROUP BY dedu_oper_code"),
                lines.params,
                screenColumns(mode),
                {{QStringLiteral("dedu_oper_code"), true}}};
    }
    Where where;
    if (mode == PerformanceMode::Lines)
        where.add(kOrderedLines)
            .add(QStringLiteral("COALESCE(dedu_oper_code, '') <> ''"))
            .add(dateCondition(QStringLiteral("tabl_cons_time_work"), range));
    else
        where.add(QStringLiteral("dedu_mone > 0"))
            .add(dateCondition(QStringLiteral("tabl_gues_time_work"), range));
    where.equalsUnlessEmpty(QStringLiteral("dedu_oper_code"), staffCode);
    QString sql;
    QList<OrderKey> order;
    switch (mode) {
    case PerformanceMode::Lines:
        order = {{QStringLiteral("tabl_cons_time_work")},
                 {QStringLiteral("tabl_gues_auto_recn")},
                 {QStringLiteral("tabl_cons_ID")}};
        sql = QStringLiteral(
                  "SELECT item_code, item_name, item_unit, tabl_cons_coun * item_coun_flag AS counttotal, "
                  "tabl_cons_tota AS constotal, %1 AS facttotal, dedu_oper_code, dedu_oper_name, "
                  "tabl_dedu_tota AS dedutotal, tabl_cons_time_work, tabl_gues_auto_recn, tabl_cons_ID "
                  "FROM AllCons%2")
                  .arg(salesAmountOf(QString()), where.sql());
        break;
    case PerformanceMode::LineSums:
        break;
    case PerformanceMode::Bills:
        order = {{QStringLiteral("tabl_gues_time_work")}, {QStringLiteral("tabl_gues_auto_recn")}};
        sql = QStringLiteral(
                  "SELECT tabl_gues_time_work, tabl_gues_auto_recn, tabl_code, tabl_name, tabl_gues_coun, "
                  "tabl_gues_tax, tabl_gues_shou, tabl_gues_fact, grou_name, dedu_oper_code, "
                  "dedu_oper_name, dedu_type, dedu_mone, tota_z + tota_y + tota_l AS totadedu, "
                  "tabl_gues_pay_narr FROM AllGues%1")
                  .arg(where.sql());
        break;
    case PerformanceMode::BillSums:
        // By area, group, staff and standard: one row each, every one of them possibly empty.
        order = {{QStringLiteral("area_name"), true},
                 {QStringLiteral("grou_name"), true},
                 {QStringLiteral("dedu_oper_code"), true},
                 {QStringLiteral("tota_stan"), true}};
        sql = QStringLiteral(
                  "SELECT dedu_oper_code, max(dedu_oper_name) AS dedu_oper_name, grou_name, area_name, "
                  "tota_stan, sum(tabl_gues_shou) AS totashou, sum(tabl_gues_fact) AS totafact, "
                  "sum(tabl_gues_tax) AS totatax, sum(dedu_mone) AS totadedu, sum(tota_y) AS totay, "
                  "sum(tota_z) AS totaz, sum(tota_l) AS totall, "
                  "sum(tota_z + tota_y + tota_l) AS totadeduc FROM AllGues%1 "
                  "GROUP BY dedu_oper_code, grou_name, tota_stan, area_name")
                  .arg(where.sql());
        break;
    }
    return {sql, where.params(), screenColumns(mode), order};
}

QString performanceHeading(PerformanceMode mode) {
    static const char* headings[] = {"点单（业绩）分析报表", "点单（业绩）统计报表", "帐单（业绩）分析报表",
                                     "帐单（业绩）统计报表"};
    return QString::fromUtf8(headings[int(mode)]);
}

document::DocumentStream performanceReport(Database& db, PerformanceMode mode, const ReportList& list,
                                     const ReportFrame& frame) {
    PrintedList printed(printedColumns(mode));
    return framedList(frame, printed.columns(), [&](document::DocumentBuilder& b) {
        b.columnHeader();
        if (mode != PerformanceMode::BillSums) {
            list.forEachRow(db, [&](const RecordSet& rows, int row) { printed.row(b, rows, row); });
            printed.end(b, QStringLiteral("合计"), mode != PerformanceMode::LineSums);
            return;
        }
        // By area, and within it by staff group.
        QString area, group;
        bool areaOpen = false, groupOpen = false;
        const auto closeGroup = [&] {
            if (groupOpen) printed.close(b, document::BandKind::GroupFooter, QStringLiteral("小计："), false);
            groupOpen = false;
        };
        const auto closeArea = [&] {
            closeGroup();
            if (areaOpen) printed.close(b, document::BandKind::GroupFooter, QStringLiteral("合计："), false);
            areaOpen = false;
        };
        list.forEachRow(db, [&](const RecordSet& rows, int row) {
            const QString a = rows.text(row, QStringLiteral("area_name"));
            const QString g = rows.text(row, QStringLiteral("grou_name"));
            if (!areaOpen || a != area) {
                closeArea();
                area = a;
                areaOpen = true;
                b.sums(document::BandKind::GroupHeader, {QStringLiteral("分区：") + a}, {});
                printed.begin();
            }
            if (!groupOpen || g != group) {
                closeGroup();
                group = g;
                groupOpen = true;
                b.sums(document::BandKind::GroupHeader, {QStringLiteral("分组->") + g}, {});
                printed.begin();
            }
            printed.row(b, rows, row);
        });
        closeArea();
        printed.end(b, QStringLiteral("总计："), false);
    });
}

} // namespace sorrel::reports
