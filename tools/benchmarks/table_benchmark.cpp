// How long the cashier waits at the board on a venue of 200 tables, half of them in use: the
// board's re-read of every table (also its live refresh), the opening of a table, the way back
// from a table to the board, and the settle transaction of a bill. Each figure is one operation, as median
// and 95th percentile, on the file and on the server, and as a multiple of one bare durable write (a
// transaction updating one row) measured in the same run, so that figures from different disks compare.
//
// Run it by hand (build/bin/bench_tables); afterwards `build/bin/sorrel-test-server stop`
// stops the throwaway server it may have started.
#include "common/business_day.h"
#include "common/db/transaction.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/checkout/checkout.h"
#include "frontdesk/tables/board_tables.h"
#include "frontdesk/tables/opening.h"
#include "frontdesk/tables/table_work.h"
#include "tests/support/test_database.h"
#include "tests/support/test_server.h"

#include <QMap>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>

using namespace sorrel;

namespace {

constexpr int kTables = 200;
constexpr int kRepetitions = 200;

// The demo venue grown to 200 tables with a business day open; every other table in use.
struct Venue {
    test::ScratchDatabase scratch;
    FixedClock clock{QDateTime(QDate(2024, 5, 2), QTime(18, 0))};
    billing::BillSettings settings;
    QStringList freeTables;

    explicit Venue(Engine engine) : scratch(engine, test::ScratchDatabase::Contents::DemoVenue) {
        Database& db = scratch.db();
        startDay(db, clock);
        const int demoTables = db.scalar(QStringLiteral("SELECT count(*) FROM TableList")).toInt();
        {
            Transaction tx(db);
            for (int n = demoTables; n < kTables; ++n)
                db.exec(
                    QStringLiteral("INSERT INTO TableList (tabl_code, tabl_name, tabl_type_code, dept_code, "
                                   "tabl_stat_code) VALUES (?, ?, ?, ?, '1')"),
                    {QStringLiteral("Z%1").arg(n, 2, 36, QLatin1Char('0')).toUpper(),
                     QStringLiteral("宴会桌%1").arg(n), n % 2 ? QStringLiteral("01") : QStringLiteral("04"),
                     n % 2 ? QStringLiteral("01") : QStringLiteral("02")});
            tx.commit();
        }
        settings = billing::BillSettings::load(db);
        const QList<tables::BoardTable> all = tables::loadBoardTables(db, tables::BoardSort::ByCode);
        for (int i = 0; i < all.size(); ++i)
            if (i % 2)
                open(all[i].code);
            else
                freeTables << all[i].code;
    }

    billing::GuestRecord open(const QString& code) {
        Database& db = scratch.db();
        billing::GuestRecord guest =
            tables::newGuestRecord(db, *tables::loadBoardTable(db, code), "1", clock);
        guest.tabl_gues_coun = 4;
        guest.tabl_gues_name = QStringLiteral("宾客");
        return tables::openTable(db, guest, settings, clock, {});
    }

