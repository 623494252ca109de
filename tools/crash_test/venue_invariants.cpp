#include "tools/crash_test/venue_invariants.h"

#include "common/installation/database_check.h"
#include "common/installation/target.h"
#include "common/money.h"
#include "frontdesk/billing/bill_core.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/bill_store.h"
#include "frontdesk/billing/guest_record.h"
#include "frontdesk/checkout/payments.h"
#include "frontdesk/ordering/order_menu.h"
#include "frontdesk/tables/table_state.h"

#include <QSet>
#include <algorithm>
#include <cmath>

namespace sorrel::crash {

namespace {

namespace TableState = tables::TableState;
namespace PayCode = checkout::PayCode;

bool sameMoney(double a, double b) {
    return compareMoney(a, b) == 0;
}

// Stock moves by fractions of an ingredient (0.05 of a pound of sugar per dish), summed over many
// orders: equal up to what the sums of doubles lose.
bool sameQuantity(double a, double b) {
    return std::abs(a - b) <= 1e-6 * std::max(1.0, std::abs(a));
}

QString money(double amount) {
    return QString::number(amount, 'f', 2);
}

struct LineTotals {
    int count = 0;
    int settled = 0; // tabl_gues_end
    double amount = 0;
    double quantity = 0;
};

struct PaymentTotals {
    int count = 0;
    int handedOver = 0; // pay_flag
    double paid = 0;    // every method but the waiver
    double waiver = 0;
    double member = 0;
    double credit = 0;
};

QHash<int, LineTotals> linesByBill(const RecordSet& lines) {
    QHash<int, LineTotals> totals;
    for (int i = 0; i < lines.rowCount(); ++i) {
        LineTotals& t = totals[int(lines.integer(i, "tabl_gues_auto_recn"))];
        ++t.count;
        t.settled += lines.flag(i, "tabl_gues_end") ? 1 : 0;
        t.amount += lines.number(i, "tabl_cons_tota");
        t.quantity += lines.number(i, "tabl_cons_coun");
    }
    return totals;
}

QHash<int, PaymentTotals> paymentsByBill(const RecordSet& payments) {
    QHash<int, PaymentTotals> totals;
    for (int i = 0; i < payments.rowCount(); ++i) {
        PaymentTotals& t = totals[int(payments.integer(i, "tabl_gues_auto_recn"))];
        const QString code = payments.text(i, "pay_type_code").trimmed();
        const double amount = payments.number(i, "pay_type_mone");
        ++t.count;
        t.handedOver += payments.flag(i, "pay_flag") ? 1 : 0;
        if (code == PayCode::kWaiver)
            t.waiver += amount;
        else
            t.paid += amount;
        if (code == PayCode::kMember) t.member += amount;
        if (code == PayCode::kCredit) t.credit += amount;
    }
    return totals;
}

QHash<int, int> rowIndexByBill(const RecordSet& rows) {
    QHash<int, int> index;
    for (int i = 0; i < rows.rowCount(); ++i)
        index.insert(int(rows.integer(i, "tabl_gues_auto_recn")), i);
    return index;
}

class Checker {
  public:
    Checker(Database& db, const VenueOpening& opening)
        : db_(db), opening_(opening), settings_(billing::BillSettings::load(db)),
          tables_(db.query(
              QStringLiteral("SELECT tabl_code, tabl_stat_code, tabl_gues_auto_recn FROM TableList"))),
          bills_(db.query(QStringLiteral("SELECT * FROM TableGuestlist"))),
          history_(db.query(QStringLiteral("SELECT * FROM AllGues"))),
          lines_(db.query(lineColumns(QStringLiteral("TableConsList")))),
          historyLines_(db.query(lineColumns(QStringLiteral("AllCons")))),
          payments_(db.query(paymentColumns(QStringLiteral("tableguespay")))),
          historyPayments_(db.query(paymentColumns(QStringLiteral("AllGuesPay")))),
          billRow_(rowIndexByBill(bills_)), historyRow_(rowIndexByBill(history_)),
          lineTotals_(linesByBill(lines_)), historyLineTotals_(linesByBill(historyLines_)),
          paymentTotals_(paymentsByBill(payments_)), historyPaymentTotals_(paymentsByBill(historyPayments_)) {
    }

