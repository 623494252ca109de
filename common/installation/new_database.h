// Making a new venue database where a command line or a program names one: nothing there is
// ever overwritten, and no failure and no kill leaves a half-made database under that name.
#pragma once

#include "common/db/database.h"

#include <functional>

namespace sorrel::installation {

// Makes the database `target` names and hands it to `fill`, which writes everything in one
// transaction. A file is made beside the target under a temporary name (see incompleteFile),
// readable by its owner only, and takes the target's name only once filled and closed; a server
// database must hold none of the system's tables and gets them all in fill's one transaction.
// Throws DbError when the target or a -wal of it is there already, its folder is missing or
// cannot be written, another run is making the same file, or `fill` fails; nothing is left.
void makeNewDatabase(const QString& target, const std::function<void(Database&)>& fill);

// The name a new file has while it is being made. A run that was killed leaves it behind; the
// next run on the same target takes it over.
QString incompleteFile(const QString& target);

} // namespace sorrel::installation
