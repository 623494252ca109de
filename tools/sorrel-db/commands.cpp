#include "commands.h"

#include "common/clock.h"
#include "common/db/target.h"
#include "common/schema/demo_venue.h"
#include "common/schema/presets.h"
#include "common/schema/schema_check.h"
#include "common/schema/setup.h"

#include <exception>

namespace sorrel::tool {

namespace {

// Creates the target and fills it; a target that could not be filled is removed again, so a
// failed run never leaves a database without tables behind.
int createWith(const QString& target, setup::Contents contents, Console& console) {
    bool created = false;
    try {
        std::unique_ptr<Database> db = openTarget(target, TargetUse::CreateNew);
        created = true;
        const SystemClock clock;
        setup::createDatabase(*db, contents, clock);
    } catch (const std::exception& e) {
        if (created) discardNewTarget(target);
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

int check(const QStringList& operands, Console& console) {
    const QString& target = operands.at(0);
    schema::CheckReport report;
    try {
        std::unique_ptr<Database> db = openTarget(target, TargetUse::OpenExisting);
        report = schema::checkSchema(*db);
    } catch (const std::exception& e) {
        console.err << QStringLiteral("sorrel-db: 检查失败：%1\n").arg(QString::fromUtf8(e.what()));
        return kFailed;
    }
    console.out << QStringLiteral("数据库：%1\n").arg(target);
    for (const auto& [table, rows] : report.rowCounts)
        console.out << QStringLiteral("%1\t%2\n").arg(table, -20).arg(rows);
    for (const QString& table : report.missingTables)
        console.err << QStringLiteral("缺少表：%1\n").arg(table);
    for (const QString& column : report.missingColumns)
        console.err << QStringLiteral("缺少字段：%1\n").arg(column);
    for (const QString& view : report.missingViews)
        console.err << QStringLiteral("缺少视图：%1\n").arg(view);
    if (!report.complete()) {
        console.err << QStringLiteral("sorrel-db: 数据库不完整：%1\n").arg(target);
        return kFailed;
    }
    console.out << QStringLiteral("完整：%1 个表，全部视图齐全\n").arg(report.rowCounts.size());
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
         QStringLiteral("检查数据库的表、字段和视图，列出行数"),
         check},
    };
    return all;
}

} // namespace sorrel::tool
