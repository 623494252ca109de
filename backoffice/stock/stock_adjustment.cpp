#include "backoffice/stock/stock_adjustment.h"

#include "backoffice/stock/stock_lists.h"
#include "common/db/row_batch.h"
#include "common/db/transaction.h"
#include "common/made_items_stock.h"
#include "common/typed_input.h"

namespace sorrel::stock {

namespace {

const QStringList kRowColumns{"item_code",      "item_name", "item_unit", "item_unit_pric",
                              "item_cost_pric", "item_coun", "item_limi", "item_type_code"};

} // namespace

StockAdjustment::StockAdjustment(Database& db, QObject* parent)
    : QObject(parent), db_(db), rows_(kRowColumns, {}) {}

void StockAdjustment::start() {
    rows_ = RecordSet(kRowColumns, {});
    current_ = -1;
    candidates_ =
        db_.query(QStringLiteral("SELECT item_code, item_name, item_unit, item_coun, item_shor FROM "
                                 "itemlist WHERE item_type_code <> '3' AND item_type_code <> '2' AND "
                                 "item_limi <> ? AND item_limi <> ? ORDER BY item_code"),
                  {kDisabled, kUnlimited});
}

void StockAdjustment::setCurrent(int row) {
    current_ = row >= 0 && row < rows_.rowCount() ? row : -1;
}

bool StockAdjustment::pick(const QString& itemCode) {
    const int there = rows_.locate({{QStringLiteral("item_code"), itemCode}});
    if (there >= 0) {
        current_ = there;
        emit rowsChanged();
        return false;
    }
    const RecordSet item =
        db_.query(QStringLiteral("SELECT item_code, item_name, item_unit, item_unit_pric, item_cost_pric, "
                                 "item_limi, item_type_code FROM itemlist WHERE item_code = ?"),
                  {itemCode});
    if (item.isEmpty()) return false;
    rows_.appendRow({item.value(0, "item_code"), item.value(0, "item_name"), item.value(0, "item_unit"),
                     item.value(0, "item_unit_pric"), item.value(0, "item_cost_pric"), 1.0,
                     item.value(0, "item_limi"), item.value(0, "item_type_code")});
    current_ = rows_.rowCount() - 1;
    emit rowsChanged();
    return true;
}

void StockAdjustment::enterChange(const QString& typed) {
    if (current_ < 0) return;
    const QString text = typed.trimmed();
    // "-" on its own is a change being typed, not yet a number.
    const double change =
        text.isEmpty() || text == QLatin1String("-") ? 0.0 : parseTypedNumber(text, kAmountRange);
    rows_.setValue(current_, QStringLiteral("item_coun"), change);
}

void StockAdjustment::removeCurrent() {
    if (current_ < 0) return;
    rows_.removeRow(current_);
    setCurrent(qMin(current_, rows_.rowCount() - 1));
    emit rowsChanged();
}

bool StockAdjustment::commit() {
    if (rows_.isEmpty()) return false;
    runCoded(db_, kAdjustmentCode, [&] {
        db_.exec(QStringLiteral("DELETE FROM ItemListTemp"));
        RowBatch batch(db_, QStringLiteral("ItemListTemp"), kRowColumns);
        for (int i = 0; i < rows_.rowCount(); ++i) {
            QVariantList values;
            for (const QString& column : kRowColumns)
                values << rows_.value(i, column);
            batch.add(values);
        }
        batch.flush();
        db_.exec(QStringLiteral(
            "UPDATE itemlist SET item_coun = item_coun + (SELECT t.item_coun FROM ItemListTemp t "
            "WHERE t.item_code = itemlist.item_code) WHERE EXISTS (SELECT 1 FROM ItemListTemp t "
            "WHERE t.item_code = itemlist.item_code)"));
        db_.exec(kRefreshMadeItemsStock);
        db_.exec(QStringLiteral("DELETE FROM ItemListTemp"));
    });
    rows_ = RecordSet(kRowColumns, {});
    current_ = -1;
    emit rowsChanged();
    return true;
}

} // namespace sorrel::stock
