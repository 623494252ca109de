// Two workstations on one venue: every step of the front desk taken on a table or a bill that the
// other desk has meanwhile merged away, transferred, settled, cleared, reopened, resumed, opened
// or disabled. Each step refuses with a message and writes nothing; none ends the program (a
// database error or a coded failure would close it).
#include "common/business_day.h"
#include "common/db/errors.h"
#include "common/tables/table_refusals.h"
#include "frontdesk/bookings/bookings.h"
#include "frontdesk/checkout/checkout.h"
#include "frontdesk/ordering/order_commit.h"
#include "frontdesk/ordering/order_menu.h"
#include "frontdesk/ordering/order_staging.h"
#include "frontdesk/table_life/clearing.h"
#include "frontdesk/table_life/held_table.h"
#include "frontdesk/table_life/reopening.h"
#include "frontdesk/table_life/reverse_settlement.h"
#include "frontdesk/table_life/table_moves.h"
#include "frontdesk/tables/table_state.h"
#include "frontdesk/tables/table_work.h"
#include "tests/frontdesk/table_life/settled_venue.h"

#include <functional>
#include <map>

using namespace sorrel;
using namespace sorrel::tables;
using namespace sorrel::table_life;

namespace {

const QString kMine = QStringLiteral("A03");
const checkout::Cashier kCashier{QStringLiteral("01"), QStringLiteral("管理员"), QStringLiteral("1"),
                                 QStringLiteral("早班")};

class OtherDeskTest : public test::SettledVenue {
  protected:
    void SetUp() override {
        // A case that starts afresh closes the other desk before its venue goes.
        other_.reset();
        SettledVenue::SetUp();
        other_ = scratch().connectAgain();
    }
    Database& other() { return *other_; }
    billing::BillSettings settings() { return billing::BillSettings::load(db()); }

    int openOn(Database& on, const QString& code) {
        return openTable(on, typed(on, code, 2, QStringLiteral("钱先生")), billing::BillSettings::load(on),
                         clock, {})
            .tabl_gues_auto_recn;
    }
    void settleOn(Database& on, const QString& code) {
        checkout::CheckoutSession session(on, clock);
        session.enter(code);
        session.settle(session.prepare(), kCashier);
    }

    // What the other desk does to A03 and its bill `bill` while this desk looks at them.
    enum class Move {
        MergedAway,
        Transferred,
        Settled,
        Cleared,
        ClearedAndReopened,
        Resumed,
        Opened,
        Disabled,
        DayEnded
    };
    void otherDeskDoes(Move move, int bill) {
        switch (move) {
        case Move::MergedAway:
            openOn(other(), QStringLiteral("A04"));
            mergeTable(other(), kMine, bill, QStringLiteral("A04"), billing::BillSettings::load(other()),
                       clock);
            return;
        case Move::Transferred:
            transferTable(other(), kMine, bill, QStringLiteral("A05"));
            return;
        case Move::Settled:
            if (stateOf(kMine) != TableState::kSettled) settleOn(other(), kMine);
            return;
        case Move::Cleared:
            otherDeskDoes(Move::Settled, bill);
            clearTable(other(), kMine, bill);
            return;
        case Move::ClearedAndReopened:
            otherDeskDoes(Move::Cleared, bill);
            openOn(other(), kMine);
            return;
        case Move::Resumed:
            resumeTable(other(), kMine, bill, billing::BillSettings::load(other()), clock);
            return;
        case Move::Opened:
            openOn(other(), kMine);
            return;
        case Move::Disabled:
            disableTable(other(), kMine);
            return;
        case Move::DayEnded:
            endDay(other(), clock);
            return;
        }
    }

    // Runs `step` on this desk and expects a refusal naming A03's table or bill (`bill`); a
    // database error or a coded failure fails the case.
    void expectRefused(const std::function<void()>& step, int bill, const std::string& what) {
        try {
            step();
            ADD_FAILURE() << what << ": went on";
        } catch (const StepRefused& refused) {
            EXPECT_TRUE(refused.text() == tableChangedElsewhereMessage(kMine) ||
                        refused.text() == billChangedElsewhereMessage(bill) ||
                        refused.text() == checkout::kNotInUseMessage ||
                        refused.text() == kBillAfterDayEndMessage)
                << what << ": " << refused.text().toStdString();
        } catch (const std::exception& e) {
            ADD_FAILURE() << what << ": the program would close: " << e.what();
        }
    }

