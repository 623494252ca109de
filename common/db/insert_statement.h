// The one text of every INSERT with bound values: "INSERT INTO t (a, b) VALUES (?, ?)", for one
// row or for many rows in one statement.
#pragma once

#include <QString>
#include <QStringList>

namespace sorrel {

// `rows` groups of one "?" per column; the values are bound in that order, row after row.
QString insertStatement(const QString& table, const QStringList& columns, int rows = 1);

} // namespace sorrel
