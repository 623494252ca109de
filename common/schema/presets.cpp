#include "common/schema/presets.h"

#include "common/schema/row_insert.h"

#include <QPair>
#include <QTime>

namespace sorrel::presets {

namespace {

using Rows = QList<QVariantList>;

// The permission catalogue: the code each program tests and the name the back office shows.
const QList<QPair<QString, QString>>& catalogue() {
    static const QList<QPair<QString, QString>> functions = {
        {"DP", "前台-房台操作"},     {"BI", "前台-开台及预订"},   {"DB", "前台-点单"},
        {"PB", "前台-赠单"},         {"CB", "前台-退单"},         {"AP", "前台-结帐"},
        {"GB", "前台-续单"},         {"PS", "前台-系统设置"},     {"BE", "前台-日始日结"},
        {"CF", "前台-销售分析报表"}, {"SF", "前台-业绩分析报表"}, {"DA", "前台-折扣"},
        {"DS", "后台-消费设置"},     {"BS", "后台-出品设置"},     {"RS", "后台-房台设置"},
        {"OS", "后台-其它设置"},     {"OM", "后台-员工管理"},     {"MM", "后台-会员管理"},
        {"PM", "后台-挂帐客人"},     {"SM", "后台-库存管理"},     {"SS", "后台-系统管理"},
    };
    return functions;
}

void writeNameTables(Database& db) {
    using schema::insertRows;
    insertRows(db, "TableStateList", {"tabl_stat_code", "tabl_stat_name"},
               {{"1", "空闲"}, {"2", "使用"}, {"3", "结帐"}, {"4", "加单"}, {"5", "预订"}, {"6", "禁用"}});
    insertRows(db, "ItemTypeList", {"item_type_code", "item_type_name"},
               {{"1", "单品"}, {"2", "套餐"}, {"3", "合成"}, {"4", "原料"}});
    insertRows(db, "OrderMenuType", {"menu_type_code", "menu_type_name"},
               {{"1", "点单"}, {"2", "退单"}, {"3", "赠单"}, {"4", "退赠"}});
    insertRows(db, "ConsTypeList", {"cons_type_code", "cons_type_name"},
               {{"1", "不设消费"},
                {"2", "最低消费"},
                {"3", "计时房费"},
                {"4", "固定房费"},
                {"5", "每人最低消费"},
                {"6", "精确计时"},
                {"7", "茶位费"},
                {"8", "每日房费"},
                {"9", "分时段计费"},
                {"A", "日房午间半价"}});
    insertRows(db, "kindlist", {"kind_code", "kind_name", "kind_rema"}, {{"M", "原料", " "}});
    insertRows(db, "ManuFacturelist", {"manu_code", "manu_name", "manu_rema"}, {{"1", "吧台", " "}});
    // The standard price bands a time-priced mode starts from: morning, afternoon, evening.
    insertRows(db, "ConsTimeModeTemp", {"cons_time_star", "cons_time_end"},
               {{QTime(0, 0, 0), QTime(11, 59, 59)},
                {QTime(12, 0, 0), QTime(17, 59, 59)},
                {QTime(18, 0, 0), QTime(23, 59, 59)}});
    insertRows(db, "PayTypeList",
               {"pay_type_code", "pay_type_name", "pay_type_mone", "pay_star_mone", "pay_type_rema"},
               {{"Z", "现金", 0.0, 0.0, " "},
                {"R", "免单", 0.0, 0.0, " "},
                {"H", "挂帐", 0.0, 0.0, " "},
                {"M", "会员卡", 0.0, 0.0, " "}});
}

void writeStaff(Database& db) {
    using schema::insertRows;
    Rows functions;
    for (const auto& [code, name] : catalogue())
        functions << QVariantList{code, name};
    insertRows(db, "limitedtemp", {"limi_code", "limi_name"}, functions);

    insertRows(db, "managertype", {"mana_code", "mana_name", "mana_rema"},
               {{kAdminLevel, "系统管理员", " "}});
    writeLevelPermissions(db, kAdminLevel, {});
    insertRows(db, "operatorlist", {"oper_code", "oper_name", "oper_pass", "oper_rema", "mana_code"},
               {{kAdminOperator, "管理员", kAdminPassword, "", kAdminLevel}});
    insertRows(db, "OrderList", {"orde_code", "orde_name", "orde_rema"}, {{"1", "全天", " "}});
}

void writeSettings(Database& db, const Clock& clock) {
    // No day is open yet; with automatic day start/end on, the first login opens one.
    schema::insertRows(
        db, "SetupPay",
        {"pay_set_code",      "pay_set_stor_limi", "pay_set_sum_int",  "pay_set_item_int", "pay_set_affi",
         "pay_set_auto_manu", "pay_set_tax_type",  "pay_set_tax_mone", "pay_set_tax_perc", "oper_code",
         "dept_code",         "orde_code",         "mana_code",        "time_work",        "pay_star",
         "work_auto",         "work_back",         "calc_cost",        "user_name",        "user_name_s",
         "user_name_e",       "user_tele",         "user_temp",        "auto_recn"},
        {{"", 5, "四舍五入", "保留小数", 0,  1,  "按比例", 0.0, 0.0, "", "", "", "", clock.today(),
          0,  1, 0,          0,          "", "", "",       "",  0,   1}});

    const QList<BillHeaderCell>& header = defaultBillHeader();
    QStringList columns;
    QVariantList values;
    for (int i = 0; i < header.size(); ++i) {
        const QString cell = QStringLiteral("%1%2").arg(i / 2 + 1).arg(i % 2 + 1);
        columns << QStringLiteral("set_prn_%1_titl").arg(cell) << QStringLiteral("set_prn_%1_fiel").arg(cell);
        values << header[i].caption << header[i].column;
    }
    // Every part of the bill is printed.
    for (int row = 1; row <= 7; ++row) {
        columns << QStringLiteral("set_prn_%1_allo").arg(row);
        values << 1;
    }
    for (const char* section :
         {"deta", "kind", "unit", "disc", "pay", "zero", "memb", "mpay", "hang", "hpay", "d1", "d2"}) {
        columns << QStringLiteral("set_prn_%1_allo").arg(QLatin1String(section));
        values << 1;
    }
    columns << "set_prn_d1_text"
            << "set_prn_d2_text"
            << "set_prn_92_fiel";
    values << "谢谢惠顾，欢迎再次光临！"
           << "请妥善保管好您的随身物品。" << kSystemPassword;
    schema::insertRows(db, "setupprint", columns, {values});
}

} // namespace

const QList<BillHeaderCell>& defaultBillHeader() {
    static const QList<BillHeaderCell> header = {
        {"客人姓名", "tabl_gues_name"}, {"客人人数", "tabl_gues_coun"},
        {"房台名称", "tablname"},       {"帐单编号", "tabl_gues_auto_recn"},
        {"开台时间", "tabl_gues_time"}, {"结帐时间", "tabl_gues_time_end"},
        {"最低消费", "tabl_gues_low"},  {"房 间 费", "tabl_gues_room"},
        {"服 务 费", "tabl_gues_serv"}, {"折扣金额", "tabl_gues_disc"},
        {"服务费率", "cons_mode_serv"}, {"折扣费率", "disc_perc"},
        {"应收金额", "tabl_gues_shou"}, {"实收金额", "tabl_gues_fact"},
    };
    return header;
}

void writeLevelPermissions(Database& db, const QString& level, const QStringList& denied) {
    const RecordSet functions = db.query(QStringLiteral("SELECT limi_code, limi_name FROM limitedtemp"));
    QList<QVariantList> rows;
    for (int r = 0; r < functions.rowCount(); ++r) {
        const QString code = functions.text(r, QStringLiteral("limi_code"));
        rows << QVariantList{level, code, functions.value(r, QStringLiteral("limi_name")),
                             denied.contains(code) ? 0 : 1, QStringLiteral(" ")};
    }
    schema::insertRows(db, QStringLiteral("Limitedlist"),
                       {"mana_code", "limi_code", "limi_name", "limi_real", "mana_rema"}, rows);
}

void write(Database& db, const Clock& clock) {
    writeNameTables(db);
    writeStaff(db);
    writeSettings(db, clock);
}

} // namespace sorrel::presets
