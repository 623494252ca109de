// The version of the schema a database follows, kept in its one schemaversion row. A database
// without that table was made before the programs recorded it: version 1.
#pragma once

#include "common/db/database.h"

#include <QString>

namespace sorrel::schema {

// 1: the first venues' databases. 2: indexes on the history by table and by payment flag, and the
// tables schemaversion and workstationlist. 3: the history's lines summed per business day
// (AllConsDay), filled from the history by the upgrade. 4: the history's bills and payments summed
// per business day (AllGuesDay, AllGuesPayDay), filled the same way.
inline constexpr int kSchemaVersion = 4;
// The version from which a database keeps AllConsDay up to date.
inline constexpr int kLineSummaryVersion = 3;
// The version from which a database keeps AllGuesDay and AllGuesPayDay up to date.
inline constexpr int kBillSummaryVersion = 4;

inline const QString kNewerDatabaseMessage = QStringLiteral("数据库版本比程序新，请升级程序！");

int storedSchemaVersion(Database& db);
// Records kSchemaVersion; inside the caller's transaction.
void writeSchemaVersion(Database& db);

} // namespace sorrel::schema
