// Day start, day end and the automatic rollover at the first login of a new calendar day:
// which guest records and lines survive, what the other income leaves in its history, and
// that a failed step leaves the day exactly as it was.
#include "common/business_day.h"
#include "common/db/errors.h"
#include "tests/support/staff_seed.h"
#include "tests/support/test_database.h"

using namespace sorrel;

namespace {

const QDateTime kFifthMorning(QDate(2026, 3, 5), QTime(8, 15, 0));

class BusinessDayTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        test::seedStaffAndSettings(db());
    }

    // A guest record with `lines` order lines; `inUse` while the table is still occupied.
    void addGuest(int number, bool inUse, int lines) {
        db().exec(QStringLiteral("INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, tabl_gues_use) "
                                 "VALUES (?, ?, ?)"),
                  {number, QStringLiteral("A%1").arg(number), inUse ? 1 : 0});
        for (int i = 0; i < lines; ++i)
            db().exec(QStringLiteral("INSERT INTO TableConsList (tabl_gues_auto_recn, tabl_code, item_code, "
                                     "tabl_cons_flag) VALUES (?, ?, ?, 0)"),
                      {number, QStringLiteral("A%1").arg(number), QStringLiteral("I%1").arg(i)});
    }
    void addOtherIncome(const QString& code, double amount) {
        db().exec(
            QStringLiteral("INSERT INTO OtherIncomeList (othe_inco_code, othe_inco_name, othe_inco_mone) "
                           "VALUES (?, ?, ?)"),
            {code, QStringLiteral("收入") + code, amount});
    }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }
    SettingsRow settings() { return loadSettingsRow(db()); }

    FixedClock clock{kFifthMorning};
};

TEST_P(BusinessDayTest, DayEndKeepsTablesInUseAndRemovesClearedGuestsWithTheirLines) {
    addGuest(1, true, 2);
    addGuest(2, true, 3);
    addGuest(3, true, 0);
    addGuest(4, false, 4);
    addGuest(5, false, 1);
    db().exec(QStringLiteral("INSERT INTO TableConsList (tabl_gues_auto_recn, item_code) VALUES (99, 'X')"));

    endDay(db(), clock);

    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableGuestlist")), 3);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableGuestlist WHERE tabl_gues_use = 0")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn IN (1, 2)")),
              5);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn IN (4, 5)")),
              0);
    // A line whose guest record is gone altogether is not a cleared guest's line: it stays.
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = 99")), 1);
    EXPECT_FALSE(settings().payStar);
    EXPECT_EQ(settings().timeEnd, kFifthMorning);
}

TEST_P(BusinessDayTest, DayEndArchivesEveryOtherIncomeItemUnderTheBusinessDate) {
    struct Case {
        int items;
    } cases[] = {{0}, {5}};
    for (const Case& c : cases) {
        db().exec(QStringLiteral("DELETE FROM OtherIncomeList"));
        db().exec(QStringLiteral("DELETE FROM AllOtherInCome"));
        for (int i = 0; i < c.items; ++i)
            addOtherIncome(QStringLiteral("0%1").arg(i), i == 0 ? 0.0 : 12.5 * i);
        // Started on the 4th, ended after midnight on the 5th: the income belongs to the 4th.
        db().exec(QStringLiteral("UPDATE SetupPay SET pay_star = 1, time_work = '2026-03-04 00:00:00'"));
        endDay(db(), clock, OtherIncomeEdit{QStringLiteral("01"), 99.0});
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllOtherInCome")), c.items);
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllOtherInCome WHERE othe_inco_time = "
                                       "'2026-03-04 00:00:00'")),
                  c.items);
        if (c.items) {
            // The amount still being typed is posted before the archive is taken; zero rows count.
            EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("SELECT othe_inco_mone FROM AllOtherInCome WHERE "
                                                        "othe_inco_code = '01'"))
                                 .toDouble(),
                             99.0);
            EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllOtherInCome WHERE othe_inco_mone = 0")),
                      1);
            EXPECT_DOUBLE_EQ(
                db().scalar(QStringLiteral("SELECT sum(othe_inco_mone) FROM AllOtherInCome")).toDouble(),
                99.0 + 25 + 37.5 + 50);
        }
    }
}

TEST_P(BusinessDayTest, DayStartOpensTodayAndZeroesOtherIncome) {
    addOtherIncome(QStringLiteral("01"), 30);
    addOtherIncome(QStringLiteral("02"), 7.5);
    db().exec(QStringLiteral("UPDATE SetupPay SET pay_star = 0, time_end = '2026-03-05 01:00:00'"));
    startDay(db(), clock);
    const SettingsRow s = settings();
    EXPECT_TRUE(s.payStar);
    EXPECT_EQ(s.timeWork, QDateTime(kFifthMorning.date(), QTime(0, 0)));
    EXPECT_EQ(s.timeStar, kFifthMorning);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM OtherIncomeList WHERE othe_inco_mone <> 0")), 0);
}

TEST_P(BusinessDayTest, FailedDayEndLeavesEverythingAsItWas) {
    addGuest(4, false, 2);
    addOtherIncome(QStringLiteral("01"), 30);
    db().exec(QStringLiteral("DROP TABLE AllOtherInCome"));
    try {
        endDay(db(), clock);
        FAIL() << "day end reported success without its history table";
    } catch (const CodedFailure& failure) {
        EXPECT_EQ(failure.code(), QStringLiteral("B100009"));
    }
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableGuestlist")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableConsList WHERE tabl_cons_flag = 0")), 2);
    EXPECT_TRUE(settings().payStar);
}

