// Checking a database against the schema: which tables, columns and views are missing, and
// how many rows each table holds. Used by the administrator's tool before anyone works on it.
#pragma once

#include "common/db/database.h"

#include <QList>
#include <QPair>
#include <QStringList>

namespace sorrel::schema {

struct CheckReport {
    QStringList missingTables;
    QStringList missingColumns;                 // "table.column", for tables that exist
    QStringList missingViews;                   // a view that is missing, or lacks a column ("view.column")
    QList<QPair<QString, qlonglong>> rowCounts; // every table that exists, in creation order

    bool complete() const {
        return missingTables.isEmpty() && missingColumns.isEmpty() && missingViews.isEmpty();
    }
};

// Reads only; throws DbError when the database cannot be read at all.
CheckReport checkSchema(Database& db);

} // namespace sorrel::schema
