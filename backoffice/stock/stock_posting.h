// A stock bill's way to the books: "回退" from its lines works out their amounts and the bill's
// total; "执行" posts it — stock moved, the moving average cost of purchased goods, set meals
// recounted, the bill and its lines into the posted history, the partner's balance — in one
// transaction that reads everything it changes afresh, so a front desk's sale, another posting
// or a payment falls wholly before or after it.
#pragma once

#include "common/db/database.h"

namespace sorrel::stock {

// "回退" from the lines: each line's amount to the cent, their total into the bill's due column
// (payable for a purchase, receivable otherwise). Refused when the bill was posted or deleted
// meanwhile; a failure is the coded failure A100004. Answers whether the bill has lines.
bool closeLines(Database& db, const QVariant& billId);

// "执行": posts the open bill. Refused (StepRefused, nothing written) when it was posted or
// deleted meanwhile, when its number, type or staff is missing, when a line names a disabled
// item, a set meal or composite, or a negative quantity or price, and when a return or sale
// takes a limited item below nothing. A failure is the coded failure A100002.
void postBill(Database& db, const QVariant& billId);

// "根据成本价格自动调整消费成本": whether a purchase moves the items' cost to the average.
bool averageCostOn(Database& db);
void setAverageCost(Database& db, bool on);

// The moving average cost after buying q at price p onto a stock of Q at `cost`: a stock below
// nothing counts as none, and nothing bought keeps the cost. To the cent.
double averageCost(double cost, double stock, double price, double quantity);

} // namespace sorrel::stock
