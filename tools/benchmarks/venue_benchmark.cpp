// Every step a cashier waits for, at venue scale: 200 tables, half of them in use, a year of
// history, on the file and on a database server that commits durably. Each step runs the logic
// its screen runs, from the key press to the next screen's data (the board read again where the
// screen goes back to it); what the step needs is prepared before the clock starts. Each figure
// is the median and the 95th percentile of one operation, and the same as a multiple of one bare
// durable write (BEGIN, one UPDATE, COMMIT) measured in the same run, so that figures from
// different disks compare.
//
//   build/bin/bench_venue [--quick] [--file] [--json FILE] [--days N] [--repetitions N]
//                         [--benchmark_filter=REGEX]
//
// --quick is a smoke run (a month of history, few repetitions); --file leaves the server out. A filter such
// as
// `--benchmark_filter=^settle_three_methods/file/` with many repetitions serves a profiler. The server is a
// durable throwaway cluster; `build/bin/sorrel-test-server stop` stops it afterwards.
#include "common/business_day.h"
#include "common/db/transaction.h"
#include "common/local_time_zone.h"
#include "common/settings_row.h"
#include "common/system_password.h"
#include "frontdesk/checkout/payments.h"
#include "frontdesk/day/day_operations.h"
#include "frontdesk/day/shift_handover.h"
#include "frontdesk/ordering/order_commit.h"
#include "frontdesk/table_life/clearing.h"
#include "frontdesk/table_life/reopening.h"
#include "frontdesk/table_life/reverse_settlement.h"
#include "frontdesk/table_life/table_moves.h"
#include "frontdesk/tables/opening.h"
#include "frontdesk/tables/table_work.h"
#include "tests/support/test_server.h"
#include "tools/benchmarks/bench_venue.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

using namespace sorrel;
using bench::Venue;

