// Bill numbers as the opening of a table draws them: consecutive, never reused once
// committed, given back when the opening fails, and never drawn outside a transaction.
#include "common/bill_number.h"
#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "tests/support/test_database.h"

using namespace sorrel;

namespace {

class BillNumberTest : public test::EngineTest {
  protected:
    int counter() { return db().scalar("SELECT auto_recn FROM SetupPay").toInt(); }
};

TEST_P(BillNumberTest, OpeningsInARowGetConsecutiveNumbers) {
    QList<int> drawn;
    for (int i = 0; i < 3; ++i)
        drawn << runCoded(db(), "B100002", [&] { return drawBillNumber(db()); });
    EXPECT_EQ(drawn, QList<int>({1, 2, 3}));
    EXPECT_EQ(counter(), 4);
}

TEST_P(BillNumberTest, FailedOpeningGivesItsNumberBack) {
    db().exec("UPDATE SetupPay SET auto_recn = 41");
    EXPECT_THROW(runCoded(db(), "B100002",
                          [&] {
                              drawBillNumber(db());
                              db().exec("INSERT INTO NoSuchTable (x) VALUES (1)");
                          }),
                 CodedFailure);
    EXPECT_EQ(counter(), 41);
    EXPECT_EQ(runCoded(db(), "B100002", [&] { return drawBillNumber(db()); }), 41);
}

TEST_P(BillNumberTest, RefusedOutsideATransaction) {
    EXPECT_THROW(drawBillNumber(db()), DbError);
    EXPECT_EQ(counter(), 1);
}

TEST_P(BillNumberTest, BrokenCounterIsRefusedRatherThanNumberedZero) {
    const char* const broken[] = {
        "UPDATE SetupPay SET auto_recn = 0",           "UPDATE SetupPay SET auto_recn = -5",
        "UPDATE SetupPay SET auto_recn = NULL",        "DELETE FROM SetupPay",
        "INSERT INTO SetupPay (auto_recn) VALUES (1)", // a second settings row
    };
    for (const char* damage : broken) {
        db().exec("DELETE FROM SetupPay");
        db().exec("INSERT INTO SetupPay (auto_recn) VALUES (1)");
        db().exec(QString::fromUtf8(damage));
        EXPECT_THROW(runCoded(db(), "B100002", [&] { return drawBillNumber(db()); }), CodedFailure) << damage;
    }
}

SORREL_ON_EVERY_ENGINE(BillNumberTest);

} // namespace
