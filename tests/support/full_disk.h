// A disk for the file engine that fills up: while it is in place every connection opened writes
// through it, and once the files under one folder (or one database with its journals) have taken
// the room given, the next write there fails as on a full disk. Writes elsewhere go through.
#pragma once

#include <QString>

namespace sorrel::test {

class FullDisk {
  public:
    // Connections opened from now on, until destruction, write through this disk: the files whose
    // path starts with `under` may take `room` bytes of writes in all.
    FullDisk(const QString& under, qint64 room);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // How many writes there were refused so far (none: the room was enough).
    int refused() const;
};

} // namespace sorrel::test
