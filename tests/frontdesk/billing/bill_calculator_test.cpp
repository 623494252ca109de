// A bill's money as the cashier sees it at the front desk: what a consumption mode charges, the
// room charge after the party's time, service on the minimum or on the lines, the discount, the
// tax, and the rates the bill writes on its order lines.
#include "common/db/transaction.h"
#include "common/money.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/line_sums.h"
#include "tests/frontdesk/billing/billing_fixture.h"

using namespace sorrel;
using namespace sorrel::billing;

namespace {

class BillCalculatorTest : public test::BillingTest {};

QDateTime at(int day, int h, int mi, int s = 0) {
    return QDateTime(QDate(2026, 3, day), QTime(h, mi, s));
}

struct Line {
    QString clas;
    double quantity;
    double price;
    int flag = 1;
    QString setMeal = {};
};

TEST_P(BillCalculatorTest, MinimumChargeBillFromOrderToDiscountAndTax) {
    setSettings(kRoundHalfEven, kRoundHalfEven, kTaxByRate, 5);
    addClass("D", {.discount = true, .service = true, .special = false});
    addClass("S", {.discount = true, .service = false, .special = true});
    addMode("M2", ConsType::kMinimum, 500, 10);
    GuestRecord guest = openBill(1, "M2", at(1, 19, 0));
    addLine(1, "D", 2, 160);
    addLine(1, "S", 1, 80);

    Transaction tx(db());
    ChangeConsType(db(), guest, settings(), clock, 4);
    setLineSums(db(), guest, settings());
    ReTotal(db(), guest, settings(), clock);
    EXPECT_EQ(guest.tabl_gues_dish, 320);
    EXPECT_EQ(guest.tabl_gues_spec, 80);
    EXPECT_EQ(guest.tabl_gues_serv_main, 320);
    EXPECT_EQ(guest.tabl_gues_serv_spec, 0);
    EXPECT_EQ(guest.tabl_gues_low, 500);
    EXPECT_EQ(guest.tabl_gues_serv, 50);
    EXPECT_EQ(guest.tabl_gues_shou, 630);

    TotalDisc(db(), guest, settings(), 90);
    EXPECT_EQ(guest.tabl_gues_disc, 63);
    EXPECT_EQ(guest.tabl_gues_shou, 567);
    EXPECT_EQ(guest.tabl_gues_fact, 567);

    TotalTax(guest, settings(), 4);
    EXPECT_EQ(guest.tabl_gues_tax, 28);
    EXPECT_EQ(guest.tabl_gues_shou, 595);
    EXPECT_EQ(guest.tabl_gues_fact, 595);
    guest.post(db());
    tx.commit();

    const GuestRecord stored = *GuestRecord::load(db(), 1);
    EXPECT_EQ(stored.tabl_gues_shou, 595);
    EXPECT_EQ(stored.cons_type_code, ConsType::kMinimum);
    EXPECT_EQ(stored.cons_mode_serv, 10);
    EXPECT_EQ(lineRates(1, "serv_perc"), (QList<int>{10, 100}));
    EXPECT_EQ(lineRates(1, "disc_clas_perc"), (QList<int>{90, 90}));
}

TEST_P(BillCalculatorTest, LineSumsCountSignsClassesAndRounding) {
    // Lines are rounded up to the unit, the bill to the cent: a line of 2.02 bills 3.
    setSettings(kKeepCents, kRaiseFraction);
    addClass("D", {.service = true});
    addClass("K", {.service = false});
    addClass("S", {.service = false, .special = true});
    addClass("V", {.service = true, .special = true});
    struct Case {
        const char* what;
        QList<Line> lines;
        double dish, special, servMain, servSpec;
        DishTotalFrom from = DishTotalFrom::RoundedLines;
    };
    const QList<Case> cases = {
        {"a returned line of 2 x 10 takes 20 off", {{"D", 3, 10}, {"D", 2, 10, -1}}, 10, 0, 10, 0},
        {"a gift line adds nothing", {{"D", 2, 10, 0}, {"D", 1, 5}}, 5, 0, 5, 0},
        {"a class without service", {{"D", 1, 30}, {"K", 1, 20}}, 50, 0, 30, 0},
        {"special lines apart, with and without service", {{"S", 1, 80}, {"V", 1, 50}}, 0, 130, 0, 50},
        {"a returned special line", {{"V", 1, 50}, {"V", 1, 20, -1}}, 0, 30, 0, 30},
        {"lines without a class or of an unknown class",
         {{"", 1, 99}, {"ZZ", 1, 99}, {"D", 1, 1}},
         1,
         0,
         1,
         0},
        {"rounded line amounts in the dish total only", {{"D", 1, 2.02}, {"S", 1, 2.02}}, 3, 2.02, 2.02, 0},
        {"merged tables: the dish total from unrounded amounts",
         {{"D", 1, 2.02}, {"S", 1, 2.02}},
         2.02,
         2.02,
         2.02,
         0,
         DishTotalFrom::UnroundedLines},
        {"no lines", {}, 0, 0, 0, 0},
    };
    for (int i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        GuestRecord guest = openBill(i + 1, "NO", at(1, 19, 0));
        for (const Line& l : c.lines)
            addLine(i + 1, l.clas, l.quantity, l.price, l.flag);
        addLine(99, "D", 1, 1000); // another table's bill
        setLineSums(db(), guest, settings(), c.from);
        EXPECT_DOUBLE_EQ(guest.tabl_gues_dish, c.dish) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_spec, c.special) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_serv_main, c.servMain) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_serv_spec, c.servSpec) << c.what;
    }
}

