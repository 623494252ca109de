#include "common/db/connection.h"

#include "common/db/errors.h"
#include "common/db/pg_database.h"
#include "common/db/server_settings.h"
#include "common/db/sqlite_database.h"

#include <QDir>
#include <QFileInfo>

namespace sorrel {

QString databasePassword() {
    return QStringLiteral("qlvmrk5830417");
}

QString defaultDatabaseFile(const QString& programDir) {
    return QDir(programDir).filePath(QStringLiteral("data/VozezOzarev.mdb"));
}

QString serverConfFile(const QString& programDir) {
    return QDir(programDir).filePath(QStringLiteral("data/server.conf"));
}

bool programDatabaseOnServer(const QString& programDir) {
    return QFileInfo::exists(serverConfFile(programDir));
}

QString programDatabaseLocation(const QString& programDir) {
    if (!programDatabaseOnServer(programDir))
        return QDir::toNativeSeparators(defaultDatabaseFile(programDir));
    try {
        return readServerConf(serverConfFile(programDir)).describe();
    } catch (const DbError&) {
        return QDir::toNativeSeparators(serverConfFile(programDir));
    }
}

std::unique_ptr<Database> openProgramDatabase(const QString& programDir) {
    if (programDatabaseOnServer(programDir))
        return std::make_unique<PgDatabase>(readServerConf(serverConfFile(programDir)));
    return std::make_unique<SqliteDatabase>(defaultDatabaseFile(programDir), databasePassword());
}

} // namespace sorrel
