// The file system the test disks put between the file engine and the real disk: every call goes
// through to the real one, except the few a test disk takes over (writing, truncating, syncing,
// opening and removing a file). One test disk is in place at a time.
#pragma once

#include <functional>
#include <sqlcipher/sqlite3.h>

namespace sorrel::test {

// What a test disk does instead of the real one; a call left empty goes straight through.
// `tag` is what `opened` answered for the file (null for a nameless temporary file), `real` the
// real file to go on to.
struct DiskHooks {
    std::function<void*(const char* name)> opened;
    std::function<int(void* tag, sqlite3_file* real, const void* data, int amount, sqlite3_int64 offset)>
        write;
    std::function<int(void* tag, sqlite3_file* real, sqlite3_int64 size)> truncate;
    std::function<int(void* tag, sqlite3_file* real, int flags)> sync;
    std::function<void(const char* name)> removed;
};

class ForwardingDisk {
  public:
    // Connections opened from now on, until destruction, go through this disk, named `name`.
    ForwardingDisk(const char* name, DiskHooks hooks);
    ~ForwardingDisk();
    ForwardingDisk(const ForwardingDisk&) = delete;
    ForwardingDisk& operator=(const ForwardingDisk&) = delete;
};

} // namespace sorrel::test
