#include "tests/support/test_database.h"

#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/db/pg_database.h"
#include "common/db/sqlite_database.h"
#include "common/installation/setup.h"
#include "common/schema/schema.h"
#include "tests/support/test_server.h"

#include <QUuid>

namespace sorrel::test {

namespace {

ServerSettings onDatabase(Durability durability, const QString& database) {
    ServerSettings s = testServer(durability);
    s.database = database;
    return s;
}

} // namespace

std::vector<Engine> availableEngines() {
    std::vector<Engine> engines{Engine::Embedded};
    if (serverInstalled()) engines.push_back(Engine::Server);
    return engines;
}

std::string engineTestName(const ::testing::TestParamInfo<Engine>& info) {
    return engineName(info.param).toStdString();
}

ScratchDatabase::ScratchDatabase(Engine engine, Contents contents, Durability durability)
    : engine_(engine), durability_(durability) {
    if (engine == Engine::Embedded) {
        db_ = std::make_unique<SqliteDatabase>(filePath(), databasePassword(),
                                               SqliteDatabase::Mode::CreateIfMissing);
    } else {
        // Every scratch database is a fresh database on the run's one server.
        serverDatabase_ = QStringLiteral("scratch_%1").arg(QUuid::createUuid().toString(QUuid::Id128));
        PgDatabase(testServer(durability)).exec(QStringLiteral("CREATE DATABASE %1").arg(serverDatabase_));
        db_ = std::make_unique<PgDatabase>(onDatabase(durability, serverDatabase_));
        writeServerConf(target(), onDatabase(durability, serverDatabase_));
    }
    const FixedClock clock(createdAt());
    switch (contents) {
    case Contents::Empty:
        break;
    case Contents::Schema:
        schema::createSchema(*db_);
        break;
    case Contents::Presets:
        setup::createDatabase(*db_, setup::Contents::Presets, clock);
        break;
    case Contents::DemoVenue:
        setup::createDatabase(*db_, setup::Contents::DemoVenue, clock);
        break;
    }
}

QDateTime ScratchDatabase::createdAt() {
    return QDateTime(QDate(2024, 5, 1), QTime(10, 30, 0));
}

ScratchDatabase::~ScratchDatabase() {
    db_.reset();
    if (serverDatabase_.isEmpty()) return;
    try {
        PgDatabase(testServer(durability_))
            .exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(serverDatabase_));
    } catch (const DbError& e) {
        ADD_FAILURE() << "could not drop " << serverDatabase_.toStdString() << ": " << e.what();
    }
}

QString ScratchDatabase::filePath() const {
    return dir_.filePath(QStringLiteral("VozezOzarev.mdb"));
}

QString ScratchDatabase::target() const {
    return engine_ == Engine::Embedded ? filePath() : dir_.filePath(QStringLiteral("server.conf"));
}

std::unique_ptr<Database> ScratchDatabase::connectAgain() const {
    if (engine_ == Engine::Server) return std::make_unique<PgDatabase>(onDatabase(durability_, serverDatabase_));
    return std::make_unique<SqliteDatabase>(filePath(), databasePassword());
}

} // namespace sorrel::test
