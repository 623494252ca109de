// A price band of a time-priced room (a ConsTimeMode row) as both programs read it: which times
// of day it holds, a band whose end is before its start running across midnight. The front desk
// prices a stay by it and the back office checks bands against each other by the same rules.
#pragma once

#include <QList>
#include <QTime>
#include <optional>

namespace sorrel {

// Seconds of the day from `from` to `to`, both included; its length is to - from.
struct DaySpan {
    int from = 0;
    int to = 0;
};

inline constexpr int kLastSecondOfDay = 24 * 3600 - 1; // 23:59:59

// The second of the day a time falls in (milliseconds dropped); 0 for an unknown time.
int secondOfDay(const QTime& time);

struct TimeBand {
    QTime start;
    QTime end;
    double pricePerHour = 0;

    // A band with a start or an end nobody typed holds no time at all.
    bool isSet() const { return start.isValid() && end.isValid(); }

    // The band as spans of the day: one, or two for a band across midnight (from its start to
    // 23:59:59 and from 00:00:00 to its end). None for a band that is not set.
    QList<DaySpan> spans() const;

    // start <= time <= end, across midnight for a band whose end is before its start.
    bool contains(const QTime& time) const;
};

// Two bands share more than an instant: a band that ends where the other starts does not.
bool overlap(const TimeBand& a, const TimeBand& b);

// The stretches of the day no band holds, in order. Bands meet second by second, so a band
// ending at 11:59:59 and the next starting at 12:00:00 leave nothing uncovered.
QList<DaySpan> uncoveredSpans(const QList<TimeBand>& bands);

// The first band, in stored order, that holds `time`; nothing when none does. A copy, so it
// stays valid whatever happens to the list it came from.
std::optional<TimeBand> bandAt(const QList<TimeBand>& bands, const QTime& time);

} // namespace sorrel