    // Puts the tables opened by the opening benchmark back to free, outside the timing.
    void freeAgain(const QStringList& codes) {
        Database& db = scratch.db();
        Transaction tx(db);
        for (const QString& code : codes) {
            db.exec(QStringLiteral("DELETE FROM TableGuestlist WHERE tabl_code = ?"), {code});
            db.exec(QStringLiteral("UPDATE TableList SET tabl_stat_code = '1', tabl_gues_auto_recn = 0 WHERE "
                                   "tabl_code = ?"),
                    {code});
        }
        tx.commit();
    }
};

// The scratch venues, dropped before main returns: dropping a server database afterwards would
// connect after the TLS library has shut down.
std::map<Engine, std::unique_ptr<Venue>>& venues() {
    static std::map<Engine, std::unique_ptr<Venue>> all;
    return all;
}

Venue& venue(Engine engine) {
    std::unique_ptr<Venue>& v = venues()[engine];
    if (!v) v = std::make_unique<Venue>(engine);
    return *v;
}

void bareDurableWrite(benchmark::State& state, Engine engine) {
    Database& db = venue(engine).scratch.db();
    for (auto _ : state) {
        Transaction tx(db);
        db.exec(QStringLiteral("UPDATE SetupPay SET time_star = time_star"));
        tx.commit();
    }
}

void boardRefresh(benchmark::State& state, Engine engine) {
    Database& db = venue(engine).scratch.db();
    for (auto _ : state)
        benchmark::DoNotOptimize(tables::loadBoardTables(db, tables::BoardSort::ByState));
}

void openingTransaction(benchmark::State& state, Engine engine) {
    Venue& v = venue(engine);
    static std::map<Engine, QStringList> opened;
    for (auto _ : state) {
        state.PauseTiming();
        if (opened[engine].size() == v.freeTables.size()) {
            v.freeAgain(opened[engine]);
            opened[engine].clear();
        }
        const QString code = v.freeTables[opened[engine].size()];
        billing::GuestRecord guest = tables::newGuestRecord(
            v.scratch.db(), *tables::loadBoardTable(v.scratch.db(), code), "1", v.clock);
        guest.tabl_gues_coun = 4;
        state.ResumeTiming();
        tables::openTable(v.scratch.db(), guest, v.settings, v.clock, {});
        state.PauseTiming();
        opened[engine] << code;
        state.ResumeTiming();
    }
}

// Leaving a table's work screen: its bill saved, every board copy refreshed, the board re-read.
void returnToBoard(benchmark::State& state, Engine engine) {
    Venue& v = venue(engine);
    Database& db = v.scratch.db();
    const int bill = db.scalar(QStringLiteral("SELECT max(tabl_gues_auto_recn) FROM TableGuestlist")).toInt();
    billing::GuestRecord guest = *billing::GuestRecord::load(db, bill);
    int round = 0;
    for (auto _ : state) {
        guest.tabl_gues_rema = QStringLiteral("第%1次").arg(++round);
        tables::leaveTable(db, &guest);
        benchmark::DoNotOptimize(tables::loadBoardTables(db, tables::BoardSort::ByCode));
    }
}

// The settle transaction alone: a bill of five lines paid in cash and one yuan by member card, its
// checkout entered and its settlement prepared outside the timing.
void settleTransaction(benchmark::State& state, Engine engine) {
    Venue& v = venue(engine);
    Database& db = v.scratch.db();
    static std::map<Engine, QStringList> settled;
    if (settled.find(engine) == settled.end()) v.freeAgain(v.freeTables); // what the opening left open
    const checkout::Cashier cashier{QStringLiteral("01"), QStringLiteral("管理员"), QStringLiteral("1"),
                                    QStringLiteral("早班")};
    for (auto _ : state) {
        state.PauseTiming();
        if (settled[engine].size() == v.freeTables.size()) {
            v.freeAgain(settled[engine]);
            settled[engine].clear();
        }
        const QString code = v.freeTables[settled[engine].size()];
        const int bill = v.open(code).tabl_gues_auto_recn;
        for (const char* item : {"101001", "102001", "102002", "201001", "202001"})
            db.exec(
                QStringLiteral(
                    "INSERT INTO TableConsList (tabl_gues_auto_recn, tabl_code, kind_code, clas_code, "
                    "item_code, menu_type_code, item_type_flag, item_coun_flag, tabl_cons_coun, "
                    "item_unit_pric, tabl_cons_tota) SELECT ?, ?, c.kind_code, i.clas_code, i.item_code, "
                    "'1', 1, 1, 2, i.item_unit_pric, 2 * i.item_unit_pric FROM itemlist i JOIN classlist c "
                    "ON c.clas_code = i.clas_code WHERE i.item_code = ?"),
                {bill, code, QString::fromLatin1(item)});
        checkout::CheckoutSession checkout(db, v.clock);
        checkout.enter(code);
        checkout.chooseMember(QStringLiteral("880001"), QStringLiteral("123456"));
        checkout.setAmount(0, checkout.guest().tabl_gues_shou);
        for (int row = 0; row < checkout.tender().payments.size(); ++row)
            if (checkout.tender().payments[row].code == checkout::PayCode::kMember)
                checkout.setAmount(row, 1);
        const checkout::Settlement plan = checkout.prepare();
        state.ResumeTiming();
        checkout.settle(plan, cashier);
        state.PauseTiming();
        settled[engine] << code;
        state.ResumeTiming();
    }
}

double percentile95(const std::vector<double>& values) {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    return sorted[std::max<size_t>(1, size_t(std::ceil(0.95 * double(sorted.size())))) - 1];
}

// The console's figures, then each operation's median and 95th percentile as a multiple of the
// bare durable write on the same engine.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate)
                figures_[QString::fromStdString(run.run_name.function_name)]
                        [QString::fromStdString(run.aggregate_name)] = run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-32s %12s %12s %10s %10s\n", "operation (ms)", "median", "p95", "x write", "p95 x");
        for (auto it = figures_.cbegin(); it != figures_.cend(); ++it) {
            const QString engine = it.key().section(QLatin1Char('/'), 1);
            const QMap<QString, double>& write =
                figures_.value(QStringLiteral("bare_durable_write/") + engine);
            const double median = it->value(QStringLiteral("median"));
            const double p95 = it->value(QStringLiteral("p95"));
            std::printf("%-32s %12.3f %12.3f %10.1f %10.1f\n", qPrintable(it.key()), median, p95,
                        median / write.value(QStringLiteral("median"), 1),
                        p95 / write.value(QStringLiteral("p95"), 1));
        }
    }

  private:
    QMap<QString, QMap<QString, double>> figures_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::vector<Engine> engines{Engine::Embedded};
    if (test::serverInstalled()) engines.push_back(Engine::Server);
    const std::pair<const char*, void (*)(benchmark::State&, Engine)> operations[] = {
        {"bare_durable_write", bareDurableWrite},    {"board_refresh_200_tables", boardRefresh},
        {"opening_transaction", openingTransaction}, {"return_to_board", returnToBoard},
        {"settle_transaction", settleTransaction},
    };
    for (Engine engine : engines)
        for (const auto& [name, operation] : operations)
            benchmark::RegisterBenchmark(
                (std::string(name) + "/" + (engine == Engine::Embedded ? "file" : "server")).c_str(),
                operation, engine)
                ->Iterations(1)
                ->Repetitions(kRepetitions)
                ->ComputeStatistics("p95", percentile95)
                ->ReportAggregatesOnly(true)
                ->Unit(benchmark::kMillisecond);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    venues().clear();
    return 0;
}
