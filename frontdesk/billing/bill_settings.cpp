#include "frontdesk/billing/bill_settings.h"

#include "common/money.h"

namespace sorrel::billing {

BillSettings BillSettings::from(const SettingsRow& row) {
    return {row.sumRounding, row.lineRounding, row.taxType, row.taxPercent, row.taxPerGuest};
}

BillSettings BillSettings::load(Database& db) {
    return from(loadSettingsRow(db));
}

double BillSettings::intWay(double amount) const {
    return IntWay(amount, sumRounding);
}

} // namespace sorrel::billing
