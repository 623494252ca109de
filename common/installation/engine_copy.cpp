#include "common/installation/engine_copy.h"

#include "common/db/dialect.h"
#include "common/db/errors.h"
#include "common/db/row_batch.h"
#include "common/db/table_pages.h"
#include "common/db/transaction.h"
#include "common/schema/schema.h"
#include "common/schema/schema_version.h"

#include <cmath>

namespace sorrel {

namespace {

using schema::ColumnType;
using schema::Table;

// Half a fen: sums of the same amounts added in another order differ by far less (on a long
// history, by a few parts in 10^13 of the sum at most).
bool sameMoney(double a, double b) {
    return std::fabs(a - b) <= qMax(0.005, std::fabs(a) * 1e-12);
}

QString moneySum(const Table& table) {
    QStringList parts;
    for (const schema::Column& c : table.columns)
        if (c.type == ColumnType::Float || c.type == ColumnType::Decimal)
            parts << QStringLiteral("COALESCE(sum(%1), 0)").arg(c.name);
    return parts.isEmpty() ? QStringLiteral("0") : parts.join(QStringLiteral(" + "));
}

const schema::Column* autoNumberOf(const Table& table) {
    for (const schema::Column& c : table.columns)
        if (c.type == ColumnType::AutoNumber) return &c;
    return nullptr;
}

// Every table with every column. Only an older database (before its upgrade) may lack tables a
// later release added; they are made empty on the target.
void requireTables(Database& db) {
    const bool older = schema::storedSchemaVersion(db) < schema::kSchemaVersion;
    for (const Table& t : schema::tables()) {
        const QStringList present = db.columnsOf(t.name);
        if (present.isEmpty() && older) continue;
        for (const QString& column : t.columnNames())
            if (!present.contains(column.toLower()))
                throw DbError(QStringLiteral("源数据库 %1 缺少 %2.%3，不是完整的数据库")
                                  .arg(db.location(), t.name, column));
    }
}

void requireNoTables(Database& db) {
    for (const Table& t : schema::tables())
        if (!db.columnsOf(t.name).isEmpty())
            throw DbError(QStringLiteral("目标数据库 %1 已有数据表（%2），不会覆盖，复制已取消")
                              .arg(db.location(), t.name));
}

// Writes each page of the source table in statements of many rows.
void copyTable(Database& from, Database& to, const Table& table, qlonglong& done, qlonglong total,
               const CopyProgress& progress) {
    const QStringList names = table.columnNames();
    const int width = int(names.size());
    RowBatch batch(to, table.name, names);
    forEachPage(from, table.name, names, [&](const RecordSet& page) {
        for (int r = 0; r < page.rowCount(); ++r) {
            QVariantList row;
            row.reserve(width);
            for (int c = 1; c <= width; ++c)
                row << page.value(r, c);
            batch.add(row);
        }
        batch.flush();
        done += page.rowCount();
        if (progress) progress(done, total, table.name);
    });
}

void copyRows(Database& from, Database& to, const QStringList& keep, qlonglong total, const CopyProgress& progress) {
    qlonglong done = 0;
    if (progress) progress(0, total, QString());
    for (const Table& t : schema::tables()) {
        if (keep.contains(t.name) || from.columnsOf(t.name).isEmpty()) continue;
        copyTable(from, to, t, done, total, progress);
        if (const schema::Column* key = autoNumberOf(t))
            dialect::continueAutoNumberAfter(
                to, t.name, key->name,
                to.scalar(QStringLiteral("SELECT COALESCE(max(%1), 0) FROM %2").arg(key->name, t.name))
                    .toLongLong());
    }
}

} // namespace

QStringList tallyMismatches(const QList<TableTally>& source, const QList<TableTally>& copied) {
    QStringList mismatches;
    for (int i = 0; i < source.size() && i < copied.size(); ++i)
        if (copied[i].rows != source[i].rows || !sameMoney(copied[i].money, source[i].money))
            mismatches << QStringLiteral("%1：源 %2 行 金额 %3，目标 %4 行 金额 %5")
                              .arg(source[i].table)
                              .arg(source[i].rows)
                              .arg(source[i].money, 0, 'f', 2)
                              .arg(copied[i].rows)
                              .arg(copied[i].money, 0, 'f', 2);
    if (source.size() != copied.size()) mismatches << QStringLiteral("数据表数目不同");
    return mismatches;
}

void replaceInstallationRows(Database& from, Database& to, const QStringList& keep, const CopyProgress& progress) {
    requireTables(from);
    QList<TableTally> source = tallyInstallation(from);
    qlonglong total = 0;
    for (const TableTally& t : source)
        total += t.rows;
    for (const Table& t : schema::tables())
        if (!keep.contains(t.name)) to.exec(QStringLiteral("DELETE FROM %1").arg(t.name));
    copyRows(from, to, keep, total, progress);
    QList<TableTally> copied = tallyInstallation(to);
    for (int i = 0; i < source.size(); ++i)
        if (keep.contains(source[i].table)) copied[i] = source[i];
    const QStringList mismatches = tallyMismatches(source, copied);
    if (!mismatches.isEmpty())
        throw DbError(QStringLiteral("复制后核对不符：\n") + mismatches.join(QLatin1Char('\n')));
}

QList<TableTally> tallyInstallation(Database& db) {
    QList<TableTally> tallies;
    for (const Table& t : schema::tables()) {
        if (db.columnsOf(t.name).isEmpty()) {
            tallies.append({t.name, 0, 0});
            continue;
        }
        const RecordSet row =
            db.query(QStringLiteral("SELECT count(*), %1 FROM %2").arg(moneySum(t), t.name));
        tallies.append({t.name, row.value(0, 0).toLongLong(), row.value(0, 1).toDouble()});
    }
    return tallies;
}

QList<TableTally> copyInstallation(Database& from, Database& to, const CopyProgress& progress) {
    requireTables(from);
    requireNoTables(to);

    // One snapshot of the source, whatever other workstations commit meanwhile.
    Transaction reading(from, Transaction::ReadingOnly{});
    const QList<TableTally> source = tallyInstallation(from);
    qlonglong total = 0;
    for (const TableTally& t : source)
        total += t.rows;

    // The tables are made in the same transaction as their rows: a copy cut short leaves none.
    Transaction writing(to);
    for (const QString& statement : schema::createStatements(to.engine()))
        to.exec(statement);
    copyRows(from, to, {}, total, progress);
    const QList<TableTally> copied = tallyInstallation(to);
    const QStringList mismatches = tallyMismatches(source, copied);
    if (!mismatches.isEmpty())
        throw DbError(QStringLiteral("复制后核对不符，目标数据库未作任何改动：\n") +
                      mismatches.join(QLatin1Char('\n')));
    writing.commit();
    return copied;
}

} // namespace sorrel
