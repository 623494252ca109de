#include "frontdesk/shell/database_offer.h"

#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/messages.h"
#include "frontdesk/shell/database_opening.h"

#include <QWidget>

namespace sorrel::frontdesk {

std::unique_ptr<Database> openDatabaseOrOfferNew(const QString& programDir, const Clock& clock,
                                                 QWidget* splash) {
    QString problem;
    try {
        return openFrontDeskDatabase(programDir);
    } catch (const DbError& e) {
        // The venue's database is on a server: a new file here would only hide it.
        if (programDatabaseOnServer(programDir)) {
            if (splash) splash->hide();
            messages::error(QStringLiteral("无法打开数据库：") + frontDeskDatabaseLocation(programDir) +
                            QStringLiteral("\n原因：") + e.text());
            return nullptr;
        }
        problem = frontDeskDatabaseMissing(programDir)
                      ? QStringLiteral("找不到数据库：") + frontDeskDatabaseLocation(programDir)
                      : QStringLiteral("无法打开数据库：") + frontDeskDatabaseLocation(programDir) +
                            QStringLiteral("\n原因：") + e.text() +
                            QStringLiteral("\n（若新建数据库，原文件将改名保留，不会被覆盖。）");
    }
    if (splash) splash->hide();
    if (!messages::ask(problem + QStringLiteral("\n\n是否新建一个数据库？"))) return nullptr;
    const setup::Contents contents =
        messages::ask(QStringLiteral("是否在新数据库中载入演示营业场所资料，供初次试用？\n"
                                     "选择“否”则只建立基本预设资料（员工01，密码1234）。"))
            ? setup::Contents::DemoVenue
            : setup::Contents::Presets;
    try {
        NewDatabase created = createFrontDeskDatabase(programDir, contents, clock);
        QString done = QStringLiteral("已新建数据库：") + frontDeskDatabaseLocation(programDir);
        if (!created.setAside.isEmpty()) done += QStringLiteral("\n原文件已改名保留为：") + created.setAside;
        messages::information(done);
        return std::move(created.db);
    } catch (const DbError& e) {
        messages::error(QStringLiteral("新建数据库失败：") + e.text());
        return nullptr;
    }
}

} // namespace sorrel::frontdesk
