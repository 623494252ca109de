// Moving a whole installation between engines (the file to a server when a venue adds
// workstations, or back): every row of every table, checked afterwards by counts and money sums.
#pragma once

#include "common/db/database.h"

#include <QList>
#include <functional>

namespace sorrel {

// One table's row count and the sum of all its money and decimal columns.
struct TableTally {
    QString table;
    qlonglong rows = 0;
    double money = 0;
};

// A table the database lacks (an older database) counts as empty.
QList<TableTally> tallyInstallation(Database& db);
// The tables whose rows or money differ between two tallies of the same installation, one line
// each; empty when they agree.
QStringList tallyMismatches(const QList<TableTally>& source, const QList<TableTally>& copied);

// Told after every batch of rows: how many of all rows are copied, and the table at hand.
using CopyProgress = std::function<void(qlonglong rowsDone, qlonglong rowsTotal, const QString& table)>;

// Makes every table and view on `to`, which must hold none of them yet, and copies every row of
// every table from `from` into it, all in one transaction on `to`; autonumber counters on `to`
// continue after the highest copied number. Before committing, the row count and money sum of
// every table on `to` are compared with `from`. Throws DbError (and `to` is left as it was) when
// the source is incomplete, the target already holds tables, a row cannot be written, or a table
// does not match. Answers the tallies.
QList<TableTally> copyInstallation(Database& from, Database& to, const CopyProgress& progress = {});

// Inside the caller's transaction on `to`, which has every table: the rows of every table but
// those in `keep` are replaced by the rows of `from`, autonumbers continue after them, and the
// tallies are compared. Throws DbError when a row cannot be written or a table does not match.
void replaceInstallationRows(Database& from, Database& to, const QStringList& keep,
                             const CopyProgress& progress = {});

} // namespace sorrel
