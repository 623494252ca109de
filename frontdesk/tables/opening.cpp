#include "frontdesk/tables/opening.h"

#include "common/bill_number.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/tables/table_refusals.h"
#include "common/tables/table_state_moves.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/tables/open_bill.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::tables {

namespace {

// Reports the steps as they go and 100 however the opening ends, so the bar never stays up.
class StepReport {
  public:
    explicit StepReport(const ProgressReport& progress) : progress_(progress) {}
    ~StepReport() { step(100); }
    void step(int percent) const {
        if (progress_) progress_(percent);
    }

  private:
    const ProgressReport& progress_;
};

} // namespace

QList<Booking> loadBookings(Database& db, const std::optional<QString>& tableCode) {
    const RecordSet rs = db.query(
        QStringLiteral("SELECT b.book_code, b.tabl_code, b.book_name, b.book_coun, b.book_time, b.book_tele, "
                       "b.book_rema, b.oper_code, o.oper_name FROM bookin b LEFT JOIN operatorlist o ON "
                       "o.oper_code = b.oper_code ") +
            (tableCode ? QStringLiteral("WHERE b.tabl_code = ? ") : QString()) +
            // Bookings without a time first on both engines, which place NULL differently.
            QStringLiteral(
                "ORDER BY CASE WHEN b.book_time IS NULL THEN 0 ELSE 1 END, b.book_time, b.book_code"),
        tableCode ? QVariantList{*tableCode} : QVariantList{});
    QList<Booking> list;
    for (int i = 0; i < rs.rowCount(); ++i) {
        const RecordSet::Row r = rs.row(i);
        list.append({int(r.integer("book_code")), r.text("tabl_code"), r.text("book_name"),
                     int(r.integer("book_coun")), fromDbDateTime(r.value("book_time")), r.text("book_tele"),
                     r.text("book_rema"), r.text("oper_code"), r.text("oper_name")});
    }
    return list;
}

bool hasBookings(Database& db, const QString& tableCode) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM bookin WHERE tabl_code = ?"), {tableCode}).toInt() >
           0;
}

QList<ConsMode> loadConsModes(Database& db) {
    const RecordSet rs = db.query(
        QStringLiteral("SELECT cons_mode_code, cons_mode_name FROM ConsModeList ORDER BY cons_mode_code"));
    QList<ConsMode> list;
    for (int i = 0; i < rs.rowCount(); ++i)
        list.append({rs.text(i, "cons_mode_code"), rs.text(i, "cons_mode_name")});
    return list;
}

billing::GuestRecord newGuestRecord(Database& db, const BoardTable& table, const QString& shiftCode,
                                    const Clock& clock) {
    billing::GuestRecord guest;
    guest.tabl_gues_auto_recn = int(db.scalar(QStringLiteral("SELECT auto_recn FROM SetupPay")).toLongLong());
    guest.tabl_code = table.code;
    guest.tabl_type_code = table.typeCode;
    guest.dept_code = table.deptCode;
    guest.tabl_gues_time = clock.now();
    guest.tabl_gues_use = true;
    guest.disc_code = QStringLiteral("N");
    guest.disc_perc = 0;
    guest.tabl_gues_stat = TableState::kInUse;
    guest.orde_code = shiftCode;
    const RecordSet mode = db.query(
        QStringLiteral(
            "SELECT y.cons_mode_code, m.cons_type_code FROM TableTypeList y LEFT JOIN ConsModeList m "
            "ON m.cons_mode_code = y.cons_mode_code WHERE y.tabl_type_code = ?"),
        {table.typeCode});
    if (!mode.isEmpty()) {
        guest.cons_mode_code = mode.text(0, "cons_mode_code");
        guest.cons_type_code = mode.text(0, "cons_type_code");
    }
    return guest;
}

void takeOverBooking(billing::GuestRecord& guest, const Booking& booking) {
    guest.tabl_gues_coun = booking.count;
    guest.tabl_gues_name = booking.name;
    guest.book_oper_code = booking.operCode;
    guest.book_oper_name = booking.operName;
    guest.book_flag = true;
}

billing::GuestRecord openTable(Database& db, const billing::GuestRecord& typed,
                               const billing::BillSettings& settings, const Clock& clock,
                               std::optional<int> takenBooking, const ProgressReport& progress) {
    const StepReport report(progress);
    report.step(0);
    billing::GuestRecord guest = typed;
    runCoded(db, kOpenTableCode, [&] {
        const RecordSet table =
            db.query(QStringLiteral("SELECT tabl_stat_code, tabl_type_code, dept_code FROM TableList WHERE "
                                    "tabl_code = ?") +
                         db.lockRowsClause(),
                     {guest.tabl_code});
        const QString state = table.isEmpty() ? QString() : table.text(0, "tabl_stat_code");
        if (choiceFor(state) != TableChoice::Register)
            throw TableChangedElsewhere(guest.tabl_code);
        guest.tabl_type_code = table.text(0, "tabl_type_code");
        guest.dept_code = table.text(0, "dept_code");
        if (takenBooking &&
            db.exec(QStringLiteral("DELETE FROM bookin WHERE book_code = ? AND tabl_code = ?"),
                    {*takenBooking, guest.tabl_code}) != 1)
            throw StepRefused(bookingGoneMessage());
        report.step(20);
        // Priced by its mode before it has a number (the register screen shows only the next
        // one): a bill not yet drawn has no lines to read.
        guest.tabl_gues_auto_recn = 0;
        billing::ChangeConsType(db, guest, settings, clock, guest.tabl_gues_coun);
        report.step(40);
        guest.tabl_gues_auto_recn = drawBillNumber(db);
        report.step(60);
        guest.post(db);
        report.step(80);
        moveHeldTable(db, guest.tabl_code, state, TableMove::Open, columnsOf(guest));
    });
    return guest;
}

void cancelRegistration(Database& db, const QString& tableCode) {
    moveTableIfAllowed(db, tableCode, TableMove::CancelRegistration);
}

} // namespace sorrel::tables
