#include "tests/support/forwarding_disk.h"

namespace sorrel::test {

namespace {

struct Disk {
    sqlite3_vfs vfs{};
    sqlite3_vfs* real = nullptr;
    DiskHooks hooks;
};
Disk* disk = nullptr;

// The engine's file handle: our part, followed by the real engine's own.
struct File {
    sqlite3_file base;
    void* tag;
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

File* fileOf(sqlite3_file* f) {
    return reinterpret_cast<File*>(f);
}
sqlite3_file* realOf(sqlite3_file* f) {
    return fileOf(f)->real();
}
sqlite3_vfs* realVfs() {
    return disk->real;
}

int fileWrite(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
    if (disk->hooks.write) return disk->hooks.write(fileOf(f)->tag, realOf(f), data, amount, offset);
    return realOf(f)->pMethods->xWrite(realOf(f), data, amount, offset);
}

int fileTruncate(sqlite3_file* f, sqlite3_int64 size) {
    if (disk->hooks.truncate) return disk->hooks.truncate(fileOf(f)->tag, realOf(f), size);
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}

int fileSync(sqlite3_file* f, int flags) {
    if (disk->hooks.sync) return disk->hooks.sync(fileOf(f)->tag, realOf(f), flags);
    return realOf(f)->pMethods->xSync(realOf(f), flags);
}

const sqlite3_io_methods kMethods = {
    3,
    [](sqlite3_file* f) { return realOf(f)->pMethods->xClose(realOf(f)); },
    [](sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
        return realOf(f)->pMethods->xRead(realOf(f), buffer, amount, offset);
    },
    fileWrite,
    fileTruncate,
    fileSync,
    [](sqlite3_file* f, sqlite3_int64* size) { return realOf(f)->pMethods->xFileSize(realOf(f), size); },
    [](sqlite3_file* f, int level) { return realOf(f)->pMethods->xLock(realOf(f), level); },
    [](sqlite3_file* f, int level) { return realOf(f)->pMethods->xUnlock(realOf(f), level); },
    [](sqlite3_file* f, int* held) { return realOf(f)->pMethods->xCheckReservedLock(realOf(f), held); },
    [](sqlite3_file* f, int op, void* arg) { return realOf(f)->pMethods->xFileControl(realOf(f), op, arg); },
    [](sqlite3_file* f) { return realOf(f)->pMethods->xSectorSize(realOf(f)); },
    [](sqlite3_file* f) { return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f)); },
    [](sqlite3_file* f, int page, int size, int extend, void volatile** at) {
        return realOf(f)->pMethods->xShmMap(realOf(f), page, size, extend, at);
    },
    [](sqlite3_file* f, int offset, int n, int flags) {
        return realOf(f)->pMethods->xShmLock(realOf(f), offset, n, flags);
    },
    [](sqlite3_file* f) { realOf(f)->pMethods->xShmBarrier(realOf(f)); },
    [](sqlite3_file* f, int deleteFlag) { return realOf(f)->pMethods->xShmUnmap(realOf(f), deleteFlag); },
    // Pages are written through xWrite only, never through a memory map.
    [](sqlite3_file*, sqlite3_int64, int, void** pointer) {
        *pointer = nullptr;
        return SQLITE_OK;
    },
    [](sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; },
};

int open(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    File* file = fileOf(f);
    file->tag = name && disk->hooks.opened ? disk->hooks.opened(name) : nullptr;
    const int rc = realVfs()->xOpen(realVfs(), name, file->real(), flags, outFlags);
    f->pMethods = file->real()->pMethods ? &kMethods : nullptr;
    return rc;
}

int remove(sqlite3_vfs*, const char* name, int syncDir) {
    if (disk->hooks.removed) disk->hooks.removed(name);
    return realVfs()->xDelete(realVfs(), name, syncDir);
}

} // namespace

ForwardingDisk::ForwardingDisk(const char* name, DiskHooks hooks) {
    disk = new Disk;
    disk->real = sqlite3_vfs_find(nullptr);
    disk->hooks = std::move(hooks);
    sqlite3_vfs& v = disk->vfs;
    v.iVersion = 2;
    v.szOsFile = int(sizeof(File)) + disk->real->szOsFile;
    v.mxPathname = disk->real->mxPathname;
    v.zName = name;
    v.xOpen = open;
    v.xDelete = remove;
    v.xAccess = [](sqlite3_vfs*, const char* name, int flags, int* out) {
        return realVfs()->xAccess(realVfs(), name, flags, out);
    };
    v.xFullPathname = [](sqlite3_vfs*, const char* name, int size, char* out) {
        return realVfs()->xFullPathname(realVfs(), name, size, out);
    };
    v.xDlOpen = [](sqlite3_vfs*, const char* name) { return realVfs()->xDlOpen(realVfs(), name); };
    v.xDlError = [](sqlite3_vfs*, int size, char* out) { realVfs()->xDlError(realVfs(), size, out); };
    v.xDlSym = [](sqlite3_vfs*, void* handle, const char* symbol) {
        return realVfs()->xDlSym(realVfs(), handle, symbol);
    };
    v.xDlClose = [](sqlite3_vfs*, void* handle) { realVfs()->xDlClose(realVfs(), handle); };
    v.xRandomness = [](sqlite3_vfs*, int size, char* out) {
        return realVfs()->xRandomness(realVfs(), size, out);
    };
    v.xSleep = [](sqlite3_vfs*, int micros) { return realVfs()->xSleep(realVfs(), micros); };
    v.xCurrentTime = [](sqlite3_vfs*, double* now) { return realVfs()->xCurrentTime(realVfs(), now); };
    v.xGetLastError = [](sqlite3_vfs*, int size, char* out) {
        return realVfs()->xGetLastError(realVfs(), size, out);
    };
    v.xCurrentTimeInt64 = [](sqlite3_vfs*, sqlite3_int64* now) {
        return realVfs()->xCurrentTimeInt64(realVfs(), now);
    };
    sqlite3_vfs_register(&v, 1);
}

ForwardingDisk::~ForwardingDisk() {
    sqlite3_vfs_unregister(&disk->vfs);
    delete disk;
    disk = nullptr;
}

} // namespace sorrel::test
