#include "common/db/database_file.h"

namespace sorrel {

QString walFile(const QString& databaseFile) {
    return databaseFile + QStringLiteral("-wal");
}

QStringList companionFiles(const QString& databaseFile) {
    return {walFile(databaseFile), databaseFile + QStringLiteral("-shm"),
            databaseFile + QStringLiteral("-journal")};
}

} // namespace sorrel
