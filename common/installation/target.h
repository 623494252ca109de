// The database a tool works on, named on its command line: the path of an encrypted file, a
// server address "postgres://user@host:port/database", or a server connection file "*.conf".
// Opening a new one never touches an existing venue's data.
#pragma once

#include "common/db/database.h"

#include <memory>

namespace sorrel {

enum class TargetUse {
    OpenExisting, // the database must be there and open with the installation's password
    CreateNew,    // nothing may be there yet: a new empty file, or a server database without our tables
};

// True when `target` names a database server rather than a file.
bool isServerTarget(const QString& target);

// Throws DbError with a message fit for the administrator: the target is missing, already
// exists (CreateNew), cannot be written, is not a database, or does not open with the password.
std::unique_ptr<Database> openTarget(const QString& target, TargetUse use);

// Removes what a CreateNew left when filling the new database failed: the file, or on a server
// the tables and views that were made. Only for a target that openTarget(…, CreateNew) made.
void discardNewTarget(const QString& target);

} // namespace sorrel
