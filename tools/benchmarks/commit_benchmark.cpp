// What one business step's commit costs the cashier now that it waits for the disk: BEGIN, one
// UPDATE of the bill counter, COMMIT, on the file and on a database server, each beside the same
// commit without waiting (what a power cut could lose) for comparison.
//
// The file lives in the temporary folder (TMPDIR), so put that on the disk to be measured. The
// server runs only when SORREL_BENCH_SERVER names an empty database on it ("postgres://…" or a
// server.conf); the benchmark fills it and removes its tables again.
#include "common/clock.h"
#include "common/db/errors.h"
#include "common/db/target.h"
#include "common/db/transaction.h"
#include "common/schema/setup.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace sorrel;

namespace {

constexpr int kWaitForDisk = 1;

void commits(benchmark::State& state, const QString& target) {
    try {
        std::unique_ptr<Database> db = openTarget(target, TargetUse::CreateNew);
        setup::createDatabase(*db, setup::Contents::Presets,
                              FixedClock(QDateTime(QDate(2026, 3, 1), QTime(18, 0))));
        if (state.range(0) != kWaitForDisk)
            db->exec(db->engine() == Engine::Embedded ? QStringLiteral("PRAGMA synchronous=NORMAL")
                                                      : QStringLiteral("SET synchronous_commit=off"));
        for (auto _ : state) {
            Transaction tx(*db);
            db->exec(QStringLiteral("UPDATE SetupPay SET auto_recn = auto_recn + 1"));
            tx.commit();
        }
        db.reset();
        discardNewTarget(target);
    } catch (const DbError& e) {
        state.SkipWithError(e.what());
    }
}

void BM_Commit_File(benchmark::State& state) {
    const QTemporaryDir dir;
    commits(state, dir.filePath(QStringLiteral("bench.mdb")));
}

void BM_Commit_Server(benchmark::State& state) {
    const QString server = qEnvironmentVariable("SORREL_BENCH_SERVER");
    if (server.isEmpty()) {
        state.SkipWithError("SORREL_BENCH_SERVER names no server database");
        return;
    }
    commits(state, server);
}

} // namespace

// Argument 1: the commit waits for the disk, as the programs do; 0: it does not.
BENCHMARK(BM_Commit_File)->Arg(kWaitForDisk)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Commit_Server)->Arg(kWaitForDisk)->Arg(0)->Unit(benchmark::kMicrosecond);
