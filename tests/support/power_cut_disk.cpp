#include "tests/support/power_cut_disk.h"

#include <QByteArray>
#include <QFile>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <sqlcipher/sqlite3.h>
#include <vector>

namespace sorrel::test {

namespace {

// A write or a truncation that no sync has made durable yet.
struct Change {
    sqlite3_int64 offset;
    QByteArray bytes;
    bool truncate;
};

struct FileState {
    std::optional<QByteArray> durable; // what survives the power failing; nothing when never synced
    std::vector<Change> pending;
};

struct Disk {
    sqlite3_vfs vfs{};
    sqlite3_vfs* real = nullptr;
    std::map<QString, FileState> files;
    bool powerOff = false;
};
Disk* disk = nullptr;

// The engine's file handle: our part, followed by the real engine's own.
struct File {
    sqlite3_file base;
    FileState* state; // null for a nameless temporary file, which has nothing to survive
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

File* fileOf(sqlite3_file* f) {
    return reinterpret_cast<File*>(f);
}
sqlite3_file* realOf(sqlite3_file* f) {
    return fileOf(f)->real();
}

void record(sqlite3_file* f, Change change) {
    FileState* state = fileOf(f)->state;
    if (state && !disk->powerOff) state->pending.push_back(std::move(change));
}

void apply(QByteArray& image, const Change& c) {
    if (c.truncate) {
        image.resize(qsizetype(c.offset));
        return;
    }
    const qsizetype end = qsizetype(c.offset) + c.bytes.size();
    if (image.size() < end) image.resize(end, '\0');
    std::memcpy(image.data() + c.offset, c.bytes.constData(), size_t(c.bytes.size()));
}

int fileSync(sqlite3_file* f, int) {
    FileState* state = fileOf(f)->state;
    if (state && !disk->powerOff) {
        if (!state->durable) state->durable = QByteArray();
        for (const Change& c : state->pending)
            apply(*state->durable, c);
        state->pending.clear();
    }
    // The image kept here is the disk; the real file needs no waiting for.
    return SQLITE_OK;
}

int fileWrite(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
    record(f, {offset, QByteArray(static_cast<const char*>(data), amount), false});
    return realOf(f)->pMethods->xWrite(realOf(f), data, amount, offset);
}

int fileTruncate(sqlite3_file* f, sqlite3_int64 size) {
    record(f, {size, {}, true});
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}

// Reading through a memory map would be harmless, but the engine is kept on one path.
int fileFetch(sqlite3_file*, sqlite3_int64, int, void** pointer) {
    *pointer = nullptr;
    return SQLITE_OK;
}
int fileUnfetch(sqlite3_file*, sqlite3_int64, void*) {
    return SQLITE_OK;
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
    fileFetch,
    fileUnfetch,
};

int open(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    File* file = fileOf(f);
    file->state = nullptr;
    if (name) {
        const QString path = QString::fromUtf8(name);
        auto [found, fresh] = disk->files.try_emplace(path);
        if (QFile existing(path); fresh && existing.open(QIODevice::ReadOnly))
            found->second.durable = existing.readAll();
        file->state = &found->second;
    }
    const int rc = disk->real->xOpen(disk->real, name, file->real(), flags, outFlags);
    f->pMethods = file->real()->pMethods ? &kMethods : nullptr;
    return rc;
}

int remove(sqlite3_vfs*, const char* name, int syncDir) {
    const auto found = disk->files.find(QString::fromUtf8(name));
    if (found != disk->files.end() && !disk->powerOff) {
        found->second.durable.reset();
        found->second.pending.clear();
    }
    return disk->real->xDelete(disk->real, name, syncDir);
}

sqlite3_vfs* realVfs() {
    return disk->real;
}

} // namespace

PowerCutDisk::PowerCutDisk() {
    disk = new Disk;
    disk->real = sqlite3_vfs_find(nullptr);
    sqlite3_vfs& v = disk->vfs;
    v.iVersion = 2;
    v.szOsFile = int(sizeof(File)) + disk->real->szOsFile;
    v.mxPathname = disk->real->mxPathname;
    v.zName = "sorrel-power-cut";
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

PowerCutDisk::~PowerCutDisk() {
    sqlite3_vfs_unregister(&disk->vfs);
    delete disk;
    disk = nullptr;
}

void PowerCutDisk::cut(std::unique_ptr<Database> connection) {
    disk->powerOff = true;
    connection.reset();
    for (auto& [path, state] : disk->files) {
        state.pending.clear();
        QFile::remove(path + QStringLiteral("-shm"));
        QFile file(path);
        if (!state.durable)
            file.remove();
        else if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(*state.durable) < 0)
            ADD_FAILURE() << "power cut: cannot put back " << path.toStdString();
    }
    disk->powerOff = false;
}

} // namespace sorrel::test
