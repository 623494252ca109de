// The zone every program names at start: the system's own when TZ is not set, and a TZ the
// workstation sets is kept, so a bill's times mean the same moment before and after.
#include "common/local_time_zone.h"

#include <QDateTime>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

qint64 noonOfADay() {
    return QDateTime(QDate(2026, 12, 9), QTime(12, 0)).toSecsSinceEpoch();
}

TEST(LocalTimeZoneTest, TheZoneIsTheOneTheWorkstationHas) {
    const char* had = std::getenv("TZ");
    const std::optional<std::string> before = had ? std::optional<std::string>(had) : std::nullopt;
    struct Case {
        const char* tz; // nullptr: not set
        const char* named;
    };
    for (const Case& c : {Case{nullptr, ":/etc/localtime"}, Case{"CST-8", "CST-8"}}) {
        SCOPED_TRACE(c.named);
        if (c.tz)
            setenv("TZ", c.tz, 1);
        else
            unsetenv("TZ");
        tzset();
        const qint64 noon = noonOfADay();
        sorrel::nameLocalTimeZone();
        EXPECT_STREQ(std::getenv("TZ"), c.named);
        EXPECT_EQ(noonOfADay(), noon);
    }
    EXPECT_EQ(noonOfADay(), QDateTime(QDate(2026, 12, 9), QTime(4, 0), Qt::UTC).toSecsSinceEpoch());
    if (before)
        setenv("TZ", before->c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

} // namespace
