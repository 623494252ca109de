// A cashier working through business days at random: day start, opening tables, orders with
// returns, gifts and set meals, checkouts by cash, member card, credit and waiver, clearing,
// resuming, transfers, merges, reverse settlement, the way back to the board, handovers and day
// end, each through the same logic the front desk's screens call. What it does next depends only
// on what the database holds, so a driver started on a database another one left halfway goes on
// from there.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"

#include <QString>
#include <functional>
#include <optional>
#include <random>

namespace sorrel::crash {

class DayDriver {
  public:
    // `steps` hears the name of each step as it begins.
    DayDriver(Database& db, const Clock& clock, quint32 seed, std::function<void(const QString&)> steps = {});

    // What became of one step: done (or nothing to do on), or refused by the logic with the
    // operator's message (the stock, a balance, another workstation that changed the table or
    // held the database meanwhile), which writes nothing and is not an error.
    struct Outcome {
        bool refused = false;
        QString message;
    };
    // One business step chosen at random among those the venue allows now; any failure other than
    // a refusal throws.
    Outcome step();

    // The steps themselves, for callers that script a day. Each answers false when the venue
    // offers nothing to do it on; `table` names the table, or any that qualifies when empty.
    bool startDay();
    bool openTable(const QString& table = {});
    bool order(const QString& table = {});
    enum class Payment { Cash, Member, Credit, Waiver, ThreeMethods };
    bool settle(const QString& table = {}, std::optional<Payment> payment = {});
    bool clear(const QString& table = {});
    bool resume(const QString& table = {});
    bool transfer();
    bool merge();
    bool reverse();
    bool backToBoard();
    bool handOver();
    bool endDay();

  private:
    QString pick(const QStringList& states, const QString& wanted);
    int bill(const QString& table);
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    void begin(const char* name);

    Database& db_;
    const Clock& clock_;
    std::mt19937 random_;
    std::function<void(const QString&)> steps_;
};

} // namespace sorrel::crash
