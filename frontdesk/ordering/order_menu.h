// The menu as the ordering screen offers it: every item but the ingredients, by code, with the
// kind of its class; the kinds and classes of the list choice; the search by code or short code;
// and the stock warning limit the checks compare with.
#pragma once

#include "common/db/database.h"

#include <QList>
#include <QString>
#include <optional>

namespace sorrel::ordering {

// item_limi
inline const QString kLimited = QStringLiteral("有限");
inline const QString kUnlimited = QStringLiteral("不限");
inline const QString kDisabled = QStringLiteral("禁用");

// item_type_code
inline const QString kSingleItem = QStringLiteral("1");
inline const QString kSetMeal = QStringLiteral("2");
inline const QString kComposite = QStringLiteral("3");

struct OrderItem {
    QString code;
    QString name;
    QString unit;
    QString shortCode;
    QString classCode;
    QString kindCode;
    QString type;
    QString limit;          // item_limi
    bool realPrice = false; // 时价: the price may be typed when ordering
    double price = 0;
    double cost = 0;
    double commission = 0;
    double stock = 0;

    bool disabled() const { return limit == kDisabled; }
    bool unlimited() const { return limit == kUnlimited; }
    bool limited() const { return limit == kLimited; }
};

// Every item that can be ordered (all types but the ingredients), ordered by code; with
// `classCode`, only that class's items.
QList<OrderItem> loadOrderItems(Database& db, const QString& classCode = {});
// The item as the database holds it now; none when it is gone or an ingredient.
std::optional<OrderItem> loadOrderItem(Database& db, const QString& code);

// An item is found by a text its code or short code starts with (trimmed); every item by an
// empty text.
bool itemMatches(const OrderItem& item, const QString& typed);
// The items `itemMatches` finds, in their order.
QList<OrderItem> matchingItems(const QList<OrderItem>& items, const QString& typed);

struct MenuEntry {
    QString code;
    QString name;
};
// The kinds the front desk shows (never the ingredients' kind "M"), and one kind's classes.
QList<MenuEntry> loadKinds(Database& db);
QList<MenuEntry> loadClasses(Database& db, const QString& kindCode);
// The notes a line can carry (ConsNarrList), the names of the order kinds (OrderMenuType) and the
// output points (ManuFacturelist), by code.
QList<MenuEntry> loadNotes(Database& db);
QList<MenuEntry> loadOrderKindNames(Database& db);
QList<MenuEntry> loadOutputPoints(Database& db);

// pay_set_stor_limi: the stock at or below which ordering warns.
int stockWarningLimit(Database& db);

} // namespace sorrel::ordering
