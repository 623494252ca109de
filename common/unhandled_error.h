// What the program says about an error no operation handled: a mistyped number or date is
// answered and work goes on; a step refused because another workstation changed its data shows
// the refusal and work goes on; a failed business step shows its code; anything else shows the
// internal-error message and the reference of its entry in the error log. In the last two cases
// the program must close without asking. The full detail (the engine's words, the statement)
// goes to the error log only: the staff never see English or SQL.
#pragma once

#include <QString>
#include <exception>

namespace sorrel {

enum class ErrorOutcome { CarryOn, Close };

// Shows the messages through the message service, logs what the staff are not shown, and says
// whether the program may go on. `where` tells the log where the error was caught.
ErrorOutcome reportUnhandledError(std::exception_ptr error, const QString& where = QStringLiteral("program"));

// The error in the words of the code that raised it, for the log (never for the staff).
QString describeError(std::exception_ptr error);

QString codedFailureMessage(const QString& code);
// The second box of an internal error: the reference of its entry in the error log.
QString internalErrorReferenceMessage(const QString& reference);

inline const QString kInternalErrorMessage =
    QStringLiteral("系统发生内部错误，请记录错误发生的位置并记录以下错误提示后与开发商联系！");

} // namespace sorrel
