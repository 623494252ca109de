// A disk for the file engine that keeps only what was synced: while it is in place every
// connection opened writes through it, and a power cut leaves each file exactly as its last sync
// made it, as a real disk does when the power fails before the next sync.
#pragma once

#include "common/db/database.h"

#include <memory>

namespace sorrel::test {

class PowerCutDisk {
  public:
    // Connections opened from now on, until destruction, write through this disk.
    PowerCutDisk();
    ~PowerCutDisk();
    PowerCutDisk(const PowerCutDisk&) = delete;
    PowerCutDisk& operator=(const PowerCutDisk&) = delete;

    // The power fails while `connection` is open: nothing it does on closing reaches the disk,
    // every file holds what its last sync made durable (a file never synced is gone), and the
    // engine's shared-memory index, which lives in memory only, is lost too.
    void cut(std::unique_ptr<Database> connection);
};

} // namespace sorrel::test
