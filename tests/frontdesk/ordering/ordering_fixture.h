// The demo venue with table A01 open, for the ordering tests on every engine: staging an item
// at a quantity and kind, the stock of an item, the lines a commit put on the bill.
#pragma once

#include "common/db/recordset.h"
#include "frontdesk/ordering/order_commit.h"
#include "frontdesk/ordering/order_staging.h"
#include "tests/frontdesk/tables/venue_fixture.h"

namespace sorrel::test {

class OrderingTest : public VenueTest {
  protected:
    void SetUp() override {
        VenueTest::SetUp();
        bill = open(QStringLiteral("A01"), 2).tabl_gues_auto_recn;
    }

    // Every permission is held unless `withheld` names it.
    std::unique_ptr<ordering::OrderStaging> staging(Database& on, int number, const QString& withheld = {}) {
        auto s = std::make_unique<ordering::OrderStaging>(
            on, number, QStringLiteral("A01"), QStringLiteral("01"),
            [withheld](const QString& code) { return code != withheld; });
        s->begin();
        return s;
    }
    ordering::OrderItem item(const QString& code) { return *ordering::loadOrderItem(db(), code); }
    void setStock(const QString& code, double stock, const QString& rule = ordering::kLimited) {
        db().exec(QStringLiteral("UPDATE itemlist SET item_coun = ?, item_limi = ? WHERE item_code = ?"),
                  {stock, rule, code});
    }
    double stockOf(const QString& code) {
        return db()
            .scalar(QStringLiteral("SELECT item_coun FROM itemlist WHERE item_code = ?"), {code})
            .toDouble();
    }
    // Chooses the item and types its quantity and kind as the operator would; the verdict of
    // the typed line.
    ordering::Verdict stage(ordering::OrderStaging& s, const QString& code, double quantity,
                            const QString& kind = ordering::kOrdered) {
        const ordering::Choice choice = s.choose(item(code));
        ordering::LineEdit edit;
        edit.quantity = quantity;
        edit.kind = kind;
        edit.price = ordering::loadOrderItem(db(), code)->price;
        return s.validate(choice.lineId, edit);
    }
    double stagedQuantity(ordering::OrderStaging& s, const QString& code) {
        for (const ordering::StagedLine& l : s.lines())
            if (l.itemCode == code) return l.quantity;
        return -1;
    }
    billing::GuestRecord commit(Database& on, int number) { return ordering::commitOrder(on, number, clock); }
    RecordSet billLines(int number) {
        return db().query(
            QStringLiteral("SELECT item_code, menu_type_code, tabl_cons_coun, tabl_cons_tota, "
                           "item_type_flag, item_coun_flag, grou_code, oper_name, serv_perc "
                           "FROM TableConsList WHERE tabl_gues_auto_recn = ? ORDER BY tabl_cons_ID"),
            {number});
    }
    int stagedRows(int number) {
        return db()
            .scalar(QStringLiteral("SELECT count(*) FROM TableConsListTemp WHERE tabl_gues_auto_recn = ?"),
                    {number})
            .toInt();
    }

    int bill = 0;
};

} // namespace sorrel::test
