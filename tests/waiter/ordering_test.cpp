// A waiter's order from the board to the kitchen: opening a table, choosing items by code and by
// class with quantity, kind and note, the commit with its tickets and the bill read back; and what
// another workstation does meanwhile: a table opened, stock sold, a bill settled, a second phone.
#include "common/permissions.h"
#include "common/tables/table_refusals.h"
#include "frontdesk/ordering/order_entry.h"
#include "frontdesk/ordering/order_staging.h"
#include "tests/waiter/waiter_fixture.h"

namespace sorrel::test {
namespace {

using WaiterOrderingTest = WaiterTest;

TEST_P(WaiterOrderingTest, BoardShowsEveryTableWithTheDesksStates) {
    open("A01", 4);
    setState("A03", tables::TableState::kDisabled);
    Phone p = cashier();
    const Answer board = p.get("/api/board");
    ASSERT_EQ(board.status, 200);
    EXPECT_TRUE(board.body["dayOpen"].toBool());
    EXPECT_EQ(board.body["states"].toArray().size(), 6);
    EXPECT_EQ(board.body["states"][1]["name"].toString(), tables::stateNames()[1]);
    QMap<QString, QJsonObject> byCode;
    for (const QJsonValue& t : board.body["tables"].toArray())
        byCode.insert(t["code"].toString(), t.toObject());
    EXPECT_EQ(byCode.size(), tables::loadBoardTables(db(), tables::BoardSort::ByCode).size());
    const struct {
        QString code, state;
        bool canOpen, canOrder;
        int guests;
    } expected[] = {
        {"A01", "2", false, true, 4}, {"A02", "1", true, false, 0}, {"A03", "6", false, false, 0}};
    for (const auto& e : expected) {
        const QJsonObject t = byCode.value(e.code);
        EXPECT_EQ(t["state"].toString(), e.state) << e.code.toStdString();
        EXPECT_EQ(t["canOpen"].toBool(), e.canOpen) << e.code.toStdString();
        EXPECT_EQ(t["canOrder"].toBool(), e.canOrder) << e.code.toStdString();
        EXPECT_EQ(t["guests"].toInt(), e.guests) << e.code.toStdString();
    }
}

TEST_P(WaiterOrderingTest, OrderFromOpeningToTheKitchen) {
    Phone p = cashier();
    openAndStart(p, "A02", 3);
    EXPECT_EQ(stateOf("A02"), tables::TableState::kInUse);
    EXPECT_EQ(table("A02").guestCount, 3);

    // By code, by short code and by class.
    const QJsonArray byCode = p.get("/api/items?typed=1020").body["items"].toArray();
    EXPECT_EQ(byCode.size(), 5);
    EXPECT_EQ(p.get("/api/items?typed=kkkl").body["items"][0]["code"].toString(), QStringLiteral("202001"));
    const QJsonObject menu = p.get("/api/menu").body;
    EXPECT_FALSE(menu["kinds"].toArray().isEmpty());
    EXPECT_EQ(menu["notes"].toArray().size(), 5);
    const QString firstClass = menu["kinds"][0]["classes"][0]["code"].toString();
    EXPECT_FALSE(p.get("/api/items?class=" + firstClass.toStdString()).body["items"].toArray().isEmpty());

    const double cola = stockOf("202001");
    const double fish = stockOf("103001");
    ASSERT_EQ(p.post("/api/order/add", {{"item", "102001"}, {"note", "02"}}).status, 200);
    ASSERT_EQ(p.post("/api/order/add", {{"item", "202001"}, {"quantity", 3}}).status, 200);
    ASSERT_EQ(p.post("/api/order/add", {{"item", "103001"}}).status, 200);
    // Choosing an item again adds one to its line; the line editor sets the quantity.
    ASSERT_EQ(p.post("/api/order/add", {{"item", "103001"}}).status, 200);
    const Answer changed =
        p.post("/api/order/line", {{"line", lineIdOf(p, "202001")}, {"quantity", 2}, {"note", "05"}});
    ASSERT_EQ(changed.status, 200);
    const QJsonArray lines = changed.body["lines"].toArray();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0]["noteName"].toString(), QStringLiteral("加辣"));
    EXPECT_EQ(lines[1]["quantity"].toDouble(), 2);
    EXPECT_EQ(lines[2]["quantity"].toDouble(), 2);
    EXPECT_DOUBLE_EQ(changed.body["total"].toDouble(), 48 + 2 * 8 + 2 * 88);
    EXPECT_EQ(stockOf("202001"), cola); // staged, not yet taken out

