// Who may work the system and what each may do: operators, levels, the permission matrix,
// shifts, the action log, and the commission staff in their areas and groups.
#include "common/schema/table_groups.h"

// Texts the record descriptions give without a size are free text here: the screens keep
// them short, and the database never cuts what a user typed.

namespace sorrel::schema {

QList<Table> staffTables() {
    return {
        {QStringLiteral("operatorlist"),
         {text("oper_code", 2), text("oper_name"), text("oper_pass"), text("oper_rema"),
          text("mana_code", 2)},
         {uniqueKey({"oper_code"})}},
        {QStringLiteral("managertype"),
         {text("mana_code", 2), text("mana_name"), text("mana_rema", 1)},
         {uniqueKey({"mana_code"})}},
        {QStringLiteral("limitedtemp"),
         {text("limi_code", 2), text("limi_name", 50)},
         {uniqueKey({"limi_code"})}},
        {QStringLiteral("Limitedlist"),
         {autonumber("limi_ID"), text("mana_code", 2), text("limi_code", 2), text("limi_name", 50),
          yesNo("limi_real"), text("mana_rema", 1)},
         {uniqueKey({"mana_code", "limi_code"})}},
        {QStringLiteral("OrderList"),
         {text("orde_code", 1), text("orde_name", 10), text("orde_rema", 1)},
         {uniqueKey({"orde_code"})}},
        {QStringLiteral("systemlog"),
         {text("log_oper_name"), dateTime("log_time"), text("log_oper")},
         {index({"log_time"})}},
        {QStringLiteral("AreaList"),
         {text("area_code", 1), text("area_name"), text("area_rema", 1)},
         {uniqueKey({"area_code"})}},
        {QStringLiteral("Grouplist"),
         {text("grou_code", 2), text("grou_name"), text("grou_ream"), text("area_code", 1)},
         {uniqueKey({"grou_code"})}},
        {QStringLiteral("deduoperatorlist"),
         {text("dedu_oper_code", 3), text("dedu_oper_name", 12), money("dedu_oper_stan"),
          text("dedu_oper_rema"), text("grou_code", 2)},
         {uniqueKey({"dedu_oper_code"})}},
    };
}

} // namespace sorrel::schema
