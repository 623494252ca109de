#include "common/installation/database_check.h"

#include "common/db/dialect.h"
#include "common/db/errors.h"
#include "common/db/table_pages.h"
#include "common/schema/schema.h"
#include "common/schema/schema_version.h"

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

// The bills (at most a screenful of numbers) whose rows in `table` outlived them.
QStringList leftoverRows(Database& db, const SchemaReport& schema) {
    struct Leftover {
        const char* table;
        const char* owner; // when no guest record satisfying this holds the bill, its rows are left over
        const char* what;
    } kinds[] = {
        {"tableguespay", "1 = 1", "付款记录"},
        {"TableConsListTemp", "g.tabl_gues_use = 1", "未下单的点单"},
    };
    QStringList found;
    for (const Leftover& k : kinds) {
        const QString table = QString::fromLatin1(k.table);
        if (schema.missingTables.contains(table) ||
            schema.missingTables.contains(QStringLiteral("TableGuestlist")))
            continue;
        const RecordSet bills = db.query(
            QStringLiteral(
                "SELECT t.tabl_gues_auto_recn AS bill, COUNT(*) AS n FROM %1 t WHERE NOT EXISTS "
                "(SELECT 1 FROM TableGuestlist g WHERE g.tabl_gues_auto_recn = t.tabl_gues_auto_recn "
                "AND %2) GROUP BY t.tabl_gues_auto_recn ORDER BY t.tabl_gues_auto_recn")
                .arg(table, QString::fromLatin1(k.owner)));
        if (bills.isEmpty()) continue;
        qlonglong rows = 0;
        QStringList numbers;
        for (int i = 0; i < bills.rowCount(); ++i) {
            rows += bills.value(i, "n").toLongLong();
            if (i < 20) numbers << bills.text(i, "bill");
        }
        if (bills.rowCount() > 20) numbers << QStringLiteral("…");
        found << QStringLiteral("遗留数据：表 %1 有 %2 行%3属于已结束的帐单（帐单号 %4）")
                     .arg(table)
                     .arg(rows)
                     .arg(QString::fromUtf8(k.what), numbers.join(QStringLiteral(", ")));
    }
    return found;
}

} // namespace

bool SchemaReport::bare() const {
    return missingTables.size() == schema::tables().size();
}

bool SchemaReport::older() const {
    return version < schema::kSchemaVersion;
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
        for (const schema::Index& ix : table.indexes)
            if (!dialect::indexExists(db, schema::indexName(table, ix)))
                report.missingIndexes << QStringLiteral("%1(%2)").arg(table.name, ix.columns.join(QStringLiteral(", ")));
    }
    report.version = schema::storedSchemaVersion(db);
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
    report.leftovers = leftoverRows(db, report.schema);
    return report;
}

} // namespace sorrel::installation
