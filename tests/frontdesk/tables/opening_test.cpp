// Opening a table: the bill the party starts with, the bill numbers, a booking taken over, a
// failure that leaves nothing behind, and two workstations reaching for the same table.
#include "common/db/errors.h"
#include "common/tables/table_refusals.h"
#include "frontdesk/tables/table_work.h"
#include "tests/frontdesk/tables/venue_fixture.h"
#include "tests/support/failing_database.h"

using namespace sorrel;
using namespace sorrel::tables;

namespace {

class OpeningTest : public test::VenueTest {};

TEST_P(OpeningTest, TheBillStartsWithItsModesChargesForTheParty) {
    // A per-person minimum that is not a whole amount, to see the bill rounding (四舍五入).
    db().exec(QStringLiteral("UPDATE ConsModeList SET cons_mode_mone = 12.5 WHERE cons_mode_code = '05'"));
    struct Case {
        const char* table;
        int guests;
        double minimum, room, service, receivable;
    } cases[] = {
        {"V06", 4, 50, 0, 8, 58},    // type 5: 4 x 12.5; service 15 % of the minimum, 7.5 rounded to 8
        {"K05", 3, 38, 0, 6, 44},    // 3 x 12.5 = 37.5 rounds to 38 (K05 is given V06's type below)
        {"V01", 6, 0, 200, 20, 220}, // type 4: the room fee and its service, 10 %
        {"A01", 0, 0, 0, 0, 0},      // nobody typed: nothing charged
    };
    db().exec(QStringLiteral("UPDATE TableList SET tabl_type_code = '05' WHERE tabl_code = 'K05'"));
    for (const Case& c : cases) {
        const QString code = QString::fromLatin1(c.table);
        const billing::GuestRecord bill = open(code, c.guests, QStringLiteral("王先生"));
        const billing::GuestRecord stored = *billing::GuestRecord::load(db(), bill.tabl_gues_auto_recn);
        EXPECT_EQ(stored.tabl_gues_low, c.minimum) << c.table;
        EXPECT_EQ(stored.tabl_gues_room, c.room) << c.table;
        EXPECT_EQ(stored.tabl_gues_serv, c.service) << c.table;
        EXPECT_EQ(stored.tabl_gues_shou, c.receivable) << c.table;
        EXPECT_EQ(stored.tabl_gues_coun, c.guests) << c.table;
        EXPECT_EQ(stored.orde_code, QStringLiteral("1"));
        EXPECT_TRUE(stored.tabl_gues_use);
        EXPECT_EQ(stored.tabl_gues_time, clock.now());
        const BoardTable now = table(code);
        EXPECT_EQ(now.state, QStringLiteral("2")) << c.table;
        EXPECT_EQ(now.guestNumber, bill.tabl_gues_auto_recn);
        EXPECT_EQ(now.guestName, QStringLiteral("王先生"));
        EXPECT_EQ(now.guestAmount, c.receivable);
    }
}

TEST_P(OpeningTest, BillNumbersFollowOneAnotherAndACancelledRegisterUsesNone) {
    const int first = counter();
    EXPECT_EQ(open(QStringLiteral("A01"), 2).tabl_gues_auto_recn, first);
    const billing::GuestRecord abandoned = typed(db(), QStringLiteral("A02"), 3);
    EXPECT_EQ(abandoned.tabl_gues_auto_recn, first + 1); // what the register screen shows, provisionally
    cancelRegistration(db(), QStringLiteral("A02"));
    EXPECT_EQ(open(QStringLiteral("A03"), 2).tabl_gues_auto_recn, first + 1);
    EXPECT_EQ(counter(), first + 2);
    EXPECT_EQ(stateOf(QStringLiteral("A02")), QStringLiteral("1"));
    EXPECT_EQ(count(QStringLiteral("TableGuestlist")), 2);
}

TEST_P(OpeningTest, ATakenOverBookingGoesOnlyWithTheOpening) {
    struct Case {
        const char* what;
        bool takeOver;
        bool openTable;
        const char* state;
        int bookingsLeft;
    } cases[] = {
        {"cancelled after taking the booking over", true, false, "5", 1},
        {"opened with the booking", true, true, "2", 0},
        {"opened beside the booking", false, true, "2", 1},
    };
    for (const Case& c : cases) {
        const QString code = QStringLiteral("V0%1").arg(int(&c - cases) + 1);
        const int booking = addBooking(code, QStringLiteral("李女士"), 8);
        billing::GuestRecord guest = typed(db(), code, 0);
        const QList<Booking> listed = loadBookings(db(), code);
        ASSERT_EQ(listed.size(), 1);
        EXPECT_EQ(listed[0].operName, QStringLiteral("收银员"));
        if (c.takeOver) takeOverBooking(guest, listed[0]);
        if (c.openTable) {
            const billing::GuestRecord bill = openTable(db(), guest, billing::BillSettings::load(db()), clock,
                                                        c.takeOver ? std::optional(booking) : std::nullopt);
            const billing::GuestRecord stored = *billing::GuestRecord::load(db(), bill.tabl_gues_auto_recn);
            EXPECT_EQ(stored.book_flag, c.takeOver) << c.what;
            EXPECT_EQ(stored.tabl_gues_name, c.takeOver ? QStringLiteral("李女士") : QString()) << c.what;
            EXPECT_EQ(stored.tabl_gues_coun, c.takeOver ? 8 : 0) << c.what;
            EXPECT_EQ(stored.book_oper_code, c.takeOver ? QStringLiteral("02") : QString()) << c.what;
        } else {
            cancelRegistration(db(), code);
        }
        EXPECT_EQ(stateOf(code), QString::fromLatin1(c.state)) << c.what;
        EXPECT_EQ(loadBookings(db(), code).size(), c.bookingsLeft) << c.what;
    }
    // A booked table whose last booking went elsewhere is free again after a cancelled register.
    setState(QStringLiteral("V06"), QStringLiteral("5"));
    cancelRegistration(db(), QStringLiteral("V06"));
    EXPECT_EQ(stateOf(QStringLiteral("V06")), QStringLiteral("1"));
}

TEST_P(OpeningTest, AFailedOpeningLeavesNothingBehind) {
    const int booking = addBooking(QStringLiteral("V02"), QStringLiteral("赵总"), 10);
    const int numberBefore = counter();
    for (const char* failing : {"DELETE FROM bookin", "auto_recn", "INSERT INTO TableGuestlist",
                                "FROM ConsModeList", "UPDATE TableList"}) {
        test::FailingDatabase broken(db(), QString::fromLatin1(failing));
        billing::GuestRecord guest = typed(db(), QStringLiteral("V02"), 0);
        takeOverBooking(guest, loadBookings(db(), QStringLiteral("V02"))[0]);
        try {
            openTable(broken, guest, billing::BillSettings::load(db()), clock, booking);
            FAIL() << "an opening failing at " << failing << " went through";
        } catch (const CodedFailure& e) {
            EXPECT_EQ(e.code(), QStringLiteral("B100002")) << failing;
        }
        EXPECT_FALSE(db().inTransaction());
        EXPECT_EQ(counter(), numberBefore) << failing;
        EXPECT_EQ(count(QStringLiteral("TableGuestlist")), 0) << failing;
        const BoardTable after = table(QStringLiteral("V02"));
        EXPECT_EQ(after.state, QStringLiteral("5")) << failing;
        EXPECT_EQ(after.guestNumber, 0) << failing;
        EXPECT_EQ(loadBookings(db(), QStringLiteral("V02")).size(), 1) << failing;
    }
}

TEST_P(OpeningTest, AStaleBoardCannotOpenATableAnotherWorkstationOpened) {
    std::unique_ptr<Database> other = scratch().connectAgain();
    const billing::GuestRecord mine = typed(db(), QStringLiteral("A01"), 2, QStringLiteral("先到"));
    const billing::GuestRecord theirs =
        openTable(*other, typed(*other, QStringLiteral("A01"), 5, QStringLiteral("后到")),
                  billing::BillSettings::load(*other), clock, {});
    try {
        openTable(db(), mine, billing::BillSettings::load(db()), clock, {});
        ADD_FAILURE() << "the table was opened twice";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), tableChangedElsewhereMessage(QStringLiteral("A01")));
    }
    EXPECT_EQ(count(QStringLiteral("TableGuestlist")), 1);
    EXPECT_EQ(table(QStringLiteral("A01")).guestNumber, theirs.tabl_gues_auto_recn);
    EXPECT_EQ(table(QStringLiteral("A01")).guestName, QStringLiteral("后到"));
    // Both workstations drew from one counter: the next opening here gets the next number.
    EXPECT_EQ(open(QStringLiteral("A02"), 2).tabl_gues_auto_recn, theirs.tabl_gues_auto_recn + 1);

    // A booking another workstation took over meanwhile cannot be taken again.
    const int booking = addBooking(QStringLiteral("V03"), QStringLiteral("孙先生"), 6);
    billing::GuestRecord late = typed(db(), QStringLiteral("V03"), 0);
    takeOverBooking(late, loadBookings(db(), QStringLiteral("V03"))[0]);
    other->exec(QStringLiteral("DELETE FROM bookin WHERE book_code = ?"), {booking});
    EXPECT_THROW(openTable(db(), late, billing::BillSettings::load(db()), clock, booking), StepRefused);
    EXPECT_EQ(stateOf(QStringLiteral("V03")), QStringLiteral("5"));
    EXPECT_EQ(count(QStringLiteral("TableGuestlist")), 2);
}