TEST_P(BillCalculatorTest, EachConsumptionTypeWhenTheModeIsChosen) {
    setSettings(kRoundHalfEven);
    // Another mode's bands come first in storage; a bill must never be priced by them.
    addMode("OT", ConsType::kTimeBands, 0, 0);
    addBand("OT", QTime(0, 0), QTime(23, 59, 59), 99);
    addMode("T9", ConsType::kTimeBands, 0, 0);
    addBand("T9", QTime(0, 0), QTime(11, 59, 59), 20);
    addBand("T9", QTime(12, 0), QTime(17, 59, 59), 30);
    addBand("T9", QTime(18, 0), QTime(23, 59, 59), 40);
    struct Case {
        const char* what;
        QString type;
        double amount;
        int guests;
        QDateTime now;
        double low, room, unit;
    };
    const Case cases[] = {
        {"1: nothing", ConsType::kFree, 100, 3, at(1, 20, 0), 0, 0, 0},
        {"2: a minimum", ConsType::kMinimum, 500, 3, at(1, 20, 0), 500, 0, 500},
        {"3: the first hour", ConsType::kStartedHours, 60, 3, at(1, 20, 0), 0, 60, 60},
        {"4: a room fee", ConsType::kRoomFee, 200, 3, at(1, 20, 0), 0, 200, 200},
        {"5: a minimum per guest, 100.5 to the even unit", ConsType::kMinimumPerGuest, 33.5, 3, at(1, 20, 0),
         100, 0, 33.5},
        {"6: nothing until time passes", ConsType::kExactHours, 60, 3, at(1, 20, 0), 0, 0, 60},
        {"7: tea per guest, 37.5 to the even unit", ConsType::kTeaPerGuest, 12.5, 3, at(1, 20, 0), 0, 38,
         12.5},
        {"7: an empty people field", ConsType::kTeaPerGuest, 12.5, 0, at(1, 20, 0), 0, 0, 12.5},
        {"8: a day", ConsType::kDaily, 300, 3, at(1, 20, 0), 0, 300, 300},
        {"A: the afternoon half day, 150.5 to the even unit", ConsType::kDailyHalfDay, 301, 3, at(1, 13, 0),
         0, 150, 301},
        {"A: 17:59:59 is still afternoon", ConsType::kDailyHalfDay, 300, 3, at(1, 17, 59, 59), 0, 150, 300},
        {"A: the evening, a whole day", ConsType::kDailyHalfDay, 300, 3, at(1, 18, 0), 0, 300, 300},
        {"9: the price of this mode's band at 20:00", ConsType::kTimeBands, 0, 3, at(1, 20, 0), 0, 40, 0},
        {"9: opened in the middle of the afternoon band", ConsType::kTimeBands, 0, 3, at(1, 16, 30), 0, 30,
         0},
        {"9: the last second of the morning band", ConsType::kTimeBands, 0, 3, at(1, 11, 59, 59), 0, 20, 0},
        {"9: the first second of the afternoon band", ConsType::kTimeBands, 0, 3, at(1, 12, 0), 0, 30, 0},
        {"an unknown type charges nothing", QStringLiteral("Z"), 100, 3, at(1, 20, 0), 0, 0, 0},
    };
    int bill = 0;
    for (const Case& c : cases) {
        ++bill;
        const QString mode = c.type == ConsType::kTimeBands ? QStringLiteral("T9") : QString::number(bill);
        if (mode != QStringLiteral("T9")) addMode(mode, c.type, c.amount, 0);
        GuestRecord guest = openBill(bill, mode, at(1, 12, 0));
        guest.tabl_gues_low = guest.tabl_gues_room = guest.tabl_gues_unit = 7; // left from the previous mode
        clock.set(c.now);
        Transaction tx(db());
        ChangeConsType(db(), guest, settings(), clock, c.guests);
        EXPECT_EQ(guest.cons_type_code, c.type) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_low, c.low) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_room, c.room) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_unit, c.unit) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_shou, c.low + c.room) << c.what;
    }
}

