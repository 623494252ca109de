#include "common/db/target.h"

#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/db/pg_database.h"
#include "common/db/server_settings.h"
#include "common/db/sqlite_database.h"
#include "common/schema/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace sorrel {

namespace {

std::unique_ptr<PgDatabase> openServer(const QString& target) {
    if (target.endsWith(QLatin1String(".conf"), Qt::CaseInsensitive))
        return std::make_unique<PgDatabase>(readServerConf(target));
    return std::make_unique<PgDatabase>(parseServerUrl(target));
}

} // namespace

bool isServerTarget(const QString& target) {
    return target.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive) ||
           target.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           target.endsWith(QLatin1String(".conf"), Qt::CaseInsensitive);
}

std::unique_ptr<Database> openTarget(const QString& target, TargetUse use) {
    if (target.trimmed().isEmpty()) throw DbError(QStringLiteral("没有给出数据库文件"));
    if (isServerTarget(target)) {
        std::unique_ptr<PgDatabase> db = openServer(target);
        // The server database itself is made by its administrator; a new venue goes only into
        // one that holds none of our tables yet.
        if (use == TargetUse::CreateNew)
            for (const schema::Table& t : schema::tables())
                if (!db->columnsOf(t.name).isEmpty())
                    throw DbError(QStringLiteral("服务器数据库 %1 已有数据表（%2），不会覆盖")
                                      .arg(db->settings().describe(), t.name));
        return db;
    }
    const QFileInfo file(target);
    if (use == TargetUse::CreateNew) {
        if (file.exists() || file.isSymLink())
            throw DbError(QStringLiteral("文件已存在，不会覆盖：%1").arg(target));
        if (!file.absoluteDir().exists())
            throw DbError(QStringLiteral("文件夹不存在：%1").arg(file.absolutePath()));
        // Claimed exclusively first: if another process made the file meanwhile, it is theirs.
        QFile claim(target);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (claim.exists()) throw DbError(QStringLiteral("文件已存在，不会覆盖：%1").arg(target));
            throw DbError(QStringLiteral("无法创建文件：%1（%2）").arg(target, claim.errorString()));
        }
        claim.close();
        try {
            return std::make_unique<SqliteDatabase>(target, databasePassword(),
                                                    SqliteDatabase::Mode::OpenExisting);
        } catch (const DbError&) {
            discardNewTarget(target);
            throw;
        }
    }
    if (file.isDir()) throw DbError(QStringLiteral("这是一个文件夹，不是数据库文件：%1").arg(target));
    return std::make_unique<SqliteDatabase>(target, databasePassword(), SqliteDatabase::Mode::OpenExisting);
}

void discardNewTarget(const QString& target) {
    if (isServerTarget(target)) {
        std::unique_ptr<PgDatabase> db = openServer(target);
        for (const schema::View& v : schema::views())
            db->exec(QStringLiteral("DROP VIEW IF EXISTS %1").arg(v.name));
        for (const schema::Table& t : schema::tables())
            db->exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(t.name));
        return;
    }
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(target + QLatin1String(suffix));
}

} // namespace sorrel
