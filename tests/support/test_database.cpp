#include "tests/support/test_database.h"

#include "common/db/errors.h"
#include "common/db/sqlite_database.h"
#include "common/db/connection.h"
#include "common/schema/schema.h"

namespace sorrel::test {

std::vector<Engine> availableEngines() { return {Engine::Embedded}; }

std::string engineTestName(const ::testing::TestParamInfo<Engine>& info) {
    return engineName(info.param).toStdString();
}

ScratchDatabase::ScratchDatabase(Engine engine, Contents contents) : engine_(engine) {
    if (engine != Engine::Embedded)
        throw DbError(QStringLiteral("no test server in this run"));
    db_ = std::make_unique<SqliteDatabase>(filePath(), databasePassword(), SqliteDatabase::Mode::CreateIfMissing);
    if (contents == Contents::Schema)
        schema::createSchema(*db_);
}

ScratchDatabase::~ScratchDatabase() { db_.reset(); }

QString ScratchDatabase::filePath() const { return dir_.filePath(QStringLiteral("VozezOzarev.mdb")); }

std::unique_ptr<Database> ScratchDatabase::connectAgain() const {
    return std::make_unique<SqliteDatabase>(filePath(), databasePassword());
}

} // namespace sorrel::test