    std::unique_ptr<Database> other_;
};

const std::map<int, const char*> kMoveNames{
    {0, "merged away"}, {1, "transferred"}, {2, "settled"},  {3, "cleared"},      {4, "cleared and reopened"},
    {5, "resumed"},     {6, "opened"},      {7, "disabled"}, {8, "ended the day"}};

std::string named(const char* step, int move) {
    return std::string(step) + " after the other desk " + kMoveNames.at(move);
}

// A step on an open bill that this desk read before the other desk moved it.
TEST_P(OtherDeskTest, EveryStepOnAnOpenBillRefusesWhenTheOtherDeskMovedIt) {
    using Step = std::function<std::function<void()>(int bill)>;
    // Each step reads what it needs first (the screen it runs from is showing), then answers what
    // the operator's key press does.
    // A step that reads the table afresh (`fresh`) finds the table's new bill when the other desk
    // cleared and reopened it, and rightly goes on with that one; an order (`followsBill`) goes
    // onto its bill wherever the bill was transferred.
    const struct {
        const char* name;
        Step prepare;
        bool fresh = false;
        bool followsBill = false;
    } steps[] = {
        {"leaving the work screen with a remark",
         [&](int) -> std::function<void()> {
             auto work = std::make_shared<WorkTable>(continueTable(db(), kMine, settings(), clock));
             return [this, work] {
                 work->guest.tabl_gues_rema = QStringLiteral("vip");
                 if (const std::optional<QString> refusal = leaveTable(db(), &work->guest))
                     throw StepRefused(*refusal);
             };
         }},
        {"coming to the table from the board",
         [&](int) -> std::function<void()> {
             return [this] { continueTable(db(), kMine, settings(), clock); };
         },
         true},
        {"committing an order",
         [&](int bill) -> std::function<void()> {
             auto staging = std::make_shared<ordering::OrderStaging>(db(), bill, kMine, QStringLiteral("01"),
                                                                     [](const QString&) { return true; });
             staging->begin();
             staging->choose(*ordering::loadOrderItem(db(), QStringLiteral("102001")));
             return [this, staging, bill] {
                 // An order typed on for a bill merged away goes nowhere either.
                 staging->choose(*ordering::loadOrderItem(db(), QStringLiteral("102001")));
                 ordering::commitOrder(db(), bill, clock);
             };
         },
         false, true},
        {"entering checkout",
         [&](int) -> std::function<void()> {
             return [this] {
                 checkout::CheckoutSession session(db(), clock);
                 session.enter(kMine);
             };
         },
         true},
        {"settling",
         [&](int) -> std::function<void()> {
             auto session = std::make_shared<checkout::CheckoutSession>(db(), clock);
             session->enter(kMine);
             return [session] { session->settle(session->prepare(), kCashier); };
         }},
        {"going back from checkout",
         [&](int) -> std::function<void()> {
             auto session = std::make_shared<checkout::CheckoutSession>(db(), clock);
             session->enter(kMine);
             return [session] {
                 if (!session->back()) throw StepRefused(tableChangedElsewhereMessage(kMine));
             };
         }},
        {"transferring",
         [&](int bill) -> std::function<void()> {
             return [this, bill] { transferTable(db(), kMine, bill, QStringLiteral("A06")); };
         }},
        {"merging",
         [&](int bill) -> std::function<void()> {
             openOn(db(), QStringLiteral("A07"));
             return [this, bill] { mergeTable(db(), kMine, bill, QStringLiteral("A07"), settings(), clock); };
         }},
    };
    const Move moves[] = {Move::MergedAway, Move::Transferred, Move::Settled, Move::Cleared,
                          Move::ClearedAndReopened};
    for (const auto& step : steps) {
        for (const Move move : moves) {
            if (step.fresh && move == Move::ClearedAndReopened) continue;
            if (step.followsBill && move == Move::Transferred) continue;
            SetUp();
            const int bill = openOn(db(), kMine);
            addLine(bill, "1", 2, 30);
            const std::function<void()> press = step.prepare(bill);
            otherDeskDoes(move, bill);
            const QStringList before = everything();
            const std::string what = named(step.name, int(move));
            expectRefused(press, bill, what);
            EXPECT_EQ(everything(), before) << what;
        }
    }
}

// A step on a settled bill, a free table or a cleared bill, after the other desk moved the table.
TEST_P(OtherDeskTest, EveryStepOnASettledOrFreeTableRefusesWhenTheOtherDeskMovedIt) {
    struct Case {
        const char* name;
        bool settled; // A03 holds a settled bill (else it is free, its last bill cleared)
        Move move;
        std::function<void(int bill)> step;
    };
    const std::string password = "8888";
    const Case cases[] = {
        {"clearing", true, Move::Cleared, [&](int b) { clearTable(db(), kMine, b); }},
        {"clearing", true, Move::ClearedAndReopened, [&](int b) { clearTable(db(), kMine, b); }},
        {"clearing", true, Move::Resumed, [&](int b) { clearTable(db(), kMine, b); }},
        {"resuming", true, Move::Cleared, [&](int b) { resumeTable(db(), kMine, b, settings(), clock); }},
        {"resuming", true, Move::Resumed, [&](int b) { resumeTable(db(), kMine, b, settings(), clock); }},
        {"resuming", true, Move::ClearedAndReopened,
         [&](int b) { resumeTable(db(), kMine, b, settings(), clock); }},
        {"opening", false, Move::Opened, [&](int) { openOn(db(), kMine); }},
        {"opening", false, Move::Disabled, [&](int) { openOn(db(), kMine); }},
        {"disabling", false, Move::Opened, [&](int) { disableTable(db(), kMine); }},
        {"disabling", false, Move::Disabled, [&](int) { disableTable(db(), kMine); }},
        {"enabling", false, Move::Opened, [&](int) { enableTable(db(), kMine); }},
        {"reverse settlement", false, Move::Opened,
         [&](int b) { reverseSettle(db(), kMine, b, QString::fromStdString(password), settings(), clock); }},
        {"reverse settlement", false, Move::DayEnded,
         [&](int b) { reverseSettle(db(), kMine, b, QString::fromStdString(password), settings(), clock); }},
        {"reverse settlement", false, Move::Disabled,
         [&](int b) { reverseSettle(db(), kMine, b, QString::fromStdString(password), settings(), clock); }},
    };
    for (const Case& c : cases) {
        SetUp();
        const int bill = settledBill(kMine);
        if (!c.settled) clearTable(db(), kMine, bill);
        otherDeskDoes(c.move, bill);
        const QStringList before = everything();
        const std::string what = named(c.name, int(c.move));
        expectRefused([&] { c.step(bill); }, bill, what);
        EXPECT_EQ(everything(), before) << what;
    }
    // Reverse settlement of a bill the other desk already brought back.
    SetUp();
    const int bill = settledBill(kMine);
    clearTable(db(), kMine, bill);
    reverseSettle(other(), kMine, bill, QStringLiteral("8888"), settings(), clock);
    const QStringList before = everything();
    expectRefused([&] { reverseSettle(db(), kMine, bill, QStringLiteral("8888"), settings(), clock); }, bill,
                  "reverse settlement twice");
    EXPECT_EQ(everything(), before);
}

// The steps that follow the table as it is rather than refuse: a booking saved or deleted, and
// the register screen's 回退, leave a table the other desk opened meanwhile as it is.
TEST_P(OtherDeskTest, ABookingOrACancelledRegistrationLeavesATableOpenedElsewhere) {
    addBooking(kMine, QStringLiteral("吴女士"), 4);
    db().exec(QStringLiteral("DELETE FROM bookin WHERE tabl_code = ?"), {kMine});
    openOn(other(), kMine);
    EXPECT_EQ(bookings::settleBookedState(db(), kMine), TableState::kInUse);
    cancelRegistration(db(), kMine);
    EXPECT_EQ(stateOf(kMine), TableState::kInUse);
}

// Desk 1 has A03 open and types a remark; desk 2 merges A03 into A04; desk 1 presses 回退.
TEST_P(OtherDeskTest, LeavingABillMergedAwayElsewhereGoesBackToTheBoardWithTheRefusal) {
    const int mine = openOn(db(), kMine);
    WorkTable work = continueTable(db(), kMine, settings(), clock);
    work.guest.tabl_gues_rema = QStringLiteral("vip");
    const int into = openOn(other(), QStringLiteral("A04"));
    mergeTable(other(), kMine, mine, QStringLiteral("A04"), billing::BillSettings::load(other()), clock);
    EXPECT_EQ(leaveTable(db(), &work.guest), tableChangedElsewhereMessage(kMine));
    EXPECT_EQ(bill(into).tabl_gues_rema, QString());
    EXPECT_EQ(rowsOf("TableGuestlist", mine), 0);
    EXPECT_EQ(stateOf(kMine), TableState::kFree);
}

// An order refused because its bill was merged away names the table it was typed at.
TEST_P(OtherDeskTest, AnOrderRefusedForABillMergedAwayNamesItsTable) {
    const int mine = openOn(db(), kMine);
    openOn(other(), QStringLiteral("A04"));
    mergeTable(other(), kMine, mine, QStringLiteral("A04"), billing::BillSettings::load(other()), clock);
    ordering::OrderStaging staging(db(), mine, kMine, QStringLiteral("01"),
                                   [](const QString&) { return true; });
    staging.choose(*ordering::loadOrderItem(db(), QStringLiteral("102001")));
    try {
        ordering::commitOrder(db(), mine, clock);
        ADD_FAILURE() << "committed onto a bill merged away";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), tableChangedElsewhereMessage(kMine));
    }
}

SORREL_ON_EVERY_ENGINE(OtherDeskTest);

} // namespace
