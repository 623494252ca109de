// Names copied into a shorter column: operators, staff and tables are named freely, but a bill,
// its lines and its payments keep copies of a fixed length. A copy is cut to its column, so a
// long name never makes a settlement fail.
#pragma once

#include <QString>

namespace sorrel::checkout {

// `text` cut to the length of `table`.`column`; as it is for a free-text column.
QString fitted(const QString& table, const QString& column, const QString& text);

// The SQL expression `expression` cut to the length of `table`.`column` (substr on both engines).
QString fittedSql(const QString& table, const QString& column, const QString& expression);

} // namespace sorrel::checkout
