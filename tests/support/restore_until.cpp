// A restore that stops where the power or the operating system could end it: restores TARGET from
// BACK/vozezozarev.bak and, at POINT, prints "AT POINT" and waits there until it is killed (what
// the tests do to it). POINT is one of
//   backup  part of the current database copied into the before-restore backup;
//   copy    the before-restore backup made, part of the backup copied into the live database;
//   commit  the whole backup copied into the live database, before its transaction commits.
// The file's points are writes the engine makes (caught on their way to the disk, before they
// land); the server's are the restore's own progress. Prints "DONE" when the restore ends without
// passing the point, and exits 1 with a message when it fails.
#include "common/clock.h"
#include "common/db/errors.h"
#include "common/installation/backup.h"
#include "common/installation/target.h"
#include "tests/support/forwarding_disk.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

namespace {

std::string point;

[[noreturn]] void stopHere() {
    std::printf("AT %s\n", point.c_str());
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    std::_Exit(3);
}

// Which files the stop watches, tagged when the engine opens them.
char backupBeingWritten;
char liveLog;
QString livePath;
bool liveCopyStarted = false; // the before-restore backup is done
int backupWrites = 0;
int liveFrames = 0;

void* opened(const char* name) {
    const QString path = QString::fromUtf8(name);
    if (path.endsWith(QLatin1String(".bak.incomplete"))) return &backupBeingWritten;
    if (path == livePath + QLatin1String("-wal")) return &liveLog;
    return nullptr;
}

// A frame's header in the write-ahead log: its page, and for the frame that commits the
// transaction, the database's size in pages after it (zero for every other frame).
bool frameHeader(int amount) {
    return amount == 24;
}
bool commitsTransaction(const void* data) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    return bytes[4] || bytes[5] || bytes[6] || bytes[7];
}

int stopOrWrite(void* tag, sqlite3_file* real, const void* data, int amount, sqlite3_int64 offset) {
    if (tag == &backupBeingWritten && point == "backup" && ++backupWrites == 4) stopHere();
    if (tag == &liveLog && liveCopyStarted && frameHeader(amount)) {
        if (point == "commit" && commitsTransaction(data)) stopHere();
        if (point == "copy" && ++liveFrames == 4) stopHere();
    }
    return real->pMethods->xWrite(real, data, amount, offset);
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace sorrel;
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: sorrel-restore-until TARGET BACK backup|copy|commit\n");
        return 2;
    }
    point = arguments.at(3).toStdString();
    if (point != "backup" && point != "copy" && point != "commit") {
        std::fprintf(stderr, "unknown point %s\n", point.c_str());
        return 2;
    }
    const bool onServer = isServerTarget(arguments.at(1));
    livePath = onServer ? QString() : QFileInfo(arguments.at(1)).absoluteFilePath();
    test::DiskHooks hooks;
    hooks.opened = opened;
    hooks.write = stopOrWrite;
    const test::ForwardingDisk disk("sorrel-restore-until", std::move(hooks));
    try {
        const std::unique_ptr<Database> db = openTarget(arguments.at(1), TargetUse::OpenExisting);
        const FixedClock clock(QDateTime(QDate(2026, 3, 5), QTime(9, 0, 0)));
        // The restore's progress: the before-restore backup fills the first half, its copy from
        // a tenth on; the server's copy in fills from a half to 95, and 99 is the commit's turn.
        const auto progress = [&](int percent) {
            if (percent >= 50) liveCopyStarted = true;
            if (!onServer) return;
            if (point == "backup" && percent > 5 && percent < 30) stopHere();
            if (point == "copy" && percent > 52 && percent < 95) stopHere();
            if (point == "commit" && percent == 99) stopHere();
        };
        installation::restoreDatabase(*db, arguments.at(2), clock, progress);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("DONE\n");
    return 0;
}
