// Figures for the waiters' server under a busy evening: N phones at once, each logged in, opening
// its own table and then, round after round, reading the board, staging three items and
// committing. Prints the median and 95th percentile of each kind of request and their ratios to
// a bare durable write (BEGIN, one UPDATE, COMMIT) on the same database in the same run, the cost
// every change pays at least. Run it on a scratch copy of a demo venue (it opens tables and
// writes bills):
//
//   sorrel-db demo --history 365 /tmp/venue.mdb && cp /tmp/venue.mdb /tmp/bench.mdb
//   bench_waiter --database /tmp/bench.mdb --waiters 10 --rounds 20
//   bench_waiter --database /tmp/venue.mdb --on-server   # a copy on the tests' durable server
//   build/bin/sorrel-test-server stop                     # afterwards
#include "common/business_day.h"
#include "common/db/transaction.h"
#include "common/installation/engine_copy.h"
#include "common/clock.h"
#include "common/installation/target.h"
#include "frontdesk/tables/board_tables.h"
#include "frontdesk/tables/table_state.h"
#include "tests/support/test_database.h"
#include "waiter/checkpoints.h"
#include "waiter/ticket_output.h"
#include "waiter/waiter_server.h"

#include <httplib.h>

#include <QApplication>
#include <QFile>
#include <QCommandLineParser>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include <unistd.h>

using namespace sorrel;

namespace {

struct Timings {
    std::mutex mutex;
    std::map<std::string, std::vector<double>> ms;
    int failures = 0;
    std::map<std::string, int> why; // "request status error" and how often
    void add(const std::string& what, double m, bool ok, const std::string& refusal = {}) {
        const std::lock_guard lock(mutex);
        ms[what].push_back(m);
        if (ok) return;
        ++failures;
        ++why[what + ' ' + refusal];
    }
};

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

// BEGIN, one UPDATE, COMMIT, `times` times, each waiting for the disk as every change does.
std::vector<double> durableWrites(Database& db, int times) {
    db.exec(QStringLiteral("CREATE TABLE bench_waiter_counter (n INTEGER)"));
    db.exec(QStringLiteral("INSERT INTO bench_waiter_counter (n) VALUES (0)"));
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        const auto start = std::chrono::steady_clock::now();
        Transaction tx(db);
        db.exec(QStringLiteral("UPDATE bench_waiter_counter SET n = n + 1"));
        tx.commit();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    db.exec(QStringLiteral("DROP TABLE bench_waiter_counter"));
    return ms;
}

QString loadAverage() {
    QFile load(QStringLiteral("/proc/loadavg"));
    return load.open(QIODevice::ReadOnly) ? QString::fromLatin1(load.readLine()).trimmed() : QString();
}

class TimedPhone {
  public:
    TimedPhone(int port, Timings& t) : http_("127.0.0.1", port), t_(t) { http_.set_read_timeout(60); }
    QJsonObject call(const std::string& what, const std::string& path, const QJsonObject* body) {
        httplib::Headers h{{"Cookie", "sorrel_waiter=" + cookie_}, {"X-Sorrel-Token", token_}};
        const auto start = std::chrono::steady_clock::now();
        const httplib::Result r =
            body ? http_.Post(path, h, QJsonDocument(*body).toJson().toStdString(), "application/json")
                 : http_.Get(path, h);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (!r) {
            t_.add(what, ms, false, "no answer");
            return {};
        }
        t_.add(what, ms, r->status == 200, std::to_string(r->status) + ' ' + r->body);
        const std::string c = r->get_header_value("Set-Cookie");
        if (!c.empty()) cookie_ = c.substr(c.find('=') + 1, 32);
        const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(r->body)).object();
        if (o.contains("changeToken")) token_ = o.value("changeToken").toString().toStdString();
        return o;
    }

