// One phone request, one transaction. The front desk's steps a request calls (staging an item,
// the order's commit, opening a table) each open a transaction of their own, as at the desk, and
// a request strings several of them together with the board's copies and the system log: one
// durable write each, all queued on the venue's one write lock. Run through inOneTransaction(),
// the request's steps join its transaction instead: the request waits for the disk once, and a
// failure anywhere in it leaves nothing of it written.
#pragma once

#include "common/db/database.h"
#include "common/db/transaction.h"

namespace sorrel::waiter {

// A connection on which a transaction begun inside an open one joins it: its commit is the
// outer one's, and its rollback rolls the whole request back at once (there is no partial undo:
// a step that catches its own failure and carries on then writes outside any transaction, as it
// did on its own, and the request's commit is refused, so no half is taken for the whole).
class JoiningConnection final : public Database {
  public:
    explicit JoiningConnection(Database& connection) : real_(connection) {}

    Engine engine() const override { return real_.engine(); }
    QString location() const override { return real_.location(); }
    int exec(const QString& sql, const QVariantList& params = {}) override { return real_.exec(sql, params); }
    void execLater(const QString& sql, const QVariantList& params = {}) override {
        real_.execLater(sql, params);
    }
    RecordSet query(const QString& sql, const QVariantList& params = {}) override {
        return real_.query(sql, params);
    }
    void begin() override;
    void beginReading() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override { return real_.inTransaction(); }
    QStringList columnsOf(const QString& table) override { return real_.columnsOf(table); }
    QString lockRowsClause() const override { return real_.lockRowsClause(); }

  private:
    Database& real_;
    int depth_ = 0; // transactions open on this connection, the joined ones included
};

// Runs `step` on a joining view of `connection` inside one transaction: committed when the
// step returns, rolled back when it throws (and the exception passed on).
template <typename Step>
auto inOneTransaction(Database& connection, Step&& step) -> decltype(step(connection)) {
    JoiningConnection db(connection);
    Transaction tx(db);
    if constexpr (std::is_void_v<decltype(step(connection))>) {
        step(static_cast<Database&>(db));
        tx.commit();
    } else {
        auto result = step(static_cast<Database&>(db));
        tx.commit();
        return result;
    }
}

} // namespace sorrel::waiter
