// What a bill leaves behind when it ends: nothing that belongs to it alone. A payment row kept
// after its bill is gone keeps its method "in use" in the back office; a staged line kept after
// its bill was settled or merged away is an order that can never be committed.
#include "common/business_day.h"
#include "common/db/errors.h"
#include "common/tables/table_refusals.h"
#include "frontdesk/checkout/checkout.h"
#include "frontdesk/ordering/order_commit.h"
#include "frontdesk/ordering/order_menu.h"
#include "frontdesk/ordering/order_staging.h"
#include "frontdesk/table_life/clearing.h"
#include "frontdesk/table_life/table_moves.h"
#include "tests/frontdesk/table_life/settled_venue.h"

#include <functional>

using namespace sorrel;
using namespace sorrel::table_life;

namespace {

class LeftOverRowsTest : public test::SettledVenue {
  protected:
    // One line of 宫保鸡丁 typed for `bill` at `table`, not committed.
    void stageOne(int bill, const QString& table) {
        ordering::OrderStaging staging(db(), bill, table, QStringLiteral("01"),
                                       [](const QString&) { return true; });
        staging.choose(*ordering::loadOrderItem(db(), QStringLiteral("102001")));
        ASSERT_EQ(rowsOf("TableConsListTemp", bill), 1);
    }
};

TEST_P(LeftOverRowsTest, ABillSettledOrMergedAwayLeavesNoStagedLines) {
    const struct {
        const char* what;
        std::function<void(int bill, const QString& table)> ends;
    } steps[] = {
        {"settled",
         [&](int, const QString& table) {
             checkout::CheckoutSession session(db(), clock);
             session.enter(table);
             session.settle(session.prepare(), {QStringLiteral("01"), QStringLiteral("管理员"),
                                                QStringLiteral("1"), QStringLiteral("早班")});
         }},
        {"merged away",
         [&](int bill, const QString& table) {
             open(QStringLiteral("A09"), 2);
             mergeTable(db(), table, bill, QStringLiteral("A09"), billing::BillSettings::load(db()), clock);
         }},
    };
    int n = 0;
    for (const auto& step : steps) {
        const QString table = QStringLiteral("A0%1").arg(++n);
        const int bill = open(table, 2).tabl_gues_auto_recn;
        addLine(bill, "1", 1, 30);
        stageOne(bill, table);
        step.ends(bill, table);
        EXPECT_EQ(rowsOf("TableConsListTemp", bill), 0) << step.what;
    }
}

TEST_P(LeftOverRowsTest, AnOrderTypedOnForABillNoLongerOpenGoesWhenItsCommitIsRefused) {
    const struct {
        const char* what;
        bool merged; // else settled
    } cases[] = {{"merged away", true}, {"settled", false}};
    int n = 0;
    for (const auto& c : cases) {
        const QString table = QStringLiteral("B0%1").arg(++n);
        const int bill = open(table, 2).tabl_gues_auto_recn;
        addLine(bill, "1", 1, 30);
        if (c.merged) {
            open(QStringLiteral("V01"), 2);
            mergeTable(db(), table, bill, QStringLiteral("V01"), billing::BillSettings::load(db()), clock);
        } else {
            settle(bill);
        }
        // Another desk still had the ordering screen open and typed on.
        stageOne(bill, table);
        EXPECT_THROW(ordering::commitOrder(db(), bill, clock), StepRefused) << c.what;
        EXPECT_EQ(rowsOf("TableConsListTemp", bill), 0) << c.what;
    }
    // Typed first, merged away before the commit: the merge took the typed lines, and the
    // refusal still names the table the order was typed at.
    const int typed = open(QStringLiteral("B04"), 2).tabl_gues_auto_recn;
    stageOne(typed, QStringLiteral("B04"));
    mergeTable(db(), QStringLiteral("B04"), typed, QStringLiteral("V01"), billing::BillSettings::load(db()), clock);
    try {
        ordering::commitOrder(db(), typed, clock, {}, QStringLiteral("B04"));
        ADD_FAILURE() << "an order went onto a bill merged away";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), tables::tableChangedElsewhereMessage(QStringLiteral("B04")));
    }
    // A refusal for an open bill (too little stock) keeps the order to be tried again.
    const int open_ = open(QStringLiteral("B03"), 2).tabl_gues_auto_recn;
    stageOne(open_, QStringLiteral("B03"));
    db().exec(QStringLiteral("UPDATE itemlist SET item_coun = 0, item_limi = ? WHERE item_code = '102001'"),
              {ordering::kLimited});
    EXPECT_THROW(ordering::commitOrder(db(), open_, clock), StepRefused);
    EXPECT_EQ(rowsOf("TableConsListTemp", open_), 1);
}

TEST_P(LeftOverRowsTest, DayEndBeforeTheHandoverTakesTheClearedBillsPaymentRowsWithIt) {
    const int cleared = settledBill(QStringLiteral("A01"), {.member = 20});
    clearTable(db(), QStringLiteral("A01"), cleared);
    ASSERT_EQ(rowsOf("tableguespay", cleared), 3);
    endDay(db(), clock);
    EXPECT_EQ(rowsOf("TableGuestlist", cleared), 0);
    EXPECT_EQ(rowsOf("tableguespay", cleared), 0);
    // Their copies stay for the next handover to count.
    EXPECT_EQ(rowsOf("AllGuesPay", cleared), 3);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM tableguespay WHERE NOT EXISTS (SELECT 1 FROM "
                                         "TableGuestlist b WHERE b.tabl_gues_auto_recn = "
                                         "tableguespay.tabl_gues_auto_recn)"))
                  .toInt(),
              0);
}

SORREL_ON_EVERY_ENGINE(LeftOverRowsTest);

} // namespace
