#include "tests/support/test_server.h"

#include "common/db/connection.h"
#include "common/db/errors.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <libpq-fe.h>
#include <pwd.h>
#include <unistd.h>

namespace sorrel::test {

namespace {

constexpr int kPort = 5432; // names the socket file only: the cluster listens on no network address
const QString kSuperuser = QStringLiteral("sorrel");

// The newest installed server version's programs folder; empty when none is installed.
QString serverBinDir() {
    const QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(found.begin(), found.end(),
              [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& v : found) {
        const QString bin = versions.filePath(v + QStringLiteral("/bin"));
        if (QFileInfo(bin + QStringLiteral("/initdb")).isExecutable()) return bin;
    }
    return {};
}

// One cluster of each kind per build: every test program, benchmark and the stop command live in
// the same bin folder.
QString clusterDir(Durability durability) {
    const QString exeDir =
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
    const QByteArray tag =
        QCryptographicHash::hash(exeDir.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QDir::temp().filePath(QStringLiteral("sorrel-pg-") + QString::fromLatin1(tag) +
                                 (durability == Durability::Durable ? QStringLiteral("-durable") : QString()));
}

ServerSettings superuserSettings(Durability durability) {
    ServerSettings s;
    s.host = clusterDir(durability);
    s.port = kPort;
    s.database = QStringLiteral("postgres");
    s.user = kSuperuser;
    s.password = databasePassword();
    return s;
}

bool answering(Durability durability) {
    const ServerSettings s = superuserSettings(durability);
    const QByteArray host = s.host.toUtf8(), port = QByteArray::number(s.port);
    const char* keys[] = {"host", "port", "dbname", "user", nullptr};
    const char* values[] = {host.constData(), port.constData(), "postgres", "sorrel", nullptr};
    return PQpingParams(keys, values, 0) == PQPING_OK;
}

// The server refuses to run as root: as root, its programs run as the unprivileged account
// the server's package creates.
bool runningAsRoot() {
    return geteuid() == 0;
}

void runServerProgram(Durability durability, const QString& program, const QStringList& args) {
    QProcess p;
    p.setWorkingDirectory(clusterDir(durability));
    p.setProcessChannelMode(QProcess::MergedChannels);
    const QString path = serverBinDir() + QLatin1Char('/') + program;
    if (runningAsRoot())
        p.start(QStringLiteral("runuser"),
                QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), path} +
                    args);
    else
        p.start(path, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw DbError(
            QStringLiteral("test server: %1 failed: %2").arg(program, QString::fromLocal8Bit(p.readAll())));
}

void handToServerAccount(const QString& path) {
    if (!runningAsRoot()) return;
    const passwd* account = getpwnam("postgres");
    if (!account || chown(QFile::encodeName(path).constData(), account->pw_uid, account->pw_gid) != 0)
        throw DbError(QStringLiteral("test server: cannot hand %1 to the postgres account").arg(path));
}

void createCluster(Durability durability) {
    const QString dir = clusterDir(durability);
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                   QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    handToServerAccount(dir);
    const QString pwfile = dir + QStringLiteral("/password");
    {
        QFile f(pwfile);
        if (!f.open(QIODevice::WriteOnly))
            throw DbError(QStringLiteral("test server: cannot write %1").arg(pwfile));
        f.write(databasePassword().toUtf8() + '\n');
    }
    handToServerAccount(pwfile);
    runServerProgram(durability, QStringLiteral("initdb"),
                     {QStringLiteral("-D"), dir + QStringLiteral("/data"), QStringLiteral("-U"), kSuperuser,
                      QStringLiteral("--pwfile=") + pwfile, QStringLiteral("--auth=scram-sha-256"),
                      QStringLiteral("--encoding=UTF8"), QStringLiteral("--locale=C.UTF-8"),
                      QStringLiteral("--no-sync")});
    QFile::remove(pwfile);
    // No network, its own socket folder; the throwaway cluster does not wait for the disk, the
    // durable one keeps the server's defaults, as a venue's server runs.
    QFile conf(dir + QStringLiteral("/data/postgresql.conf"));
    if (!conf.open(QIODevice::Append))
        throw DbError(QStringLiteral("test server: cannot configure %1").arg(conf.fileName()));
    conf.write(QStringLiteral("\nlisten_addresses = ''\nunix_socket_directories = '%1'\nport = %2\n"
                              "max_connections = 100\n")
                   .arg(dir)
                   .arg(kPort)
                   .toUtf8());
    if (durability == Durability::Throwaway)
        conf.write("fsync = off\nsynchronous_commit = off\nfull_page_writes = off\n");
}

QLockFile& clusterLock(Durability durability) {
    static QLockFile throwaway(clusterDir(Durability::Throwaway) + QStringLiteral(".lock"));
    static QLockFile durable(clusterDir(Durability::Durable) + QStringLiteral(".lock"));
    QLockFile& lock = durability == Durability::Durable ? durable : throwaway;
    lock.setStaleLockTime(0);
    return lock;
}

void stopCluster(Durability durability) {
    QLockFile& lock = clusterLock(durability);
    lock.lock();
    const QString dir = clusterDir(durability);
    if (QFileInfo::exists(dir + QStringLiteral("/data/postmaster.pid")))
        runServerProgram(durability, QStringLiteral("pg_ctl"),
                         {QStringLiteral("stop"), QStringLiteral("-m"), QStringLiteral("fast"),
                          QStringLiteral("-D"), dir + QStringLiteral("/data")});
    QDir(dir).removeRecursively();
    lock.unlock();
}

} // namespace

bool serverInstalled() {
    return !serverBinDir().isEmpty();
}

ServerSettings testServer(Durability durability) {
    static bool checked[2] = {false, false};
    if (checked[int(durability)]) return superuserSettings(durability);
    if (!serverInstalled()) throw DbError(QStringLiteral("test server: no PostgreSQL server is installed"));
    QLockFile& lock = clusterLock(durability);
    if (!lock.lock()) throw DbError(QStringLiteral("test server: cannot take the lock %1").arg(lock.error()));
    try {
        if (!answering(durability)) {
            const QString dir = clusterDir(durability);
            if (!QFileInfo::exists(dir + QStringLiteral("/data/PG_VERSION"))) {
                QDir(dir).removeRecursively();
                createCluster(durability);
            }
            runServerProgram(durability, QStringLiteral("pg_ctl"),
                             {QStringLiteral("start"), QStringLiteral("-w"), QStringLiteral("-t"),
                              QStringLiteral("60"), QStringLiteral("-D"), dir + QStringLiteral("/data"),
                              QStringLiteral("-l"), dir + QStringLiteral("/server.log")});
        }
    } catch (...) {
        lock.unlock();
        throw;
    }
    lock.unlock();
    checked[int(durability)] = true;
    return superuserSettings(durability);
}

void stopTestServer() {
    if (!serverInstalled()) return;
    stopCluster(Durability::Throwaway);
    stopCluster(Durability::Durable);
}

} // namespace sorrel::test
