#include "common/typed_input.h"

namespace sorrel {

double parseTypedNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok) refuseTypedNumber(text);
    return value;
}

void refuseTypedNumber(const QString& text) {
    throw InvalidInput(("'" + text + "' is not a valid floating point value").toUtf8().toStdString());
}

QDateTime parseTypedDateTime(const QString& text) {
    const QString t = text.trimmed();
    for (const char* format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        const QDateTime parsed = QDateTime::fromString(t, QLatin1String(format));
        if (parsed.isValid()) return parsed;
    }
    throw InvalidInput(("'" + text + "' is not a valid date and time").toUtf8().toStdString());
}

InputErrorKind classifyErrorText(const QString& text) {
    if (text.contains(QLatin1String("not a valid floating point value"), Qt::CaseInsensitive))
        return InputErrorKind::InvalidNumber;
    if (text.contains(QLatin1String("not a valid date and time"), Qt::CaseInsensitive))
        return InputErrorKind::InvalidDateTime;
    return InputErrorKind::Other;
}

} // namespace sorrel