  private:
    httplib::Client http_;
    Timings& t_;
    std::string cookie_, token_;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser args;
    args.addHelpOption();
    const QCommandLineOption database("database", "A scratch demo database (file or server.conf).", "target");
    const QCommandLineOption waiters("waiters", "Phones at once (10).", "n", "10");
    const QCommandLineOption rounds("rounds", "Orders per phone (20).", "n", "20");
    const QCommandLineOption think("pause",
                                   "A waiter's pause between two taps, ms (0: every phone as fast as it can); "
                                   "a list (0,300) measures one evening after another.",
                                   "ms,...", "0");
    const QCommandLineOption connections("connections", "Database connections (8).", "n", "8");
    const QCommandLineOption onServer("on-server",
                                      "Copy the database onto the tests' durable server and measure there.");
    args.addOptions({database, waiters, rounds, think, connections, onServer});
    args.process(app);
    const QString target = args.value(database);
    if (target.isEmpty()) args.showHelp(1);
    const int phones = std::clamp(args.value(waiters).toInt(), 1, 50);
    const int orders = std::max(1, args.value(rounds).toInt());
    std::vector<int> pauses;
    for (const QString& p : args.value(think).split(u','))
        pauses.push_back(std::max(0, p.toInt()));
    const int size = std::clamp(args.value(connections).toInt(), 1, 64);
    QTextStream out(stdout);
    out << "load average at the start: " << loadAverage() << Qt::endl;

    std::unique_ptr<test::ScratchDatabase> copy;
    QString where = target;
    if (args.isSet(onServer)) {
        const auto began = std::chrono::steady_clock::now();
        copy = std::make_unique<test::ScratchDatabase>(Engine::Server, test::ScratchDatabase::Contents::Empty,
                                                       test::Durability::Durable);
        std::unique_ptr<Database> from = openTarget(target, TargetUse::OpenExisting);
        copyInstallation(*from, copy->db());
        // A venue's server is not freshly loaded: the copy's own aftermath (the engine vacuuming
        // the million new rows, its checkpoints of their log) is done before the evening.
        copy->db().exec(QStringLiteral("VACUUM ANALYZE"));
        copy->db().exec(QStringLiteral("CHECKPOINT"));
        where = copy->target();
        out << "copied onto the durable server in "
            << std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count() << " s" << Qt::endl;
    }

    // A scratch file just copied still has most of its pages on their way to the disk: the first
    // fold of the log would wait for all of them (0.4 s on this machine). A venue's file is not
    // freshly copied.
    if (!args.isSet(onServer)) ::sync();
    SystemClock clock;
    std::unique_ptr<Database> first = openTarget(where, TargetUse::OpenExisting);
    if (!businessDayOpen(*first)) startDay(*first, clock);
    QStringList free;
    for (const tables::BoardTable& t : tables::loadBoardTables(*first, tables::BoardSort::ByCode))
        if (t.state == tables::TableState::kFree) free << t.code;
    if (free.size() < phones * int(pauses.size())) {
        QTextStream(stderr) << "bench_waiter: only " << free.size() << " free tables" << Qt::endl;
        return 1;
    }

    // Enough of the three items for every evening: the scratch copy's stock is topped up, as
    // a delivery would, so no commit is refused for want of cola.
    first->exec(QStringLiteral("UPDATE itemlist SET item_coun = item_coun + 100000 "
                               "WHERE item_code IN ('102001', '202001', '104001')"));
    QTemporaryDir tickets;
    waiter::SessionStore sessions(clock);
    waiter::WaiterService service(clock, sessions, QString(), waiter::pdfSender(tickets.path()));
    std::vector<double> bare = durableWrites(*first, 100);
    // As sorrel-waiter does: the file's log folded back on a thread of its own.
    waiter::Checkpoints::leaveToServer(*first);
    waiter::ConnectionPool pool(
        [where] {
            std::unique_ptr<Database> db = openTarget(where, TargetUse::OpenExisting);
            waiter::Checkpoints::leaveToServer(*db);
            return db;
        },
        size, std::move(first));
    // As sorrel-waiter does at its start.
    pool.fill();
    waiter::ServerOptions options;
    options.port = 0;
    waiter::WaiterServer server(service, pool, options);
    waiter::Checkpoints checkpoints(openTarget(where, TargetUse::OpenExisting), server.writeGate());
    QString failure;
    if (!server.bind(failure)) {
        QTextStream(stderr) << failure << Qt::endl;
        return 1;
    }
    server.start();