TEST_P(BusinessDayTest, RolloverRunsOncePerCalendarDayAndNeverArchivesADayTwice) {
    struct Case {
        const char* what;
        bool workAuto;
        bool dayOpen;
        const char* timeWork;
        const char* timeEnd;
        RolloverOutcome expected;
        int archived; // history rows of other income afterwards
    } cases[] = {
        {"day open since yesterday", true, true, "2026-03-04 00:00:00", "2026-03-03 23:00:00",
         RolloverOutcome::DayEndedAndStarted, 2},
        {"day ended by hand yesterday", true, false, "2026-03-04 00:00:00", "2026-03-04 23:00:00",
         RolloverOutcome::DayStarted, 0},
        {"ended this morning already", true, false, "2026-03-04 00:00:00", "2026-03-05 00:30:00",
         RolloverOutcome::NotDue, 0},
        {"today's day already open", true, true, "2026-03-05 00:00:00", "2026-03-04 23:00:00",
         RolloverOutcome::NotDue, 0},
        {"rollover switched off", false, true, "2026-03-04 00:00:00", "2026-03-03 23:00:00",
         RolloverOutcome::NotDue, 0},
    };
    // The front desk's two transactions and the back office's one behave alike.
    using Rollover = RolloverOutcome (*)(Database&, const Clock&, const DayProgress&);
    const Rollover rollovers[] = {runAutomaticRollover, runRolloverInOneTransaction};
    for (const Rollover rollover : rollovers)
        for (const Case& c : cases) {
            db().exec(QStringLiteral("DELETE FROM OtherIncomeList"));
            db().exec(QStringLiteral("DELETE FROM AllOtherInCome"));
            addOtherIncome(QStringLiteral("01"), 30);
            addOtherIncome(QStringLiteral("02"), 0);
            db().exec(QStringLiteral(
                          "UPDATE SetupPay SET work_auto = ?, pay_star = ?, time_work = ?, time_end = ?"),
                      {c.workAuto ? 1 : 0, c.dayOpen ? 1 : 0, QString::fromUtf8(c.timeWork),
                       QString::fromUtf8(c.timeEnd)});
            const SettingsRow before = settings();
            EXPECT_EQ(rolloverDue(before, clock.today()), c.expected != RolloverOutcome::NotDue) << c.what;

            EXPECT_EQ(rollover(db(), clock, {}), c.expected) << c.what;
            EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllOtherInCome")), c.archived) << c.what;
            const SettingsRow after = settings();
            if (c.expected == RolloverOutcome::NotDue) {
                EXPECT_EQ(after.timeWork, before.timeWork) << c.what;
                EXPECT_EQ(after.payStar, before.payStar) << c.what;
                continue;
            }
            EXPECT_TRUE(after.payStar) << c.what;
            EXPECT_EQ(after.timeWork.date(), clock.today()) << c.what;
            EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM OtherIncomeList WHERE othe_inco_mone <> 0")),
                      0);
            // A second login the same day finds nothing to do.
            EXPECT_FALSE(rolloverDue(after, clock.today())) << c.what;
            EXPECT_EQ(rollover(db(), clock, {}), RolloverOutcome::NotDue) << c.what;
            EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllOtherInCome")), c.archived) << c.what;
        }
}

TEST_P(BusinessDayTest, TwoWorkstationsLoggingInTogetherRollTheDayOverOnce) {
    addOtherIncome(QStringLiteral("01"), 30);
    db().exec(
        QStringLiteral("UPDATE SetupPay SET work_auto = 1, pay_star = 1, time_work = '2026-03-04 00:00:00', "
                       "time_end = '2026-03-03 23:00:00'"));
    auto other = scratch().connectAgain();
    // Both read the row before either rolls over; each re-reads it under the write lock.
    ASSERT_TRUE(rolloverDue(loadSettingsRow(*other), clock.today()));
    EXPECT_EQ(runAutomaticRollover(db(), clock), RolloverOutcome::DayEndedAndStarted);
    EXPECT_EQ(runAutomaticRollover(*other, clock), RolloverOutcome::NotDue);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllOtherInCome")), 1);
}

TEST_P(BusinessDayTest, ADayIsEndedAndStartedOnceWhenTwoWorkstationsAskTogether) {
    addOtherIncome(QStringLiteral("01"), 30);
    auto other = scratch().connectAgain();
    // Both day panels saw the day open; the first day end goes through, the second is refused.
    endDay(db(), clock);
    try {
        endDay(*other, clock);
        FAIL() << "a day already ended was ended again";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), kDayNotStartedForEndMessage);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllOtherInCome")), 1);
    // Likewise day start: the second one finds the day open and zeroes nothing typed since.
    startDay(db(), clock);
    db().exec(QStringLiteral("UPDATE OtherIncomeList SET othe_inco_mone = 8"));
    EXPECT_THROW(startDay(*other, clock), StepRefused);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM OtherIncomeList WHERE othe_inco_mone = 8")), 1);
}

TEST_P(BusinessDayTest, FailedBackOfficeRolloverLeavesTheOldDayOpen) {
    addGuest(4, false, 2);
    addOtherIncome(QStringLiteral("01"), 30);
    db().exec(
        QStringLiteral("UPDATE SetupPay SET work_auto = 1, pay_star = 1, time_work = '2026-03-04 00:00:00', "
                       "time_end = '2026-03-03 23:00:00'"));
    db().exec(QStringLiteral("DROP TABLE AllOtherInCome"));
    try {
        runRolloverInOneTransaction(db(), clock);
        FAIL() << "the rollover reported success without its history table";
    } catch (const CodedFailure& failure) {
        EXPECT_EQ(failure.code(), QStringLiteral("A100011"));
    }
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableGuestlist")), 1);
    EXPECT_TRUE(settings().payStar);
    EXPECT_EQ(settings().timeWork.date(), QDate(2026, 3, 4));
}

SORREL_ON_EVERY_ENGINE(BusinessDayTest);

} // namespace
