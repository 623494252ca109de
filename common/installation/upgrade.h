// Bringing a venue's database up to the schema of the programs: whatever the current schema has
// and the database lacks (tables, columns, indexes, stored queries) is made, then the version is
// recorded, all in one transaction after a backup. A newer database than the program is refused.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"

#include <QStringList>

namespace sorrel::installation {

// Throws DbError(kNewerDatabaseMessage) when the database follows a later schema than this
// program knows.
void refuseNewerDatabase(Database& db);

// What an upgrade would make, one line each, for the administrator; empty when the database is up
// to date.
QStringList upgradeSteps(Database& db);

// Makes what the database lacks and records the current version, in one transaction, re-reading
// inside it what is there (another workstation may have upgraded meanwhile). Answers what it made.
QStringList upgradeSchema(Database& db);

// The whole upgrade of a venue's database: a backup into `backFolder` first (named
// "-before-upgrade-"), then upgradeSchema. Throws DbError naming the step that failed; nothing
// of the database is changed then.
QStringList upgradeDatabase(Database& db, const QString& backFolder, const Clock& clock);

} // namespace sorrel::installation
