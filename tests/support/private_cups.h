// A print system of the test's own: a cupsd with its own configuration folder and socket (the
// machine's printing is left alone) and one queue whose jobs land as PDF files in a folder, so a
// test prints through the real queue and reads back what came out. Where cupsd cannot start
// (not installed, not root), `reason()` says why and the test skips.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cups/cups.h>
#include <unistd.h>

namespace sorrel::test {

class PrivateCups {
  public:
    static constexpr const char* kQueue = "SorrelRoll";

    PrivateCups() : dir_(QStringLiteral("/tmp/sorrel-cups-XXXXXX")) { start(); }
    ~PrivateCups() {
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate();
            if (!cupsd_.waitForFinished(5000)) cupsd_.kill();
        }
        qunsetenv("CUPS_SERVER");
    }

    bool running() const { return reason_.isEmpty(); }
    QString reason() const { return reason_; }
    QString outDir() const { return dir_.filePath(QStringLiteral("out")); }

    // lpadmin, cupsaccept, cupsreject … against this server.
    bool run(const QString& program, const QStringList& arguments) const {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(program, arguments);
        return p.waitForFinished(15000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    bool refuseJobs() const { return run(QStringLiteral("cupsreject"), {QString::fromLatin1(kQueue)}); }

    // The PDF files the queue has written so far, oldest first, once every job is done.
    QStringList printed(int expected) const {
        QDeadlineTimer deadline(15000);
        QStringList files;
        do {
            files.clear();
            for (const QFileInfo& f : QDir(outDir()).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files,
                                                                   QDir::Time | QDir::Reversed))
                if (f.size() > 0) files << f.filePath();
            if (files.size() >= expected) break;
            QThread::msleep(100);
        } while (!deadline.hasExpired());
        QThread::msleep(200); // the last file written whole
        return files;
    }

  private:
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), socket());
        return env;
    }
    QString socket() const { return dir_.filePath(QStringLiteral("cups.sock")); }

    void write(const QString& name, const QString& text, QFile::Permissions permissions = {}) {
        QFile f(dir_.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(text.toUtf8());
        f.close();
        if (permissions) f.setPermissions(permissions);
    }

    void start() {
        const QString cupsd = QStringLiteral("/usr/sbin/cupsd");
        if (!QFileInfo::exists(cupsd)) {
            reason_ = QStringLiteral("CUPS is not installed (no /usr/sbin/cupsd)");
            return;
        }
        if (geteuid() != 0) {
            reason_ = QStringLiteral("a private cupsd needs root to start");
            return;
        }
        if (!dir_.isValid()) {
            reason_ = QStringLiteral("no folder for the private cupsd");
            return;
        }
        const QDir d(dir_.path());
        for (const char* sub : {"spool", "cache", "state", "log", "out", "bin/backend"})
            d.mkpath(QString::fromLatin1(sub));
        // Jobs run as the print system's own user, who must reach the backend and the output.
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                               QFile::ExeOther);
        QFile::setPermissions(outDir(), QFile::Permissions(0x7777));
        for (const char* sub : {"filter", "daemon", "notifier", "monitor", "cgi-bin", "driver"})
            QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(sub),
                        dir_.filePath(QStringLiteral("bin/") + QLatin1String(sub)));
        const QString p = dir_.path();
        write(QStringLiteral("cupsd.conf"),
              QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                             "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n")
                  .arg(socket()));
        write(QStringLiteral("cups-files.conf"),
              QStringLiteral("ServerRoot %1\nServerBin %1/bin\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                             "StateDir %1/state\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                             "PageLog %1/log/page_log\n")
                  .arg(p));
        // The queue's device: each job's document, as the program sent it (PDF), into out/.
        write(QStringLiteral("bin/backend/pdffile"),
              QStringLiteral(
                  "#!/bin/sh\n[ $# -eq 0 ] && { echo 'file pdffile \"Unknown\" \"PDF file\"'; exit 0; }\n"
                  "out=\"${DEVICE_URI#pdffile:}/job-$1.pdf\"\n"
                  "if [ -n \"$6\" ]; then cat \"$6\"; else cat; fi > \"$out.part\" && "
                  "chmod 644 \"$out.part\" && mv \"$out.part\" \"$out\"\n"),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                  QFile::ReadOther | QFile::ExeOther);
        cupsd_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        cupsd_.start(cupsd,
                     {QStringLiteral("-f"), QStringLiteral("-c"), dir_.filePath(QStringLiteral("cupsd.conf")),
                      QStringLiteral("-s"), dir_.filePath(QStringLiteral("cups-files.conf"))});
        if (!cupsd_.waitForStarted(5000)) {
            reason_ = QStringLiteral("cupsd did not start");
            return;
        }
        QDeadlineTimer deadline(10000);
        while (!QFileInfo::exists(socket()) && !deadline.hasExpired() && cupsd_.state() == QProcess::Running)
            QThread::msleep(50);
        if (!QFileInfo::exists(socket())) {
            reason_ = QStringLiteral("cupsd did not open its socket");
            return;
        }
        // From here the program's printing (Qt and libcups) asks this server.
        qputenv("CUPS_SERVER", socket().toUtf8());
        cupsSetServer(socket().toUtf8().constData());
        if (!run(QStringLiteral("lpadmin"),
                 {QStringLiteral("-p"), QString::fromLatin1(kQueue), QStringLiteral("-E"),
                  QStringLiteral("-v"), QStringLiteral("pdffile:") + outDir(), QStringLiteral("-m"),
                  QStringLiteral("raw")}) ||
            !run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), QString::fromLatin1(kQueue)}))
            reason_ = QStringLiteral("the private cupsd did not take the queue");
    }

    QTemporaryDir dir_;
    QProcess cupsd_;
    QString reason_;
};

} // namespace sorrel::test
