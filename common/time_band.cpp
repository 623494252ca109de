#include "common/time_band.h"

#include <algorithm>

namespace sorrel {

int secondOfDay(const QTime& time) {
    return time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0;
}

QList<DaySpan> TimeBand::spans() const {
    if (!isSet()) return {};
    const int s = secondOfDay(start);
    const int e = secondOfDay(end);
    if (s <= e) return {DaySpan{s, e}};
    return {DaySpan{s, kLastSecondOfDay}, DaySpan{0, e}};
}

bool TimeBand::contains(const QTime& time) const {
    const int t = secondOfDay(time);
    for (const DaySpan& span : spans())
        if (span.from <= t && t <= span.to) return true;
    return false;
}

bool overlap(const TimeBand& a, const TimeBand& b) {
    for (const DaySpan& x : a.spans())
        for (const DaySpan& y : b.spans())
            if (qMin(x.to, y.to) - qMax(x.from, y.from) > 0) return true;
    return false;
}

QList<DaySpan> uncoveredSpans(const QList<TimeBand>& bands) {
    QList<DaySpan> held;
    for (const TimeBand& band : bands)
        held << band.spans();
    std::sort(held.begin(), held.end(), [](const DaySpan& x, const DaySpan& y) { return x.from < y.from; });
    QList<DaySpan> gaps;
    int next = 0; // the first second not yet known to be held
    for (const DaySpan& span : held) {
        if (span.from > next) gaps << DaySpan{next, span.from - 1};
        next = qMax(next, span.to + 1);
    }
    if (next <= kLastSecondOfDay) gaps << DaySpan{next, kLastSecondOfDay};
    return gaps;
}

std::optional<TimeBand> bandAt(const QList<TimeBand>& bands, const QTime& time) {
    for (const TimeBand& band : bands)
        if (band.contains(time)) return band;
    return std::nullopt;
}

} // namespace sorrel
