// The order lines of one bill as the bill computation needs them: amounts, sign, discount rate
// and the rules of their class. Lines whose class is empty or unknown are not read.
#pragma once

#include "common/db/database.h"

#include <QList>

namespace sorrel::billing {

struct BillLine {
    double quantity = 0;
    double unitPrice = 0;
    int typeFlag = 0;       // money sign: 1 ordered, -1 returned, 0 free
    double amount = 0;      // tabl_cons_tota, the rounded line amount
    int discountRate = 100; // disc_clas_perc: percent of the amount charged
    bool special = false;   // the class counts as special consumption
    bool service = false;   // the class bears service

    double value() const; // quantity x price x sign, unrounded
};

// In line order.
QList<BillLine> readBillLines(Database& db, int billNumber);

} // namespace sorrel::billing
