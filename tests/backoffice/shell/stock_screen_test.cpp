// The inventory screens driven as a manager uses them on the demo venue: a purchase entered and
// posted, the captions by bill type, the adjustment with Enter left to its fields, the queries,
// the stock take's counts and the printed sheet read back from a PDF.
#include "backoffice/stock/stock_documents.h"
#include "backoffice/stock/stock_navigation.h"
#include "backoffice/stock/stock_posting.h"
#include "backoffice/stock/stock_queries.h"
#include "common/ui/export_actions.h"
#include "common/ui/print/print_document.h"
#include "tests/backoffice/shell/backoffice_window.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace sorrel;
using namespace sorrel::panels;

namespace {

class StockScreenTest : public test::BackOfficeWindowTest {
  protected:
    double number(const QString& sql) { return db().scalar(sql).toDouble(); }
    bool captionShown(const QString& caption) {
        for (QLabel* label : shownPanel()->findChildren<QLabel*>())
            if (label->text() == caption && label->isVisible()) return true;
        return false;
    }
    void typeInto(const QString& objectName, const QString& text) {
        auto* edit = shownPanel()->findChild<QLineEdit*>(objectName);
        ASSERT_TRUE(edit) << objectName.toStdString();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
};

TEST_P(StockScreenTest, APurchaseEnteredPostedAndTheStockAdjustedThroughTheScreens) {
    // Today is the business day: the queries open on it.
    db().exec("UPDATE SetupPay SET time_work = ?", {QDateTime(clock.today(), QTime(0, 0))});
    logIn("01", "1234");
    window().runMenuCommand("库存管理");
    EXPECT_EQ(shownPanel()->objectName(), "pnl_ItemStock");
    EXPECT_TRUE(toolShown(ToolButton::StockAdjust));
    screenshot("stock_items");

    clickLeaf(Tree::Inventory, "物流管理");
    ASSERT_EQ(shownPanel()->objectName(), "pnl_StoreBill");
    clickTool(ToolButton::Add);
    type("stor_bill_code", "JH0001");
    choose("stor_work_type_code", "供应商");
    choose("work_code", "青啤经销");
    EXPECT_TRUE(captionShown("应付金额：") && captionShown("已付金额："));
    choose("stor_bill_type", "销售单");
    EXPECT_TRUE(captionShown("应收金额：") && captionShown("已收金额："));
    EXPECT_FALSE(captionShown("应付金额："));
    choose("stor_bill_type", "进货单");
    type("stor_pay_fact", "100");
    press(shownPanel(), "货物明细");
    ASSERT_EQ(shownPanel()->objectName(), "pnl_StoreDetail");
    enterIn("edt_search", "201001");
    type("item_cost_pric", "6");
    type("item_coun", "60");
    screenshot("stock_bill_lines");
    clickTool(ToolButton::Retreat);
    ASSERT_EQ(shownPanel()->objectName(), "pnl_StoreBill");
    EXPECT_DOUBLE_EQ(number("SELECT stor_pay_shou FROM StoreBill"), 360);
    screenshot("stock_bills");
    clickTool(ToolButton::Execute);
    EXPECT_DOUBLE_EQ(number("SELECT item_coun FROM itemlist WHERE item_code = '201001'"), 300);
    EXPECT_DOUBLE_EQ(number("SELECT work_pay_shou FROM WorkList WHERE work_code = '003'"), 260);
    EXPECT_EQ(number("SELECT count(*) FROM StoreBill"), 0);

    // The adjustment: Enter stays in its fields until it is left.
    clickLeaf(Tree::Inventory, "库存调整");
    sink.shown.clear();
    clickTool(ToolButton::StockAdjust);
    EXPECT_EQ(shown(), QStringList{stock::kAdjustmentAdvice});
    ASSERT_EQ(shownPanel()->objectName(), "pnl_StockAdjust");
    EXPECT_FALSE(window().workspace().enterMovesFocus());
    EXPECT_TRUE(toolShown(ToolButton::Retreat) && toolShown(ToolButton::Save) && !toolShown(ToolButton::Add));
    enterIn("edt_search", "201001");
    typeInto("edt_change", "-5");
    screenshot("stock_adjustment");
    clickTool(ToolButton::Save);
    EXPECT_DOUBLE_EQ(number("SELECT item_coun FROM itemlist WHERE item_code = '201001'"), 295);
    EXPECT_EQ(shownPanel()->objectName(), "pnl_ItemStock");
    EXPECT_TRUE(window().workspace().enterMovesFocus());
    clickTool(ToolButton::Save);
    EXPECT_DOUBLE_EQ(number("SELECT item_coun FROM itemlist WHERE item_code = '201001'"), 295);

    // Left with "回退", an adjustment applies nothing and Enter moves the focus again.
    clickTool(ToolButton::StockAdjust);
    enterIn("edt_search", "201001");
    clickTool(ToolButton::Retreat);
    EXPECT_DOUBLE_EQ(number("SELECT item_coun FROM itemlist WHERE item_code = '201001'"), 295);
    EXPECT_TRUE(window().workspace().enterMovesFocus());

    // The payment of the rest of it.
    clickLeaf(Tree::Inventory, "往来管理");
    pick("StoreWorkType", "01");
    pick("WorkList", "003");
    press(shownPanel(), "收款/付款");
    ASSERT_EQ(shownPanel()->objectName(), "pnl_WorkDetail");
    clickTool(ToolButton::Add);
    typeInto("edt_work_pay", "260");
    clickTool(ToolButton::Save);
    screenshot("stock_payments");
    clickTool(ToolButton::Retreat);
    EXPECT_DOUBLE_EQ(number("SELECT work_pay_shou FROM WorkList WHERE work_code = '003'"), 0);

    // The posted bill in the stock accounts.
    clickLeaf(Tree::Inventory, "库存帐务");
    EXPECT_EQ(shownPanel()->findChild<QTableView*>("grd_posted_bills")->model()->rowCount(), 0);
    choose("work_code", "青啤经销");
    EXPECT_EQ(shownPanel()->findChild<QTableView*>("grd_posted_bills")->model()->rowCount(), 1);
    EXPECT_EQ(shownPanel()->findChild<QTableView*>("grd_posted_lines")->model()->rowCount(), 1);
    screenshot("stock_accounts");
    clickLeaf(Tree::Inventory, "帐务查询");
    typeInto("edt_item_code", "201001");
    clickTool(ToolButton::Query);
    EXPECT_EQ(shownPanel()->findChild<QTableView*>("grd_goods")->model()->rowCount(), 1);
    screenshot("stock_goods");
    clickLeaf(Tree::Inventory, "配料使用");
    screenshot("stock_ingredients");
}

// Counted while a front desk sells: the count's difference is applied, the sale stays.
TEST_P(StockScreenTest, CountsTypedOnTheStockTakeApplyTheirDifference) {
    logIn("01", "1234");
    window().runMenuCommand("库存管理");
    clickLeaf(Tree::Inventory, "库存盘点");
    ASSERT_EQ(shownPanel()->objectName(), "pnl_StockTake");
    auto* grid = shownPanel()->findChild<QTableView*>("grd_stock_take");
    int row = -1;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        if (grid->model()->index(r, 0).data().toString() == "201001") row = r;
    ASSERT_GE(row, 0);
    grid->selectRow(row);
    typeInto("edt_counted", "230");
    screenshot("stock_take");
    std::unique_ptr<Database> desk = scratch().connectAgain();
    desk->exec("UPDATE itemlist SET item_coun = item_coun - 4 WHERE item_code = '201001'");
    sink.answers = {true};
    press(shownPanel(), "盘点调整");
    EXPECT_TRUE(shown().contains("是否按[实盘]数量调整库存？"));
    EXPECT_DOUBLE_EQ(number("SELECT item_coun FROM itemlist WHERE item_code = '201001'"), 226);
}

// Each inventory document on A4 through the one renderer, read back from its PDF.
TEST_P(StockScreenTest, TheInventoryDocumentsPrintToPdfsThatReadBack) {
    db().exec("UPDATE SetupPay SET time_work = ?", {QDateTime(clock.today(), QTime(0, 0))});
    db().exec(
        "INSERT INTO StoreBill (stor_bill_code, stor_bill_type, stor_deta_flag, stor_work_type_code, "
        "work_code, oper_code, stor_pay_shou, stor_pay_fact, stor_inco_shou, stor_inco_fact, stor_bill_date, "
        "stor_bill_date_work) VALUES ('XS01', '销售单', -1, '02', '004', '01', 0, 0, 0, 0, ?, ?)",
        {clock.now(), QDateTime(clock.today(), QTime(0, 0))});
    const QVariant id = db().scalar("SELECT max(stor_bill_ID) FROM StoreBill");
    db().exec(
        "INSERT INTO StoreDetail (stor_bill_ID, stor_bill_code, item_code, item_name, item_unit, "
        "item_cost_pric, item_coun, item_mone, stor_deta_flag) VALUES (?, 'XS01', '201001', '青岛啤酒', "
        "'瓶', 10, 24, 0, -1)",
        {id});
    stock::postBill(db(), id);
    const stock::PrintedBy by = stock::printedBy(db(), QStringLiteral("管理员"), clock.now());
    const struct {
        const char* file;
        document::Document document;
        QStringList expected;
        QStringList absent = {};
    } documents[] = {
        {"stock_take",
         stock::stockTakeSheet(stock::stockTake(db(), stock::StockTakeRows::Counted), by),
         {"库存分类盘点表", "分类->", "青岛啤酒", "小计金额：", "总计成本：", "制表人：管理员"}},
        {"stock_menu",
         stock::menuSheet(stock::stockTake(db(), stock::StockTakeRows::Menu), by),
         {"菜", "大类：", "拍黄瓜"},
         {"库存", "成本", "总计"}},
        {"stock_bill",
         stock::postedBillDocument(db(), id, by),
         {"销售单", "往来单位：明珠酒店", "总金额", "240.00", "合计：", "操作员工：管理员", "录入时间："}},
        {"stock_ingredients",
         stock::ingredientUseDocument(stock::ingredientUse(db(), clock.today(), clock.today()), clock.today(),
                                      clock.today(), by),
         {"配料使用情况统计表", "统计时间：", "使用量", "合计："}},
    };
    for (const auto& d : documents) {
        const QString pdf =
            QDir::temp().filePath(QStringLiteral("sorrel-backoffice-screens/%1.pdf").arg(d.file));
        QDir().mkpath(QFileInfo(pdf).path());
        const auto result = ui::print::printDocument(
            d.document, ui::print::PrintTarget::pdf(pdf, document::PageFormat::a4()));
        ASSERT_TRUE(result.ok()) << result.failure.toStdString();
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        ASSERT_TRUE(text.waitForFinished(30000));
        const QString read = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString& expected : d.expected)
            EXPECT_TRUE(read.contains(expected)) << d.file << ": " << expected.toStdString();
        for (const QString& absent : d.absent)
            EXPECT_FALSE(read.contains(absent)) << d.file << ": " << absent.toStdString();
    }
}

// "库存预警" lists the counted items at or below the mark; "导出" writes the grid as shown.
TEST_P(StockScreenTest, TheLowStockListGoesOutAsACsvFile) {
    db().exec("UPDATE SetupPay SET pay_set_stor_limi = 6");
    const QString path = QDir::temp().filePath(QStringLiteral("sorrel-backoffice-screens/low_stock.csv"));
    QFile::remove(path);
    ui::setSaveFileChooser([path](QWidget*, const QString&, const QString&, const QString&) { return path; });
    logIn("01", "1234");
    window().runMenuCommand("库存管理");
    clickLeaf(Tree::Inventory, "库存盘点");
    press(shownPanel(), "库存预警");
    screenshot("stock_low");
    press(shownPanel(), "导出CSV");
    ui::setSaveFileChooser({});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines =
        QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("编码,项目名称,单位,库存")));
    EXPECT_FALSE(lines[0].contains(QStringLiteral("实盘")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("201002,五粮液,瓶,6,")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("M002,冰糖,斤,5,")));
}

