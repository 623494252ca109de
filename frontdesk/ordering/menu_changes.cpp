#include "frontdesk/ordering/menu_changes.h"

#include "common/db/errors.h"
#include "common/db/insert_statement.h"
#include "common/db/transaction.h"
#include "common/typed_input.h"
#include "frontdesk/ordering/order_menu.h"

namespace sorrel::ordering {

double typedPrice(const QString& text) {
    return parseTypedNumber(QStringLiteral("0") + text.trimmed());
}

void adjustPrice(Database& db, const QString& itemCode, double price, int billNumber) {
    Transaction tx(db);
    db.exec(QStringLiteral("UPDATE itemlist SET item_unit_pric = ? WHERE item_code = ?"), {price, itemCode});
    db.exec(QStringLiteral("UPDATE TableConsListTemp SET item_unit_pric = ? WHERE tabl_gues_auto_recn = ? "
                           "AND item_code = ? AND COALESCE(grou_code, '') = ''"),
            {price, billNumber, itemCode});
    tx.commit();
}

QString newItemRefusal(Database& db, const NewItem& item) {
    for (const QString& field : {item.code, item.name, item.unit, item.price, item.shortCode.trimmed()})
        if (field.isEmpty()) return kNewItemFieldsEmptyMessage;
    const QVariant inClass =
        db.scalar(QStringLiteral("SELECT count(*) FROM itemlist WHERE clas_code = ? AND item_code = ?"),
                  {item.classCode, item.code});
    return inClass.toInt() > 0 ? kNewItemCodeInClassMessage : QString();
}

QString addNewItem(Database& db, const NewItem& item) {
    const auto codeUsed = [&db, &item] {
        return !db.query(QStringLiteral("SELECT item_code FROM itemlist WHERE item_code = ?"), {item.code})
                    .isEmpty();
    };
    if (codeUsed()) return kNewItemCodeElsewhereMessage;
    try {
        db.exec(insertStatement(QStringLiteral("itemlist"),
                                {"clas_code", "item_code", "item_name", "item_unit", "item_unit_pric",
                                 "item_dedu_pric", "item_cost_pric", "item_shor", "item_real", "item_limi",
                                 "item_type_code", "item_coun"}),
                {item.classCode, item.code, item.name, item.unit, typedPrice(item.price), 0.0, 0.0,
                 item.shortCode.trimmed(), 1, kUnlimited, kSingleItem, 0.0});
    } catch (const DbError&) {
        // Another workstation added the code a moment ago: the unique code refused this one.
        if (codeUsed()) return kNewItemCodeElsewhereMessage;
        throw;
    }
    return {};
}

} // namespace sorrel::ordering
