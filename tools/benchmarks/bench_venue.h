// The venue the cashier's steps are measured on: the demo venue grown to 200 tables, a year of
// history behind it, a business day open and half of the tables in use with an order on their
// bill. It also prepares what each step needs before it is timed (a free table, a settled bill,
// a bill cleared today), through the same logic the front desk runs, committing without waiting
// for the disk so that the preparation costs little; the measured step commits as the venue does.
#pragma once

#include "common/clock.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/checkout/checkout.h"
#include "frontdesk/tables/table_board.h"
#include "tests/support/test_database.h"
#include "tools/demo_history/demo_history.h"

#include <functional>

namespace sorrel::bench {

constexpr int kTables = 200;
// The lines of every order the benchmark commits.
constexpr int kOrderLines = 10;

struct VenueSize {
    int historyDays = 365;
    int billsPerDay = 300;
};

using Progress = std::function<void(const QString&)>;

class Venue {
  public:
    // The venue of 200 tables on the file with its history, its business day not begun yet;
    // `progress` is told how far it is.
    static std::unique_ptr<Venue> yearOld(const VenueSize& size, const Progress& progress);
    // The same venue copied onto a database of the durable server, as a venue moves to one.
    static std::unique_ptr<Venue> onServer(Venue& file, const Progress& progress);
    // The business day begun, the stock and balances topped up, half of the tables opened with
    // an order.
    void open();

    Database& db() { return scratch_.db(); }
    const Clock& clock() const { return clock_; }
    const billing::BillSettings& settings() const { return settings_; }
    const checkout::Cashier& cashier() const { return cashier_; }
    const demo_history::HistoryTally& history() const { return history_; }
    // The board as the board screen holds it between refreshes.
    tables::TableBoard& board() { return board_; }

    // The next table of the standing half, in use with its order; round and round.
    QString standingTable();
    // `count` free tables of the other half; when fewer are left, that half is emptied again first.
    QStringList spareTables(int count);
    QString spareTable() { return spareTables(1).first(); }

    // An order of kOrderLines lines staged on the table's bill, as the ordering screen leaves
    // it before "落单".
    void stageOrder(const QString& tableCode, int bill);
    // The table opened and its staged order committed; answers the bill number.
    int openWithOrder(const QString& tableCode);
    // The checkout of the table's bill entered with its payments typed: the member card and the
    // credit guest pay a part each and cash the rest.
    std::unique_ptr<checkout::CheckoutSession> typedCheckout(const QString& tableCode);
    // A spare table opened, ordered and settled with three methods; answers its bill.
    int settledSpare(const QString& tableCode);
    // A spare table whose bill was settled and cleared today; answers the bill.
    int clearedSpare(const QString& tableCode);

    // What the steps before left outstanding handed over, then a shift of `bills` bills cleared.
    void startShift(int bills);
    // Whether the shift of the handover sheet's measurement has begun on this venue.
    bool shiftStarted = false;

  private:
    Venue(Engine engine, test::ScratchDatabase::Contents contents);
    void growTables();
    void openStanding();
    void freeSpareTables();

    test::ScratchDatabase scratch_;
    FixedClock clock_;
    billing::BillSettings settings_;
    checkout::Cashier cashier_;
    demo_history::HistoryTally history_;
    tables::TableBoard board_;
    QStringList standing_;
    QStringList spare_;
    int nextStanding_ = 0;
    int nextSpare_ = 0;
};

// Commits without waiting for the disk while it lives: what a step's preparation writes is not
// what is measured.
class QuickCommits {
  public:
    explicit QuickCommits(Database& db);
    ~QuickCommits();
    QuickCommits(const QuickCommits&) = delete;
    QuickCommits& operator=(const QuickCommits&) = delete;

  private:
    void durable(bool on);
    Database& db_;
};

} // namespace sorrel::bench