// A remark with a comma, quotes, a line break and a formula goes out as text, whole.
TEST_P(StockScreenTest, AnExportedRemarkStaysOneCellAndNeverAFormula) {
    db().exec("UPDATE SetupPay SET time_work = ?", {QDateTime(clock.today(), QTime(0, 0))});
    db().exec(
        "INSERT INTO AllStoreBill (stor_bill_ID, stor_bill_code, stor_bill_type, stor_deta_flag, work_code, "
        "work_name_s, oper_code, stor_pay_shou, stor_pay_fact, stor_inco_shou, stor_inco_fact, "
        "stor_bill_rema, "
        "stor_bill_date, stor_bill_date_work) VALUES (900, 'JH9', '进货单', 1, '003', '青啤经销', '01', "
        "12.5, 0, "
        "0, 0, ?, ?, ?)",
        {QStringLiteral("=1+1,\"冰\"\n下"), clock.now(), QDateTime(clock.today(), QTime(0, 0))});
    const QString path = QDir::temp().filePath(QStringLiteral("sorrel-backoffice-screens/accounts.csv"));
    QFile::remove(path);
    ui::setSaveFileChooser([path](QWidget*, const QString&, const QString&, const QString&) { return path; });
    logIn("01", "1234");
    window().runMenuCommand("库存管理");
    clickLeaf(Tree::Inventory, "库存帐务");
    choose("work_code", "青啤经销");
    press(shownPanel(), "导出CSV");
    ui::setSaveFileChooser({});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(
        QStringLiteral("JH9,进货单,青啤经销,01,12.50,0.00,0.00,0.00,\"'=1+1,\"\"冰\"\"\n下\",2026-03-04")))
        << text.toStdString();
}

SORREL_ON_EVERY_ENGINE(StockScreenTest);

} // namespace