    QList<BrokenInvariant> run() {
        checkTables();
        checkBills();
        checkHistory();
        checkCounter();
        checkStock();
        checkBalances();
        return found_;
    }

  private:
    static QString lineColumns(const QString& table) {
        return QStringLiteral("SELECT tabl_cons_ID, tabl_gues_auto_recn, item_code, item_type_code, "
                              "tabl_cons_coun, item_coun_flag, tabl_cons_tota, tabl_gues_end FROM %1")
            .arg(table);
    }
    static QString paymentColumns(const QString& table) {
        return QStringLiteral("SELECT tabl_gues_auto_recn, pay_type_code, pay_type_mone, pay_flag FROM %1")
            .arg(table);
    }

    void broken(const QString& rule, const QString& detail) { found_ << BrokenInvariant{rule, detail}; }

    // A table's state and the bill it names against that bill's record, and every bill in use on
    // exactly one table.
    void checkTables() {
        QHash<int, QString> tableOfBill;
        for (int i = 0; i < tables_.rowCount(); ++i) {
            const QString code = tables_.text(i, "tabl_code").trimmed();
            const QString state = tables_.text(i, "tabl_stat_code").trimmed();
            const int bill = int(tables_.integer(i, "tabl_gues_auto_recn"));
            const QString where = QStringLiteral("table %1 (state %2, bill %3)").arg(code, state).arg(bill);
            if (state == TableState::kFree || state == TableState::kBooked ||
                state == TableState::kDisabled) {
                if (bill != 0)
                    broken(Rule::kTableState,
                           where + QStringLiteral(": a table without guests names a bill"));
                continue;
            }
            if (state != TableState::kInUse && state != TableState::kSettled &&
                state != TableState::kReopened) {
                broken(Rule::kTableState, where + QStringLiteral(": no such state"));
                continue;
            }
            const auto row = billRow_.constFind(bill);
            if (row == billRow_.cend()) {
                broken(Rule::kTableState,
                       where + QStringLiteral(": the bill is not among the current bills"));
                continue;
            }
            const QString billState = bills_.text(*row, "tabl_gues_stat").trimmed();
            const QString wanted = state == TableState::kSettled ? TableState::kSettled : TableState::kInUse;
            if (!bills_.flag(*row, "tabl_gues_use") || bills_.text(*row, "tabl_code").trimmed() != code ||
                billState != wanted)
                broken(Rule::kTableState,
                       where + QStringLiteral(": the bill is on table %1, in use %2, state %3")
                                   .arg(bills_.text(*row, "tabl_code"))
                                   .arg(bills_.integer(*row, "tabl_gues_use"))
                                   .arg(billState));
            if (tableOfBill.contains(bill))
                broken(Rule::kTableState,
                       where + QStringLiteral(": table %1 holds it too").arg(tableOfBill[bill]));
            tableOfBill.insert(bill, code);
        }
        for (int i = 0; i < bills_.rowCount(); ++i) {
            const int bill = int(bills_.integer(i, "tabl_gues_auto_recn"));
            if (bills_.flag(i, "tabl_gues_use") && !tableOfBill.contains(bill))
                broken(Rule::kTableState,
                       QStringLiteral("bill %1 is in use on table %2, which does not hold it")
                           .arg(bill)
                           .arg(bills_.text(i, "tabl_code")));
        }
    }

