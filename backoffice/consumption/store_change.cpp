#include "backoffice/consumption/store_change.h"

#include "common/db/errors.h"
#include "common/made_items_stock.h"

namespace sorrel::consumption {

namespace {

// Parents only: a single item or an ingredient keeps its own rule and stock whatever rows name
// it. Components that are parents themselves are skipped: their own rule is being derived in the
// same pass; what they hold reaches a set meal through its derived rows.
QString parentWithComponentFlagged(const char* flag) {
    return QStringLiteral("item_type_code IN ('2', '3') AND EXISTS (SELECT 1 FROM ItemGroup g, itemlist c "
                          "WHERE g.grou_code = itemlist.item_code AND c.item_code = g.item_code "
                          "AND c.item_type_code NOT IN ('2', '3') AND c.item_limi = '%1')")
        .arg(QString::fromUtf8(flag));
}

} // namespace

void storeChangeSteps(Database& db) {
    if (!db.inTransaction())
        throw DbError(QStringLiteral("StoreChange runs inside its caller's transaction"));
    db.exec(QStringLiteral(
        "UPDATE itemlist SET item_limi = '不限', item_coun = 0 WHERE item_type_code IN ('2', '3')"));
    db.exec(QStringLiteral("UPDATE itemlist SET item_limi = '有限' WHERE ") +
            parentWithComponentFlagged("有限"));
    db.exec(QStringLiteral("UPDATE itemlist SET item_limi = '禁用', item_coun = 0 WHERE ") +
            parentWithComponentFlagged("禁用"));
    db.exec(kRefreshMadeItemsStock);
}

} // namespace sorrel::consumption
