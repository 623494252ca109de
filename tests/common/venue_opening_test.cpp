// Starting a program on a machine without a usable database: the staff are told what is wrong,
// naming the file or the server, and may create a new one only where that loses nothing; the
// database is never written before they agreed, and a file in the way is kept, never overwritten.
#include "common/db/connection.h"
#include "common/db/sqlite_database.h"
#include "common/installation/database_check.h"
#include "common/installation/new_database.h"
#include "common/installation/venue_opening.h"
#include "common/schema/schema_version.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"
#include "tests/support/test_server.h"
#include "tests/support/write_protected.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace sorrel;

namespace {

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int operators(Database& db) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM operatorlist")).toInt();
}

class VenueOpening : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(QFileInfo(databaseFile()).absolutePath())); }
    QString databaseFile() const { return defaultDatabaseFile(dir_.path()); }
    std::unique_ptr<Database> start() {
        return installation::openVenueDatabase({dir_.path(), QStringLiteral("前台系统")}, clock_);
    }
    // The venue's database where the program looks for it, made with `contents`.
    void makeVenue(setup::Contents contents) {
        installation::makeNewDatabase(databaseFile(),
                                      [&](Database& db) { setup::createDatabase(db, contents, clock_); });
    }
    void writeFile(const QByteArray& bytes) {
        QFile file(databaseFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir_;
    FixedClock clock_{QDateTime(QDate(2026, 3, 4), QTime(8, 0))};
    test::ScriptedSink sink_;
};

TEST_F(VenueOpening, MissingDatabaseIsOfferedAsPresetsOrDemoVenue) {
    struct Case {
        QList<bool> answers;
        bool created;
        bool demo;
    } cases[] = {{{false}, false, false}, {{true, false}, true, false}, {{true, true}, true, true}};
    for (const Case& c : cases) {
        QFile::remove(databaseFile());
        sink_.shown.clear();
        sink_.answers = c.answers;
        std::unique_ptr<Database> db = start();
        ASSERT_FALSE(sink_.shown.isEmpty());
        EXPECT_TRUE(sink_.shown[0].text.startsWith(QStringLiteral("找不到数据库：")));
        EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("VozezOzarev.mdb")));
        ASSERT_EQ(db != nullptr, c.created);
        EXPECT_EQ(QFileInfo::exists(databaseFile()), c.created);
        if (!c.created) continue;
        EXPECT_GE(operators(*db), 1);
        EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM TableList")).toInt() > 0, c.demo);
        // The new database is the one the program finds on its next start, without a word.
        db.reset();
        sink_.shown.clear();
        db = start();
        ASSERT_NE(db, nullptr);
        EXPECT_GE(operators(*db), 1);
        EXPECT_TRUE(sink_.shown.isEmpty());
    }
}