    // Each current bill in one of its three stages as a whole: open (nothing settled, nothing
    // paid, nothing charged), settled (every line settled, its payments written), or cleared.
    void checkBills() {
        for (int i = 0; i < bills_.rowCount(); ++i) {
            const int bill = int(bills_.integer(i, "tabl_gues_auto_recn"));
            const QString state = bills_.text(i, "tabl_gues_stat").trimmed();
            const bool inUse = bills_.flag(i, "tabl_gues_use");
            const LineTotals lines = lineTotals_.value(bill);
            const PaymentTotals paid = paymentTotals_.value(bill);
            const QString where =
                QStringLiteral("bill %1 (state %2, in use %3)").arg(bill).arg(state).arg(inUse);
            if (inUse && state == TableState::kInUse) {
                if (lines.settled > 0)
                    broken(Rule::kSettled, where + QStringLiteral(": %1 of its %2 lines settled")
                                                       .arg(lines.settled)
                                                       .arg(lines.count));
                if (paid.count > 0)
                    broken(Rule::kSettled, where + QStringLiteral(": open with %1 payments").arg(paid.count));
                if (!sameMoney(bills_.number(i, "memb_mone"), 0) ||
                    !sameMoney(bills_.number(i, "hang_mone"), 0))
                    broken(Rule::kSettled, where + QStringLiteral(": open with a card or account charged"));
            } else if (inUse && state == TableState::kSettled) {
                if (lines.settled != lines.count)
                    broken(Rule::kSettled, where + QStringLiteral(": %1 of its %2 lines settled")
                                                       .arg(lines.settled)
                                                       .arg(lines.count));
                if (paid.count == 0)
                    broken(Rule::kSettled, where + QStringLiteral(": settled without payments"));
                else
                    checkPaid(bills_, i, paid, where);
            } else if (!inUse && state == QStringLiteral("1")) {
                if (lines.settled != lines.count)
                    broken(Rule::kSettled, where + QStringLiteral(": cleared with %1 of its %2 lines settled")
                                                       .arg(lines.settled)
                                                       .arg(lines.count));
            } else {
                broken(Rule::kSettled, where + QStringLiteral(": no stage of a bill"));
            }
            checkLineSums(bill, where);
            checkReceivable(bills_, i, where);
        }
    }

    // The food, special and service totals of the record are those of its lines, as an order or a
    // merge left them.
    void checkLineSums(int bill, const QString& where) {
        const std::optional<billing::GuestRecord> record = billing::GuestRecord::load(db_, bill);
        if (!record) return;
        const billing::BillSnapshot snapshot{.bill = *record, .lines = billing::readBillLines(db_, bill)};
        for (const billing::DishTotalFrom from :
             {billing::DishTotalFrom::RoundedLines, billing::DishTotalFrom::UnroundedLines}) {
            const billing::GuestRecord sums = billing::withLineSums(snapshot, settings_, from).bill;
            if (sameMoney(sums.tabl_gues_dish, record->tabl_gues_dish) &&
                sameMoney(sums.tabl_gues_spec, record->tabl_gues_spec) &&
                sameMoney(sums.tabl_gues_serv_main, record->tabl_gues_serv_main) &&
                sameMoney(sums.tabl_gues_serv_spec, record->tabl_gues_serv_spec))
                return;
        }
        const billing::GuestRecord sums = billing::withLineSums(snapshot, settings_).bill;
        broken(Rule::kOrder,
               where + QStringLiteral(": food %1 special %2 on the record, %3 and %4 on its %5 lines")
                           .arg(money(record->tabl_gues_dish), money(record->tabl_gues_spec),
                                money(sums.tabl_gues_dish), money(sums.tabl_gues_spec))
                           .arg(snapshot.lines.size()));
    }

