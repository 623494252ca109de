// Stock bills from entry to the books: what a posting does to the stock, the cost, the partner's
// balance and the history, and what it refuses — leaving everything as it was.
#include "backoffice/stock/stock_posting.h"
#include "common/db/errors.h"
#include "tests/backoffice/stock/stock_fixture.h"

using namespace sorrel;
using namespace sorrel::stock;

namespace {

class StockPostingTest : public test::StockTest {};

TEST_P(StockPostingTest, ANewBillStartsAsAPurchaseOfTodayByTheOperatorAndASaleTakesItsLinesOut) {
    ASSERT_TRUE(lists().bills().append());
    const lists::MaintenanceList& bills = lists().bills();
    EXPECT_EQ(bills.text("stor_bill_type"), kPurchase);
    EXPECT_EQ(bills.value("stor_deta_flag").toInt(), 1);
    EXPECT_EQ(bills.text("oper_code"), "01");
    EXPECT_EQ(bills.value("stor_bill_date_work").toDateTime(), QDateTime(QDate(2026, 3, 4), QTime(0, 0)));
    EXPECT_EQ(bills.value("stor_bill_date").toDateTime(), clock.now());
    for (const char* c : {"stor_pay_shou", "stor_pay_fact", "stor_inco_shou", "stor_inco_fact"})
        EXPECT_EQ(bills.value(c).toDouble(), 0) << c;
    lists().bills().cancel();

    const QVariant id = enterBill(kSale, "101", {{"0002", 3, 5}, {"0001", 1, 8}});
    EXPECT_EQ(count("SELECT stor_deta_flag FROM StoreBill WHERE stor_bill_ID = ?", {id}), -1);
    EXPECT_EQ(count("SELECT count(*) FROM StoreDetail WHERE stor_bill_ID = ? AND stor_deta_flag = -1", {id}),
              2);
    EXPECT_DOUBLE_EQ(
        db().scalar("SELECT stor_inco_shou FROM StoreBill WHERE stor_bill_ID = ?", {id}).toDouble(), 23);
}

TEST_P(StockPostingTest, TheRequiredFieldsOfABillAreAskedForBeforeItIsSaved) {
    ASSERT_TRUE(lists().bills().append());
    EXPECT_FALSE(lists().bills().save());
    EXPECT_EQ(sink.texts().value(0), "[单据类型]、[经办人]不为空！");
    EXPECT_EQ(count("SELECT count(*) FROM StoreBill"), 0);
}

// Stock and moving average cost after one posting.
TEST_P(StockPostingTest, APostingMovesTheStockAndAveragesThePurchaseCost) {
    const struct {
        const char* what;
        QString type;
        double stock, cost, sellingPrice;
        bool averaging;
        double quantity, price;
        double stockAfter, costAfter;
    } cases[] = {
        {"purchase averages", kPurchase, 10, 4, 8, true, 10, 6, 20, 5},
        {"selling price below the average keeps the cost", kPurchase, 10, 4, 4.5, true, 10, 6, 20, 4},
        {"box off keeps the cost", kPurchase, 10, 4, 8, false, 10, 6, 20, 4},
        {"sale", kSale, 20, 4, 8, true, 3, 8, 17, 4},
        {"return to the supplier", kReturn, 17, 4, 8, true, 2, 4, 15, 4},
        {"stock below nothing counts as none", kPurchase, -8, 4, 8, true, 10, 6, 2, 6},
        {"nothing bought keeps the cost", kPurchase, 10, 4, 8, true, 0, 6, 10, 4},
        {"the cost to the cent", kPurchase, 3, 1, 8, true, 4, 2, 7, 1.57},
    };
    for (const auto& c : cases) {
        setStock("0001", c.stock, c.cost);
        db().exec("UPDATE itemlist SET item_unit_pric = ? WHERE item_code = '0001'", {c.sellingPrice});
        setAverageCost(db(), c.averaging);
        const QVariant id = enterBill(c.type, "001", {{"0001", c.quantity, c.price}});
        postBill(db(), id);
        EXPECT_DOUBLE_EQ(stockOf("0001"), c.stockAfter) << c.what;
        EXPECT_DOUBLE_EQ(costOf("0001"), c.costAfter) << c.what;
    }
}

TEST_P(StockPostingTest, APostedBillKeepsExactlyItsLinesAndLeavesNothingOpen) {
    const QVariant id = enterBill(kPurchase, "001", {{"0001", 2, 4.333}, {"0002", 3, 1.5}, {"0001", 9, 9}});
    postBill(db(), id);
    EXPECT_EQ(count("SELECT count(*) FROM StoreBill"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM StoreDetail"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM AllStoreBill WHERE stor_bill_ID = ?", {id}), 1);
    const RecordSet lines =
        db().query("SELECT item_code, item_coun, item_mone, stor_deta_flag FROM AllStoreDetail "
                   "WHERE stor_bill_ID = ? ORDER BY item_code",
                   {id});
    ASSERT_EQ(lines.rowCount(), 2); // the item picked twice is on the bill once
    EXPECT_DOUBLE_EQ(lines.number(0, "item_mone"), 8.67);
    EXPECT_DOUBLE_EQ(lines.number(1, "item_mone"), 4.5);
    EXPECT_DOUBLE_EQ(db().scalar("SELECT stor_pay_shou FROM AllStoreBill").toDouble(), 13.17);
    EXPECT_EQ(db().scalar("SELECT work_name_s FROM AllStoreBill").toString(), "青岛");
    // The set meal follows its components: 12 beers, 23 colas make 11 meals.
    EXPECT_DOUBLE_EQ(stockOf("0005"), 11);
}

TEST_P(StockPostingTest, APartnerBalanceMovesByWhatEachBillAndPaymentLeavesOwing) {
    // 500 payable, 200 paid: 300 owed to the supplier.
    postBill(db(), enterBill(kPurchase, "001", {{"0001", 50, 10}}, 200));
    EXPECT_DOUBLE_EQ(payable("001"), 300);
    EXPECT_DOUBLE_EQ(receivable("001"), 0);
    // Paid 50 more: 250; the next posting keeps that payment.
    lists().partnerTypes().moveToKey("01");
    lists().partners().moveToKey("001");
    ASSERT_TRUE(lists().payments().append());
    lists().payments().edit("work_pay", 50.0);
    ASSERT_TRUE(lists().payments().save());
    EXPECT_DOUBLE_EQ(payable("001"), 250);
    postBill(db(), enterBill(kPurchase, "001", {{"0002", 10, 1}}));
    EXPECT_DOUBLE_EQ(payable("001"), 260);
    // A return of 300 turns the balance round: the supplier owes 40.
    postBill(db(), enterBill(kReturn, "001", {{"0001", 30, 10}}));
    EXPECT_DOUBLE_EQ(payable("001"), 0);
    EXPECT_DOUBLE_EQ(receivable("001"), 40);
    // The other partner of the same short name is untouched.
    EXPECT_DOUBLE_EQ(payable("002"), 0);
    EXPECT_DOUBLE_EQ(receivable("002"), 0);
    EXPECT_DOUBLE_EQ(receivable("101"), 100);
}

TEST_P(StockPostingTest, PaymentsMoveTheBalanceOnceAndAreNeverChanged) {
    const struct {
        const char* partner;
        double received, paid;
        double receivableAfter, payableAfter;
    } cases[] = {
        {"101", 30, 0, 70, 0}, // a customer owing 100 pays 30
        {"002", 0, 50, 50, 0}, // a supplier owed nothing is paid 50: he owes it back
    };
    for (const auto& c : cases) {
        const QString type = c.partner == QLatin1String("101") ? "02" : "01";
        lists().partnerTypes().moveToKey(type);
        lists().partners().moveToKey(c.partner);
        ASSERT_TRUE(lists().payments().append());
        lists().payments().edit("work_inco", c.received);
        lists().payments().edit("work_pay", c.paid);
        ASSERT_TRUE(lists().payments().save());
        EXPECT_DOUBLE_EQ(receivable(c.partner), c.receivableAfter) << c.partner;
        EXPECT_DOUBLE_EQ(payable(c.partner), c.payableAfter) << c.partner;
        lists().payments().definition().leaveStep();
        EXPECT_DOUBLE_EQ(receivable(c.partner), c.receivableAfter) << "回退 only returns";
    }
    // A stored payment stays as it is; one of nothing is refused.
    EXPECT_FALSE(lists().payments().edit("work_pay", 10.0));
    EXPECT_TRUE(sink.texts().contains("只能增加，不能被修改！"));
    ASSERT_TRUE(lists().payments().append());
    EXPECT_FALSE(lists().payments().save());
    EXPECT_TRUE(sink.texts().contains("收款、付款不能同时为零！"));
    EXPECT_EQ(count("SELECT count(*) FROM WorkDetail"), 2);
    EXPECT_EQ(count("SELECT count(*) FROM WorkDetail WHERE work_flag <> 0"), 0);
}

TEST_P(StockPostingTest, ATypeChangeMovesTheAmountsToTheNewTypesPair) {
    const QVariant id = enterBill(kPurchase, "001", {{"0001", 5, 10}}, 20);
    lists().bills().edit("stor_bill_type", kReturn);
    ASSERT_TRUE(lists().bills().save());
    postBill(db(), id);
    EXPECT_DOUBLE_EQ(receivable("001"), 30); // 50 to have back, 20 of it received
    EXPECT_DOUBLE_EQ(payable("001"), 0);
    EXPECT_DOUBLE_EQ(stockOf("0001"), 5);
}

// Every refusal leaves the stock, the balances, the open bill and the history as they were.
TEST_P(StockPostingTest, ARefusedPostingChangesNothing) {
    const struct {
        const char* what;
        std::function<QVariant()> make;
        QString message;
    } cases[] = {
        {"a return over the stock",
         [this] {
             return enterBill(kReturn, "001", {{"0001", 11, 4}});
         },
         "[青岛啤酒/10]出库数量已经超过库存数，不能执行！"},
        {"no staff",
         [this] {
             const QVariant id = enterBill(kPurchase, "001", {{"0001", 1, 4}});
             db().exec("UPDATE StoreBill SET oper_code = NULL WHERE stor_bill_ID = ?", {id});
             return id;
         },
         "[单据类型]、[经办人]不为空！"},
        {"a line's item disabled since",
         [this] {
             const QVariant id = enterBill(kPurchase, "001", {{"0002", 1, 4}});
             db().exec("UPDATE itemlist SET item_limi = '禁用' WHERE item_code = '0002'");
             return id;
         },
         kDisabledItemMessage},
    };
    for (const auto& c : cases) {
        const QVariant id = c.make();
        const int lines = count("SELECT count(*) FROM StoreDetail WHERE stor_bill_ID = ?", {id});
        try {
            postBill(db(), id);
            ADD_FAILURE() << c.what << " was posted";
        } catch (const StepRefused& refused) {
            EXPECT_EQ(refused.text(), c.message) << c.what;
        }
        EXPECT_DOUBLE_EQ(stockOf("0001"), 10) << c.what;
        EXPECT_DOUBLE_EQ(payable("001"), 0) << c.what;
        EXPECT_DOUBLE_EQ(receivable("001"), 0) << c.what;
        EXPECT_EQ(count("SELECT count(*) FROM AllStoreBill"), 0) << c.what;
        EXPECT_EQ(count("SELECT count(*) FROM StoreDetail WHERE stor_bill_ID = ?", {id}), lines) << c.what;
        db().exec("DELETE FROM StoreDetail");
        db().exec("DELETE FROM StoreBill");
        db().exec("UPDATE itemlist SET item_limi = '有限' WHERE item_code = '0002'");
        lists().bills().reload();
    }
}

TEST_P(StockPostingTest, LinesRefuseDisabledItemsSetMealsAndAPostedBill) {
    const QVariant id = enterBill(kPurchase, "001", {});
    const struct {
        const char* item;
        QString message;
    } refused[] = {{"0004", kDisabledItemMessage}, {"0005", kMadeItemMessage}, {"0006", kMadeItemMessage}};
    for (const auto& r : refused) {
        try {
            lists().addLine(r.item);
            ADD_FAILURE() << r.item << " was added";
        } catch (const StepRefused& e) {
            EXPECT_EQ(e.text(), r.message) << r.item;
        }
    }
    EXPECT_FALSE(lists().addLine("0001").isNull());
    EXPECT_TRUE(lists().addLine("0001").isNull()); // once
    EXPECT_EQ(count("SELECT count(*) FROM StoreDetail WHERE stor_bill_ID = ?", {id}), 1);

    // Posted from here, the lines panel still open: its next line, edit or delete is refused.
    postBill(db(), id);
    EXPECT_THROW(lists().addLine("0002"), StepRefused);
    lists().lines().edit("item_coun", 99.0);
    EXPECT_FALSE(lists().lines().save());
    EXPECT_TRUE(sink.texts().contains(kBillGoneMessage));
    EXPECT_THROW(closeLines(db(), id), StepRefused);
    EXPECT_EQ(count("SELECT count(*) FROM AllStoreDetail WHERE item_coun = 99"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM StoreDetail"), 0);
}

TEST_P(StockPostingTest, ADeletedBillTakesItsLines) {
    enterBill(kPurchase, "001", {{"0001", 1, 1}, {"0002", 1, 1}});
    ASSERT_TRUE(lists().bills().remove());
    EXPECT_EQ(count("SELECT count(*) FROM StoreDetail"), 0);
}

TEST_P(StockPostingTest, PartnerTypesAndPartnersInUseKeepTheirCodes) {
    lists::MaintenanceList& types = lists().partnerTypes();
    ASSERT_TRUE(types.moveToKey("01"));
    EXPECT_FALSE(types.remove());
    EXPECT_FALSE(types.edit("stor_work_type_code", "09"));
    EXPECT_TRUE(types.append());
    EXPECT_EQ(types.text("stor_work_type_rema"), " ");
    types.edit("stor_work_type_code", "01");
    types.edit("stor_work_type_name", "重复");
    EXPECT_FALSE(types.save());
    types.edit("stor_work_type_code", "03");
    EXPECT_TRUE(types.save()); // the duplicate code typed again runs on
    postBill(db(), enterBill(kPurchase, "001", {{"0001", 1, 1}}));
    lists().partnerTypes().moveToKey("01");
    lists::MaintenanceList& partners = lists().partners();
    ASSERT_TRUE(partners.moveToKey("001"));
    EXPECT_FALSE(partners.remove());
    ASSERT_TRUE(partners.append());
    EXPECT_EQ(partners.text("stor_work_type_code"), "01");
    EXPECT_FALSE(partners.save());
    const QStringList expected{"[单位类型]下面设有[往来单位]，所以不能被删除！",
                               "[单位类型]下面设有[往来单位]，所以不能被修改！", "编号有重复，请从新输入！",
                               "[往来单位]有单据或往来帐款，所以不能被删除！",
                               "往来单位[编码]、[简称]、[名称]不能为空！"};
    EXPECT_EQ(sink.texts(), expected);
}

TEST_P(StockPostingTest, TheStockFlagAloneIsSavedAndTheSetMealsFollowIt) {
    ASSERT_TRUE(lists().kinds().moveToKey("1"));
    ASSERT_TRUE(lists().classes().moveToKey("101"));
    ASSERT_TRUE(lists().items().moveToKey("0001"));
    db().exec("UPDATE itemlist SET item_coun = 7 WHERE item_code = '0001'"); // a front desk sold 3
    ASSERT_TRUE(lists().items().edit("item_limi", kDisabled));
    ASSERT_TRUE(lists().items().save());
    lists().items().reload(); // as the panel shows the set meals afterwards
    EXPECT_EQ(db().scalar("SELECT item_limi FROM itemlist WHERE item_code = '0001'").toString(), kDisabled);
    EXPECT_DOUBLE_EQ(stockOf("0001"), 7);
    EXPECT_EQ(db().scalar("SELECT item_limi FROM itemlist WHERE item_code = '0005'").toString(), kDisabled);
    EXPECT_DOUBLE_EQ(stockOf("0005"), 0);
    ASSERT_TRUE(lists().items().moveToKey("0005"));
    lists().items().edit("item_limi", kLimited);
    EXPECT_FALSE(lists().items().save());
    EXPECT_EQ(sink.texts(), QStringList{kMadeItemMessage});
}

SORREL_ON_EVERY_ENGINE(StockPostingTest);

} // namespace
