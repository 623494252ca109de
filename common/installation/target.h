// The database a tool works on, named on its command line: the path of an encrypted file, a
// server address "postgres://user@host:port/database", or a server connection file "*.conf".
#pragma once

#include "common/db/database.h"

#include <memory>

namespace sorrel {

enum class TargetUse {
    OpenExisting, // the database must be there and open with the installation's password
    ReadOnly,     // the same, only to look: the file is never written, the server session refuses writes
};

// True when `target` names a database server rather than a file.
bool isServerTarget(const QString& target);

// Throws DbError with a message fit for the administrator: the target is missing, is a folder,
// lies in a folder that cannot be written (OpenExisting), is not a database, does not open with
// the password, or the server cannot be reached.
std::unique_ptr<Database> openTarget(const QString& target, TargetUse use);

} // namespace sorrel