TEST_P(OpeningTest, ComingBackFromATableRefreshesEveryTablesBoardCopies) {
    const billing::GuestRecord hall = open(QStringLiteral("A01"), 4, QStringLiteral("张三"));
    const billing::GuestRecord karaoke = open(QStringLiteral("K01"), 6, QStringLiteral("KTV客人"));
    // Two and a half hours later in the karaoke room charged by started hours (60 an hour).
    clock.advanceSeconds(2 * 3600 + 1800);
    WorkTable work = continueTable(db(), QStringLiteral("K01"), billing::BillSettings::load(db()), clock);
    EXPECT_EQ(work.guest.tabl_gues_room, 180);
    EXPECT_EQ(work.consTypeName, QStringLiteral("计时房费"));
    EXPECT_TRUE(work.open());
    work.guest.tabl_gues_rema = QStringLiteral("生日");
    leaveTable(db(), &work.guest);

    const BoardTable k01 = table(QStringLiteral("K01"));
    EXPECT_EQ(k01.guestName, QStringLiteral("KTV客人"));
    EXPECT_EQ(k01.guestCount, 6);
    EXPECT_EQ(k01.guestTime, karaoke.tabl_gues_time);
    EXPECT_EQ(k01.guestAmount, 180);
    EXPECT_EQ(billing::GuestRecord::load(db(), karaoke.tabl_gues_auto_recn)->tabl_gues_rema,
              QStringLiteral("生日"));
    EXPECT_EQ(table(QStringLiteral("A01")).guestName, QStringLiteral("张三"));
    EXPECT_EQ(table(QStringLiteral("A01")).guestNumber, hall.tabl_gues_auto_recn);
    EXPECT_TRUE(table(QStringLiteral("A02")).guestName.isEmpty());

    // A table cleared elsewhere meanwhile is not continued from this board's copy.
    setState(QStringLiteral("A01"), QStringLiteral("1"));
    EXPECT_THROW(continueTable(db(), QStringLiteral("A01"), billing::BillSettings::load(db()), clock),
                 StepRefused);
}

TEST_P(OpeningTest, ABoardCopyThatDiffersInAnyColumnIsRefreshed) {
    open(QStringLiteral("A01"), 4, QStringLiteral("张三"));
    const BoardTable fresh = table(QStringLiteral("A01"));
    // Each a copy gone stale, a missing value included, as a crash or another workstation may leave it.
    for (const char* stale : {"tabl_gues_name = '李四'", "tabl_gues_name = NULL", "tabl_gues_coun = 9",
                              "tabl_gues_time = NULL", "tabl_gues_shou = 77"}) {
        db().exec(QStringLiteral("UPDATE TableList SET %1 WHERE tabl_code = 'A01'").arg(QLatin1String(stale)));
        leaveTable(db(), nullptr);
        EXPECT_EQ(table(QStringLiteral("A01")), fresh) << stale;
    }
}

SORREL_ON_EVERY_ENGINE(OpeningTest);

} // namespace