    const Answer committed = p.post("/api/order/commit");
    ASSERT_EQ(committed.status, 200) << committed.error().toStdString();
    EXPECT_EQ(committed.body["lines"].toArray().size(), 3);
    EXPECT_DOUBLE_EQ(committed.body["consumed"].toDouble(), 240);
    // The tickets print after the answer; the phone asks how they went.
    const QJsonObject tickets = ticketsOf(p, committed);
    EXPECT_TRUE(tickets["done"].toBool());
    EXPECT_TRUE(tickets["ticketFailures"].toArray().isEmpty());
    EXPECT_EQ(stockOf("202001"), cola - 2);
    EXPECT_EQ(stockOf("103001"), fish - 2);
    const int bill = billOf("A02");
    EXPECT_EQ(count("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = ?", {bill}), 3);
    EXPECT_EQ(
        count("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = ? AND cons_narr_code = '02'",
              {bill}),
        1);
    EXPECT_EQ(count("SELECT count(*) FROM TableConsListTemp"), 0);
    // The tickets went out and the lines are marked sent.
    EXPECT_FALSE(ticketFiles().isEmpty());
    EXPECT_EQ(count("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = ? AND tabl_cons_tran = 0",
                    {bill}),
              0);
    EXPECT_GE(count("SELECT count(*) FROM systemlog WHERE log_oper LIKE ?",
                    {waiter::kWaiterLogMark + QStringLiteral("[落单]A02%")}),
              1);
    // The board's copy follows the bill.
    EXPECT_DOUBLE_EQ(p.get("/api/bill?table=A02").body["total"].toDouble(), table("A02").guestAmount);
    // The order is done: a new change needs the table chosen again.
    EXPECT_EQ(p.post("/api/order/add", {{"item", "102001"}}).error(), waiter::kNoOrderMessage);
}

TEST_P(WaiterOrderingTest, TableOpenedByTheDeskMeanwhile) {
    Phone p = cashier();
    ASSERT_TRUE(p.get("/api/board").status == 200);
    open("A04", 2); // the front desk is quicker
    const Answer r = p.post("/api/tables/open", {{"table", "A04"}, {"guests", 5}});
    EXPECT_EQ(r.status, 409);
    EXPECT_EQ(r.error(), tables::tableChangedElsewhereMessage("A04"));
    EXPECT_EQ(table("A04").guestCount, 2);
    EXPECT_EQ(p.post("/api/tables/open", {{"table", "ZZZ"}, {"guests", 5}}).status, 404);
}

TEST_P(WaiterOrderingTest, StockSoldMeanwhileRefusesTheCommit) {
    Phone p = cashier();
    openAndStart(p, "A05");
    ASSERT_EQ(p.post("/api/order/add", {{"item", "103001"}}).status, 200);
    ASSERT_EQ(p.post("/api/order/line", {{"line", lineIdOf(p, "103001")}, {"quantity", 3}}).status, 200);
    // Another workstation sells the fish but two.
    db().exec("UPDATE itemlist SET item_coun = 2 WHERE item_code = '103001'");
    const Answer r = p.post("/api/order/commit");
    EXPECT_EQ(r.status, 409);
    EXPECT_EQ(r.error(), ordering::overStockMessage(QStringLiteral("清蒸鲈鱼"), 2));
    EXPECT_EQ(stockOf("103001"), 2);
    EXPECT_EQ(count("SELECT count(*) FROM TableConsList"), 0);
    EXPECT_EQ(stagedLines(p).size(), 1); // kept, for the waiter to change
    EXPECT_TRUE(ticketFiles().isEmpty());
}

TEST_P(WaiterOrderingTest, BillSettledOrTableMovedMeanwhile) {
    Phone p = cashier();
    openAndStart(p, "A06");
    ASSERT_EQ(p.post("/api/order/add", {{"item", "102001"}}).status, 200);
    setState("A06", tables::TableState::kSettled);
    for (const Answer& r : {p.post("/api/order/add", {{"item", "102002"}}), p.get("/api/order"),
                            p.post("/api/order/start", {{"table", "A06"}})}) {
        EXPECT_EQ(r.status, 409);
        EXPECT_EQ(r.error(), ordering::kSettledTableMessage);
    }
    const Answer committed = p.post("/api/order/commit");
    EXPECT_EQ(committed.status, 409);
    EXPECT_EQ(count("SELECT count(*) FROM TableConsList"), 0);
}

