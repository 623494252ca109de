#include "frontdesk/table_life/clearing.h"

#include "common/db/transaction.h"
#include "common/money.h"
#include "common/schema/schema.h"
#include "common/tables/table_state_moves.h"
#include "frontdesk/billing/guest_record.h"
#include "frontdesk/table_life/held_table.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::table_life {

using namespace tables;

namespace {

// Copies the rows of one bill from a current table into its history table, column by column.
void copyToHistory(Database& db, const QString& from, const QString& to, const QStringList& columns,
                   int bill) {
    const QString list = columns.join(QStringLiteral(", "));
    db.execLater(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 WHERE tabl_gues_auto_recn = ?")
                     .arg(to, list, from),
                 {bill});
}

// Received less tax less commission, credited to the commission kind of the bill only.
double commissionBase(const billing::GuestRecord& guest, const char* kind) {
    if (guest.dedu_type != QString::fromUtf8(kind)) return 0;
    return IntWay(guest.tabl_gues_fact - guest.tabl_gues_tax - guest.dedu_mone, kKeepCents);
}

void copyBill(Database& db, const billing::GuestRecord& guest) {
    copyToHistory(db, QStringLiteral("TableGuestlist"), QStringLiteral("AllGues"),
                  schema::findTable(QStringLiteral("TableGuestlist"))->columnNames(),
                  guest.tabl_gues_auto_recn);
    db.execLater(
        QStringLiteral(
            "UPDATE AllGues SET "
            "grou_name = (SELECT g.grou_name FROM Grouplist g WHERE g.grou_code = AllGues.grou_code), "
            "area_name = (SELECT a.area_name FROM AreaList a WHERE a.area_code = AllGues.area_code), "
            "tota_y = ?, tota_z = ?, tota_l = ?, "
            "dedu_oper_name = COALESCE((SELECT d.dedu_oper_name FROM deduoperatorlist d "
            "WHERE d.dedu_oper_code = AllGues.dedu_oper_code), AllGues.dedu_oper_name), "
            "tota_stan = COALESCE((SELECT d.dedu_oper_stan FROM deduoperatorlist d "
            "WHERE d.dedu_oper_code = AllGues.dedu_oper_code), 0), "
            "book_oper_name = COALESCE((SELECT o.oper_name FROM operatorlist o "
            "WHERE o.oper_code = AllGues.book_oper_code), AllGues.book_oper_name) "
            "WHERE tabl_gues_auto_recn = ?"),
        {commissionBase(guest, "预  定"), commissionBase(guest, "指  定"), commissionBase(guest, "领  位"),
         guest.tabl_gues_auto_recn});
}

void copyLines(Database& db, int bill) {
    copyToHistory(db, QStringLiteral("TableConsList"), QStringLiteral("AllCons"),
                  schema::findTable(QStringLiteral("TableConsList"))->columnNames(), bill);
    const auto perKind = [](const char* kind) {
        return QStringLiteral("CASE WHEN menu_type_code = '%1' THEN tabl_cons_coun ELSE 0 END")
            .arg(QLatin1String(kind));
    };
    db.execLater(
        QStringLiteral(
            "UPDATE AllCons SET tabl_d_bill = %1, tabl_t_bill = %2, tabl_z_bill = %3, tabl_tz_bill = %4, "
            "menu_type_name = (SELECT m.menu_type_name FROM OrderMenuType m "
            "WHERE m.menu_type_code = AllCons.menu_type_code), "
            "clas_name = (SELECT c.clas_name FROM classlist c WHERE c.clas_code = AllCons.clas_code), "
            "tabl_name = (SELECT t.tabl_name FROM TableList t WHERE t.tabl_code = AllCons.tabl_code), "
            "cons_narr_name = (SELECT n.cons_narr_name FROM ConsNarrList n "
            "WHERE n.cons_narr_code = AllCons.cons_narr_code) "
            "WHERE tabl_gues_auto_recn = ?")
            .arg(perKind("1"), perKind("2"), perKind("3"), perKind("4")),
        {bill});
}

void copyPayments(Database& db, const billing::GuestRecord& guest) {
    db.execLater(QStringLiteral("UPDATE tableguespay SET dept_name = ?, orde_name = ?, oper_name = ? "
                                "WHERE tabl_gues_auto_recn = ?"),
                 {guest.dept_name, guest.orde_name, guest.oper_name, guest.tabl_gues_auto_recn});
    copyToHistory(db, QStringLiteral("tableguespay"), QStringLiteral("AllGuesPay"),
                  {QStringLiteral("pay_type_code"), QStringLiteral("pay_type_name"),
                   QStringLiteral("pay_type_mone"), QStringLiteral("tabl_gues_auto_recn"),
                   QStringLiteral("pay_flag"), QStringLiteral("pay_time"), QStringLiteral("dept_name"),
                   QStringLiteral("orde_name"), QStringLiteral("oper_name")},
                  guest.tabl_gues_auto_recn);
}

} // namespace

void clearTable(Database& db, const QString& tableCode, int bill) {
    runCoded(db, kClearCode, [&] {
        auto [table, guest] =
            holdTableWithBill(db, tableCode, {TableState::kSettled}, bill, QStringLiteral("3"));
        guest.tabl_gues_use = false;
        guest.tabl_gues_stat = QStringLiteral("1");
        guest.post(db);
        moveHeldTable(db, tableCode, table.state, TableMove::Clear, TableColumns::vacated());
        copyBill(db, guest);
        copyLines(db, bill);
        copyPayments(db, guest);
    });
}

} // namespace sorrel::table_life
