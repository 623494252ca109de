// Every table and column the programs read and write, written out here by hand apart from the
// schema code and checked against both the schema and a real database:
// a misspelt column, a lost column, a wrong type or a text size that cuts a code short is
// caught here before any screen meets it.
#include "common/schema/schema.h"
#include "tests/support/test_database.h"

#include <QSet>

using namespace sorrel;
using schema::ColumnType;

namespace {

// "name:type" separated by blanks. Types: t (free text), tN (text of N), t? (text, size ours
// to choose), s (smallint), i (integer), a (autonumber), f (float), dN (decimal(N,2)), b (yes/no),
// dt (datetime), ? (type ours to choose).
struct Expected {
    const char* table;
    const char* columns;
};

const Expected kGuestRecord = {
    "TableGuestlist",
    "tabl_gues_auto_recn:i tabl_gues_user_recn:t11 tabl_code:t3 tabl_type_code:t2 dept_code:t2 "
    "tabl_gues_coun:s "
    "tabl_gues_name:t20 tabl_gues_rema:t20 tabl_gues_time:dt tabl_gues_time_end:dt tabl_gues_time_work:dt "
    "cons_mode_code:t2 cons_type_code:t1 cons_mode_serv:s tabl_gues_dish:f tabl_gues_spec:f tabl_gues_low:f "
    "tabl_gues_room:f tabl_gues_unit:f tabl_gues_serv_main:f tabl_gues_serv_spec:f tabl_gues_serv:f "
    "tabl_gues_disc:f disc_code:t2 disc_perc:i tabl_gues_tax:f tabl_gues_tax_real:b tabl_gues_shou:f "
    "tabl_gues_fact:f tabl_gues_pay_narr:t40 hang_code:t3 hang_name:t12 hang_mone:f memb_card_code:t12 "
    "memb_name:t16 memb_mone:f none_mone:f cost_mone:f dedu_oper_code:t3 dedu_type:t4 dedu_mone:f "
    "grou_code:t2 "
    "area_code:t1 book_flag:b book_oper_code:t2 book_oper_name:t8 orde_code:t1 orde_name:t10 oper_code:t2 "
    "oper_name:t8 dept_name:t12 tabl_gues_stat:t1 tabl_gues_use:b tabl_name:t? tabl_type_name:t? "
    "cons_mode_name:t? cons_type_name:t? dedu_oper_name:t?"};

const char* const kOrderLine =
    "tabl_cons_ID:a tabl_gues_auto_recn:i tabl_code:t3 tabl_code_old:t3 kind_code:t1 clas_code:t3 "
    "item_code:t50 "
    "item_type_code:t1 menu_type_code:t1 item_type_flag:i item_coun_flag:i tabl_cons_coun:d10 "
    "item_unit_pric:f "
    "tabl_cons_tota:f item_cost_pric:f tabl_cost_tota:f item_dedu_pric:f tabl_dedu_tota:f dedu_oper_code:t3 "
    "dedu_oper_name:t12 oper_code:t2 oper_name:t12 cons_narr_code:t2 cons_grou_narr:t20 grou_code:t6 "
    "disc_clas_perc:i serv_perc:i tabl_cons_time:dt tabl_cons_time_work:dt tabl_gues_end:b tabl_cons_tran:b "
    "tabl_cons_flag:b manu_yorn:b tabl_name:t? clas_name:t? item_name:t? item_unit:t? kind_name:t? "
    "manu_name:t? "
    "menu_type_name:t? cons_narr_name:t? dept_name:t? orde_name:t? tabl_disc_tota:f tabl_serv_tota:f "
    "tabl_d_bill:f tabl_t_bill:f tabl_z_bill:f tabl_tz_bill:f";

const char* const kPayment =
    "tabl_gues_auto_recn:i pay_type_code:t2 pay_type_name:t12 pay_type_mone:f pay_time:dt "
    "dept_name:t? orde_name:t? oper_name:t? pay_flag:b";

const char* const kHandover =
    "pay_type_code:t2 pay_type_name:t12 pay_type_coun:i pay_type_mone:f pay_star_mone:f "
    "pay_fact_mone:f";

const char* const kStoreBill =
    "stor_bill_code:t12 stor_bill_type:t6 stor_deta_flag:i stor_work_type_code:t2 work_code:t3 "
    "work_name_s:t10 "
    "oper_code:t2 stor_pay_shou:f stor_pay_fact:f stor_inco_shou:f stor_inco_fact:f stor_bill_rema:t "
    "stor_bill_run:b stor_bill_date:dt stor_bill_date_work:dt";

const char* const kStoreLine =
    "stor_deta_ID:a stor_bill_ID:i stor_bill_code:t12 clas_code:t3 item_code:t6 item_name:t "
    "item_unit:t4 item_cost_pric:d16 item_coun:d16 item_mone:d16 stor_deta_flag:i "
    "stor_bill_date:dt stor_bill_date_work:dt item_rema:t10";

QList<Expected> expectedTables() {
    static const QByteArray setupPrint = [] {
        QByteArray columns;
        for (const char* cell :
             {"11", "12", "21", "22", "31", "32", "41", "42", "51", "52", "61", "62", "71", "72"})
            columns += QByteArray("set_prn_") + cell + "_titl:t? set_prn_" + cell + "_fiel:t? ";
        for (const char* row : {"1", "2", "3", "4", "5", "6", "7", "deta", "kind", "unit", "disc", "pay",
                                "zero", "memb", "mpay", "hang", "hpay"})
            columns += QByteArray("set_prn_") + row + "_allo:b ";
        return columns + "set_prn_d1_text:t? set_prn_d2_text:t? set_prn_d1_allo:b set_prn_d2_allo:b "
                         "set_prn_92_fiel:t?";
    }();
    static const QByteArray guestHistory =
        QByteArray(kGuestRecord.columns) +
        " grou_name:t? area_name:t? tota_y:? tota_z:? tota_l:? tota_stan:?";
    static const QByteArray lineHistory = QByteArray(kOrderLine).replace("tabl_cons_ID:a", "tabl_cons_ID:?");
    static const QByteArray payTotal =
        QByteArray(kHandover) + " pay_date_work:dt pay_rema:t? pay_date:dt oper_code:t? oper_name:t?";
    static const QByteArray openBill = QByteArray("stor_bill_ID:a ") + kStoreBill;
    static const QByteArray postedBill = QByteArray("stor_bill_ID:? ") + kStoreBill;
    return {
        // The settings records.
        {"SetupPay",
         "pay_set_code:t1 pay_set_stor_limi:i pay_set_sum_int:t8 pay_set_item_int:t8 pay_set_affi:b "
         "pay_set_auto_manu:b pay_set_tax_type:t6 pay_set_tax_mone:d10 pay_set_tax_perc:d10 oper_code:t2 "
         "dept_code:t2 orde_code:t1 mana_code:t2 time_work:dt time_star:dt time_end:dt pay_star:b "
         "work_auto:b "
         "work_back:b calc_cost:b user_name:t30 user_name_s:t10 user_name_e:t20 user_tele:t20 user_temp:i "
         "auto_recn:i"},
        {"setupprint", setupPrint.constData()},
        // Staff, shifts and security.
        {"operatorlist", "oper_code:t2 oper_name:t? oper_pass:t? oper_rema:t? mana_code:t2"},
        {"managertype", "mana_code:t2 mana_name:t? mana_rema:t1"},
        {"limitedtemp", "limi_code:t2 limi_name:t50"},
        {"Limitedlist", "limi_ID:a mana_code:t2 limi_code:t2 limi_name:t50 limi_real:b mana_rema:t1"},
        {"OrderList", "orde_code:t1 orde_name:t10 orde_rema:t1"},
        {"systemlog", "log_oper_name:t? log_time:dt log_oper:t?"},
        {"AreaList", "area_code:t1 area_name:t? area_rema:t1"},
        {"Grouplist", "grou_code:t2 grou_name:t? grou_ream:t? area_code:t1"},
        {"deduoperatorlist",
         "dedu_oper_code:t3 dedu_oper_name:t12 dedu_oper_stan:? dedu_oper_rema:t? grou_code:t2"},
        // The venue and its menu.
        {"DepartmentList", "dept_code:t2 dept_name:t12 dept_rema:t1"},
        {"TableTypeList",
         "tabl_type_code:t2 tabl_type_name:t12 tabl_type_narr:t12 tabl_type_rema:t1 cons_mode_code:t2"},
        {"TableList",
         "tabl_code:t3 tabl_name:t16 tabl_narr:t12 tabl_type_code:t2 dept_code:t2 tabl_stat_code:t1 "
         "tabl_rema:t1 tabl_gues_auto_recn:i tabl_gues_name:t20 tabl_gues_coun:i tabl_gues_time:dt "
         "tabl_gues_shou:d16"},
        {"TableStateList", "tabl_stat_code:t1 tabl_stat_name:t6"},
        {"kindlist", "kind_code:t1 kind_name:t? kind_rema:t1"},
        {"classlist",
         "kind_code:t1 clas_code:t3 clas_name:t20 clas_allo_disc:b clas_allo_serv:b clas_allo_spec:b "
         "clas_cost_perc:s manu_code:t1"},
        {"itemlist",
         "clas_code:t3 item_code:t6 item_name:t20 item_unit:t4 item_shor:t10 item_real:b item_type_code:t1 "
         "item_unit_pric:f item_cost_pric:f item_dedu_pric:f item_coun:f item_limi:t4"},
        {"ItemTypeList", "item_type_code:t1 item_type_name:t6"},
        {"ItemGroup", "grou_ID:a grou_code:t6 item_code:t6 grou_coun:d18 grou_mix_code:t6 grou_mix_coun:d18"},
        {"ManuFacturelist", "manu_code:t1 manu_name:t12 manu_rema:t1"},
        {"OrderMenuType", "menu_type_code:t1 menu_type_name:t4"},
        {"ConsModeList",
         "cons_mode_code:t2 cons_mode_name:t24 cons_type_code:t1 cons_mode_mone:f cons_mode_serv:s "
         "cons_mode_achi:i cons_mode_pred_stan:s cons_mode_pred_abov:s cons_mode_spec_stan:s "
         "cons_mode_spec_abov:s cons_mode_lead_stan:s cons_mode_lead_abov:s cons_mode_rema:t1"},
        {"ConsTypeList", "cons_type_code:t1 cons_type_name:t8"},
        {"ConsTimeMode",
         "cons_time_code:a cons_mode_code:t2 cons_time_star:dt cons_time_end:dt cons_time_mone:f"},
        {"ConsTimeModeTemp", "cons_time_star:dt cons_time_end:dt"},
        {"PayTypeList",
         "pay_type_code:t2 pay_type_name:t12 pay_type_mone:f pay_star_mone:f pay_type_rema:t1"},
        {"discountlist", "disc_code:t2 disc_name:t20 disc_narr:t20 disc_rema:t1"},
        {"DiscItem", "disc_ID:a disc_code:t2 clas_code:t50 disc_clas_perc:s"},
        {"ConsNarrList", "cons_narr_code:t2 cons_narr_name:t? cons_narr_rema:t1"},
        {"OtherIncomeList", "othe_inco_code:t? othe_inco_name:t? othe_inco_mone:f othe_inco_rema:t1"},
        {"UnitList", "unit_name:t4 unit_rema:t1"},
        // Guests, orders, payments, members, credit guests and their history.
        kGuestRecord,
        {"TableConsList", kOrderLine},
        {"TableConsListTemp", kOrderLine},
        {"tableguespay", kPayment},
        {"bookin",
         "book_code:a tabl_code:t3 book_name:t20 book_coun:i book_time:dt book_tele:t18 book_rema:t20 "
         "oper_code:t2"},
        {"MemberList",
         "memb_card_code:t12 memb_type_code:t2 memb_pass:t16 memb_name:t16 memb_ID:t18 memb_work:t? "
         "memb_add:t? memb_tele:t? memb_card_type:t6 memb_time_allo:b memb_time_end:dt "
         "memb_disc_perc:i memb_surp:f memb_use:f memb_stor:f memb_stor_temp:f memb_rema:t?"},
        {"membType",
         "memb_type_code:t2 memb_Type_name:t12 memb_type_pric:f memb_type_allo_time:b memb_type_time:i "
         "memb_type_disc_perc:i memb_type_fact:f memb_type_now:dt"},
        {"membManage",
         "memb_card_code:t? memb_card_type:t? memb_mana_save:f memb_mana_inte:f memb_mana_rema:t?"},
        {"HangGues",
         "hang_gues_code:t? hang_gues_name:t? hang_gues_work:t? hang_gues_add:t? hang_gues_tele:t? "
         "hang_gues_rema:t? hang_gues_limi:f hang_gues_use:f hang_gues_pass:t?"},
        {"Hangguesin",
         "hang_gues_code:t? hang_gues_name:t? hang_gues_inco:f hang_gues_inco_date:dt oper_code:t? "
         "oper_name:t? time_fact:?"},
        {"AllGues", guestHistory.constData()},
        {"AllCons", lineHistory.constData()},
        {"AllGuesPay", kPayment},
        {"AllOtherInCome", "othe_inco_code:t? othe_inco_name:t? othe_inco_mone:f othe_inco_time:dt"},
        {"Paytotaltemp", kHandover},
        {"Allpaytotal", payTotal.constData()},
        // Stock.
        {"StoreWorkType", "stor_work_type_code:t2 stor_work_type_name:t stor_work_type_rema:t"},
        {"WorkList",
         "work_code:t3 work_name:t work_name_s:t10 work_man:t work_tele:t work_tax:t work_bank:t work_add:t "
         "work_rema:t stor_work_type_code:t2 work_inco_shou:f work_pay_shou:f"},
        {"StoreBill", openBill.constData()},
        {"AllStoreBill", postedBill.constData()},
        {"StoreDetail", kStoreLine},
        {"AllStoreDetail", kStoreLine},
        {"WorkDetail",
         "work_ID:a work_code:t3 work_inco:d16 work_pay:d16 work_run_time:dt work_rema:t30 work_flag:b"},
        {"ItemListTemp",
         "clas_code:t3 item_code:t6 item_name:t item_unit:t4 item_unit_pric:f item_cost_pric:f "
         "item_dedu_pric:f item_coun:f item_real:b item_limi:t4 item_shor:t10 item_type_code:t1"},
        // Ours: the schema version, the programs at work on the database, and the history's lines
        // summed per business day…
        {"schemaversion", "schema_version:i"},
        {"workstationlist", "work_id:a work_machine:t60 work_program:t20 work_operator:t20 work_beat:i"},
        {"AllConsDay",
         "summ_day:dt summ_by:t1 summ_code:t12 summ_name:t12 item_code:t50 item_name:t20 item_unit:t4 "
         "kind_code:t1 kind_name:t clas_name:t20 manu_name:t12 tabl_d_bill:f tabl_t_bill:f tabl_z_bill:f "
         "tabl_tz_bill:f gift_tota:f tabl_cons_tota:f fact_tota:f tabl_cost_tota:f tabl_dedu_tota:f "
         "coun_tota:d14"},
        // … and its bills and payments.
        {"AllGuesDay",
         "summ_day:dt summ_by:t1 summ_code:t12 summ_name:t12 bill_coun:i tabl_gues_coun:i tabl_gues_dish:f "
         "tabl_gues_spec:f tabl_gues_low:f tabl_gues_room:f tabl_gues_serv:f tabl_gues_disc:f "
         "tabl_gues_shou:f tabl_gues_tax:f tabl_gues_fact:f dedu_mone:f cost_mone:f"},
        {"AllGuesPayDay",
         "summ_day:dt summ_by:t1 summ_code:t12 summ_name:t12 pay_type_code:t2 pay_type_name:t12 pay_coun:i "
         "pay_type_mone:f"},
    };
}

// Why a listed column does not match the schema's; empty when it does.
QString mismatch(const schema::Column& c, const QString& type) {
    const auto is = [&](ColumnType t, int size = -1) { return c.type == t && (size < 0 || c.size == size); };
    bool ok = false;
    if (type == "?")
        ok = true;
    else if (type == "t?")
        ok = is(ColumnType::Text);
    else if (type.startsWith("dt"))
        ok = is(ColumnType::DateTime);
    else if (type.startsWith('t'))
        ok = is(ColumnType::Text, type.size() == 1 ? 0 : type.mid(1).toInt());
    else if (type.startsWith('d'))
        ok = is(ColumnType::Decimal, type.mid(1).toInt());
    else if (type == "s")
        ok = is(ColumnType::SmallInt);
    else if (type == "i")
        ok = is(ColumnType::Integer);
    else if (type == "a")
        ok = is(ColumnType::AutoNumber);
    else if (type == "f")
        ok = is(ColumnType::Float);
    else if (type == "b")
        ok = is(ColumnType::YesNo);
    return ok ? QString() : QStringLiteral("%1 should be %2").arg(c.name, type);
}

TEST(Schema, HoldsEveryTableAndColumnWithItsType) {
    QStringList listed;
    for (const Expected& e : expectedTables()) {
        listed << QString::fromUtf8(e.table).toLower();
        const schema::Table* table = schema::findTable(QString::fromUtf8(e.table));
        ASSERT_NE(table, nullptr) << e.table;
        EXPECT_EQ(table->name, QString::fromUtf8(e.table)) << "spelling of " << e.table;
        QStringList names;
        for (const QString& entry : QString::fromUtf8(e.columns).split(' ', Qt::SkipEmptyParts)) {
            const QString name = entry.section(':', 0, 0);
            names << name;
            const schema::Column* column = table->column(name);
            if (!column) {
                ADD_FAILURE() << e.table << " lacks " << name.toStdString();
                continue;
            }
            EXPECT_EQ(column->name, name) << e.table << ": spelling";
            EXPECT_EQ(mismatch(*column, entry.section(':', 1)), QString()) << e.table;
        }
        // No column beyond these, except the top-up details we added to membManage.
        if (QString::fromUtf8(e.table) != "membManage") {
            EXPECT_EQ(table->columnNames(), names) << e.table << ": columns and their order";
        }
    }
    for (const schema::Table& t : schema::tables())
        EXPECT_TRUE(listed.contains(t.name.toLower()))
            << "table missing from the list " << t.name.toStdString();
}

class SchemaOnEngine : public test::EngineTest {};

TEST_P(SchemaOnEngine, DatabaseHasEveryColumnAndBothViews) {
    for (const Expected& e : expectedTables()) {
        QStringList names;
        for (const QString& entry : QString::fromUtf8(e.columns).split(' ', Qt::SkipEmptyParts))
            names << entry.section(':', 0, 0).toLower();
        const QStringList actual = db().columnsOf(QString::fromUtf8(e.table));
        for (const QString& name : names)
            EXPECT_TRUE(actual.contains(name)) << e.table << "." << name.toStdString();
    }
    EXPECT_EQ(db().columnsOf("viewReTotal"), QStringList({"grou_code", "retotal"}));
    EXPECT_EQ(db().columnsOf("ViewTotalDeptEnd"),
              QStringList({"部门名称", "已清数", "已清金额", "已结数", "已结金额", "待结数", "待结金额",
                           "合计数", "合计金额"}));
}

TEST_P(SchemaOnEngine, CopiesOfWholeRowsLineUpColumnForColumn) {
    // A bill is archived with all its columns, and so are its lines, payments, staged lines and
    // posted stock bills: each history table starts with exactly the columns of its source.
    const QList<QPair<QString, QString>> pairs = {
        {"TableGuestlist", "AllGues"},   {"TableConsList", "TableConsListTemp"},
        {"TableConsList", "AllCons"},    {"tableguespay", "AllGuesPay"},
        {"StoreBill", "AllStoreBill"},   {"StoreDetail", "AllStoreDetail"},
        {"Paytotaltemp", "Allpaytotal"},
    };
    for (const auto& [from, to] : pairs) {
        const QStringList source = db().columnsOf(from);
        ASSERT_FALSE(source.isEmpty()) << from.toStdString();
        EXPECT_EQ(db().columnsOf(to).mid(0, source.size()), source)
            << from.toStdString() << " -> " << to.toStdString();
    }
}

TEST_P(SchemaOnEngine, DescribedDefaultsOfNewRows) {
    // A new guest record has no discount scheme; the history's commission totals start at 0
    // because the reports add them up; a new class sends to output point 1.
    db().exec("INSERT INTO TableGuestlist (tabl_gues_auto_recn) VALUES (1)");
    EXPECT_EQ(db().scalar("SELECT disc_code FROM TableGuestlist").toString(), "N");
    EXPECT_EQ(db().scalar("SELECT disc_perc FROM TableGuestlist").toInt(), 0);
    db().exec("INSERT INTO AllGues (tabl_gues_auto_recn) VALUES (1)");
    EXPECT_EQ(db().scalar("SELECT tota_y + tota_z + tota_l FROM AllGues").toDouble(), 0.0);
    db().exec("INSERT INTO classlist (clas_code) VALUES ('A01')");
    const RecordSet c = db().query("SELECT * FROM classlist");
    EXPECT_EQ(c.text(0, "manu_code"), "1");
    EXPECT_FALSE(c.flag(0, "clas_allo_disc") || c.flag(0, "clas_allo_serv") || c.flag(0, "clas_allo_spec"));
    db().exec("INSERT INTO itemlist (item_code) VALUES ('1001')");
    EXPECT_EQ(db().scalar("SELECT item_limi FROM itemlist").toString(), "不限");
    db().exec("INSERT INTO TableList (tabl_code) VALUES ('A01')");
    EXPECT_EQ(db().scalar("SELECT tabl_stat_code FROM TableList").toString(), "1");
    db().exec("INSERT INTO Limitedlist (mana_code, limi_code) VALUES ('09', 'DP')");
    EXPECT_FALSE(db().scalar("SELECT limi_real FROM Limitedlist WHERE mana_code = '09'").toBool());
    db().exec("INSERT INTO DiscItem (disc_code, clas_code) VALUES ('01', 'A01')");
    EXPECT_EQ(db().scalar("SELECT disc_clas_perc FROM DiscItem").toInt(), 90);
    db().exec("INSERT INTO StoreBill (stor_bill_code) VALUES ('P001')");
    const RecordSet b = db().query("SELECT * FROM StoreBill");
    EXPECT_EQ(b.text(0, "stor_bill_type"), "进货单");
    EXPECT_EQ(b.integer(0, "stor_deta_flag"), 1);
}

TEST_P(SchemaOnEngine, PostedStockLinesGetTheirOwnNumber) {
    // Posting copies the lines without their key; the history numbers them itself.
    db().exec(
        "INSERT INTO StoreDetail (stor_bill_ID, item_code, item_coun) VALUES (1, '1001', 2), (1, '1002', 3)");
    db().exec("INSERT INTO AllStoreDetail (stor_bill_ID, item_code, item_coun) "
              "SELECT stor_bill_ID, item_code, item_coun FROM StoreDetail WHERE stor_bill_ID = ?",
              {1});
    EXPECT_EQ(
        db().scalar("SELECT count(DISTINCT stor_deta_ID) FROM AllStoreDetail WHERE stor_deta_ID IS NOT NULL")
            .toInt(),
        2);
}

SORREL_ON_EVERY_ENGINE(SchemaOnEngine);

// A year of history holds about 110,000 bills, 1.1 million lines and 440,000 payments: each read
// of it by a key that a cashier's step makes (the handover's outstanding payments, a bill's rows
// when it is cleared or reversed, a table's bills of a day) goes through an index, never through
// the whole table. The file's planner answers without statistics, so the plan shows the indexes.
TEST(HistoryReads, EveryKeyedReadGoesThroughAnIndex) {
    test::ScratchDatabase scratch(Engine::Embedded, test::ScratchDatabase::Contents::Schema);
    for (const char* read : {"SELECT count(*) FROM AllGuesPay WHERE pay_flag = 0",
                             "UPDATE AllGuesPay SET pay_flag = 1 WHERE pay_flag = 0",
                             "DELETE FROM AllGuesPay WHERE tabl_gues_auto_recn = 7",
                             "DELETE FROM AllCons WHERE tabl_gues_auto_recn = 7",
                             "DELETE FROM AllGues WHERE tabl_gues_auto_recn = 7",
                             "SELECT * FROM AllGues WHERE tabl_code = 'A01' AND tabl_gues_time_work >= '2025-05-01'"}) {
        const RecordSet plan = scratch.db().query(QStringLiteral("EXPLAIN QUERY PLAN ") + QString::fromLatin1(read));
        ASSERT_FALSE(plan.isEmpty()) << read;
        for (int row = 0; row < plan.rowCount(); ++row)
            EXPECT_TRUE(plan.text(row, "detail").contains(QStringLiteral(" INDEX ")))
                << read << ": " << plan.text(row, "detail").toStdString();
    }
}

// The server keeps 63 characters of a name and would take two long index names cut alike for one.
TEST(Schema, IndexNamesFitTheServerAndStayDistinct) {
    QSet<QString> names;
    for (const schema::Table& t : schema::tables())
        for (const schema::Index& ix : t.indexes) {
            const QString name = schema::indexName(t, ix);
            EXPECT_LE(name.size(), 63) << name.toStdString();
            EXPECT_FALSE(names.contains(name)) << name.toStdString();
            names.insert(name);
        }
}

} // namespace
