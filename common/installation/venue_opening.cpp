#include "common/installation/venue_opening.h"

#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/installation/database_check.h"
#include "common/installation/database_files.h"
#include "common/installation/new_database.h"
#include "common/installation/target.h"
#include "common/installation/backup.h"
#include "common/installation/upgrade.h"
#include "common/messages.h"
#include "common/schema/schema_version.h"
#include "common/system_password.h"

#include <QDir>
#include <QFileInfo>

namespace sorrel::installation {

namespace {

const QString kKeptNote = QStringLiteral("\n（若新建数据库，原文件将改名保留，不会被覆盖。）");

QString askAdministrator(const StartingProgram& program) {
    return QStringLiteral("\n请与系统管理员联系，处理后再启动[%1]。").arg(program.name);
}

QString missingParts(const SchemaReport& report) {
    const QString separator = QStringLiteral("、");
    QStringList lines;
    if (!report.missingTables.isEmpty())
        lines << QStringLiteral("缺少数据表：") + report.missingTables.join(separator);
    if (!report.missingColumns.isEmpty())
        lines << QStringLiteral("缺少字段：") + report.missingColumns.join(separator);
    if (!report.missingViews.isEmpty())
        lines << QStringLiteral("缺少视图：") + report.missingViews.join(separator);
    return lines.join(QLatin1Char('\n'));
}

Finding problem(const QString& text, bool newLosesNothing) {
    return {nullptr, text, newLosesNothing, {}};
}

// Looks at the database through a connection that writes nothing, then opens it for work. A
// file that cannot be read would be kept under another name; a server that cannot be reached
// is never a reason for a new database.
Finding examine(const StartingProgram& program, const QString& target, bool file) {
    const QString location = programDatabaseLocation(program.dir);
    const QString kept = file ? kKeptNote : QString();
    SchemaReport report;
    try {
        const std::unique_ptr<Database> looking = openTarget(target, TargetUse::ReadOnly);
        report = checkSchema(*looking);
    } catch (const DbError& e) {
        return problem(QStringLiteral("无法打开数据库：%1\n原因：%2").arg(location, e.reason()) + kept, file);
    } catch (const DatabaseBusy& busy) {
        // Another workstation in the middle of a long save is never a reason for a new database.
        return problem(QStringLiteral("无法打开数据库：%1\n原因：%2").arg(location, busy.text()), false);
    }
    if (report.bare())
        return problem(QStringLiteral("数据库中还没有本系统的数据表：") + location + kept, true);
    if (report.version > schema::kSchemaVersion)
        return problem(QStringLiteral("%1\n%2").arg(schema::kNewerDatabaseMessage, location), false);
    if (!report.complete() && !report.older())
        return problem(QStringLiteral("数据库不完整：%1\n%2").arg(location, missingParts(report)) +
                           askAdministrator(program),
                       false);
    try {
        Finding found{openProgramDatabase(program.dir), QString(), false, {}};
        if (report.older()) found.upgrade = upgradeSteps(*found.db);
        return found;
    } catch (const DbError& e) {
        return problem(QStringLiteral("无法打开数据库：%1\n原因：%2").arg(location, e.reason()), false);
    } catch (const DatabaseBusy& busy) {
        return problem(QStringLiteral("无法打开数据库：%1\n原因：%2").arg(location, busy.text()), false);
    }
}

// An older database is brought up to date before any screen reads it, once the administrator
// agrees and proves it with the system password; otherwise the program ends.
std::unique_ptr<Database> upgradeAtStart(const StartingProgram& program, Finding found, const Clock& clock) {
    if (!messages::ask(QStringLiteral("数据库是旧版本，[%1]需要先升级数据库：\n%2\n升级前会先备份到 back 文件夹。是否现在升级？")
                           .arg(program.name, found.upgrade.join(QLatin1Char('\n')))))
        return nullptr;
    QString typed;
    if (!messages::askPassword(QStringLiteral("请输入系统管理密码："), typed)) return nullptr;
    if (!systemPasswordMatches(*found.db, typed)) {
        messages::error(kWrongSystemPasswordMessage);
        return nullptr;
    }
    try {
        upgradeDatabase(*found.db, backFolder(program.dir), clock);
    } catch (const DbError& e) {
        messages::error(e.reason());
        return nullptr;
    }
    messages::information(QStringLiteral("数据库已升级到版本 %1。").arg(schema::kSchemaVersion));
    return std::move(found.db);
}

} // namespace

Finding findVenueDatabase(const StartingProgram& program) {
    if (programDatabaseOnServer(program.dir)) return examine(program, serverConfFile(program.dir), false);
    const QString path = defaultDatabaseFile(program.dir);
    const QFileInfo file(path);
    const QString location = QDir::toNativeSeparators(path);
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    if (!file.exists() && !file.isSymLink()) {
        if (!folderWritable(path))
            return problem(QStringLiteral("找不到数据库：%1\n数据库文件夹不能写入，无法新建数据库：%2")
                                   .arg(location, folder) +
                               askAdministrator(program),
                           false);
        return problem(QStringLiteral("找不到数据库：") + location, true);
    }
    // Working on the file needs its -wal and -shm beside it.
    if (!folderWritable(path))
        return problem(QStringLiteral("数据库所在的文件夹不能写入：%1\n[%2]需要在该文件夹中保存营业数据。")
                               .arg(folder, program.name) +
                           askAdministrator(program),
                       false);
    if (file.isFile() && !file.isWritable())
        return problem(
            QStringLiteral("数据库文件是只读的，不能写入：") + location + askAdministrator(program), false);
    if (file.isFile() && file.size() == 0)
        return problem(QStringLiteral("数据库文件是空的（0 字节）：") + location + kKeptNote, true);
    return examine(program, path, true);
}

NewDatabase createVenueDatabase(const QString& programDir, setup::Contents contents, const Clock& clock) {
    const bool onServer = programDatabaseOnServer(programDir);
    const QString target = onServer ? serverConfFile(programDir) : defaultDatabaseFile(programDir);
    NewDatabase result;
    if (!onServer) {
        if (!databaseFileThere(target).isEmpty()) {
            result.setAside = target + QStringLiteral(".unreadable-") +
                              clock.now().toString(QStringLiteral("yyyyMMddHHmmss"));
            renameDatabaseFile(target, result.setAside);
        }
        const QString folder = QFileInfo(target).absolutePath();
        if (!QDir().mkpath(folder)) throw DbError(QStringLiteral("无法建立数据目录：") + folder);
    }
    makeNewDatabase(target, [&](Database& db) { setup::createDatabase(db, contents, clock); });
    result.db = openProgramDatabase(programDir);
    return result;
}

std::unique_ptr<Database> openVenueDatabase(const StartingProgram& program, const Clock& clock,
                                            const std::function<void()>& beforeMessage) {
    Finding found = findVenueDatabase(program);
    if (found.db && !found.upgrade.isEmpty()) {
        if (beforeMessage) beforeMessage();
        return upgradeAtStart(program, std::move(found), clock);
    }
    if (found.db) return std::move(found.db);
    if (beforeMessage) beforeMessage();
    if (!found.newLosesNothing) {
        messages::error(found.problem);
        return nullptr;
    }
    if (!messages::ask(found.problem + QStringLiteral("\n\n是否新建一个数据库？"))) return nullptr;
    const setup::Contents contents =
        messages::ask(QStringLiteral("是否在新数据库中载入演示营业场所资料，供初次试用？\n"
                                     "选择“否”则只建立基本预设资料（员工01，密码1234）。"))
            ? setup::Contents::DemoVenue
            : setup::Contents::Presets;
    try {
        NewDatabase created = createVenueDatabase(program.dir, contents, clock);
        QString done = QStringLiteral("已新建数据库：") + programDatabaseLocation(program.dir);
        if (!created.setAside.isEmpty()) done += QStringLiteral("\n原文件已改名保留为：") + created.setAside;
        messages::information(done);
        return std::move(created.db);
    } catch (const DbError& e) {
        messages::error(QStringLiteral("新建数据库失败：") + e.reason());
        return nullptr;
    }
}

} // namespace sorrel::installation
