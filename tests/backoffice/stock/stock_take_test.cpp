// The stock adjustment, the counts of a stock take and the inventory's queries and documents:
// exact stock changes, applied once, and reports that add up.
#include "backoffice/consumption/item_components.h"
#include "backoffice/stock/stock_adjustment.h"
#include "backoffice/stock/stock_documents.h"
#include "backoffice/stock/stock_posting.h"
#include "backoffice/stock/stock_queries.h"
#include "common/db/errors.h"
#include "tests/backoffice/stock/stock_fixture.h"

using namespace sorrel;
using namespace sorrel::stock;

namespace {

class StockTakeTest : public test::StockTest {
  protected:
    // A composite dish's line in the history: `quantity` of it, returned when `flag` is -1.
    void soldCocktail(double quantity, int flag, const QDate& day) {
        db().exec("INSERT INTO AllCons (tabl_gues_auto_recn, item_code, item_type_code, item_coun_flag, "
                  "item_type_flag, tabl_cons_coun, tabl_cons_time_work) VALUES (1, '0006', '3', ?, ?, ?, ?)",
                  {flag, flag, quantity, QDateTime(day, QTime(0, 0))});
    }
    QStringList texts(const document::Document& d) {
        QStringList all;
        for (const document::Band& band : d.bands)
            for (const document::Row& row : band.rows)
                for (const document::Cell& cell : row.cells)
                    if (!cell.text.isEmpty()) all << cell.text;
        return all;
    }
    QStringList codes(const RecordSet& rows) {
        QStringList c;
        for (int i = 0; i < rows.rowCount(); ++i)
            c << rows.text(i, "item_code");
        return c;
    }
};

TEST_P(StockTakeTest, AnAdjustmentMovesEachItemByItsChangeOnceAndOffersOnlyCountedItems) {
    StockAdjustment adjustment(db());
    adjustment.start();
    EXPECT_EQ(codes(adjustment.candidates()), (QStringList{"%01", "0001", "0002", "0007"}));
    // What is typed is searched as it stands: "%" and "_" are no wildcards.
    EXPECT_EQ(codes(consumption::matchingCandidates(adjustment.candidates(), "%")), QStringList{"%01"});
    EXPECT_EQ(codes(consumption::matchingCandidates(adjustment.candidates(), "_")), QStringList{"%01"});
    EXPECT_EQ(codes(consumption::matchingCandidates(adjustment.candidates(), "QD")), QStringList{"0001"});
    EXPECT_TRUE(adjustment.pick("0001"));
    adjustment.enterChange("5");
    EXPECT_TRUE(adjustment.pick("0002"));
    EXPECT_FALSE(adjustment.pick("0001")); // once
    adjustment.setCurrent(1);
    adjustment.enterChange("-2");
    EXPECT_THROW(adjustment.enterChange("2x"), InvalidInput);
    EXPECT_TRUE(adjustment.commit());
    EXPECT_DOUBLE_EQ(stockOf("0001"), 15);
    EXPECT_DOUBLE_EQ(stockOf("0002"), 18);
    EXPECT_DOUBLE_EQ(stockOf("0005"), 9); // the set meal follows
    EXPECT_FALSE(adjustment.commit());    // a second 保存 moves nothing
    EXPECT_DOUBLE_EQ(stockOf("0001"), 15);
    EXPECT_EQ(count("SELECT count(*) FROM ItemListTemp"), 0);
}

TEST_P(StockTakeTest, TheStockTakeListsCountedItemsAndTheMenuEveryItemButSetMeals) {
    EXPECT_EQ(codes(stockTake(db(), StockTakeRows::Counted)), (QStringList{"%01", "0001", "0002", "0007"}));
    EXPECT_EQ(codes(stockTake(db(), StockTakeRows::Menu)),
              (QStringList{"%01", "0001", "0002", "0003", "0004", "0007"}));
    EXPECT_EQ(codes(stockTake(db(), StockTakeRows::Counted, "M")), QStringList{"0007"});
}

TEST_P(StockTakeTest, TheStockTakeSheetSumsByClassKindAndAllAndTheMenuShowsNoStock) {
    const PrintedBy by{"岚舟测试酒楼", "管理员", clock.now()};
    const QStringList sheet = texts(stockTakeSheet(stockTake(db(), StockTakeRows::Counted), by));
    EXPECT_EQ(sheet.first(), kStockTakeTitle);
    // 啤酒: 7×9 + 10×8 + 20×5 = 243 at price, 7×3 + 10×4 + 20×2 = 101 at cost; 基酒 50×100, 50×40.
    for (const QString& expected :
         {QStringLiteral("单位名称：岚舟测试酒楼"), QStringLiteral("大类：酒水"),
          QStringLiteral("分类->啤酒"), QStringLiteral("小计金额："), QStringLiteral("243.00"),
          QStringLiteral("101.00"), QStringLiteral("合计金额："), QStringLiteral("5000.00"),
          QStringLiteral("2000.00"), QStringLiteral("总计金额："), QStringLiteral("5243.00"),
          QStringLiteral("2101.00"), QStringLiteral("制表人：管理员"),
          QStringLiteral("制表时间：2026-03-04 10:00:00")})
        EXPECT_TRUE(sheet.contains(expected)) << expected.toStdString();
    const QStringList menu = texts(menuSheet(stockTake(db(), StockTakeRows::Menu), by));
    EXPECT_EQ(menu.first(), kMenuTitle);
    EXPECT_FALSE(menu.contains(QStringLiteral("库存")));
    EXPECT_FALSE(menu.contains(QStringLiteral("成本")));
    EXPECT_FALSE(menu.contains(QStringLiteral("总计金额：")));
    EXPECT_TRUE(menu.contains(QStringLiteral("毛巾")));
}

TEST_P(StockTakeTest, IngredientUseCountsEachCompositeSoldLessThoseReturned) {
    const QDate day(2026, 3, 4);
    soldCocktail(4, 1, day);
    RecordSet use = ingredientUse(db(), day, day);
    ASSERT_EQ(use.rowCount(), 1);
    EXPECT_NEAR(use.number(0, "mixt"), 0.8, 1e-9);
    soldCocktail(1, -1, day);
    soldCocktail(7, 1, day.addDays(1)); // outside
    use = ingredientUse(db(), day, day);
    EXPECT_NEAR(use.number(0, "mixt"), 0.6, 1e-9);
    const QStringList doc =
        texts(ingredientUseDocument(use, day, day, {"岚舟测试酒楼", "管理员", clock.now()}));
    EXPECT_TRUE(doc.contains(QStringLiteral("统计时间：2026-03-04 至 2026-03-04")));
    EXPECT_TRUE(doc.contains(QStringLiteral("0.6")));
    EXPECT_TRUE(doc.contains(QStringLiteral("操作员工：管理员")));
}

TEST_P(StockTakeTest, StockAccountsFindAPartnersBillsByCodeOverBothEndDates) {
    postBill(db(), enterBill(kPurchase, "001", {{"0001", 1, 4}}));
    postBill(db(), enterBill(kPurchase, "002", {{"0002", 2, 2}}));
    const lists::Choices partners = postedPartners(db());
    ASSERT_EQ(partners.size(), 2);
    EXPECT_EQ(partners[0].name, partners[1].name); // both 青岛, told apart by code
    const QDate day(2026, 3, 4);
    EXPECT_EQ(postedBills(db(), "001", day, day).rowCount(), 1);
    EXPECT_EQ(postedBills(db(), "001", day.addDays(-3), day).rowCount(), 1);
    EXPECT_EQ(postedBills(db(), "001", day.addDays(1), day.addDays(2)).rowCount(), 0);
    EXPECT_EQ(postedBills(db(), "", day, day).rowCount(), 0);
    const RecordSet bill = postedBills(db(), "002", day, day);
    EXPECT_EQ(postedLines(db(), bill.value(0, "stor_bill_ID")).rowCount(), 1);

    EXPECT_EQ(goodsLines(db(), "", std::nullopt).rowCount(), 2);
    EXPECT_EQ(goodsLines(db(), "0001", DateRange{day, day}).rowCount(), 1);
    EXPECT_EQ(goodsLines(db(), "0001", DateRange{day.addDays(1), day.addDays(1)}).rowCount(), 0);
    EXPECT_EQ(goodsLines(db(), "'%", DateRange{day, day}).rowCount(), 0);

    const QStringList doc = texts(
        postedBillDocument(db(), bill.value(0, "stor_bill_ID"), {"岚舟测试酒楼", "管理员", clock.now()}));
    for (const QString& expected :
         {QStringLiteral("进货单"), QStringLiteral("往来单位：青岛"), QStringLiteral("总金额"),
          QStringLiteral("合计："), QStringLiteral("4.00"), QStringLiteral("操作员工：管理员"),
          QStringLiteral("录入时间：2026-03-04 10:00:00")})
        EXPECT_TRUE(doc.contains(expected)) << expected.toStdString();
}

TEST_P(StockTakeTest, LowStockListsCountedItemsAtOrBelowTheMark) {
    setStock("0001", 5);
    setStock("0002", 6);
    db().exec("UPDATE itemlist SET item_coun = -1 WHERE item_code = '0003'"); // not counted
    EXPECT_EQ(codes(lowStock(db())), QStringList{"0001"});
}

// Another workstation works between this one's reading and its writing.
TEST_P(StockTakeTest, TwoWorkstationsNeverOverwriteEachOthersStock) {
    std::unique_ptr<Database> desk = scratch().connectAgain();
    const auto sell = [&](const char* item, double quantity) {
        desk->exec("UPDATE itemlist SET item_coun = item_coun - ? WHERE item_code = ?", {quantity, item});
    };

    // 3 sold between entering and posting a purchase of 10 at 6 on 20 at cost 4: 27, cost on 17.
    setStock("0001", 20, 4);
    const QVariant id = enterBill(kPurchase, "001", {{"0001", 10, 6}});
    sell("0001", 3);
    postBill(db(), id);
    EXPECT_DOUBLE_EQ(stockOf("0001"), 27);
    EXPECT_DOUBLE_EQ(costOf("0001"), 4.74);

    // One bill posted from two workstations: once.
    const QVariant twice = enterBill(kPurchase, "001", {{"0002", 1, 1}});
    postBill(*desk, twice);
    EXPECT_THROW(postBill(db(), twice), StepRefused);
    EXPECT_DOUBLE_EQ(stockOf("0002"), 21);
    EXPECT_DOUBLE_EQ(payable("001"), 61);

    // Two adjustments at once, each applied once.
    StockAdjustment here(db()), there(*desk);
    here.start();
    there.start();
    here.pick("0002");
    there.pick("0002");
    there.enterChange("4");
    EXPECT_TRUE(here.commit());
    EXPECT_TRUE(there.commit());
    EXPECT_DOUBLE_EQ(stockOf("0002"), 26);

    // Counted 10 on a book of 12, 2 sold before the count is applied: 8.
    setStock("0001", 12);
    const RecordSet sheet = stockTake(db(), StockTakeRows::Counted);
    const double book = sheet.number(sheet.locate({{"item_code", "0001"}}), "item_coun");
    sell("0001", 2);
    EXPECT_EQ(applyCounts(db(), {{"0001", book, 10}}), 1);
    EXPECT_DOUBLE_EQ(stockOf("0001"), 8);

    // The last stock sold before a return goes out: refused.
    const QVariant back = enterBill(kReturn, "001", {{"0001", 8, 4}});
    sell("0001", 1);
    EXPECT_THROW(postBill(db(), back), StepRefused);
    EXPECT_DOUBLE_EQ(stockOf("0001"), 7);

    // A payment from the desk's workstation and a posting here, one partner: both kept.
    const QVariant more = enterBill(kPurchase, "001", {{"0002", 10, 2}});
    desk->exec("UPDATE WorkList SET work_pay_shou = work_pay_shou - 11 WHERE work_code = '001'");
    postBill(db(), more);
    EXPECT_DOUBLE_EQ(payable("001"), 70);
}

SORREL_ON_EVERY_ENGINE(StockTakeTest);

} // namespace
