// The kitchen tickets of committed orders, printed one after another on a thread of their own:
// a phone's "下单" is answered as soon as the bill is written, and the phone then asks how its
// tickets went. Tickets still waiting when the server stops are printed before it ends.
#pragma once

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace sorrel::waiter {

class TicketQueue {
  public:
    // Prints one order's tickets and marks their lines sent; answers why each ticket that did
    // not go out failed.
    using Job = std::function<QStringList()>;

    TicketQueue();
    // Prints what is still waiting, then ends the thread.
    ~TicketQueue();
    TicketQueue(const TicketQueue&) = delete;
    TicketQueue& operator=(const TicketQueue&) = delete;

    // Queues the tickets of an order taken by session `owner`; answers the job's number.
    int add(const QString& owner, Job job);

    struct Outcome {
        bool done = false;
        QStringList failures;
    };
    // Job `number` of session `owner`, waiting up to `waitMs` for it to be printed; none when no
    // such job is known to that session (or it is long forgotten).
    std::optional<Outcome> outcome(const QString& owner, int number, int waitMs);

  private:
    struct Entry {
        QString owner;
        Job job;
        Outcome outcome;
    };
    void work();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<int> waiting_;
    std::map<int, Entry> jobs_;
    int last_ = 0;
    bool ending_ = false;
    std::thread thread_;
};

} // namespace sorrel::waiter
