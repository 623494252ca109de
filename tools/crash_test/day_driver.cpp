#include "tools/crash_test/day_driver.h"

#include "common/business_day.h"
#include "common/db/errors.h"
#include "common/settings_row.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/checkout/checkout.h"
#include "frontdesk/day/shift_handover.h"
#include "frontdesk/ordering/order_commit.h"
#include "frontdesk/ordering/order_staging.h"
#include "frontdesk/table_life/clearing.h"
#include "frontdesk/table_life/reopening.h"
#include "frontdesk/table_life/reverse_settlement.h"
#include "frontdesk/table_life/table_moves.h"
#include "frontdesk/tables/opening.h"
#include "frontdesk/tables/table_state.h"
#include "frontdesk/tables/table_work.h"

#include <algorithm>
#include <cmath>

namespace sorrel::crash {

namespace {

namespace TableState = tables::TableState;
namespace PayCode = checkout::PayCode;

const QString kCashier = QStringLiteral("01");
const QString kShift = QStringLiteral("1");
const QString kCard = QStringLiteral("880001");
const QString kCardPassword = QStringLiteral("123456");
const QString kSystemPassword = QStringLiteral("8888");

const QStringList kOpen{TableState::kInUse, TableState::kReopened};

billing::BillSettings billSettings(Database& db) {
    return billing::BillSettings::load(db);
}

} // namespace

DayDriver::DayDriver(Database& db, const Clock& clock, quint32 seed,
                     std::function<void(const QString&)> steps)
    : db_(db), clock_(clock), random_(seed), steps_(std::move(steps)) {}

void DayDriver::begin(const char* name) {
    if (steps_) steps_(QString::fromLatin1(name));
}

QString DayDriver::pick(const QStringList& states, const QString& wanted) {
    if (!wanted.isEmpty()) return wanted;
    const RecordSet rows =
        db_.query(QStringLiteral("SELECT tabl_code, tabl_stat_code FROM TableList ORDER BY tabl_code"));
    QStringList found;
    for (int i = 0; i < rows.rowCount(); ++i)
        if (states.contains(rows.text(i, "tabl_stat_code").trimmed())) found << rows.text(i, "tabl_code");
    return found.isEmpty() ? QString() : found[below(int(found.size()))];
}

int DayDriver::bill(const QString& table) {
    return db_
        .scalar(QStringLiteral("SELECT tabl_gues_auto_recn FROM TableList WHERE tabl_code = ?"), {table})
        .toInt();
}

DayDriver::Outcome DayDriver::step() {
    // Mostly the cashier's evening: orders, checkouts, tables opened and cleared; now and then a
    // handover, rarely day end. Another workstation may start the day between the look and the
    // start: that is a refusal like any other.
    try {
        if (!businessDayOpen(db_)) {
            startDay();
            return {};
        }
        const int roll = below(100);
        if (roll < 14)
            openTable();
        else if (roll < 38)
            order();
        else if (roll < 54)
            settle();
        else if (roll < 67)
            clear();
        else if (roll < 71)
            resume();
        else if (roll < 76)
            transfer();
        else if (roll < 80)
            merge();
        else if (roll < 84)
            reverse();
        else if (roll < 92)
            backToBoard();
        else if (roll < 96)
            handOver();
        else if (roll < 97)
            endDay();
        else
            openTable();
    } catch (const StepRefused& refused) {
        // Nothing was written.
        return {true, refused.text()};
    }
    return {};
}

bool DayDriver::startDay() {
    begin("day start");
    sorrel::startDay(db_, clock_);
    return true;
}

bool DayDriver::openTable(const QString& table) {
    const QString code = pick({TableState::kFree}, table);
    if (code.isEmpty()) return false;
    begin("open table");
    billing::GuestRecord guest =
        tables::newGuestRecord(db_, *tables::loadBoardTable(db_, code), kShift, clock_);
    guest.tabl_gues_coun = 1 + below(8);
    guest.tabl_gues_name = QStringLiteral("宾客%1").arg(below(100));
    tables::openTable(db_, guest, billSettings(db_), clock_, {});
    return true;
}

bool DayDriver::order(const QString& table) {
    const QString code = pick(kOpen, table);
    if (code.isEmpty()) return false;
    const int number = bill(code);
    begin("order");
    ordering::OrderStaging staging(db_, number, code, kCashier, [](const QString&) { return true; });
    staging.begin();
    enum { Ordinary, Gift, Return } kind = below(4) == 0 ? Gift : below(4) == 0 ? Return : Ordinary;
    if (kind == Return) {
        // A dish sent back: one of what this bill still has ordered.
        const RecordSet ordered = db_.query(
            QStringLiteral("SELECT item_code FROM TableConsList WHERE tabl_gues_auto_recn = ? AND "
                           "menu_type_code IN ('1', '2') AND COALESCE(grou_code, '') = '' GROUP BY item_code "
                           "HAVING SUM(tabl_cons_coun * item_type_flag) >= 1 ORDER BY item_code"),
            {number});
        const std::optional<ordering::OrderItem> item =
            ordered.isEmpty()
                ? std::nullopt
                : ordering::loadOrderItem(db_, ordered.text(below(ordered.rowCount()), "item_code"));
        if (!item)
            kind = Ordinary;
        else {
            const ordering::Choice chosen = staging.choose(*item);
            if (chosen.lineId != 0)
                staging.validate(chosen.lineId, {1.0, item->price, ordering::kReturned, {}, {}});
        }
    }
    if (kind != Return) {
        QList<ordering::OrderItem> menu = ordering::loadOrderItems(db_);
        menu.erase(std::remove_if(menu.begin(), menu.end(),
                                  [](const ordering::OrderItem& i) {
                                      return i.disabled() || (i.limited() && i.stock < 3);
                                  }),
                   menu.end());
        if (menu.isEmpty()) return false;
        ordering::Choice last;
        for (int n = 1 + below(4); n > 0; --n) {
            const ordering::OrderItem& item = menu[below(int(menu.size()))];
            last = staging.choose(item);
            if (below(3) == 0) staging.choose(item);
        }
        if (kind == Gift && last.lineId != 0)
            if (const std::optional<ordering::StagedLine> line = staging.line(last.lineId))
                staging.validate(last.lineId, {line->quantity, line->price, ordering::kGift, {}, {}});
    }
    ordering::commitOrder(db_, number, clock_, {}, code);
    return true;
}

bool DayDriver::settle(const QString& table, std::optional<Payment> payment) {
    const QString code = pick(kOpen, table);
    if (code.isEmpty()) return false;
    begin("settle");
    checkout::CheckoutSession checkout(db_, clock_);
    checkout.enter(code);
    if (below(4) == 0) {
        const QList<checkout::DiscountScheme> schemes = checkout.choices().schemes;
        if (!schemes.isEmpty()) checkout.chooseScheme(schemes[below(int(schemes.size()))].code, QString());
    }
    const Payment how = payment.value_or(Payment(below(5)));
    const auto rowOf = [&](const QString& method) {
        const QList<checkout::PaymentRow>& rows = checkout.tender().payments;
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].code.trimmed() == method) return i;
        return -1;
    };
    if (how == Payment::Waiver && checkout.guest().tabl_gues_fact >= 10)
        checkout.setCollected(checkout.guest().tabl_gues_fact - 1 - below(5));
    double rest = checkout.guest().tabl_gues_fact;
    // Whole yuan on the card and the account, never more than they allow.
    if ((how == Payment::Member || how == Payment::ThreeMethods) &&
        checkout.chooseMember(kCard, kCardPassword)) {
        const double part = std::min({checkout.tender().member->balance, rest, double(1 + below(30))});
        if (part >= 1) {
            checkout.setAmount(rowOf(PayCode::kMember), std::floor(part));
            rest -= std::floor(part);
        }
    }
    if (how == Payment::Credit || how == Payment::ThreeMethods) {
        const QList<checkout::CreditGuest> guests = checkout.choices().creditGuests;
        if (!guests.isEmpty()) {
            const checkout::CreditGuest& guest = guests[below(int(guests.size()))];
            checkout.chooseCredit(guest);
            const double part = std::min({guest.limit - guest.owed, rest, double(1 + below(50))});
            if (part >= 1) {
                checkout.setAmount(rowOf(PayCode::kCredit), std::floor(part));
                rest -= std::floor(part);
            }
        }
    }
    checkout.setAmount(rowOf(PayCode::kCash), rest);
    const checkout::Settlement plan = checkout.prepare();
    if (!plan.ok()) {
        checkout.back();
        return true;
    }
    const QString shiftName =
        db_.scalar(QStringLiteral("SELECT orde_name FROM OrderList WHERE orde_code = ?"), {kShift})
            .toString();
    checkout.settle(plan, {kCashier, QStringLiteral("管理员"), kShift, shiftName});
    return true;
}

