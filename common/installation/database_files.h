// A venue's database file on disk together with its companions (-wal, -shm, -journal): moved
// and removed as one, so that no -wal is ever left to be read into another file.
#pragma once

#include <QString>

namespace sorrel::installation {

// The file, or else the first of its companions, that is there; empty when none is.
QString databaseFileThere(const QString& path);
// Renames the file and every companion that is there to `to`, with the same endings, never over
// an existing file. Throws DbError naming the file that could not be renamed.
void renameDatabaseFile(const QString& from, const QString& to);
// Removes the file and its companions.
void removeDatabaseFile(const QString& path);
// Whether a file can be made in the folder that holds `path`, or in the nearest folder above it
// that is there when that folder is still to be made.
bool folderWritable(const QString& path);

} // namespace sorrel::installation
