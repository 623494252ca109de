// Where a program finds its database: the encrypted file data/VozezOzarev.mdb beside the
// executable, opened with the installation's database password and no login prompt.
#pragma once

#include "common/db/database.h"

#include <memory>

namespace sorrel {

// Every program that opens the database supplies this password (the file's key).
QString databasePassword();
// The default database file beside the executable in `programDir`.
QString defaultDatabaseFile(const QString& programDir);

} // namespace sorrel
