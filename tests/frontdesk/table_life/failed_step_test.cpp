// Every step of a table's life that fails half-way leaves every table as it was and reports its
// code, whichever statement the disk or the server refused.
#include "common/db/errors.h"
#include "frontdesk/table_life/clearing.h"
#include "frontdesk/table_life/reopening.h"
#include "frontdesk/table_life/reverse_settlement.h"
#include "frontdesk/table_life/table_moves.h"
#include "tests/frontdesk/table_life/settled_venue.h"
#include "tests/support/failing_database.h"

#include <functional>

using namespace sorrel;
using namespace sorrel::tables;
using namespace sorrel::table_life;

namespace {

class FailedStepTest : public test::SettledVenue {};

TEST_P(FailedStepTest, AFailureAnywhereInAStepLeavesAllTablesAsTheyWere) {
    const int seated = open(QStringLiteral("A01"), 2).tabl_gues_auto_recn;
    addLine(seated, "1", 1, 20);
    const int other = open(QStringLiteral("A02"), 2).tabl_gues_auto_recn;
    addLine(other, "1", 1, 30);
    const int settled = settledBill(QStringLiteral("A03"), {.member = 40, .credit = 8});
    const int cleared = settledBill(QStringLiteral("A04"), {.member = 25, .credit = 5});
    clearTable(db(), QStringLiteral("A04"), cleared);
    const billing::BillSettings settings = billing::BillSettings::load(db());

    using Step = std::function<void(Database&)>;
    struct Case {
        const char* code;
        Step step;
        QStringList failing;
    } cases[] = {
        {"B100004",
         [&](Database& on) { transferTable(on, "A01", seated, "A05"); },
         {"UPDATE TableGuestlist", "UPDATE TableList SET tabl_stat_code = ?, tabl_gues_auto_recn = ?"}},
        {"B100005",
         [&](Database& on) { mergeTable(on, "A01", seated, "A02", settings, clock); },
         {"UPDATE TableConsList", "DELETE FROM TableGuestlist", "UPDATE TableGuestlist",
          "tabl_gues_shou = ?"}},
        {"B100006",
         [&](Database& on) { clearTable(on, "A03", settled); },
         {"UPDATE TableGuestlist", "EXISTS (SELECT 1 FROM bookin", "INSERT INTO AllGues", "UPDATE AllGues",
          "INSERT INTO AllCons", "UPDATE AllCons", "UPDATE tableguespay", "INSERT INTO AllGuesPay"}},
        {"B100003",
         [&](Database& on) { resumeTable(on, "A03", settled, settings, clock); },
         {"UPDATE HangGues", "UPDATE MemberList", "DELETE FROM tableguespay", "UPDATE TableConsList",
          "UPDATE TableGuestlist"}},
        {"B1000012",
         [&](Database& on) { reverseSettle(on, "A04", cleared, "8888", settings, clock); },
         {"UPDATE TableGuestlist", "UPDATE TableList SET tabl_stat_code = ?, tabl_gues_auto_recn",
          "UPDATE MemberList", "DELETE FROM tableguespay", "DELETE FROM AllCons", "DELETE FROM AllGues ",
          "DELETE FROM AllGuesPay"}},
    };
    const QStringList before = everything();
    for (const Case& c : cases)
        for (const QString& piece : c.failing) {
            test::FailingDatabase broken(db(), piece);
            try {
                c.step(broken);
                ADD_FAILURE() << c.code << " went through with " << piece.toStdString() << " failing";
            } catch (const CodedFailure& failure) {
                EXPECT_EQ(failure.code(), QString::fromLatin1(c.code)) << piece.toStdString();
            }
            EXPECT_FALSE(db().inTransaction());
            EXPECT_EQ(everything(), before) << c.code << " failing at " << piece.toStdString();
        }
}

SORREL_ON_EVERY_ENGINE(FailedStepTest);

} // namespace
