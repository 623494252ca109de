// Starting on a machine without a usable database: the operator is told what is wrong and may
// create a new one; a file that cannot be opened is never overwritten.
#include "common/db/connection.h"
#include "common/ui/database_offer.h"
#include "tests/support/scripted_sink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace sorrel;

namespace {

class DatabaseOfferTest : public ::testing::Test {
  protected:
    QString databaseFile() const { return defaultDatabaseFile(dir_.path()); }
    int operators(Database& db) {
        return db.scalar(QStringLiteral("SELECT count(*) FROM operatorlist")).toInt();
    }
    int tables(Database& db) { return db.scalar(QStringLiteral("SELECT count(*) FROM TableList")).toInt(); }

    QTemporaryDir dir_;
    FixedClock clock_{QDateTime(QDate(2026, 3, 4), QTime(8, 0))};
    test::ScriptedSink sink_;
};

TEST_F(DatabaseOfferTest, MissingDatabaseIsOfferedAsPresetsOrDemoVenue) {
    struct Case {
        QList<bool> answers;
        bool created;
        bool demo;
    } cases[] = {{{false}, false, false}, {{true, false}, true, false}, {{true, true}, true, true}};
    for (const Case& c : cases) {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
        sink_.shown.clear();
        sink_.answers = c.answers;
        std::unique_ptr<Database> db = ui::openDatabaseOrOfferNew(dir_.path(), clock_, nullptr);
        ASSERT_FALSE(sink_.shown.isEmpty());
        EXPECT_TRUE(sink_.shown[0].text.startsWith(QStringLiteral("找不到数据库：")));
        EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("VozezOzarev.mdb")));
        ASSERT_EQ(db != nullptr, c.created);
        EXPECT_EQ(QFileInfo::exists(databaseFile()), c.created);
        if (!c.created) continue;
        EXPECT_GE(operators(*db), 1);
        EXPECT_EQ(tables(*db) > 0, c.demo);
        // The new database is the one the program finds on its next start.
        db.reset();
        EXPECT_GE(operators(*openProgramDatabase(dir_.path())), 1);
    }
}

TEST_F(DatabaseOfferTest, UnreadableFileIsKeptUnderANewNameBeforeANewDatabaseIsMade) {
    QDir().mkpath(QFileInfo(databaseFile()).absolutePath());
    const QByteArray venueData(8192, 'x');
    {
        QFile file(databaseFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(venueData);
    }
    sink_.answers = {false};
    EXPECT_EQ(ui::openDatabaseOrOfferNew(dir_.path(), clock_, nullptr), nullptr);
    ASSERT_FALSE(sink_.shown.isEmpty());
    EXPECT_TRUE(sink_.shown[0].text.startsWith(QStringLiteral("无法打开数据库：")));
    QFile untouched(databaseFile());
    ASSERT_TRUE(untouched.open(QIODevice::ReadOnly));
    EXPECT_EQ(untouched.readAll(), venueData);
    untouched.close();

    sink_.answers = {true, false};
    std::unique_ptr<Database> db = ui::openDatabaseOrOfferNew(dir_.path(), clock_, nullptr);
    ASSERT_NE(db, nullptr);
    EXPECT_GE(operators(*db), 1);
    QFile kept(databaseFile() + QStringLiteral(".unreadable-20260304080000"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), venueData);
    EXPECT_TRUE(sink_.texts().last().contains(kept.fileName()));
}

TEST_F(DatabaseOfferTest, UnreachableServerIsNamedAndNoFileIsMadeInItsPlace) {
    QDir().mkpath(QFileInfo(databaseFile()).absolutePath());
    QFile conf(serverConfFile(dir_.path()));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("host=127.0.0.1\nport=1\ndatabase=venue\nuser=desk\n");
    conf.close();
    EXPECT_EQ(ui::openDatabaseOrOfferNew(dir_.path(), clock_, nullptr), nullptr);
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("desk@127.0.0.1:1/venue")));
    EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("无法连接数据库服务器")));
    EXPECT_FALSE(QFileInfo::exists(databaseFile()));
}

} // namespace
