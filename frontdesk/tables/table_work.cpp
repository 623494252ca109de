#include "frontdesk/tables/table_work.h"

#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/tables/table_refusals.h"
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

QString consTypeName(Database& db, const QString& code) {
    return db
        .scalar(QStringLiteral("SELECT cons_type_name FROM ConsTypeList WHERE cons_type_code = ?"), {code})
        .toString();
}

WorkTable workTable(Database& db, const BoardTable& table, billing::GuestRecord guest) {
    WorkTable work{table, std::move(guest), {}, {}};
    work.consTypeName = consTypeName(db, work.guest.cons_type_code);
    work.lines = loadOrderLines(db, work.guest.tabl_gues_auto_recn);
    return work;
}

// The table as the database holds it now, with its current bill; refused when either is gone.
std::pair<BoardTable, billing::GuestRecord> tableWithBill(Database& db, const QString& tableCode) {
    const std::optional<BoardTable> table = loadBoardTable(db, tableCode);
    const QVariant number = db.scalar(
        QStringLiteral(
            "SELECT tabl_gues_auto_recn FROM TableGuestlist WHERE tabl_code = ? AND tabl_gues_use = 1"),
        {tableCode});
    std::optional<billing::GuestRecord> guest;
    if (table && !number.isNull()) guest = billing::GuestRecord::load(db, int(number.toLongLong()));
    if (!guest) throw StepRefused(tableChangedElsewhereMessage(tableCode));
    return {*table, *guest};
}

} // namespace

void reloadLines(Database& db, WorkTable& work) {
    work.lines = loadOrderLines(db, work.guest.tabl_gues_auto_recn);
}

bool WorkTable::open() const {
    return table.state == TableState::kInUse || table.state == TableState::kReopened;
}

WorkTable openedTable(Database& db, const billing::GuestRecord& opened) {
    const std::optional<BoardTable> table = loadBoardTable(db, opened.tabl_code);
    if (!table) throw StepRefused(tableChangedElsewhereMessage(opened.tabl_code));
    return workTable(db, *table, opened);
}

WorkTable continueTable(Database& db, const QString& tableCode, const billing::BillSettings& settings,
                        const Clock& clock) {
    Transaction tx(db);
    const QVariant state = db.scalar(
        QStringLiteral("SELECT tabl_stat_code FROM TableList WHERE tabl_code = ?") + db.lockRowsClause(),
        {tableCode});
    if (choiceFor(state.toString()) != TableChoice::Continue)
        throw StepRefused(tableChangedElsewhereMessage(tableCode));
    auto [table, guest] = tableWithBill(db, tableCode);
    billing::ReTotal(db, guest, settings, clock);
    guest.post(db);
    tx.commit();
    return workTable(db, table, std::move(guest));
}

WorkTable settledTable(Database& db, const QString& tableCode) {
    auto [table, guest] = tableWithBill(db, tableCode);
    return workTable(db, table, std::move(guest));
}

void leaveTable(Database& db, billing::GuestRecord* open) {
    Transaction tx(db);
    if (open) open->post(db);
    refreshBoardCopies(db);
    tx.commit();
}

void refreshBoardCopies(Database& db) {
    // Correlated sub-selects: the one form of "update from another table" both engines run.
    const QString bill =
        QStringLiteral("FROM TableGuestlist g WHERE g.tabl_gues_auto_recn = TableList.tabl_gues_auto_recn");
    db.exec(QStringLiteral("UPDATE TableList SET tabl_gues_name = (SELECT g.tabl_gues_name %1), "
                           "tabl_gues_coun = (SELECT g.tabl_gues_coun %1), "
                           "tabl_gues_time = (SELECT g.tabl_gues_time %1), "
                           "tabl_gues_shou = (SELECT g.tabl_gues_shou %1) "
                           "WHERE EXISTS (SELECT 1 %1)")
                .arg(bill));
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
