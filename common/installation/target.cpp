#include "common/installation/target.h"

#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/db/pg_database.h"
#include "common/db/server_settings.h"
#include "common/db/sqlite_database.h"

#include <QFileInfo>

namespace sorrel {

bool isServerTarget(const QString& target) {
    return target.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive) ||
           target.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           target.endsWith(QLatin1String(".conf"), Qt::CaseInsensitive);
}

std::unique_ptr<Database> openTarget(const QString& target, TargetUse use) {
    if (target.trimmed().isEmpty()) throw DbError(QStringLiteral("没有给出数据库文件"));
    if (isServerTarget(target)) {
        auto db = std::make_unique<PgDatabase>(target.endsWith(QLatin1String(".conf"), Qt::CaseInsensitive)
                                                   ? readServerConf(target)
                                                   : parseServerUrl(target));
        if (use == TargetUse::ReadOnly)
            db->exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"));
        return db;
    }
    const QFileInfo file(target);
    if (file.isDir()) throw DbError(QStringLiteral("这是一个文件夹，不是数据库文件：%1").arg(target));
    if (use == TargetUse::ReadOnly)
        return std::make_unique<SqliteDatabase>(target, databasePassword(), SqliteDatabase::Mode::ReadOnly);
    // Working on the file needs its -wal and -shm beside it.
    if (file.exists() && !QFileInfo(file.absolutePath()).isWritable())
        throw DbError(QStringLiteral("数据库所在的文件夹不能写入：%1").arg(file.absolutePath()));
    return std::make_unique<SqliteDatabase>(target, databasePassword(), SqliteDatabase::Mode::OpenExisting);
}

} // namespace sorrel
