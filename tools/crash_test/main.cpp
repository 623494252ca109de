// sorrel-crash-test: a cashier's business days driven in a child process on a fresh copy of the
// demo venue, the child killed (SIGKILL) at a random moment again and again, and after every kill
// the database reopened and checked against what a venue relies on. Each child goes on from what
// the one before it left, so every interrupted state must also be one the steps can carry on from.
// With --workers, that many children work on the venue at once for --seconds, as the desks of a
// busy evening do, and the venue is checked once they are stopped.
//
//   sorrel-crash-test [--kills N] [--engine file|server] [--server postgres://…] [--seed S]
//                     [--max-delay MS]
//   sorrel-crash-test --workers N [--seconds S] [--engine file|server] [--server …] [--seed S]
//
// Prints the kills done (or the steps done, refused and failed by the workers, and any worker
// silent for 20 s) and every invariant broken; exits 1 when any was (or a step failed outright, or
// a worker fell silent or ended by itself), 2 on a mistyped command line, 77 when the server engine
// is asked for and no server can be had.
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
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUuid>
#include <cstdio>
#include <map>
#include <random>
#include <vector>

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
    int workers = 0; // several children at once instead of kills
    int seconds = 20;
    QString workerTarget; // set in a child
    bool carryOn = false; // a child that goes on after a failed step, as a desk restarted
};

// A worker that says nothing for this long is stuck: no step, wait or refusal takes as long.
constexpr int kSilentMs = 20000;

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
        else if (a == QLatin1String("--workers") && hasValue)
            o.workers = args[++i].toInt(&ok);
        else if (a == QLatin1String("--seconds") && hasValue)
            o.seconds = args[++i].toInt(&ok);
        else if (a == QLatin1String("--carry-on"))
            o.carryOn = true;
        else if (a == QLatin1String("--engine") && hasValue) {
            const QString engine = args[++i];
            ok = engine == QLatin1String("file") || engine == QLatin1String("server");
            o.server = engine == QLatin1String("server");
        } else
            return std::nullopt;
        if (!ok || o.kills < 0 || o.maxDelayMs < 1 || o.workers < 0 || o.seconds < 1) return std::nullopt;
    }
    if (!o.serverUrl.isEmpty()) o.server = true;
    return o;
}

