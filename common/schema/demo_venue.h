// The demo venue: a small Chinese restaurant with karaoke rooms, filled so that every feature
// of both programs can be tried at once.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"

namespace sorrel::demo {

// The demo cashier, besides the preset administrator.
inline constexpr const char* kCashierLevel = "02";
inline constexpr const char* kCashierOperator = "02";
inline constexpr const char* kCashierPassword = "2222";

// Writes the venue over the presets; runs inside the caller's transaction.
void write(Database& db, const Clock& clock);

// The menu part of the venue (demo_menu.cpp), written by write().
void writeMenu(Database& db);

} // namespace sorrel::demo
