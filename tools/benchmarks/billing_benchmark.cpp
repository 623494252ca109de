// How long the front desk computes a bill of a few hundred lines: the totals after an order is
// committed, the room charge of a time-priced room, and the discount at checkout.
#include "common/clock.h"
#include "common/db/connection.h"
#include "common/db/sqlite_database.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "common/money.h"
#include "common/schema/schema.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/line_sums.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace sorrel;
using namespace sorrel::billing;

namespace {

// A venue with four classes, a minimum-charge mode, an hourly mode, a time-priced mode with a band
// per hour, and one open bill of `lines` order lines.
struct Venue {
    QTemporaryDir dir;
    std::unique_ptr<SqliteDatabase> db;
    BillSettings settings;
    GuestRecord guest;
    FixedClock clock{QDateTime(QDate(2026, 3, 1), QTime(23, 30))};

    Venue(int lines, const QString& mode) {
        db = std::make_unique<SqliteDatabase>(dir.filePath("bench.mdb"), databasePassword(),
                                              SqliteDatabase::Mode::CreateIfMissing);
        schema::createSchema(*db);
        db->exec("INSERT INTO SetupPay (pay_set_sum_int, pay_set_item_int) VALUES (?, ?)",
                 {kRoundHalfEven, kRaiseFraction});
        const char* classes[][4] = {
            {"D", "1", "1", "0"}, {"B", "1", "0", "0"}, {"S", "1", "1", "1"}, {"N", "0", "1", "0"}};
        for (const auto& c : classes)
            db->exec("INSERT INTO classlist (clas_code, clas_allo_disc, clas_allo_serv, clas_allo_spec) "
                     "VALUES (?, ?, ?, ?)",
                     {c[0], QString(c[1]).toInt(), QString(c[2]).toInt(), QString(c[3]).toInt()});
        db->exec("INSERT INTO ConsModeList (cons_mode_code, cons_type_code, cons_mode_mone, cons_mode_serv) "
                 "VALUES ('M', '2', 800, 10), ('H', '3', 60, 10), ('T', '9', 0, 10)");
        for (int h = 0; h < 24; ++h)
            db->exec(
                "INSERT INTO ConsTimeMode (cons_mode_code, cons_time_star, cons_time_end, cons_time_mone) "
                "VALUES ('T', ?, ?, ?)",
                {toDbTime(QTime(h, 0)), toDbTime(QTime(h, 59, 59)), 20 + h});
        db->exec("INSERT INTO DiscItem (disc_code, clas_code, disc_clas_perc) VALUES ('V', 'B', 80)");
        settings = BillSettings::load(*db);
        guest.tabl_gues_auto_recn = 1;
        guest.cons_mode_code = mode;
        guest.disc_code = QStringLiteral("V");
        guest.tabl_gues_time = QDateTime(QDate(2026, 3, 1), QTime(18, 10));
        guest.post(*db);
        Transaction tx(*db);
        for (int i = 0; i < lines; ++i) {
            const int flag = i % 17 == 0 ? -1 : (i % 11 == 0 ? 0 : 1);
            const double qty = 1 + i % 3;
            const double price = 8.5 + i % 40;
            db->exec("INSERT INTO TableConsList (tabl_gues_auto_recn, clas_code, item_code, item_type_flag, "
                     "tabl_cons_coun, item_unit_pric, tabl_cons_tota, grou_code) VALUES (1, ?, 'X', ?, ?, ?, "
                     "?, ?)",
                     {classes[i % 4][0], flag, qty, price,
                      orderLineAmount(qty, price, flag, settings.lineRounding),
                      i % 13 == 0 ? QStringLiteral("T1") : QString()});
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
