// A new venue database where the programs look for theirs, when none can be opened (both programs
// start through common/ui/database_offer.h).
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/schema/setup.h"

#include <memory>

namespace sorrel {

// Whether the programs' database is missing altogether (rather than there but unreadable).
bool programDatabaseMissing(const QString& programDir);

struct NewDatabase {
    std::unique_ptr<Database> db;
    QString setAside; // where an unreadable file that stood in the way now is; empty if none
};

// Creates a new database where the program looks for one. A file already there is never
// overwritten: it is renamed first, so whatever it holds can still be rescued. Throws DbError
// when the folder cannot be written; a half-made new file is removed again.
NewDatabase createProgramDatabase(const QString& programDir, setup::Contents contents, const Clock& clock);

} // namespace sorrel
