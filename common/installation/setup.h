// Creating a new database: every table, index and view, then the preset rows every venue
// starts from (and, on request, the demo venue), all in one transaction.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"

#include <functional>

namespace sorrel::setup {

enum class Contents { Presets, DemoVenue };

// `db` must be empty. `more`, when given, writes what else the new database holds (a history)
// in the same transaction. On any failure nothing is left behind and the DbError is rethrown.
void createDatabase(Database& db, Contents contents, const Clock& clock,
                    const std::function<void(Database&)>& more = {});

} // namespace sorrel::setup
