#include "tests/support/full_disk.h"

#include <sqlcipher/sqlite3.h>

namespace sorrel::test {

namespace {

struct Disk {
    sqlite3_vfs vfs{};
    sqlite3_vfs* real = nullptr;
    QString under;
    qint64 room = 0;
    qint64 taken = 0;
    int refused = 0;
};
Disk* disk = nullptr;

// The engine's file handle: our part, followed by the real engine's own.
struct File {
    sqlite3_file base;
    bool limited; // under the folder that fills up
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

File* fileOf(sqlite3_file* f) {
    return reinterpret_cast<File*>(f);
}
sqlite3_file* realOf(sqlite3_file* f) {
    return fileOf(f)->real();
}

int fileWrite(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
    if (fileOf(f)->limited) {
        if (disk->taken + amount > disk->room) {
            ++disk->refused;
            return SQLITE_FULL;
        }
        disk->taken += amount;
    }
    return realOf(f)->pMethods->xWrite(realOf(f), data, amount, offset);
}

const sqlite3_io_methods kMethods = {
    3,
    [](sqlite3_file* f) { return realOf(f)->pMethods->xClose(realOf(f)); },
    [](sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
        return realOf(f)->pMethods->xRead(realOf(f), buffer, amount, offset);
    },
    fileWrite,
    [](sqlite3_file* f, sqlite3_int64 size) { return realOf(f)->pMethods->xTruncate(realOf(f), size); },
    [](sqlite3_file* f, int flags) { return realOf(f)->pMethods->xSync(realOf(f), flags); },
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
    file->limited = name && QString::fromUtf8(name).startsWith(disk->under);
    const int rc = disk->real->xOpen(disk->real, name, file->real(), flags, outFlags);
    f->pMethods = file->real()->pMethods ? &kMethods : nullptr;
    return rc;
}

sqlite3_vfs* realVfs() {
    return disk->real;
}

} // namespace

FullDisk::FullDisk(const QString& under, qint64 room) {
    disk = new Disk;
    disk->real = sqlite3_vfs_find(nullptr);
    disk->under = under;
    disk->room = room;
    sqlite3_vfs& v = disk->vfs;
    v.iVersion = 2;
    v.szOsFile = int(sizeof(File)) + disk->real->szOsFile;
    v.mxPathname = disk->real->mxPathname;
    v.zName = "sorrel-full-disk";
    v.xOpen = open;
    v.xDelete = [](sqlite3_vfs*, const char* name, int syncDir) {
        return realVfs()->xDelete(realVfs(), name, syncDir);
    };
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

FullDisk::~FullDisk() {
    sqlite3_vfs_unregister(&disk->vfs);
    delete disk;
    disk = nullptr;
}

int FullDisk::refused() const {
    return disk->refused;
}

} // namespace sorrel::test
