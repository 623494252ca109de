#include "tests/support/test_database.h"

#include "common/db/errors.h"
#include "common/db/sqlite_database.h"
#include "common/db/connection.h"
#include "common/schema/schema.h"
#include "common/schema/setup.h"

namespace sorrel::test {

std::vector<Engine> availableEngines() { return {Engine::Embedded}; }

std::string engineTestName(const ::testing::TestParamInfo<Engine>& info) {
    return engineName(info.param).toStdString();
}

ScratchDatabase::ScratchDatabase(Engine engine, Contents contents) : engine_(engine) {
    if (engine != Engine::Embedded)
        throw DbError(QStringLiteral("no test server in this run"));
    db_ = std::make_unique<SqliteDatabase>(filePath(), databasePassword(), SqliteDatabase::Mode::CreateIfMissing);
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

QDateTime ScratchDatabase::createdAt() { return QDateTime(QDate(2024, 5, 1), QTime(10, 30, 0)); }

ScratchDatabase::~ScratchDatabase() { db_.reset(); }

QString ScratchDatabase::filePath() const { return dir_.filePath(QStringLiteral("VozezOzarev.mdb")); }

std::unique_ptr<Database> ScratchDatabase::connectAgain() const {
    return std::make_unique<SqliteDatabase>(filePath(), databasePassword());
}

} // namespace sorrel::test
