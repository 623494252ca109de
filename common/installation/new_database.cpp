#include "common/installation/new_database.h"

#include "common/db/connection.h"
#include "common/db/database_file.h"
#include "common/db/errors.h"
#include "common/db/sqlite_database.h"
#include "common/installation/database_files.h"
#include "common/installation/target.h"
#include "common/schema/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sorrel::installation {

namespace {

// The temporary file of one run, held under an exclusive lock for the run's whole life: the
// system releases it when the run ends, however it ends, so a lock that can be taken means the
// file's last run is gone.
class IncompleteFile {
  public:
    explicit IncompleteFile(const QString& path) : path_(path) {
        const QByteArray name = QFile::encodeName(path);
        fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0)
            throw DbError(QStringLiteral("无法创建文件：%1（%2）").arg(path, qt_error_string(errno)));
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd_);
            throw DbError(QStringLiteral("另一个程序正在写入 %1，请等它结束后再试").arg(path));
        }
        // What a killed run left is started afresh.
        if (::fchmod(fd_, 0600) != 0 || ::ftruncate(fd_, 0) != 0) {
            ::close(fd_);
            throw DbError(QStringLiteral("无法写入文件：%1（%2）").arg(path, qt_error_string(errno)));
        }
        for (const QString& companion : companionFiles(path))
            QFile::remove(companion);
    }
    ~IncompleteFile() { ::close(fd_); }
    IncompleteFile(const IncompleteFile&) = delete;
    IncompleteFile& operator=(const IncompleteFile&) = delete;

    // Everything written reaches the disk before the file takes its final name.
    void sync() {
        if (::fsync(fd_) != 0)
            throw DbError(QStringLiteral("无法写入文件：%1（%2）").arg(path_, qt_error_string(errno)));
    }

  private:
    QString path_;
    int fd_ = -1;
};

// The new name of a file survives a power cut only once its folder reached the disk.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void makeNewFile(const QString& target, const std::function<void(Database&)>& fill) {
    const QFileInfo file(target);
    const QString there = databaseFileThere(target);
    if (!there.isEmpty()) throw DbError(QStringLiteral("文件已存在，不会覆盖：%1").arg(there));
    if (!file.absoluteDir().exists())
        throw DbError(QStringLiteral("文件夹不存在：%1").arg(file.absolutePath()));
    if (!folderWritable(target)) throw DbError(QStringLiteral("文件夹不能写入：%1").arg(file.absolutePath()));

    const QString incomplete = incompleteFile(target);
    IncompleteFile claim(incomplete);
    try {
        {
            SqliteDatabase db(incomplete, databasePassword(), SqliteDatabase::Mode::OpenExisting);
            fill(db);
        }
        // Closing the last connection moves the -wal into the file and removes it.
        if (QFileInfo::exists(walFile(incomplete)))
            throw DbError(QStringLiteral("新数据库未能完整写入：%1").arg(walFile(incomplete)));
        claim.sync();
        QFile made(incomplete);
        if (!made.rename(target)) {
            if (QFileInfo::exists(target))
                throw DbError(QStringLiteral("文件已存在，不会覆盖：%1").arg(target));
            throw DbError(
                QStringLiteral("无法将 %1 改名为 %2（%3）").arg(incomplete, target, made.errorString()));
        }
        syncFolder(file.absolutePath());
    } catch (...) {
        removeDatabaseFile(incomplete);
        throw;
    }
}

void makeNewOnServer(const QString& target, const std::function<void(Database&)>& fill) {
    std::unique_ptr<Database> db = openTarget(target, TargetUse::OpenExisting);
    // The server database itself is made by its administrator; a new venue goes only into one
    // that holds none of our tables yet.
    for (const schema::Table& t : schema::tables())
        if (!db->columnsOf(t.name).isEmpty())
            throw DbError(
                QStringLiteral("服务器数据库 %1 已有数据表（%2），不会覆盖").arg(db->location(), t.name));
    fill(*db);
}

} // namespace

QString incompleteFile(const QString& target) {
    return target + QStringLiteral(".incomplete");
}

void makeNewDatabase(const QString& target, const std::function<void(Database&)>& fill) {
    if (target.trimmed().isEmpty()) throw DbError(QStringLiteral("没有给出数据库文件"));
    if (isServerTarget(target))
        makeNewOnServer(target, fill);
    else
        makeNewFile(target, fill);
}

} // namespace sorrel::installation