// The child: business steps without end, each step's name on stdout as it begins ("step NAME")
// and how it ended ("done NAME", "refused NAME<tab>why", "failed NAME<tab>why"), until it is
// killed. A step that fails (not one the logic refused) ends it with the failure on stderr, unless
// it is to carry on.
int runWorker(const Options& o) {
    try {
        const std::unique_ptr<Database> db = openTarget(o.workerTarget, TargetUse::OpenExisting);
        const SystemClock clock;
        QString current;
        crash::DayDriver driver(*db, clock, o.seed, [&current](const QString& step) {
            current = step;
            print(QStringLiteral("step ") + step);
        });
        print(QStringLiteral("ready"));
        for (;;) {
            current.clear();
            try {
                const crash::DayDriver::Outcome outcome = driver.step();
                if (outcome.refused)
                    print(QStringLiteral("refused %1\t%2").arg(current, outcome.message));
                else if (!current.isEmpty())
                    print(QStringLiteral("done ") + current);
            } catch (const std::exception& e) {
                if (!o.carryOn) throw;
                print(QStringLiteral("failed %1\t%2")
                          .arg(current,
                               QString::fromUtf8(e.what()).replace(QLatin1Char('\n'), QLatin1Char(' '))));
            }
        }
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

// Several desks at once: each a child working through the day's steps on the one venue, all of
// them stopped (killed) after the given time, then the venue checked.
struct Desk {
    std::unique_ptr<QProcess> process;
    QByteArray pending; // output not yet ending in a newline
    QElapsedTimer heard;
    QString step = QStringLiteral("starting");
    bool silent = false;
    bool ended = false;
};

struct DeskFigures {
    int done = 0;
    int refused = 0;
    int failed = 0;
    int silent = 0;
    int ended = 0;
    std::map<QString, int> refusals; // "step: why" -> how often
    std::map<QString, int> failures;
};

void readDesk(Desk& desk, DeskFigures& figures) {
    desk.pending += desk.process->readAllStandardOutput();
    const qsizetype complete = desk.pending.lastIndexOf('\n') + 1;
    if (complete == 0) return;
    const QList<QByteArray> lines = desk.pending.left(complete).split('\n');
    desk.pending.remove(0, complete);
    desk.heard.start();
    for (const QByteArray& raw : lines) {
        const QString line = QString::fromUtf8(raw);
        const QString word = line.section(QLatin1Char(' '), 0, 0);
        const QString rest = line.section(QLatin1Char(' '), 1);
        const QString named = rest.section(QLatin1Char('\t'), 0, 0) + QStringLiteral(": ") +
                              rest.section(QLatin1Char('\t'), 1).left(300);
        if (word == QLatin1String("step")) {
            desk.step = rest;
        } else if (word == QLatin1String("done")) {
            ++figures.done;
        } else if (word == QLatin1String("refused")) {
            ++figures.refused;
            ++figures.refusals[named];
        } else if (word == QLatin1String("failed")) {
            ++figures.failed;
            ++figures.failures[named];
        }
    }
}

int runDesks(const Options& o) {
    if (o.server && o.serverUrl.isEmpty() && !test::serverInstalled()) {
        print(QStringLiteral("no database server installed: nothing to test on the server"));
        return kNoServer;
    }
    const ScratchVenue venue(o);
    print(QStringLiteral("%1 workers at once on the %2 for %3 s, seed %4")
              .arg(o.workers)
              .arg(o.server ? QStringLiteral("server") : QStringLiteral("file"))
              .arg(o.seconds)
              .arg(o.seed));
    int broken = 0;
    const auto check = [&](const QString& when) {
        const QList<crash::BrokenInvariant> found = crash::checkVenueAt(venue.target(), venue.opening());
        for (const crash::BrokenInvariant& b : found)
            print(QStringLiteral("  BROKEN after %1: %2 — %3").arg(when, b.rule, b.detail));
        broken += int(found.size());
    };
    check(QStringLiteral("the venue was made"));
    std::vector<Desk> desks(size_t(o.workers));
    for (size_t k = 0; k < desks.size(); ++k) {
        desks[k].process = std::make_unique<QProcess>();
        desks[k].process->start(QCoreApplication::applicationFilePath(),
                                {QStringLiteral("--worker"), venue.target(), QStringLiteral("--seed"),
                                 QString::number(o.seed * 1000u + quint32(k)), QStringLiteral("--carry-on")});
        desks[k].heard.start();
    }
    DeskFigures figures;
    QElapsedTimer running;
    running.start();
    while (running.elapsed() < qint64(o.seconds) * 1000) {
        QEventLoop pause;
        QTimer::singleShot(100, &pause, &QEventLoop::quit);
        pause.exec();
        for (size_t k = 0; k < desks.size(); ++k) {
            Desk& desk = desks[k];
            readDesk(desk, figures);
            if (!desk.ended && desk.process->state() == QProcess::NotRunning) {
                desk.ended = true;
                ++figures.ended;
                print(QStringLiteral("  worker %1 ended by itself during %2: %3")
                          .arg(k + 1)
                          .arg(desk.step, QString::fromUtf8(desk.process->readAllStandardError()).trimmed()));
            }
            if (!desk.ended && !desk.silent && desk.heard.elapsed() > kSilentMs) {
                desk.silent = true;
                ++figures.silent;
                print(QStringLiteral("  worker %1 silent for %2 s during %3")
                          .arg(k + 1)
                          .arg(kSilentMs / 1000)
                          .arg(desk.step));
            }
        }
    }
    for (Desk& desk : desks) {
        desk.process->kill();
        desk.process->waitForFinished(60000);
        readDesk(desk, figures);
    }
    for (const auto& [what, count] : figures.refusals)
        print(QStringLiteral("  refused %1× %2").arg(count).arg(what));
    for (const auto& [what, count] : figures.failures)
        print(QStringLiteral("  FAILED %1× %2").arg(count).arg(what));
    check(QStringLiteral("the workers were stopped"));
    print(QStringLiteral("steps done: %1, refused: %2, failed: %3, workers silent: %4, ended by themselves: "
                         "%5, invariants broken: %6")
              .arg(figures.done)
              .arg(figures.refused)
              .arg(figures.failed)
              .arg(figures.silent)
              .arg(figures.ended)
              .arg(broken));
    return broken > 0 || figures.failed > 0 || figures.silent > 0 || figures.ended > 0 ? 1 : 0;
}

} // namespace

int main(int argc, char* argv[]) {
    sorrel::nameLocalTimeZone();
    QCoreApplication app(argc, argv);
    const std::optional<Options> options = parse(app.arguments().mid(1));
    if (!options) {
        std::fprintf(stderr, "usage: sorrel-crash-test [--kills N] [--engine file|server] "
                             "[--server postgres://user@host/database] [--seed S] [--max-delay MS]\n"
                             "       sorrel-crash-test --workers N [--seconds S] [--engine file|server] "
                             "[--server postgres://user@host/database] [--seed S]\n");
        return kUsage;
    }
    if (!options->workerTarget.isEmpty()) return runWorker(*options);
    try {
        return options->workers > 0 ? runDesks(*options) : run(*options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sorrel-crash-test: %s\n", e.what());
        return 1;
    }
}
