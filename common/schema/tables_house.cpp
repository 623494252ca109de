// The tables the programs keep for themselves, beside the venue's records: which version of the
// schema the database follows, which programs are working on it now, and the history's lines
// summed per business day for the reports.
#include "common/schema/table_groups.h"

namespace sorrel::schema {

QList<Table> houseTables() {
    return {
        {QStringLiteral("schemaversion"), {integer("schema_version")}, {}},
        // One row per running program, from its opening to its exit; work_beat rises every few
        // seconds while it lives, so a row whose beat stands still belongs to a program that died.
        {QStringLiteral("workstationlist"),
         {autonumber("work_id"), text("work_machine", 60), text("work_program", 20),
          text("work_operator", 20), integer("work_beat")},
         {}},
        // The ordered lines of AllCons (no set-meal components) summed per business day and item,
        // once over all lines (summ_by 'A') and once per department of the bill ('D', summ_code
        // its dept_code), shift ('S', orde_name), ordering operator ('O', oper_code) and
        // commission staff ('C', dedu_oper_code, summ_name its dedu_oper_name). Day end writes
        // the day it closes; the reports read a range of days of one of these sets.
        {QStringLiteral("AllConsDay"),
         {dateTime("summ_day"),    text("summ_by", 1),    text("summ_code", 12),   text("summ_name", 12),
          text("item_code", 50),   text("item_name", 20), text("item_unit", 4),    text("kind_code", 1),
          text("kind_name"),       text("clas_name", 20), text("manu_name", 12),   money("tabl_d_bill"),
          money("tabl_t_bill"),    money("tabl_z_bill"),  money("tabl_tz_bill"),   money("gift_tota"),
          money("tabl_cons_tota"), money("fact_tota"),    money("tabl_cost_tota"), money("tabl_dedu_tota"),
          decimal("coun_tota", 14)},
         {index({"summ_by", "summ_code", "summ_day"}), index({"summ_day"})}},
    };
}

} // namespace sorrel::schema
