#include "common/time_band.h"

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

std::optional<TimeBand> bandAt(const QList<TimeBand>& bands, const QTime& time) {
    for (const TimeBand& band : bands)
        if (band.contains(time)) return band;
    return std::nullopt;
}

} // namespace sorrel
