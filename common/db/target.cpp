#include "common/db/target.h"

#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/db/sqlite_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace sorrel {

std::unique_ptr<Database> openTarget(const QString& target, TargetUse use) {
    if (target.trimmed().isEmpty()) throw DbError(QStringLiteral("没有给出数据库文件"));
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
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(target + QLatin1String(suffix));
}

} // namespace sorrel
