// Taking an order into the staging list: one line per item however often it is chosen, the
// limited stock, the warning before it runs out, disabled items, returns and gift returns
// against what the bill holds, the permissions of gifts and returns, and set meals.
#include "tests/frontdesk/ordering/ordering_fixture.h"

using namespace sorrel;
using namespace sorrel::ordering;

namespace {

class StagingTest : public test::OrderingTest {};

const QString kDuck = QStringLiteral("102001"); // 宫保鸡丁, unlimited
const QString kBass = QStringLiteral("103001"); // 清蒸鲈鱼, limited

TEST_P(StagingTest, ChoosingAgainAddsToTheOneLineAndARightDoubleClickTakesOneOff) {
    auto s = staging(db(), bill);
    for (int i = 0; i < 3; ++i)
        s->choose(item(kDuck));
    ASSERT_EQ(s->lines().size(), 1);
    EXPECT_EQ(stagedQuantity(*s, kDuck), 3);
    EXPECT_TRUE(s->takeOneOff(kDuck));
    EXPECT_EQ(stagedQuantity(*s, kDuck), 2);
    // An item that is not staged is ignored; a line at 0 goes no lower.
    EXPECT_FALSE(s->takeOneOff(kBass));
    s->takeOneOff(kDuck);
    s->takeOneOff(kDuck);
    EXPECT_FALSE(s->takeOneOff(kDuck));
    EXPECT_EQ(stagedQuantity(*s, kDuck), 0);
}

TEST_P(StagingTest, LimitedStockIsNeverOrderedBeyondWhatItHolds) {
    setStock(kBass, 2);
    auto s = staging(db(), bill);
    for (int i = 0; i < 3; ++i)
        s->choose(item(kBass));
    EXPECT_EQ(stagedQuantity(*s, kBass), 2);
    const int line = s->lines().first().id;
    LineEdit typed;
    typed.quantity = 3;
    const Verdict verdict = s->validate(line, typed);
    EXPECT_FALSE(verdict.accepted);
    EXPECT_TRUE(verdict.clearQuantity);
    EXPECT_EQ(verdict.message, QStringLiteral("[清蒸鲈鱼/2]点单数已经超过库存数，请重新输入数量！"));
    EXPECT_EQ(stagedQuantity(*s, kBass), 2); // the line as it was
    // An item whose stock is gone is staged at 0.
    setStock(kDuck, 0);
    s->choose(item(kDuck));
    EXPECT_EQ(stagedQuantity(*s, kDuck), 0);
}

TEST_P(StagingTest, TheLowStockWarningComesAtTheLimit) {
    // The limit is 5: stock 6 with one staged leaves 5, not above it.
    setStock(kBass, 6);
    auto s = staging(db(), bill);
    EXPECT_TRUE(s->choose(item(kBass)).message.isEmpty());
    EXPECT_EQ(s->choose(item(kBass)).message, QStringLiteral("库存数已小于[5],库存下限预警！"));
    EXPECT_EQ(stagedQuantity(*s, kBass), 2);
    // Typing a quantity that leaves less than the limit is accepted with the warning.
    LineEdit typed;
    typed.quantity = 2;
    const Verdict verdict = s->validate(s->lines().first().id, typed);
    EXPECT_TRUE(verdict.accepted);
    EXPECT_EQ(verdict.message, lowStockMessage(5));
    // Unlimited items never warn.
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(s->choose(item(kDuck)).message.isEmpty());
}

TEST_P(StagingTest, ADisabledItemIsRefused) {
    auto s = staging(db(), bill);
    const Choice choice = s->choose(item(QStringLiteral("103003"))); // 波士顿龙虾, 禁用
    EXPECT_EQ(choice.lineId, 0);
    EXPECT_EQ(choice.message, kDisabledItemMessage);
    EXPECT_TRUE(s->empty());
}

TEST_P(StagingTest, ReturnsAndGiftReturnsAreCheckedAgainstTheBill) {
    {
        auto s = staging(db(), bill);
        stage(*s, kDuck, 2);
        stage(*s, kBass, 1, kGift);
        commit(db(), bill);
    }
    const struct Case {
        const char* item;
        double quantity;
        QString kind;
        QString withheld;
        bool accepted;
        QString message;
    } cases[] = {
        {"102001", 3, kReturned, {}, false, kOverReturnMessage},
        {"102001", 2, kReturned, {}, true, {}},
        {"103001", 2, kGiftReturned, {}, false, kOverGiftReturnMessage},
        {"103001", 1, kGiftReturned, {}, true, {}},
        {"102001", 1, kReturned, QStringLiteral("CB"), false, {}}, // the permission check told why
        {"102001", 1, kGift, QStringLiteral("PB"), false, {}},
        {"102001", 1, kGift, QStringLiteral("CB"), true, {}},
    };
    for (const Case& c : cases) {
        auto s = staging(db(), bill, c.withheld);
        const Verdict verdict = stage(*s, QString::fromLatin1(c.item), c.quantity, c.kind);
        EXPECT_EQ(verdict.accepted, c.accepted) << c.item << " " << c.quantity;
        EXPECT_EQ(verdict.message, c.message) << c.item << " " << c.quantity;
        const StagedLine line = s->lines().first();
        // A refused change leaves the line as it was chosen: one, ordered.
        EXPECT_EQ(line.kind, c.accepted ? c.kind : kOrdered) << c.item;
        EXPECT_EQ(line.quantity, c.accepted ? c.quantity : 1) << c.item;
    }
}

TEST_P(StagingTest, ASetMealIsStagedWithItsDirectComponentsAndDeletedWithThem) {
    auto s = staging(db(), bill);
    s->choose(item(QStringLiteral("401001"))); // 商务套餐A: four direct components and a composite's three
    s->choose(item(kDuck));
    EXPECT_EQ(s->lines().size(), 2); // the components are not shown
    const RecordSet parts = db().query(
        QStringLiteral("SELECT item_code, tabl_cons_coun, menu_type_code, item_type_flag, cons_grou_narr "
                       "FROM TableConsListTemp WHERE grou_code = '401001' ORDER BY tabl_cons_ID"));
    ASSERT_EQ(parts.rowCount(), 4);
    const char* const codes[] = {"102001", "102004", "104003", "202001"};
    const double perSet[] = {1, 1, 2, 2};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(parts.text(i, "item_code"), QString::fromLatin1(codes[i]));
        EXPECT_EQ(parts.number(i, "tabl_cons_coun"), perSet[i]);
        EXPECT_EQ(parts.text(i, "menu_type_code"), kGift);
        EXPECT_EQ(parts.integer(i, "item_type_flag"), 0);
        EXPECT_EQ(parts.text(i, "cons_grou_narr"), QStringLiteral("套餐-商务套餐A"));
    }
    s->remove(s->lines().first().id);
    EXPECT_EQ(stagedRows(bill), 1);
    EXPECT_EQ(s->lines().first().itemCode, kDuck);
}

SORREL_ON_EVERY_ENGINE(StagingTest);

} // namespace
