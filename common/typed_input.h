// Numbers, dates and texts typed by the operator. A mistyped number or date throws InvalidInput,
// which the program-wide handler answers with "please type it again" and the program carries on.
#pragma once

#include <QDateTime>
#include <QString>
#include <stdexcept>

namespace sorrel {

class InvalidInput : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Blanks around the number are ignored; anything else that is not a number throws. A number is
// written as an operator types it: digits, a sign and one point, at most 15 digits (what an amount
// holds exactly); "1e308", "NaN" and "inf" are no amounts.
double parseTypedNumber(const QString& text);
// What a number's column holds, both ends included.
struct NumberRange {
    double lowest;
    double highest;
};
// An amount of money or a quantity: twelve digits before the point, as the venue's books hold.
inline constexpr NumberRange kAmountRange{-999999999999.99, 999999999999.99};
// As above, and a number outside `range` is refused too.
double parseTypedNumber(const QString& text, NumberRange range);
// A field still being typed, or left empty: blank, or only a point, counts as 0; anything else
// is read as above.
double parseTypedNumberOrZero(const QString& text, NumberRange range = kAmountRange);
// A number that did not come as text (a step without a field) meets the same rule: a value
// that is no real number, or lies outside `range`, is refused as a mistyped one.
double checkedNumber(double value, NumberRange range);
// The largest value a decimal(precision, 2) column holds: 10^(precision-2) - 0.01.
double largestDecimal(int precision);
// A number as the screens show it: never in exponent form, at most `decimals` places, no
// trailing zeros after the point ("2", "0.5", "99999999.99").
QString plainNumberText(double value, int decimals = 2);
// A number typed that cannot be taken (not a number, or beyond what its field holds).
[[noreturn]] void refuseTypedNumber(const QString& text);
// "yyyy-MM-dd" or "yyyy-MM-dd HH:mm[:ss]".
QDateTime parseTypedDateTime(const QString& text);

// Text as a keyboard types it: the control characters a paste brings (NUL, escape sequences,
// direction overrides) and half characters (a field's length may cut one in two) are taken out;
// tabs and line breaks become blanks.
QString plainTypedText(const QString& text);

enum class InputErrorKind { InvalidNumber, InvalidDateTime, Other };
// Sorts an error text the way the program-wide handler does (case does not matter).
InputErrorKind classifyErrorText(const QString& text);

inline const QString kInvalidNumberMessage = QStringLiteral("输入的数值无效，请重新输入！");
inline const QString kInvalidDateTimeMessage = QStringLiteral("输入的日期时间无效，请重新输入！");

} // namespace sorrel
