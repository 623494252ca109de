// The crash test's checks on every engine: a venue worked through by the day's steps breaks none
// of them, and each way a step could be left half done is caught by the rule it breaks.
#include "common/db/transaction.h"
#include "tests/support/test_database.h"
#include "tools/crash_test/day_driver.h"
#include "tools/crash_test/venue_invariants.h"

#include <QFile>
#include <QTemporaryDir>

using namespace sorrel;
using crash::DayDriver;
namespace Rule = crash::Rule;

namespace {

class VenueInvariants : public ::testing::TestWithParam<Engine> {
  protected:
    test::ScratchDatabase scratch{GetParam(), test::ScratchDatabase::Contents::DemoVenue};
    Database& db() { return scratch.db(); }
    FixedClock clock{QDateTime(QDate(2024, 5, 2), QTime(11, 0))};
    const crash::VenueOpening opening = crash::readOpening(scratch.db());

    QStringList brokenRules() {
        QStringList rules;
        for (const crash::BrokenInvariant& b : crash::checkVenue(db(), opening))
            rules << b.rule + QStringLiteral(": ") + b.detail;
        return rules;
    }
    int billOn(const QString& table) {
        return db()
            .scalar(QStringLiteral("SELECT tabl_gues_auto_recn FROM TableList WHERE tabl_code = ?"), {table})
            .toInt();
    }
};

TEST_P(VenueInvariants, DaysOfEveryStepBreakNothing) {
    DayDriver driver(db(), clock, 7);
    for (int step = 1; step <= 400; ++step) {
        driver.step();
        clock.advanceSeconds(97);
        if (step % 100 == 0) {
            ASSERT_EQ(brokenRules(), QStringList()) << "after step " << step;
        }
    }
}

TEST_P(VenueInvariants, AStepLeftHalfDoneIsCaught) {
    DayDriver driver(db(), clock, 3);
    driver.startDay();
    for (const char* table : {"A01", "A02", "A03"}) {
        ASSERT_TRUE(driver.openTable(QString::fromLatin1(table)));
        ASSERT_TRUE(driver.order(QString::fromLatin1(table)));
        ASSERT_TRUE(driver.order(QString::fromLatin1(table)));
    }
    // A01 settled partly by card, A02 settled and cleared, A03 still open.
    ASSERT_TRUE(driver.settle(QStringLiteral("A01"), DayDriver::Payment::ThreeMethods));
    ASSERT_TRUE(driver.settle(QStringLiteral("A02"), DayDriver::Payment::Cash));
    ASSERT_TRUE(driver.clear(QStringLiteral("A02")));
    const int settled = billOn(QStringLiteral("A01"));
    const int open = billOn(QStringLiteral("A03"));
    const int cleared = db().scalar(QStringLiteral("SELECT max(tabl_gues_auto_recn) FROM AllGues")).toInt();
    ASSERT_EQ(brokenRules(), QStringList());
    ASSERT_GT(db().scalar(QStringLiteral("SELECT hang_mone + memb_mone FROM TableGuestlist WHERE "
                                         "tabl_gues_auto_recn = ?"),
                          {settled})
                  .toDouble(),
              0);

    const QString b = QStringLiteral(" WHERE tabl_gues_auto_recn = %1");
    const struct {
        const char* what;
        QString sql;
        QString rule;
    } cases[] = {
        {"the table marked settled, its bill still open",
         QStringLiteral("UPDATE TableList SET tabl_stat_code = '3' WHERE tabl_code = 'A03'"),
         Rule::kTableState},
        {"a settled bill whose payments were never written",
         QStringLiteral("DELETE FROM tableguespay") + b.arg(settled), Rule::kSettled},
        {"a settled bill whose lines were left unsettled",
         QStringLiteral("UPDATE TableConsList SET tabl_gues_end = 0") + b.arg(settled), Rule::kSettled},
        {"a card charged by a settlement that was not written",
         QStringLiteral("UPDATE MemberList SET memb_surp = memb_surp - 20, memb_use = memb_use + 20"),
         Rule::kBalances},
        {"an account charge given back without its bill reopening",
         QStringLiteral("UPDATE HangGues SET hang_gues_use = 0"), Rule::kBalances},
        {"a line on the bill that its totals do not count",
         QStringLiteral(
             "INSERT INTO TableConsList (tabl_gues_auto_recn, tabl_code, clas_code, item_code, "
             "item_type_code, menu_type_code, item_type_flag, item_coun_flag, tabl_cons_coun, "
             "item_unit_pric, tabl_cons_tota) VALUES (%1, 'A03', '102', '102001', '1', '1', 1, 1, 1, "
             "48, 48)")
             .arg(open),
         Rule::kOrder},
        {"an order whose stock was not taken out",
         QStringLiteral("UPDATE itemlist SET item_coun = item_coun + 1 WHERE item_code = '201001'"),
         Rule::kOrder},
        {"a receivable that is not its parts",
         QStringLiteral("UPDATE TableGuestlist SET tabl_gues_shou = tabl_gues_shou + 1") + b.arg(open),
         Rule::kMoney},
        {"a cash row that does not pay the collected amount",
         QStringLiteral("UPDATE tableguespay SET pay_type_mone = pay_type_mone + 5") + b.arg(settled) +
             QStringLiteral(" AND pay_type_code = 'Z'"),
         Rule::kMoney},
        {"a cleared bill whose lines never reached the history",
         QStringLiteral("DELETE FROM AllCons") + b.arg(cleared), Rule::kHistory},
        {"a handover that marked the history and left the current payments",
         QStringLiteral("UPDATE AllGuesPay SET pay_flag = 1") + b.arg(cleared), Rule::kHistory},
        {"day end that took the bill and left its lines",
         QStringLiteral("DELETE FROM TableGuestlist") + b.arg(cleared), Rule::kHistory},
        {"a bill number drawn again", QStringLiteral("UPDATE SetupPay SET auto_recn = %1").arg(open),
         Rule::kCounter},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Transaction tx(db());
        db().exec(c.sql);
        const QStringList broken = brokenRules();
        EXPECT_TRUE(broken.filter(c.rule).size() > 0) << broken.join('\n').toStdString();
    }
    EXPECT_EQ(brokenRules(), QStringList());
}

TEST_P(VenueInvariants, ADatabaseThatDoesNotOpenIsCaught) {
    QTemporaryDir dir;
    QFile damaged(dir.filePath(QStringLiteral("venue.mdb")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(8192, 'x'));
    damaged.close();
    const QList<crash::BrokenInvariant> broken = crash::checkVenueAt(damaged.fileName(), opening);
    ASSERT_EQ(broken.size(), 1);
    EXPECT_EQ(broken[0].rule, Rule::kOpens);
    EXPECT_TRUE(crash::checkVenueAt(scratch.target(), opening).isEmpty());
}

SORREL_ON_EVERY_ENGINE(VenueInvariants);

} // namespace
