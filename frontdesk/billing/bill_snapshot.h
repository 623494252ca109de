// A bill as its money is computed from it: the guest record, its order lines with the rules of
// their class, the consumption mode with its price bands and the discount scheme's class rates.
// Plain values read at one moment; the bill core computes from them and touches nothing else.
#pragma once

#include "common/money.h"
#include "common/time_band.h"
#include "frontdesk/billing/guest_record.h"

#include <QHash>
#include <QList>
#include <QString>

namespace sorrel::billing {

struct BillLine {
    int id = 0; // tabl_cons_ID
    double quantity = 0;
    double unitPrice = 0;
    int typeFlag = 0;         // money sign: 1 ordered, -1 returned, 0 free
    double amount = 0;        // tabl_cons_tota, the rounded line amount
    bool setMealPart = false; // grou_code set: a component of a set meal
    QString classCode;
    bool classKnown = false; // the line has a class that classlist holds; only those are billed
    bool special = false;    // the class counts as special consumption
    bool service = false;    // the class bears service
    bool discount = false;   // the class may be discounted
    int serviceRate = 100;   // serv_perc: 100 marks a line without service
    int discountRate = 100;  // disc_clas_perc: percent of the amount charged

    // quantity x price x sign, unrounded
    double value() const { return lineValue(quantity, unitPrice, typeFlag); }
};

// A consumption mode (a ConsModeList row) and its price bands in stored order. A mode that no
// longer exists is the default value: no type, no amount, no service.
struct ConsMode {
    QString typeCode;  // cons_type_code
    double amount = 0; // cons_mode_mone, whose meaning depends on the type
    int servicePercent = 0;
    QList<TimeBand> bands;
};

// A discount scheme's percent to pay per class code (the scheme's first row of a class).
using SchemeRates = QHash<QString, int>;

struct BillSnapshot {
    // A step fills only the parts it computes with; a preview reads them all (readBillSnapshot).
    GuestRecord bill = {};
    QList<BillLine> lines = {};   // every line of the bill, in line order
    ConsMode mode = {};           // the mode named by bill.cons_mode_code
    SchemeRates schemeRates = {}; // of the scheme named by bill.disc_code
};

} // namespace sorrel::billing
