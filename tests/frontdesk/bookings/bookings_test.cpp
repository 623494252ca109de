// Bookings: the time the two pickers make, the search over every booking, a booking changed
// elsewhere, and the table's state after "保存回退".
#include "common/db/errors.h"
#include "common/tables/table_refusals.h"
#include "frontdesk/bookings/bookings.h"
#include "tests/frontdesk/tables/venue_fixture.h"

using namespace sorrel;
using namespace sorrel::bookings;

namespace {

class BookingsTest : public test::VenueTest {
  protected:
    int book(const QString& table, const QString& name, const QDateTime& at, const QString& phone = {},
             const QString& staff = QStringLiteral("01")) {
        tables::Booking b;
        b.tableCode = table;
        b.name = name;
        b.count = 4;
        b.time = at;
        b.phone = phone;
        b.operCode = staff;
        return saveBooking(db(), b);
    }
    QStringList names(const QList<tables::Booking>& list) {
        QStringList n;
        for (const tables::Booking& b : list)
            n << b.name;
        return n;
    }
};

TEST_P(BookingsTest, TheBookingTimeIsThePickersDateWithThePickersTime) {
    // The time picker carries a date of its own; only its time of day counts.
    const QDateTime picked =
        bookingTime(QDate(2024, 6, 5), QDateTime(QDate(2024, 5, 2), QTime(19, 30)).time());
    const int code = book(QStringLiteral("V01"), QStringLiteral("刘先生"), picked);
    const QList<tables::Booking> stored = tables::loadBookings(db(), QStringLiteral("V01"));
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0].code, code);
    EXPECT_EQ(stored[0].time, QDateTime(QDate(2024, 6, 5), QTime(19, 30)));
    EXPECT_EQ(stored[0].operName, QStringLiteral("管理员"));
    // Changed and saved again, it keeps its number.
    tables::Booking changed = stored[0];
    changed.time = bookingTime(QDate(2024, 6, 6), QTime(12, 0));
    changed.count = 9;
    EXPECT_EQ(saveBooking(db(), changed), code);
    EXPECT_EQ(tables::loadBookings(db(), QStringLiteral("V01"))[0].time,
              QDateTime(QDate(2024, 6, 6), QTime(12, 0)));
    EXPECT_EQ(tables::loadBookings(db(), QStringLiteral("V01"))[0].count, 9);
    // Taken over at another workstation meanwhile: the change is refused, nothing comes back.
    deleteBooking(*scratch().connectAgain(), code);
    try {
        saveBooking(db(), changed);
        ADD_FAILURE() << "a booking taken over elsewhere was saved again";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), tables::bookingGoneMessage());
    }
    EXPECT_TRUE(tables::loadBookings(db(), QStringLiteral("V01")).isEmpty());
    EXPECT_FALSE(bookingTimeSet(QDateTime(QDate(1899, 12, 30), QTime(0, 0))));
    EXPECT_TRUE(bookingTimeSet(QDateTime(QDate(1900, 1, 1), QTime(0, 0))));
}

TEST_P(BookingsTest, ASearchListsTheBookingsThatMeetEveryCriterion) {
    book(QStringLiteral("V01"), QStringLiteral("前一晚"), QDateTime(QDate(2024, 6, 4), QTime(23, 59, 59)));
    book(QStringLiteral("V02"), QStringLiteral("午夜"), QDateTime(QDate(2024, 6, 5), QTime(0, 0)),
         "13900001111");
    book(QStringLiteral("A03"), QStringLiteral("张晚宴"), QDateTime(QDate(2024, 6, 5), QTime(23, 59, 59)), {},
         "02");
    book(QStringLiteral("V01"), QStringLiteral("张次日"), QDateTime(QDate(2024, 6, 6), QTime(0, 0)));
    book(QStringLiteral("K01"), QStringLiteral("未定"), QDateTime());
    const QList<tables::Booking> all = tables::loadBookings(db(), std::nullopt);
    ASSERT_EQ(all.size(), 5);
    struct Case {
        const char* what;
        BookingSearch search;
        QStringList found;
    } cases[] = {
        {"the date alone: the whole of 5 June, any table", {.date = QDate(2024, 6, 5)}, {"午夜", "张晚宴"}},
        {"nothing asked: every booking", {}, {"未定", "前一晚", "午夜", "张晚宴", "张次日"}},
        {"blanks ask nothing", {.guest = "  ", .table = " "}, {"未定", "前一晚", "午夜", "张晚宴", "张次日"}},
        {"part of the name", {.guest = "张"}, {"张晚宴", "张次日"}},
        {"name and date together", {.date = QDate(2024, 6, 5), .guest = "张"}, {"张晚宴"}},
        {"part of the phone", {.phone = "0001"}, {"午夜"}},
        {"the staff code", {.staff = "02"}, {"张晚宴"}},
        {"part of the table code", {.table = "V0"}, {"前一晚", "午夜", "张次日"}},
        {"a name nobody has", {.guest = "%"}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(names(searchBookings(all, c.search)), c.found) << c.what;
}

TEST_P(BookingsTest, SaveAndReturnShowsAFreeTableBookedOnlyWhileABookingIsLeft) {
    struct Case {
        const char* what;
        const char* state;
        bool bookingLeft;
        const char* after;
    } cases[] = {
        {"the last booking of a booked table deleted", "5", false, "1"},
        {"a free table booked", "1", true, "5"},
        {"a table in use keeps its state", "2", true, "2"},
        {"a reopened table keeps its state", "4", true, "4"},
        {"a table settled elsewhere meanwhile keeps its state", "3", true, "3"},
        {"a disabled table stays disabled", "6", false, "6"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString code = QStringLiteral("A%1").arg(++n, 2, 10, QLatin1Char('0'));
        const int booking = book(code, QStringLiteral("客人"), QDateTime(QDate(2024, 6, 5), QTime(19, 30)));
        setState(code, QString::fromLatin1(c.state));
        if (!c.bookingLeft) deleteBooking(db(), booking);
        EXPECT_EQ(settleBookedState(db(), code), QString::fromLatin1(c.after)) << c.what;
        EXPECT_EQ(stateOf(code), QString::fromLatin1(c.after)) << c.what;
    }
}

SORREL_ON_EVERY_ENGINE(BookingsTest);

} // namespace
