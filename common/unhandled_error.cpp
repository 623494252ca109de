#include "common/unhandled_error.h"

#include "common/db/errors.h"
#include "common/messages.h"
#include "common/typed_input.h"

namespace sorrel {

QString codedFailureMessage(const QString& code) {
    return QStringLiteral("系统发生错误编码[") + code +
           QStringLiteral("]即将关闭，请记录此错误编码然后与开发商联系，谢谢合作！");
}

ErrorOutcome reportUnhandledError(std::exception_ptr error) {
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const CodedFailure& failure) {
        messages::error(codedFailureMessage(failure.code()));
        return ErrorOutcome::Close;
    } catch (const DbError& e) {
        text = e.text();
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("unknown error");
    }
    switch (classifyErrorText(text)) {
    case InputErrorKind::InvalidNumber:
        messages::information(kInvalidNumberMessage);
        return ErrorOutcome::CarryOn;
    case InputErrorKind::InvalidDateTime:
        messages::information(kInvalidDateTimeMessage);
        return ErrorOutcome::CarryOn;
    case InputErrorKind::Other:
        break;
    }
    messages::error(kInternalErrorMessage);
    messages::error(text);
    return ErrorOutcome::Close;
}

} // namespace sorrel
