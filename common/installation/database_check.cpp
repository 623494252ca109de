#include "common/installation/database_check.h"

#include "common/db/errors.h"
#include "common/db/table_pages.h"
#include "common/schema/schema.h"

namespace sorrel::installation {

namespace {

// Findings of the file's own check shown at most; a badly damaged file has hundreds.
constexpr int kEngineFindings = 20;

QStringList engineDamage(Database& db) {
    if (db.engine() != Engine::Embedded) return {};
    QStringList damage;
    try {
        const RecordSet found = db.query(QStringLiteral("PRAGMA integrity_check(%1)").arg(kEngineFindings));
        for (int r = 0; r < found.rowCount(); ++r)
            for (const QString& finding : found.value(r, 0).toString().split(QLatin1Char('\n')))
                if (finding != QLatin1String("ok") && !finding.startsWith(QLatin1String("***")))
                    damage << QStringLiteral("数据库文件损坏：%1").arg(finding);
    } catch (const DbError& e) {
        damage << QStringLiteral("数据库文件损坏，完整性检查无法完成：%1").arg(e.reason());
    }
    return damage;
}

} // namespace

bool SchemaReport::bare() const {
    return missingTables.size() == schema::tables().size();
}

SchemaReport checkSchema(Database& db) {
    SchemaReport report;
    for (const schema::Table& table : schema::tables()) {
        const QStringList present = db.columnsOf(table.name);
        if (present.isEmpty()) {
            report.missingTables << table.name;
            continue;
        }
        for (const schema::Column& column : table.columns)
            if (!present.contains(column.name.toLower()))
                report.missingColumns << table.name + QLatin1Char('.') + column.name;
    }
    for (const schema::View& view : schema::views()) {
        QStringList present;
        try {
            present = db.columnsOf(view.name);
        } catch (const DbError& e) {
            // A view over a table that changed under it cannot even be described.
            report.missingViews << QStringLiteral("%1 (%2)").arg(view.name, e.reason());
            continue;
        }
        if (present.isEmpty()) {
            report.missingViews << view.name;
            continue;
        }
        for (const QString& column : view.columns)
            if (!present.contains(column.toLower()))
                report.missingViews << view.name + QLatin1Char('.') + column;
    }
    return report;
}

CheckReport checkDatabase(Database& db) {
    CheckReport report;
    report.schema = checkSchema(db);
    report.damage = engineDamage(db);
    for (const schema::Table& table : schema::tables()) {
        if (report.schema.missingTables.contains(table.name)) continue;
        const QStringList present = db.columnsOf(table.name);
        QStringList columns;
        for (const QString& name : table.columnNames())
            if (present.contains(name.toLower())) columns << name;
        if (columns.isEmpty()) continue;
        qlonglong rows = 0;
        try {
            forEachPage(db, table.name, columns, [&](const RecordSet& page) { rows += page.rowCount(); });
        } catch (const DbError& e) {
            report.damage << QStringLiteral("表 %1 无法读取：%2").arg(table.name, e.reason());
            continue;
        }
        report.rowCounts.append({table.name, rows});
    }
    return report;
}

} // namespace sorrel::installation
