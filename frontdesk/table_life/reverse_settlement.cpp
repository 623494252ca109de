#include "frontdesk/table_life/reverse_settlement.h"

#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/system_password.h"
#include "common/tables/table_refusals.h"
#include "frontdesk/billing/guest_record.h"
#include "frontdesk/table_life/held_table.h"
#include "frontdesk/table_life/reopening.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::table_life {

using namespace tables;

QList<ClearedBill> loadClearedBills(Database& db, const QString& tableCode, const QDate& from,
                                    const QDate& to) {
    // Table code first, then the business date: the history's index on the two serves it.
    const RecordSet rs = db.query(
        QStringLiteral("SELECT tabl_gues_auto_recn, tabl_code, tabl_name, tabl_gues_name, tabl_gues_coun, "
                       "tabl_gues_time, tabl_gues_time_end, tabl_gues_fact, oper_name FROM AllGues "
                       "WHERE tabl_code = ? AND tabl_gues_time_work >= ? AND tabl_gues_time_work <= ? "
                       "ORDER BY tabl_gues_time_end, tabl_gues_auto_recn"),
        {tableCode, toDbDateTime(QDateTime(from, QTime(0, 0))),
         toDbDateTime(QDateTime(to, QTime(23, 59, 59)))});
    QList<ClearedBill> bills;
    for (int i = 0; i < rs.rowCount(); ++i) {
        const RecordSet::Row r = rs.row(i);
        bills.append({int(r.integer("tabl_gues_auto_recn")), r.text("tabl_code"), r.text("tabl_name"),
                      r.text("tabl_gues_name"), int(r.integer("tabl_gues_coun")),
                      fromDbDateTime(r.value("tabl_gues_time")),
                      fromDbDateTime(r.value("tabl_gues_time_end")), r.number("tabl_gues_fact"),
                      r.text("oper_name")});
    }
    return bills;
}

void reverseSettle(Database& db, const QString& tableCode, int bill, const QString& password,
                   const billing::BillSettings& settings, const Clock& clock) {
    runCoded(db, kReverseCode, [&] {
        // The password first, as it stands now; then the table under the lock, with whether the
        // bill is in the history, in one statement.
        if (!systemPasswordMatches(db, password)) throw StepRefused(kWrongSystemPasswordMessage);
        const RecordSet row = db.query(
            QStringLiteral("SELECT t.tabl_stat_code, t.tabl_gues_auto_recn, "
                           "(SELECT count(*) FROM AllGues a WHERE a.tabl_gues_auto_recn = ?) AS in_history "
                           "FROM TableList t WHERE t.tabl_code = ?") +
                db.lockRowsClause(),
            {bill, tableCode});
        if (row.isEmpty()) throw TableChangedElsewhere(tableCode);
        if (row.text(0, "tabl_stat_code") != TableState::kFree)
            throw TableChangedElsewhere(tableCode);
        if (row.integer(0, "tabl_gues_auto_recn") != 0) throw StepRefused(billChangedElsewhereMessage(bill));
        std::optional<billing::GuestRecord> guest = billing::GuestRecord::load(db, bill);
        if (!guest) throw StepRefused(kBillAfterDayEndMessage);
        if (guest->tabl_gues_use || guest->tabl_gues_stat != QStringLiteral("1") ||
            guest->tabl_code != tableCode || row.integer(0, "in_history") != 1)
            throw StepRefused(billChangedElsewhereMessage(bill));
        // Back on the table; saved with the rest of the reopened bill.
        guest->tabl_gues_use = true;
        // Every line of the bill, also those merged in from another table, is unsettled.
        reopenBill(db, *guest, TableState::kFree, TableMove::ReverseSettle, settings, clock);
        for (const char* history : {"AllCons", "AllGues", "AllGuesPay"})
            db.execLater(
                QStringLiteral("DELETE FROM %1 WHERE tabl_gues_auto_recn = ?").arg(QLatin1String(history)),
                {bill});
    });
}

} // namespace sorrel::table_life
