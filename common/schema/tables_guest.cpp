// The business itself: guest records (bills), order lines and the staging list, payments,
// bookings, members, credit guests, and the history tables the reports read.
#include "common/schema/table_groups.h"

namespace sorrel::schema {

namespace {

// The guest record; its history copy AllGues has the same columns and a few more.
QList<Column> guestColumns() {
    return {
        integer("tabl_gues_auto_recn"),
        text("tabl_gues_user_recn", 11),
        text("tabl_code", 3),
        text("tabl_type_code", 2),
        text("dept_code", 2),
        smallint("tabl_gues_coun"),
        text("tabl_gues_name", 20),
        text("tabl_gues_rema", 20),
        dateTime("tabl_gues_time"),
        dateTime("tabl_gues_time_end"),
        dateTime("tabl_gues_time_work"),
        text("cons_mode_code", 2),
        text("cons_type_code", 1),
        smallint("cons_mode_serv"),
        money("tabl_gues_dish"),
        money("tabl_gues_spec"),
        money("tabl_gues_low"),
        money("tabl_gues_room"),
        money("tabl_gues_unit"),
        money("tabl_gues_serv_main"),
        money("tabl_gues_serv_spec"),
        money("tabl_gues_serv"),
        money("tabl_gues_disc"),
        text("disc_code", 2, QStringLiteral("N")),
        integer("disc_perc"),
        money("tabl_gues_tax"),
        yesNo("tabl_gues_tax_real"),
        money("tabl_gues_shou"),
        money("tabl_gues_fact"),
        text("tabl_gues_pay_narr", 40),
        text("hang_code", 3),
        text("hang_name", 12),
        money("hang_mone"),
        text("memb_card_code", 12),
        text("memb_name", 16),
        money("memb_mone"),
        money("none_mone"),
        money("cost_mone"),
        text("dedu_oper_code", 3),
        text("dedu_type", 4),
        money("dedu_mone"),
        text("grou_code", 2),
        text("area_code", 1),
        yesNo("book_flag"),
        text("book_oper_code", 2),
        text("book_oper_name", 8),
        text("orde_code", 1),
        text("orde_name", 10),
        text("oper_code", 2),
        text("oper_name", 8),
        text("dept_name", 12),
        text("tabl_gues_stat", 1, QStringLiteral("2")),
        yesNo("tabl_gues_use"),
        text("tabl_name", 16),
        text("tabl_type_name", 12),
        text("cons_mode_name", 24),
        text("cons_type_name", 8),
        text("dedu_oper_name", 12),
    };
}

// An order line: committed (TableConsList), staged (TableConsListTemp) and history (AllCons).
QList<Column> orderLineColumns() {
    return {
        autonumber("tabl_cons_ID"),
        integer("tabl_gues_auto_recn"),
        text("tabl_code", 3),
        text("tabl_code_old", 3),
        text("kind_code", 1),
        text("clas_code", 3),
        text("item_code", 50),
        text("item_type_code", 1),
        text("menu_type_code", 1, QStringLiteral("1")),
        integer("item_type_flag", 1),
        integer("item_coun_flag", 1),
        decimal("tabl_cons_coun", 10),
        money("item_unit_pric"),
        money("tabl_cons_tota"),
        money("item_cost_pric"),
        money("tabl_cost_tota"),
        money("item_dedu_pric"),
        money("tabl_dedu_tota"),
        text("dedu_oper_code", 3),
        text("dedu_oper_name", 12),
        text("oper_code", 2),
        text("oper_name", 12),
        text("cons_narr_code", 2),
        text("cons_grou_narr", 20),
        text("grou_code", 6),
        integer("disc_clas_perc", 100),
        integer("serv_perc"),
        dateTime("tabl_cons_time"),
        dateTime("tabl_cons_time_work"),
        yesNo("tabl_gues_end"),
        yesNo("tabl_cons_tran"),
        yesNo("tabl_cons_flag"),
        yesNo("manu_yorn"),
        text("tabl_name", 16),
        text("clas_name", 20),
        text("item_name", 20),
        text("item_unit", 4),
        text("kind_name"),
        text("manu_name", 12),
        text("menu_type_name", 4),
        text("cons_narr_name"),
        text("dept_name", 12),
        text("orde_name", 10),
        money("tabl_disc_tota"),
        money("tabl_serv_tota"),
        money("tabl_d_bill"),
        money("tabl_t_bill"),
        money("tabl_z_bill"),
        money("tabl_tz_bill"),
    };
}

QList<Column> paymentColumns() {
    return {
        integer("tabl_gues_auto_recn"), text("pay_type_code", 2), text("pay_type_name", 12),
        money("pay_type_mone"),         dateTime("pay_time"),     text("dept_name", 12),
        text("orde_name", 10),          text("oper_name"),        yesNo("pay_flag"),
    };
}

QList<Column> handoverColumns() {
    return {
        text("pay_type_code", 2), text("pay_type_name", 12), integer("pay_type_coun"),
        money("pay_type_mone"),   money("pay_star_mone"),    money("pay_fact_mone"),
    };
}

// The history copy of a line keeps the identity it had while current, so it is a plain number.
QList<Column> historyLineColumns() {
    QList<Column> columns = orderLineColumns();
    columns[0] = integer("tabl_cons_ID");
    return columns;
}

} // namespace

QList<Table> guestTables() {
    QList<Column> allGues = guestColumns();
    allGues << text("grou_name") << text("area_name") << money("tota_y") << money("tota_z") << money("tota_l")
            << money("tota_stan");
    // dedu_oper_name is already among the guest record's columns.

    QList<Column> allPayTotal = handoverColumns();
    allPayTotal << dateTime("pay_date_work") << text("pay_rema") << dateTime("pay_date")
                << text("oper_code", 2) << text("oper_name");

    return {
        {QStringLiteral("TableGuestlist"),
         guestColumns(),
         {uniqueKey({"tabl_gues_auto_recn"}), index({"tabl_code"}), index({"tabl_gues_use"}),
          index({"tabl_gues_time_work"})}},
        {QStringLiteral("TableConsList"),
         orderLineColumns(),
         {index({"tabl_gues_auto_recn"}), index({"tabl_code"}), index({"item_code"})}},
        {QStringLiteral("TableConsListTemp"), orderLineColumns(), {index({"tabl_gues_auto_recn"})}},
        {QStringLiteral("tableguespay"),
         paymentColumns(),
         {index({"tabl_gues_auto_recn"}), index({"pay_flag"})}},
        {QStringLiteral("bookin"),
         {autonumber("book_code"), text("tabl_code", 3), text("book_name", 20), integer("book_coun"),
          dateTime("book_time"), text("book_tele", 18), text("book_rema", 20), text("oper_code", 2)},
         {index({"tabl_code"})}},
        {QStringLiteral("membType"),
         {text("memb_type_code", 2), text("memb_Type_name", 12), money("memb_type_pric"),
          yesNo("memb_type_allo_time"), integer("memb_type_time"), integer("memb_type_disc_perc", 100),
          money("memb_type_fact"), dateTime("memb_type_now")},
         {uniqueKey({"memb_type_code"})}},
        {QStringLiteral("MemberList"),
         {text("memb_card_code", 12), text("memb_type_code", 2), text("memb_pass", 16), text("memb_name", 16),
          text("memb_ID", 18), text("memb_work"), text("memb_add"), text("memb_tele"),
          text("memb_card_type", 6, QStringLiteral("储值卡")), yesNo("memb_time_allo"),
          dateTime("memb_time_end"), integer("memb_disc_perc", 100), money("memb_surp"), money("memb_use"),
          money("memb_stor"), money("memb_stor_temp"), text("memb_rema")},
         {uniqueKey({"memb_card_code"})}},
        {QStringLiteral("membManage"),
         {autonumber("memb_mana_ID"), text("memb_card_code", 12), text("memb_card_type", 6),
          money("memb_mana_save"), money("memb_mana_inte"), text("memb_mana_rema"),
          dateTime("memb_mana_time"), text("oper_code", 2), text("oper_name")},
         {index({"memb_card_code"})}},
        {QStringLiteral("HangGues"),
         {text("hang_gues_code", 3), text("hang_gues_name", 12), text("hang_gues_work"),
          text("hang_gues_add"), text("hang_gues_tele"), text("hang_gues_rema"), money("hang_gues_limi"),
          money("hang_gues_use"), text("hang_gues_pass")},
         {uniqueKey({"hang_gues_code"})}},
        {QStringLiteral("Hangguesin"),
         {text("hang_gues_code", 3), text("hang_gues_name", 12), money("hang_gues_inco"),
          dateTime("hang_gues_inco_date"), text("oper_code", 2), text("oper_name"), dateTime("time_fact")},
         {index({"hang_gues_code"})}},
        // The reverse-settlement list reads a table's bills of a business date; the member and
        // credit queries one card's or one guest's bills of a range of dates.
        {QStringLiteral("AllGues"),
         allGues,
         {uniqueKey({"tabl_gues_auto_recn"}), index({"tabl_gues_time_work"}),
          index({"tabl_code", "tabl_gues_time_work"}), index({"memb_card_code", "tabl_gues_time_work"}),
          index({"hang_code", "tabl_gues_time_work"})}},
        // The analysis reports read a range of business dates: the consumption per kind and per
        // item from the index alone, the lines of the commission staff found in it.
        {QStringLiteral("AllCons"),
         historyLineColumns(),
         {index({"tabl_gues_auto_recn"}), index({"tabl_cons_time_work"}), index({"item_code"}),
          index({"tabl_cons_time_work", "grou_code", "item_code", "item_name", "item_unit", "kind_name",
                 "clas_name", "kind_code", "oper_code", "dedu_oper_code", "tabl_d_bill", "tabl_t_bill",
                 "tabl_z_bill", "tabl_tz_bill", "item_unit_pric", "tabl_cons_tota", "serv_perc",
                 "disc_clas_perc", "tabl_cost_tota"})}},
        // The handover finds the few payments not yet handed over among a year of them; the sales
        // report sums a range's payments per method from an index alone.
        {QStringLiteral("AllGuesPay"),
         paymentColumns(),
         {index({"tabl_gues_auto_recn"}), index({"pay_time"}), index({"pay_flag"}),
          index({"pay_time", "pay_type_code", "pay_type_mone"})}},
        {QStringLiteral("AllOtherInCome"),
         {text("othe_inco_code", 10), text("othe_inco_name"), money("othe_inco_mone"),
          dateTime("othe_inco_time")},
         {index({"othe_inco_time"})}},
        {QStringLiteral("Paytotaltemp"), handoverColumns(), {}},
        {QStringLiteral("Allpaytotal"), allPayTotal, {index({"pay_date_work"})}},
    };
}

} // namespace sorrel::schema
