#include "common/schema/demo_venue.h"

#include "common/schema/presets.h"
#include "common/schema/row_insert.h"

#include <QTime>

namespace sorrel::demo {

namespace {

using schema::insertRows;

// Consumption modes, one or more for every consumption type, each the default of a table type.
void writeModes(Database& db) {
    insertRows(db, "ConsModeList",
               {"cons_mode_code", "cons_mode_name", "cons_type_code", "cons_mode_mone", "cons_mode_serv",
                "cons_mode_achi", "cons_mode_pred_stan", "cons_mode_pred_abov", "cons_mode_spec_stan",
                "cons_mode_spec_abov", "cons_mode_lead_stan", "cons_mode_lead_abov", "cons_mode_rema"},
               {
                   {"01", "大厅散台", "1", 0.0, 0, 0, 0, 0, 0, 0, 0, 0, " "},
                   {"02", "包厢最低消费", "2", 800.0, 10, 2000, 3, 5, 2, 4, 1, 2, " "},
                   {"03", "KTV小包计时", "3", 60.0, 0, 1000, 3, 5, 2, 4, 1, 2, " "},
                   {"04", "包厢房费", "4", 200.0, 10, 1500, 3, 5, 2, 4, 1, 2, " "},
                   {"05", "豪华包厢每人低消", "5", 150.0, 15, 3000, 3, 5, 2, 4, 1, 2, " "},
                   {"06", "茶室计时", "6", 30.0, 0, 500, 2, 4, 1, 3, 1, 2, " "},
                   {"07", "卡座茶位费", "7", 5.0, 0, 0, 0, 0, 0, 0, 0, 0, " "},
                   {"08", "棋牌室包日", "8", 288.0, 0, 800, 2, 4, 1, 3, 1, 2, " "},
                   {"09", "KTV大包分时段", "9", 0.0, 10, 2500, 3, 5, 2, 4, 1, 2, " "},
                   {"10", "棋牌室日租半价", "A", 200.0, 0, 600, 2, 4, 1, 3, 1, 2, " "},
               });
    // The time-priced rooms: three bands back to back over the whole day, cheapest by day.
    insertRows(db, "ConsTimeMode", {"cons_mode_code", "cons_time_star", "cons_time_end", "cons_time_mone"},
               {{"09", QTime(0, 0, 0), QTime(11, 59, 59), 40.0},
                {"09", QTime(12, 0, 0), QTime(17, 59, 59), 60.0},
                {"09", QTime(18, 0, 0), QTime(23, 59, 59), 100.0}});
}

void writeRooms(Database& db) {
    insertRows(db, "DepartmentList", {"dept_code", "dept_name", "dept_rema"},
               {{"01", "大厅", " "}, {"02", "包厢", " "}, {"03", "KTV娱乐区", " "}});
    insertRows(db, "TableTypeList",
               {"tabl_type_code", "tabl_type_name", "tabl_type_narr", "tabl_type_rema", "cons_mode_code"},
               {
                   {"01", "散台", "大厅四至六人桌", " ", "01"},
                   {"02", "卡座", "收茶位费", " ", "07"},
                   {"03", "小包厢", "六至八人", " ", "04"},
                   {"04", "大包厢", "十至十二人", " ", "02"},
                   {"05", "豪华包厢", "每人最低消费", " ", "05"},
                   {"06", "KTV小包", "按小时计费", " ", "03"},
                   {"07", "KTV大包", "分时段计费", " ", "09"},
                   {"08", "茶室", "按实际时长计费", " ", "06"},
                   {"09", "棋牌室", "按日计费", " ", "08"},
                   {"10", "棋牌日间房", "午间半价", " ", "10"},
               });
    QList<QVariantList> tables;
    const auto add = [&](const QString& code, const QString& name, const QString& narr, const char* type,
                         const char* dept) {
        tables << QVariantList{code, name, narr, type, dept, "1", " "};
    };
    for (int n = 1; n <= 12; ++n)
        add(QStringLiteral("A%1").arg(n, 2, 10, QLatin1Char('0')), QStringLiteral("大厅%1号桌").arg(n),
            n <= 8 ? QStringLiteral("四人桌") : QStringLiteral("六人桌"), "01", "01");
    for (int n = 1; n <= 4; ++n)
        add(QStringLiteral("B%1").arg(n, 2, 10, QLatin1Char('0')), QStringLiteral("卡座%1").arg(n),
            QStringLiteral("靠窗卡座"), "02", "01");
    add("V01", "牡丹厅", "八人", "03", "02");
    add("V02", "芙蓉厅", "八人", "03", "02");
    add("V03", "兰花厅", "六人", "03", "02");
    add("V04", "梅花厅", "十二人", "04", "02");
    add("V05", "翠竹厅", "十人", "04", "02");
    add("V06", "帝王厅", "十六人带卫生间", "05", "02");
    for (int n = 1; n <= 4; ++n)
        add(QStringLiteral("K%1").arg(n, 2, 10, QLatin1Char('0')), QStringLiteral("KTV小包%1").arg(n),
            QStringLiteral("四至六人"), "06", "03");
    add("K05", "KTV大包1", "十五人", "07", "03");
    add("K06", "KTV大包2", "二十人", "07", "03");
    add("T01", "听雨茶室", "四人", "08", "03");
    add("T02", "观山茶室", "六人", "08", "03");
    add("Q01", "棋牌室1", "自动麻将机", "09", "03");
    add("Q02", "棋牌室2", "自动麻将机", "10", "03");
    insertRows(
        db, "TableList",
        {"tabl_code", "tabl_name", "tabl_narr", "tabl_type_code", "dept_code", "tabl_stat_code", "tabl_rema"},
        tables);
}

// The cashier may do the daily work but not change settings, run day start/end or give
// discounts, nor manage staff or the system in the back office.
void writeStaff(Database& db) {
    insertRows(db, "OrderList", {"orde_code", "orde_name", "orde_rema"}, {{"2", "晚班", " "}});
    db.exec(QStringLiteral("UPDATE OrderList SET orde_name = ? WHERE orde_code = ?"), {"早班", "1"});
    insertRows(db, "managertype", {"mana_code", "mana_name", "mana_rema"}, {{kCashierLevel, "收银员", " "}});
    presets::writeLevelPermissions(db, kCashierLevel, {"PS", "BE", "DA", "OM", "SS"});
    insertRows(db, "operatorlist", {"oper_code", "oper_name", "oper_pass", "oper_rema", "mana_code"},
               {{kCashierOperator, "收银员", kCashierPassword, "前台收银", kCashierLevel}});

    insertRows(db, "AreaList", {"area_code", "area_name", "area_rema"},
               {{"1", "前厅", " "}, {"2", "KTV区", " "}});
    insertRows(
        db, "Grouplist", {"grou_code", "grou_name", "grou_ream", "area_code"},
        {{"01", "迎宾组", "领位", "1"}, {"02", "服务一组", "大厅包厢", "1"}, {"03", "KTV服务组", "", "2"}});
    insertRows(db, "deduoperatorlist",
               {"dedu_oper_code", "dedu_oper_name", "dedu_oper_stan", "dedu_oper_rema", "grou_code"},
               {{"001", "张丽", 5000.0, "领班", "01"},
                {"002", "王芳", 8000.0, "", "02"},
                {"003", "李强", 8000.0, "", "02"},
                {"004", "赵敏", 10000.0, "", "03"},
                {"005", "陈杰", 10000.0, "", "03"}});
}

void writeGuests(Database& db, const Clock& clock) {
    const QDateTime now = clock.now();
    insertRows(db, "membType",
               {"memb_type_code", "memb_Type_name", "memb_type_pric", "memb_type_allo_time", "memb_type_time",
                "memb_type_disc_perc", "memb_type_fact", "memb_type_now"},
               {{"01", "储值金卡", 50.0, 1, 365, 88, 0.0, now}, {"02", "积分卡", 0.0, 0, 0, 100, 0.0, now}});
    // Balances and points agree with the top-ups on record.
    insertRows(db, "MemberList",
               {"memb_card_code", "memb_type_code", "memb_pass", "memb_name", "memb_ID", "memb_work",
                "memb_add", "memb_tele", "memb_card_type", "memb_time_allo", "memb_time_end",
                "memb_disc_perc", "memb_surp", "memb_use", "memb_stor", "memb_stor_temp", "memb_rema"},
               {{"880001", "01", "123456", "林晓雯", "330106198505051234", "西湖科技公司", "杭州市文三路90号",
                 "13905710001", "储值卡", 1, clock.today().addYears(1), 88, 2000.0, 0.0, 0.0, 0.0, ""},
                {"990001", "02", "654321", "周建国", "330102197803154321", "之江建设集团", "杭州市之江路18号",
                 "13605710002", "积分卡", 0, clock.today(), 100, 0.0, 0.0, 300.0, 0.0, ""}});
    insertRows(db, "membManage",
               {"memb_card_code", "memb_card_type", "memb_mana_save", "memb_mana_inte", "memb_mana_rema",
                "memb_mana_time", "oper_code", "oper_name"},
               {{"880001", "储值卡", 2000.0, 0.0, "开卡充值", now, presets::kAdminOperator, "管理员"},
                {"990001", "积分卡", 0.0, 300.0, "开卡赠送积分", now, presets::kAdminOperator, "管理员"}});
    insertRows(db, "HangGues",
               {"hang_gues_code", "hang_gues_name", "hang_gues_work", "hang_gues_add", "hang_gues_tele",
                "hang_gues_rema", "hang_gues_limi", "hang_gues_use", "hang_gues_pass"},
               {{"001", "华联贸易", "华联贸易有限公司", "杭州市延安路88号", "0571-87001234", " ", 5000.0, 0.0,
                 "1111"},
                {"002", "市建设局办公室", "市建设局", "杭州市解放路2号", "0571-85005678", " ", 20000.0, 0.0,
                 "2222"}});
    insertRows(db, "OtherIncomeList",
               {"othe_inco_code", "othe_inco_name", "othe_inco_mone", "othe_inco_rema"},
               {{"01", "停车费", 0.0, " "}, {"02", "场地租金", 0.0, " "}, {"03", "打包盒费", 0.0, " "}});
}

void writePartners(Database& db) {
    insertRows(db, "StoreWorkType", {"stor_work_type_code", "stor_work_type_name", "stor_work_type_rema"},
               {{"01", "供应商", " "}, {"02", "客户", " "}});
    insertRows(
        db, "WorkList",
        {"work_code", "work_name", "work_name_s", "work_man", "work_tele", "work_add", "stor_work_type_code"},
        {{"001", "杭州鲜达食品有限公司", "鲜达食品", "刘经理", "0571-86001111",
          "杭州市余杭区农副产品物流中心", "01"},
         {"002", "东海水产批发部", "东海水产", "郑老板", "0571-86002222", "杭州市水产批发市场8号", "01"},
         {"003", "青岛啤酒杭州经销处", "青啤经销", "孙先生", "0571-86003333", "杭州市莫干山路100号", "01"},
         {"004", "明珠大酒店", "明珠酒店", "钱经理", "0571-86004444", "杭州市湖墅南路5号", "02"}});
}

} // namespace

void write(Database& db, const Clock& clock) {
    db.exec(
        QStringLiteral("UPDATE SetupPay SET user_name = ?, user_name_s = ?, user_name_e = ?, user_tele = ?"),
        {"悦来酒家", "悦来", "YUELAI RESTAURANT", "0571-88886666"});
    writeModes(db);
    writeRooms(db);
    writeMenu(db);
    writeStaff(db);
    writeGuests(db, clock);
    writePartners(db);
}

} // namespace sorrel::demo
