#include "frontdesk/table_life/reopening.h"

#include "common/db/transaction.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/table_life/held_table.h"
#include "frontdesk/tables/open_bill.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::table_life {

using namespace tables;

void reopenBill(Database& db, billing::GuestRecord& guest, const QString& held, TableMove move,
                const billing::BillSettings& settings, const Clock& clock) {
    const QString creditGuest = guest.hang_code;
    const QString memberCard = guest.memb_card_code;
    guest.tabl_gues_disc = 0;
    guest.tabl_gues_tax = 0;
    guest.tabl_gues_fact = 0;
    guest.dedu_mone = 0;
    guest.tabl_gues_tax_real = false;
    guest.disc_code = QStringLiteral("N");
    guest.disc_perc = 0;
    guest.tabl_gues_pay_narr.clear();
    guest.hang_code.clear();
    guest.hang_name.clear();
    guest.memb_card_code.clear();
    guest.memb_name.clear();
    guest.tabl_gues_stat = QStringLiteral("2");
    // What the bill charged goes back by difference: another workstation may be charging the
    // same card or account at this moment.
    if (guest.hang_mone > 0) {
        db.execLater(
            QStringLiteral("UPDATE HangGues SET hang_gues_use = hang_gues_use - ? WHERE hang_gues_code = ?"),
            {guest.hang_mone, creditGuest});
        guest.hang_mone = 0;
    }
    if (guest.memb_mone > 0) {
        db.execLater(
            QStringLiteral("UPDATE MemberList SET memb_use = memb_use - ?, memb_surp = memb_surp + ? "
                           "WHERE memb_card_code = ?"),
            {guest.memb_mone, guest.memb_mone, memberCard});
        guest.memb_mone = 0;
    }
    db.execLater(QStringLiteral("DELETE FROM tableguespay WHERE tabl_gues_auto_recn = ?"),
                 {guest.tabl_gues_auto_recn});
    db.execLater(QStringLiteral("UPDATE TableConsList SET tabl_gues_end = 0 WHERE tabl_gues_auto_recn = ?"),
                 {guest.tabl_gues_auto_recn});
    billing::ReTotal(db, guest, settings, clock);
    guest.post(db);
    moveHeldTable(db, guest.tabl_code, held, move,
                  move == TableMove::ReverseSettle ? columnsOf(guest) : TableColumns{});
}

billing::GuestRecord resumeTable(Database& db, const QString& tableCode, int bill,
                                 const billing::BillSettings& settings, const Clock& clock) {
    return runCoded(db, kResumeCode, [&] {
        billing::GuestRecord guest =
            holdTableWithBill(db, tableCode, {TableState::kSettled}, bill, QStringLiteral("3")).second;
        reopenBill(db, guest, TableState::kSettled, TableMove::Resume, settings, clock);
        return guest;
    });
}

} // namespace sorrel::table_life
