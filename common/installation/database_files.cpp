#include "common/installation/database_files.h"

#include "common/db/database_file.h"
#include "common/db/errors.h"

#include <QFile>
#include <QFileInfo>

namespace sorrel::installation {

QString databaseFileThere(const QString& path) {
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) return path;
    for (const QString& companion : companionFiles(path))
        if (QFileInfo::exists(companion)) return companion;
    return {};
}

void renameDatabaseFile(const QString& from, const QString& to) {
    const QStringList sources = QStringList{from} + companionFiles(from);
    const QStringList targets = QStringList{to} + companionFiles(to);
    for (int i = 0; i < sources.size(); ++i) {
        if (!QFileInfo::exists(sources[i])) continue;
        QFile file(sources[i]);
        if (!file.rename(targets[i]))
            throw DbError(
                QStringLiteral("无法将 %1 改名为 %2（%3）").arg(sources[i], targets[i], file.errorString()));
    }
}

void removeDatabaseFile(const QString& path) {
    QFile::remove(path);
    for (const QString& companion : companionFiles(path))
        QFile::remove(companion);
}

bool folderWritable(const QString& path) {
    QString folder = QFileInfo(path).absolutePath();
    for (QString above = folder;
         !QFileInfo::exists(folder) && (above = QFileInfo(folder).absolutePath()) != folder;)
        folder = above;
    const QFileInfo there(folder);
    return there.isDir() && there.isWritable();
}

} // namespace sorrel::installation
