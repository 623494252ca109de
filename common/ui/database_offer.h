// Start-up's answer to a database that is missing or cannot be opened: say so plainly and
// offer to create a new one (presets, or the demo venue for a first look).
#pragma once

#include "common/clock.h"
#include "common/db/database.h"

#include <memory>

class QWidget;

namespace sorrel::ui {

// The open database, or nullptr when it could not be opened and the operator did not want a
// new one (the program then ends). `splash` is hidden while a question is up.
std::unique_ptr<Database> openDatabaseOrOfferNew(const QString& programDir, const Clock& clock,
                                                 QWidget* splash);

} // namespace sorrel::ui
