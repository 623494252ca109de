#include "common/schema/row_insert.h"

#include "common/db/errors.h"

namespace sorrel::schema {

void insertRows(Database& db, const QString& table, const QStringList& columns,
                const QList<QVariantList>& rows) {
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
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
