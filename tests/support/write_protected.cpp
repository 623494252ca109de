#include "tests/support/write_protected.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace sorrel::test {

namespace {

bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

} // namespace

WriteProtected::WriteProtected(const QString& path) : path_(path) {
    QFile::Permissions readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    if (QFileInfo(path).isDir()) readable |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QFile::setPermissions(path, readable);
    if (::geteuid() == 0) immutable_ = setImmutable(path, true);
}

WriteProtected::~WriteProtected() {
    if (immutable_) setImmutable(path_, false);
    QFile::setPermissions(path_, QFile::permissions(path_) | QFile::WriteOwner);
}

bool WriteProtected::holds() const {
    return !QFileInfo(path_).isWritable();
}

} // namespace sorrel::test
