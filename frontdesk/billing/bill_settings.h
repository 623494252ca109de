// The settings a bill is computed with (the single SetupPay row), read once and handed to every
// bill operation, so a computation never reads a setting behind its caller's back.
#pragma once

#include "common/db/database.h"
#include "common/settings_row.h"

#include <QString>

namespace sorrel::billing {

// The tax types of pay_set_tax_type.
inline const QString kTaxByRate = QStringLiteral("按比例");
inline const QString kTaxPerGuest = QStringLiteral("按人数");

struct BillSettings {
    QString sumRounding;    // pay_set_sum_int: the bill rounding of IntWay
    QString lineRounding;   // pay_set_item_int: the rounding of an order line's amount
    QString taxType;        // pay_set_tax_type
    double taxPercent = 0;  // pay_set_tax_perc: percent of the receivable, for 按比例
    double taxPerGuest = 0; // pay_set_tax_mone: amount per guest, for any other tax type

    static BillSettings from(const SettingsRow& row);
    // The settings row as it stands now; throws DbError when there is none or more than one.
    static BillSettings load(Database& db);

    double intWay(double amount) const;
};

} // namespace sorrel::billing
