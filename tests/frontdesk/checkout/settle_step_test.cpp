// The arithmetic of settling, without a database: the change and its message, the payment
// description, the waiver, the card and credit checks in their order, and the commission.
#include "frontdesk/checkout/settle_step.h"

#include "common/money.h"

#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace sorrel;
using namespace sorrel::checkout;

namespace {

billing::BillSettings rounding() {
    billing::BillSettings s;
    s.sumRounding = kRoundHalfEven;
    return s;
}

// A bill of 595 and the preset methods with what the guest hands over.
struct Paying {
    double cash = 0;
    double waiver = 0;
    double member = 0;
    double credit = 0;
    double collected = 595; // what the field holds now
    std::optional<MemberCard> card =
        MemberCard{.code = "880001", .name = "林晓雯", .cardType = "储值卡", .balance = 2000};
    std::optional<CreditGuest> account = CreditGuest{.code = "001", .name = "华联贸易", .limit = 5000};
};

Settlement settleWith(const Paying& p) {
    billing::GuestRecord g;
    g.tabl_gues_auto_recn = 1;
    g.tabl_gues_shou = 595;
    g.tabl_gues_fact = p.collected;
    Tender t{
        {{"Z", "现金", p.cash}, {"R", "免单", p.waiver}, {"M", "会员卡", p.member}, {"H", "挂帐", p.credit}},
        p.card,
        p.account,
        595};
    return prepareSettlement(g, t, rounding(), QDateTime(QDate(2026, 3, 1), QTime(21, 0)));
}

TEST(SettleStep, ChangeDescriptionAndWaiver) {
    const struct {
        const char* name;
        Paying paying;
        double change, cashKept, waived, collected;
        const char* description;
        const char* message;
    } cases[] = {
        {"cash 600 on 595", {.cash = 600}, -5, 595, 0, 595, "现金595 ", "请找零：[ 5.00 ]元  ！"},
        {"card 200 and cash 400",
         {.cash = 400, .member = 200},
         -5,
         395,
         0,
         595,
         "现金395 会员卡200 ",
         "请找零：[ 5.00 ]元  ！"},
        {"collected lowered to 590", {.cash = 590, .collected = 590}, 0, 590, 5, 590, "现金590 免单5 ", ""},
        {"cash short of the bill", {.cash = 95}, 500, 595, 0, 595, "现金595 ", "请收现金：[ 500.00 ]元  ！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Settlement s = settleWith(c.paying);
        ASSERT_TRUE(s.ok()) << s.refusal.toStdString();
        EXPECT_DOUBLE_EQ(s.change, c.change);
        EXPECT_DOUBLE_EQ(s.payments[0].amount, c.cashKept);
        EXPECT_DOUBLE_EQ(s.guest.none_mone, c.waived);
        EXPECT_DOUBLE_EQ(s.payments[1].amount, c.waived);
        EXPECT_DOUBLE_EQ(s.guest.tabl_gues_fact, c.collected);
        EXPECT_EQ(s.guest.tabl_gues_pay_narr, QString::fromUtf8(c.description));
        EXPECT_EQ(s.changeMessage(), QString::fromUtf8(c.message));
    }
}

TEST(SettleStep, RefusalsComeRowByRowAndChangeNothing) {
    const std::optional<MemberCard> points =
        MemberCard{.code = "990001", .name = "周建国", .cardType = "积分卡"};
    const std::optional<MemberCard> hundred =
        MemberCard{.code = "880002", .name = "王", .cardType = "储值卡", .balance = 100};
    const std::optional<CreditGuest> nearlyFull =
        CreditGuest{.code = "001", .name = "华联贸易", .limit = 5000, .owed = 4900};
    const struct {
        const char* name;
        Paying paying;
        QString refusal;
    } cases[] = {
        {"no credit guest", {.credit = 100, .account = std::nullopt}, kNoCreditGuestMessage},
        {"over the credit limit", {.credit = 100.5, .account = nearlyFull}, kOverCreditLimitMessage},
        {"exactly up to the credit limit", {.credit = 100, .account = nearlyFull}, QString()},
        {"no member", {.member = 100, .card = std::nullopt}, kNoMemberMessage},
        {"a points card", {.member = 100, .card = points}, kPointsCardMessage},
        {"the member's whole balance", {.member = 100, .card = hundred}, QString()},
        {"half a yuan over the balance", {.member = 100.5, .card = hundred}, kOverMemberBalanceMessage},
        // The card row comes before the credit row: its check answers first.
        {"both wrong",
         {.member = 100, .credit = 100, .card = std::nullopt, .account = std::nullopt},
         kNoMemberMessage},
        {"a waiver above the bill", {.waiver = 600}, kWaiverOverBillMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Settlement s = settleWith(c.paying);
        EXPECT_EQ(s.refusal, c.refusal);
        if (!s.ok() && c.refusal != kWaiverOverBillMessage) {
            EXPECT_DOUBLE_EQ(s.guest.memb_mone, 0);
            EXPECT_DOUBLE_EQ(s.guest.hang_mone, 0);
            EXPECT_DOUBLE_EQ(s.guest.tabl_gues_fact, 595);
        }
    }
}

TEST(SettleStep, CommissionIsEarnedOnlyAboveTheQuota) {
    const CommissionRates rates{.quota = 1000,
                                .bookingStandard = 3,
                                .bookingAbove = 6,
                                .designatedStandard = 5,
                                .designatedAbove = 10,
                                .seatingStandard = 1,
                                .seatingAbove = 2};
    const struct {
        double base;
        QString kind;
        std::optional<double> earned;
    } cases[] = {
        {1500, kDesignatedCommission, 100}, // 1000 x 5 % + 500 x 10 %
        {1500, kBookingCommission, 60},
        {1500, kSeatingCommission, 20},
        {1500, kNoCommission, 0},
        {900, kDesignatedCommission, std::nullopt},
        {1000, kDesignatedCommission, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind.toStdString() + " on " + std::to_string(c.base));
        EXPECT_EQ(commission(c.base, c.kind, rates, rounding()), c.earned);
    }
}

} // namespace
