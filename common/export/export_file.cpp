#include "common/export/export_file.h"

#include "common/db/errors.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

namespace sorrel::exporting {

void refuseWriting(const QString& path) {
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    const QString name = QDir::toNativeSeparators(file.absoluteFilePath());
    if (!folder.isDir())
        throw StepRefused(QStringLiteral("导出失败：文件夹[%1]不存在！")
                              .arg(QDir::toNativeSeparators(folder.absoluteFilePath())));
    if (!folder.isWritable())
        throw StepRefused(QStringLiteral("导出失败：没有在文件夹[%1]中写入文件的权限！")
                              .arg(QDir::toNativeSeparators(folder.absoluteFilePath())));
    if (file.exists() && (file.isDir() || !file.isWritable()))
        throw StepRefused(QStringLiteral("导出失败：文件[%1]不能被替换！").arg(name));
    throw StepRefused(QStringLiteral("导出失败：写入文件[%1]时出错，磁盘空间可能已满！").arg(name));
}

void writeInPlace(const QString& path, const std::function<bool(const QString& partialPath)>& write) {
    const QFileInfo target(path);
    // Beside the file, so putting it in place is a rename on one disk.
    QTemporaryFile partial(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                           QStringLiteral(".XXXXXX"));
    if (!partial.open()) refuseWriting(path);
    partial.close();
    if (!write(partial.fileName())) refuseWriting(path);
    // Readable as any file the operator saves, not only by the program's own account.
    partial.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (std::rename(QFile::encodeName(partial.fileName()).constData(), QFile::encodeName(path).constData()) !=
        0)
        refuseWriting(path);
    partial.setAutoRemove(false);
}

} // namespace sorrel::exporting
