// Creating a new database: every table, index and view, then the preset rows every venue
// starts from (and, on request, the demo venue), all in one transaction.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"

namespace sorrel::setup {

enum class Contents { Presets, DemoVenue };

// `db` must be empty. On any failure nothing is left behind and the DbError is rethrown.
void createDatabase(Database& db, Contents contents, const Clock& clock);

} // namespace sorrel::setup
