// How long the front desk computes a bill of a few hundred lines: the totals after an order is
// committed, the room charge of a time-priced room, and the discount at checkout.
#include "common/clock.h"
#include "common/db/connection.h"
#include "common/db/sqlite_database.h"
#include "common/db/transaction.h"
#include "common/money.h"
#include "common/schema/schema.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/line_sums.h"
#include "tests/support/billing_venue.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace sorrel;
using namespace sorrel::billing;

namespace {

// A venue with four classes, a minimum-charge mode, an hourly mode, a time-priced mode with a band
// per hour, and one open bill of `lines` order lines.
struct Venue : test::BillingVenue {
    QTemporaryDir dir;
    std::unique_ptr<SqliteDatabase> db;
    BillSettings settings;
    GuestRecord guest;
    FixedClock clock{QDateTime(QDate(2026, 3, 1), QTime(23, 30))};

    Database& venueDb() override { return *db; }

    Venue(int lines, const QString& mode) {
        db = std::make_unique<SqliteDatabase>(dir.filePath("bench.mdb"), databasePassword(),
                                              SqliteDatabase::Mode::CreateIfMissing);
        schema::createSchema(*db);
        setSettings(kRoundHalfEven, kRaiseFraction);
        const char* classes[] = {"D", "B", "S", "N"};
        addClass("D", {.discount = true, .service = true, .special = false});
        addClass("B", {.discount = true, .service = false, .special = false});
        addClass("S", {.discount = true, .service = true, .special = true});
        addClass("N", {.discount = false, .service = true, .special = false});
        addMode("M", ConsType::kMinimum, 800, 10);
        addMode("H", ConsType::kStartedHours, 60, 10);
        addMode("T", ConsType::kTimeBands, 0, 10);
        for (int h = 0; h < 24; ++h)
            addBand("T", QTime(h, 0), QTime(h, 59, 59), 20 + h);
        addSchemeRate("V", "B", 80);
        settings = BillSettings::load(*db);
        guest = openBill(1, mode, QDateTime(QDate(2026, 3, 1), QTime(18, 10)));
        guest.disc_code = QStringLiteral("V");
        Transaction tx(*db);
        for (int i = 0; i < lines; ++i) {
            const int flag = i % 17 == 0 ? -1 : (i % 11 == 0 ? 0 : 1);
            addLine(1, classes[i % 4], 1 + i % 3, 8.5 + i % 40, flag,
                    i % 13 == 0 ? QStringLiteral("T1") : QString());
        }
        ChangeConsType(*db, guest, settings, clock, 6);
        tx.commit();
    }
};

void orderCommitted(benchmark::State& state, const QString& mode) {
    Venue venue(int(state.range(0)), mode);
    for (auto _ : state) {
        setLineSums(*venue.db, venue.guest, venue.settings);
        ReTotal(*venue.db, venue.guest, venue.settings, venue.clock);
        benchmark::DoNotOptimize(venue.guest.tabl_gues_shou);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_LineSumsAndReTotal_Minimum(benchmark::State& state) {
    orderCommitted(state, QStringLiteral("M"));
}
void BM_LineSumsAndReTotal_TimeBands(benchmark::State& state) {
    orderCommitted(state, QStringLiteral("T"));
}

void BM_ReTotal_TimeBands(benchmark::State& state) {
    Venue venue(int(state.range(0)), QStringLiteral("T"));
    for (auto _ : state) {
        ReTotal(*venue.db, venue.guest, venue.settings, venue.clock);
        benchmark::DoNotOptimize(venue.guest.tabl_gues_room);
    }
}

void BM_CheckoutDiscount(benchmark::State& state) {
    Venue venue(int(state.range(0)), QStringLiteral("H"));
    for (auto _ : state) {
        venue.db->begin();
        TotalDisc(*venue.db, venue.guest, venue.settings, 90);
        venue.db->rollback();
        benchmark::DoNotOptimize(venue.guest.tabl_gues_disc);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_LineSumsAndReTotal_Minimum)->Arg(50)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineSumsAndReTotal_TimeBands)->Arg(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReTotal_TimeBands)->Arg(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckoutDiscount)->Arg(50)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);
