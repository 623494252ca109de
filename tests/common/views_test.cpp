// The two stored queries on the demo venue: how many set meals the kitchen can still make
// from what is in stock, and the day's bills per department with the 总计 row.
#include "tests/support/test_database.h"

using namespace sorrel;

namespace {

class ViewsTest : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        scratch_ =
            std::make_unique<test::ScratchDatabase>(GetParam(), test::ScratchDatabase::Contents::DemoVenue);
    }
    Database& db() { return scratch_->db(); }
    QVariant retotal(const QString& parent) {
        return db().scalar("SELECT retotal FROM viewReTotal WHERE grou_code = ?", {parent});
    }
    void setStock(const QString& item, double stock, const QString& rule = "有限") {
        db().exec("UPDATE itemlist SET item_coun = ?, item_limi = ? WHERE item_code = ?",
                  {stock, rule, item});
    }

  private:
    std::unique_ptr<test::ScratchDatabase> scratch_;
};

TEST_P(ViewsTest, SetMealWithACompositeIsLimitedByTheCompositesIngredients) {
    // 商务套餐A (401001): 宫保鸡丁 x1 (unlimited), 红烧肉 x1 (a composite of 五花肉 0.5, 冰糖
    // 0.05, 葱姜 0.1), 米饭 x2 (unlimited), 可口可乐 x2 (120 in stock).
    EXPECT_EQ(retotal("401001").toInt(), 40); // 五花肉 20 / 0.5

    // The composite's own stock figure is not trusted: only its ingredients count, so the
    // set meal follows the pork at once, before anyone re-derives the composite.
    setStock("M001", 3);
    EXPECT_EQ(db().scalar("SELECT item_coun FROM itemlist WHERE item_code = '102004'").toInt(), 40);
    EXPECT_EQ(retotal("102004").toInt(), 6);
    EXPECT_EQ(retotal("401001").toInt(), 6);

    const struct {
        const char* what;
        const char* item;
        double stock;
        const char* rule;
        const char* parent;
        int expected;
    } cases[] = {
        {"whole units only", "202001", 5, "有限", "401001", 2},    // 5 colas, 2 per set
        {"decimal quantities", "M002", 0.15, "有限", "102004", 3}, // 0.15 / 0.05 is 3, not 2.999…
        {"nothing left", "M001", 0, "有限", "401001", 0},
        {"stock below zero", "M001", -4, "有限", "102004", 0},
        {"pork unlimited", "M001", 0, "不限", "102004", 3},         // the 0.15 of 冰糖 limits now
        {"disabled component", "202001", 500, "禁用", "401001", 0}, // cannot be made at all
    };
    for (const auto& c : cases) {
        setStock(QString::fromUtf8(c.item), c.stock, QString::fromUtf8(c.rule));
        EXPECT_EQ(retotal(QString::fromUtf8(c.parent)).toInt(), c.expected) << c.what;
    }
}

TEST_P(ViewsTest, OneRowPerParentAndUnlimitedParentsCountZero) {
    EXPECT_EQ(db().scalar("SELECT count(*) FROM viewReTotal").toInt(),
              db().scalar("SELECT count(DISTINCT grou_code) FROM ItemGroup").toInt());
    // A set meal of unlimited dishes only is never short; its stock figure stays 0.
    db().exec("INSERT INTO itemlist (clas_code, item_code, item_name, item_type_code, item_unit_pric) "
              "VALUES ('401', '401009', '凉菜拼盘', '2', 58)");
    db().exec("INSERT INTO ItemGroup (grou_code, item_code, grou_coun) VALUES ('401009', '101001', 1), "
              "('401009', '101002', 1)");
    EXPECT_EQ(retotal("401009").toInt(), 0);
    // A component row with no quantity limits nothing and divides by nothing.
    db().exec("INSERT INTO ItemGroup (grou_code, item_code, grou_coun) VALUES ('401009', '201002', 0)");
    EXPECT_EQ(retotal("401009").toInt(), 0);
    EXPECT_EQ(retotal("401002").toInt(), 20);
}

TEST_P(ViewsTest, DepartmentStatisticsEndWithTheTotalRow) {
    const struct {
        int number;
        const char* dept;
        const char* state;
        double received, receivable;
    } bills[] = {
        {1, "01", "1", 100, 100},   // cleared
        {2, "01", "3", 250.5, 260}, // settled: counts with what was received
        {3, "01", "2", 0, 80},      // still open: counts with what it would receive now
        {4, "02", "2", 0, 800},
        {5, "09", "3", 12, 12}, // a department that no longer exists still adds up
    };
    for (const auto& b : bills)
        db().exec(
            "INSERT INTO TableGuestlist (tabl_gues_auto_recn, dept_code, tabl_gues_stat, tabl_gues_fact, "
            "tabl_gues_shou) VALUES (?, ?, ?, ?, ?)",
            {b.number, b.dept, b.state, b.received, b.receivable});

    const RecordSet rows = db().query("SELECT * FROM ViewTotalDeptEnd");
    EXPECT_EQ(rows.columns(), QStringList({"部门名称", "已清数", "已清金额", "已结数", "已结金额", "待结数",
                                           "待结金额", "合计数", "合计金额"}));
    struct Row {
        QString name;
        int cleared;
        double clearedAmount;
        int settled;
        double settledAmount;
        int open;
        double openAmount;
        int all;
        double allAmount;
    };
    const QList<Row> expected = {
        {"大厅", 1, 100, 1, 250.5, 1, 80, 3, 430.5},   {"包厢", 0, 0, 0, 0, 1, 800, 1, 800},
        {"KTV娱乐区", 0, 0, 0, 0, 0, 0, 0, 0},         {"09", 0, 0, 1, 12, 0, 0, 1, 12},
        {"总计", 1, 100, 2, 262.5, 2, 880, 5, 1242.5},
    };
    ASSERT_EQ(rows.rowCount(), expected.size());
    for (int r = 0; r < rows.rowCount(); ++r) {
        const Row& e = expected[r];
        const std::string at = e.name.toStdString();
        EXPECT_EQ(rows.text(r, "部门名称").trimmed(), e.name) << r;
        EXPECT_EQ(rows.integer(r, "已清数"), e.cleared) << at;
        EXPECT_DOUBLE_EQ(rows.number(r, "已清金额"), e.clearedAmount) << at;
        EXPECT_EQ(rows.integer(r, "已结数"), e.settled) << at;
        EXPECT_DOUBLE_EQ(rows.number(r, "已结金额"), e.settledAmount) << at;
        EXPECT_EQ(rows.integer(r, "待结数"), e.open) << at;
        EXPECT_DOUBLE_EQ(rows.number(r, "待结金额"), e.openAmount) << at;
        EXPECT_EQ(rows.integer(r, "合计数"), e.all) << at;
        EXPECT_DOUBLE_EQ(rows.number(r, "合计金额"), e.allAmount) << at;
    }
}

TEST_P(ViewsTest, NoBillsYetGivesZerosNotEmptyCells) {
    const RecordSet rows = db().query("SELECT * FROM ViewTotalDeptEnd");
    ASSERT_EQ(rows.rowCount(), 4); // three departments and the total
    const int total = rows.rowCount() - 1;
    EXPECT_EQ(rows.text(total, "部门名称"), "总计");
    for (const QString& column : rows.columns().mid(1))
        EXPECT_FALSE(rows.value(total, column).isNull()) << column.toStdString();
    EXPECT_EQ(rows.number(total, "合计金额"), 0.0);
}

SORREL_ON_EVERY_ENGINE(ViewsTest);

} // namespace
