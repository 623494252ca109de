#include "common/export/export_file.h"

#include "common/db/errors.h"

#include <QDir>
#include <QFileInfo>

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

} // namespace sorrel::exporting