// Each file a venue might find where its database should be. Nothing is written to it while the
// question is up, and it is offered for replacing only when it holds nothing of the venue's.
TEST_F(VenueOpening, BadFileIsNamedAndLeftAsItWas) {
    const struct {
        const char* name;
        std::function<void()> make;
        const char* says;
        bool offered;
    } cases[] = {
        {"zero bytes", [&] { writeFile({}); }, "数据库文件是空的", true},
        {"not a database", [&] { writeFile(QByteArray(8192, 'x')); }, "无法打开数据库", true},
        {"no table of ours",
         [&] {
             SqliteDatabase(databaseFile(), databasePassword(), SqliteDatabase::Mode::CreateIfMissing)
                 .exec(QStringLiteral("CREATE TABLE notes (x TEXT)"));
         },
         "数据库中还没有本系统的数据表", true},
        {"a table missing",
         [&] {
             makeVenue(setup::Contents::DemoVenue);
             SqliteDatabase(databaseFile(), databasePassword()).exec(QStringLiteral("DROP TABLE bookin"));
         },
         "缺少数据表：bookin", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(QFileInfo(databaseFile()).absolutePath()).removeRecursively();
        SetUp();
        c.make();
        const QByteArray before = contentsOf(databaseFile());
        sink_.shown.clear();
        sink_.answers = {false};
        EXPECT_EQ(start(), nullptr);
        ASSERT_EQ(sink_.shown.size(), 1);
        EXPECT_EQ(sink_.shown[0].kind, c.offered ? MessageKind::Question : MessageKind::Error);
        EXPECT_TRUE(sink_.shown[0].text.contains(QString::fromUtf8(c.says)))
            << sink_.shown[0].text.toStdString();
        EXPECT_TRUE(sink_.shown[0].text.contains(QDir::toNativeSeparators(databaseFile())));
        EXPECT_FALSE(sink_.shown[0].text.contains(QStringLiteral("SQL")))
            << sink_.shown[0].text.toStdString();
        EXPECT_EQ(contentsOf(databaseFile()), before);
        EXPECT_EQ(QFileInfo(databaseFile()).size(), before.size());
    }
}

TEST_F(VenueOpening, UnreadableFileIsKeptUnderANewNameBeforeANewDatabaseIsMade) {
    const QByteArray venueData(8192, 'x');
    writeFile(venueData);
    sink_.answers = {true, false};
    std::unique_ptr<Database> db = start();
    ASSERT_NE(db, nullptr);
    EXPECT_GE(operators(*db), 1);
    const QString kept = databaseFile() + QStringLiteral(".unreadable-20260304080000");
    EXPECT_EQ(contentsOf(kept), venueData);
    EXPECT_TRUE(sink_.texts().last().contains(kept));
}

// A folder or file the program may read but not write is said to be so; it is not taken for a
// wrong password, and no new database is offered in its place.
TEST_F(VenueOpening, WriteProtectedDatabaseIsReportedAsSuch) {
    makeVenue(setup::Contents::Presets);
    const QByteArray before = contentsOf(databaseFile());
    const struct {
        const char* name;
        QString path;
        const char* says;
    } cases[] = {
        {"folder", QFileInfo(databaseFile()).absolutePath(), "数据库所在的文件夹不能写入"},
        {"file", databaseFile(), "数据库文件是只读的"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const test::WriteProtected protection(c.path);
        if (!protection.holds()) GTEST_SKIP() << "this file system lets root write anywhere";
        sink_.shown.clear();
        EXPECT_EQ(start(), nullptr);
        ASSERT_EQ(sink_.shown.size(), 1);
        EXPECT_EQ(sink_.shown[0].kind, MessageKind::Error);
        EXPECT_TRUE(sink_.shown[0].text.contains(QString::fromUtf8(c.says)))
            << sink_.shown[0].text.toStdString();
        EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("[前台系统]")));
        EXPECT_FALSE(sink_.shown[0].text.contains(QStringLiteral("密码")));
    }
    EXPECT_EQ(contentsOf(databaseFile()), before);
}

class VenueOpeningOnServer : public VenueOpening {
  protected:
    void SetUp() override {
        VenueOpening::SetUp();
        if (!test::serverInstalled()) GTEST_SKIP() << "no PostgreSQL server installed";
        server_ =
            std::make_unique<test::ScratchDatabase>(Engine::Server, test::ScratchDatabase::Contents::Empty);
        ASSERT_TRUE(QFile::copy(server_->target(), serverConfFile(dir_.path())));
    }
    std::unique_ptr<test::ScratchDatabase> server_;
};

TEST_F(VenueOpeningOnServer, DatabaseWithoutOurTablesIsOfferedAndOneMissingATableIsNamed) {
    const QString server = programDatabaseLocation(dir_.path());
    sink_.answers = {false};
    EXPECT_EQ(start(), nullptr);
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_EQ(sink_.shown[0].kind, MessageKind::Question);
    EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("数据库中还没有本系统的数据表：") + server))
        << sink_.shown[0].text.toStdString();
    EXPECT_TRUE(server_->db().columnsOf(QStringLiteral("SetupPay")).isEmpty());

    sink_.shown.clear();
    sink_.answers = {true, false};
    std::unique_ptr<Database> db = start();
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(db->engine(), Engine::Server);
    EXPECT_GE(operators(server_->db()), 1);
    EXPECT_FALSE(QFileInfo::exists(databaseFile()));
    db.reset();

    server_->db().exec(QStringLiteral("DROP TABLE bookin"));
    sink_.shown.clear();
    EXPECT_EQ(start(), nullptr);
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_EQ(sink_.shown[0].kind, MessageKind::Error);
    EXPECT_TRUE(sink_.shown[0].text.contains(server)) << sink_.shown[0].text.toStdString();
    EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("缺少数据表：bookin")));
}

// The administrator's answers to the start-up upgrade (the question, then the system password)
// and whether the database is upgraded: No; a wrong password; none given; the right one in blanks.
struct UpgradeAnswers {
    QList<bool> answers;
    QStringList passwords;
    bool upgraded;
};
const UpgradeAnswers kUpgradeAnswers[] = {
    {{false}, {}, false}, {{true}, {"wrong"}, false}, {{true}, {}, false}, {{true}, {" 8888 "}, true}};

