// What the program says about an error no operation handled: a mistyped number or date is
// answered and work goes on; a failed business step shows its code; anything else shows the
// internal-error messages. In the last two cases the program must close without asking.
#pragma once

#include <QString>
#include <exception>

namespace sorrel {

enum class ErrorOutcome { CarryOn, Close };

// Shows the messages through the message service and says whether the program may go on.
ErrorOutcome reportUnhandledError(std::exception_ptr error);

QString codedFailureMessage(const QString& code);

inline const QString kInternalErrorMessage =
    QStringLiteral("系统发生内部错误，请记录错误发生的位置并记录以下错误提示后与开发商联系！");

} // namespace sorrel
