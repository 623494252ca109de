#include "frontdesk/billing/bill_settings.h"

#include "common/money.h"

namespace sorrel::billing {

BillSettings BillSettings::load(Database& db) {
    const RecordSet rows =
        db.query(QStringLiteral("SELECT pay_set_sum_int, pay_set_item_int, pay_set_tax_type, "
                                "pay_set_tax_perc, pay_set_tax_mone FROM SetupPay"));
    BillSettings settings;
    if (rows.isEmpty()) return settings;
    const RecordSet::Row row = rows.row(0);
    settings.sumRounding = row.text(QStringLiteral("pay_set_sum_int")).trimmed();
    settings.lineRounding = row.text(QStringLiteral("pay_set_item_int")).trimmed();
    settings.taxType = row.text(QStringLiteral("pay_set_tax_type")).trimmed();
    settings.taxPercent = row.number(QStringLiteral("pay_set_tax_perc"));
    settings.taxPerGuest = row.number(QStringLiteral("pay_set_tax_mone"));
    return settings;
}

double BillSettings::intWay(double amount) const {
    return IntWay(amount, sumRounding);
}

} // namespace sorrel::billing
