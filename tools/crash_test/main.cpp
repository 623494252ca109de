// sorrel-crash-test: a cashier's business days driven in a child process on a fresh copy of the
// demo venue, the child killed (SIGKILL) at a random moment again and again, and after every kill
// the database reopened and checked against what a venue relies on. Each child goes on from what
// the one before it left, so every interrupted state must also be one the steps can carry on from.
//
//   sorrel-crash-test [--kills N] [--engine file|server] [--server postgres://…] [--seed S]
//                     [--max-delay MS]
//
// Prints the kills done and every invariant broken; exits 1 when any was (or a step failed
// outright), 2 on a mistyped command line, 77 when the server engine is asked for and no server
// can be had.
#include "common/clock.h"
#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/db/pg_database.h"
#include "common/db/server_settings.h"
#include "common/db/sqlite_database.h"
#include "common/installation/setup.h"
#include "common/installation/target.h"
#include "common/local_time_zone.h"
#include "tests/support/test_server.h"
#include "tools/crash_test/day_driver.h"
#include "tools/crash_test/venue_invariants.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <cstdio>
#include <map>
#include <random>

using namespace sorrel;

namespace {

constexpr int kUsage = 2;
constexpr int kNoServer = 77;

struct Options {
    int kills = 1000;
    bool server = false;
    QString serverUrl; // empty: the tests' throwaway server
    quint32 seed = 1;
    int maxDelayMs = 400;
    QString workerTarget; // set in a child
};

void print(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::optional<Options> parse(const QStringList& args) {
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == QLatin1String("--kills") && hasValue)
            o.kills = args[++i].toInt(&ok);
        else if (a == QLatin1String("--seed") && hasValue)
            o.seed = args[++i].toUInt(&ok);
        else if (a == QLatin1String("--max-delay") && hasValue)
            o.maxDelayMs = args[++i].toInt(&ok);
        else if (a == QLatin1String("--server") && hasValue)
            o.serverUrl = args[++i];
        else if (a == QLatin1String("--worker") && hasValue)
            o.workerTarget = args[++i];
        else if (a == QLatin1String("--engine") && hasValue) {
            const QString engine = args[++i];
            ok = engine == QLatin1String("file") || engine == QLatin1String("server");
            o.server = engine == QLatin1String("server");
        } else
            return std::nullopt;
        if (!ok || o.kills < 0 || o.maxDelayMs < 1) return std::nullopt;
    }
    if (!o.serverUrl.isEmpty()) o.server = true;
    return o;
}

// The child: business steps without end, each step's name on stdout as it begins, until it is
// killed. A step that fails (not one the logic refused) ends it with the failure on stderr.
int runWorker(const Options& o) {
    try {
        const std::unique_ptr<Database> db = openTarget(o.workerTarget, TargetUse::OpenExisting);
        const SystemClock clock;
        crash::DayDriver driver(*db, clock, o.seed,
                                [](const QString& step) { print(QStringLiteral("step ") + step); });
        print(QStringLiteral("ready"));
        for (;;)
            driver.step();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
}

// A fresh copy of the demo venue for one run: a file in a temporary folder, or a new database on
// the server, dropped again when the run ends.
class ScratchVenue {
  public:
    explicit ScratchVenue(const Options& o) {
        const SystemClock clock;
        if (!o.server) {
            target_ = dir_.filePath(QStringLiteral("VozezOzarev.mdb"));
            SqliteDatabase db(target_, databasePassword(), SqliteDatabase::Mode::CreateIfMissing);
            setup::createDatabase(db, setup::Contents::DemoVenue, clock);
            opening_ = crash::readOpening(db);
            return;
        }
        admin_ = o.serverUrl.isEmpty() ? test::testServer() : parseServerUrl(o.serverUrl);
        ServerSettings venue = admin_;
        venue.database = QStringLiteral("crash_%1").arg(QUuid::createUuid().toString(QUuid::Id128));
        PgDatabase(admin_).exec(QStringLiteral("CREATE DATABASE %1").arg(venue.database));
        database_ = venue.database;
        target_ = dir_.filePath(QStringLiteral("server.conf"));
        writeServerConf(target_, venue);
        PgDatabase db(venue);
        setup::createDatabase(db, setup::Contents::DemoVenue, clock);
        opening_ = crash::readOpening(db);
    }
    ~ScratchVenue() {
        if (database_.isEmpty()) return;
        try {
            PgDatabase(admin_).exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database_));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "could not drop %s: %s\n", qPrintable(database_), e.what());
        }
    }
    const QString& target() const { return target_; }
    const crash::VenueOpening& opening() const { return opening_; }

  private:
    QTemporaryDir dir_;
    QString target_;
    ServerSettings admin_;
    QString database_;
    crash::VenueOpening opening_;
};

