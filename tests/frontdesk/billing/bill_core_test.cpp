// The bill core as the checkout preview, the board and the print use it: figures from a snapshot
// of the bill, the same as the steps write and without writing anything; and returns beyond what
// was ordered never raising what the guest pays.
#include "common/db/transaction.h"
#include "common/money.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/bill_core.h"
#include "frontdesk/billing/bill_store.h"
#include "frontdesk/billing/line_sums.h"
#include "tests/frontdesk/billing/billing_fixture.h"

using namespace sorrel;
using namespace sorrel::billing;

namespace {

QDateTime at(int h, int mi) {
    return QDateTime(QDate(2026, 3, 1), QTime(h, mi));
}

// The classes of a line: D ordinary, N ordinary and never discounted, V special with service,
// S special without.
BillLine line(char clas, double quantity, double price, int flag = 1) {
    BillLine l;
    l.quantity = quantity;
    l.unitPrice = price;
    l.typeFlag = flag;
    l.amount = l.value();
    l.classCode = QString(QChar(clas));
    l.classKnown = true;
    l.special = clas == 'V' || clas == 'S';
    l.service = clas != 'S';
    l.discount = clas != 'N';
    return l;
}

TEST(BillCore, ReturnsBeyondWhatWasOrderedNeverRaiseWhatTheGuestPays) {
    BillSettings settings;
    settings.sumRounding = kRoundHalfEven;
    struct Case {
        const char* what;
        QString type;
        double amount;
        int service;
        QList<BillLine> lines;
        int rate;
        double serv, disc, shou;
    };
    const Case cases[] = {
        {"drinks returned beyond the order: the room fee still bears its service",
         ConsType::kRoomFee,
         200,
         10,
         {line('D', 1, 20), line('D', 2, 20, -1)},
         0,
         20,
         0,
         220},
        {"every line returned: no negative service",
         ConsType::kFree,
         0,
         10,
         {line('D', 1, 50, -1)},
         0,
         0,
         0,
         0},
        {"special lines returned under a minimum: service on the minimum only",
         ConsType::kMinimum,
         500,
         10,
         {line('D', 1, 300), line('V', 1, 50, -1)},
         0,
         50,
         0,
         500},
        {"a discount on returns beyond the order is no charge",
         ConsType::kFree,
         0,
         0,
         {line('D', 1, 100), line('D', 2, 100, -1)},
         90,
         0,
         0,
         0},
        {"returned special lines under a minimum leave the discount on the minimum",
         ConsType::kMinimum,
         500,
         0,
         {line('D', 1, 300), line('S', 1, 50, -1)},
         90,
         0,
         50,
         400},
        {"a discounted class returned beside one that is never discounted",
         ConsType::kFree,
         0,
         0,
         {line('N', 1, 200), line('D', 1, 50, -1)},
         80,
         0,
         0,
         150},
        {"a return within the order still lowers service and discount",
         ConsType::kFree,
         0,
         10,
         {line('D', 3, 20), line('D', 1, 20, -1)},
         90,
         4,
         4,
         40},
    };
    for (const Case& c : cases) {
        BillSnapshot bill;
        bill.bill.tabl_gues_auto_recn = 1;
        bill.bill.tabl_gues_time = at(19, 0);
        bill.lines = c.lines;
        bill.mode =
            ConsMode{.typeCode = c.type, .amount = c.amount, .servicePercent = c.service, .bands = {}};
        bill = withMode(std::move(bill), 2, at(19, 0), settings);
        bill = withLineSums(std::move(bill), settings);
        bill = withStay(std::move(bill), at(21, 0), settings);
        bill = withDiscount(std::move(bill), c.rate, settings);
        EXPECT_DOUBLE_EQ(bill.bill.tabl_gues_serv, c.serv) << c.what;
        EXPECT_DOUBLE_EQ(bill.bill.tabl_gues_disc, c.disc) << c.what;
        EXPECT_DOUBLE_EQ(bill.bill.tabl_gues_shou, c.shou) << c.what;
    }
}

class BillPreviewTest : public test::BillingTest {};

// What the checkout screen shows before settling is what settling writes, and showing it
// changes nothing in the database.
TEST_P(BillPreviewTest, ThePreviewShowsWhatTheStepsWriteAndWritesNothing) {
    setSettings(kRoundHalfEven, kRoundHalfEven, kTaxByRate, 5);
    addClass("D", {.discount = true, .service = true, .special = false});
    addClass("S", {.discount = true, .service = false, .special = true});
    addMode("T9", ConsType::kTimeBands, 0, 10);
    addBand("T9", QTime(0, 0), QTime(11, 59, 59), 20);
    addBand("T9", QTime(12, 0), QTime(17, 59, 59), 30);
    addBand("T9", QTime(18, 0), QTime(23, 59, 59), 40);
    addSchemeRate("W", "S", 50);
    GuestRecord guest = openBill(1, "T9", at(16, 30));
    guest.disc_code = QStringLiteral("W");
    addLine(1, "D", 2, 160);
    addLine(1, "S", 1, 80);
    const BillSettings s = settings();

    BillSnapshot preview = readBillSnapshot(db(), guest);
    preview = withMode(std::move(preview), 4, at(16, 30), s);
    preview = withLineSums(std::move(preview), s);
    preview = withStay(std::move(preview), at(19, 0), s);
    preview = withDiscount(std::move(preview), 90, s);
    preview = withTax(std::move(preview), 4, s);
    // Room 85 and service 40 on 405; discount 32 + 40 + 12.5; tax 22.05 on 441.
    EXPECT_EQ(preview.bill.tabl_gues_shou, 463);
    EXPECT_EQ(lineRates(1, "serv_perc"), (QList<int>{0, 0}));
    EXPECT_EQ(lineRates(1, "disc_clas_perc"), (QList<int>{100, 100}));
    EXPECT_EQ(GuestRecord::load(db(), 1)->tabl_gues_shou, 0);

    Transaction tx(db());
    clock.set(at(16, 30));
    ChangeConsType(db(), guest, s, clock, 4);
    setLineSums(db(), guest, s);
    clock.set(at(19, 0));
    ReTotal(db(), guest, s, clock);
    TotalDisc(db(), guest, s, 90);
    TotalTax(guest, s, 4);
    guest.post(db());
    tx.commit();

    const auto figures = [](const GuestRecord& g) {
        return QList<double>{g.tabl_gues_low,         g.tabl_gues_room, g.tabl_gues_unit,
                             g.tabl_gues_dish,        g.tabl_gues_spec, g.tabl_gues_serv_main,
                             g.tabl_gues_serv_spec,   g.tabl_gues_serv, g.tabl_gues_disc,
                             g.tabl_gues_tax,         g.tabl_gues_shou, g.tabl_gues_fact,
                             double(g.cons_mode_serv)};
    };
    const GuestRecord stored = *GuestRecord::load(db(), 1);
    EXPECT_EQ(figures(preview.bill), figures(stored));
    EXPECT_EQ(preview.bill.cons_type_code, stored.cons_type_code);
    QList<int> serviceRates, discountRates;
    for (const BillLine& l : preview.lines) {
        serviceRates << l.serviceRate;
        discountRates << l.discountRate;
    }
    EXPECT_EQ(serviceRates, lineRates(1, "serv_perc"));
    EXPECT_EQ(discountRates, lineRates(1, "disc_clas_perc"));
}

SORREL_ON_EVERY_ENGINE(BillPreviewTest);

} // namespace
