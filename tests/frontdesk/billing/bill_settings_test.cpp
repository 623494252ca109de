// A bill is never rounded or taxed by a guess: without its one settings row nothing is billed.
#include "common/db/errors.h"
#include "common/money.h"
#include "common/settings_row.h"
#include "frontdesk/billing/bill_settings.h"
#include "tests/support/test_database.h"

using namespace sorrel;
using namespace sorrel::billing;

namespace {

class BillSettingsTest : public test::EngineTest {};

TEST_P(BillSettingsTest, AMissingOrSecondSettingsRowIsRefusedByEveryReader) {
    db().exec(
        QStringLiteral("UPDATE SetupPay SET pay_set_sum_int = ?, pay_set_tax_type = ?, pay_set_tax_perc = 5"),
        {kRoundHalfEven, kTaxByRate});
    const BillSettings one = BillSettings::load(db());
    EXPECT_EQ(one.sumRounding, kRoundHalfEven);
    EXPECT_EQ(one.taxPercent, 5);

    const char* const damages[] = {"DELETE FROM SetupPay",
                                   "INSERT INTO SetupPay (pay_set_sum_int) VALUES ('')"};
    for (const char* damage : damages) {
        db().exec(QString::fromUtf8(damage));
        EXPECT_THROW(BillSettings::load(db()), DbError) << damage;
        EXPECT_THROW(loadSettingsRow(db()), DbError) << damage;
        db().exec(QStringLiteral("DELETE FROM SetupPay"));
        db().exec(QStringLiteral("INSERT INTO SetupPay (pay_set_sum_int) VALUES (?)"), {kRoundHalfEven});
    }
}

SORREL_ON_EVERY_ENGINE(BillSettingsTest);

} // namespace
