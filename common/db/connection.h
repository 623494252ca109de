// Where a program finds its database: the encrypted file data/VozezOzarev.mdb beside the
// executable, or the database server that data/server.conf names; opened with the installation's
// database password and no login prompt.
#pragma once

#include "common/db/database.h"

#include <memory>

namespace sorrel {

// Every program that opens the database supplies this password (the file's key, and the
// server login's password unless the connection file gives another).
QString databasePassword();
// The default database file beside the executable in `programDir`.
QString defaultDatabaseFile(const QString& programDir);
// The connection file that points the programs in `programDir` at a server instead.
QString serverConfFile(const QString& programDir);

// Whether the programs in `programDir` work on a server (data/server.conf is there): then a
// missing or unreadable database is never answered by making a new file.
bool programDatabaseOnServer(const QString& programDir);
// Where the programs' database is, for messages: the file's path, or the server as the
// connection file names it (the file's own path when it cannot be read).
QString programDatabaseLocation(const QString& programDir);

// The database both programs open at start-up: the server when data/server.conf exists, the file
// otherwise. Throws DbError with a message for the staff (missing file, wrong key, malformed
// connection file, unreachable server, refused login).
std::unique_ptr<Database> openProgramDatabase(const QString& programDir);

} // namespace sorrel