namespace {

using Action = std::function<void()>;

// What the cashier waits for after one step: the board read again, its selection on the table.
void backToBoard(Venue& v, const QString& tableCode) {
    tables::TableBoard& board = v.board();
    board.load(v.db());
    board.select(tableCode);
    benchmark::DoNotOptimize(board.shown());
    benchmark::DoNotOptimize(board.stateCounts());
}

const QString kSystemPassword = QStringLiteral("8888");

// One measured step: `prepare` sets up what the step needs (untimed) and answers the step.
struct Step {
    const char* name;
    bool dayEnd; // measured fewer times, against its own target
    std::function<Action(Venue&)> prepare;
};

const std::vector<Step>& steps() {
    static const std::vector<Step> all = {
        {"bare_durable_write", false,
         [](Venue& v) -> Action {
             return [&v] {
                 Transaction tx(v.db());
                 v.db().exec(QStringLiteral("UPDATE SetupPay SET time_star = time_star"));
                 tx.commit();
             };
         }},
        // The register screen's confirmation: the opening, then the work screen of the new bill.
        {"open_table", false,
         [](Venue& v) -> Action {
             const QString code = v.spareTable();
             billing::GuestRecord guest =
                 tables::newGuestRecord(v.db(), *tables::loadBoardTable(v.db(), code), "1", v.clock());
             guest.tabl_gues_coun = 4;
             return [&v, guest] {
                 benchmark::DoNotOptimize(tables::openedTable(
                     v.db(), tables::openTable(v.db(), guest, v.settings(), v.clock(), {})));
             };
         }},
        // Leaving the work screen: the bill saved, every board copy refreshed, the board re-read.
        {"return_to_board", false,
         [](Venue& v) -> Action {
             const QString code = v.standingTable();
             const int bill = tables::loadBoardTable(v.db(), code)->guestNumber;
             auto guest = std::make_shared<billing::GuestRecord>(*billing::GuestRecord::load(v.db(), bill));
             guest->tabl_gues_rema = QStringLiteral("靠窗");
             return [&v, code, guest] {
                 tables::leaveTable(v.db(), guest.get());
                 backToBoard(v, code);
             };
         }},
        // The board's own refresh every 3 s while it is on screen.
        {"board_live_refresh", false,
         [](Venue& v) -> Action {
             return [&v] {
                 v.board().requery(v.db());
                 benchmark::DoNotOptimize(v.board().shown());
                 benchmark::DoNotOptimize(v.board().stateCounts());
             };
         }},
        // "落单" of ten staged lines, back to the work screen with the bill's lines.
        {"commit_order_10_lines", false,
         [](Venue& v) -> Action {
             const QString code = v.standingTable();
             const int bill = tables::loadBoardTable(v.db(), code)->guestNumber;
             v.stageOrder(code, bill);
             return [&v, bill] {
                 benchmark::DoNotOptimize(
                     tables::openedTable(v.db(), ordering::commitOrder(v.db(), bill, v.clock())));
             };
         }},
        // "结帐 *": the bill recomputed and saved, with the lists the checkout screen offers.
        {"enter_checkout", false,
         [](Venue& v) -> Action {
             const QString code = v.standingTable();
             return [&v, code] {
                 checkout::CheckoutSession session(v.db(), v.clock());
                 session.enter(code);
                 benchmark::DoNotOptimize(session.choices());
             };
         }},
        // "结帐" on the checkout screen: cash, member card and credit guest, then the board.
        {"settle_three_methods", false,
         [](Venue& v) -> Action {
             const QString code = v.spareTable();
             v.openWithOrder(code);
             std::shared_ptr<checkout::CheckoutSession> session = v.typedCheckout(code);
             return [&v, code, session] {
                 const checkout::Settlement plan = session->prepare();
                 if (!plan.ok()) throw std::runtime_error(plan.refusal.toStdString());
                 session->settle(plan, v.cashier());
                 backToBoard(v, code);
             };
         }},
        // "清台 -": the settled bill into the history, the table free, the board.
        {"clear_table", false,
         [](Venue& v) -> Action {
             const QString code = v.spareTable();
             const int bill = v.settledSpare(code);
             return [&v, code, bill] {
                 table_life::clearTable(v.db(), code, bill);
                 backToBoard(v, code);
             };
         }},
        // "续单": the payments taken back, the card and the credit guest given back their part.
        {"resume_table", false,
         [](Venue& v) -> Action {
             const QString code = v.spareTable();
             const int bill = v.settledSpare(code);
             return [&v, code, bill] {
                 table_life::resumeTable(v.db(), code, bill, billing::BillSettings::load(v.db()), v.clock());
                 benchmark::DoNotOptimize(tables::settledTable(v.db(), code));
             };
         }},
        // "转台" to a free table: the typed target checked, the move, its work screen, the board.
        {"transfer_table", false,
         [](Venue& v) -> Action {
             const QStringList spare = v.spareTables(2);
             const QString from = spare[0], to = spare[1];
             const int bill = v.openWithOrder(from);
             return [&v, from, bill, to] {
                 if (table_life::transferTargetRefusal(v.db(), to))
                     throw std::runtime_error("transfer refused");
                 table_life::transferTable(v.db(), from, bill, to);
                 benchmark::DoNotOptimize(tables::settledTable(v.db(), to));
                 v.board().requery(v.db());
                 v.board().reveal(to);
             };
         }},
        // "并台" into another open bill: its lines move, the target's bill is recomputed.
        {"merge_table", false,
         [](Venue& v) -> Action {
             const QStringList spare = v.spareTables(2);
             const QString from = spare[0], to = spare[1];
             const int bill = v.openWithOrder(from);
             v.openWithOrder(to);
             return [&v, from, bill, to] {
                 if (table_life::mergeTargetRefusal(v.db(), from, to))
                     throw std::runtime_error("merge refused");
                 table_life::mergeTable(v.db(), from, bill, to, billing::BillSettings::load(v.db()),
                                        v.clock());
                 benchmark::DoNotOptimize(tables::settledTable(v.db(), to));
                 v.board().requery(v.db());
                 v.board().reveal(to);
             };
         }},
        // "已结帐信息": a table's bills cleared today, read from the year of history.
        {"reverse_settlement_list", false,
         [](Venue& v) -> Action {
             const QString code = v.spareTable();
             v.clearedSpare(code);
             return [&v, code] {
                 const QDate day = loadSettingsRow(v.db()).timeWork.date();
                 benchmark::DoNotOptimize(table_life::loadClearedBills(v.db(), code, day, day));
             };
         }},
        // "反结帐" of a bill cleared today: out of the history, open again on its table.
        {"reverse_settlement", false,
         [](Venue& v) -> Action {
             const QString code = v.spareTable();
             const int bill = v.clearedSpare(code);
             return [&v, code, bill] {
                 if (!systemPasswordMatches(v.db(), kSystemPassword))
                     throw std::runtime_error("system password refused");
                 table_life::reverseSettle(v.db(), code, bill, kSystemPassword,
                                           billing::BillSettings::load(v.db()), v.clock());
                 backToBoard(v, code);
             };
         }},
        // The handover screen opening: the floats and the sheet of a shift of half a 300-bill day
        // (the payments of the steps before handed over first), one more bill each time.
        {"handover_sheet", false,
         [](Venue& v) -> Action {
             if (!std::exchange(v.shiftStarted, true)) v.startShift(150);
             v.clearedSpare(v.spareTable());
             return [&v] {
                 benchmark::DoNotOptimize(day::loadFloats(v.db()));
                 benchmark::DoNotOptimize(day::buildHandoverSheet(v.db(), v.clock()));
             };
         }},
        // "交班": the sheet archived, the payments handed over, the next shift's sheet shown.
        {"handover", false,
         [](Venue& v) -> Action {
             v.clearedSpare(v.spareTable());
             const day::HandoverSheet seen = day::buildHandoverSheet(v.db(), v.clock());
             return [&v, seen] {
                 day::handOver(v.db(), v.clock(), seen, {v.cashier().operCode, v.cashier().operName, {}});
                 benchmark::DoNotOptimize(day::loadFloats(v.db()));
                 benchmark::DoNotOptimize(day::buildHandoverSheet(v.db(), v.clock()));
             };
         }},
        // "日结" of a day of 300 bills settled and cleared, the standing tables still in use.
        {"day_end_300_bills", true,
         [](Venue& v) -> Action {
             if (businessDayOpen(v.db())) endDay(v.db(), v.clock());
             startDay(v.db(), v.clock());
             for (int n = 0; n < 300; ++n)
                 v.clearedSpare(v.spareTable());
             return [&v] {
                 endDay(v.db(), v.clock());
                 benchmark::DoNotOptimize(day::dayStatus(loadSettingsRow(v.db())));
             };
         }},
    };
    return all;
}

struct Options {
    bool quick = false;
    bool fileOnly = false;
    QString json = QStringLiteral(SORREL_BUILD_DIR "/bench_venue.json");
    bench::VenueSize size;
    int repetitions = 100;
    int dayEndRepetitions = 5;
};

QString engineLabel(Engine engine) {
    return engine == Engine::Embedded ? QStringLiteral("file") : QStringLiteral("server");
}

// Built before the first step and dropped before main returns: dropping a server database
// afterwards would connect after the TLS library has shut down.
std::map<Engine, std::unique_ptr<Venue>>& venues() {
    static std::map<Engine, std::unique_ptr<Venue>> all;
    return all;
}

bench::Progress told(Engine engine) {
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    return [engine, since](const QString& what) {
        std::fprintf(stderr, "%s: %s (%.0f s)\n", qPrintable(engineLabel(engine)), qPrintable(what),
                     double(since->elapsed()) / 1000);
    };
}

// The year is made once on the file and copied to the server, so both engines hold the same venue.
void buildVenues(const std::vector<Engine>& engines, const bench::VenueSize& size) {
    std::unique_ptr<Venue>& file = venues()[Engine::Embedded];
    file = Venue::yearOld(size, told(Engine::Embedded));
    if (std::find(engines.begin(), engines.end(), Engine::Server) != engines.end())
        venues()[Engine::Server] = Venue::onServer(*file, told(Engine::Server));
    for (const auto& [engine, venue] : venues()) {
        told(engine)(QStringLiteral("opening the day and half of the tables"));
        venue->open();
    }
}

void measure(benchmark::State& state, Engine engine, const Step* step) {
    Venue& v = *venues().at(engine);
    try {
        for (auto _ : state) {
            state.PauseTiming();
            Action action;
            {
                const bench::QuickCommits quick(v.db());
                action = step->prepare(v);
            }
            state.ResumeTiming();
            const qint64 before = v.db().roundTrips();
            action();
            state.counters["trips"] = double(v.db().roundTrips() - before);
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

struct Figure {
    double median = 0;
    double p95 = 0;
    QString error;
};

// Cashier steps: under 16 ms at the 95th percentile on the file and under three bare durable
// writes; on the server within three times the file. Day end: under a second.
constexpr double kStepLimitMs = 16;
constexpr double kWritesLimit = 3;
constexpr double kServerOverFile = 3;
constexpr double kDayEndLimitMs = 1000;

// Collects each step's median and 95th percentile, tells progress on stderr, and at the end
// writes the JSON file and prints the table.
class VenueReporter : public benchmark::BenchmarkReporter {
  public:
    explicit VenueReporter(const Options& options) : options_(options) {}

    bool ReportContext(const Context&) override { return true; }

    // Every repetition is one run of one operation; the figures are taken from them at the end, so
    // that a step measured once still has its figure.
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            const QString name = QString::fromStdString(run.run_name.function_name);
            if (run.error_occurred)
                errors_[name] = QString::fromStdString(run.error_message);
            else
                times_[name].push_back(run.GetAdjustedRealTime());
            if (const auto sent = run.counters.find("trips"); sent != run.counters.end())
                statements_[name] = sent->second.value;
            if (run.repetition_index + 1 == run.repetitions) {
                const Figure f = figure(name);
                std::fprintf(stderr, "%-36s median %9.3f ms   p95 %9.3f ms\n", qPrintable(name), f.median,
                             f.p95);
            }
        }
    }

    void Finalize() override {
        QJsonArray rows;
        std::printf("\n%-26s %-7s %10s %10s %8s %8s %9s %6s  %s\n", "step", "engine", "median ms", "p95 ms",
                    "med/wr", "p95/wr", "srv/file", "trips", "target");
        for (Engine engine : {Engine::Embedded, Engine::Server}) {
            const QString label = engineLabel(engine);
            const Figure write = figure(QStringLiteral("bare_durable_write/") + label);
            for (const Step& step : steps()) {
                const QString key = QString::fromLatin1(step.name) + QLatin1Char('/') + label;
                if (times_.find(key) == times_.end() && !errors_.contains(key)) continue;
                rows.append(row(step, engine, figure(key), write));
            }
        }
        QJsonObject venue{{QStringLiteral("tables"), bench::kTables},
                          {QStringLiteral("history_days"), options_.size.historyDays},
                          {QStringLiteral("repetitions"), options_.repetitions},
                          {QStringLiteral("day_end_repetitions"), options_.dayEndRepetitions}};
        for (const auto& [engine, v] : venues())
            venue.insert(engineLabel(engine) + QStringLiteral("_history"),
                         QJsonObject{{QStringLiteral("bills"), v->history().bills},
                                     {QStringLiteral("lines"), v->history().lines},
                                     {QStringLiteral("payments"), v->history().payments}});
        QFile out(options_.json);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(options_.json));
            return;
        }
        out.write(
            QJsonDocument(QJsonObject{{QStringLiteral("venue"), venue}, {QStringLiteral("steps"), rows}})
                .toJson());
        std::printf("\nwritten to %s\n", qPrintable(options_.json));
    }

