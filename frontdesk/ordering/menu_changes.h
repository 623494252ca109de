// The two changes the ordering screen makes to the menu itself: a new list price for an item
// (价格调整, kept for good, and given to the item's staged line), and a new single item in a
// class (加菜).
#pragma once

#include "common/db/database.h"

#include <QString>

namespace sorrel::ordering {

// The typed price with "0" put before it, so an empty field is 0.
double typedPrice(const QString& text);

// Sets the item's list price and, when bill `billNumber` has the item staged, that line's price,
// in one transaction.
void adjustPrice(Database& db, const QString& itemCode, double price, int billNumber);

inline const QString kNewItemFieldsEmptyMessage =
    QStringLiteral("所有项目内容皆不能为空，请重新输入后确认！");
inline const QString kNewItemCodeInClassMessage = QStringLiteral("[编码]有重复，请重新输入后确认！");
inline const QString kNewItemCodeElsewhereMessage = QStringLiteral("编号有重复，请从新输入！");
inline const QString kNewItemQuestion = QStringLiteral("是否追加此消费项目，请确定操作!");

struct NewItem {
    QString classCode;
    QString code;
    QString name;
    QString unit;
    QString price; // as typed
    QString shortCode;
};

// Why the typed item cannot be added before the operator is asked; empty when it can.
QString newItemRefusal(Database& db, const NewItem& item);

// Appends the item: a single item of unlimited stock whose price may be typed when ordering.
// Answers kNewItemCodeElsewhereMessage, adding nothing, when another class (or another
// workstation meanwhile) already has the code; empty when added.
QString addNewItem(Database& db, const NewItem& item);

} // namespace sorrel::ordering
