// The server's connections to the venue's database: one per worker thread at most, opened when
// first needed and kept for the server's life (opening the keyed file costs tens of
// milliseconds). A connection serves one request at a time.
#pragma once

#include "common/db/database.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace sorrel::waiter {

class ConnectionPool {
  public:
    using Opener = std::function<std::unique_ptr<Database>()>;
    // `first`, when given, is the connection start-up already opened and checked.
    ConnectionPool(Opener open, int size, std::unique_ptr<Database> first = {});

    // A connection lent for the scope of one request; waits while all are lent.
    class Lease {
      public:
        Lease(ConnectionPool& pool, std::unique_ptr<Database> db) : pool_(pool), db_(std::move(db)) {}
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        ~Lease();
        Database& db() { return *db_; }

      private:
        ConnectionPool& pool_;
        std::unique_ptr<Database> db_;
    };
    Lease lease();

    // Opens every connection not opened yet, so no phone waits for a keyed file to open; a
    // connection that cannot be opened throws, as on first use.
    void fill();

    // How many connections have been opened so far.
    int opened() const;

  private:
    void giveBack(std::unique_ptr<Database> db);

    Opener open_;
    int size_;
    mutable std::mutex mutex_;
    std::condition_variable returned_;
    std::vector<std::unique_ptr<Database>> idle_;
    int opened_ = 0;
};

} // namespace sorrel::waiter
