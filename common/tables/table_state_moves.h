// The one place a table's state changes. Every step that moves a table (opening, settling,
// clearing, resuming, transferring, merging, booking, disabling, enabling, reverse settlement)
// names its move here; the moves are data: which states a table may be moved from, and the
// state it takes. A move is checked inside the caller's transaction against the state the
// database holds there, and a table that no longer allows it is refused (StepRefused) with
// tableChangedElsewhereMessage: another workstation moved it meanwhile.
#pragma once

#include "common/db/database.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <optional>

namespace sorrel::tables {

enum class TableMove {
    Open,               // 开台: a free or booked table takes the new bill
    CancelRegistration, // 回退 on the register screen: a booked table without bookings is free
    Disable,            // 禁用
    Enable,             // 启用
    Book,               // a booking saved or deleted: a free table is booked, or free again
    Settle,             // 结帐
    Clear,              // 清台: free, or booked when a booking waits
    Resume,             // 续单: a settled table is re-opened
    ReverseSettle,      // 反结: a free table takes back a cleared bill, re-opened
    TransferAway,       // 转台: the table the bill leaves
    TransferIn,         // 转台: the free table the bill comes to, in the state the bill had
    MergeAway,          // 并台: the table whose bill is merged into another
    ResetVenue,         // the venue reset: every table free, whatever it was
};

struct TableMoveRule {
    TableMove move;
    QStringList from; // the states the move starts from; none for a move from any state
    QStringList to;   // the states it may end in: the first unless the step names another
    // Ends booked instead when a booking waits for the table.
    bool bookedWhenBookings = false;
};

// Every move, in the order of the enum.
const QList<TableMoveRule>& tableMoveRules();
const TableMoveRule& tableMoveRule(TableMove move);
// Whether a table in `state` can make `move` (to `to`, when given).
bool moveAllowed(TableMove move, const QString& state, const QString& to = {});

// The columns of the table written with its state: the bill it holds and the board's copies of
// that bill. A column left empty keeps what the table holds.
struct TableColumns {
    std::optional<int> bill;
    std::optional<QString> guestName;
    std::optional<int> guestCount;
    std::optional<QDateTime> guestTime; // an invalid time is written as none
    std::optional<double> receivable;

    // No bill and no copies: the bill left the table.
    static TableColumns vacated();
};

// Moves table `code` in one guarded statement (it changes the table only while the table is in
// one of the move's states) and reads how many rows it changed: refused when none.
void moveTable(Database& db, const QString& code, TableMove move, const TableColumns& columns = {},
               const QString& to = {});
// The same, but a table that does not allow the move is left as it is: false then.
bool moveTableIfAllowed(Database& db, const QString& code, TableMove move, const TableColumns& columns = {},
                        const QString& to = {});

// Moves table `code`, which the caller read in state `held` under its transaction's lock: refused
// unless the move is allowed from `held`; the write itself is sent with the next statement.
void moveHeldTable(Database& db, const QString& code, const QString& held, TableMove move,
                   const TableColumns& columns = {}, const QString& to = {});

// Moves every table of the venue at once (the venue reset), whatever state each is in when the
// move allows any.
void moveEveryTable(Database& db, TableMove move, const TableColumns& columns = {});


} // namespace sorrel::tables
