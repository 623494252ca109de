// The tables the programs keep for themselves, beside the venue's records: which version of the
// schema the database follows, which programs are working on it now, and the history's lines,
// bills and payments summed per business day for the reports.
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
        // The history's bills summed per business day, in the same sets: all bills ('A'), per
        // department ('D', dept_code) and per shift ('S', orde_code); bill_coun the number of bills.
        {QStringLiteral("AllGuesDay"),
         {dateTime("summ_day"), text("summ_by", 1), text("summ_code", 12), text("summ_name", 12),
          integer("bill_coun"), integer("tabl_gues_coun"), money("tabl_gues_dish"), money("tabl_gues_spec"),
          money("tabl_gues_low"), money("tabl_gues_room"), money("tabl_gues_serv"), money("tabl_gues_disc"),
          money("tabl_gues_shou"), money("tabl_gues_tax"), money("tabl_gues_fact"), money("dedu_mone"),
          money("cost_mone")},
         {index({"summ_by", "summ_code", "summ_day"}), index({"summ_day"})}},
        // The history's payments summed per business day, payment method and its name, in the
        // bills' sets (the department and shift of the bill paid); pay_coun the payments above 0.
        {QStringLiteral("AllGuesPayDay"),
         {dateTime("summ_day"), text("summ_by", 1), text("summ_code", 12), text("summ_name", 12),
          text("pay_type_code", 2), text("pay_type_name", 12), integer("pay_coun"), money("pay_type_mone")},
         {index({"summ_by", "summ_code", "summ_day"}), index({"summ_day"})}},
    };
}

} // namespace sorrel::schema
