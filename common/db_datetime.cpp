#include "common/db_datetime.h"

namespace sorrel {

namespace {
const QString kFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The canonical form read digit by digit: QDateTime::fromString takes some 17 us a value, which
// adds up when a report or a bill reads hundreds of them. Anything else is left to fromString.
QDateTime parseCanonical(const QString& text) {
    if (text.size() != 19 || text.at(4) != u'-' || text.at(7) != u'-' || text.at(10) != u' ' ||
        text.at(13) != u':' || text.at(16) != u':')
        return {};
    const auto number = [&](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            const QChar c = text.at(i);
            if (c < u'0' || c > u'9') return -1;
            value = value * 10 + (c.unicode() - u'0');
        }
        return value;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const int h = number(11, 2), m = number(14, 2), s = number(17, 2);
    if (!date.isValid() || !QTime::isValid(h, m, s)) return {};
    return QDateTime(date, QTime(h, m, s));
}
} // namespace

QDate timeOnlyDay() {
    return QDate(1899, 12, 30);
}

QString toDbDateTime(const QDateTime& value) {
    // Seconds only: a fraction would make equal moments compare unequal as text.
    return value.toString(kFormat);
}

QString toDbDate(const QDate& value) {
    return QDateTime(value, QTime(0, 0)).toString(kFormat);
}

QString toDbTime(const QTime& value) {
    return QDateTime(timeOnlyDay(), value).toString(kFormat);
}

QString toDbText(const QVariant& value) {
    switch (value.userType()) {
    case QMetaType::QDateTime:
        return toDbDateTime(value.toDateTime());
    case QMetaType::QDate:
        return toDbDate(value.toDate());
    case QMetaType::QTime:
        return toDbTime(value.toTime());
    default:
        return {};
    }
}

QDateTime fromDbDateTime(const QVariant& value) {
    if (value.isNull()) return {};
    if (value.userType() == QMetaType::QDateTime) return value.toDateTime();
    const QString text = value.toString().trimmed();
    if (text.isEmpty()) return {};
    QDateTime parsed = parseCanonical(text.left(19));
    if (!parsed.isValid()) parsed = QDateTime::fromString(text.left(19), kFormat);
    if (!parsed.isValid())
        parsed = QDateTime(QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    return parsed;
}

bool storedAsNull(const QVariant& value) {
    if (value.isNull()) return true;
    switch (value.userType()) {
    case QMetaType::QDateTime:
        return !value.toDateTime().isValid();
    case QMetaType::QDate:
        return !value.toDate().isValid();
    case QMetaType::QTime:
        return !value.toTime().isValid();
    default:
        return false;
    }
}

} // namespace sorrel
