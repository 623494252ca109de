// Checking a venue's database: whether every table, column and view of the system is there
// (quickly, before a program works on it), and for the administrator whether everything stored
// can be read back: the engine's own check of the file, and every row of every table read.
#pragma once

#include "common/db/database.h"

#include <QList>
#include <QPair>
#include <QStringList>

namespace sorrel::installation {

struct SchemaReport {
    QStringList missingTables;
    QStringList missingColumns; // "table.column", for tables that exist
    QStringList missingViews;   // a view that is missing, or lacks a column ("view.column")
    QStringList missingIndexes; // "table(column, …)", for tables that exist
    int version = 0;            // the schema version the database records

    bool complete() const {
        return missingTables.isEmpty() && missingColumns.isEmpty() && missingViews.isEmpty() &&
               missingIndexes.isEmpty();
    }
    // Made by an earlier release: what it lacks, an upgrade makes.
    bool older() const;
    // Not one of the system's tables is there: a database no venue ever worked on.
    bool bare() const;
};

// Reads only the engine's description of the tables; throws DbError when even that fails.
SchemaReport checkSchema(Database& db);

struct CheckReport {
    SchemaReport schema;
    QStringList damage;                         // what is broken, each naming the page or table
    QList<QPair<QString, qlonglong>> rowCounts; // every table read to its last row, in creation order
    // Rows that belong to a bill which has ended: payments of a bill no table holds any more, and
    // staged lines of a bill that is no longer open. Nothing is broken by them, but they keep a
    // payment method "in use"; each names its table and bills.
    QStringList leftovers;

    bool complete() const { return schema.complete() && damage.isEmpty(); }
};

// Reads everything and writes nothing: on the file the engine's integrity check over every page,
// then on both engines every row of every table, so that no damaged page escapes behind an
// index. Throws DbError when the database cannot be read at all.
CheckReport checkDatabase(Database& db);

} // namespace sorrel::installation
