#include "frontdesk/billing/room_charge.h"

#include "common/money.h"

#include <algorithm>

namespace sorrel::billing {

namespace {

// Times are compared to the second, the resolution the database stores them at.
QDateTime toSecond(const QDateTime& value) {
    QDateTime copy = value;
    const QTime t = copy.time();
    copy.setTime(QTime(t.hour(), t.minute(), t.second()));
    return copy;
}

const QTime kNoon(12, 0, 0);
const QTime kHalfDayEnd(17, 59, 59);

} // namespace

double stayHours(const QDateTime& opened, const QDateTime& now) {
    if (!opened.isValid() || !now.isValid()) return 0;
    const qint64 seconds = toSecond(opened).secsTo(toSecond(now));
    return seconds > 0 ? double(seconds) / 3600.0 : 0;
}

double startedHours(double exactHours, const QString& sumRounding) {
    const double rounded = IntWay(exactHours, sumRounding);
    return compareMoney(exactHours, rounded) > 0 ? rounded + 1 : rounded;
}

bool isHalfDayAfternoon(const QTime& time) {
    const QTime t(time.hour(), time.minute(), time.second());
    return t >= kNoon && t <= kHalfDayEnd;
}

double stayDays(const QDateTime& opened, const QDateTime& now, bool halfDay) {
    if (!opened.isValid() || !now.isValid()) return 0;
    const QDateTime from = toSecond(opened);
    const QDateTime to = toSecond(now);
    double days = double(std::max<qint64>(0, from.date().daysTo(to.date())));
    if (from.time() < kNoon) days += 1;
    if (to.time() >= kNoon) {
        if (!halfDay)
            days += 1;
        else
            days += to.time() <= kHalfDayEnd ? 0.5 : 1;
    }
    return days;
}

// The stay is cut into spans of the day: from opening to now, or, when now is earlier in the day
// than the opening, from opening to 23:59:59 and from 00:00:00 to now (the second from 23:59:59
// to midnight is not charged). Each band charges, at its price, the part of the stay that lies
// between its start and its end and that no earlier band (in stored order) has charged already.
// For the usual set-up (bands in order, each ending the second before the next one starts,
// together covering the day) this is the walk from band to band a cashier does by hand, and the
// second between one band's end and the next one's start is free. Bands that overlap charge each
// second once, at the price of the first band holding it; a gap between bands is free; the order
// of storage matters only for overlaps; a band whose end is before its start runs across
// midnight; a negative price charges nothing. The work is bounded by the number of bands, the
// charge is never negative, and no second is charged twice.
double timeBandCharge(const QList<TimeBand>& bands, const QTime& opened, const QTime& now) {
    // The stay runs from opening to now as a band would, across midnight when now is earlier.
    QList<DaySpan> open = TimeBand{opened, now}.spans(); // parts no band has charged yet
    double sum = 0;
    for (const TimeBand& band : bands) {
        const double price = std::max(0.0, band.pricePerHour);
        for (const DaySpan& piece : band.spans()) {
            QList<DaySpan> left;
            for (const DaySpan& part : open) {
                const int from = std::max(part.from, piece.from);
                const int to = std::min(part.to, piece.to);
                if (from >= to) {
                    left << part;
                    continue;
                }
                sum += double(to - from) / 3600.0 * price;
                if (part.from < from) left << DaySpan{part.from, from};
                if (to < part.to) left << DaySpan{to, part.to};
            }
            open = left;
        }
    }
    return sum;
}

} // namespace sorrel::billing
