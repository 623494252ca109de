// The crash test's cashier beside other workstations on one venue: what another one did between
// the driver's look and its step is a refusal the driver carries on from, never its end.
#include "common/business_day.h"
#include "common/clock.h"
#include "tests/support/test_database.h"
#include "tools/crash_test/day_driver.h"

#include <functional>

using namespace sorrel;

namespace {

// A workstation's connection on which another workstation acts right after a chosen look: the
// look answers what the database held before.
class OvertakenDatabase final : public Database {
  public:
    OvertakenDatabase(Database& real, QString look, std::function<void()> meanwhile)
        : real_(real), look_(std::move(look)), meanwhile_(std::move(meanwhile)) {}

    Engine engine() const override { return real_.engine(); }
    QString location() const override { return real_.location(); }
    int exec(const QString& sql, const QVariantList& params = {}) override { return real_.exec(sql, params); }
    RecordSet query(const QString& sql, const QVariantList& params = {}) override {
        RecordSet answer = real_.query(sql, params);
        if (meanwhile_ && sql.contains(look_)) std::exchange(meanwhile_, {})();
        return answer;
    }
    void begin() override { real_.begin(); }
    void commit() override { real_.commit(); }
    void rollback() override { real_.rollback(); }
    bool inTransaction() const override { return real_.inTransaction(); }
    QStringList columnsOf(const QString& table) override { return real_.columnsOf(table); }
    QString lockRowsClause() const override { return real_.lockRowsClause(); }

  private:
    Database& real_;
    QString look_;
    std::function<void()> meanwhile_;
};

class DayDriverBesideOthers : public ::testing::TestWithParam<Engine> {
  protected:
    test::ScratchDatabase scratch{GetParam(), test::ScratchDatabase::Contents::DemoVenue};
    FixedClock clock{QDateTime(QDate(2024, 5, 2), QTime(11, 0))};
};

TEST_P(DayDriverBesideOthers, ADayStartedByAnotherWorkstationIsARefusal) {
    ASSERT_FALSE(businessDayOpen(scratch.db()));
    const std::unique_ptr<Database> other = scratch.connectAgain();
    OvertakenDatabase desk(scratch.db(), QStringLiteral("FROM SetupPay"), [&] { startDay(*other, clock); });
    crash::DayDriver driver(desk, clock, 1);
    crash::DayDriver::Outcome outcome;
    ASSERT_NO_THROW(outcome = driver.step());
    EXPECT_TRUE(outcome.refused);
    EXPECT_TRUE(businessDayOpen(scratch.db()));
    EXPECT_NO_THROW(driver.step()) << "the driver goes on with the day the other one started";
}

INSTANTIATE_TEST_SUITE_P(Engines, DayDriverBesideOthers, ::testing::ValuesIn(test::availableEngines()),
                         test::engineTestName);

} // namespace
