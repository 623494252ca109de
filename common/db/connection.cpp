#include "common/db/connection.h"

#include <QDir>

namespace sorrel {

QString databasePassword() { return QStringLiteral("qlvmrk5830417"); }

QString defaultDatabaseFile(const QString& programDir) {
    return QDir(programDir).filePath(QStringLiteral("data/VozezOzarev.mdb"));
}

} // namespace sorrel
