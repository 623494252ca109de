// Committing an order: the lines and their money, set meals multiplied out, the stock taken out
// of limited items, ingredients and set meals, the bill's totals; an order of one bill never
// touches another's; a failed commit leaves nothing behind; two workstations selling the last
// portions cannot sell more than there is.
#include "common/db/errors.h"
#include "frontdesk/billing/guest_record.h"
#include "tests/frontdesk/ordering/ordering_fixture.h"
#include "tests/support/failing_database.h"

using namespace sorrel;
using namespace sorrel::ordering;

namespace {

class OrderCommitTest : public test::OrderingTest {
  protected:
    double dishTotal(int number) { return billing::GuestRecord::load(db(), number)->tabl_gues_dish; }
};

TEST_P(OrderCommitTest, ReturnsLowerTheDishTotalAndGiftsCostNothingButTakeStock) {
    {
        auto s = staging(db(), bill);
        stage(*s, QStringLiteral("102001"), 2);        // 宫保鸡丁 2 x 48
        stage(*s, QStringLiteral("201001"), 3, kGift); // 青岛啤酒, given
        commit(db(), bill);
    }
    EXPECT_EQ(dishTotal(bill), 96);
    EXPECT_EQ(stockOf(QStringLiteral("201001")), 237);
    auto s = staging(db(), bill);
    EXPECT_TRUE(stage(*s, QStringLiteral("102001"), 2, kReturned).accepted);
    const billing::GuestRecord saved = commit(db(), bill);
    EXPECT_EQ(saved.tabl_gues_dish, 0);
    EXPECT_EQ(dishTotal(bill), 0);
    const RecordSet lines = billLines(bill);
    ASSERT_EQ(lines.rowCount(), 3);
    EXPECT_EQ(lines.number(1, "tabl_cons_tota"), 0); // the gift
    EXPECT_EQ(lines.integer(1, "item_coun_flag"), 1);
    EXPECT_EQ(lines.number(2, "tabl_cons_tota"), -96);
    EXPECT_EQ(lines.integer(2, "item_coun_flag"), -1);
    EXPECT_EQ(lines.text(2, "oper_name"), QStringLiteral("管理员"));
    EXPECT_EQ(stagedRows(bill), 0);
}

TEST_P(OrderCommitTest, ASetMealCommitsOnePricedLineAndItsComponentsPerSet) {
    db().exec(
        QStringLiteral("INSERT INTO itemlist (clas_code, item_code, item_name, item_unit, item_type_code, "
                       "item_unit_pric, item_cost_pric, item_dedu_pric, item_coun, item_limi, item_real) "
                       "VALUES ('401', '401009', '双人餐', '套', '2', 100, 40, 0, 0, '不限', 0)"));
    db().exec(QStringLiteral("INSERT INTO ItemGroup (grou_code, item_code, grou_coun) VALUES "
                             "('401009', '201001', 3), ('401009', '101001', 1)"));
    for (const QString& kind : {kOrdered, kReturned}) {
        auto s = staging(db(), bill);
        stage(*s, QStringLiteral("401009"), 2, kind);
        commit(db(), bill);
    }
    const RecordSet lines = billLines(bill);
    ASSERT_EQ(lines.rowCount(), 6);
    const struct {
        const char* item;
        double quantity, amount;
        int stockSign;
    } expected[] = {{"401009", 2, 200, 1},   {"201001", 6, 0, 1},  {"101001", 2, 0, 1},
                    {"401009", 2, -200, -1}, {"201001", 6, 0, -1}, {"101001", 2, 0, -1}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(lines.text(i, "item_code"), QString::fromLatin1(expected[i].item)) << i;
        EXPECT_EQ(lines.number(i, "tabl_cons_coun"), expected[i].quantity) << i;
        EXPECT_EQ(lines.number(i, "tabl_cons_tota"), expected[i].amount) << i;
        EXPECT_EQ(lines.integer(i, "item_coun_flag"), expected[i].stockSign) << i;
        EXPECT_EQ(lines.text(i, "grou_code").isEmpty(), i % 3 == 0) << i;
    }
    // The beer went out with the sets and came back with the return.
    EXPECT_EQ(stockOf(QStringLiteral("201001")), 240);
}

TEST_P(OrderCommitTest, StockMovesByItsRule) {
    auto s = staging(db(), bill);
    stage(*s, QStringLiteral("103001"), 2); // 清蒸鲈鱼, limited 12
    stage(*s, QStringLiteral("101001"), 4); // 拍黄瓜, unlimited
    stage(*s, QStringLiteral("102004"), 2); // 红烧肉, composite: 0.5 五花肉, 0.05 冰糖, 0.1 葱姜 (unlimited)
    stage(*s, QStringLiteral("401001"), 1); // 商务套餐A: with 2 可口可乐 and one more 红烧肉
    commit(db(), bill);
    EXPECT_EQ(stockOf(QStringLiteral("103001")), 10);
    EXPECT_EQ(stockOf(QStringLiteral("101001")), 0);
    EXPECT_EQ(stockOf(QStringLiteral("202001")), 118);
    EXPECT_DOUBLE_EQ(stockOf(QStringLiteral("M001")), 20 - 3 * 0.5);
    EXPECT_DOUBLE_EQ(stockOf(QStringLiteral("M002")), 5 - 3 * 0.05);
    EXPECT_DOUBLE_EQ(stockOf(QStringLiteral("M003")), -3 * 0.1); // whatever its rule
    // The derived stocks, from what is left: 18.5 / 0.5 of pork is the fewest.
    EXPECT_EQ(stockOf(QStringLiteral("102004")), 37);
    EXPECT_EQ(stockOf(QStringLiteral("401001")), 37);
}

TEST_P(OrderCommitTest, CommittingOneBillLeavesAnotherBillsOrderAlone) {
    const int other = open(QStringLiteral("A02"), 3).tabl_gues_auto_recn;
    auto mine = staging(db(), bill);
    stage(*mine, QStringLiteral("102001"), 1);
    auto theirs = staging(db(), other);
    stage(*theirs, QStringLiteral("101001"), 2);
    stage(*theirs, QStringLiteral("102002"), 1);
    // Entering ordering again for this bill empties only this bill's list.
    mine = staging(db(), bill);
    stage(*mine, QStringLiteral("102003"), 1);
    commit(db(), bill);
    EXPECT_EQ(billLines(bill).rowCount(), 1);
    EXPECT_EQ(billLines(other).rowCount(), 0);
    EXPECT_EQ(stagedRows(other), 2);
    EXPECT_EQ(theirs->lines().size(), 2);
}

TEST_P(OrderCommitTest, AFailedCommitLeavesTheBillAndTheStockAsTheyWere) {
    auto s = staging(db(), bill);
    stage(*s, QStringLiteral("103001"), 2);
    stage(*s, QStringLiteral("401001"), 1);
    const double shown = billing::GuestRecord::load(db(), bill)->tabl_gues_shou;
    for (const char* failOn : {"INSERT INTO TableConsList", "viewReTotal", "UPDATE TableGuestlist"}) {
        test::FailingDatabase failing(db(), QString::fromLatin1(failOn));
        try {
            commit(failing, bill);
            ADD_FAILURE() << failOn << ": the commit went through";
        } catch (const CodedFailure& failure) {
            EXPECT_EQ(failure.code(), QStringLiteral("B100007"));
        }
        EXPECT_EQ(billLines(bill).rowCount(), 0) << failOn;
        EXPECT_EQ(stockOf(QStringLiteral("103001")), 12) << failOn;
        EXPECT_EQ(stockOf(QStringLiteral("202001")), 120) << failOn;
        EXPECT_EQ(billing::GuestRecord::load(db(), bill)->tabl_gues_shou, shown) << failOn;
        EXPECT_EQ(stagedRows(bill), 6) << failOn;
    }
    // The kept lines commit as they were typed: the set meal's components are not multiplied twice.
    commit(db(), bill);
    EXPECT_EQ(billLines(bill).rowCount(), 6);
    EXPECT_EQ(stockOf(QStringLiteral("202001")), 118);
}

// The limited items of one order are checked and taken together: one short item refuses the
// whole order, and each item moves by its own quantity.
TEST_P(OrderCommitTest, SeveralLimitedItemsInOneOrder) {
    setStock(QStringLiteral("202001"), 5);
    auto s = staging(db(), bill);
    stage(*s, QStringLiteral("103001"), 2);                       // 清蒸鲈鱼, 12
    stage(*s, QStringLiteral("201001"), 3);                       // 青岛啤酒, 240
    ASSERT_TRUE(stage(*s, QStringLiteral("202001"), 5).accepted); // 可口可乐
    setStock(QStringLiteral("202001"), 4);                        // one sold elsewhere meanwhile
    try {
        commit(db(), bill);
        ADD_FAILURE() << "the order took more cola than there is";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), overStockMessage(QStringLiteral("可口可乐"), 4));
    }
    EXPECT_EQ(stockOf(QStringLiteral("103001")), 12);
    EXPECT_EQ(stockOf(QStringLiteral("201001")), 240);
    EXPECT_EQ(billLines(bill).rowCount(), 0);
    setStock(QStringLiteral("202001"), 5);
    commit(db(), bill);
    EXPECT_EQ(stockOf(QStringLiteral("103001")), 10);
    EXPECT_EQ(stockOf(QStringLiteral("201001")), 237);
    EXPECT_EQ(stockOf(QStringLiteral("202001")), 0);
}