    // One evening per pause: the phones at once, each at its own free table.
    std::vector<std::pair<int, std::unique_ptr<Timings>>> evenings;
    std::vector<double> seconds;
    for (size_t phase = 0; phase < pauses.size(); ++phase) {
        const int pause = pauses[phase];
        auto t = std::make_unique<Timings>();
        const auto began = std::chrono::steady_clock::now();
        std::vector<std::thread> threads;
        for (int i = 0; i < phones; ++i)
            threads.emplace_back([&, i, table = free[int(phase) * phones + i], timings = t.get()] {
                const auto tap = [pause] {
                    if (pause > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pause));
                };
                TimedPhone p(server.port(), *timings);
                QJsonObject login{{"code", "02"}, {"password", "2222"}};
                p.call("login", "/api/login", &login);
                QJsonObject open{{"table", table}, {"guests", 4}};
                p.call("open", "/api/tables/open", &open);
                for (int r = 0; r < orders; ++r) {
                    p.call("board", "/api/board", nullptr);
                    tap();
                    QJsonObject start{{"table", table}};
                    p.call("start", "/api/order/start", &start);
                    tap();
                    for (const char* item : {"102001", "202001", "104001"}) {
                        QJsonObject add{{"item", item}};
                        p.call("add", "/api/order/add", &add);
                        tap();
                    }
                    QJsonObject none;
                    const QJsonObject bill = p.call("commit", "/api/order/commit", &none);
                    // As the page does: how its tickets went, waiting while they print.
                    if (bill.contains("ticketJob"))
                        p.call("tickets", "/api/tickets?job=" + std::to_string(bill.value("ticketJob").toInt()),
                               nullptr);
                    tap();
                }
            });
        for (std::thread& th : threads)
            th.join();
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
        evenings.emplace_back(pause, std::move(t));
    }
    server.stop();
    // The bare write again, after the evenings: the same run's disk before and after.
    {
        std::vector<double> after = durableWrites(pool.lease().db(), 100);
        bare.insert(bare.end(), after.begin(), after.end());
    }

    const double bare50 = percentile(bare, 0.5), bare95 = percentile(bare, 0.95);
    const auto row = [&](const QString& what, const std::vector<double>& ms) {
        const double p50 = percentile(ms, 0.5), p95 = percentile(ms, 0.95);
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                   .arg(what, -14)
                   .arg(ms.size(), 6)
                   .arg(p50, 8, 'f', 2)
                   .arg(p95, 8, 'f', 2)
                   .arg(*std::max_element(ms.begin(), ms.end()), 8, 'f', 1)
                   .arg(p50 / bare50, 9, 'f', 1)
                   .arg(p95 / bare95, 9, 'f', 1);
    };
    int failures = 0;
    for (size_t phase = 0; phase < evenings.size(); ++phase) {
        const auto& [pause, t] = evenings[phase];
        failures += t->failures;
        out << "\nengine " << engineName(pool.lease().db().engine()) << ", " << phones << " phones, " << orders
            << " orders each, pause " << pause << " ms between taps, " << pool.opened() << " connections, "
            << t->failures << " failed requests, " << QString::number(seconds[phase], 'f', 1) << " s\n";
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                   .arg("request", -14)
                   .arg("count", 6)
                   .arg("p50 ms", 8)
                   .arg("p95 ms", 8)
                   .arg("max ms", 8)
                   .arg("p50/bare", 9)
                   .arg("p95/bare", 9);
        row(QStringLiteral("durable_write"), bare);
        std::vector<double> all;
        for (const auto& [what, ms] : t->ms) {
            all.insert(all.end(), ms.begin(), ms.end());
            row(QString::fromStdString(what), ms);
        }
        row(QStringLiteral("all"), all);
        for (const auto& [what, times] : t->why)
            out << "  refused " << times << "x: " << QString::fromStdString(what) << '\n';
    }
    out << "load average at the end: " << loadAverage() << Qt::endl;
    return failures == 0 ? 0 : 2;
}
