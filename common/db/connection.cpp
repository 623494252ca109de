#include "common/db/connection.h"

#include "common/db/pg_database.h"
#include "common/db/server_settings.h"
#include "common/db/sqlite_database.h"

#include <QDir>
#include <QFileInfo>

namespace sorrel {

QString databasePassword() { return QStringLiteral("qlvmrk5830417"); }

QString defaultDatabaseFile(const QString& programDir) {
    return QDir(programDir).filePath(QStringLiteral("data/VozezOzarev.mdb"));
}

QString serverConfFile(const QString& programDir) {
    return QDir(programDir).filePath(QStringLiteral("data/server.conf"));
}

std::unique_ptr<Database> openProgramDatabase(const QString& programDir) {
    const QString conf = serverConfFile(programDir);
    if (QFileInfo::exists(conf)) return std::make_unique<PgDatabase>(readServerConf(conf));
    return std::make_unique<SqliteDatabase>(defaultDatabaseFile(programDir), databasePassword());
}

} // namespace sorrel
