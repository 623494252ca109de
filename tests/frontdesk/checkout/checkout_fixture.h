// The demo venue with a day open, tables opened and order lines put on their bills directly (as
// committed orders leave them), and the checkout of a bill as the cash desk runs it.
#pragma once

#include "common/db/transaction.h"
#include "common/money.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/line_sums.h"
#include "frontdesk/checkout/checkout.h"
#include "tests/frontdesk/tables/venue_fixture.h"

namespace sorrel::test {

class CheckoutTest : public VenueTest {
  protected:
    // Order-line types: ordered, returned, given, gift returned.
    enum LineType { Ordered = 1, Returned, Given, GiftReturned };

    // Opens `table` (hall tables charge nothing beyond their lines) and answers its bill number.
    int openTable(const QString& table, int guests = 2) { return open(table, guests).tabl_gues_auto_recn; }

    // A committed line of item `item` (kind and class from the menu) at `price`, then the bill's
    // line sums and receivable as an order commit leaves them.
    void addLine(Database& on, int bill, const QString& item, double quantity, double price,
                 LineType type = Ordered) {
        const int money = type == Ordered ? 1 : type == Returned ? -1 : 0;
        const int stock = type == Ordered || type == Given ? 1 : -1;
        Transaction tx(on);
        on.exec(
            QStringLiteral(
                "INSERT INTO TableConsList (tabl_gues_auto_recn, tabl_code, kind_code, clas_code, item_code, "
                "menu_type_code, item_type_flag, item_coun_flag, tabl_cons_coun, item_unit_pric, "
                "tabl_cons_tota, item_cost_pric) SELECT g.tabl_gues_auto_recn, g.tabl_code, c.kind_code, "
                "i.clas_code, i.item_code, ?, ?, ?, ?, ?, ?, i.item_cost_pric FROM TableGuestlist g, "
                "itemlist i "
                "JOIN classlist c ON c.clas_code = i.clas_code WHERE g.tabl_gues_auto_recn = ? AND "
                "i.item_code = ?"),
            {QString::number(type), money, stock, quantity, price,
             orderLineAmount(quantity, price, money, QString()), bill, item});
        billing::GuestRecord guest = *billing::GuestRecord::load(on, bill);
        const billing::BillSettings settings = billing::BillSettings::load(on);
        billing::setLineSums(on, guest, settings);
        billing::ReTotal(on, guest, settings, clock);
        guest.post(on);
        tx.commit();
    }
    void addLine(int bill, const QString& item, double quantity, double price, LineType type = Ordered) {
        addLine(db(), bill, item, quantity, price, type);
    }

    // The row of payment method `code` in the checkout's list.
    static int row(const checkout::CheckoutSession& s, const QString& code) {
        const QList<checkout::PaymentRow>& rows = s.tender().payments;
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].code == code) return i;
        return -1;
    }
    static void pay(checkout::CheckoutSession& s, const QString& code, double amount) {
        s.setAmount(row(s, code), amount);
    }

    checkout::Cashier cashier{QStringLiteral("01"), QStringLiteral("管理员"), QStringLiteral("1"),
                              QStringLiteral("早班")};

    QVariant scalar(const QString& sql, const QVariantList& params = {}) { return db().scalar(sql, params); }
    double balanceOf(const QString& card) {
        return scalar(QStringLiteral("SELECT memb_surp FROM MemberList WHERE memb_card_code = ?"), {card})
            .toDouble();
    }
};

} // namespace sorrel::test
