// The room charge's clock arithmetic: started hours, days with the noon and half-day rules, and
// the walk through a time-priced room's bands, including bands set up badly in the back office.
#include "common/money.h"
#include "frontdesk/billing/room_charge.h"

#include <gtest/gtest.h>

using namespace sorrel;
using namespace sorrel::billing;

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

TEST(RoomCharge, HoursChargedWhenEveryStartedHourCounts) {
    struct Case {
        const char* what;
        QDateTime opened;
        QDateTime now;
        QString rounding;
        double hours;
    };
    const Case cases[] = {
        {"19:10 to 21:25 is three started hours", at(2026, 3, 1, 19, 10), at(2026, 3, 1, 21, 25),
         kRoundHalfEven, 3},
        {"two hours to the second are two", at(2026, 3, 1, 19, 0), at(2026, 3, 1, 21, 0), kRoundHalfEven, 2},
        {"one second more starts the third hour", at(2026, 3, 1, 19, 0), at(2026, 3, 1, 21, 0, 1),
         kRoundHalfEven, 3},
        {"26.5 hours across midnight are 27", at(2026, 3, 1, 20, 0), at(2026, 3, 2, 22, 30), kRoundHalfEven,
         27},
        {"2.75 hours rounded up by the bill rounding are 3", at(2026, 3, 1, 19, 0), at(2026, 3, 1, 21, 45),
         kRoundHalfEven, 3},
        {"raising the fraction gives 3 for 2.25", at(2026, 3, 1, 19, 10), at(2026, 3, 1, 21, 25),
         kRaiseFraction, 3},
        {"dropping the fraction gives 3 for 2.25", at(2026, 3, 1, 19, 10), at(2026, 3, 1, 21, 25),
         kDropFraction, 3},
        {"cents: 2.345 hours charge as 3.34", at(2026, 3, 1, 0, 0), at(2026, 3, 1, 2, 20, 42), kKeepCents,
         3.34},
        {"no rounding charges the exact hours", at(2026, 3, 1, 0, 0), at(2026, 3, 1, 2, 20, 42), QString(),
         2.345},
        {"a clock behind the opening charges nothing", at(2026, 3, 1, 21, 0), at(2026, 3, 1, 20, 0),
         kRoundHalfEven, 0},
        {"an unknown opening time charges nothing", QDateTime(), at(2026, 3, 1, 20, 0), kRoundHalfEven, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(startedHours(stayHours(c.opened, c.now), c.rounding), c.hours, 1e-9) << c.what;
}

TEST(RoomCharge, DaysChargedByTheNoonAndHalfDayRules) {
    struct Case {
        const char* what;
        QDateTime opened;
        QDateTime now;
        bool halfDay;
        double days;
    };
    const Case cases[] = {
        {"in before noon yesterday, now after noon", at(2026, 3, 1, 10, 0), at(2026, 3, 2, 13, 0), false, 3},
        {"in after noon yesterday, now before noon", at(2026, 3, 1, 14, 0), at(2026, 3, 2, 11, 0), false, 1},
        {"across a month end", at(2026, 1, 31, 14, 0), at(2026, 2, 1, 11, 0), false, 1},
        {"across a leap day", at(2028, 2, 28, 14, 0), at(2028, 3, 1, 11, 0), false, 2},
        {"in at 11:59:59 counts the morning", at(2026, 3, 1, 11, 59, 59), at(2026, 3, 1, 11, 59, 59), false,
         1},
        {"in at 12:00:00, now 12:00:00 counts the afternoon", at(2026, 3, 1, 12, 0), at(2026, 3, 1, 12, 0),
         false, 1},
        {"half day: in at 15:00, now 16:00", at(2026, 3, 1, 15, 0), at(2026, 3, 1, 16, 0), true, 0.5},
        {"half day: the same party at 18:30", at(2026, 3, 1, 15, 0), at(2026, 3, 1, 18, 30), true, 1},
        {"half day: 17:59:59 is still the half", at(2026, 3, 1, 15, 0), at(2026, 3, 1, 17, 59, 59), true,
         0.5},
        {"half day: 18:00:00 is the whole day", at(2026, 3, 1, 15, 0), at(2026, 3, 1, 18, 0), true, 1},
        {"half day: in before noon yesterday, now 14:00", at(2026, 3, 1, 10, 0), at(2026, 3, 2, 14, 0), true,
         2.5},
        {"a clock a day behind counts no negative days", at(2026, 3, 2, 14, 0), at(2026, 3, 1, 11, 0), false,
         0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(stayDays(c.opened, c.now, c.halfDay), c.days) << c.what;
}

TimeBand band(int h1, int m1, int s1, int h2, int m2, int s2, double price) {
    return TimeBand{QTime(h1, m1, s1), QTime(h2, m2, s2), price};
}

// The usual set-up: three bands covering the day, each ending the second before the next.
QList<TimeBand> wholeDay() {
    return {band(0, 0, 0, 11, 59, 59, 20), band(12, 0, 0, 17, 59, 59, 30), band(18, 0, 0, 23, 59, 59, 40)};
}

TEST(RoomCharge, TimeBandsWalkedWithinTheDayAndAcrossMidnight) {
    struct Case {
        const char* what;
        QList<TimeBand> bands;
        QTime opened;
        QTime now;
        double charge; // to the cent
    };
    const QList<TimeBand> day = wholeDay();
    const Case cases[] = {
        {"16:30 to 19:00 crosses one band end", day, QTime(16, 30), QTime(19, 0), 84.99},
        {"22:00 to 01:30 crosses midnight", day, QTime(22, 0), QTime(1, 30), 109.99},
        {"inside one band", day, QTime(13, 0), QTime(14, 30), 45},
        {"no time spent", day, QTime(13, 0), QTime(13, 0), 0},
        {"from morning to night through every band", day, QTime(11, 0), QTime(20, 0),
         (3599 * 20 + 21599 * 30 + 7200 * 40) / 3600.0},
        {"stored out of order charges the same",
         {day[2], day[0], day[1]},
         QTime(16, 30),
         QTime(19, 0),
         84.99},
        {"a gap between bands is free and nothing goes negative",
         {band(0, 0, 0, 11, 59, 59, 20), band(14, 0, 0, 23, 59, 59, 40)},
         QTime(10, 0),
         QTime(13, 0),
         7199 * 20 / 3600.0},
        {"opened inside a gap, charged from the next band",
         {band(0, 0, 0, 11, 59, 59, 20), band(14, 0, 0, 23, 59, 59, 40)},
         QTime(12, 30),
         QTime(15, 0),
         40},
        {"overlapping bands charge each hour once, at the first band's price",
         {band(12, 0, 0, 17, 59, 59, 30), band(16, 0, 0, 23, 59, 59, 40)},
         QTime(16, 0),
         QTime(19, 0),
         (7199 * 30 + 3601 * 40) / 3600.0},
        {"a band inside another earlier one charges nothing more",
         {band(0, 0, 0, 23, 59, 59, 10), band(13, 0, 0, 14, 0, 0, 99)},
         QTime(12, 0),
         QTime(15, 0),
         30},
        {"a band across midnight",
         {band(22, 0, 0, 2, 0, 0, 50)},
         QTime(23, 0),
         QTime(1, 0),
         (3599 + 3600) * 50 / 3600.0},
        {"a new band of 12:00 to 12:00 charges nothing",
         {band(12, 0, 0, 12, 0, 0, 30)},
         QTime(11, 0),
         QTime(13, 0),
         0},
        {"a negative price charges nothing", {band(0, 0, 0, 23, 59, 59, -30)}, QTime(11, 0), QTime(13, 0), 0},
        {"no bands", {}, QTime(11, 0), QTime(13, 0), 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(timeBandCharge(c.bands, c.opened, c.now), c.charge, 0.005) << c.what;
    EXPECT_DOUBLE_EQ(IntWay(timeBandCharge(day, QTime(16, 30), QTime(19, 0)), kRoundHalfEven), 85);
    EXPECT_DOUBLE_EQ(IntWay(timeBandCharge(day, QTime(22, 0), QTime(1, 30)), kRoundHalfEven), 110);
}

} // namespace