  private:
    QJsonObject row(const Step& step, Engine engine, const Figure& f, const Figure& write) {
        const QString label = engineLabel(engine);
        QJsonObject r{{QStringLiteral("step"), QString::fromLatin1(step.name)},
                      {QStringLiteral("engine"), label}};
        if (!f.error.isEmpty()) {
            r.insert(QStringLiteral("error"), f.error);
            std::printf("%-26s %-7s  failed: %s\n", step.name, qPrintable(label), qPrintable(f.error));
            return r;
        }
        const double medianWrites = write.median > 0 ? f.median / write.median : 0;
        const double p95Writes = write.p95 > 0 ? f.p95 / write.p95 : 0;
        const Figure file = figure(QString::fromLatin1(step.name) + QStringLiteral("/file"));
        const double overFile = engine == Engine::Server && file.p95 > 0 ? f.p95 / file.p95 : 0;
        QString target;
        bool met = true;
        if (std::strcmp(step.name, "bare_durable_write") == 0) {
            target = QStringLiteral("-");
        } else if (step.dayEnd) {
            met = f.p95 < kDayEndLimitMs;
            target = QStringLiteral("< 1 s");
        } else if (engine == Engine::Embedded) {
            met = f.p95 < kStepLimitMs && p95Writes < kWritesLimit;
            target = QStringLiteral("< 16 ms, < 3 writes");
        } else {
            met = overFile > 0 && overFile < kServerOverFile;
            target = QStringLiteral("< 3x file");
        }
        if (target != QStringLiteral("-"))
            target += met ? QStringLiteral(": met") : QStringLiteral(": MISSED");
        const QString key = QString::fromLatin1(step.name) + QLatin1Char('/') + label;
        const int statements = int(statements_.value(key));
        std::printf("%-26s %-7s %10.3f %10.3f %8.2f %8.2f %9s %6d  %s\n", step.name, qPrintable(label),
                    f.median, f.p95, medianWrites, p95Writes,
                    overFile > 0 ? qPrintable(QString::number(overFile, 'f', 2)) : "", statements,
                    qPrintable(target));
        r.insert(QStringLiteral("round_trips"), statements);
        r.insert(QStringLiteral("median_ms"), f.median);
        r.insert(QStringLiteral("p95_ms"), f.p95);
        r.insert(QStringLiteral("median_in_writes"), medianWrites);
        r.insert(QStringLiteral("p95_in_writes"), p95Writes);
        if (overFile > 0) r.insert(QStringLiteral("p95_server_over_file"), overFile);
        r.insert(QStringLiteral("target"), target);
        r.insert(QStringLiteral("target_met"), met);
        return r;
    }

