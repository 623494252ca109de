// The files the file engine keeps beside a database file while it works on it. Whatever moves,
// removes or reads a database file treats these with it: a -wal left beside a file is part of
// its data, and one left beside another file would be read into that one.
#pragma once

#include <QStringList>

namespace sorrel {

// The write-ahead log: committed work not yet copied into the file.
QString walFile(const QString& databaseFile);
// The index of the write-ahead log, shared by every process working on the file.
QString walIndexFile(const QString& databaseFile);
// Every companion: the -wal, its index (-shm), and the -journal of a file not in WAL mode.
QStringList companionFiles(const QString& databaseFile);

} // namespace sorrel
