// Transfer and merge: which targets qualify, where the bill and its lines go, the merged bill's
// sums from the unrounded line values, and a target another workstation opened meanwhile.
#include "common/db/errors.h"
#include "common/tables/table_refusals.h"
#include "frontdesk/table_life/held_table.h"
#include "frontdesk/table_life/table_moves.h"
#include "tests/frontdesk/table_life/settled_venue.h"

using namespace sorrel;
using namespace sorrel::tables;
using namespace sorrel::table_life;

namespace {

class TableMovesTest : public test::SettledVenue {};

TEST_P(TableMovesTest, ATransferTakesTheBillToAFreeTableOnly) {
    struct Case {
        const char* what;
        const char* fromState;
        const char* targetState;
        bool moves;
    } cases[] = {
        {"in use to a free table", "2", "1", true}, {"a reopened bill keeps its state", "4", "1", true},
        {"to a booked table", "2", "5", false},     {"to a table in use", "2", "2", false},
        {"to a disabled table", "2", "6", false},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString from = QStringLiteral("A%1").arg(++n, 2, 10, QLatin1Char('0'));
        const QString to = QStringLiteral("V0%1").arg(n);
        const int number = open(from, 3, QStringLiteral("钱先生")).tabl_gues_auto_recn;
        addLine(number, "1", 2, 30);
        setState(from, QString::fromLatin1(c.fromState));
        setState(to, QString::fromLatin1(c.targetState));
        EXPECT_EQ(transferTargetRefusal(db(), to).has_value(), !c.moves) << c.what;
        if (!c.moves) {
            EXPECT_EQ(*transferTargetRefusal(db(), to), kTransferTargetMessage);
            EXPECT_THROW(transferTable(db(), from, number, to), StepRefused) << c.what;
            EXPECT_EQ(bill(number).tabl_code, from) << c.what;
            EXPECT_EQ(stateOf(to), QString::fromLatin1(c.targetState)) << c.what;
            continue;
        }
        transferTable(db(), from, number, to);
        const billing::GuestRecord moved = bill(number);
        EXPECT_EQ(moved.tabl_code, to) << c.what;
        EXPECT_EQ(moved.tabl_type_code, QStringLiteral("03")) << c.what;
        EXPECT_EQ(moved.dept_code, QStringLiteral("02")) << c.what;
        const BoardTable target = table(to);
        EXPECT_EQ(target.state, QString::fromLatin1(c.fromState)) << c.what;
        EXPECT_EQ(target.guestNumber, number) << c.what;
        EXPECT_EQ(target.guestName, QStringLiteral("钱先生")) << c.what;
        const BoardTable left = table(from);
        EXPECT_EQ(left.state, QStringLiteral("1")) << c.what;
        EXPECT_EQ(left.guestNumber, 0) << c.what;
        EXPECT_TRUE(left.guestName.isEmpty()) << c.what;
        EXPECT_FALSE(left.guestTime.isValid()) << c.what;
        // The lines keep the table they were ordered at.
        EXPECT_EQ(
            db().scalar(QStringLiteral("SELECT tabl_code FROM TableConsList WHERE tabl_gues_auto_recn = ?"),
                        {number})
                .toString(),
            from);
    }
}

TEST_P(TableMovesTest, AMergeMovesEveryLineIntoAnOpenBillAndSumsThemUnrounded) {
    // Lines rounded up to whole amounts (小数进一), the bill kept to the cent.
    db().exec(QStringLiteral("UPDATE SetupPay SET pay_set_item_int = ?, pay_set_sum_int = ?"),
              {kRaiseFraction, kKeepCents});
    struct Case {
        const char* what;
        const char* targetState;
        bool merges;
    } cases[] = {
        {"into a settled table", "3", false},
        {"into a free table", "1", false},
        {"into a reopened table", "4", true},
        {"into a table in use", "2", true},
    };
    int n = 0;
    for (const Case& c : cases) {
        ++n;
        const QString from = QStringLiteral("A%1").arg(n, 2, 10, QLatin1Char('0'));
        const QString to = QStringLiteral("B0%1").arg(n);
        const int source = open(from, 2).tabl_gues_auto_recn;
        addLine(source, "1", 1, 10.2); // 11 as a line
        addLine(source, "1", 1, 5.3);  // 6
        const int target = open(to, 4).tabl_gues_auto_recn;
        addLine(target, "1", 2, 10.2); // 21
        setState(to, QString::fromLatin1(c.targetState));
        EXPECT_EQ(mergeTargetRefusal(db(), from, to).has_value(), !c.merges) << c.what;
        if (!c.merges) {
            EXPECT_THROW(mergeTable(db(), from, source, to, billing::BillSettings::load(db()), clock),
                         StepRefused);
            EXPECT_EQ(rowsOf("TableConsList", source), 2) << c.what;
            EXPECT_EQ(rowsOf("TableGuestlist", source), 1) << c.what;
            continue;
        }
        EXPECT_EQ(mergeTable(db(), from, source, to, billing::BillSettings::load(db()), clock), target);
        EXPECT_EQ(rowsOf("TableGuestlist", source), 0) << c.what;
        EXPECT_EQ(rowsOf("TableConsList", target), 3) << c.what;
        EXPECT_EQ(
            db().scalar(QStringLiteral("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = ? "
                                       "AND tabl_code_old = ?"),
                        {target, from})
                .toInt(),
            2)
            << c.what;
        // 10.2 + 5.3 + 20.4, not the rounded 11 + 6 + 21.
        EXPECT_DOUBLE_EQ(bill(target).tabl_gues_dish, 35.9) << c.what;
        EXPECT_EQ(stateOf(to), QString::fromLatin1(c.targetState)) << c.what;
        EXPECT_EQ(stateOf(from), QStringLiteral("1")) << c.what;
        EXPECT_EQ(table(from).guestNumber, 0) << c.what;
    }
    // A table is never merged into itself.
    const int alone = open(QStringLiteral("A09"), 2).tabl_gues_auto_recn;
    EXPECT_EQ(*mergeTargetRefusal(db(), QStringLiteral("A09"), QStringLiteral("A09")), kMergeTargetMessage);
    EXPECT_THROW(mergeTable(db(), QStringLiteral("A09"), alone, QStringLiteral("A09"),
                            billing::BillSettings::load(db()), clock),
                 StepRefused);
    EXPECT_EQ(rowsOf("TableGuestlist", alone), 1);
}

TEST_P(TableMovesTest, AMoveActsOnWhatTheDatabaseHoldsNotOnThisBoardsCopy) {
    std::unique_ptr<Database> other = scratch().connectAgain();
    const int mine = open(QStringLiteral("A01"), 2).tabl_gues_auto_recn;
    // The free table this board saw was opened at another workstation meanwhile.
    ASSERT_FALSE(transferTargetRefusal(db(), QStringLiteral("A02")));
    openTable(*other, typed(*other, QStringLiteral("A02"), 5), billing::BillSettings::load(*other), clock,
              {});
    try {
        transferTable(db(), QStringLiteral("A01"), mine, QStringLiteral("A02"));
        ADD_FAILURE() << "transferred onto a table opened elsewhere";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), tableChangedElsewhereMessage(QStringLiteral("A02")));
    }
    EXPECT_EQ(bill(mine).tabl_code, QStringLiteral("A01"));
    // This table's bill was moved away elsewhere: neither a transfer nor a merge of it goes on.
    transferTable(*other, QStringLiteral("A01"), mine, QStringLiteral("A03"));
    EXPECT_THROW(transferTable(db(), QStringLiteral("A01"), mine, QStringLiteral("A04")), StepRefused);
    EXPECT_THROW(mergeTable(db(), QStringLiteral("A01"), mine, QStringLiteral("A02"),
                            billing::BillSettings::load(db()), clock),
                 StepRefused);
    EXPECT_EQ(bill(mine).tabl_code, QStringLiteral("A03"));
    EXPECT_EQ(stateOf(QStringLiteral("A04")), QStringLiteral("1"));
}

SORREL_ON_EVERY_ENGINE(TableMovesTest);

} // namespace
