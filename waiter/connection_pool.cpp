#include "waiter/connection_pool.h"

namespace sorrel::waiter {

ConnectionPool::ConnectionPool(Opener open, int size, std::unique_ptr<Database> first)
    : open_(std::move(open)), size_(std::max(1, size)) {
    if (first) {
        idle_.push_back(std::move(first));
        opened_ = 1;
    }
}

ConnectionPool::Lease::~Lease() {
    if (db_->inTransaction()) db_->rollback();
    pool_.giveBack(std::move(db_));
}

ConnectionPool::Lease ConnectionPool::lease() {
    std::unique_lock lock(mutex_);
    returned_.wait(lock, [this] { return !idle_.empty() || opened_ < size_; });
    if (!idle_.empty()) {
        std::unique_ptr<Database> db = std::move(idle_.back());
        idle_.pop_back();
        return Lease(*this, std::move(db));
    }
    ++opened_;
    lock.unlock();
    try {
        return Lease(*this, open_());
    } catch (...) {
        const std::lock_guard again(mutex_);
        --opened_;
        returned_.notify_one();
        throw;
    }
}

void ConnectionPool::giveBack(std::unique_ptr<Database> db) {
    const std::lock_guard lock(mutex_);
    idle_.push_back(std::move(db));
    returned_.notify_one();
}

void ConnectionPool::fill() {
    for (;;) {
        {
            const std::lock_guard lock(mutex_);
            if (opened_ >= size_) return;
            ++opened_;
        }
        std::unique_ptr<Database> db;
        try {
            db = open_();
        } catch (...) {
            const std::lock_guard lock(mutex_);
            --opened_;
            throw;
        }
        giveBack(std::move(db));
    }
}

int ConnectionPool::opened() const {
    const std::lock_guard lock(mutex_);
    return opened_;
}

} // namespace sorrel::waiter
