#include "common/ui/database_offer.h"

#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/messages.h"
#include "common/venue_database.h"

#include <QWidget>

namespace sorrel::ui {

std::unique_ptr<Database> openDatabaseOrOfferNew(const QString& programDir, const Clock& clock,
                                                 QWidget* splash) {
    QString problem;
    try {
        return openProgramDatabase(programDir);
    } catch (const DbError& e) {
        // The venue's database is on a server: a new file here would only hide it.
        if (programDatabaseOnServer(programDir)) {
            if (splash) splash->hide();
            messages::error(QStringLiteral("无法打开数据库：") + programDatabaseLocation(programDir) +
                            QStringLiteral("\n原因：") + e.text());
            return nullptr;
        }
        problem = programDatabaseMissing(programDir)
                      ? QStringLiteral("找不到数据库：") + programDatabaseLocation(programDir)
                      : QStringLiteral("无法打开数据库：") + programDatabaseLocation(programDir) +
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
        NewDatabase created = createProgramDatabase(programDir, contents, clock);
        QString done = QStringLiteral("已新建数据库：") + programDatabaseLocation(programDir);
        if (!created.setAside.isEmpty()) done += QStringLiteral("\n原文件已改名保留为：") + created.setAside;
        messages::information(done);
        return std::move(created.db);
    } catch (const DbError& e) {
        messages::error(QStringLiteral("新建数据库失败：") + e.text());
        return nullptr;
    }
}

} // namespace sorrel::ui
