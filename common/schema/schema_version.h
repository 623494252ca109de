// The version of the schema a database follows, kept in its one schemaversion row. A database
// without that table was made before the programs recorded it: version 1.
#pragma once

#include "common/db/database.h"

#include <QString>

namespace sorrel::schema {

// 1: the first venues' databases. 2: indexes on the history by table and by payment flag, and the
// tables schemaversion and workstationlist.
inline constexpr int kSchemaVersion = 2;

inline const QString kNewerDatabaseMessage = QStringLiteral("数据库版本比程序新，请升级程序！");

int storedSchemaVersion(Database& db);
// Records kSchemaVersion; inside the caller's transaction.
void writeSchemaVersion(Database& db);

} // namespace sorrel::schema
