// The check an administrator runs on a venue's database: a complete one passes with its row
// counts, a damaged one names exactly what is missing or cannot be read, and every damaged page
// of a file is found, whatever index could have answered for it.
#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/db/sqlite_database.h"
#include "common/installation/database_check.h"
#include "common/installation/new_database.h"
#include "common/installation/setup.h"
#include "common/schema/schema.h"
#include "tests/support/test_database.h"

#include <QFile>
#include <QTemporaryDir>

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

// One byte changed in any page of the demo venue's file: the check never calls it complete.
TEST(DatabaseCheck, EveryDamagedPageOfTheFileIsFound) {
    QTemporaryDir dir;
    const QString file = dir.filePath("venue.mdb");
    const FixedClock clock(test::ScratchDatabase::createdAt());
    installation::makeNewDatabase(
        file, [&](Database& db) { setup::createDatabase(db, setup::Contents::DemoVenue, clock); });
    const qlonglong pageSize = SqliteDatabase(file, databasePassword(), SqliteDatabase::Mode::ReadOnly)
                                   .scalar("PRAGMA page_size")
                                   .toLongLong();
    QFile original(file);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    const QString damaged = dir.filePath("damaged.mdb");
    int pagesFound = 0;
    // Every sixth page, the first among them: each opening costs the key's derivation.
    const qlonglong pages = bytes.size() / pageSize;
    for (qlonglong page = 0; page < pages; page += 6) {
        QByteArray copy = bytes;
        copy[page * pageSize + pageSize / 2] = char(copy[page * pageSize + pageSize / 2] ^ 0x5a);
        QFile out(damaged);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(copy);
        out.close();
        try {
            SqliteDatabase db(damaged, databasePassword(), SqliteDatabase::Mode::ReadOnly);
            if (!installation::checkDatabase(db).damage.isEmpty()) ++pagesFound;
        } catch (const DbError&) {
            ++pagesFound; // the file does not even open
        }
    }
    EXPECT_EQ(pagesFound, (pages + 5) / 6);
}

} // namespace
