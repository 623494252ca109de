#include "frontdesk/ordering/order_menu.h"

#include "common/settings_row.h"

namespace sorrel::ordering {

namespace {

const QString kItemSelect = QStringLiteral(
    "SELECT i.item_code, i.item_name, i.item_unit, i.item_shor, i.clas_code, c.kind_code, i.item_type_code, "
    "i.item_limi, i.item_real, i.item_unit_pric, i.item_cost_pric, i.item_dedu_pric, i.item_coun "
    "FROM itemlist i LEFT JOIN classlist c ON c.clas_code = i.clas_code "
    "WHERE i.item_type_code <> '4'");

OrderItem itemAt(const RecordSet& rs, int row) {
    OrderItem item;
    item.code = rs.text(row, "item_code");
    item.name = rs.text(row, "item_name");
    item.unit = rs.text(row, "item_unit");
    item.shortCode = rs.text(row, "item_shor");
    item.classCode = rs.text(row, "clas_code");
    item.kindCode = rs.text(row, "kind_code");
    item.type = rs.text(row, "item_type_code");
    item.limit = rs.text(row, "item_limi");
    item.realPrice = rs.flag(row, "item_real");
    item.price = rs.number(row, "item_unit_pric");
    item.cost = rs.number(row, "item_cost_pric");
    item.commission = rs.number(row, "item_dedu_pric");
    item.stock = rs.number(row, "item_coun");
    return item;
}

QList<MenuEntry> entries(const RecordSet& rs) {
    QList<MenuEntry> list;
    for (int i = 0; i < rs.rowCount(); ++i)
        list.append({rs.value(i, 0).toString(), rs.value(i, 1).toString()});
    return list;
}

} // namespace

QList<OrderItem> loadOrderItems(Database& db, const QString& classCode) {
    const RecordSet rs =
        classCode.isNull()
            ? db.query(kItemSelect + QStringLiteral(" ORDER BY i.item_code"))
            : db.query(kItemSelect + QStringLiteral(" AND i.clas_code = ? ORDER BY i.item_code"),
                       {classCode});
    QList<OrderItem> items;
    for (int i = 0; i < rs.rowCount(); ++i)
        items.append(itemAt(rs, i));
    return items;
}

std::optional<OrderItem> loadOrderItem(Database& db, const QString& code) {
    const RecordSet rs = db.query(kItemSelect + QStringLiteral(" AND i.item_code = ?"), {code});
    if (rs.isEmpty()) return std::nullopt;
    return itemAt(rs, 0);
}

bool itemMatches(const OrderItem& item, const QString& typed) {
    const QString t = typed.trimmed();
    return t.isEmpty() || item.code.startsWith(t, Qt::CaseInsensitive) ||
           item.shortCode.startsWith(t, Qt::CaseInsensitive);
}

QList<OrderItem> matchingItems(const QList<OrderItem>& items, const QString& typed) {
    if (typed.trimmed().isEmpty()) return items;
    QList<OrderItem> found;
    for (const OrderItem& item : items)
        if (itemMatches(item, typed)) found.append(item);
    return found;
}

QList<MenuEntry> loadKinds(Database& db) {
    return entries(db.query(QStringLiteral(
        "SELECT kind_code, kind_name FROM kindlist WHERE kind_code <> 'M' ORDER BY kind_code")));
}

QList<MenuEntry> loadClasses(Database& db, const QString& kindCode) {
    return entries(db.query(
        QStringLiteral("SELECT clas_code, clas_name FROM classlist WHERE kind_code = ? ORDER BY clas_code"),
        {kindCode}));
}

QList<MenuEntry> loadNotes(Database& db) {
    return entries(db.query(
        QStringLiteral("SELECT cons_narr_code, cons_narr_name FROM ConsNarrList ORDER BY cons_narr_code")));
}

QList<MenuEntry> loadOrderKindNames(Database& db) {
    return entries(db.query(
        QStringLiteral("SELECT menu_type_code, menu_type_name FROM OrderMenuType ORDER BY menu_type_code")));
}

QList<MenuEntry> loadOutputPoints(Database& db) {
    return entries(
        db.query(QStringLiteral("SELECT manu_code, manu_name FROM ManuFacturelist ORDER BY manu_code")));
}

int stockWarningLimit(Database& db) {
    return readSettingsRow(db, QStringLiteral("pay_set_stor_limi")).value(0, 0).toInt();
}

} // namespace sorrel::ordering
