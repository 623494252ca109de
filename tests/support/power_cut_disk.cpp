#include "tests/support/power_cut_disk.h"

#include "tests/support/forwarding_disk.h"

#include <QByteArray>
#include <QFile>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
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
    std::map<QString, FileState> files;
    bool powerOff = false;
    std::unique_ptr<ForwardingDisk> shim;
};
Disk* disk = nullptr;

FileState* stateOf(void* tag) {
    return static_cast<FileState*>(tag);
}

void record(void* tag, Change change) {
    FileState* state = stateOf(tag);
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

int fileSync(void* tag, sqlite3_file*, int) {
    FileState* state = stateOf(tag);
    if (state && !disk->powerOff) {
        if (!state->durable) state->durable = QByteArray();
        for (const Change& c : state->pending)
            apply(*state->durable, c);
        state->pending.clear();
    }
    // The image kept here is the disk; the real file needs no waiting for.
    return SQLITE_OK;
}

int fileWrite(void* tag, sqlite3_file* real, const void* data, int amount, sqlite3_int64 offset) {
    record(tag, {offset, QByteArray(static_cast<const char*>(data), amount), false});
    return real->pMethods->xWrite(real, data, amount, offset);
}

int fileTruncate(void* tag, sqlite3_file* real, sqlite3_int64 size) {
    record(tag, {size, {}, true});
    return real->pMethods->xTruncate(real, size);
}

// A named file's state, read from the disk the first time it is opened.
void* opened(const char* name) {
    const QString path = QString::fromUtf8(name);
    auto [found, fresh] = disk->files.try_emplace(path);
    if (QFile existing(path); fresh && existing.open(QIODevice::ReadOnly))
        found->second.durable = existing.readAll();
    return &found->second;
}

void removed(const char* name) {
    const auto found = disk->files.find(QString::fromUtf8(name));
    if (found != disk->files.end() && !disk->powerOff) {
        found->second.durable.reset();
        found->second.pending.clear();
    }
}

} // namespace

PowerCutDisk::PowerCutDisk() {
    disk = new Disk;
    DiskHooks hooks;
    hooks.opened = opened;
    hooks.write = fileWrite;
    hooks.truncate = fileTruncate;
    hooks.sync = fileSync;
    hooks.removed = removed;
    disk->shim = std::make_unique<ForwardingDisk>("sorrel-power-cut", std::move(hooks));
}

PowerCutDisk::~PowerCutDisk() {
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
