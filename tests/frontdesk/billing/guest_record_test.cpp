// The bill as a value: every column survives saving and loading, saving writes only what this
// workstation changed, and a bill that vanished or has no number is never saved silently.
#include "common/db/errors.h"
#include "common/schema/schema.h"
#include "tests/frontdesk/billing/billing_fixture.h"

using namespace sorrel;
using namespace sorrel::billing;

namespace {

class GuestRecordTest : public test::BillingTest {};

TEST(GuestRecordColumns, EveryColumnOfTheBillIsCarried) {
    QStringList expected = schema::findTable(QStringLiteral("TableGuestlist"))->columnNames();
    QStringList carried = GuestRecord::columnNames();
    for (QStringList* list : {&expected, &carried})
        for (QString& name : *list)
            name = name.toLower();
    EXPECT_EQ(carried, expected);
}

TEST_P(GuestRecordTest, EveryKindOfValueSurvivesSavingAndLoading) {
    GuestRecord guest;
    guest.tabl_gues_auto_recn = 42;
    guest.tabl_code = QStringLiteral("A01");
    guest.tabl_gues_name = QStringLiteral("O'Brien 王");
    guest.tabl_gues_coun = 6;
    guest.tabl_gues_time = QDateTime(QDate(2026, 1, 31), QTime(23, 59, 59));
    guest.tabl_gues_shou = 1234.56;
    guest.tabl_gues_tax_real = true;
    guest.post(db());

    const std::optional<GuestRecord> loaded = GuestRecord::load(db(), 42);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->tabl_gues_name, guest.tabl_gues_name);
    EXPECT_EQ(loaded->tabl_gues_coun, 6);
    EXPECT_EQ(loaded->tabl_gues_time, guest.tabl_gues_time);
    EXPECT_FALSE(loaded->tabl_gues_time_end.isValid());
    EXPECT_DOUBLE_EQ(loaded->tabl_gues_shou, 1234.56);
    EXPECT_TRUE(loaded->tabl_gues_tax_real);
    EXPECT_EQ(loaded->disc_code, QStringLiteral("N"));
    EXPECT_EQ(loaded->tabl_gues_stat, QStringLiteral("2"));
    EXPECT_FALSE(GuestRecord::load(db(), 43));
}

TEST_P(GuestRecordTest, SavingKeepsWhatAnotherWorkstationChanged) {
    GuestRecord mine = openBill(7, "M", QDateTime(QDate(2026, 3, 1), QTime(19, 0)));
    std::unique_ptr<Database> other = scratch().connectAgain();
    other->exec(QStringLiteral("UPDATE TableGuestlist SET tabl_gues_name = ? WHERE tabl_gues_auto_recn = 7"),
                {QStringLiteral("张先生")});

    mine.tabl_gues_room = 180;
    mine.tabl_gues_shou = 180;
    mine.post(db());
    const GuestRecord stored = *GuestRecord::load(db(), 7);
    EXPECT_EQ(stored.tabl_gues_name, QStringLiteral("张先生"));
    EXPECT_EQ(stored.tabl_gues_room, 180);
    EXPECT_EQ(stored.tabl_gues_shou, 180);
}

TEST_P(GuestRecordTest, ABillThatVanishedOrHasNoNumberIsNotSavedSilently) {
    GuestRecord guest = openBill(7, "M", QDateTime(QDate(2026, 3, 1), QTime(19, 0)));
    db().exec(QStringLiteral("DELETE FROM TableGuestlist WHERE tabl_gues_auto_recn = 7"));
    guest.tabl_gues_shou = 99;
    EXPECT_THROW(guest.post(db()), DbError);

    GuestRecord unnumbered;
    EXPECT_THROW(unnumbered.post(db()), DbError);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM TableGuestlist")).toInt(), 0);
}

SORREL_ON_EVERY_ENGINE(GuestRecordTest);

} // namespace
