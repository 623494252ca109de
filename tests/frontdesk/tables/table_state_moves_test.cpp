// Every move of a table's state from every one of the six states: where the venue's steps may take
// a table, and that a table in any other state is refused and left as it was, both when the move
// checks the database itself and when the step read the table under its lock first.
#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/tables/table_refusals.h"
#include "common/tables/table_state_moves.h"
#include "frontdesk/tables/table_state.h"
#include "tests/frontdesk/tables/venue_fixture.h"

using namespace sorrel;
using namespace sorrel::tables;

namespace {

class TableStateMovesTest : public test::VenueTest {};

// The states each step starts from and where it leaves the table ("booked" where a booking
// waits), as the front desk's steps have always moved tables.
const struct Expected {
    const char* step;
    TableMove move;
    const char* from; // the states allowed, one character each
    const char* to;
    const char* toWhenBooked;
} kExpected[] = {
    {"开台", TableMove::Open, "15", "2", "2"},
    {"回退 on the register screen", TableMove::CancelRegistration, "5", "1", "5"},
    {"禁用", TableMove::Disable, "1", "6", "6"},
    {"启用", TableMove::Enable, "6", "1", "1"},
    {"a booking saved or deleted", TableMove::Book, "15", "1", "5"},
    {"结帐", TableMove::Settle, "24", "3", "3"},
    {"清台", TableMove::Clear, "3", "1", "5"},
    {"续单", TableMove::Resume, "3", "4", "4"},
    {"反结", TableMove::ReverseSettle, "1", "4", "4"},
    {"转台 away", TableMove::TransferAway, "24", "1", "1"},
    {"转台 in", TableMove::TransferIn, "1", "2", "2"},
    {"并台 away", TableMove::MergeAway, "24", "1", "1"},
    {"the venue reset", TableMove::ResetVenue, "123456", "1", "1"},
};

TEST_P(TableStateMovesTest, EveryMoveFromEveryStateIsMadeOrRefused) {
    ASSERT_EQ(tableMoveRules().size(), qsizetype(std::size(kExpected)));
    const QStringList states{"1", "2", "3", "4", "5", "6"};
    // A01 has no booking, A02 has one waiting.
    addBooking(QStringLiteral("A02"), QStringLiteral("吴女士"), 4);
    for (const Expected& e : kExpected) {
        for (const QString& state : states) {
            for (const bool booked : {false, true}) {
                for (const bool held : {false, true}) {
                    const QString code = booked ? QStringLiteral("A02") : QStringLiteral("A01");
                    const std::string what = std::string(e.step) + " from " + state.toStdString() +
                                             (booked ? ", booked" : "") + (held ? ", held" : "");
                    setState(code, state);
                    const bool allowed = QString::fromLatin1(e.from).contains(state);
                    EXPECT_EQ(moveAllowed(e.move, state), allowed) << what;
                    Transaction tx(db());
                    try {
                        if (held)
                            moveHeldTable(db(), code, state, e.move);
                        else
                            moveTable(db(), code, e.move);
                        tx.commit();
                        EXPECT_TRUE(allowed) << what << ": moved";
                        EXPECT_EQ(stateOf(code), QString::fromLatin1(booked ? e.toWhenBooked : e.to)) << what;
                    } catch (const StepRefused& refused) {
                        EXPECT_FALSE(allowed) << what << ": refused";
                        EXPECT_EQ(refused.text(), tableChangedElsewhereMessage(code)) << what;
                    }
                    if (!allowed) {
                        EXPECT_EQ(stateOf(code), state) << what;
                    }
                }
            }
        }
    }
}

TEST_P(TableStateMovesTest, AMoveWritesTheColumnsGivenWithTheStateAndAStepMayNameTheTarget) {
    TableColumns columns;
    columns.bill = 42;
    columns.guestName = QStringLiteral("周先生");
    columns.guestCount = 4;
    columns.guestTime = clock.now();
    columns.receivable = 88.5;
    moveTable(db(), QStringLiteral("A01"), TableMove::TransferIn, columns, TableState::kReopened);
    BoardTable moved = table(QStringLiteral("A01"));
    EXPECT_EQ(moved.state, TableState::kReopened);
    EXPECT_EQ(moved.guestNumber, 42);
    EXPECT_EQ(moved.guestName, QStringLiteral("周先生"));
    EXPECT_EQ(moved.guestCount, 4);
    EXPECT_EQ(moved.guestTime, clock.now());
    EXPECT_DOUBLE_EQ(moved.guestAmount, 88.5);
    // Only the columns given change: the settle keeps the bill and its opening time.
    TableColumns settled;
    settled.guestName = QStringLiteral("林小姐");
    settled.receivable = 90;
    moveTable(db(), QStringLiteral("A01"), TableMove::Settle, settled);
    moved = table(QStringLiteral("A01"));
    EXPECT_EQ(moved.state, TableState::kSettled);
    EXPECT_EQ(moved.guestNumber, 42);
    EXPECT_EQ(moved.guestName, QStringLiteral("林小姐"));
    EXPECT_EQ(moved.guestTime, clock.now());
    EXPECT_DOUBLE_EQ(moved.guestAmount, 90);
    // A table the bill left keeps no copy of it.
    moveTable(db(), QStringLiteral("A01"), TableMove::Clear, TableColumns::vacated());
    moved = table(QStringLiteral("A01"));
    EXPECT_EQ(moved.guestNumber, 0);
    EXPECT_TRUE(moved.guestName.isEmpty());
    EXPECT_FALSE(moved.guestTime.isValid());
    EXPECT_EQ(moved.guestAmount, 0);
    // No table by that code: refused like a table another desk changed.
    EXPECT_THROW(moveTable(db(), QStringLiteral("ZZ9"), TableMove::Disable), StepRefused);
    EXPECT_FALSE(moveTableIfAllowed(db(), QStringLiteral("A01"), TableMove::Enable));
}

SORREL_ON_EVERY_ENGINE(TableStateMovesTest);

} // namespace