TEST_P(BillCalculatorTest, AModeThatNoLongerExistsChargesNothing) {
    setSettings(kRoundHalfEven);
    addClass("D", {.service = true});
    GuestRecord guest = openBill(1, "XX", at(1, 19, 0));
    guest.cons_type_code = ConsType::kRoomFee;
    guest.cons_mode_serv = 10;
    guest.tabl_gues_room = 200;
    addLine(1, "D", 1, 100);
    Transaction tx(db());
    ChangeConsType(db(), guest, settings(), clock, 2);
    setLineSums(db(), guest, settings());
    ReTotal(db(), guest, settings(), clock);
    EXPECT_EQ(guest.cons_type_code, QString());
    EXPECT_EQ(guest.tabl_gues_room, 0);
    EXPECT_EQ(guest.tabl_gues_serv, 0);
    EXPECT_EQ(guest.tabl_gues_shou, 100);
    EXPECT_EQ(lineRates(1, "serv_perc"), QList<int>{100});
}

TEST_P(BillCalculatorTest, ServiceRatesWrittenOnTheLines) {
    setSettings(kRoundHalfEven);
    addClass("D", {.service = true});
    addClass("K", {.service = false});
    addMode("SA", ConsType::kFree, 0, 15);
    addMode("SB", ConsType::kFree, 0, 0);
    GuestRecord guest = openBill(1, "SA", at(1, 19, 0));
    addLine(1, "D", 1, 10);
    addLine(1, "K", 1, 10);
    addLine(1, "D", 1, 0, 0, "T01"); // a set meal's component
    addLine(1, "", 1, 10);
    addLine(2, "D", 1, 10); // another bill
    Transaction tx(db());
    ChangeConsType(db(), guest, settings(), clock, 2);
    EXPECT_EQ(lineRates(1, "serv_perc"), (QList<int>{15, 100, 100, 100}));
    guest.cons_mode_code = "SB";
    ChangeConsType(db(), guest, settings(), clock, 2);
    EXPECT_EQ(lineRates(1, "serv_perc"), (QList<int>{100, 100, 100, 100}));
    EXPECT_EQ(lineRates(2, "serv_perc"), QList<int>{0});
}

