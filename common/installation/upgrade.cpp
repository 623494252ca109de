#include "common/installation/upgrade.h"

#include "common/db/dialect.h"
#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/installation/backup.h"
#include "common/line_summary.h"
#include "common/schema/schema.h"
#include "common/schema/schema_version.h"

namespace sorrel::installation {

namespace {

// One missing part: how the administrator reads it, and the statements that make it.
struct Step {
    QString line;
    QStringList statements;
};

QList<Step> missingParts(Database& db) {
    QList<Step> steps;
    const Engine engine = db.engine();
    for (const schema::Table& table : schema::tables()) {
        const QStringList present = db.columnsOf(table.name);
        if (present.isEmpty()) {
            Step step{QStringLiteral("新建数据表：%1").arg(table.name),
                      {schema::createTableStatement(engine, table)}};
            for (const schema::Index& ix : table.indexes)
                step.statements << schema::createIndexStatement(table, ix);
            steps << step;
            continue;
        }
        for (const schema::Column& column : table.columns)
            if (!present.contains(column.name.toLower()))
                steps << Step{QStringLiteral("新增字段：%1.%2").arg(table.name, column.name),
                              {schema::addColumnStatement(engine, table, column)}};
        for (const schema::Index& ix : table.indexes)
            if (!dialect::indexExists(db, schema::indexName(table, ix)))
                steps << Step{
                    QStringLiteral("新建索引：%1(%2)").arg(table.name, ix.columns.join(QStringLiteral(", "))),
                    {schema::createIndexStatement(table, ix)}};
    }
    for (const schema::View& view : schema::views()) {
        QStringList present;
        try {
            present = db.columnsOf(view.name);
        } catch (const DbError&) {
            // A view over a column that changed under it cannot even be described: made again.
            present = {QString()};
        }
        bool whole = !present.isEmpty();
        for (const QString& column : view.columns)
            whole = whole && present.contains(column.toLower());
        if (whole) continue;
        Step step{QStringLiteral("重建视图：%1").arg(view.name), {}};
        if (!present.isEmpty()) step.statements << QStringLiteral("DROP VIEW %1").arg(view.name);
        step.statements << schema::createViewStatement(engine, view);
        steps << step;
    }
    return steps;
}

} // namespace

void refuseNewerDatabase(Database& db) {
    if (schema::storedSchemaVersion(db) > schema::kSchemaVersion)
        throw DbError(schema::kNewerDatabaseMessage);
}

QStringList upgradeSteps(Database& db) {
    QStringList lines;
    for (const Step& step : missingParts(db))
        lines << step.line;
    const int version = schema::storedSchemaVersion(db);
    if (version < schema::kLineSummaryVersion) lines << QStringLiteral("按营业日汇总历史点单");
    if (version < schema::kBillSummaryVersion) lines << QStringLiteral("按营业日汇总历史帐单和付款");
    if (version < schema::kSchemaVersion)
        lines << QStringLiteral("数据库版本 %1 升级为 %2").arg(version).arg(schema::kSchemaVersion);
    return lines;
}

QStringList upgradeSchema(Database& db) {
    Transaction tx(db);
    refuseNewerDatabase(db);
    const QStringList lines = upgradeSteps(db);
    if (lines.isEmpty()) return {};
    const int version = schema::storedSchemaVersion(db);
    for (const Step& step : missingParts(db))
        for (const QString& statement : step.statements)
            db.exec(statement);
    // The history so far, summed per business day as the day ends would have.
    if (version < schema::kBillSummaryVersion) rebuildDaySummaries(db, version);
    schema::writeSchemaVersion(db);
    tx.commit();
    return lines;
}

QStringList upgradeDatabase(Database& db, const QString& backFolder, const Clock& clock) {
    refuseNewerDatabase(db);
    if (upgradeSteps(db).isEmpty()) return {};
    backupDatabase(db, backFolder, clock, BackupPurpose::BeforeUpgrade);
    try {
        return upgradeSchema(db);
    } catch (const DbError& e) {
        throw DbError(QStringLiteral("数据库升级失败，数据库未作任何改动：%1").arg(e.reason()));
    }
}

} // namespace sorrel::installation