    Figure figure(const QString& name) const {
        Figure f;
        f.error = errors_.value(name);
        const auto found = times_.find(name);
        if (found == times_.end() || found->second.empty()) {
            if (f.error.isEmpty()) f.error = QStringLiteral("not measured");
            return f;
        }
        std::vector<double> sorted = found->second;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        f.median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
        f.p95 = sorted[std::max<size_t>(1, size_t(std::ceil(0.95 * double(n)))) - 1];
        return f;
    }

    const Options& options_;
    std::map<QString, std::vector<double>> times_;
    QMap<QString, QString> errors_;
    // How often the step waited for the database in its last run; on the server each is a trip.
    QMap<QString, double> statements_;
};

// Our own options are taken out; what is left goes to the benchmark library.
Options parseOptions(int& argc, char** argv) {
    Options options;
    int repetitions = 0;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--quick") == 0) {
            options.quick = true;
        } else if (std::strcmp(arg, "--file") == 0) {
            options.fileOnly = true;
        } else if (std::strcmp(arg, "--json") == 0 && i + 1 < argc) {
            options.json = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(arg, "--days") == 0 && i + 1 < argc) {
            options.size.historyDays = std::max(0, std::atoi(argv[++i]));
        } else if (std::strcmp(arg, "--repetitions") == 0 && i + 1 < argc) {
            repetitions = std::max(1, std::atoi(argv[++i]));
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    if (options.quick) {
        if (options.size.historyDays == 365) options.size.historyDays = 30;
        options.repetitions = 10;
        options.dayEndRepetitions = 1;
    }
    if (repetitions) options.repetitions = options.dayEndRepetitions = repetitions;
    return options;
}

} // namespace

int main(int argc, char** argv) {
    nameLocalTimeZone();
    const Options options = parseOptions(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    std::vector<Engine> engines{Engine::Embedded};
    if (options.fileOnly)
        std::fprintf(stderr, "the file only\n");
    else if (test::serverInstalled())
        engines.push_back(Engine::Server);
    else
        std::fprintf(stderr, "no PostgreSQL server installed: the file only\n");
    for (Engine engine : engines)
        for (const Step& step : steps())
            benchmark::RegisterBenchmark(
                (std::string(step.name) + "/" + engineLabel(engine).toStdString()).c_str(), measure, engine,
                &step)
                ->Iterations(1)
                ->Repetitions(step.dayEnd ? options.dayEndRepetitions : options.repetitions)
                ->Unit(benchmark::kMillisecond);
    buildVenues(engines, options.size);
    VenueReporter reporter(options);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    venues().clear();
    return 0;
}
