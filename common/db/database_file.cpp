#include "common/db/database_file.h"

namespace sorrel {

QString walFile(const QString& databaseFile) {
    return databaseFile + QStringLiteral("-wal");
}

QString walIndexFile(const QString& databaseFile) {
    return databaseFile + QStringLiteral("-shm");
}

QStringList companionFiles(const QString& databaseFile) {
    return {walFile(databaseFile), walIndexFile(databaseFile), databaseFile + QStringLiteral("-journal")};
}

} // namespace sorrel