TEST_P(BillCalculatorTest, RoomChargeAfterThePartysTime) {
    setSettings(kRoundHalfEven);
    addBand("T9", QTime(0, 0), QTime(11, 59, 59), 20);
    addBand("T9", QTime(12, 0), QTime(17, 59, 59), 30);
    addBand("T9", QTime(18, 0), QTime(23, 59, 59), 40);
    addMode("T9", ConsType::kTimeBands, 0, 0);
    struct Case {
        const char* what;
        QString type;
        double unit;
        QDateTime opened;
        QDateTime now;
        double room;
    };
    const Case cases[] = {
        {"3: 19:10 to 21:25 at 60 an hour", ConsType::kStartedHours, 60, at(1, 19, 10), at(1, 21, 25), 180},
        {"3: 26.5 hours", ConsType::kStartedHours, 10, at(1, 20, 0), at(2, 22, 30), 270},
        {"6: an hour and a half at 60", ConsType::kExactHours, 60, at(1, 19, 0), at(1, 20, 30), 90},
        {"6: 20 minutes at 50, 16.67 to the unit", ConsType::kExactHours, 50, at(1, 19, 0), at(1, 19, 20),
         17},
        {"8: in before noon yesterday, now after noon", ConsType::kDaily, 300, at(1, 10, 0), at(2, 13, 0),
         900},
        {"8: in after noon yesterday, now before noon", ConsType::kDaily, 300, at(1, 14, 0), at(2, 11, 0),
         300},
        {"A: the afternoon of the day the party came", ConsType::kDailyHalfDay, 300, at(1, 15, 0),
         at(1, 16, 0), 150},
        {"A: the same party in the evening", ConsType::kDailyHalfDay, 300, at(1, 15, 0), at(1, 18, 30), 300},
        {"9: 16:30 to 19:00", ConsType::kTimeBands, 0, at(1, 16, 30), at(1, 19, 0), 85},
        {"9: 22:00 to 01:30", ConsType::kTimeBands, 0, at(1, 22, 0), at(2, 1, 30), 110},
        {"9: 26.5 hours count by the time of day", ConsType::kTimeBands, 0, at(1, 16, 30), at(2, 19, 0), 85},
        {"4: a room fee does not grow", ConsType::kRoomFee, 200, at(1, 10, 0), at(2, 13, 0), 200},
        {"7: the tea charge of two guests does not grow", ConsType::kTeaPerGuest, 12.5, at(1, 19, 0),
         at(2, 1, 0), 25},
        {"1: nothing, however long the party stays", ConsType::kFree, 100, at(1, 10, 0), at(2, 13, 0), 0},
    };
    int bill = 0;
    for (const Case& c : cases) {
        ++bill;
        const QString mode = c.type == ConsType::kTimeBands ? QStringLiteral("T9") : QString::number(bill);
        if (mode != QStringLiteral("T9")) addMode(mode, c.type, c.unit, 0);
        GuestRecord guest = openBill(bill, mode, c.opened);
        clock.set(c.opened);
        Transaction tx(db());
        ChangeConsType(db(), guest, settings(), clock, 2);
        clock.set(c.now);
        ReTotal(db(), guest, settings(), clock);
        EXPECT_DOUBLE_EQ(guest.tabl_gues_room, c.room) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_shou, c.room) << c.what;
    }
}

TEST_P(BillCalculatorTest, ServiceOnTheMinimumOrOnTheLinesAndRoom) {
    setSettings(kRoundHalfEven);
    struct Case {
        const char* what;
        double low, dish, special, servMain, servSpec, room;
        double serv, shou;
    };
    const Case cases[] = {
        {"dish equal to the minimum: service on the minimum", 500, 500, 0, 300, 0, 100, 50, 650},
        {"dish above the minimum: service on the lines and room", 500, 501, 0, 300, 0, 100, 40, 641},
        {"under the minimum, special lines with service still bear it", 500, 200, 50, 200, 50, 0, 55, 605},
        {"no minimum, lines and room", 0, 300, 80, 300, 0, 200, 50, 630},
        {"service of 12.5 goes to the even unit", 0, 125, 0, 125, 0, 0, 12, 137},
        {"a room with nothing ordered yet bears its service", 0, 0, 0, 0, 0, 200, 20, 220},
    };
    for (const Case& c : cases) {
        GuestRecord guest;
        guest.cons_type_code = ConsType::kRoomFee;
        guest.cons_mode_serv = 10;
        guest.tabl_gues_low = c.low;
        guest.tabl_gues_dish = c.dish;
        guest.tabl_gues_spec = c.special;
        guest.tabl_gues_serv_main = c.servMain;
        guest.tabl_gues_serv_spec = c.servSpec;
        guest.tabl_gues_room = c.room;
        ReTotal(db(), guest, settings(), clock);
        EXPECT_DOUBLE_EQ(guest.tabl_gues_serv, c.serv) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_shou, c.shou) << c.what;
    }
}

