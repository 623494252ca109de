// Which band of a time-priced room a time of day falls in, as both programs read the bands: the
// first in stored order, a band ending before its start running across midnight.
#include "common/time_band.h"

#include <gtest/gtest.h>

using namespace sorrel;

namespace {

TEST(TimeBand, TheFirstBandHoldingATimeAcrossMidnightToo) {
    const QList<TimeBand> bands = {{QTime(18, 0), QTime(23, 59, 59), 40},
                                   {QTime(12, 0), QTime(19, 0), 30},
                                   {QTime(22, 0), QTime(2, 0), 60},
                                   {QTime(), QTime(11, 0), 99}}; // a start nobody typed
    struct Case {
        QTime time;
        double price; // -1: no band
    };
    const Case cases[] = {{QTime(18, 30), 40}, {QTime(12, 0), 30},   {QTime(19, 0, 0), 40},
                          {QTime(1, 0), 60},   {QTime(2, 0, 0), 60}, {QTime(2, 0, 1), -1},
                          {QTime(23, 0), 40},  {QTime(11, 0), -1},   {QTime(0, 0), 60}};
    for (const Case& c : cases) {
        const std::optional<TimeBand> found = bandAt(bands, c.time);
        EXPECT_DOUBLE_EQ(found ? found->pricePerHour : -1, c.price) << c.time.toString().toStdString();
    }
}

TEST(TimeBand, BandsThatTouchDoNotOverlapAndOnlyRealGapsAreUncovered) {
    const TimeBand morning{QTime(0, 0), QTime(12, 0), 0};
    struct Case {
        TimeBand other;
        bool overlaps;
    };
    const Case cases[] = {
        {{QTime(12, 0), QTime(18, 0), 0}, false},     // starts where the morning ends
        {{QTime(11, 59, 59), QTime(18, 0), 0}, true}, // one second inside
        {{QTime(22, 0), QTime(0, 0), 0}, false},      // across midnight, ending where it starts
        {{QTime(22, 0), QTime(0, 0, 1), 0}, true},
        {{QTime(12, 0), QTime(12, 0), 0}, false}, // a new band, an instant only
    };
    for (const Case& c : cases)
        EXPECT_EQ(overlap(morning, c.other), c.overlaps) << c.other.start.toString().toStdString();

    const auto gaps = [](const QList<TimeBand>& bands) {
        QStringList texts;
        for (const DaySpan& gap : uncoveredSpans(bands))
            texts << QString::number(gap.from) + "-" + QString::number(gap.to);
        return texts;
    };
    const QList<TimeBand> standard = {{QTime(0, 0), QTime(11, 59, 59), 0},
                                      {QTime(12, 0), QTime(17, 59, 59), 0},
                                      {QTime(18, 0), QTime(23, 59, 59), 0}};
    EXPECT_TRUE(gaps(standard).isEmpty());
    EXPECT_EQ(gaps({{QTime(20, 0), QTime(6, 0), 0}}), QStringList{"21601-71999"});
    EXPECT_EQ(gaps({}), QStringList{"0-86399"});
}

} // namespace
