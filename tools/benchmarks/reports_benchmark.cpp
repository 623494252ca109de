// How long the reports keep the manager waiting on a venue with a year of history (the demo
// venue and `sorrel-db demo --history 365`: about 110,000 bills, 1.1 million lines): the analysis
// reports (sales, items, the operator's items, the commission staff's lines and sums), every query
// list's first screenful, the credit guests of the range, a bill's detail and the printed bill
// list, over the last month and the whole year, with and without a filter, on the file (and on a
// durable server when SORREL_BENCH_REPORTS_SERVER is set). Beside them, one durable write on the
// same database, the cost every cashier step pays, for comparison. Each figure is one run of the
// report; the repetitions give the median and the 95th percentile.
//
// With --memory it measures instead how much the year's bill list takes above what the program
// held before: shown in the grid and scrolled to its end, exported to CSV and to PDF, each on its
// own (the peak resident size, VmHWM, set back before each).
//
// Run it by hand (build/bin/bench_reports); afterwards `build/bin/sorrel-test-server stop`.
#include "common/db/transaction.h"
#include "common/export/csv_file.h"
#include "common/export/xlsx_file.h"
#include "common/installation/engine_copy.h"
#include "common/line_summary.h"
#include "common/ui/print/print_document.h"
#include "frontdesk/reports/bill_detail.h"
#include "frontdesk/reports/item_analysis.h"
#include "frontdesk/reports/performance_analysis.h"
#include "frontdesk/reports/query_reports.h"
#include "frontdesk/reports/report_grid_panel.h"
#include "frontdesk/reports/sales_analysis.h"
#include "tests/support/test_database.h"
#include "tests/support/test_server.h"
#include "tools/demo_history/demo_history.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <sys/resource.h>

using namespace sorrel;
using namespace sorrel::reports;

namespace {

const QDate kLastDay(2025, 4, 30);
constexpr int kHistoryDays = 365;

// What the filtered reports filter on: the venue's busiest shift, department, card and guest.
struct Picks {
    QString shift;
    QString shiftName;
    QString department;
    QString kind;
    QString cashier;
    QString staff;
    QString card;
    Choice guest;
    qint64 bill = 0;
};

struct Venue {
    test::ScratchDatabase scratch;
    Picks picks;

    Venue(Engine engine, test::ScratchDatabase::Contents contents)
        : scratch(engine, contents, test::Durability::Durable) {}
    Database& db() { return scratch.db(); }

