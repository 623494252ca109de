// The database file's write-ahead log folded back into the file on a thread of the server's own.
// Left to the engine, the commit that finds the log past a thousand pages does it, inside a
// phone's request and under the write lock: it writes those pages into the big file and waits for
// the disk to take them all (up to 0.4 s measured in the waiters' benchmark, with the whole queue
// of phones waiting behind it). The server's connections leave that to this thread, which folds
// the log back every second without holding up a writer or a reader (the engine's passive
// checkpoint). The log starts again from its beginning only at a change that begins after a
// fold took all of it; while the phones write without a pause that may never be, so when the log
// has grown long the thread folds once more between two of the server's changes (under its write
// gate: little is left by then, most of the pages went out without it). A commit is durable in the log as
// before; folding it into the file changes nothing of what is kept. The front desk's
// workstations keep the engine's own behaviour. A venue on the database server has no such log.
#pragma once

#include "common/db/database.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace sorrel::waiter {

class Checkpoints {
  public:
    // A connection of the server's leaves folding the log back to this thread (the file only).
    static void leaveToServer(Database& db);

    // Starts the thread on `own`, a connection of its own; none on the database server. `writes`
    // is the server's write gate; `longLog` how many pages make the log long.
    Checkpoints(std::unique_ptr<Database> own, std::mutex& writes,
                std::chrono::milliseconds every = std::chrono::milliseconds(1000), int longLog = 4000);
    // Stops the thread after one last fold, so the file holds everything committed.
    ~Checkpoints();
    Checkpoints(const Checkpoints&) = delete;
    Checkpoints& operator=(const Checkpoints&) = delete;

  private:
    void fold();
    void run();

    std::unique_ptr<Database> db_;
    std::mutex& writes_;
    std::chrono::milliseconds every_;
    int longLog_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace sorrel::waiter
