#include "frontdesk/table_life/held_table.h"

#include "common/db/errors.h"
#include "common/tables/table_refusals.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::table_life {

using namespace tables;

HeldTable holdTable(Database& db, const QString& code, const QStringList& states) {
    const RecordSet row = db.query(
        QStringLiteral("SELECT tabl_stat_code, tabl_type_code, dept_code, tabl_gues_auto_recn FROM TableList "
                       "WHERE tabl_code = ?") +
            db.lockRowsClause(),
        {code});
    if (row.isEmpty() || !states.contains(row.text(0, "tabl_stat_code")))
        throw TableChangedElsewhere(code);
    return {code, row.text(0, "tabl_stat_code"), row.text(0, "tabl_type_code"), row.text(0, "dept_code"),
            int(row.integer(0, "tabl_gues_auto_recn"))};
}

namespace {

// The bill the held table holds, as the database has it now, refused unless it is still on the
// table with status `billState`.
void checkBill(const HeldTable& table, int bill, const billing::GuestRecord& guest,
               const QString& billState) {
    if (table.bill != bill || !guest.tabl_gues_use || guest.tabl_code != table.code ||
        guest.tabl_gues_stat != billState)
        throw StepRefused(billChangedElsewhereMessage(bill));
}

} // namespace

std::pair<HeldTable, billing::GuestRecord> holdTableWithBill(Database& db, const QString& code,
                                                             const QStringList& states,
                                                             std::optional<int> bill,
                                                             const QString& billState) {
    // The inner join locks the table row and its bill's row together, and reads the bill with it,
    // after the table's four columns.
    constexpr int kTableColumns = 4;
    static const QString billColumns =
        QStringLiteral("g.") + billing::GuestRecord::columnNames().join(QStringLiteral(", g."));
    const RecordSet row = db.query(
        QStringLiteral("SELECT t.tabl_stat_code AS held_stat_code, t.tabl_type_code AS held_type_code, "
                       "t.dept_code AS held_dept_code, t.tabl_gues_auto_recn AS held_bill, %1 "
                       "FROM TableList t JOIN TableGuestlist g ON g.tabl_gues_auto_recn = "
                       "t.tabl_gues_auto_recn WHERE t.tabl_code = ?")
                .arg(billColumns) +
            db.lockRowsClause(),
        {code});
    if (row.isEmpty()) {
        // No such table, or its bill is gone: the table's own check names which.
        const HeldTable table = holdTable(db, code, states);
        throw StepRefused(billChangedElsewhereMessage(bill.value_or(table.bill)));
    }
    const HeldTable table{code, row.text(0, "held_stat_code"), row.text(0, "held_type_code"),
                          row.text(0, "held_dept_code"), int(row.integer(0, "held_bill"))};
    if (!states.contains(table.state)) throw TableChangedElsewhere(code);
    const billing::GuestRecord guest = billing::GuestRecord::read(row, 0, kTableColumns);
    checkBill(table, bill.value_or(table.bill), guest, billState);
    return {table, guest};
}

QString billChangedElsewhereMessage(int bill) {
    return QStringLiteral("[%1]号帐单已被其他工作站改变，请按房台的当前状态重新操作！").arg(bill);
}

} // namespace sorrel::table_life
