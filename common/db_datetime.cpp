#include "common/db_datetime.h"

namespace sorrel {

namespace {
const QString kFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
}

QDate timeOnlyDay() { return QDate(1899, 12, 30); }

QString toDbDateTime(const QDateTime& value) {
    // Seconds only: a fraction would make equal moments compare unequal as text.
    return value.toString(kFormat);
}

QString toDbDate(const QDate& value) { return QDateTime(value, QTime(0, 0)).toString(kFormat); }

QString toDbTime(const QTime& value) { return QDateTime(timeOnlyDay(), value).toString(kFormat); }

QDateTime fromDbDateTime(const QVariant& value) {
    if (value.isNull())
        return {};
    if (value.userType() == QMetaType::QDateTime)
        return value.toDateTime();
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return {};
    QDateTime parsed = QDateTime::fromString(text.left(19), kFormat);
    if (!parsed.isValid())
        parsed = QDateTime(QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    return parsed;
}

} // namespace sorrel
