// A table on the work screen: its bill, the bill's order lines and what the screen shows beside
// them, read when the operator comes to the table from the board; and the way back to the
// board, which saves the bill and brings every table's board copies up to date.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/guest_record.h"
#include "frontdesk/tables/board_tables.h"

namespace sorrel::tables {

struct WorkTable {
    BoardTable table; // as the database held it when the work screen opened
    billing::GuestRecord guest;
    QString consTypeName;
    // The bill's lines in the order they were entered, with the names the screen shows:
    // tabl_cons_ID, tabl_cons_tran, item_coun_flag, item_name, item_unit, item_unit_pric, tabl_cons_coun,
    // tabl_cons_tota, menu_type_name, cons_grou_narr, cons_narr_name, dedu_oper_name.
    RecordSet lines;

    // The bill is open (in use or re-opened): its manual number, remark and commission fields
    // can be edited.
    bool open() const;
};

// The bill just opened on `table`, with no lines yet.
WorkTable openedTable(Database& db, const billing::GuestRecord& opened);

// The bill's lines read again, after they changed.
void reloadLines(Database& db, WorkTable& work);

// A table in use or re-opened: in one transaction, re-reads the table and its current bill,
// recomputes the bill by the clock and saves it. Refused (StepRefused) when the table is no
// longer in use or re-opened.
WorkTable continueTable(Database& db, const QString& tableCode, const billing::BillSettings& settings,
                        const Clock& clock);

// A table with its current bill as it stands, without recomputing: a settled table, or one a
// bill was just moved to or reopened on. Refused (StepRefused) when the table has no current
// bill any more.
WorkTable settledTable(Database& db, const QString& tableCode);

// Leaving the work screen, in one transaction: saves `open` (what was typed into the editable
// fields) when the bill is open, then refreshes every table's board copies from its current bill.
// When another workstation merged, moved, settled or cleared the bill meanwhile, nothing typed is
// saved, the copies are refreshed all the same, and the refusal is answered for the operator to
// read on the way back to the board.
std::optional<QString> leaveTable(Database& db, billing::GuestRecord* open);

// Every table's copies of its current guest's name, party, opening time and receivable, from its
// bill: one statement for all tables.
void refreshBoardCopies(Database& db);

struct CommissionStaff {
    QString code;
    QString name;
};
QList<CommissionStaff> loadCommissionStaff(Database& db);
// The kinds of commission a bill can credit (dedu_type).
const QStringList& commissionTypes();

} // namespace sorrel::tables
