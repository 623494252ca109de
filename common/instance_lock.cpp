#include "common/instance_lock.h"

#include <QDir>

namespace sorrel {

namespace {

QString lockPath(const QString& dir, Program program) {
    return QDir(dir).filePath(program == Program::FrontDesk ? QStringLiteral("sorrel-frontdesk.lock")
                                                            : QStringLiteral("sorrel-backoffice.lock"));
}

std::unique_ptr<QLockFile> makeLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // Only a dead owner makes a lock stale; a program that has run for days still holds it.
    lock->setStaleLockTime(0);
    return lock;
}

// Whether the other program holds its lock. Taking it for a moment also clears a stale lock.
bool otherHoldsLock(const QString& path) {
    auto probe = makeLock(path);
    if (probe->tryLock(0)) {
        probe->unlock();
        return false;
    }
    return probe->error() == QLockFile::LockFailedError;
}

} // namespace

QString instanceLockDir() {
    const QString configured = qEnvironmentVariable("SORREL_LOCK_DIR");
    return configured.isEmpty() ? QDir::tempPath() : configured;
}

InstanceLock::InstanceLock(Program self, const QString& lockDir) : self_(self), dir_(lockDir) {}

InstanceLock::~InstanceLock() = default;

InstanceCheck InstanceLock::acquire() {
    QDir().mkpath(dir_);
    const Program other = self_ == Program::FrontDesk ? Program::BackOffice : Program::FrontDesk;
    auto own = makeLock(lockPath(dir_, self_));
    // A short wait rides over the moment the other program probes this lock while starting.
    const bool selfRunning = !own->tryLock(300) && own->error() == QLockFile::LockFailedError;
    const bool otherRunning = otherHoldsLock(lockPath(dir_, other));
    if (selfRunning) return otherRunning ? InstanceCheck::BothRunning : InstanceCheck::AlreadyRunning;
    if (otherRunning) return InstanceCheck::OtherRunning;
    // A folder that cannot hold a lock file must not keep the venue from working.
    if (own->isLocked()) own_ = std::move(own);
    return InstanceCheck::Free;
}

QString instanceRefusalMessage(Program self, InstanceCheck check) {
    const bool frontDesk = self == Program::FrontDesk;
    switch (check) {
    case InstanceCheck::AlreadyRunning:
        return frontDesk ? QStringLiteral("[前台系统]已经运行！") : QStringLiteral("[后台系统]已经运行！");
    case InstanceCheck::OtherRunning:
        return frontDesk ? QStringLiteral("[后台系统]运行时不能运行[前台系统]，请退出[后台系统]后运行！")
                         : QStringLiteral("[前台系统]运行时不能运行[后台系统]，请退出[前台系统]后运行！");
    case InstanceCheck::Free:
    case InstanceCheck::BothRunning:
        break;
    }
    return {};
}

} // namespace sorrel