bool DayDriver::clear(const QString& table) {
    const QString code = pick({TableState::kSettled}, table);
    if (code.isEmpty()) return false;
    begin("clear");
    table_life::clearTable(db_, code, bill(code));
    return true;
}

bool DayDriver::resume(const QString& table) {
    const QString code = pick({TableState::kSettled}, table);
    if (code.isEmpty()) return false;
    begin("resume");
    table_life::resumeTable(db_, code, bill(code), billSettings(db_), clock_);
    return true;
}

bool DayDriver::transfer() {
    const QString from = pick(kOpen, {});
    const QString to = pick({TableState::kFree}, {});
    if (from.isEmpty() || to.isEmpty()) return false;
    begin("transfer");
    table_life::transferTable(db_, from, bill(from), to);
    return true;
}

bool DayDriver::merge() {
    const QString from = pick(kOpen, {});
    const QString to = pick(kOpen, {});
    if (from.isEmpty() || to.isEmpty() || from == to) return false;
    begin("merge");
    table_life::mergeTable(db_, from, bill(from), to, billSettings(db_), clock_);
    return true;
}

bool DayDriver::reverse() {
    // A bill cleared today that day end has not taken yet, back on its table if that is free.
    const QDate today = loadSettingsRow(db_).timeWork.date();
    const RecordSet free =
        db_.query(QStringLiteral("SELECT tabl_code FROM TableList WHERE tabl_stat_code = ? "
                                 "ORDER BY tabl_code"),
                  {TableState::kFree});
    for (int i = 0; i < free.rowCount(); ++i) {
        const QString table = free.text(i, "tabl_code");
        for (const table_life::ClearedBill& cleared :
             table_life::loadClearedBills(db_, table, today, today)) {
            if (!billing::GuestRecord::load(db_, cleared.number)) continue;
            if (below(2) == 0) continue;
            begin("reverse settlement");
            table_life::reverseSettle(db_, table, cleared.number, kSystemPassword, billSettings(db_), clock_);
            return true;
        }
    }
    return false;
}

bool DayDriver::backToBoard() {
    const QString code = pick(kOpen, {});
    if (code.isEmpty()) return false;
    begin("back to the board");
    tables::WorkTable work = tables::continueTable(db_, code, billSettings(db_), clock_);
    work.guest.tabl_gues_rema = QStringLiteral("备注%1").arg(below(100));
    tables::leaveTable(db_, &work.guest);
    return true;
}

bool DayDriver::handOver() {
    begin("handover");
    const day::HandoverSheet sheet = day::buildHandoverSheet(db_, clock_);
    day::handOver(db_, clock_, sheet, {kCashier, QStringLiteral("管理员"), QStringLiteral("交班")});
    return true;
}

bool DayDriver::endDay() {
    begin("day end");
    sorrel::endDay(db_, clock_);
    return true;
}

} // namespace sorrel::crash
