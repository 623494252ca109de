// The administrator's tool on a database server: a venue made there or moved there from the file
// (and back) opens and checks like the file, and a server that refuses or is not there is named
// in a clear message.
#include "common/db/connection.h"
#include "common/db/server_settings.h"
#include "common/db/sqlite_database.h"
#include "common/installation/engine_copy.h"
#include "tests/support/built_programs.h"
#include "tests/support/test_database.h"
#include "tests/support/test_server.h"

#include <QTemporaryDir>

using namespace sorrel;
using test::ProgramRun;
using test::ScratchDatabase;

namespace {

ProgramRun sorrelDb(const QStringList& arguments) {
    return test::runProgram("sorrel-db", arguments, 180000);
}

class SorrelDbOnServer : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::serverInstalled()) GTEST_SKIP() << "no PostgreSQL server installed";
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

void expectSameTallies(Database& a, Database& b) {
    const QList<TableTally> x = tallyInstallation(a), y = tallyInstallation(b);
    ASSERT_EQ(x.size(), y.size());
    for (int i = 0; i < x.size(); ++i) {
        EXPECT_EQ(x[i].rows, y[i].rows) << x[i].table.toStdString();
        EXPECT_NEAR(x[i].money, y[i].money, 0.001) << x[i].table.toStdString();
    }
}

TEST_F(SorrelDbOnServer, DemoFileMovedToTheServerAndBackKeepsEveryCountAndSum) {
    ASSERT_EQ(sorrelDb({"demo", path("VozezOzarev.mdb")}).exitCode, 0);
    ScratchDatabase server(Engine::Server, ScratchDatabase::Contents::Empty);

    const ProgramRun there = sorrelDb({"copy", path("VozezOzarev.mdb"), server.target()});
    ASSERT_EQ(there.exitCode, 0) << there.err.toStdString();
    EXPECT_TRUE(there.out.contains("核对一致")) << there.out.toStdString();
    const ProgramRun check = sorrelDb({"check", server.target()});
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_TRUE(check.out.contains(QRegularExpression("TableList\\s+32\\n"))) << check.out.toStdString();

    const ProgramRun back = sorrelDb({"copy", server.target(), path("back.mdb")});
    ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
    SqliteDatabase original(path("VozezOzarev.mdb"), databasePassword());
    SqliteDatabase returned(path("back.mdb"), databasePassword());
    expectSameTallies(original, server.db());
    expectSameTallies(original, returned);
    EXPECT_EQ(returned.scalar("SELECT user_name FROM SetupPay").toString(), "悦来酒家");
}

TEST_F(SorrelDbOnServer, NewVenueOnTheServerNeverOverwritesOne) {
    ScratchDatabase server(Engine::Server, ScratchDatabase::Contents::Empty);
    ASSERT_EQ(sorrelDb({"demo", server.target()}).exitCode, 0);
    EXPECT_EQ(sorrelDb({"check", server.target()}).exitCode, 0);
    const qlonglong tables = server.db().scalar("SELECT count(*) FROM TableList").toLongLong();

    for (const QString& command : {QStringLiteral("create"), QStringLiteral("demo")}) {
        const ProgramRun again = sorrelDb({command, server.target()});
        EXPECT_EQ(again.exitCode, 1) << command.toStdString();
        EXPECT_TRUE(again.err.contains("不会覆盖")) << again.err.toStdString();
    }
    ASSERT_EQ(sorrelDb({"create", path("other.mdb")}).exitCode, 0);
    const ProgramRun over = sorrelDb({"copy", path("other.mdb"), server.target()});
    EXPECT_EQ(over.exitCode, 1);
    EXPECT_TRUE(over.err.contains("不会覆盖")) << over.err.toStdString();
    EXPECT_EQ(server.db().scalar("SELECT count(*) FROM TableList").toLongLong(), tables);
}

TEST_F(SorrelDbOnServer, FailedCopyLeavesTheServerDatabaseAsItWas) {
    ASSERT_EQ(sorrelDb({"demo", path("broken.mdb")}).exitCode, 0);
    SqliteDatabase(path("broken.mdb"), databasePassword()).exec("DROP TABLE bookin");
    ScratchDatabase server(Engine::Server, ScratchDatabase::Contents::Empty);

    const ProgramRun failed = sorrelDb({"copy", path("broken.mdb"), server.target()});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains("bookin")) << failed.err.toStdString();
    EXPECT_TRUE(server.db().columnsOf("SetupPay").isEmpty()) << "tables were left behind";

    ASSERT_EQ(sorrelDb({"demo", path("good.mdb")}).exitCode, 0);
    EXPECT_EQ(sorrelDb({"copy", path("good.mdb"), server.target()}).exitCode, 0);
}

TEST_F(SorrelDbOnServer, RefusedOrUnreachableServerIsNamed) {
    ServerSettings wrong = test::testServer();
    wrong.password = "not-the-password";
    writeServerConf(path("wrong.conf"), wrong);
    const struct {
        const char* name;
        QString target;
        const char* message;
    } cases[] = {
        {"wrong password", path("wrong.conf"), "数据库服务器拒绝登录"},
        {"nobody listening", "postgres://sorrel@127.0.0.1:1/venue", "无法连接数据库服务器"},
        {"no host", "postgres://", "缺少 host"},
        {"no connection file", path("none.conf"), "无法读取数据库服务器设置文件"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = sorrelDb({"check", c.target});
        EXPECT_FALSE(run.crashed) << c.name;
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message)))
            << c.name << ": " << run.err.toStdString();
    }
}

} // namespace
