#include "common/db/connection.h"

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

std::unique_ptr<Database> openProgramDatabase(const QString& programDir) {
    const QString conf = serverConfFile(programDir);
    if (QFileInfo::exists(conf)) return std::make_unique<PgDatabase>(readServerConf(conf));
    return std::make_unique<SqliteDatabase>(defaultDatabaseFile(programDir), databasePassword());
}

bool isServerTarget(const QString& target) {
    return target.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive) ||
           target.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           target.endsWith(QLatin1String(".conf"), Qt::CaseInsensitive);
}

std::unique_ptr<Database> openDatabaseTarget(const QString& target, FileMode mode) {
    if (target.endsWith(QLatin1String(".conf"), Qt::CaseInsensitive))
        return std::make_unique<PgDatabase>(readServerConf(target));
    if (isServerTarget(target)) return std::make_unique<PgDatabase>(parseServerUrl(target));
    return std::make_unique<SqliteDatabase>(target, databasePassword(),
                                            mode == FileMode::CreateIfMissing
                                                ? SqliteDatabase::Mode::CreateIfMissing
                                                : SqliteDatabase::Mode::OpenExisting);
}

} // namespace sorrel
