// Bookings through the real screens: the board's "预订", the entry and search modes, "保存回退",
// and taking a booking over when the party arrives.
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/bookings/booking_screen.h"
#include "frontdesk/bookings/bookings.h"
#include "tests/frontdesk/tables/desk_fixture.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QMenu>
#include <QTimeEdit>

using namespace sorrel;
using namespace sorrel::frontdesk;
using namespace sorrel::bookings;

namespace {

class BookingScreenTest : public test::DeskTest {
  protected:
    BookingScreen& screen() { return *window_->tableDesk()->bookingScreen(); }
    QToolButton* button(const char* name) { return screen().toolbar()->button(name); }
    void press(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void bookFromBoard(const QString& code) {
        click(code, Qt::RightButton);
        ASSERT_TRUE(board().stateMenu());
        for (QAction* action : board().stateMenu()->actions())
            if (action->text() == QStringLiteral("预订")) {
                board().stateMenu()->close();
                action->trigger();
            }
        ASSERT_EQ(current(), &screen());
    }
    void typeBooking(const QString& name, const QString& count, const QDate& date, const QTime& time) {
        press(booking_tool::kAdd);
        find<QLineEdit>("edt_BookName")->setText(name);
        QTest::keyClicks(find<QLineEdit>("edt_BookCount"), count);
        find<QDateEdit>("dtp_BookDate")->setDate(date);
        find<QTimeEdit>("dtp_BookTime")->setTime(time);
    }
};

TEST_F(BookingScreenTest, ABookingIsKeptFoundAndTakenOverWhenThePartyArrives) {
    startDesk();
    bookFromBoard(QStringLiteral("A01"));
    using namespace booking_tool;
    for (const char* shown : {kAdd, kDelete, kSave, kCancel})
        EXPECT_TRUE(button(shown)->isVisible()) << shown;
    for (const char* hidden : {kReset, kRunSearch})
        EXPECT_FALSE(button(hidden)->isVisible()) << hidden;
    EXPECT_TRUE(button(kEntryMode)->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), find<QLineEdit>("edt_BookName"));
    EXPECT_EQ(find<QLabel>("lbl_BookTable")->text(), QStringLiteral("A01/大厅1号桌"));

    // The time picker at 19:30 and the date picker at 5 June make one booking time.
    typeBooking(QStringLiteral("郑先生"), QStringLiteral("6"), QDate(2024, 6, 5), QTime(19, 30));
    press(kSave);
    const QList<tables::Booking> saved = tables::loadBookings(db(), QStringLiteral("A01"));
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved[0].time, QDateTime(QDate(2024, 6, 5), QTime(19, 30)));
    EXPECT_EQ(saved[0].count, 6);
    EXPECT_EQ(saved[0].operCode, QStringLiteral("01"));
    EXPECT_EQ(screen().entryList()->rowCount(), 1);
    test::saveScreenshot(window_.get(), QStringLiteral("booking_entry"));

    // The search over every booking: the date alone finds the whole of 5 June.
    press(kSearchMode);
    for (const char* hidden : {kAdd, kDelete, kSave, kCancel})
        EXPECT_FALSE(button(hidden)->isVisible()) << hidden;
    EXPECT_TRUE(button(kRunSearch)->isVisible());
    db().exec(QStringLiteral("INSERT INTO bookin (tabl_code, book_name, book_coun, book_time) VALUES "
                             "('V02', '次日客', 2, '2024-06-06 00:00:00')"));
    press(kSearchMode);
    EXPECT_EQ(screen().searchList()->rowCount(), 2);
    find<QCheckBox>("chk_BookDate")->setChecked(true);
    find<QDateEdit>("dtp_BookSearchDate")->setDate(QDate(2024, 6, 5));
    press(kRunSearch);
    ASSERT_EQ(screen().searchList()->rowCount(), 1);
    EXPECT_EQ(screen().searchList()->rows().at(0).at(0), QStringLiteral("郑先生"));
    test::saveScreenshot(window_.get(), QStringLiteral("booking_search"));
    press(kReset);
    EXPECT_EQ(screen().searchList()->rowCount(), 2);

    press(kSaveBack);
    EXPECT_EQ(current(), board().graphicView());
    EXPECT_EQ(boardState(QStringLiteral("A01")), QStringLiteral("5"));

    // The party of 6 arrives: the booking fills the opening and leaves the list.
    doubleClick(QStringLiteral("A01"));
    ASSERT_EQ(current(), &registerScreen());
    sink_.answers = {true};
    QTest::mouseClick(tool(QStringLiteral("预订转入")), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>("edt_GuestCount")->text(), QStringLiteral("6"));
    EXPECT_EQ(find<QLineEdit>("edt_GuestName")->text(), QStringLiteral("郑先生"));
    EXPECT_EQ(registerScreen().bookingList()->rowCount(), 0);
    QTest::mouseClick(tool(QStringLiteral("开台 +")), Qt::LeftButton);
    ASSERT_EQ(current(), &workScreen());
    EXPECT_EQ(workScreen().work().guest.tabl_gues_coun, 6);
    EXPECT_TRUE(tables::loadBookings(db(), QStringLiteral("A01")).isEmpty());
}

TEST_F(BookingScreenTest, SaveAndReturnLeavesAnOccupiedTableOccupiedAndFreesOneWithoutBookings) {
    openOn(db(), QStringLiteral("A02"), 2, QStringLiteral("在座"));
    db().exec(
        QStringLiteral("INSERT INTO bookin (tabl_code, book_name, book_coun) VALUES ('A03', '孔女士', 4)"));
    setState(QStringLiteral("A03"), QStringLiteral("5"));
    startDesk();
    using namespace booking_tool;
    // Booked while the party sits: the table stays in use.
    bookFromBoard(QStringLiteral("A02"));
    typeBooking(QStringLiteral("晚到客"), QStringLiteral("4"), QDate(2024, 6, 5), QTime(20, 0));
    press(kSaveBack); // what was typed is saved on the way out
    EXPECT_EQ(tables::loadBookings(db(), QStringLiteral("A02")).size(), 1);
    EXPECT_EQ(stateNow(QStringLiteral("A02")), QStringLiteral("2"));
    // The last booking of a booked table deleted: free again.
    bookFromBoard(QStringLiteral("A03"));
    sink_.answers = {true};
    press(kDelete);
    EXPECT_EQ(sink_.texts().last(), bookings::kDeleteQuestion);
    EXPECT_EQ(screen().entryList()->rowCount(), 0);
    press(kDelete); // nothing left to delete: no question
    EXPECT_EQ(sink_.shown.size(), 1);
    press(kSaveBack);
    EXPECT_EQ(stateNow(QStringLiteral("A03")), QStringLiteral("1"));
    EXPECT_EQ(boardState(QStringLiteral("A03")), QStringLiteral("1"));
}

// Digits typed into the time change the hour, however the field was entered.
TEST_F(BookingScreenTest, DigitsTypedIntoTheTimeSetTheHour) {
    startDesk();
    bookFromBoard(QStringLiteral("A01"));
    press(booking_tool::kAdd);
    auto* time = find<QTimeEdit>("dtp_BookTime");
    const Qt::FocusReason reasons[] = {Qt::OtherFocusReason, Qt::MouseFocusReason, Qt::TabFocusReason};
    for (Qt::FocusReason reason : reasons) {
        find<QLineEdit>("edt_BookName")->setFocus();
        time->setTime(QTime(18, 0));
        time->setFocus(reason);
        QTest::keyClicks(time, QStringLiteral("20"));
        EXPECT_EQ(time->time().hour(), 20) << int(reason);
    }
}

} // namespace
