// The check an administrator runs on a venue's database: a complete one passes with its row
// counts, a damaged one names exactly what is missing.
#include "common/schema/schema.h"
#include "common/schema/schema_check.h"
#include "tests/support/test_database.h"

using namespace sorrel;

namespace {

class SchemaCheckTest : public test::EngineTest {};

TEST_P(SchemaCheckTest, NewDatabaseIsCompleteWithItsRowCounts) {
    const schema::CheckReport report = schema::checkSchema(db());
    EXPECT_TRUE(report.complete()) << report.missingTables.join(' ').toStdString()
                                   << report.missingColumns.join(' ').toStdString()
                                   << report.missingViews.join(' ').toStdString();
    QMap<QString, qlonglong> counts;
    for (const auto& [table, rows] : report.rowCounts)
        counts[table] = rows;
    EXPECT_EQ(counts.value("SetupPay", -1), 1);
    EXPECT_EQ(counts.value("PayTypeList", -1), 4);
    EXPECT_EQ(counts.value("TableGuestlist", -1), 0);
    EXPECT_EQ(counts.size(), schema::tables().size());
}

TEST_P(SchemaCheckTest, DroppedTableAndViewAreNamed) {
    db().exec("DROP VIEW viewReTotal");
    db().exec("DROP TABLE bookin");
    const schema::CheckReport report = schema::checkSchema(db());
    EXPECT_FALSE(report.complete());
    EXPECT_EQ(report.missingTables, QStringList{"bookin"});
    EXPECT_EQ(report.missingViews, QStringList{"viewReTotal"});
    EXPECT_TRUE(report.missingColumns.isEmpty());
    EXPECT_EQ(report.rowCounts.size(), schema::tables().size() - 1);
}

SORREL_ON_EVERY_ENGINE(SchemaCheckTest);

TEST(SchemaCheck, TableWithMissingColumnsIsNamedColumnByColumn) {
    test::ScratchDatabase scratch(Engine::Embedded, test::ScratchDatabase::Contents::Empty);
    scratch.db().exec("CREATE TABLE SetupPay (auto_recn INTEGER, pay_star INTEGER)");
    const schema::CheckReport report = schema::checkSchema(scratch.db());
    EXPECT_TRUE(report.missingColumns.contains("SetupPay.pay_set_sum_int"));
    EXPECT_FALSE(report.missingColumns.contains("SetupPay.auto_recn"));
    EXPECT_EQ(report.missingTables.size(), schema::tables().size() - 1);
    EXPECT_EQ(report.missingViews.size(), schema::views().size());
}

} // namespace
