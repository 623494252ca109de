// A venue seeded for bill computations in a few words: settings, classes, consumption modes and
// their price bands, discount schemes, bills and their order lines. The billing tests and the
// billing benchmark seed their venues through it.
#pragma once

#include "common/db/database.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/guest_record.h"

#include <QDateTime>
#include <QList>

namespace sorrel::test {

class BillingVenue {
  public:
    struct ClassRules {
        bool discount = true;
        bool service = true;
        bool special = false;
    };

    virtual ~BillingVenue() = default;

    // Replaces the settings row.
    void setSettings(const QString& sumRounding, const QString& lineRounding = {},
                     const QString& taxType = {}, double taxPercent = 0, double taxPerGuest = 0);
    billing::BillSettings settings() { return billing::BillSettings::load(venueDb()); }

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

  protected:
    // The venue's database, which the fixture holding the venue owns.
    virtual Database& venueDb() = 0;
};

} // namespace sorrel::test