TEST_P(WaiterOrderingTest, ReturnsAndGiftsFollowTheDesksChecks) {
    Phone p = cashier();
    openAndStart(p, "A07");
    ASSERT_EQ(p.post("/api/order/add", {{"item", "102001"}}).status, 200);
    ASSERT_EQ(p.post("/api/order/commit").status, 200);
    ASSERT_EQ(p.post("/api/order/start", {{"table", "A07"}}).status, 200);
    ASSERT_EQ(p.post("/api/order/add", {{"item", "102001"}}).status, 200);
    const int line = lineIdOf(p, "102001");
    const struct {
        QJsonObject edit;
        int status;
        QString error;
    } cases[] = {
        {{{"line", line}, {"kind", ordering::kReturned}, {"quantity", 2}}, 409, ordering::kOverReturnMessage},
        {{{"line", line}, {"kind", ordering::kGiftReturned}, {"quantity", 1}},
         409,
         ordering::kOverGiftReturnMessage},
        {{{"line", line}, {"kind", ordering::kReturned}, {"quantity", 1}}, 200, {}},
    };
    for (const auto& c : cases) {
        const Answer r = p.post("/api/order/line", c.edit);
        EXPECT_EQ(r.status, c.status) << QJsonDocument(c.edit).toJson().toStdString();
        EXPECT_EQ(r.error(), c.error);
    }
    // A gift needs its permission; the refusal is the desk's.
    db().exec("UPDATE Limitedlist SET limi_real = 0 WHERE mana_code = '02' AND limi_code = 'PB'");
    const Answer gift =
        p.post("/api/order/line", {{"line", line}, {"kind", ordering::kGift}, {"quantity", 1}});
    EXPECT_EQ(gift.status, 409);
    EXPECT_EQ(gift.error(), permissionRefusalMessage(QStringLiteral("PB")));
    EXPECT_EQ(stagedLines(p)[0].toObject()["kind"].toString(), ordering::kReturned);
}

TEST_P(WaiterOrderingTest, StagedLinesBelongToTheirSessionAndBill) {
    Phone first = cashier();
    Phone second = cashier();
    openAndStart(first, "A08");
    ASSERT_EQ(first.post("/api/order/add", {{"item", "102001"}}).status, 200);
    EXPECT_EQ(second.post("/api/order/start", {{"table", "A08"}}).error(), waiter::kOrderTakenMessage);
    EXPECT_EQ(second.post("/api/order/add", {{"item", "102002"}}).error(), waiter::kNoOrderMessage);
    // The page reloaded: the same session takes the same bill back with its lines.
    ASSERT_EQ(first.post("/api/order/start", {{"table", "A08"}}).body["lines"].toArray().size(), 1);
    // A second phone on another table stages apart.
    openAndStart(second, "A09");
    ASSERT_EQ(second.post("/api/order/add", {{"item", "202001"}}).status, 200);
    EXPECT_EQ(stagedLines(first).size(), 1);
    EXPECT_EQ(stagedLines(second).size(), 1);
    // Cancelling drops the lines and lets the bill go.
    ASSERT_EQ(first.post("/api/order/cancel").status, 200);
    EXPECT_EQ(count("SELECT count(*) FROM TableConsListTemp WHERE tabl_gues_auto_recn = ?", {billOf("A08")}),
              0);
    EXPECT_EQ(second.post("/api/order/start", {{"table", "A08"}}).status, 200);
    // A phone holding a bill with nothing staged (its order done, the phone put away) gives way.
    EXPECT_EQ(first.post("/api/order/start", {{"table", "A08"}}).status, 200);
    EXPECT_EQ(second.post("/api/order/add", {{"item", "102002"}}).error(), waiter::kNoOrderMessage);
    EXPECT_EQ(stagedLines(first).size(), 0);
}

TEST_P(WaiterOrderingTest, OpeningWantsTheDayAndThePermissions) {
    Phone p = cashier();
    db().exec("UPDATE Limitedlist SET limi_real = 0 WHERE mana_code = '02' AND limi_code = ?",
              {tables::kOpeningPermission});
    const Answer refused = p.post("/api/tables/open", {{"table", "A10"}, {"guests", 2}});
    EXPECT_EQ(refused.status, 403);
    EXPECT_EQ(refused.error(), permissionRefusalMessage(tables::kOpeningPermission));
    EXPECT_EQ(stateOf("A10"), tables::TableState::kFree);
    // A table the phone cannot order on says why.
    EXPECT_EQ(p.post("/api/order/start", {{"table", "A10"}}).error(),
              tables::tableChangedElsewhereMessage("A10"));
}

SORREL_ON_EVERY_ENGINE(WaiterOrderingTest);

} // namespace
} // namespace sorrel::test
