#include "common/ui/help_page.h"

#include "common/messages.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace sorrel::ui {

QString helpPagePath(const QString& programDir) {
    return QDir(programDir).filePath(QStringLiteral("help.html"));
}

bool openHelpPage(const QString& programDir) {
    const QString path = helpPagePath(programDir);
    return QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void showHelpPage(const QString& programDir) {
    if (!openHelpPage(programDir))
        messages::information(QStringLiteral("无法打开帮助文件：") + helpPagePath(programDir));
}

} // namespace sorrel::ui
