#include "common/db/insert_statement.h"

namespace sorrel {

QString insertStatement(const QString& table, const QStringList& columns, int rows) {
    const QString oneRow = QLatin1Char('(') +
                           QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")) +
                           QLatin1Char(')');
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(table, columns.join(QStringLiteral(", ")), QStringList(rows, oneRow).join(QStringLiteral(", ")));
}

} // namespace sorrel
