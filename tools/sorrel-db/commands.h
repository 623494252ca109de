// What sorrel-db does: create a new venue database with the presets, create one with the demo
// venue, or check an existing one. Each command reports on the console and answers an exit code.
#pragma once

#include "command_line.h"

namespace sorrel::tool {

// Exit codes of every command.
inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

const QList<Command>& commands();

} // namespace sorrel::tool
