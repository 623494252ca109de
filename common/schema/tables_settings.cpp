// The two single-row settings records: cashier settings with the installation's running state,
// and the bill layout.
#include "common/schema/table_groups.h"

namespace sorrel::schema {

namespace {

Table setupPay() {
    return {QStringLiteral("SetupPay"),
            {
                text("pay_set_code", 1),
                integer("pay_set_stor_limi"),
                text("pay_set_sum_int", 8),
                text("pay_set_item_int", 8),
                yesNo("pay_set_affi"),
                yesNo("pay_set_auto_manu"),
                text("pay_set_tax_type", 6),
                decimal("pay_set_tax_mone", 10),
                decimal("pay_set_tax_perc", 10),
                text("oper_code", 2),
                text("dept_code", 2),
                text("orde_code", 1),
                text("mana_code", 2),
                dateTime("time_work"),
                dateTime("time_star"),
                dateTime("time_end"),
                yesNo("pay_star"),
                yesNo("work_auto"),
                yesNo("work_back"),
                yesNo("calc_cost"),
                text("user_name", 30),
                text("user_name_s", 10),
                text("user_name_e", 20),
                text("user_tele", 20),
                integer("user_temp"),
                integer("auto_recn", 1),
            },
            {}};
}

Table setupPrint() {
    QList<Column> columns;
    // The bill header: 7 rows of 2 cells, each a caption and the guest-record column it prints.
    for (int row = 1; row <= 7; ++row)
        for (int cell = 1; cell <= 2; ++cell) {
            columns << text(QStringLiteral("set_prn_%1%2_titl").arg(row).arg(cell), 20);
            columns << text(QStringLiteral("set_prn_%1%2_fiel").arg(row).arg(cell), 30);
        }
    for (int row = 1; row <= 7; ++row)
        columns << yesNo(QStringLiteral("set_prn_%1_allo").arg(row));
    for (const char* section :
         {"deta", "kind", "unit", "disc", "pay", "zero", "memb", "mpay", "hang", "hpay"})
        columns << yesNo(QStringLiteral("set_prn_%1_allo").arg(QLatin1String(section)));
    columns << text("set_prn_d1_text", 60) << text("set_prn_d2_text", 60);
    columns << yesNo("set_prn_d1_allo") << yesNo("set_prn_d2_allo");
    columns << text("set_prn_92_fiel", 30);
    return {QStringLiteral("setupprint"), columns, {}};
}

} // namespace

QList<Table> settingsTables() {
    return {setupPay(), setupPrint()};
}

} // namespace sorrel::schema
