// The price bands of a time-priced mode as a manager keeps them: the standard bands copied once,
// bands that follow their mode, one mode's bands never overlapping, and the day's uncovered
// stretches named.
#include "tests/backoffice/rooms/room_fixture.h"

#include "backoffice/rooms/price_bands.h"
#include "common/db_datetime.h"

using namespace sorrel;
using namespace sorrel::lists;
using namespace sorrel::rooms;

namespace {

class PriceBandsTest : public test::RoomTest {
  protected:
    // Opens the bands of `mode` from the mode list.
    void open(const QString& mode) {
        ASSERT_TRUE(lists().modes().moveToKey(mode));
        ASSERT_TRUE(openBands(lists()));
    }
    // Sets band `row` of the open mode to start-end and saves it.
    bool setBand(int row, QTime start, QTime end) {
        MaintenanceList& bands = lists().bands();
        EXPECT_TRUE(bands.moveTo(row));
        bands.edit("cons_time_star", toDbTime(start));
        bands.edit("cons_time_end", toDbTime(end));
        const bool saved = bands.save();
        if (!saved) bands.cancel();
        return saved;
    }
};

const QStringList kStandardBands = {"00:00:00-11:59:59", "12:00:00-17:59:59", "18:00:00-23:59:59"};

TEST_P(PriceBandsTest, AModeGetsTheStandardBandsOnceAndKeepsThemThroughANewCode) {
    db().exec("INSERT INTO ConsModeList (cons_mode_code, cons_mode_name, cons_type_code) VALUES ('19', "
              "'KTV', '9')");
    reopen();
    open("09");
    EXPECT_EQ(bandsOf("09"), kStandardBands);
    open("19");
    open("09");
    open("19");
    EXPECT_EQ(bandsOf("09"), kStandardBands);
    EXPECT_EQ(bandsOf("19"), kStandardBands);
    EXPECT_EQ(lists().bands().rowCount(), 3);

    MaintenanceList& modes = lists().modes();
    ASSERT_TRUE(modes.moveToKey("09"));
    modes.edit("cons_mode_code", "29");
    ASSERT_TRUE(modes.save());
    EXPECT_EQ(bandsOf("29"), kStandardBands);
    EXPECT_TRUE(bandsOf("09").isEmpty());
    ASSERT_TRUE(modes.moveToKey("19"));
    ASSERT_TRUE(modes.remove());
    EXPECT_TRUE(bandsOf("19").isEmpty());

    // Bands an older program left under a code are not inherited by a new mode of that code.
    db().exec("INSERT INTO ConsTimeMode (cons_mode_code, cons_time_star, cons_time_end) VALUES ('39', ?, ?)",
              {toDbTime(QTime(1, 0)), toDbTime(QTime(2, 0))});
    ASSERT_TRUE(modes.append());
    modes.edit("cons_mode_code", "39");
    modes.edit("cons_mode_name", "新计时");
    modes.edit("cons_type_code", "9");
    ASSERT_TRUE(modes.save());
    open("39");
    EXPECT_EQ(bandsOf("39"), kStandardBands);
}

TEST_P(PriceBandsTest, OneModesBandsMayTouchButNotOverlap) {
    db().exec("INSERT INTO ConsModeList (cons_mode_code, cons_mode_name, cons_type_code) VALUES ('19', "
              "'KTV', '9')");
    reopen();
    open("19");
    open("09");
    struct Case {
        int row;
        QTime start, end;
        bool saved;
    } cases[] = {
        {1, QTime(11, 0), QTime(17, 59, 59), false}, // into the morning band
        {2, QTime(17, 0), QTime(23, 59, 59), false}, // into the afternoon band
        {2, QTime(23, 0), QTime(1, 0), false},       // across midnight into the morning
        {0, QTime(0, 0), QTime(12, 0), true},        // ends where the afternoon starts
        {0, QTime(6, 0), QTime(12, 0), true},        // leaves a gap
    };
    for (const Case& c : cases) {
        sink.shown.clear();
        EXPECT_EQ(setBand(c.row, c.start, c.end), c.saved) << c.start.toString().toStdString();
        EXPECT_EQ(shown(), c.saved ? QStringList() : QStringList{kBandOverlapMessage});
    }
    EXPECT_EQ(bandsOf("09"), (QStringList{"06:00:00-12:00:00", "12:00:00-17:59:59", "18:00:00-23:59:59"}));
    EXPECT_EQ(uncoveredText(lists()), QStringList{"00:00:00-05:59:59"});
    // Another mode's bands are its own: the same times pass there, and its seams are no gaps.
    open("19");
    EXPECT_TRUE(uncoveredText(lists()).isEmpty());
    EXPECT_TRUE(setBand(0, QTime(6, 0), QTime(12, 0)));
}

SORREL_ON_EVERY_ENGINE(PriceBandsTest);

} // namespace
