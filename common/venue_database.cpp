#include "common/venue_database.h"

#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/db/sqlite_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace sorrel {

namespace {

// The file and the journal files the engine keeps beside it.
const QStringList kCompanions = {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")};

QString setAsideUnreadable(const QString& path, const Clock& clock) {
    const QString target =
        path + QStringLiteral(".unreadable-") + clock.now().toString(QStringLiteral("yyyyMMddHHmmss"));
    for (const QString& suffix : kCompanions) {
        if (QFileInfo::exists(path + suffix) && !QFile::rename(path + suffix, target + suffix))
            throw DbError(QStringLiteral("无法将原数据库文件改名保留：") + path + suffix);
    }
    return target;
}

} // namespace

bool programDatabaseMissing(const QString& programDir) {
    return !programDatabaseOnServer(programDir) && !QFileInfo::exists(defaultDatabaseFile(programDir));
}

NewDatabase createProgramDatabase(const QString& programDir, setup::Contents contents, const Clock& clock) {
    const QString path = defaultDatabaseFile(programDir);
    NewDatabase result;
    if (QFileInfo::exists(path)) result.setAside = setAsideUnreadable(path, clock);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw DbError(QStringLiteral("无法建立数据目录：") + QFileInfo(path).absolutePath());
    try {
        auto db =
            std::make_unique<SqliteDatabase>(path, databasePassword(), SqliteDatabase::Mode::CreateIfMissing);
        setup::createDatabase(*db, contents, clock);
        result.db = std::move(db);
    } catch (...) {
        for (const QString& suffix : kCompanions)
            QFile::remove(path + suffix);
        throw;
    }
    return result;
}

} // namespace sorrel
