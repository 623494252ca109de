#include "common/money.h"

#include <cmath>
#include <cstdint>

namespace sorrel {

namespace {

// Amounts are read to the nearest millionth before any decision is taken. A double cannot hold
// most decimal amounts: 2.675 is stored just below 2.675 and 0.1 x 3 x 10 just above 3. Read at a
// millionth, 2.675 x 100 is the half 267.5 it is on the receipt and 3.0000000000000004 is 3, so
// a half is recognised as the cashier sees it and a whole amount is never pushed to the next
// unit by binary noise. A millionth is far below a cent and far above the noise of any sum of
// venue amounts.
constexpr double kMicro = 1e6;
// Beyond this size a double holds no fraction worth reading; such values pass through whole.
constexpr double kLargest = 1e12;

std::int64_t micros(double value) {
    return std::llround(value * kMicro);
}

// Whole units and the remaining millionths (0 <= rest < kMicro) of a value read at a millionth.
struct Split {
    std::int64_t whole;
    std::int64_t rest;
};

Split split(double value) {
    const std::int64_t m = micros(value);
    const std::int64_t unit = std::int64_t(kMicro);
    std::int64_t whole = m / unit;
    std::int64_t rest = m % unit;
    if (rest < 0) {
        rest += unit;
        --whole;
    }
    return {whole, rest};
}

bool isLarge(double value) {
    return !std::isfinite(value) || std::fabs(value) >= kLargest;
}

double roundDown(double value) {
    return isLarge(value) ? std::floor(value) : double(split(value).whole);
}

double roundUp(double value) {
    if (isLarge(value)) return std::ceil(value);
    const Split s = split(value);
    return double(s.rest > 0 ? s.whole + 1 : s.whole);
}

double towardZero(double value) {
    return value < 0 ? roundUp(value) : roundDown(value);
}

} // namespace

double roundHalfEven(double value) {
    if (isLarge(value)) return std::nearbyint(value);
    const Split s = split(value);
    const std::int64_t half = std::int64_t(kMicro) / 2;
    if (s.rest < half) return double(s.whole);
    if (s.rest > half) return double(s.whole + 1);
    return double(s.whole % 2 == 0 ? s.whole : s.whole + 1);
}

double IntWay(double amount, const QString& sumScheme) {
    const QString scheme = sumScheme.trimmed();
    if (scheme == kRoundHalfEven) return roundHalfEven(amount);
    if (scheme == kDropFraction) return towardZero(amount);
    if (scheme == kKeepCents) return roundHalfEven(amount * 100.0) / 100.0;
    if (scheme == kRaiseFraction) return roundUp(amount);
    return amount;
}

double lineValue(double quantity, double unitPrice, int typeFlag) {
    return quantity * unitPrice * typeFlag;
}

double orderLineAmount(double quantity, double unitPrice, int typeFlag, const QString& lineScheme) {
    const double v = lineValue(quantity, unitPrice, typeFlag);
    const QString scheme = lineScheme.trimmed();
    if (scheme == kRaiseFraction) return v >= 0 ? roundHalfEven(v + 0.49) : roundHalfEven(v - 0.49);
    if (scheme == kRoundHalfEven) return roundHalfEven(v);
    return v;
}

double stagingLineAmount(double quantityTimesPrice, const QString& lineScheme, const QString& sumScheme) {
    const QString scheme = lineScheme.trimmed();
    if (scheme == kRoundHalfEven) return roundHalfEven(quantityTimesPrice);
    if (scheme == kKeepCents) return IntWay(quantityTimesPrice, sumScheme);
    return roundHalfEven(quantityTimesPrice + 0.49);
}

int compareMoney(double a, double b) {
    if (isLarge(a) || isLarge(b)) return a < b ? -1 : (a > b ? 1 : 0);
    const std::int64_t ma = micros(a);
    const std::int64_t mb = micros(b);
    return ma < mb ? -1 : (ma > mb ? 1 : 0);
}

} // namespace sorrel
