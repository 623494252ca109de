// How long the reverse-settlement list ("已结帐信息") takes with a year of cleared bills in the
// history: 365 business days of 120 bills over 40 tables, the list of one table's bills of one
// day, on the file and on the server; and the same list with the history's index on table and
// business date dropped, to see what the index is worth.
//
// Run it by hand (build/bin/bench_history); afterwards `build/bin/sorrel-test-server stop`.
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "frontdesk/table_life/reverse_settlement.h"
#include "tests/support/test_database.h"
#include "tests/support/test_server.h"

#include <benchmark/benchmark.h>
#include <map>

using namespace sorrel;

namespace {

constexpr int kDays = 365;
constexpr int kBillsPerDay = 120;
constexpr int kTables = 40;
const QDate kFirstDay(2023, 5, 1);

struct History {
    test::ScratchDatabase scratch;

    explicit History(Engine engine) : scratch(engine, test::ScratchDatabase::Contents::Schema) {
        Database& db = scratch.db();
        Transaction tx(db);
        int bill = 0;
        for (int day = 0; day < kDays; ++day)
            for (int n = 0; n < kBillsPerDay; ++n) {
                const QDateTime work(kFirstDay.addDays(day), QTime(0, 0));
                db.exec(
                    QStringLiteral("INSERT INTO AllGues (tabl_gues_auto_recn, tabl_code, tabl_gues_name, "
                                   "tabl_gues_time, tabl_gues_time_end, tabl_gues_time_work, tabl_gues_fact) "
                                   "VALUES (?, ?, '宾客', ?, ?, ?, 288)"),
                    {++bill, QStringLiteral("T%1").arg(n % kTables, 2, 10, QLatin1Char('0')),
                     toDbDateTime(work.addSecs(11 * 3600 + n * 60)),
                     toDbDateTime(work.addSecs(13 * 3600 + n * 60)), toDbDateTime(work)});
            }
        tx.commit();
    }
};

// Dropped before main returns: dropping a server database afterwards would connect after the
// TLS library has shut down.
std::map<Engine, std::unique_ptr<History>>& histories() {
    static std::map<Engine, std::unique_ptr<History>> made;
    return made;
}

History& history(Engine engine) {
    std::unique_ptr<History>& h = histories()[engine];
    if (!h) h = std::make_unique<History>(engine);
    return *h;
}

void clearedBillsOfOneDay(benchmark::State& state, Engine engine, bool withIndex) {
    Database& db = history(engine).scratch.db();
    if (!withIndex) db.exec(QStringLiteral("DROP INDEX IF EXISTS ix_allgues_tabl_code_tabl_gues_time_work"));
    int day = 0;
    for (auto _ : state) {
        const QDate date = kFirstDay.addDays(day++ % kDays);
        benchmark::DoNotOptimize(table_life::loadClearedBills(db, QStringLiteral("T07"), date, date));
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::vector<Engine> engines{Engine::Embedded};
    if (test::serverInstalled()) engines.push_back(Engine::Server);
    for (Engine engine : engines)
        for (bool withIndex : {true, false})
            benchmark::RegisterBenchmark((std::string("cleared_bills_of_a_table_and_day/") +
                                          (engine == Engine::Embedded ? "file" : "server") +
                                          (withIndex ? "" : "/without_index"))
                                             .c_str(),
                                         clearedBillsOfOneDay, engine, withIndex)
                ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    histories().clear();
    return 0;
}
