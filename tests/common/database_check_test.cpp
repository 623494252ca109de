// The check an administrator runs on a venue's database: a complete one passes with its row
// counts, a damaged one names exactly what is missing.
#include "common/installation/database_check.h"
#include "common/schema/schema.h"
#include "tests/support/test_database.h"

using namespace sorrel;
using installation::CheckReport;

namespace {

class DatabaseCheckTest : public test::EngineTest {};

TEST_P(DatabaseCheckTest, NewDatabaseIsCompleteWithItsRowCounts) {
    const CheckReport report = installation::checkDatabase(db());
    EXPECT_TRUE(report.complete()) << report.schema.missingTables.join(' ').toStdString()
                                   << report.schema.missingColumns.join(' ').toStdString()
                                   << report.schema.missingViews.join(' ').toStdString()
                                   << report.damage.join(' ').toStdString();
    QMap<QString, qlonglong> counts;
    for (const auto& [table, rows] : report.rowCounts)
        counts[table] = rows;
    EXPECT_EQ(counts.value("SetupPay", -1), 1);
    EXPECT_EQ(counts.value("PayTypeList", -1), 4);
    EXPECT_EQ(counts.value("TableGuestlist", -1), 0);
    EXPECT_EQ(counts.size(), schema::tables().size());
}

TEST_P(DatabaseCheckTest, DroppedTableAndViewAreNamed) {
    db().exec("DROP VIEW viewReTotal");
    db().exec("DROP TABLE bookin");
    const CheckReport report = installation::checkDatabase(db());
    EXPECT_FALSE(report.complete());
    EXPECT_EQ(report.schema.missingTables, QStringList{"bookin"});
    EXPECT_EQ(report.schema.missingViews, QStringList{"viewReTotal"});
    EXPECT_TRUE(report.schema.missingColumns.isEmpty());
    EXPECT_FALSE(report.schema.bare());
    EXPECT_EQ(report.rowCounts.size(), schema::tables().size() - 1);
}

TEST_P(DatabaseCheckTest, RowsThatOutlivedTheirBillAreNamedWithTheBills) {
    // Bill 7 is open at A01, bill 8 was cleared and waits for the day's end, bill 9 is gone.
    db().exec(
        "INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, tabl_gues_use) VALUES (7, 'A01', 1)");
    db().exec(
        "INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, tabl_gues_use) VALUES (8, 'A02', 0)");
    for (int bill : {7, 8, 9, 9})
        db().exec("INSERT INTO tableguespay (tabl_gues_auto_recn, pay_type_code) VALUES (?, 'Z')", {bill});
    for (int bill : {7, 8, 9})
        db().exec("INSERT INTO TableConsListTemp (tabl_gues_auto_recn, item_code) VALUES (?, '1001')",
                  {bill});

    const CheckReport report = installation::checkDatabase(db());
    EXPECT_TRUE(report.complete());
    EXPECT_EQ(report.leftovers,
              (QStringList{
                  QStringLiteral("遗留数据：表 tableguespay 有 2 行付款记录属于已结束的帐单（帐单号 9）"),
                  QStringLiteral(
                      "遗留数据：表 TableConsListTemp 有 2 行未下单的点单属于已结束的帐单（帐单号 8, 9）")}));
}

SORREL_ON_EVERY_ENGINE(DatabaseCheckTest);

TEST(DatabaseCheck, TableWithMissingColumnsIsNamedColumnByColumn) {
    test::ScratchDatabase scratch(Engine::Embedded, test::ScratchDatabase::Contents::Empty);
    EXPECT_TRUE(installation::checkSchema(scratch.db()).bare());
    scratch.db().exec("CREATE TABLE SetupPay (auto_recn INTEGER, pay_star INTEGER)");
    const installation::SchemaReport report = installation::checkSchema(scratch.db());
    EXPECT_TRUE(report.missingColumns.contains("SetupPay.pay_set_sum_int"));
    EXPECT_FALSE(report.missingColumns.contains("SetupPay.auto_recn"));
    EXPECT_EQ(report.missingTables.size(), schema::tables().size() - 1);
    EXPECT_EQ(report.missingViews.size(), schema::views().size());
    EXPECT_FALSE(report.bare());
}

} // namespace
