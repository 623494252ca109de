// What the steps on a table re-read inside their transaction before changing it: the table's
// state and the bill it holds, and that bill as the database has it now. A step refuses
// (StepRefused) when another workstation changed either since this board was read.
#pragma once

#include "common/db/database.h"
#include "frontdesk/billing/guest_record.h"

#include <QStringList>
#include <optional>
#include <utility>

namespace sorrel::table_life {

struct HeldTable {
    QString code;
    QString state;
    QString typeCode;
    QString deptCode;
    int bill = 0; // tabl_gues_auto_recn; 0 when free
};

// The table row under the transaction's lock, refused unless its state is one of `states`.
HeldTable holdTable(Database& db, const QString& code, const QStringList& states);

// The table and its current bill, both under the transaction's lock (one statement): refused
// as holdTable refuses, and unless the table holds bill `bill` (none: whichever bill it holds),
// the record is still on the table (tabl_gues_use) and its status is `billState`.
std::pair<HeldTable, billing::GuestRecord> holdTableWithBill(Database& db, const QString& code,
                                                             const QStringList& states,
                                                             std::optional<int> bill,
                                                             const QString& billState);

// "[N]号帐单已被其他工作站…": the bill was cleared, resumed, moved or reversed elsewhere.
QString billChangedElsewhereMessage(int bill);

} // namespace sorrel::table_life
