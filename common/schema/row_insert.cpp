#include "common/schema/row_insert.h"

#include "common/db/errors.h"
#include "common/db/insert_statement.h"

namespace sorrel::schema {

void insertRows(Database& db, const QString& table, const QStringList& columns,
                const QList<QVariantList>& rows) {
    const QString sql = insertStatement(table, columns);
    for (const QVariantList& row : rows) {
        if (row.size() != columns.size())
            throw DbError(QStringLiteral("%1: %2 values for %3 columns")
                              .arg(table)
                              .arg(row.size())
                              .arg(columns.size()));
        db.exec(sql, row);
    }
}

} // namespace sorrel::schema
