#include "common/unhandled_error.h"

#include "common/db/errors.h"
#include "common/error_log.h"
#include "common/messages.h"
#include "common/typed_input.h"

namespace sorrel {

QString codedFailureMessage(const QString& code) {
    return QStringLiteral("系统发生错误编码[") + code +
           QStringLiteral("]即将关闭，请记录此错误编码然后与开发商联系，谢谢合作！");
}

QString internalErrorReferenceMessage(const QString& reference) {
    return QStringLiteral("错误记录编号[") + reference + QStringLiteral("]");
}

QString describeError(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const CodedFailure& failure) {
        return QStringLiteral("failed step [") + failure.code() + QStringLiteral("]: ") + failure.detail();
    } catch (const DbError& e) {
        return QStringLiteral("database error: ") + e.text();
    } catch (const StepRefused& e) {
        return QStringLiteral("step refused: ") + e.text();
    } catch (const std::exception& e) {
        return QStringLiteral("error: ") + QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

ErrorOutcome reportUnhandledError(std::exception_ptr error, const QString& where) {
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const CodedFailure& failure) {
        errorlog::write(where, describeError(error));
        messages::error(codedFailureMessage(failure.code()));
        return ErrorOutcome::Close;
    } catch (const StepRefused& refusal) {
        messages::information(refusal.text());
        return ErrorOutcome::CarryOn;
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
    const QString reference = errorlog::write(where, describeError(error));
    messages::error(kInternalErrorMessage);
    messages::error(internalErrorReferenceMessage(reference));
    return ErrorOutcome::Close;
}

} // namespace sorrel
