#include "frontdesk/tables/table_work.h"

#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/tables/table_refusals.h"
#include "common/tables/table_state_moves.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/tables/open_bill.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::tables {

namespace {

RecordSet loadOrderLines(Database& db, int bill) {
    return db.query(
        QStringLiteral(
            "SELECT l.tabl_cons_ID, l.tabl_cons_tran, l.item_coun_flag, COALESCE(i.item_name, l.item_name) "
            "AS item_name, "
            "COALESCE(i.item_unit, l.item_unit) AS item_unit, l.item_unit_pric, l.tabl_cons_coun, "
            "l.tabl_cons_tota, m.menu_type_name, l.cons_grou_narr, n.cons_narr_name, l.dedu_oper_name "
            "FROM TableConsList l LEFT JOIN itemlist i ON i.item_code = l.item_code "
            "LEFT JOIN OrderMenuType m ON m.menu_type_code = l.menu_type_code "
            "LEFT JOIN ConsNarrList n ON n.cons_narr_code = l.cons_narr_code "
            "WHERE l.tabl_gues_auto_recn = ? ORDER BY l.tabl_cons_ID"),
        {bill});
}

// The name of a bill's kind of consumption, read with the table's row.
const QString kConsTypeNameOf = QStringLiteral(
    "(SELECT c.cons_type_name FROM ConsTypeList c WHERE c.cons_type_code = %1) AS cons_type_name");

WorkTable workTable(Database& db, const BoardTable& table, billing::GuestRecord guest,
                    const QString& consTypeName) {
    WorkTable work{table, std::move(guest), consTypeName, {}};
    work.lines = loadOrderLines(db, work.guest.tabl_gues_auto_recn);
    return work;
}

struct TableWithBill {
    BoardTable table;
    billing::GuestRecord guest;
    QString consTypeName;
};

// The table as the database holds it now, with its current bill; refused when either is gone.
TableWithBill tableWithBill(Database& db, const QString& tableCode) {
    const QString current = QStringLiteral(
        "(SELECT MIN(g.tabl_gues_auto_recn) FROM TableGuestlist g WHERE g.tabl_code = t.tabl_code AND "
        "g.tabl_gues_use = 1)");
    const auto found = loadBoardTableWith(
        db, tableCode,
        {current + QStringLiteral(" AS current_bill"),
         kConsTypeNameOf.arg(QStringLiteral("(SELECT b.cons_type_code FROM TableGuestlist b WHERE "
                                            "b.tabl_gues_auto_recn = %1)")
                                 .arg(current))},
        {});
    std::optional<billing::GuestRecord> guest;
    if (found && !found->second.value(0, QStringLiteral("current_bill")).isNull())
        guest = billing::GuestRecord::load(db, int(found->second.integer(0, QStringLiteral("current_bill"))));
    if (!guest) throw TableChangedElsewhere(tableCode);
    return {found->first, *guest, found->second.text(0, QStringLiteral("cons_type_name"))};
}

} // namespace

void reloadLines(Database& db, WorkTable& work) {
    work.lines = loadOrderLines(db, work.guest.tabl_gues_auto_recn);
}

bool WorkTable::open() const {
    return table.state == TableState::kInUse || table.state == TableState::kReopened;
}

WorkTable openedTable(Database& db, const billing::GuestRecord& opened) {
    const auto found = loadBoardTableWith(db, opened.tabl_code, {kConsTypeNameOf.arg(QStringLiteral("?"))},
                                          {opened.cons_type_code});
    if (!found) throw TableChangedElsewhere(opened.tabl_code);
    return workTable(db, found->first, opened, found->second.text(0, QStringLiteral("cons_type_name")));
}

WorkTable continueTable(Database& db, const QString& tableCode, const billing::BillSettings& settings,
                        const Clock& clock) {
    Transaction tx(db);
    const QVariant state = db.scalar(
        QStringLiteral("SELECT tabl_stat_code FROM TableList WHERE tabl_code = ?") + db.lockRowsClause(),
        {tableCode});
    if (choiceFor(state.toString()) != TableChoice::Continue)
        throw TableChangedElsewhere(tableCode);
    TableWithBill held = tableWithBill(db, tableCode);
    billing::ReTotal(db, held.guest, settings, clock);
    held.guest.post(db);
    tx.commit();
    return workTable(db, held.table, std::move(held.guest), held.consTypeName);
}

WorkTable settledTable(Database& db, const QString& tableCode) {
    TableWithBill held = tableWithBill(db, tableCode);
    return workTable(db, held.table, std::move(held.guest), held.consTypeName);
}

std::optional<QString> leaveTable(Database& db, billing::GuestRecord* open) {
    // Without a bill to save the refresh is one statement, whole or not at all by itself.
    if (!open) {
        refreshBoardCopies(db);
        return std::nullopt;
    }
    try {
        Transaction tx(db);
        postOpenBill(db, *open);
        refreshBoardCopies(db);
        tx.commit();
        return std::nullopt;
    } catch (const StepRefused& refused) {
        refreshBoardCopies(db);
        return refused.text();
    }
}

void refreshBoardCopies(Database& db) {
    // Correlated sub-selects: the one form of "update from another table" both engines run. Only
    // the tables whose copies differ from their bill are written, so a return to the board
    // writes the few tables that changed rather than every table of the venue.
    const QString bill =
        QStringLiteral("FROM TableGuestlist g WHERE g.tabl_gues_auto_recn = TableList.tabl_gues_auto_recn");
    // Differs, a missing value included: the file's engine knows no IS DISTINCT FROM.
    const auto differs = [](const char* column) {
        return QStringLiteral("(g.%1 <> TableList.%1 OR (g.%1 IS NULL) <> (TableList.%1 IS NULL))")
            .arg(QLatin1String(column));
    };
    db.execLater(QStringLiteral("UPDATE TableList SET tabl_gues_name = (SELECT g.tabl_gues_name %1), "
                                "tabl_gues_coun = (SELECT g.tabl_gues_coun %1), "
                                "tabl_gues_time = (SELECT g.tabl_gues_time %1), "
                                "tabl_gues_shou = (SELECT g.tabl_gues_shou %1) "
                                "WHERE EXISTS (SELECT 1 %1 AND (%2 OR %3 OR %4 OR %5))")
                     .arg(bill, differs("tabl_gues_name"), differs("tabl_gues_coun"),
                          differs("tabl_gues_time"), differs("tabl_gues_shou")));
}

QList<CommissionStaff> loadCommissionStaff(Database& db) {
    const RecordSet rs = db.query(QStringLiteral(
        "SELECT dedu_oper_code, dedu_oper_name FROM deduoperatorlist ORDER BY dedu_oper_code"));
    QList<CommissionStaff> list;
    for (int i = 0; i < rs.rowCount(); ++i)
        list.append({rs.text(i, "dedu_oper_code"), rs.text(i, "dedu_oper_name")});
    return list;
}

const QStringList& commissionTypes() {
    static const QStringList types{QStringLiteral("预  定"), QStringLiteral("指  定"),
                                   QStringLiteral("领  位"), QStringLiteral("无提成")};
    return types;
}

} // namespace sorrel::tables