    // The receivable is the larger of food and the minimum, plus special, room and service, less
    // the discount, through the bill rounding; plus the tax.
    void checkReceivable(const RecordSet& rows, int i, const QString& where) {
        const auto n = [&](const char* column) { return rows.number(i, QLatin1String(column)); };
        const double charged = compareMoney(n("tabl_gues_low"), n("tabl_gues_dish")) >= 0
                                   ? n("tabl_gues_low")
                                   : n("tabl_gues_dish");
        const double receivable =
            settings_.intWay(settings_.intWay(charged + n("tabl_gues_spec") + n("tabl_gues_room") +
                                              n("tabl_gues_serv") - n("tabl_gues_disc")) +
                             n("tabl_gues_tax"));
        if (!sameMoney(receivable, n("tabl_gues_shou")))
            broken(Rule::kMoney, where + QStringLiteral(": receivable %1, its parts make %2")
                                             .arg(money(n("tabl_gues_shou")), money(receivable)));
    }

    // A settled bill's payments: the waiver is what was not collected, the other methods pay the
    // collected amount, the card and the account rows are what the record charged them.
    void checkPaid(const RecordSet& rows, int i, const PaymentTotals& paid, const QString& where) {
        const auto n = [&](const char* column) { return rows.number(i, QLatin1String(column)); };
        const double collected = n("tabl_gues_fact");
        if (!sameMoney(collected, settings_.intWay(n("tabl_gues_shou") - n("none_mone"))))
            broken(Rule::kMoney,
                   where + QStringLiteral(": collected %1 of a receivable %2 with %3 waived")
                               .arg(money(collected), money(n("tabl_gues_shou")), money(n("none_mone"))));
        if (!sameMoney(paid.paid, collected))
            broken(Rule::kMoney, where + QStringLiteral(": payments of %1 for %2 collected")
                                             .arg(money(paid.paid), money(collected)));
        if (!sameMoney(paid.waiver, n("none_mone")))
            broken(Rule::kMoney, where + QStringLiteral(": waiver row %1, record %2")
                                             .arg(money(paid.waiver), money(n("none_mone"))));
        if (!sameMoney(paid.member, n("memb_mone")))
            broken(Rule::kMoney, where + QStringLiteral(": card row %1, record %2")
                                             .arg(money(paid.member), money(n("memb_mone"))));
        if (!sameMoney(paid.credit, n("hang_mone")))
            broken(Rule::kMoney, where + QStringLiteral(": account row %1, record %2")
                                             .arg(money(paid.credit), money(n("hang_mone"))));
    }

