#include "commands.h"

#include "common/clock.h"
#include "common/db/errors.h"
#include "common/installation/database_check.h"
#include "common/installation/engine_copy.h"
#include "common/installation/new_database.h"
#include "common/installation/setup.h"
#include "common/installation/target.h"
#include "common/schema/demo_venue.h"
#include "common/schema/presets.h"

#include <exception>

namespace sorrel::tool {

namespace {

// Makes the target and fills it; a failed or killed run leaves no database under its name.
int createWith(const QString& target, setup::Contents contents, Console& console) {
    try {
        const SystemClock clock;
        installation::makeNewDatabase(target,
                                      [&](Database& db) { setup::createDatabase(db, contents, clock); });
    } catch (const std::exception& e) {
        console.err << QStringLiteral("sorrel-db: 创建失败：%1\n").arg(QString::fromUtf8(e.what()));
        return kFailed;
    }
    console.out << QStringLiteral("已创建数据库：%1\n").arg(target);
    console.out
        << QStringLiteral("操作员 %1 密码 %2\n").arg(presets::kAdminOperator, presets::kAdminPassword);
    if (contents == setup::Contents::DemoVenue)
        console.out
            << QStringLiteral("操作员 %1 密码 %2\n").arg(demo::kCashierOperator, demo::kCashierPassword);
    return kDone;
}

int create(const QStringList& operands, Console& console) {
    return createWith(operands.at(0), setup::Contents::Presets, console);
}

int demo(const QStringList& operands, Console& console) {
    return createWith(operands.at(0), setup::Contents::DemoVenue, console);
}

// Looks without writing: the file is opened read-only, so not even a -wal beside it is moved in.
int check(const QStringList& operands, Console& console) {
    const QString& target = operands.at(0);
    installation::CheckReport report;
    try {
        std::unique_ptr<Database> db = openTarget(target, TargetUse::ReadOnly);
        report = installation::checkDatabase(*db);
    } catch (const std::exception& e) {
        console.err << QStringLiteral("sorrel-db: 检查失败：%1\n").arg(QString::fromUtf8(e.what()));
        return kFailed;
    }
    console.out << QStringLiteral("数据库：%1\n").arg(target);
    for (const auto& [table, rows] : report.rowCounts)
        console.out << QStringLiteral("%1\t%2\n").arg(table, -20).arg(rows);
    for (const QString& table : report.schema.missingTables)
        console.err << QStringLiteral("缺少表：%1\n").arg(table);
    for (const QString& column : report.schema.missingColumns)
        console.err << QStringLiteral("缺少字段：%1\n").arg(column);
    for (const QString& view : report.schema.missingViews)
        console.err << QStringLiteral("缺少视图：%1\n").arg(view);
    for (const QString& damage : report.damage)
        console.err << damage << QLatin1Char('\n');
    if (!report.damage.isEmpty()) {
        console.err << QStringLiteral("sorrel-db: 数据库已损坏：%1\n").arg(target);
        return kFailed;
    }
    if (!report.complete()) {
        console.err << QStringLiteral("sorrel-db: 数据库不完整：%1\n").arg(target);
        return kFailed;
    }
    console.out << QStringLiteral("完整：%1 个表全部读完，全部视图齐全\n").arg(report.rowCounts.size());
    return kDone;
}

// Moves a whole installation into a new database (a file that does not exist yet, or a server
// database without our tables): the tables and views are made, every row copied and checked.
int copy(const QStringList& operands, Console& console) {
    const QString& toTarget = operands.at(1);
    QList<TableTally> tallies;
    try {
        std::unique_ptr<Database> from = openTarget(operands.at(0), TargetUse::OpenExisting);
        int shownTenth = -1;
        const CopyProgress progress = [&](qlonglong done, qlonglong total, const QString&) {
            const int tenth = total > 0 ? int(done * 10 / total) : 10;
            if (tenth == shownTenth) return;
            shownTenth = tenth;
            console.out << QStringLiteral("已复制 %1/%2 行\n").arg(done).arg(total);
            console.out.flush();
        };
        installation::makeNewDatabase(toTarget,
                                      [&](Database& to) { tallies = copyInstallation(*from, to, progress); });
    } catch (const std::exception& e) {
        console.err << QStringLiteral("sorrel-db: 复制失败：%1\n").arg(QString::fromUtf8(e.what()));
        return kFailed;
    }
    qlonglong rows = 0;
    for (const TableTally& t : tallies) {
        rows += t.rows;
        console.out << QStringLiteral("%1\t%2\t%3\n").arg(t.table, -20).arg(t.rows).arg(t.money, 0, 'f', 2);
    }
    console.out << QStringLiteral("已复制到 %1：%2 个表 %3 行，行数和金额核对一致\n")
                       .arg(toTarget)
                       .arg(tallies.size())
                       .arg(rows);
    return kDone;
}

} // namespace

const QList<Command>& commands() {
    static const QList<Command> all = {
        {QStringLiteral("create"),
         {QStringLiteral("PATH")},
         QStringLiteral("新建数据库：全部表和预置数据"),
         create},
        {QStringLiteral("demo"),
         {QStringLiteral("PATH")},
         QStringLiteral("新建数据库：预置数据和演示门店"),
         demo},
        {QStringLiteral("check"),
         {QStringLiteral("PATH")},
         QStringLiteral("只读检查数据库：文件的完整性、表、字段和视图，读完每个表的每一行并列出行数"),
         check},
        {QStringLiteral("copy"),
         {QStringLiteral("FROM"), QStringLiteral("TO")},
         QStringLiteral("把整个数据库复制到新的数据库（文件与服务器之间），复制后核对行数和金额"),
         copy},
    };
    return all;
}

} // namespace sorrel::tool
