#include "common/db/dialect.h"

#include <limits>

namespace sorrel::dialect {

QString timeOfDay(Engine engine, const QString& expr) {
    if (engine == Engine::Embedded) return QStringLiteral("time(%1)").arg(expr);
    return QStringLiteral("to_char(%1, 'HH24:MI:SS')").arg(expr);
}

QString truncToInteger(Engine engine, const QString& expr) {
    if (engine == Engine::Embedded) return QStringLiteral("CAST((%1) AS INTEGER)").arg(expr);
    return QStringLiteral("CAST(trunc(%1) AS INTEGER)").arg(expr);
}

RowPlace rowPlace(Engine engine) {
    if (engine == Engine::Embedded)
        return {QStringLiteral("rowid"), QStringLiteral("rowid > ?"), std::numeric_limits<qlonglong>::min()};
    return {QStringLiteral("ctid"), QStringLiteral("ctid >= CAST(? AS tid) AND ctid < CAST(? AS tid)"), {}};
}

qlonglong storageBlocks(Database& db, const QString& table) {
    return db
        .scalar(QStringLiteral("SELECT pg_relation_size(CAST(? AS regclass)) / "
                               "CAST(current_setting('block_size') AS bigint)"),
                {table})
        .toLongLong();
}

QString blockBound(qlonglong block) {
    return QStringLiteral("(%1,0)").arg(block);
}

void continueAutoNumberAfter(Database& db, const QString& table, const QString& column, qlonglong highest) {
    if (db.engine() == Engine::Embedded) {
        // The file keeps each table's counter in sqlite_sequence; it never goes backwards.
        db.exec(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE lower(name) = lower(?) AND seq < ?"),
                {highest, table, highest});
        return;
    }
    // The identity's sequence; its column name is matched as written, hence lower case.
    if (highest > 0)
        db.query(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), ?)"),
                 {table, column.toLower(), highest});
    else
        db.query(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), 1, false)"),
                 {table, column.toLower()});
}

bool indexExists(Database& db, const QString& name) {
    if (db.engine() == Engine::Embedded)
        return !db.query(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND lower(name) = lower(?)"),
                         {name})
                    .isEmpty();
    return !db.query(QStringLiteral("SELECT 1 FROM pg_indexes WHERE schemaname = current_schema() AND "
                                    "indexname = lower(?)"),
                     {name})
                .isEmpty();
}

} // namespace sorrel::dialect