    // Clearing copies a bill, its lines and payments whole; the handover moves all payments or
    // none; reverse settlement and day end take a bill and everything of it away together.
    void checkHistory() {
        static const char* const kCopied[] = {"tabl_gues_shou", "tabl_gues_fact", "tabl_gues_dish",
                                              "memb_mone",      "hang_mone",      "none_mone",
                                              "tabl_code"};
        for (int i = 0; i < bills_.rowCount(); ++i) {
            const int bill = int(bills_.integer(i, "tabl_gues_auto_recn"));
            const auto copy = historyRow_.constFind(bill);
            const QString where = QStringLiteral("bill %1").arg(bill);
            if (bills_.flag(i, "tabl_gues_use")) {
                if (copy != historyRow_.cend())
                    broken(Rule::kHistory, where + QStringLiteral(": on its table and in the history"));
                continue;
            }
            if (copy == historyRow_.cend()) {
                broken(Rule::kHistory, where + QStringLiteral(": cleared without a history copy"));
                continue;
            }
            for (const char* column : kCopied)
                if (bills_.text(i, QLatin1String(column)) != history_.text(*copy, QLatin1String(column)))
                    broken(Rule::kHistory,
                           where + QStringLiteral(": %1 is %2, in the history %3")
                                       .arg(QLatin1String(column), bills_.text(i, QLatin1String(column)),
                                            history_.text(*copy, QLatin1String(column))));
            const LineTotals now = lineTotals_.value(bill);
            const LineTotals kept = historyLineTotals_.value(bill);
            if (now.count != kept.count || !sameMoney(now.amount, kept.amount) ||
                !sameQuantity(now.quantity, kept.quantity))
                broken(Rule::kHistory, where + QStringLiteral(": %1 lines of %2, in the history %3 of %4")
                                                   .arg(now.count)
                                                   .arg(money(now.amount))
                                                   .arg(kept.count)
                                                   .arg(money(kept.amount)));
            const PaymentTotals current = paymentTotals_.value(bill);
            const PaymentTotals archived = historyPaymentTotals_.value(bill);
            if (archived.count == 0)
                broken(Rule::kHistory, where + QStringLiteral(": cleared without history payments"));
            if (current.count > 0 &&
                (current.count != archived.count || !sameMoney(current.paid, archived.paid) ||
                 !sameMoney(current.waiver, archived.waiver)))
                broken(Rule::kHistory, where + QStringLiteral(": %1 payments of %2, in the history %3 of %4")
                                                   .arg(current.count)
                                                   .arg(money(current.paid))
                                                   .arg(archived.count)
                                                   .arg(money(archived.paid)));
            // Until the handover its payments are current and outstanding; after it, neither.
            if (current.count > 0 && archived.handedOver > 0)
                broken(Rule::kHistory,
                       where + QStringLiteral(": handed over while its payments are still current"));
            if (current.count == 0 && archived.handedOver != archived.count)
                broken(Rule::kHistory,
                       where + QStringLiteral(": its current payments gone, not handed over"));
        }
        for (int i = 0; i < history_.rowCount(); ++i) {
            const PaymentTotals archived =
                historyPaymentTotals_.value(int(history_.integer(i, "tabl_gues_auto_recn")));
            const QString where =
                QStringLiteral("history bill %1").arg(history_.integer(i, "tabl_gues_auto_recn"));
            if (archived.count == 0)
                broken(Rule::kHistory, where + QStringLiteral(": without payments"));
            else
                checkPaid(history_, i, archived, where);
        }
        orphans(lineTotals_, billRow_, QStringLiteral("lines"), QStringLiteral("current bill"));
        orphans(historyLineTotals_, historyRow_, QStringLiteral("history lines"),
                QStringLiteral("history bill"));
        orphans(historyPaymentTotals_, historyRow_, QStringLiteral("history payments"),
                QStringLiteral("history bill"));
    }

    template <typename Totals>
    void orphans(const QHash<int, Totals>& rows, const QHash<int, int>& owners, const QString& what,
                 const QString& owner) {
        for (auto it = rows.cbegin(); it != rows.cend(); ++it)
            if (!owners.contains(it.key()))
                broken(Rule::kHistory,
                       QStringLiteral("%1 of bill %2 without their %3").arg(what).arg(it.key()).arg(owner));
    }

    void checkCounter() {
        const qlonglong counter = db_.scalar(QStringLiteral("SELECT auto_recn FROM SetupPay")).toLongLong();
        qlonglong highest = 0;
        for (const char* table : {"TableGuestlist", "AllGues", "TableConsList", "TableConsListTemp",
                                  "AllCons", "tableguespay", "AllGuesPay"})
            highest = std::max(
                highest, db_.scalar(QStringLiteral("SELECT COALESCE(max(tabl_gues_auto_recn), 0) FROM %1")
                                        .arg(QLatin1String(table)))
                             .toLongLong());
        highest = std::max(
            highest, db_.scalar(QStringLiteral("SELECT COALESCE(max(tabl_gues_auto_recn), 0) FROM TableList"))
                         .toLongLong());
        if (counter <= highest)
            broken(Rule::kCounter,
                   QStringLiteral("the next bill number is %1, bill %2 exists").arg(counter).arg(highest));
    }

