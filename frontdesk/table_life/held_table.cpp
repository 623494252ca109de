#include "frontdesk/table_life/held_table.h"

#include "common/db/errors.h"
#include "frontdesk/tables/table_refusals.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::tables {

HeldTable holdTable(Database& db, const QString& code, const QStringList& states) {
    const RecordSet row = db.query(
        QStringLiteral("SELECT tabl_stat_code, tabl_type_code, dept_code, tabl_gues_auto_recn FROM TableList "
                       "WHERE tabl_code = ?") +
            db.lockRowsClause(),
        {code});
    if (row.isEmpty() || !states.contains(row.text(0, "tabl_stat_code")))
        throw StepRefused(tableChangedElsewhereMessage(code));
    return {code, row.text(0, "tabl_stat_code"), row.text(0, "tabl_type_code"), row.text(0, "dept_code"),
            int(row.integer(0, "tabl_gues_auto_recn"))};
}

namespace {

// The bill the held table holds, as the database has it now, refused unless it is still on the
// table with status `billState`.
billing::GuestRecord checkedBill(Database& db, const HeldTable& table, int bill, const QString& billState) {
    if (table.bill != bill) throw StepRefused(billChangedElsewhereMessage(bill));
    const std::optional<billing::GuestRecord> guest = billing::GuestRecord::load(db, bill);
    if (!guest || !guest->tabl_gues_use || guest->tabl_code != table.code ||
        guest->tabl_gues_stat != billState)
        throw StepRefused(billChangedElsewhereMessage(bill));
    return *guest;
}

} // namespace

std::pair<HeldTable, billing::GuestRecord> holdTableWithBill(Database& db, const QString& code,
                                                             const QStringList& states,
                                                             std::optional<int> bill,
                                                             const QString& billState) {
    // The inner join locks the table row and its bill's row together.
    const RecordSet row = db.query(
        QStringLiteral("SELECT t.tabl_stat_code, t.tabl_type_code, t.dept_code, t.tabl_gues_auto_recn "
                       "FROM TableList t JOIN TableGuestlist g ON g.tabl_gues_auto_recn = "
                       "t.tabl_gues_auto_recn WHERE t.tabl_code = ?") +
            db.lockRowsClause(),
        {code});
    if (row.isEmpty()) {
        // No such table, or its bill is gone: the table's own check names which.
        const HeldTable table = holdTable(db, code, states);
        throw StepRefused(billChangedElsewhereMessage(bill.value_or(table.bill)));
    }
    const HeldTable table{code, row.text(0, "tabl_stat_code"), row.text(0, "tabl_type_code"),
                          row.text(0, "dept_code"), int(row.integer(0, "tabl_gues_auto_recn"))};
    if (!states.contains(table.state)) throw StepRefused(tableChangedElsewhereMessage(code));
    return {table, checkedBill(db, table, bill.value_or(table.bill), billState)};
}

void vacateTable(Database& db, const QString& code, const QString& state, const QString& whenBooked) {
    const bool asked = !whenBooked.isEmpty();
    db.execLater(
        QStringLiteral(
            "UPDATE TableList SET tabl_stat_code = %1, tabl_gues_auto_recn = 0, tabl_gues_name = '', "
            "tabl_gues_coun = 0, tabl_gues_time = NULL, tabl_gues_shou = 0 WHERE tabl_code = ?")
            .arg(asked ? QStringLiteral("CASE WHEN EXISTS (SELECT 1 FROM bookin b WHERE b.tabl_code = ?) "
                                        "THEN ? ELSE ? END")
                       : QStringLiteral("?")),
        asked ? QVariantList{code, whenBooked, state, code} : QVariantList{state, code});
}

QString billChangedElsewhereMessage(int bill) {
    return QStringLiteral("[%1]号帐单已被其他工作站改变，请按房台的当前状态重新操作！").arg(bill);
}

} // namespace sorrel::tables
