// The schema as data: every table, column, key and index of the system described once, from
// which the DDL of each engine is generated, so the two engines can never drift apart.
#pragma once

#include "common/db/database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace sorrel::schema {

enum class ColumnType {
    Text,       // text(n): n characters at most (0 = free text)
    SmallInt,   // 16-bit
    Integer,    // 32-bit
    AutoNumber, // assigned by the database on insert; the table's primary key
    Float,      // double precision: money and prices
    Decimal,    // decimal(p,2): quantities and some amounts
    YesNo,      // 0/1, never NULL
    DateTime,   // canonical "yyyy-MM-dd HH:mm:ss"
};

struct Column {
    QString name;
    ColumnType type = ColumnType::Text;
    int size = 0;          // text length, or decimal precision
    QVariant defaultValue; // null: no default
};

struct Index {
    QStringList columns;
    bool unique = false;
};

struct Table {
    QString name;
    QList<Column> columns;
    QList<Index> indexes;

    const Column* column(const QString& name) const;
    QStringList columnNames() const;
};

struct View {
    QString name;
    std::function<QString(Engine)> select; // the SELECT behind the view, per engine
    QStringList columns;                   // the columns the programs read, in order
};

// Column builders, so a table reads like its record description.
Column text(const QString& name, int size = 0, const QVariant& defaultValue = {});
Column smallint(const QString& name, const QVariant& defaultValue = 0);
Column integer(const QString& name, const QVariant& defaultValue = 0);
Column autonumber(const QString& name);
Column money(const QString& name, const QVariant& defaultValue = 0.0); // float
Column decimal(const QString& name, int precision, const QVariant& defaultValue = 0.0);
Column yesNo(const QString& name, bool defaultValue = false);
Column dateTime(const QString& name);
Index uniqueKey(const QStringList& columns);
Index index(const QStringList& columns);

// Every table of the system, in creation order, and the two stored queries.
const QList<Table>& tables();
const QList<View>& views();
// Case-insensitive; nullptr when the system has no such table.
const Table* findTable(const QString& name);

// The name of a table's index: its kind, table and columns, lower case; a name longer than
// PostgreSQL keeps (63 characters) is cut and ends in a digest of the whole, so it stays unique.
QString indexName(const Table& table, const Index& index);
// The statement of each part, as a new database and an upgrade make it.
QString createTableStatement(Engine engine, const Table& table);
QString createIndexStatement(const Table& table, const Index& ix);
QString addColumnStatement(Engine engine, const Table& table, const Column& column);
QString createViewStatement(Engine engine, const View& view);

// The statements that create every table, index and view on an engine.
QStringList createStatements(Engine engine);
// Runs them in one transaction.
void createSchema(Database& db);

// The column type as an engine spells it in DDL (without default or constraint).
QString sqlType(Engine engine, const Column& column);

} // namespace sorrel::schema
