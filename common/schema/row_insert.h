// Writing fixed rows (presets, the demo venue): one INSERT per row with bound values, the
// column list spelled once per table.
#pragma once

#include "common/db/database.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

namespace sorrel::schema {

// Inserts every row of `rows` (values in the order of `columns`) into `table`. A row with a
// different number of values than columns is a programming error and throws DbError.
void insertRows(Database& db, const QString& table, const QStringList& columns,
                const QList<QVariantList>& rows);

} // namespace sorrel::schema