    // Every line ever committed is still on its bill or in the history (a cleared bill's lines
    // in both, under the same number): a limited item's stock is its opening less what they
    // took, an ingredient's less what their composites took, and a set meal or composite holds
    // what its components allow.
    void checkStock() {
        QHash<QString, double> direct;
        QHash<QString, double> composites;
        QSet<qlonglong> seen;
        for (const RecordSet* lines : {&lines_, &historyLines_})
            for (int i = 0; i < lines->rowCount(); ++i) {
                if (seen.contains(lines->integer(i, "tabl_cons_ID"))) continue;
                seen.insert(lines->integer(i, "tabl_cons_ID"));
                const double moved =
                    lines->number(i, "tabl_cons_coun") * double(lines->integer(i, "item_coun_flag"));
                const QString type = lines->text(i, "item_type_code").trimmed();
                if (type == ordering::kComposite)
                    composites[lines->text(i, "item_code")] += moved;
                else
                    direct[lines->text(i, "item_code")] += moved;
            }
        QHash<QString, double> ingredients;
        const RecordSet recipes =
            db_.query(QStringLiteral("SELECT grou_code, item_code, grou_coun FROM ItemGroup"));
        for (int i = 0; i < recipes.rowCount(); ++i)
            ingredients[recipes.text(i, "item_code")] +=
                composites.value(recipes.text(i, "grou_code")) * recipes.number(i, "grou_coun");

        QHash<QString, double> derived;
        const RecordSet view = db_.query(QStringLiteral("SELECT grou_code, retotal FROM viewReTotal"));
        for (int i = 0; i < view.rowCount(); ++i)
            derived.insert(view.text(i, "grou_code"), view.number(i, "retotal"));

        const RecordSet items =
            db_.query(QStringLiteral("SELECT item_code, item_type_code, item_limi, item_coun FROM itemlist"));
        for (int i = 0; i < items.rowCount(); ++i) {
            const QString code = items.text(i, "item_code");
            const QString type = items.text(i, "item_type_code").trimmed();
            const double stock = items.number(i, "item_coun");
            double expected = opening_.stock.value(code);
            if (type == ordering::kSingleItem || type == QStringLiteral("4")) {
                if (type == ordering::kSingleItem &&
                    items.text(i, "item_limi").trimmed() == ordering::kLimited)
                    expected -= direct.value(code);
                expected -= ingredients.value(code);
            } else if (derived.contains(code)) {
                expected = derived.value(code);
            }
            if (!sameQuantity(stock, expected))
                broken(Rule::kOrder, QStringLiteral("item %1: stock %2, its opening and the lines make %3")
                                         .arg(code)
                                         .arg(stock)
                                         .arg(expected));
        }
    }

    // What a card or account was charged is in the payments of the bills that charged it: the
    // history's for cleared bills, the current ones for bills settled and not yet cleared.
    void checkBalances() {
        QHash<QString, double> cards;
        QHash<QString, double> accounts;
        const auto charge = [&](const RecordSet& rows, int i, const PaymentTotals& paid,
                                const QString& where) {
            const QString card = rows.text(i, "memb_card_code").trimmed();
            const QString account = rows.text(i, "hang_code").trimmed();
            if (!sameMoney(paid.member, 0) && card.isEmpty())
                broken(Rule::kBalances, where + QStringLiteral(": card payments without a card"));
            if (!sameMoney(paid.credit, 0) && account.isEmpty())
                broken(Rule::kBalances, where + QStringLiteral(": account payments without an account"));
            cards[card] += paid.member;
            accounts[account] += paid.credit;
        };
        for (int i = 0; i < history_.rowCount(); ++i) {
            const int bill = int(history_.integer(i, "tabl_gues_auto_recn"));
            charge(history_, i, historyPaymentTotals_.value(bill),
                   QStringLiteral("history bill %1").arg(bill));
        }
        for (int i = 0; i < bills_.rowCount(); ++i) {
            const int bill = int(bills_.integer(i, "tabl_gues_auto_recn"));
            if (!historyRow_.contains(bill))
                charge(bills_, i, paymentTotals_.value(bill), QStringLiteral("bill %1").arg(bill));
        }
        const RecordSet members =
            db_.query(QStringLiteral("SELECT memb_card_code, memb_surp, memb_use FROM MemberList"));
        for (int i = 0; i < members.rowCount(); ++i) {
            const QString card = members.text(i, "memb_card_code").trimmed();
            const double spent = cards.value(card);
            if (!sameMoney(members.number(i, "memb_surp"), opening_.memberBalance.value(card) - spent) ||
                !sameMoney(members.number(i, "memb_use"), opening_.memberUsed.value(card) + spent))
                broken(
                    Rule::kBalances,
                    QStringLiteral("card %1: balance %2 and spent %3, its opening and bills make %4 and %5")
                        .arg(card, money(members.number(i, "memb_surp")),
                             money(members.number(i, "memb_use")),
                             money(opening_.memberBalance.value(card) - spent),
                             money(opening_.memberUsed.value(card) + spent)));
        }
        const RecordSet guests =
            db_.query(QStringLiteral("SELECT hang_gues_code, hang_gues_use FROM HangGues"));
        for (int i = 0; i < guests.rowCount(); ++i) {
            const QString code = guests.text(i, "hang_gues_code").trimmed();
            const double owed = opening_.creditOwed.value(code) + accounts.value(code);
            if (!sameMoney(guests.number(i, "hang_gues_use"), owed))
                broken(Rule::kBalances,
                       QStringLiteral("credit guest %1 owes %2, its opening and bills make %3")
                           .arg(code, money(guests.number(i, "hang_gues_use")), money(owed)));
        }
    }

