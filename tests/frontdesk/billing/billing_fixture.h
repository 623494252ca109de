// The fixture of the billing tests: a fresh database per engine, seeded as a billing venue, and
// a clock the test moves.
#pragma once

#include "common/clock.h"
#include "tests/support/billing_venue.h"
#include "tests/support/test_database.h"

namespace sorrel::test {

class BillingTest : public EngineTest, public BillingVenue {
  protected:
    Database& venueDb() override { return db(); }

    FixedClock clock{QDateTime(QDate(2026, 3, 1), QTime(20, 0))};
};

} // namespace sorrel::test
