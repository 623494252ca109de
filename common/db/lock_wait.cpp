#include "common/db/lock_wait.h"

#include <atomic>

namespace sorrel {

namespace {
constexpr int kDefaultBoundMs = 15000;
std::atomic<int> bound{kDefaultBoundMs};
std::atomic<WaitObserver*> theObserver{nullptr};
} // namespace

namespace lock_wait {

int boundMs() {
    return bound.load();
}

void setBoundMs(int ms) {
    bound.store(ms > 0 ? ms : kDefaultBoundMs);
}

int idleInTransactionMs() {
    return 2 * boundMs();
}

WaitObserver* observer() {
    return theObserver.load();
}

void setObserver(WaitObserver* observer) {
    theObserver.store(observer);
}

} // namespace lock_wait

LockWait::LockWait(bool& inWait) : inWait_(inWait) {
    since_.start();
}

LockWait::~LockWait() {
    WaitObserver* observer = lock_wait::observer();
    if (!told_ || !observer) return;
    inWait_ = true;
    try {
        observer->waitOver();
    } catch (...) {
    }
    inWait_ = false;
}

void LockWait::tell() {
    WaitObserver* observer = lock_wait::observer();
    if (!observer) return;
    told_ = true;
    // Whatever the observer lets run meanwhile (a timer refreshing the board) must not use this
    // connection, which is in the middle of a statement.
    // The engine waits inside its own library: nothing may be thrown through it.
    inWait_ = true;
    try {
        observer->waiting(waitedMs());
    } catch (...) {
    }
    inWait_ = false;
}

} // namespace sorrel
