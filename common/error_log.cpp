#include "common/error_log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sorrel::errorlog {

namespace {

QString g_folder;
const Clock* g_clock = nullptr;
int g_sequence = 0;

QString fileNameOn(const QDate& day) {
    return QStringLiteral("sorrel-") + day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".log");
}

// Keeps the newest kDaysKept daily files (the names sort by date).
void removeOldFiles(QDir dir) {
    const QStringList files =
        dir.entryList({QStringLiteral("sorrel-*.log")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (int i = kDaysKept; i < files.size(); ++i)
        dir.remove(files[i]);
}

// The folder's and the files' modes. A folder of the program's own is its owner's alone. The
// installed programs share one folder of group sorrel (setgid, like the venue's data beside it):
// every member's program writes to the day's file, and nobody outside the group reads it.
struct Modes {
    mode_t folder;
    mode_t file;
};

Modes modesOf(const QString& folder) {
    struct stat info {};
    const bool shared = ::stat(QFile::encodeName(folder).constData(), &info) == 0 && (info.st_mode & S_ISGID);
    return shared ? Modes{02770, 0660} : Modes{0700, 0600};
}

bool append(const QString& path, const QByteArray& text, mode_t mode, bool& created) {
    const QByteArray name = QFile::encodeName(path);
    created = ::access(name.constData(), F_OK) != 0;
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, mode);
    if (fd < 0) return false;
    // A file another tool made wider is narrowed again: the statements name the venue's data. A
    // file of the shared folder made by another member stays theirs; its mode is already right.
    bool ok = ::fchmod(fd, mode) == 0 || (mode & 0060);
    ok = ::write(fd, text.constData(), size_t(text.size())) == text.size() && ok;
    ::close(fd);
    return ok;
}

} // namespace

void install(const QString& programDir, const Clock& clock) {
    g_folder = QDir(programDir).filePath(QStringLiteral("log"));
    g_clock = &clock;
}

void uninstall() {
    g_folder.clear();
    g_clock = nullptr;
}

QString folder() {
    return g_folder;
}

QString write(const QString& what, const QString& detail) {
    const QDateTime at = g_clock ? g_clock->now() : QDateTime();
    const QString program = QCoreApplication::applicationName();
    QString reference =
        at.isValid() ? at.toString(QStringLiteral("yyyyMMdd-hhmmss")) : QStringLiteral("00000000-000000");
    reference += QLatin1Char('-') + QString::number(++g_sequence);
    const QString entry =
        QStringLiteral("[%1] %2 on %3 (%4), ref %5\n%6\n%7\n\n")
            .arg(at.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), program, QSysInfo::machineHostName(),
                 QString::number(QCoreApplication::applicationPid()), reference, what, detail);
    const QByteArray bytes = entry.toUtf8();
    bool written = false;
    if (!g_folder.isEmpty() && at.isValid()) {
        QDir dir(g_folder);
        if (dir.exists() || QDir().mkpath(g_folder)) {
            const Modes modes = modesOf(g_folder);
            ::chmod(QFile::encodeName(g_folder).constData(), modes.folder);
            bool created = false;
            written = append(dir.filePath(fileNameOn(at.date())), bytes, modes.file, created);
            if (created) removeOldFiles(dir);
        }
    }
    if (!written) std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    return reference;
}

} // namespace sorrel::errorlog
