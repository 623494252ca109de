// The inventory's read-only views: the posted bills of a partner and their lines, the posted lines
// of goods, the stock take (counted items, or the menu), the ingredients the composite dishes
// sold have used, and the counted items at or below the venue's low-stock mark. Business dates
// are compared by day, both ends included.
#pragma once

#include "backoffice/lists/choices.h"
#include "common/db/database.h"

#include <QDate>
#include <optional>

namespace sorrel::stock {

// The partners found in posted bills: code and short name (two partners of one short name stay two).
lists::Choices postedPartners(Database& db);
// A partner's posted bills over the business dates; none without a partner.
RecordSet postedBills(Database& db, const QString& partnerCode, const QDate& from, const QDate& to);
RecordSet postedLines(Database& db, const QVariant& billId);

// Posted lines with their bill's type and partner, newest business date last: all of them, or
// those of the dates (and of one item's code when given).
struct DateRange {
    QDate from;
    QDate to;
};
RecordSet goodsLines(Database& db, const QString& itemCode, const std::optional<DateRange>& dates);

// The stock take's rows by class: counted items only, or every item but set meals and composites
// (the menu); of one kind when `kindCode` is given.
enum class StockTakeRows { Counted, Menu };
RecordSet stockTake(Database& db, StockTakeRows rows, const QString& kindCode = {});
lists::Choices kindChoices(Database& db);
// The names the grids show for codes: staff, item types.
lists::Choices operatorChoices(Database& db);
lists::Choices itemTypeChoices(Database& db);

// Each ingredient's use by the composite dishes sold over the business dates (a returned dish
// gives its share back): item_name, item_unit, mixt.
RecordSet ingredientUse(Database& db, const QDate& from, const QDate& to);

// "库存预警": counted items (no set meal or composite) at or below SetupPay.pay_set_stor_limi.
RecordSet lowStock(Database& db);
// The stock at or below which an item is listed there.
double lowStockMark(Database& db);

// "盘点调整": the items counted, each with the stock the sheet showed when it was counted.
struct Count {
    QString itemCode;
    double book = 0;
    double counted = 0;
};
// Each item's stock moved by counted − book relative to what it holds now (sales since the
// count stay), set meals recounted; one transaction (A100001). Answers how many items moved.
int applyCounts(Database& db, const QList<Count>& counts);

} // namespace sorrel::stock