TEST_P(OrderCommitTest, TwoWorkstationsCannotSellMoreThanTheStock) {
    setStock(QStringLiteral("103001"), 3);
    const int other = open(QStringLiteral("A02"), 2).tabl_gues_auto_recn;
    std::unique_ptr<Database> second = scratch().connectAgain();
    auto mine = staging(db(), bill);
    auto theirs = staging(*second, other);
    ASSERT_TRUE(stage(*mine, QStringLiteral("103001"), 2).accepted);
    ASSERT_TRUE(stage(*theirs, QStringLiteral("103001"), 2).accepted);
    commit(db(), bill);
    try {
        commit(*second, other);
        ADD_FAILURE() << "the second workstation sold the same portions";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), overStockMessage(QStringLiteral("清蒸鲈鱼"), 1));
    }
    EXPECT_EQ(stockOf(QStringLiteral("103001")), 1);
    EXPECT_EQ(billLines(other).rowCount(), 0);
    EXPECT_EQ(stagedRows(other), 1);
}

TEST_P(OrderCommitTest, ATableSettledElsewhereTakesNoOrder) {
    auto s = staging(db(), bill);
    stage(*s, QStringLiteral("102001"), 1);
    setState(QStringLiteral("A01"), QStringLiteral("3"));
    EXPECT_THROW(commit(db(), bill), StepRefused);
    EXPECT_EQ(billLines(bill).rowCount(), 0);
    EXPECT_EQ(stagedRows(bill), 1);
}

SORREL_ON_EVERY_ENGINE(OrderCommitTest);

} // namespace
