// The few spots where the two engines spell SQL differently. Everything else is written in the
// portable subset both understand; these helpers are the only place an engine function appears.
#pragma once

#include "common/db/database.h"

namespace sorrel::dialect {

// The time of day of a date-time expression as text "HH:mm:ss", comparable as text.
QString timeOfDay(Engine engine, const QString& expr);
// A numeric expression cut to a whole number toward zero (no rounding on either engine).
QString truncToInteger(Engine engine, const QString& expr);
// Where each row of a table is stored, as the SELECT of one page of a table in storage order
// sees it. On the file, rows lie by "rowid": a page is the rows after the last one read. On the
// server, rows lie in storage blocks ("ctid"): a page is the rows of a range of blocks, found
// without looking at the others (comparing ctid with a bound after the last one read would sort
// the whole rest of the table for every page). Reading page after page visits every row once,
// whatever keys the table has.
struct RowPlace {
    QString expression;   // to order a page by
    QString condition;    // a page's rows: after ? on the file; from block ? to before block ? on the server
    QVariant beforeFirst; // the file: a value below every row's
};
RowPlace rowPlace(Engine engine);
// The server: the number of storage blocks the table has now, and the bound of a block for
// the condition above.
qlonglong storageBlocks(Database& db, const QString& table);
QString blockBound(qlonglong block);
// Sets a table's autonumber counter so that the next row gets `highest` + 1 (or 1 when 0):
// after rows were written with their numbers given, as when moving an installation.
void continueAutoNumberAfter(Database& db, const QString& table, const QString& column, qlonglong highest);

// Whether the database holds an index of this name (names are kept in lower case).
bool indexExists(Database& db, const QString& name);

} // namespace sorrel::dialect
