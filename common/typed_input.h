// Numbers and dates typed by the operator. A mistyped one throws InvalidInput, which the
// program-wide handler answers with "please type it again" and the program carries on.
#pragma once

#include <QDateTime>
#include <QString>
#include <stdexcept>

namespace sorrel {

class InvalidInput : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Blanks around the number are ignored; anything else that is not a number throws.
double parseTypedNumber(const QString& text);
// A number typed that cannot be taken (not a number, or beyond what its field holds).
[[noreturn]] void refuseTypedNumber(const QString& text);
// "yyyy-MM-dd" or "yyyy-MM-dd HH:mm[:ss]".
QDateTime parseTypedDateTime(const QString& text);

enum class InputErrorKind { InvalidNumber, InvalidDateTime, Other };
// Sorts an error text the way the program-wide handler does (case does not matter).
InputErrorKind classifyErrorText(const QString& text);

inline const QString kInvalidNumberMessage = QStringLiteral("输入的数值无效，请重新输入！");
inline const QString kInvalidDateTimeMessage = QStringLiteral("输入的日期时间无效，请重新输入！");

} // namespace sorrel
