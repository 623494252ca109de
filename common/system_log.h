// The system log (systemlog): one row per event worth keeping — logins, password changes,
// handovers, exits — stamped with the operator's name and the moment.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"

namespace sorrel {

// Appends one row naming the operator with code `operatorCode` (empty name when there is no
// such operator). Opens no transaction: it joins the caller's, if any.
void logSet(Database& db, const Clock& clock, const QString& operatorCode, const QString& text);

} // namespace sorrel