TEST_P(BillCalculatorTest, DiscountByRateSchemeAndClass) {
    setSettings(kRoundHalfEven, kRoundHalfEven);
    addClass("D", {.discount = true, .service = true});
    addClass("N", {.discount = false, .service = true});
    addClass("S", {.discount = true, .service = false, .special = true});
    addMode("F", ConsType::kFree, 0, 0);
    addMode("M", ConsType::kMinimum, 500, 10);
    addMode("R", ConsType::kRoomFee, 200, 10);
    addSchemeRate("V", "D", 80);
    addSchemeRate("V", "N", 50);
    addSchemeRate("W", "S", 50);
    addSchemeRate("W", "S", 70); // a second row for the same class: the first one counts
    struct Case {
        const char* what;
        QString mode;
        QList<Line> lines;
        QString scheme;
        int rate;
        double disc, shou;
        QList<int> rates;
    };
    const QList<Case> cases = {
        {"a rate of 0 or a blank field: no discount", "F", {{"D", 1, 100}}, "N", 0, 0, 100, {100}},
        {"a rate of 100: no discount", "F", {{"D", 1, 100}}, "N", 100, 0, 100, {100}},
        {"10 % off every line", "F", {{"D", 1, 100}, {"S", 1, 50}}, "N", 90, 15, 135, {90, 90}},
        {"a class without discount keeps 100 under a scheme row",
         "F",
         {{"D", 1, 100}, {"N", 1, 100}},
         "V",
         0,
         20,
         180,
         {80, 100}},
        {"a scheme's rate replaces the whole-bill rate",
         "F",
         {{"D", 1, 100}, {"S", 1, 100}},
         "V",
         90,
         30,
         170,
         {80, 90}},
        {"a set meal's component keeps 100",
         "F",
         {{"D", 1, 100}, {"D", 1, 40, 1, "T01"}},
         "N",
         90,
         10,
         130,
         {90, 100}},
        {"a returned line lowers the discount",
         "F",
         {{"D", 1, 100}, {"D", 2, 10, -1}},
         "N",
         90,
         8,
         72,
         {90, 90}},
        {"under the minimum: the rate on minimum and service, the scheme on special lines",
         "M",
         {{"D", 1, 300}, {"S", 1, 50}},
         "W",
         90,
         80,
         520,
         {90, 50}},
        {"room and service at the whole-bill rate", "R", {{"D", 1, 300}}, "N", 80, 110, 440, {80}},
    };
    for (int i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const int bill = i + 1;
        GuestRecord guest = openBill(bill, c.mode, at(1, 19, 0));
        guest.disc_code = c.scheme;
        for (const Line& l : c.lines)
            addLine(bill, l.clas, l.quantity, l.price, l.flag, l.setMeal);
        Transaction tx(db());
        ChangeConsType(db(), guest, settings(), clock, 2);
        setLineSums(db(), guest, settings());
        ReTotal(db(), guest, settings(), clock);
        TotalDisc(db(), guest, settings(), c.rate);
        EXPECT_DOUBLE_EQ(guest.tabl_gues_disc, c.disc) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_shou, c.shou) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_fact, c.shou) << c.what;
        EXPECT_EQ(lineRates(bill, "disc_clas_perc"), c.rates) << c.what;
    }
}

TEST(BillTax, ByRateOrPerGuest) {
    struct Case {
        const char* what;
        QString type;
        double percent, perGuest, guests, shou;
        double tax;
    };
    const Case cases[] = {
        {"5 % of 567 is 28.35, to the unit", kTaxByRate, 5, 0, 4, 567, 28},
        {"per guest: 2.5 a head counts 2", kTaxPerGuest, 0, 2.5, 3, 100, 6},
        {"per guest: 3.5 a head counts 4", kTaxPerGuest, 0, 3.5, 2, 100, 8},
        {"per guest, no tax type chosen", QString(), 5, 3, 2, 100, 6},
        {"per guest, an empty people field", kTaxPerGuest, 0, 3, 0, 100, 0},
    };
    for (const Case& c : cases) {
        BillSettings settings;
        settings.sumRounding = kRoundHalfEven;
        settings.taxType = c.type;
        settings.taxPercent = c.percent;
        settings.taxPerGuest = c.perGuest;
        GuestRecord guest;
        guest.tabl_gues_shou = c.shou;
        TotalTax(guest, settings, c.guests);
        EXPECT_DOUBLE_EQ(guest.tabl_gues_tax, c.tax) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_shou, c.shou + c.tax) << c.what;
        EXPECT_DOUBLE_EQ(guest.tabl_gues_fact, c.shou + c.tax) << c.what;
    }
    BillSettings settings;
    GuestRecord guest;
    EXPECT_THROW(TotalTax(guest, settings, -1), std::invalid_argument);
}

