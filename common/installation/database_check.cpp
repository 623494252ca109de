#include "common/schema/schema_check.h"

#include "common/db/errors.h"
#include "common/schema/schema.h"

namespace sorrel::schema {

CheckReport checkSchema(Database& db) {
    CheckReport report;
    for (const Table& table : tables()) {
        const QStringList present = db.columnsOf(table.name);
        if (present.isEmpty()) {
            report.missingTables << table.name;
            continue;
        }
        for (const Column& column : table.columns)
            if (!present.contains(column.name.toLower()))
                report.missingColumns << table.name + QLatin1Char('.') + column.name;
        // The name comes from the schema description, never from the user.
        const qlonglong rows =
            db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table.name)).toLongLong();
        report.rowCounts.append({table.name, rows});
    }
    for (const View& view : views()) {
        QStringList present;
        try {
            present = db.columnsOf(view.name);
        } catch (const DbError& e) {
            // A view over a table that changed under it cannot even be described.
            report.missingViews << QStringLiteral("%1 (%2)").arg(view.name, e.text());
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

} // namespace sorrel::schema
