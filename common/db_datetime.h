// The one canonical form of dates and date-times in the database: "yyyy-MM-dd HH:mm:ss",
// whatever the workstation's locale. A date is that form at midnight; a time of day alone
// (a price band's start) is that form on the day 1899-12-30.
#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace sorrel {

QString toDbDateTime(const QDateTime& value);
QString toDbDate(const QDate& value);
QString toDbTime(const QTime& value);

// A bound QDateTime, QDate or QTime in the stored form; a null QString for any other value.
// Both engines bind dates through this one function.
QString toDbText(const QVariant& value);

// Reads a stored value back (text in the canonical form, or a QDateTime); invalid when empty.
QDateTime fromDbDateTime(const QVariant& value);

// True for a value the database stores as NULL: a null value, or a date, time or date-time that
// names no moment (an invalid QDateTime means "not yet", as a bill's end before checkout).
bool storedAsNull(const QVariant& value);

// The day used for a time of day alone.
QDate timeOnlyDay();

} // namespace sorrel
