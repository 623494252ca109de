// The menu changed from the ordering screen: a new list price that the staged line takes too,
// and a new item with its checks.
#include "frontdesk/ordering/menu_changes.h"
#include "tests/frontdesk/ordering/ordering_fixture.h"

using namespace sorrel;
using namespace sorrel::ordering;

namespace {

class MenuChangesTest : public test::OrderingTest {};

TEST_P(MenuChangesTest, ANewPriceStaysOnTheMenuAndReachesOnlyThisBillsStagedLine) {
    const int other = open(QStringLiteral("A02"), 2).tabl_gues_auto_recn;
    auto mine = staging(db(), bill);
    auto theirs = staging(db(), other);
    mine->choose(item(QStringLiteral("102001")));
    theirs->choose(item(QStringLiteral("102001")));
    adjustPrice(db(), QStringLiteral("102001"), typedPrice(QStringLiteral("52.5")), bill);
    EXPECT_EQ(item(QStringLiteral("102001")).price, 52.5);
    EXPECT_EQ(mine->lines().first().price, 52.5);
    EXPECT_EQ(theirs->lines().first().price, 48);
    adjustPrice(db(), QStringLiteral("102001"), typedPrice(QString()), bill);
    EXPECT_EQ(item(QStringLiteral("102001")).price, 0);
}

TEST_P(MenuChangesTest, ANewItemNeedsEveryFieldAndACodeOfItsOwn) {
    const struct {
        NewItem item;
        QString refusal;
        QString added;
    } cases[] = {
        {{"102", "102009", "干锅花菜", "份", "32", "gghc"}, {}, {}},
        {{"102", "102010", "干锅花菜", "份", "32", "  "}, kNewItemFieldsEmptyMessage, {}},
        {{"102", "102011", "", "份", "32", "x"}, kNewItemFieldsEmptyMessage, {}},
        {{"102", "102001", "宫保虾球", "份", "58", "gbxq"}, kNewItemCodeInClassMessage, {}},
        {{"101", "102001", "宫保虾球", "份", "58", "gbxq"}, {}, kNewItemCodeElsewhereMessage},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(newItemRefusal(db(), c.item), c.refusal) << c.item.code.toStdString();
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(addNewItem(db(), c.item), c.added) << c.item.code.toStdString();
        }
    }
    const OrderItem added = item(QStringLiteral("102009"));
    EXPECT_EQ(added.classCode, QStringLiteral("102"));
    EXPECT_EQ(added.price, 32);
    EXPECT_EQ(added.type, kSingleItem);
    EXPECT_EQ(added.limit, kUnlimited);
    EXPECT_TRUE(added.realPrice);
    EXPECT_EQ(item(QStringLiteral("102001")).name, QStringLiteral("宫保鸡丁"));
}

SORREL_ON_EVERY_ENGINE(MenuChangesTest);

} // namespace