    Database& db_;
    const VenueOpening& opening_;
    const billing::BillSettings settings_;
    const RecordSet tables_, bills_, history_, lines_, historyLines_, payments_, historyPayments_;
    const QHash<int, int> billRow_, historyRow_;
    const QHash<int, LineTotals> lineTotals_, historyLineTotals_;
    const QHash<int, PaymentTotals> paymentTotals_, historyPaymentTotals_;
    QList<BrokenInvariant> found_;
};

} // namespace

VenueOpening readOpening(Database& db) {
    VenueOpening opening;
    const RecordSet members =
        db.query(QStringLiteral("SELECT memb_card_code, memb_surp, memb_use FROM MemberList"));
    for (int i = 0; i < members.rowCount(); ++i) {
        opening.memberBalance.insert(members.text(i, "memb_card_code").trimmed(),
                                     members.number(i, "memb_surp"));
        opening.memberUsed.insert(members.text(i, "memb_card_code").trimmed(), members.number(i, "memb_use"));
    }
    const RecordSet guests = db.query(QStringLiteral("SELECT hang_gues_code, hang_gues_use FROM HangGues"));
    for (int i = 0; i < guests.rowCount(); ++i)
        opening.creditOwed.insert(guests.text(i, "hang_gues_code").trimmed(),
                                  guests.number(i, "hang_gues_use"));
    const RecordSet items = db.query(QStringLiteral("SELECT item_code, item_coun FROM itemlist"));
    for (int i = 0; i < items.rowCount(); ++i)
        opening.stock.insert(items.text(i, "item_code"), items.number(i, "item_coun"));
    return opening;
}

QList<BrokenInvariant> checkVenue(Database& db, const VenueOpening& opening) {
    return Checker(db, opening).run();
}

QList<BrokenInvariant> checkVenueAt(const QString& target, const VenueOpening& opening) {
    try {
        const std::unique_ptr<Database> db = openTarget(target, TargetUse::OpenExisting);
        const installation::CheckReport report = installation::checkDatabase(*db);
        if (!report.complete())
            return {
                {Rule::kOpens, (report.damage + report.schema.missingTables + report.schema.missingColumns)
                                   .join(QStringLiteral("; "))}};
        return checkVenue(*db, opening);
    } catch (const std::exception& e) {
        return {{Rule::kOpens, QString::fromStdString(e.what())}};
    }
}

} // namespace sorrel::crash
