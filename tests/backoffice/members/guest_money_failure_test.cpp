// A top-up or a repayment that fails part-way (a broken disk, a dropped server) keeps nothing of
// itself and reports its own code: no entry without its balance, no repayment without its debt.
#include "backoffice/members/credit_lists.h"
#include "backoffice/members/member_lists.h"
#include "common/db/errors.h"
#include "tests/support/failing_database.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

using namespace sorrel;
using namespace sorrel::lists;
using namespace sorrel::members;

namespace {

class GuestMoneyFailureTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        db().exec(
            "INSERT INTO MemberList (memb_card_code, memb_type_code, memb_pass, memb_name, memb_work, "
            "memb_add, "
            "memb_tele, memb_card_type, memb_surp, memb_stor, memb_stor_temp) VALUES ('880001', '01', '1', "
            "'林', '西湖', '文三路', '139', '储值卡', 2000, 0, 0)");
        db().exec("INSERT INTO HangGues (hang_gues_code, hang_gues_name, hang_gues_work, hang_gues_add, "
                  "hang_gues_tele, "
                  "hang_gues_use) VALUES ('001', '华联贸易', '华联', '延安路', '0571', 300)");
    }
    QStringList state() {
        return {db().scalar("SELECT memb_surp FROM MemberList").toString(),
                db().scalar("SELECT count(*) FROM membManage").toString(),
                db().scalar("SELECT hang_gues_use FROM HangGues").toString(),
                db().scalar("SELECT count(*) FROM Hangguesin").toString()};
    }

    test::ScriptedSink sink;
    FixedClock clock{QDateTime(QDate(2026, 3, 4), QTime(10, 0))};
};

TEST_P(GuestMoneyFailureTest, AFailedStepLeavesTheBalancesAsTheyWere) {
    const OperatorSource who = [] { return OperatorEntry{"01", "管理员", "", "01"}; };
    const struct {
        const char* failOn; // the step's last statement
        QString code;
        std::function<void(Database&)> step;
    } cases[] = {
        {"SET memb_stor", kTopUpFailureCode,
         [&](Database& on) {
             MemberLists lists(on, clock, who);
             ASSERT_TRUE(lists.members().moveToKey("880001"));
             ASSERT_TRUE(lists.openTopUps(MemberLists::TopUpKind::Money));
             ASSERT_TRUE(lists.topUps().append());
             lists.enterTopUp("memb_mana_save", "500");
             lists.topUps().save();
         }},
        {"SET hang_gues_use", kRepaymentFailureCode,
         [&](Database& on) {
             CreditLists lists(on, clock, who);
             ASSERT_TRUE(lists.guests().moveToKey("001"));
             lists.repay("100");
         }},
    };
    const QStringList before = state();
    for (const auto& c : cases) {
        test::FailingDatabase failing(db(), QString::fromUtf8(c.failOn));
        try {
            c.step(failing);
            ADD_FAILURE() << "no failure on " << c.failOn;
        } catch (const CodedFailure& failure) {
            EXPECT_EQ(failure.code(), c.code);
        }
        EXPECT_EQ(state(), before) << c.failOn;
    }
}

SORREL_ON_EVERY_ENGINE(GuestMoneyFailureTest);

} // namespace
