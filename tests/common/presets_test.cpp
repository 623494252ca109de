// What a new venue's database must hold before anyone has configured anything: the
// administrator can log in and do everything, the bill counter starts at 1, the fixed name
// tables and payment types are there, and the bill layout prints every section.
#include "common/schema/presets.h"
#include "tests/support/test_database.h"

using namespace sorrel;

namespace {

class PresetsTest : public test::EngineTest {
  protected:
    QStringList column(const QString& sql) {
        const RecordSet rows = db().query(sql);
        QStringList values;
        for (int r = 0; r < rows.rowCount(); ++r)
            values << rows.value(r, 0).toString();
        return values;
    }
};

TEST_P(PresetsTest, NameTablesHoldEveryFixedCode) {
    const struct {
        const char* sql;
        QStringList codes;
    } cases[] = {
        {"SELECT tabl_stat_code FROM TableStateList ORDER BY 1", {"1", "2", "3", "4", "5", "6"}},
        {"SELECT item_type_code FROM ItemTypeList ORDER BY 1", {"1", "2", "3", "4"}},
        {"SELECT menu_type_code FROM OrderMenuType ORDER BY 1", {"1", "2", "3", "4"}},
        {"SELECT cons_type_code FROM ConsTypeList ORDER BY 1",
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "A"}},
        {"SELECT kind_code FROM kindlist", {"M"}},
        {"SELECT manu_code FROM ManuFacturelist", {"1"}},
        {"SELECT pay_type_code FROM PayTypeList ORDER BY pay_type_code DESC", {"Z", "R", "M", "H"}},
        {"SELECT orde_code FROM OrderList", {"1"}},
        {"SELECT count(*) FROM SetupPay", {"1"}},
        {"SELECT count(*) FROM setupprint", {"1"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(column(QString::fromUtf8(c.sql)), c.codes) << c.sql;
    EXPECT_EQ(column("SELECT pay_type_name FROM PayTypeList ORDER BY pay_type_code DESC"),
              QStringList({"现金", "免单", "会员卡", "挂帐"}));
}

TEST_P(PresetsTest, AdministratorMayUseEveryFunctionTheProgramsTest) {
    const RecordSet op =
        db().query("SELECT oper_name, oper_pass, mana_code FROM operatorlist WHERE oper_code = '01'");
    ASSERT_EQ(op.rowCount(), 1);
    EXPECT_EQ(op.text(0, "oper_name"), "管理员");
    EXPECT_EQ(op.text(0, "oper_pass"), "1234");
    EXPECT_EQ(op.text(0, "mana_code"), "01");

    const QStringList tested = {"DP", "BI", "DB", "PB", "CB", "AP", "GB", "PS", "BE", "CF", "SF",
                                "DA", "DS", "BS", "RS", "OS", "OM", "MM", "PM", "SM", "SS"};
    for (const QString& code : tested) {
        EXPECT_EQ(db().scalar("SELECT count(*) FROM limitedtemp WHERE limi_code = ?", {code}).toInt(), 1)
            << code.toStdString();
        EXPECT_EQ(db().scalar("SELECT count(*) FROM Limitedlist WHERE mana_code = '01' AND limi_code = ? AND "
                              "limi_real = 1 AND limi_name <> ''",
                              {code})
                      .toInt(),
                  1)
            << code.toStdString();
    }
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Limitedlist").toInt(),
              db().scalar("SELECT count(*) FROM limitedtemp").toInt());
}

TEST_P(PresetsTest, SettingsRowStartsTheCounterAtOneWithNoDayOpen) {
    const RecordSet s = db().query("SELECT * FROM SetupPay");
    EXPECT_EQ(s.integer(0, "auto_recn"), 1);
    EXPECT_FALSE(s.flag(0, "pay_star"));
    EXPECT_TRUE(s.flag(0, "work_auto"));
    EXPECT_EQ(s.text(0, "pay_set_sum_int"), "四舍五入");
    EXPECT_EQ(s.text(0, "pay_set_item_int"), "保留小数");
    EXPECT_EQ(s.text(0, "pay_set_tax_type"), "按比例");
    EXPECT_EQ(s.number(0, "pay_set_tax_perc"), 0.0);
    EXPECT_EQ(s.text(0, "orde_code"), "");
    EXPECT_EQ(s.dateTime(0, "time_work"), test::ScratchDatabase::createdAt().date().startOfDay());
}

TEST_P(PresetsTest, BillLayoutPrintsEveryCaptionWithItsColumn) {
    const RecordSet p = db().query("SELECT * FROM setupprint");
    const QList<std::tuple<QString, QString, QString>> cells = {
        {"11", "客人姓名", "tabl_gues_name"}, {"12", "客人人数", "tabl_gues_coun"},
        {"21", "房台名称", "tablname"},       {"22", "帐单编号", "tabl_gues_auto_recn"},
        {"31", "开台时间", "tabl_gues_time"}, {"32", "结帐时间", "tabl_gues_time_end"},
        {"41", "最低消费", "tabl_gues_low"},  {"42", "房 间 费", "tabl_gues_room"},
        {"51", "服 务 费", "tabl_gues_serv"}, {"52", "折扣金额", "tabl_gues_disc"},
        {"61", "服务费率", "cons_mode_serv"}, {"62", "折扣费率", "disc_perc"},
        {"71", "应收金额", "tabl_gues_shou"}, {"72", "实收金额", "tabl_gues_fact"},
    };
    for (const auto& [cell, caption, field] : cells) {
        EXPECT_EQ(p.text(0, "set_prn_" + cell + "_titl"), caption) << cell.toStdString();
        EXPECT_EQ(p.text(0, "set_prn_" + cell + "_fiel"), field) << cell.toStdString();
    }
    for (const QString& column : p.columns()) {
        if (column.endsWith("_allo")) {
            EXPECT_TRUE(p.flag(0, column)) << column.toStdString();
        }
    }
    EXPECT_EQ(p.text(0, "set_prn_92_fiel"), "8888");
}

SORREL_ON_EVERY_ENGINE(PresetsTest);

} // namespace
