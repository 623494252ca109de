// sorrel-waiter: the waiters' phone page, served on the venue's network from any machine that
// reaches its database.
//
//   sorrel-waiter [--listen ADDRESS:PORT] [--database FILE-or-server.conf] [--workers N]
//                 [--certificate FILE --key FILE] [--tickets-pdf FOLDER]
#include "common/clock.h"
#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/error_log.h"
#include "common/installation/target.h"
#include "common/installation/venue_opening.h"
#include "frontdesk/ordering/output_printers.h"
#include "waiter/checkpoints.h"
#include "waiter/state_pictures.h"
#include "waiter/ticket_output.h"
#include "waiter/waiter_server.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScopeGuard>
#include <QTextStream>
#include <csignal>
#include <cstdio>

namespace {

sorrel::waiter::WaiterServer* running = nullptr;

void stopOnSignal(int) {
    if (running) running->stop();
}

int fail(const QString& text) {
    QTextStream(stderr) << "sorrel-waiter: " << text << Qt::endl;
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    using namespace sorrel;
    // A server has no screen: the tickets are painted without one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sorrel-waiter"));

    QCommandLineParser args;
    args.setApplicationDescription(QStringLiteral("The waiters' phone page over the venue's database."));
    args.addHelpOption();
    const QCommandLineOption listen(QStringLiteral("listen"),
                                    QStringLiteral("Address and port (127.0.0.1:8480)."),
                                    QStringLiteral("address:port"), QStringLiteral("127.0.0.1:8480"));
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral("The database file or server.conf (else data/ beside the program)."),
        QStringLiteral("target"));
    const QCommandLineOption workers(QStringLiteral("workers"), QStringLiteral("Worker threads (8)."),
                                     QStringLiteral("n"), QStringLiteral("8"));
    const QCommandLineOption certificate(QStringLiteral("certificate"),
                                         QStringLiteral("TLS certificate (PEM)."), QStringLiteral("file"));
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("TLS private key (PEM)."),
                                 QStringLiteral("file"));
    const QCommandLineOption ticketsPdf(
        QStringLiteral("tickets-pdf"),
        QStringLiteral("Write kitchen tickets as PDF files into a folder instead of printing."),
        QStringLiteral("folder"));
    args.addOptions({listen, database, workers, certificate, key, ticketsPdf});
    args.process(app);

    waiter::ServerOptions options;
    const QString address = args.value(listen);
    const int colon = int(address.lastIndexOf(u':'));
    bool portOk = false;
    options.host = address.left(colon);
    options.port = address.mid(colon + 1).toInt(&portOk);
    if (colon <= 0 || !portOk || options.port <= 0 || options.port > 65535)
        return fail(QStringLiteral("--listen wants ADDRESS:PORT, not %1").arg(address));
    options.workers = std::clamp(args.value(workers).toInt(), 1, 64);
    options.certificate = args.value(certificate);
    options.key = args.value(key);
    if (options.certificate.isEmpty() != options.key.isEmpty())
        return fail(QStringLiteral("TLS needs both --certificate and --key"));

    const QString programDir = QCoreApplication::applicationDirPath();
    const QString target = args.value(database);
    waiter::ConnectionPool::Opener open;
    std::unique_ptr<Database> first;
    try {
        if (target.isEmpty()) {
            installation::Finding found =
                installation::findVenueDatabase({programDir, QStringLiteral("点单服务")});
            if (!found.db) return fail(found.problem);
            first = std::move(found.db);
            open = [programDir] { return openProgramDatabase(programDir); };
        } else {
            first = openTarget(target, TargetUse::OpenExisting);
            open = [target] { return openTarget(target, TargetUse::OpenExisting); };
        }
    } catch (const DbError& error) {
        return fail(error.reason());
    }

    SystemClock clock;
    // What went wrong in full goes to log/ beside the program, as at the desks.
    errorlog::install(programDir, clock);
    const auto closeLog = qScopeGuard([] { errorlog::uninstall(); });
    waiter::SessionStore sessions(clock);
    waiter::WaiterService service(clock, sessions, ordering::OutputPrinters::fileIn(programDir),
                                  args.isSet(ticketsPdf) ? waiter::pdfSender(args.value(ticketsPdf))
                                                         : waiter::printerSender());
    // The file's log is folded back on a thread of its own, never inside a phone's commit.
    std::unique_ptr<Database> folding;
    const waiter::ConnectionPool::Opener serving = [open] {
        std::unique_ptr<Database> db = open();
        waiter::Checkpoints::leaveToServer(*db);
        return db;
    };
    try {
        waiter::Checkpoints::leaveToServer(*first);
        folding = open();
    } catch (const DbError& error) {
        return fail(error.reason());
    }
    waiter::ConnectionPool pool(serving, options.workers, std::move(first));
    try {
        pool.fill();
    } catch (const DbError& error) {
        return fail(error.reason());
    }
    waiter::WaiterServer server(service, pool, options, waiter::statePictures());
    waiter::Checkpoints checkpoints(std::move(folding), server.writeGate());
    QString failure;
    if (!server.bind(failure)) return fail(failure);
    running = &server;
    std::signal(SIGTERM, stopOnSignal);
    std::signal(SIGINT, stopOnSignal);
    QTextStream(stdout) << "sorrel-waiter: serving " << (server.tls() ? "https://" : "http://")
                        << options.host << ':' << server.port() << Qt::endl;
    server.run();
    running = nullptr;
    return 0;
}
