// Where the front desk gets its database: the one function that opens it, and the creation of
// a new one when none can be opened.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/schema/setup.h"

#include <memory>

namespace sorrel::frontdesk {

// Throws DbError, with the reason, when the database is missing or cannot be opened.
std::unique_ptr<Database> openFrontDeskDatabase(const QString& programDir);

// Where the front desk looks for its database, for messages.
QString frontDeskDatabaseLocation(const QString& programDir);
// Whether that database is missing altogether (rather than there but unreadable).
bool frontDeskDatabaseMissing(const QString& programDir);

struct NewDatabase {
    std::unique_ptr<Database> db;
    QString setAside; // where an unreadable file that stood in the way now is; empty if none
};

// Creates a new database where the program looks for one. A file already there is never
// overwritten: it is renamed first, so whatever it holds can still be rescued. Throws DbError
// when the folder cannot be written; a half-made new file is removed again.
NewDatabase createFrontDeskDatabase(const QString& programDir, setup::Contents contents, const Clock& clock);

} // namespace sorrel::frontdesk
