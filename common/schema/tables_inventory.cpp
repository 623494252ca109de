// The stock side: partner types and partners, open and posted stock bills with their lines,
// payments exchanged with partners, and the stock adjustment being prepared.
#include "common/schema/table_groups.h"

namespace sorrel::schema {

namespace {

// A stock bill; the posted copy AllStoreBill keeps the identity the open bill had.
QList<Column> storeBillColumns(bool posted) {
    return {
        posted ? integer("stor_bill_ID") : autonumber("stor_bill_ID"),
        text("stor_bill_code", 12),
        text("stor_bill_type", 6, QStringLiteral("进货单")),
        integer("stor_deta_flag", 1),
        text("stor_work_type_code", 2),
        text("work_code", 3),
        text("work_name_s", 10),
        text("oper_code", 2),
        money("stor_pay_shou"),
        money("stor_pay_fact"),
        money("stor_inco_shou"),
        money("stor_inco_fact"),
        text("stor_bill_rema"),
        yesNo("stor_bill_run"),
        dateTime("stor_bill_date"),
        dateTime("stor_bill_date_work"),
    };
}

// A stock bill line; posting copies the lines without their key, so the posted copy numbers
// its lines itself.
QList<Column> storeDetailColumns() {
    return {
        autonumber("stor_deta_ID"),
        integer("stor_bill_ID"),
        text("stor_bill_code", 12),
        text("clas_code", 3),
        text("item_code", 6),
        text("item_name"),
        text("item_unit", 4),
        decimal("item_cost_pric", 16),
        decimal("item_coun", 16),
        decimal("item_mone", 16),
        integer("stor_deta_flag", 1),
        dateTime("stor_bill_date"),
        dateTime("stor_bill_date_work"),
        text("item_rema", 10),
    };
}

} // namespace

QList<Table> inventoryTables() {
    return {
        {QStringLiteral("StoreWorkType"),
         {text("stor_work_type_code", 2), text("stor_work_type_name"), text("stor_work_type_rema")},
         {uniqueKey({"stor_work_type_code"})}},
        {QStringLiteral("WorkList"),
         {text("work_code", 3), text("work_name"), text("work_name_s", 10), text("work_man"),
          text("work_tele"), text("work_tax"), text("work_bank"), text("work_add"), text("work_rema"),
          text("stor_work_type_code", 2), money("work_inco_shou"), money("work_pay_shou")},
         {uniqueKey({"work_code"})}},
        {QStringLiteral("StoreBill"), storeBillColumns(false), {index({"stor_bill_code"})}},
        {QStringLiteral("StoreDetail"), storeDetailColumns(), {index({"stor_bill_ID"})}},
        {QStringLiteral("AllStoreBill"),
         storeBillColumns(true),
         {uniqueKey({"stor_bill_ID"}), index({"stor_bill_date_work"}), index({"work_code"})}},
        {QStringLiteral("AllStoreDetail"),
         storeDetailColumns(),
         {index({"stor_bill_ID"}), index({"stor_bill_date_work"}), index({"item_code"})}},
        {QStringLiteral("WorkDetail"),
         {autonumber("work_ID"), text("work_code", 3), decimal("work_inco", 16), decimal("work_pay", 16),
          dateTime("work_run_time"), text("work_rema", 30), yesNo("work_flag", true)},
         {index({"work_code"})}},
        {QStringLiteral("ItemListTemp"),
         {text("clas_code", 3), text("item_code", 6), text("item_name"), text("item_unit", 4),
          money("item_unit_pric"), money("item_cost_pric"), money("item_dedu_pric"), money("item_coun"),
          yesNo("item_real"), text("item_limi", 4), text("item_shor", 10), text("item_type_code", 1)},
         {}},
    };
}

} // namespace sorrel::schema
