// The inventory's printed documents, on A4: the stock-take sheet and the menu (by kind and class),
// a posted stock bill, and the ingredient use of the composite dishes sold.
#pragma once

#include "common/db/database.h"
#include "common/document/document.h"

#include <QDateTime>

namespace sorrel::stock {

inline const QString kStockTakeTitle = QStringLiteral("库存分类盘点表");
inline const QString kMenuTitle = QStringLiteral("菜   谱");
inline const QString kIngredientUseTitle = QStringLiteral("配料使用情况统计表");
// The closing line of the venue's printed lists, naming the system that made them.
inline const QString kMakerLine = QStringLiteral("岚舟管理系列 V9");

// Who prints, when, for which venue: the lines every inventory document closes or opens with.
struct PrintedBy {
    QString venue;    // SetupPay.user_name
    QString operName; // this program's operator
    QDateTime at;
};
PrintedBy printedBy(Database& db, const QString& operName, const QDateTime& at);

// Rows as stockTake() reads them. The sheet has stock, cost and every sum; the menu has neither.
document::Document stockTakeSheet(const RecordSet& rows, const PrintedBy& by);
document::Document menuSheet(const RecordSet& rows, const PrintedBy& by);

// A posted bill (a row of AllStoreBill) and its lines; the staff's name as the operators list
// holds it.
document::Document postedBillDocument(const RecordSet& bill, const RecordSet& lines, const QString& staffName,
                                      const PrintedBy& by);
// A posted bill read from the history; an empty document when there is none.
document::Document postedBillDocument(Database& db, const QVariant& billId, const PrintedBy& by);

// Rows as ingredientUse() reads them, over the dates.
document::Document ingredientUseDocument(const RecordSet& rows, const QDate& from, const QDate& to,
                                         const PrintedBy& by);

} // namespace sorrel::stock