    void pick() {
        const auto busiest = [&](const char* sql) { return db().scalar(QString::fromUtf8(sql)).toString(); };
        picks.shift = busiest("SELECT orde_code FROM AllGues GROUP BY orde_code ORDER BY count(*) DESC LIMIT 1");
        picks.shiftName =
            busiest("SELECT orde_name FROM AllCons GROUP BY orde_name ORDER BY count(*) DESC LIMIT 1");
        picks.department =
            busiest("SELECT dept_code FROM AllGues GROUP BY dept_code ORDER BY count(*) DESC LIMIT 1");
        picks.kind = busiest("SELECT kind_code FROM AllCons GROUP BY kind_code ORDER BY count(*) DESC LIMIT 1");
        picks.cashier =
            busiest("SELECT oper_code FROM AllCons GROUP BY oper_code ORDER BY count(*) DESC LIMIT 1");
        picks.staff = busiest("SELECT dedu_oper_code FROM AllCons WHERE dedu_oper_code <> '' GROUP BY "
                              "dedu_oper_code ORDER BY count(*) DESC LIMIT 1");
        picks.card = busiest("SELECT memb_card_code FROM AllGues WHERE memb_mone <> 0 GROUP BY memb_card_code "
                             "ORDER BY count(*) DESC LIMIT 1");
        picks.guest.code = busiest("SELECT hang_code FROM AllGues WHERE hang_mone <> 0 GROUP BY hang_code "
                                   "ORDER BY count(*) DESC LIMIT 1");
        picks.bill = db().scalar(QStringLiteral("SELECT max(tabl_gues_auto_recn) FROM AllGues")).toLongLong();
    }
};

std::map<Engine, std::unique_ptr<Venue>>& venues() {
    static std::map<Engine, std::unique_ptr<Venue>> made;
    return made;
}

Venue& venue(Engine engine) {
    std::unique_ptr<Venue>& v = venues()[engine];
    if (v) return *v;
    if (engine == Engine::Embedded) {
        v = std::make_unique<Venue>(engine, test::ScratchDatabase::Contents::DemoVenue);
        v->db().exec(QStringLiteral("PRAGMA synchronous=OFF"));
        demo_history::HistoryOptions options;
        options.days = kHistoryDays;
        options.lastDay = kLastDay;
        const demo_history::HistoryTally t = demo_history::generate(v->db(), options);
        // The demo's lines carry no commission staff; here each line of a bill with one gets its
        // bill's, so the staff's line sums have a year of lines to sum. The summary is made again
        // from the lines, as an upgrade makes it.
        v->db().exec(QStringLiteral(
            "UPDATE AllCons SET dedu_oper_code = (SELECT g.dedu_oper_code FROM AllGues g WHERE "
            "g.tabl_gues_auto_recn = AllCons.tabl_gues_auto_recn), dedu_oper_name = (SELECT g.dedu_oper_name "
            "FROM AllGues g WHERE g.tabl_gues_auto_recn = AllCons.tabl_gues_auto_recn), tabl_dedu_tota = "
            "tabl_cons_tota * 0.05 WHERE EXISTS (SELECT 1 FROM AllGues g WHERE g.tabl_gues_auto_recn = "
            "AllCons.tabl_gues_auto_recn AND COALESCE(g.dedu_oper_code, '') <> '')"));
        QElapsedTimer rebuilt;
        rebuilt.start();
        {
            Transaction tx(v->db());
            rebuildDaySummaries(v->db());
            tx.commit();
        }
        v->db().exec(QStringLiteral("PRAGMA synchronous=FULL"));
        std::fprintf(stderr, "history: %lld bills, %lld lines, %lld payments; day summary made in %.1f s\n",
                     t.bills, t.lines, t.payments, double(rebuilt.elapsed()) / 1000);
    } else {
        v = std::make_unique<Venue>(engine, test::ScratchDatabase::Contents::Empty);
        copyInstallation(venue(Engine::Embedded).db(), v->db());
        // The server plans by its statistics of each table, which a venue's server has long had;
        // a copy made a moment ago has none until its first ANALYZE.
        v->db().exec(QStringLiteral("ANALYZE"));
    }
    v->pick();
    return *v;
}

DateRange lastDays(int days) {
    return {kLastDay.addDays(1 - days), kLastDay};
}

using Report = std::function<void(Database&, const DateRange&, const Picks&)>;

void firstScreen(const ReportList& list, Database& db) {
    benchmark::DoNotOptimize(list.firstPage(db));
}

const std::vector<std::pair<const char*, Report>>& measuredReports() {
    static const std::vector<std::pair<const char*, Report>> all{
        {"sales", [](Database& db, const DateRange& r, const Picks&) {
             benchmark::DoNotOptimize(salesAnalysis(db, r, {}, {}));
         }},
        {"sales_of_a_department", [](Database& db, const DateRange& r, const Picks& p) {
             benchmark::DoNotOptimize(
                 salesAnalysis(db, r, {DepartmentOrShift::By::Department, p.department, {}}, {}));
         }},
        {"sales_of_a_shift", [](Database& db, const DateRange& r, const Picks& p) {
             benchmark::DoNotOptimize(salesAnalysis(db, r, {DepartmentOrShift::By::Shift, p.shift, p.shiftName}, {}));
         }},
        {"sales_chart", [](Database& db, const DateRange& r, const Picks&) {
             benchmark::DoNotOptimize(salesChart(db, r, {}));
         }},
        {"items", [](Database& db, const DateRange& r, const Picks&) {
             benchmark::DoNotOptimize(itemAnalysis(db, r, {}, ItemSort::SalesAmount));
         }},
        {"items_of_a_kind", [](Database& db, const DateRange& r, const Picks& p) {
             benchmark::DoNotOptimize(itemAnalysis(db, r, {ItemFilter::By::Kind, p.kind, {}}, ItemSort::Code));
         }},
        {"items_of_a_department", [](Database& db, const DateRange& r, const Picks& p) {
             benchmark::DoNotOptimize(
                 itemAnalysis(db, r, {ItemFilter::By::Department, p.department, {}}, ItemSort::Code));
         }},
        {"items_of_a_shift", [](Database& db, const DateRange& r, const Picks& p) {
             benchmark::DoNotOptimize(
                 itemAnalysis(db, r, {ItemFilter::By::Shift, p.shift, p.shiftName}, ItemSort::Code));
         }},
        {"items_of_an_operator", [](Database& db, const DateRange& r, const Picks& p) {
             benchmark::DoNotOptimize(itemAnalysis(db, r, {}, ItemSort::Code, p.cashier));
         }},
        {"performance_lines", [](Database& db, const DateRange& r, const Picks&) {
             firstScreen(performanceAnalysis(db, r, PerformanceMode::Lines, {}), db);
         }},
        {"performance_line_sums", [](Database& db, const DateRange& r, const Picks&) {
             firstScreen(performanceAnalysis(db, r, PerformanceMode::LineSums, {}), db);
         }},
        {"performance_line_sums_of_a_staff", [](Database& db, const DateRange& r, const Picks& p) {
             firstScreen(performanceAnalysis(db, r, PerformanceMode::LineSums, p.staff), db);
         }},
        {"performance_bill_sums", [](Database& db, const DateRange& r, const Picks&) {
             firstScreen(performanceAnalysis(db, r, PerformanceMode::BillSums, {}), db);
         }},
        {"bills", [](Database& db, const DateRange& r, const Picks&) {
             firstScreen(billList(billsOf(r, BillFilterBy::Department, {})), db);
         }},
        {"bills_of_a_shift", [](Database& db, const DateRange& r, const Picks& p) {
             firstScreen(billList(billsOf(r, BillFilterBy::Shift, {p.shift, {}})), db);
         }},
        {"bills_of_a_department", [](Database& db, const DateRange& r, const Picks& p) {
             firstScreen(billList(billsOf(r, BillFilterBy::Department, {p.department, {}})), db);
         }},
        {"member_bills", [](Database& db, const DateRange& r, const Picks&) {
             firstScreen(billList(memberBillsOf(r, {})), db);
         }},
        {"member_bills_of_a_card", [](Database& db, const DateRange& r, const Picks& p) {
             firstScreen(billList(memberBillsOf(r, p.card)), db);
         }},
        {"credit_guests", [](Database& db, const DateRange& r, const Picks&) {
             benchmark::DoNotOptimize(creditGuestsIn(db, r));
         }},
        {"credit_bills", [](Database& db, const DateRange& r, const Picks&) {
             firstScreen(billList(creditBillsOf(r, {})), db);
         }},
        {"credit_bills_of_a_guest", [](Database& db, const DateRange& r, const Picks& p) {
             firstScreen(billList(creditBillsOf(r, p.guest)), db);
         }},
        {"lines", [](Database& db, const DateRange& r, const Picks&) { firstScreen(orderLineList(r, {}), db); }},
        {"lines_of_a_bill", [](Database& db, const DateRange& r, const Picks& p) {
             firstScreen(orderLineList(r, QString::number(p.bill)), db);
         }},
        {"bill_detail", [](Database& db, const DateRange&, const Picks& p) {
             benchmark::DoNotOptimize(billDetail(db, p.bill));
         }},
        {"printed_bill_list_of_a_shift", [](Database& db, const DateRange& r, const Picks& p) {
             const BillSelection s = billsOf(r, BillFilterBy::Shift, {p.shift, {}});
             benchmark::DoNotOptimize(billListDocument(db, s, {billListTitle(s.kind), {}, r, s.caption, {}, {}}));
         }},
        {"exported_bills", [](Database& db, const DateRange& r, const Picks&) {
             const exporting::Sheet sheet = billListSheet(db, billsOf(r, BillFilterBy::Department, {}), {});
             QVector<QVariant> row;
             while (sheet.next(row)) benchmark::DoNotOptimize(row);
         }},
    };
    return all;
}

void runReport(benchmark::State& state, Engine engine, const Report& report, int days) {
    Venue& v = venue(engine);
    const DateRange range = lastDays(days);
    for (auto _ : state) report(v.db(), range, v.picks);
}

// BEGIN, one UPDATE, COMMIT, waiting for the disk as every cashier step does.
void durableWrite(benchmark::State& state, Engine engine) {
    Database& db = venue(engine).db();
    db.exec(QStringLiteral("CREATE TABLE bench_reports_counter (n INTEGER)"));
    db.exec(QStringLiteral("INSERT INTO bench_reports_counter (n) VALUES (0)"));
    for (auto _ : state) {
        Transaction tx(db);
        db.exec(QStringLiteral("UPDATE bench_reports_counter SET n = n + 1"));
        tx.commit();
    }
    db.exec(QStringLiteral("DROP TABLE bench_reports_counter"));
}

double percentile95(const std::vector<double>& v) {
    std::vector<double> sorted = v;
    std::sort(sorted.begin(), sorted.end());
    return sorted[std::min(sorted.size() - 1, size_t(0.95 * double(sorted.size())))];
}

// The process's resident size now and its peak since the last reset, in MB.
double statusMb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

// How much above the resident size before it `work` took at its peak, in MB.
double peakAbove(const std::function<void()>& work) {
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (reset.open(QIODevice::WriteOnly)) reset.write("5");
    reset.close();
    const double before = statusMb("VmRSS:");
    work();
    return statusMb("VmHWM:") - before;
}

// The year's bill list (every bill), as the front desk shows, scrolls and exports it.
void measureMemory(Engine engine) {
    Venue& v = venue(engine);
    const char* where = engine == Engine::Embedded ? "file" : "server";
    const BillSelection year = billsOf(lastDays(kHistoryDays), BillFilterBy::Department, {});
    QTemporaryDir dir;
    // SORREL_BENCH_KEEP=1 leaves the files for a look at them.
    dir.setAutoRemove(!qEnvironmentVariableIsSet("SORREL_BENCH_KEEP"));
    if (!dir.autoRemove()) std::fprintf(stderr, "files in %s\n", qPrintable(dir.path()));
    QElapsedTimer timer;
    const auto measure = [&](const char* what, const std::function<void()>& work) {
        timer.start();
        const double mb = peakAbove(work);
        std::fprintf(stderr, "memory/%s/%s: %.1f MB above idle, %.2f s\n", what, where, mb,
                     double(timer.elapsed()) / 1000);
    };
    measure("bill_list_scrolled_to_the_end", [&] {
        ReportListModel model(v.db(), nullptr);
        model.setList(billList(year));
        while (model.canFetchMore({}))
            model.fetchMore({});
        std::fprintf(stderr, "  %d bills in the grid\n", model.rowCount());
    });
    measure("bill_list_csv", [&] {
        exporting::writeCsvFile(dir.filePath(QStringLiteral("bills.csv")), billListSheet(v.db(), year, {}));
    });
    measure("bill_list_excel", [&] {
        exporting::writeXlsxFile(dir.filePath(QStringLiteral("bills.xlsx")), {billListSheet(v.db(), year, {})});
    });
    measure("bill_list_document_spooled", [&] {
        const document::DocumentStream doc =
            billListDocument(v.db(), year, {billListTitle(year.kind), {}, year.range, year.caption, {}, {}});
        qlonglong bands = 0;
        doc.forEachBand([&](const document::Band&) { ++bands; });
        std::fprintf(stderr, "  %lld bands in the document\n", bands);
    });
    // The grid's second page of the year, as the engine plans it (every later page has its shape).
    {
        const ReportList list = billList(year);
        const RecordSet first = list.firstPage(v.db());
        const Condition after =
            afterKey(v.db().engine(), list.order, list.keyOf(first, first.rowCount() - 1));
        QVariantList values = list.params;
        values << after.params << ReportList::kPageRows;
        const QString page = QStringLiteral("SELECT * FROM (") + list.sql +
                             QStringLiteral(") report_rows WHERE ") + after.sql +
                             QStringLiteral(" ORDER BY tabl_gues_time_work, tabl_gues_auto_recn LIMIT ?");
        const RecordSet plan =
            v.db().query((engine == Engine::Embedded ? QStringLiteral("EXPLAIN QUERY PLAN ")
                                                     : QStringLiteral("EXPLAIN ")) +
                             page,
                         values);
        for (int i = 0; i < plan.rowCount(); ++i)
            std::fprintf(stderr, "  plan: %s\n",
                         qPrintable(plan.value(i, plan.columnCount() - 1).toString()));
    }
    // The bare durable write of the same run, for comparison: one committed update.
    {
        v.db().exec(QStringLiteral("CREATE TABLE bench_reports_counter (n INTEGER)"));
        v.db().exec(QStringLiteral("INSERT INTO bench_reports_counter (n) VALUES (0)"));
        std::vector<double> ms;
        for (int i = 0; i < 20; ++i) {
            timer.start();
            Transaction tx(v.db());
            v.db().exec(QStringLiteral("UPDATE bench_reports_counter SET n = n + 1"));
            tx.commit();
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        v.db().exec(QStringLiteral("DROP TABLE bench_reports_counter"));
        std::sort(ms.begin(), ms.end());
        std::fprintf(stderr, "durable_write/%s: median %.2f ms, p95 %.2f ms\n", where, ms[ms.size() / 2],
                     ms[std::min(ms.size() - 1, size_t(0.95 * double(ms.size())))]);
    }
    measure("bill_list_pdf", [&] {
        const document::DocumentStream doc =
            billListDocument(v.db(), year, {billListTitle(year.kind), {}, year.range, year.caption, {}, {}});
        ui::print::printDocument(doc, ui::print::PrintTarget::pdf(dir.filePath(QStringLiteral("bills.pdf")),
                                                                  document::PageFormat::a4()));
    });
}

} // namespace

// What else the machine was doing: its load over the last minute.
void printLoad(const char* when) {
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::fprintf(stderr, "load average %s: %s", when, load.readLine().constData());
}

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    printLoad("at the start");
    std::vector<Engine> engines{Engine::Embedded};
    if (qEnvironmentVariableIsSet("SORREL_BENCH_REPORTS_SERVER") && test::serverInstalled())
        engines.push_back(Engine::Server);
    // "--memory --server-only": the server's figures without the file's heap before them.
    if (argc > 2 && qstrcmp(argv[2], "--server-only") == 0 && test::serverInstalled()) engines = {Engine::Server};
    if (argc > 1 && qstrcmp(argv[1], "--memory") == 0) {
        // The PDF is painted with the fonts of a GUI application, offscreen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        for (Engine engine : engines)
            measureMemory(engine);
        printLoad("at the end");
        venues().clear();
        return 0;
    }
    for (Engine engine : engines) {
        const std::string where = engine == Engine::Embedded ? "file" : "server";
        for (const auto& [name, report] : measuredReports())
            for (const auto& [span, days] : {std::pair{"month", 30}, std::pair{"year", kHistoryDays}})
                benchmark::RegisterBenchmark((std::string(name) + "/" + span + "/" + where).c_str(), runReport,
                                             engine, report, days)
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(1)
                    ->Repetitions(days == 30 ? 20 : name == std::string("exported_bills") ? 2 : 10)
                    ->ComputeStatistics("p95", percentile95)
                    ->ReportAggregatesOnly();
        benchmark::RegisterBenchmark(("durable_write/" + where).c_str(), durableWrite, engine)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(20)
            ->ComputeStatistics("p95", percentile95)
            ->ReportAggregatesOnly();
    }
    benchmark::RunSpecifiedBenchmarks();
    printLoad("at the end");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "peak memory of the run: %ld MB\n", usage.ru_maxrss / 1024);
    benchmark::Shutdown();
    venues().clear();
    return 0;
}
