// What one business step's commit costs the cashier now that it waits for the disk: BEGIN, one
// UPDATE of a counter, COMMIT, on the file and on a database server, each beside the same commit
// without waiting (what a power cut could lose) for comparison.
//
// The file lives in the temporary folder (TMPDIR), so put that on the disk to be measured. The
// server runs only when SORREL_BENCH_SERVER names a database on it ("postgres://…" or a
// server.conf); the benchmark adds a table of its own there and removes it again.
#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/db/sqlite_database.h"
#include "common/db/transaction.h"
#include "common/installation/target.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace sorrel;

namespace {

constexpr int kWaitForDisk = 1;

void commits(benchmark::State& state, Database& db) {
    try {
        db.exec(QStringLiteral("CREATE TABLE bench_commit_counter (n INTEGER)"));
        db.exec(QStringLiteral("INSERT INTO bench_commit_counter (n) VALUES (0)"));
        if (state.range(0) != kWaitForDisk)
            db.exec(db.engine() == Engine::Embedded ? QStringLiteral("PRAGMA synchronous=NORMAL")
                                                    : QStringLiteral("SET synchronous_commit=off"));
        for (auto _ : state) {
            Transaction tx(db);
            db.exec(QStringLiteral("UPDATE bench_commit_counter SET n = n + 1"));
            tx.commit();
        }
        db.exec(QStringLiteral("DROP TABLE bench_commit_counter"));
    } catch (const DbError& e) {
        state.SkipWithError(e.what());
    }
}

void BM_Commit_File(benchmark::State& state) {
    const QTemporaryDir dir;
    SqliteDatabase db(dir.filePath(QStringLiteral("bench.mdb")), databasePassword(),
                      SqliteDatabase::Mode::CreateIfMissing);
    commits(state, db);
}

void BM_Commit_Server(benchmark::State& state) {
    const QString server = qEnvironmentVariable("SORREL_BENCH_SERVER");
    if (server.isEmpty()) {
        state.SkipWithError("SORREL_BENCH_SERVER names no server database");
        return;
    }
    try {
        commits(state, *openTarget(server, TargetUse::OpenExisting));
    } catch (const DbError& e) {
        state.SkipWithError(e.what());
    }
}

} // namespace

// Argument 1: the commit waits for the disk, as the programs do; 0: it does not.
BENCHMARK(BM_Commit_File)->Arg(kWaitForDisk)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Commit_Server)->Arg(kWaitForDisk)->Arg(0)->Unit(benchmark::kMicrosecond);
