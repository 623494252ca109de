#include "tests/support/full_disk.h"

#include "tests/support/forwarding_disk.h"

#include <memory>

namespace sorrel::test {

namespace {

struct Disk {
    QString under;
    qint64 room = 0;
    qint64 taken = 0;
    int refused = 0;
    std::unique_ptr<ForwardingDisk> shim;
};
Disk* disk = nullptr;

// What a file under the folder that fills up is tagged with.
char limitedFile;

int write(void* tag, sqlite3_file* real, const void* data, int amount, sqlite3_int64 offset) {
    if (tag == &limitedFile) {
        if (disk->taken + amount > disk->room) {
            ++disk->refused;
            return SQLITE_FULL;
        }
        disk->taken += amount;
    }
    return real->pMethods->xWrite(real, data, amount, offset);
}

} // namespace

FullDisk::FullDisk(const QString& under, qint64 room) {
    disk = new Disk;
    disk->under = under;
    disk->room = room;
    DiskHooks hooks;
    hooks.opened = [](const char* name) -> void* {
        return QString::fromUtf8(name).startsWith(disk->under) ? &limitedFile : nullptr;
    };
    hooks.write = write;
    disk->shim = std::make_unique<ForwardingDisk>("sorrel-full-disk", std::move(hooks));
}

FullDisk::~FullDisk() {
    delete disk;
    disk = nullptr;
}

int FullDisk::refused() const {
    return disk->refused;
}

} // namespace sorrel::test
