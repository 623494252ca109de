#include "common/db/table_pages.h"

#include "common/db/dialect.h"

namespace sorrel {

namespace {
// Rows read at a time.
constexpr int kPageRows = 2000;
} // namespace

void forEachPage(Database& db, const QString& table, const QStringList& columns,
                 const std::function<void(const RecordSet& page)>& visit) {
    const dialect::RowPlace place = dialect::rowPlace(db.engine());
    const QString pageSql = QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1 > ? ORDER BY %1 LIMIT ?")
                                .arg(place.expression, columns.join(QStringLiteral(", ")), table);
    QVariant after = place.beforeFirst;
    for (;;) {
        const RecordSet page = db.query(pageSql, {after, kPageRows});
        visit(page);
        if (page.rowCount() < kPageRows) return;
        after = page.value(page.rowCount() - 1, 0);
    }
}

} // namespace sorrel
