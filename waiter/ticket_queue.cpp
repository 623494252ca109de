#include "waiter/ticket_queue.h"

#include "common/error_log.h"
#include "common/unhandled_error.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>

namespace sorrel::waiter {

namespace {
// How many printed jobs are remembered for the phones that ask late.
constexpr int kRemembered = 500;
// The ticket thread's scheduling priority below the requests' (0).
constexpr int kTicketNiceness = 10;
} // namespace

TicketQueue::TicketQueue() : thread_([this] { work(); }) {}

TicketQueue::~TicketQueue() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

int TicketQueue::add(const QString& owner, Job job) {
    int number = 0;
    {
        const std::lock_guard lock(mutex_);
        number = ++last_;
        jobs_[number] = Entry{owner, std::move(job), {}};
        waiting_.push_back(number);
        while (int(jobs_.size()) > kRemembered && jobs_.begin()->second.outcome.done)
            jobs_.erase(jobs_.begin());
    }
    changed_.notify_all();
    return number;
}

std::optional<TicketQueue::Outcome> TicketQueue::outcome(const QString& owner, int number, int waitMs) {
    std::unique_lock lock(mutex_);
    const auto known = [&] {
        const auto it = jobs_.find(number);
        return it != jobs_.end() && it->second.owner == owner;
    };
    if (!known()) return std::nullopt;
    changed_.wait_for(lock, std::chrono::milliseconds(waitMs),
                      [&] { return !known() || jobs_.at(number).outcome.done; });
    if (!known()) return std::nullopt;
    return jobs_.at(number).outcome;
}

void TicketQueue::work() {
    // Laying a ticket out takes the processor tens of milliseconds: the phones' requests come
    // first, the kitchen's paper a moment later.
    setpriority(PRIO_PROCESS, id_t(gettid()), kTicketNiceness);
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || !waiting_.empty(); });
        if (waiting_.empty()) return; // ending, and nothing left to print
        const int number = waiting_.front();
        waiting_.pop_front();
        const Job job = jobs_.at(number).job;
        lock.unlock();
        QStringList failures;
        try {
            failures = job();
        } catch (const std::exception& e) {
            // The library's own words go to the log, never to a waiter's phone.
            const QString reference = errorlog::write(QStringLiteral("出品单打印"), QString::fromUtf8(e.what()));
            failures << kInternalErrorMessage + QStringLiteral("错误记录编号[%1]").arg(reference);
        }
        lock.lock();
        if (const auto it = jobs_.find(number); it != jobs_.end()) {
            it->second.outcome = {true, failures};
            it->second.job = {};
        }
        changed_.notify_all();
    }
}

} // namespace sorrel::waiter
