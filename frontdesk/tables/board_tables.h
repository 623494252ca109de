// The tables as the board shows them: every table with its state, names and the copies of its
// current guest's name, party, opening time and amount, read in one statement; the departments
// and table types; and the four orders the board can list them in.
#pragma once

#include "common/db/database.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace sorrel::tables {

struct BoardTable {
    QString code;
    QString name;
    QString narr;
    QString typeCode;
    QString typeName;
    QString deptCode;
    QString deptName;
    QString state;
    QString stateName;
    int guestNumber = 0; // the bill now at the table; 0 when none
    QString guestName;
    int guestCount = 0;
    QDateTime guestTime;
    double guestAmount = 0;

    bool operator==(const BoardTable&) const = default;
};

struct Department {
    QString code;
    QString name;
};

struct TableType {
    QString code;
    QString name;
    QString narr;
};

// The orders of "台号排序"; the button's caption names the order in force.
enum class BoardSort { ByCode, ByName, ByState, ByOpening };
QString sortCaption(BoardSort sort);
BoardSort nextSort(BoardSort sort);
// Puts tables in `sort` order. The orders are compared here rather than by the engine, so that
// names and codes sort the same on the file and on the server whatever its collation, and
// tables never opened come last in the order by opening time on both.
void sortTables(QList<BoardTable>& tables, BoardSort sort);

// Every table, in `sort` order: one statement, however many tables the venue has.
QList<BoardTable> loadBoardTables(Database& db, BoardSort sort);
// One table as the database holds it now; nothing when there is no such table.
std::optional<BoardTable> loadBoardTable(Database& db, const QString& code);
// The same, with the `extra` select expressions (over the table row "t", their "?" bound to
// `extraParams`) read in the same statement: the row read, whose further columns are theirs.
std::optional<std::pair<BoardTable, RecordSet>> loadBoardTableWith(Database& db, const QString& code,
                                                                   const QStringList& extra,
                                                                   const QVariantList& extraParams);

// "禁用": a free table is disabled; "启用": a disabled table is free again. Each acts only on a
// table that is in that state now, and refuses (StepRefused) when another workstation changed it.
void disableTable(Database& db, const QString& code);
void enableTable(Database& db, const QString& code);

struct BoardMasterData {
    QList<Department> departments; // by code
    QList<TableType> types;        // by code
};
BoardMasterData loadBoardMasterData(Database& db);

// How a table's opening time shows on the board: month, day, hours and minutes.
QString boardTime(const QDateTime& time);

} // namespace sorrel::tables
