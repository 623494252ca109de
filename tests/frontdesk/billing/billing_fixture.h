// The master rows a bill test needs, inserted in a few words: settings, classes, consumption
// modes and their price bands, discount schemes, a bill and its order lines.
#pragma once

#include "common/clock.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/guest_record.h"
#include "tests/support/test_database.h"

namespace sorrel::test {

class BillingTest : public EngineTest {
  protected:
    struct ClassRules {
        bool discount = true;
        bool service = true;
        bool special = false;
    };

    void setSettings(const QString& sumRounding, const QString& lineRounding = {},
                     const QString& taxType = {}, double taxPercent = 0, double taxPerGuest = 0);
    billing::BillSettings settings() { return billing::BillSettings::load(db()); }

    void addClass(const QString& code, ClassRules rules);
    void addMode(const QString& code, const QString& type, double amount, int servicePercent);
    void addBand(const QString& mode, const QTime& start, const QTime& end, double pricePerHour);
    void addSchemeRate(const QString& scheme, const QString& classCode, int percent);

    // A bill on table "A01" with consumption mode `mode`, opened at `opened`, posted.
    billing::GuestRecord openBill(int number, const QString& mode, const QDateTime& opened);
    // An order line; its amount is rounded by the settings' line rounding.
    void addLine(int bill, const QString& classCode, double quantity, double price, int typeFlag = 1,
                 const QString& setMeal = {});
    // The rates written on the bill's lines, in line order.
    QList<int> lineRates(int bill, const char* column);

    FixedClock clock{QDateTime(QDate(2026, 3, 1), QTime(20, 0))};
};

} // namespace sorrel::test