struct Figures {
    int kills = 0;
    int steps = 0;
    int broken = 0;
    int failedSteps = 0;
    std::map<QString, int> killedDuring;
};

// One child started, let work until a random moment, killed; answers the step it was in.
QString killOne(const QString& target, quint32 seed, int delayMs, Figures& figures) {
    QProcess worker;
    worker.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--worker"), target, QStringLiteral("--seed"), QString::number(seed)});
    QByteArray out;
    while (!out.contains("ready\n") && worker.waitForReadyRead(60000))
        out += worker.readAllStandardOutput();
    QElapsedTimer working;
    working.start();
    while (working.elapsed() < delayMs && worker.state() == QProcess::Running) {
        worker.waitForReadyRead(int(std::max<qint64>(1, delayMs - working.elapsed())));
        out += worker.readAllStandardOutput();
    }
    const bool ranOn = worker.state() == QProcess::Running;
    worker.kill();
    worker.waitForFinished(60000);
    out += worker.readAllStandardOutput();
    QString last = QStringLiteral("starting");
    for (const QByteArray& line : out.split('\n'))
        if (line.startsWith("step ")) {
            ++figures.steps;
            last = QString::fromUtf8(line.mid(5));
        }
    if (!ranOn) {
        ++figures.failedSteps;
        print(QStringLiteral("  a step failed during %1: %2")
                  .arg(last, QString::fromUtf8(worker.readAllStandardError()).trimmed()));
    }
    return last;
}

int run(const Options& o) {
    if (o.server && o.serverUrl.isEmpty() && !test::serverInstalled()) {
        print(QStringLiteral("no database server installed: nothing to test on the server"));
        return kNoServer;
    }
    const ScratchVenue venue(o);
    print(QStringLiteral("crash test on the %1, seed %2, %3 kills")
              .arg(o.server ? QStringLiteral("server") : QStringLiteral("file"))
              .arg(o.seed)
              .arg(o.kills));
    Figures figures;
    const auto check = [&](const QString& when) {
        const QList<crash::BrokenInvariant> broken = crash::checkVenueAt(venue.target(), venue.opening());
        for (const crash::BrokenInvariant& b : broken)
            print(QStringLiteral("  BROKEN after %1: %2 — %3").arg(when, b.rule, b.detail));
        figures.broken += int(broken.size());
    };
    check(QStringLiteral("the venue was made"));
    std::mt19937 random(o.seed);
    for (int k = 1; k <= o.kills; ++k) {
        const int delay = std::uniform_int_distribution<int>(0, o.maxDelayMs)(random);
        const QString during = killOne(venue.target(), o.seed * 100003u + quint32(k), delay, figures);
        ++figures.kills;
        ++figures.killedDuring[during];
        check(QStringLiteral("kill %1 (during %2)").arg(k).arg(during));
        if (k % 50 == 0 || k == o.kills)
            print(QStringLiteral("kills %1, steps begun %2, invariants broken %3")
                      .arg(figures.kills)
                      .arg(figures.steps)
                      .arg(figures.broken));
    }
    QStringList during;
    for (const auto& [step, count] : figures.killedDuring)
        during << QStringLiteral("%1 %2").arg(step).arg(count);
    print(QStringLiteral("killed during: ") + during.join(QStringLiteral(", ")));
    print(QStringLiteral("kills done: %1, invariants broken: %2, steps failed: %3")
              .arg(figures.kills)
              .arg(figures.broken)
              .arg(figures.failedSteps));
    return figures.broken > 0 || figures.failedSteps > 0 ? 1 : 0;
}

} // namespace

int main(int argc, char* argv[]) {
    sorrel::nameLocalTimeZone();
    QCoreApplication app(argc, argv);
    const std::optional<Options> options = parse(app.arguments().mid(1));
    if (!options) {
        std::fprintf(stderr, "usage: sorrel-crash-test [--kills N] [--engine file|server] "
                             "[--server postgres://user@host/database] [--seed S] [--max-delay MS]\n");
        return kUsage;
    }
    if (!options->workerTarget.isEmpty()) return runWorker(*options);
    try {
        return run(*options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sorrel-crash-test: %s\n", e.what());
        return 1;
    }
}
