#include "frontdesk/reports/bill_detail.h"

#include "frontdesk/reports/query_reports.h"

namespace sorrel::reports {

using exporting::CellKind;

const QList<DetailField>& basicInfoFields() {
    static const QList<DetailField> fields{
        {QStringLiteral("营业日期："), QStringLiteral("tabl_gues_time_work"), CellKind::Date},
        {QStringLiteral("帐单编号："), QStringLiteral("tabl_gues_auto_recn"), CellKind::Integer},
        {QStringLiteral("手工单号："), QStringLiteral("tabl_gues_user_recn")},
        {QStringLiteral("房台名称："), QStringLiteral("tabl_name")},
        {QStringLiteral("所属部门："), QStringLiteral("dept_name")},
        {QStringLiteral("开台时间："), QStringLiteral("tabl_gues_time"), CellKind::DateTime},
        {QStringLiteral("消费类型："), QStringLiteral("cons_type_name")},
        {QStringLiteral("预订员工："), QStringLiteral("book_oper_name")},
        {QStringLiteral("客人数量："), QStringLiteral("tabl_gues_coun"), CellKind::Integer},
        {QStringLiteral("客人姓名："), QStringLiteral("tabl_gues_name")},
        {QStringLiteral("服务费率："), QStringLiteral("cons_mode_serv"), CellKind::Integer},
        {QStringLiteral("折 扣 率："), QStringLiteral("disc_perc"), CellKind::Integer},
        {QStringLiteral("最低消费："), QStringLiteral("tabl_gues_low"), CellKind::Money},
        {QStringLiteral("房间消费："), QStringLiteral("tabl_gues_room"), CellKind::Money},
        {QStringLiteral("酒菜消费："), QStringLiteral("tabl_gues_dish"), CellKind::Money},
        {QStringLiteral("特殊消费："), QStringLiteral("tabl_gues_spec"), CellKind::Money},
        {QStringLiteral("服 务 费："), QStringLiteral("tabl_gues_serv"), CellKind::Money},
        {QStringLiteral("折扣金额："), QStringLiteral("tabl_gues_disc"), CellKind::Money},
        {QStringLiteral("收税金额："), QStringLiteral("tabl_gues_tax"), CellKind::Money},
        {QStringLiteral("备注说明："), QStringLiteral("tabl_gues_pay_narr")},
    };
    return fields;
}

const QList<DetailField>& settlementFields() {
    static const QList<DetailField> fields{
        {QStringLiteral("应收金额："), QStringLiteral("tabl_gues_shou"), CellKind::Money},
        {QStringLiteral("实收金额："), QStringLiteral("tabl_gues_fact"), CellKind::Money},
        {QStringLiteral("结帐时间："), QStringLiteral("tabl_gues_time_end"), CellKind::DateTime},
        {QStringLiteral("结帐员工："), QStringLiteral("oper_name")},
        {QStringLiteral("会员姓名："), QStringLiteral("memb_name")},
        {QStringLiteral("会员卡号："), QStringLiteral("memb_card_code")},
        {QStringLiteral("挂 帐 人："), QStringLiteral("hang_name")},
        {QStringLiteral("提成员工："), QStringLiteral("dedu_oper_name")},
        {QStringLiteral("提成方式："), QStringLiteral("dedu_type")},
        {QStringLiteral("提成金额："), QStringLiteral("dedu_mone"), CellKind::Money},
    };
    return fields;
}

const QList<ReportColumn>& paymentColumns() {
    static const QList<ReportColumn> columns{
        {QStringLiteral("付款名称"), QStringLiteral("pay_type_name")},
        {QStringLiteral("付款金额"), QStringLiteral("pay_type_mone"), CellKind::Money},
    };
    return columns;
}

const QList<ReportColumn>& detailLineColumns() {
    static const QList<ReportColumn> columns = [] {
        QList<ReportColumn> out;
        ReportColumn table;
        for (const ReportColumn& c : orderLineColumns())
            if (c.field == QLatin1String("tabl_code"))
                table = c;
            else
                out.append(c);
        out.append(table);
        return out;
    }();
    return columns;
}

namespace {

QString fieldList(const QList<DetailField>& a, const QList<DetailField>& b) {
    QStringList fields;
    for (const auto* list : {&a, &b})
        for (const DetailField& f : *list) fields << f.field;
    return fields.join(QStringLiteral(", "));
}

QString columnList(const QList<ReportColumn>& columns) {
    QStringList fields;
    for (const ReportColumn& c : columns) fields << c.field;
    return fields.join(QStringLiteral(", "));
}

} // namespace

QString BillDetail::text(const DetailField& field) const {
    return bill.isEmpty() ? QString() : displayText(bill.value(0, field.field), field.kind);
}

std::optional<BillDetail> billDetail(Database& db, qint64 billNumber) {
    BillDetail d;
    d.billNumber = billNumber;
    d.bill = db.query(QStringLiteral("SELECT ") + fieldList(basicInfoFields(), settlementFields()) +
                          QStringLiteral(" FROM AllGues WHERE tabl_gues_auto_recn = ?"),
                      {billNumber});
    if (d.bill.isEmpty()) return std::nullopt;
    d.payments = db.query(QStringLiteral("SELECT ") + columnList(paymentColumns()) +
                              QStringLiteral(" FROM AllGuesPay WHERE tabl_gues_auto_recn = ? ORDER BY pay_type_code DESC"),
                          {billNumber});
    d.lines = db.query(QStringLiteral("SELECT ") + columnList(detailLineColumns()) +
                           QStringLiteral(" FROM AllCons WHERE tabl_gues_auto_recn = ? ORDER BY tabl_cons_time, tabl_cons_ID"),
                       {billNumber});
    return d;
}

} // namespace sorrel::reports