// A venue on the server that kept its first-release database: every workstation's start asks
// for the upgrade, and only the administrator with the system password gets it, after a backup.
TEST_F(VenueOpeningOnServer, OlderDatabaseIsUpgradedOnlyWithTheSystemPasswordAfterABackup) {
    Database& server = server_->db();
    setup::createDatabase(server, setup::Contents::Presets, clock_);
    server.exec("UPDATE SetupPay SET user_name = 'on the server'");
    const auto makeOlder = [&] {
        server.exec("DROP TABLE IF EXISTS schemaversion");
        server.exec("DROP TABLE IF EXISTS workstationlist");
        server.exec("DROP INDEX IF EXISTS ix_allguespay_pay_flag");
    };
    for (const UpgradeAnswers& c : kUpgradeAnswers) {
        makeOlder();
        sink_.shown.clear();
        sink_.answers = c.answers;
        sink_.passwords = c.passwords;
        const std::unique_ptr<Database> db = start();
        EXPECT_EQ(db != nullptr, c.upgraded);
        ASSERT_FALSE(sink_.shown.isEmpty());
        EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("新建数据表：workstationlist")))
            << sink_.shown[0].text.toStdString();
        EXPECT_EQ(!server.columnsOf("schemaversion").isEmpty(), c.upgraded);
        EXPECT_EQ(!server.columnsOf("workstationlist").isEmpty(), c.upgraded);
        if (db) {
            EXPECT_EQ(db->engine(), Engine::Server);
            EXPECT_TRUE(installation::checkSchema(*db).complete());
        }
    }
    EXPECT_FALSE(QFileInfo::exists(databaseFile()));
    const QStringList kept =
        QDir(dir_.filePath("back")).entryList({"vozezozarev-before-upgrade-*.bak"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    SqliteDatabase backup(dir_.filePath("back/" + kept[0]), databasePassword(),
                          SqliteDatabase::Mode::ReadOnly);
    EXPECT_EQ(backup.scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(backup.scalar("SELECT user_name FROM SetupPay").toString(), "on the server");
    EXPECT_EQ(schema::storedSchemaVersion(backup), 1);

    server.exec("UPDATE schemaversion SET schema_version = 99");
    sink_.shown.clear();
    EXPECT_EQ(start(), nullptr);
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_TRUE(sink_.shown[0].text.startsWith(QStringLiteral("数据库版本比程序新，请升级程序！")));
}

TEST_F(VenueOpening, UnreachableServerIsNamedAndNoFileIsMadeInItsPlace) {
    QFile conf(serverConfFile(dir_.path()));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("host=127.0.0.1\nport=1\ndatabase=venue\nuser=desk\n");
    conf.close();
    EXPECT_EQ(start(), nullptr);
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("desk@127.0.0.1:1/venue")));
    EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("无法连接数据库服务器")));
    EXPECT_FALSE(QFileInfo::exists(databaseFile()));
}

// An older database is upgraded at start only when the administrator agrees and gives the system
// password; a newer one is refused with nothing written.
TEST_F(VenueOpening, OlderDatabaseIsUpgradedOnlyWithTheSystemPasswordAndANewerOneIsRefused) {
    makeVenue(setup::Contents::Presets);
    const auto makeOlder = [&] {
        SqliteDatabase db(databaseFile(), databasePassword());
        db.exec("DROP TABLE IF EXISTS schemaversion");
        db.exec("DROP INDEX IF EXISTS ix_allguespay_pay_flag");
    };
    for (const UpgradeAnswers& c : kUpgradeAnswers) {
        makeOlder();
        sink_.shown.clear();
        sink_.answers = c.answers;
        sink_.passwords = c.passwords;
        const std::unique_ptr<Database> db = start();
        EXPECT_EQ(db != nullptr, c.upgraded);
        SqliteDatabase looking(databaseFile(), databasePassword(), SqliteDatabase::Mode::ReadOnly);
        EXPECT_EQ(!looking.columnsOf("schemaversion").isEmpty(), c.upgraded);
    }
    EXPECT_EQ(QDir(dir_.filePath("back")).entryList({"vozezozarev-before-upgrade-*.bak"}, QDir::Files).size(), 1);

    SqliteDatabase(databaseFile(), databasePassword()).exec("UPDATE schemaversion SET schema_version = 99");
    sink_.shown.clear();
    EXPECT_EQ(start(), nullptr);
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_TRUE(sink_.shown[0].text.startsWith(QStringLiteral("数据库版本比程序新，请升级程序！")));
}

} // namespace
