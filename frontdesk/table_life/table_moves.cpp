#include "frontdesk/table_life/table_moves.h"

#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/tables/table_refusals.h"
#include "common/tables/table_state_moves.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/line_sums.h"
#include "frontdesk/table_life/held_table.h"
#include "frontdesk/tables/board_tables.h"
#include "frontdesk/tables/open_bill.h"
#include "frontdesk/tables/table_state.h"

namespace sorrel::table_life {

using namespace tables;

namespace {

const QStringList kOpenStates{TableState::kInUse, TableState::kReopened};
const QString kOpenBill = QStringLiteral("2");

QString stateOf(Database& db, const QString& code) {
    const std::optional<BoardTable> table = loadBoardTable(db, code);
    return table ? table->state : QString();
}

} // namespace

QString transferQuestion(const QString& from, const QString& to) {
    return QStringLiteral("是否将[") + from + QStringLiteral("]转为[") + to +
           QStringLiteral("]，请确定操作!");
}

QString mergeQuestion(const QString& from, const QString& to) {
    return QStringLiteral("是否将[") + from + QStringLiteral("]并入[") + to +
           QStringLiteral("]，请确定操作!");
}

QString transferredMessage(const QString& to) {
    return QStringLiteral("系统已成功的转入[") + to + QStringLiteral("]台，请继续操作！");
}

QString mergedMessage(const QString& to) {
    return QStringLiteral("系统已成功的并入[") + to + QStringLiteral("]台，请继续操作！");
}

std::optional<QString> transferTargetRefusal(Database& db, const QString& target) {
    if (stateOf(db, target) != TableState::kFree) return kTransferTargetMessage;
    return std::nullopt;
}

std::optional<QString> mergeTargetRefusal(Database& db, const QString& from, const QString& target) {
    if (target == from || !kOpenStates.contains(stateOf(db, target))) return kMergeTargetMessage;
    return std::nullopt;
}

void transferTable(Database& db, const QString& from, int bill, const QString& to) {
    runCoded(db, kTransferCode, [&] {
        auto [source, guest] = holdTableWithBill(db, from, kOpenStates, bill, kOpenBill);
        const HeldTable target = holdTable(db, to, {TableState::kFree});
        guest.tabl_code = to;
        guest.tabl_type_code = target.typeCode;
        guest.dept_code = target.deptCode;
        guest.post(db);
        moveHeldTable(db, from, source.state, TableMove::TransferAway, TableColumns::vacated());
        moveHeldTable(db, to, target.state, TableMove::TransferIn, columnsOf(guest), source.state);
    });
}

int mergeTable(Database& db, const QString& from, int bill, const QString& to,
               const billing::BillSettings& settings, const Clock& clock) {
    return runCoded(db, kMergeCode, [&] {
        if (from == to) throw StepRefused(kMergeTargetMessage);
        const HeldTable source = holdTableWithBill(db, from, kOpenStates, bill, kOpenBill).first;
        billing::GuestRecord into = holdTableWithBill(db, to, kOpenStates, std::nullopt, kOpenBill).second;
        moveHeldTable(db, from, source.state, TableMove::MergeAway, TableColumns::vacated());
        db.execLater(QStringLiteral("UPDATE TableConsList SET tabl_code_old = ?, tabl_gues_auto_recn = ? "
                                    "WHERE tabl_gues_auto_recn = ?"),
                     {from, into.tabl_gues_auto_recn, bill});
        db.execLater(QStringLiteral("DELETE FROM TableGuestlist WHERE tabl_gues_auto_recn = ?"), {bill});
        // An order still being typed for the merged bill has no bill to go onto any more.
        db.execLater(QStringLiteral("DELETE FROM TableConsListTemp WHERE tabl_gues_auto_recn = ?"), {bill});
        billing::setLineSums(db, into, settings, billing::DishTotalFrom::UnroundedLines);
        billing::ReTotal(db, into, settings, clock);
        into.post(db);
        db.execLater(QStringLiteral("UPDATE TableList SET tabl_gues_shou = ? WHERE tabl_code = ?"),
                     {into.tabl_gues_shou, to});
        return into.tabl_gues_auto_recn;
    });
}

} // namespace sorrel::table_life
