// Rounding of money as the cashier meets it: halves, negatives, each scheme of the settings,
// and amounts that binary floating point stores a hair off their decimal value.
#include "common/money.h"

#include <gtest/gtest.h>

using namespace sorrel;

namespace {

struct RoundingCase {
    const char* what;
    QString scheme;
    double amount;
    double expected;
};

TEST(Money, BillRoundingUnderEachScheme) {
    const QString none;
    const RoundingCase cases[] = {
        {"a half goes down to the even unit", kRoundHalfEven, 28.5, 28},
        {"a half goes up to the even unit", kRoundHalfEven, 29.5, 30},
        {"a negative half goes to the even unit", kRoundHalfEven, -2.5, -2},
        {"a negative half the other way", kRoundHalfEven, -3.5, -4},
        {"below a half", kRoundHalfEven, 28.35, 28},
        {"above a half", kRoundHalfEven, 28.51, 29},
        {"2.675 counts as the half it is on the receipt", kRoundHalfEven, 2.675 * 100, 268},
        {"dropping the fraction", kDropFraction, 2.9, 2},
        {"dropping the fraction of a refund", kDropFraction, -2.9, -2},
        {"3 stored a hair above 3 stays 3", kDropFraction, 0.1 * 3 * 10, 3},
        {"3 stored a hair below 3 stays 3", kDropFraction, 3 - 4e-16, 3},
        {"cents: the half of 2.345 goes to the even cent", kKeepCents, 2.345, 2.34},
        {"cents: the half of 2.675 goes to the even cent", kKeepCents, 2.675, 2.68},
        {"cents: the half of 1.005", kKeepCents, 1.005, 1.00},
        {"cents: a refund", kKeepCents, -2.345, -2.34},
        {"cents: a third", kKeepCents, 10.0 / 3, 3.33},
        {"raising the fraction", kRaiseFraction, 2.1, 3},
        {"a whole amount is not raised", kRaiseFraction, 2.0, 2},
        {"a whole amount stored a hair above is not raised", kRaiseFraction, 0.1 * 3 * 10, 3},
        {"raising a refund goes toward zero", kRaiseFraction, -2.5, -2},
        {"no scheme leaves the amount", none, 2.345, 2.345},
        {"an unknown scheme leaves the amount", QStringLiteral("四舍六入"), 28.5, 28.5},
        {"a scheme with a trailing blank still applies", kRoundHalfEven + QStringLiteral(" "), 28.5, 28},
    };
    for (const RoundingCase& c : cases)
        EXPECT_DOUBLE_EQ(IntWay(c.amount, c.scheme), c.expected) << c.what;
}

struct LineCase {
    const char* what;
    QString scheme;
    double quantity;
    double price;
    int flag;
    double expected;
};

TEST(Money, OrderLineAmountUnderEachScheme) {
    const LineCase cases[] = {
        {"raise: 2.02 becomes 3", kRaiseFraction, 1, 2.02, 1, 3},
        {"raise: a cent over 2 is dropped (3 is odd)", kRaiseFraction, 1, 2.01, 1, 2},
        {"raise: a cent over 3 is raised (4 is even)", kRaiseFraction, 1, 3.01, 1, 4},
        {"raise: 3 x 0.7 stored below 2.1 becomes 3", kRaiseFraction, 3, 0.7, 1, 3},
        {"raise: a whole amount stays", kRaiseFraction, 2, 10, 1, 20},
        {"raise: a returned 2.5 becomes -3", kRaiseFraction, 1, 2.5, -1, -3},
        {"raise: a returned line of 2 x 10 is -20", kRaiseFraction, 2, 10, -1, -20},
        {"raise: a gift line is 0", kRaiseFraction, 2, 10, 0, 0},
        {"half to even: 2.5 becomes 2", kRoundHalfEven, 1, 2.5, 1, 2},
        {"half to even: 3.5 becomes 4", kRoundHalfEven, 1, 3.5, 1, 4},
        {"half to even: a returned 2.5 is -2", kRoundHalfEven, 1, 2.5, -1, -2},
        {"cents: kept as they are", kKeepCents, 3, 0.7, 1, 3 * 0.7},
        {"cents: a returned line", kKeepCents, 1.5, 3.3, -1, -1.5 * 3.3},
        {"no scheme: kept as it is", QString(), 1, 2.01, 1, 2.01},
    };
    for (const LineCase& c : cases)
        EXPECT_DOUBLE_EQ(orderLineAmount(c.quantity, c.price, c.flag, c.scheme), c.expected) << c.what;
}

TEST(Money, StagingListAmountUnderEachScheme) {
    struct Case {
        const char* what;
        QString line;
        QString sum;
        double qp;
        double expected;
    };
    const Case cases[] = {
        {"raise", kRaiseFraction, kRoundHalfEven, 2.02, 3},
        {"raise: a cent over 2 is dropped", kRaiseFraction, kRoundHalfEven, 2.01, 2},
        {"half to even", kRoundHalfEven, kKeepCents, 2.5, 2},
        {"cents follow the bill rounding", kKeepCents, kRoundHalfEven, 2.5, 2},
        {"cents follow the bill rounding to the cent", kKeepCents, kKeepCents, 2.345, 2.34},
        {"cents with no bill rounding", kKeepCents, QString(), 2.345, 2.345},
        {"no scheme shows the raised amount", QString(), kKeepCents, 2.02, 3},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(stagingLineAmount(c.qp, c.line, c.sum), c.expected) << c.what;
}

TEST(Money, AmountsEqualToTheMillionthCompareEqual) {
    EXPECT_EQ(compareMoney(0.1 + 0.2, 0.3), 0);
    EXPECT_EQ(compareMoney(320.00000000000006, 320), 0);
    EXPECT_LT(compareMoney(319.99, 320), 0);
    EXPECT_GT(compareMoney(-1, -1.01), 0);
}

TEST(Money, HugeAndBrokenAmountsDoNotOverflow) {
    EXPECT_DOUBLE_EQ(IntWay(1e15 + 0.5, kRoundHalfEven), std::nearbyint(1e15 + 0.5));
    EXPECT_DOUBLE_EQ(IntWay(-1e14, kDropFraction), -1e14);
    EXPECT_TRUE(std::isnan(IntWay(std::nan(""), kRoundHalfEven)));
}

} // namespace
