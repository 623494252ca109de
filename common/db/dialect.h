// The few spots where the two engines spell SQL differently. Everything else is written in the
// portable subset both understand; these helpers are the only place an engine function appears.
#pragma once

#include "common/db/database.h"

namespace sorrel::dialect {

// The time of day of a date-time expression as text "HH:mm:ss", comparable as text.
QString timeOfDay(Engine engine, const QString& expr);
// A numeric expression cut to a whole number toward zero (no rounding on either engine).
QString truncToInteger(Engine engine, const QString& expr);
// Where each row of a table is stored, as an expression a SELECT can order by and compare with a
// bound value ("rowid" on the file, "ctid" on the server), and a value below every row's. Reading
// a table page by page in this order visits every row once, whatever keys the table has.
struct RowPlace {
    QString expression;
    QVariant beforeFirst;
};
RowPlace rowPlace(Engine engine);
// Sets a table's autonumber counter so that the next row gets `highest` + 1 (or 1 when 0):
// after rows were written with their numbers given, as when moving an installation.
void continueAutoNumberAfter(Database& db, const QString& table, const QString& column, qlonglong highest);

} // namespace sorrel::dialect
