// The operators as the database holds them now, for a login or a check that must not trust a
// copy read at start: another workstation may have added, changed or deleted one meanwhile.
#pragma once

#include "common/db/database.h"
#include "common/login_session.h"

#include <optional>

namespace sorrel {

// The operator with this code and password (both trimmed); none when there is no such operator.
std::optional<OperatorEntry> findOperator(Database& db, const QString& operatorCode, const QString& password);
// The staff level of operator `operatorCode`; empty for an operator deleted meanwhile (a level
// re-coded meanwhile takes its operators along).
QString operatorLevel(Database& db, const QString& operatorCode);

} // namespace sorrel
