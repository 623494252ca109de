#include "common/db/table_pages.h"

#include "common/db/dialect.h"

namespace sorrel {

namespace {
// Rows read at a time from the file, and storage blocks at a time from the server (8 kB each:
// a page of the widest history table holds a few thousand rows).
constexpr int kPageRows = 2000;
constexpr qlonglong kPageBlocks = 128;
} // namespace

void forEachPage(Database& db, const QString& table, const QStringList& columns,
                 const std::function<void(const RecordSet& page)>& visit) {
    const dialect::RowPlace place = dialect::rowPlace(db.engine());
    const QString select =
        QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 ORDER BY %1")
            .arg(place.expression, columns.join(QStringLiteral(", ")), table, place.condition);
    if (db.engine() == Engine::Server) {
        // Blocks the table grows by while it is read are read as well.
        for (qlonglong first = 0; first < dialect::storageBlocks(db, table); first += kPageBlocks)
            visit(db.query(select, {dialect::blockBound(first), dialect::blockBound(first + kPageBlocks)}));
        return;
    }
    const QString pageSql = select + QStringLiteral(" LIMIT ?");
    QVariant after = place.beforeFirst;
    for (;;) {
        const RecordSet page = db.query(pageSql, {after, kPageRows});
        visit(page);
        if (page.rowCount() < kPageRows) return;
        after = page.value(page.rowCount() - 1, 0);
    }
}

} // namespace sorrel