TEST_P(BillCalculatorTest, LineRatesAreWrittenOnlyInsideTheCallersTransaction) {
    setSettings(kRoundHalfEven);
    addClass("D", {.service = true});
    addMode("SA", ConsType::kFree, 0, 10);
    GuestRecord guest = openBill(1, "SA", at(1, 19, 0));
    guest.cons_type_code = ConsType::kMinimum;
    guest.tabl_gues_low = guest.tabl_gues_shou = 500;
    addLine(1, "D", 1, 100);

    EXPECT_THROW(ChangeConsType(db(), guest, settings(), clock, 2), std::logic_error);
    // The refused mode change leaves the bill's minimum and receivable as they were.
    EXPECT_EQ(guest.cons_type_code, ConsType::kMinimum);
    EXPECT_EQ(guest.tabl_gues_low, 500);
    EXPECT_EQ(guest.tabl_gues_shou, 500);
    EXPECT_THROW(TotalDisc(db(), guest, settings(), 90), std::logic_error);
    EXPECT_EQ(lineRates(1, "serv_perc"), QList<int>{0});
    EXPECT_EQ(lineRates(1, "disc_clas_perc"), QList<int>{100});

    // A step that fails after the discount leaves neither the line rates nor the bill changed.
    EXPECT_THROW(runCoded(db(), QStringLiteral("B100009"),
                          [&] {
                              TotalDisc(db(), guest, settings(), 90);
                              guest.post(db());
                              throw std::runtime_error("printer jammed");
                          }),
                 CodedFailure);
    EXPECT_EQ(lineRates(1, "disc_clas_perc"), QList<int>{100});
    EXPECT_EQ(GuestRecord::load(db(), 1)->tabl_gues_disc, 0);
}

TEST_P(BillCalculatorTest, BadInputChangesNothing) {
    setSettings(kRoundHalfEven);
    addClass("D", {});
    addMode("F", ConsType::kTeaPerGuest, 10, 0);
    GuestRecord guest = openBill(1, "F", at(1, 19, 0));
    addLine(1, "D", 1, 100);
    addLine(0, "D", 1, 100); // a line that belongs to no bill
    Transaction tx(db());
    EXPECT_THROW(ChangeConsType(db(), guest, settings(), clock, -3), std::invalid_argument);
    EXPECT_THROW(TotalDisc(db(), guest, settings(), 101), std::invalid_argument);
    EXPECT_THROW(TotalDisc(db(), guest, settings(), -10), std::invalid_argument);
    EXPECT_EQ(lineRates(1, "disc_clas_perc"), QList<int>{100});

    GuestRecord unnumbered;
    unnumbered.tabl_gues_shou = 50;
    TotalDisc(db(), unnumbered, settings(), 50);
    EXPECT_EQ(unnumbered.tabl_gues_shou, 50);
    EXPECT_EQ(unnumbered.tabl_gues_disc, 0);
    EXPECT_EQ(lineRates(0, "disc_clas_perc"), QList<int>{100});
}

SORREL_ON_EVERY_ENGINE(BillCalculatorTest);

// The demo venue's big karaoke room, priced by the bands the venue set up: 60 an hour in the
// afternoon, 100 in the evening, 10 % service on the room.
class DemoVenueBillTest : public ::testing::TestWithParam<Engine> {};

TEST_P(DemoVenueBillTest, KaraokeRoomFromAfternoonIntoEvening) {
    test::ScratchDatabase scratch(GetParam(), test::ScratchDatabase::Contents::DemoVenue);
    Database& db = scratch.db();
    const BillSettings settings = BillSettings::load(db);
    ASSERT_FALSE(GuestRecord::load(db, 9001));
    GuestRecord guest;
    guest.tabl_gues_auto_recn = 9001;
    guest.cons_mode_code = QStringLiteral("09");
    guest.tabl_gues_time = at(1, 16, 30);
    FixedClock clock(at(1, 16, 30));
    Transaction tx(db);
    ChangeConsType(db, guest, settings, clock, 6);
    EXPECT_EQ(guest.tabl_gues_room, 60);
    clock.set(at(1, 19, 0));
    ReTotal(db, guest, settings, clock);
    EXPECT_EQ(guest.tabl_gues_room, 190); // 1.4997 h x 60 + 1 h x 100 = 189.98
    EXPECT_EQ(guest.tabl_gues_serv, 19);
    EXPECT_EQ(guest.tabl_gues_shou, 209);
    guest.post(db);
    tx.commit();
    EXPECT_EQ(GuestRecord::load(db, 9001)->tabl_gues_shou, 209);
}

SORREL_ON_EVERY_ENGINE(DemoVenueBillTest);

} // namespace
