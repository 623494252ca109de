// The clock-driven part of a room charge: hours and days a party has stayed, and the charge of
// a time-priced room whose hourly price changes through the day. Pure functions of the times.
#pragma once

#include "common/time_band.h"

#include <QDateTime>
#include <QList>
#include <QTime>

namespace sorrel::billing {

// Exact hours from opening to now, with fractions; 0 when now is not after the opening or
// either time is unknown.
double stayHours(const QDateTime& opened, const QDateTime& now);

// Hours charged by the hour, any started hour counting in full: the hours rounded by the bill
// rounding, plus one when that left part of an hour uncharged.
double startedHours(double exactHours, const QString& sumRounding);

// Days charged at a daily room rate: calendar days from the opening date to today, one more
// when the party came in before noon, and for the afternoon of today one more (halfDay false)
// or, with halfDay true, a half day from 12:00:00 to 17:59:59 and a whole day from 18:00:00.
double stayDays(const QDateTime& opened, const QDateTime& now, bool halfDay);

// Whether a time of day is afternoon for the half-day rate: 12:00:00 to 17:59:59.
bool isHalfDayAfternoon(const QTime& time);

// The unrounded charge of a stay from `opened` to `now`, times of day only (so at most one day
// is ever charged). See the definition for how bands that overlap or leave gaps are charged.
double timeBandCharge(const QList<TimeBand>& bands, const QTime& opened, const QTime& now);

} // namespace sorrel::billing
