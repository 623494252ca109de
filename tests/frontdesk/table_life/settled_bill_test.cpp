// A settled bill's ways on: cleared into the history, resumed, or brought back by reverse
// settlement; what each gives back to the member card and the credit account, and what each
// refuses when another workstation got there first.
#include "common/db/errors.h"
#include "common/schema/schema.h"
#include "common/system_password.h"
#include "frontdesk/table_life/clearing.h"
#include "frontdesk/table_life/held_table.h"
#include "frontdesk/table_life/reopening.h"
#include "frontdesk/table_life/reverse_settlement.h"
#include "tests/frontdesk/table_life/settled_venue.h"

using namespace sorrel;
using namespace sorrel::tables;
using namespace sorrel::table_life;

namespace {

class SettledBillTest : public test::SettledVenue {
  protected:
    billing::BillSettings settings() { return billing::BillSettings::load(db()); }
    QDate businessDate() { return loadSettingsRow(db()).timeWork.date(); }
};

TEST_P(SettledBillTest, ClearingCopiesTheBillItsLinesAndPaymentsIntoTheHistory) {
    const int number = open(QStringLiteral("A01"), 4, QStringLiteral("周先生")).tabl_gues_auto_recn;
    db().exec(QStringLiteral("UPDATE TableGuestlist SET book_flag = 1, book_oper_code = '02' WHERE "
                             "tabl_gues_auto_recn = ?"),
              {number});
    addLine(number, "1", 2, 38);
    addLine(number, "2", 1, 38);
    addLine(number, "3", 3, 12);
    settle(number, {.member = 20});
    clearTable(db(), QStringLiteral("A01"), number);

    // The bill as it was, every column, beside its copy.
    const QString columns = schema::findTable(QStringLiteral("TableGuestlist"))->columnNames().join(", ");
    const RecordSet current = db().query(
        QStringLiteral("SELECT %1 FROM TableGuestlist WHERE tabl_gues_auto_recn = ?").arg(columns), {number});
    const RecordSet copy = db().query(
        QStringLiteral("SELECT %1 FROM AllGues WHERE tabl_gues_auto_recn = ?").arg(columns), {number});
    ASSERT_EQ(copy.rowCount(), 1);
    // The names the history looks up are compared below.
    for (const QString& column : current.columns()) {
        if (column == QStringLiteral("dedu_oper_name") || column == QStringLiteral("book_oper_name"))
            continue;
        EXPECT_EQ(copy.value(0, column).toString(), current.value(0, column).toString())
            << column.toStdString();
    }
    // It stays in the current tables, off its table, until day end.
    const billing::GuestRecord cleared = bill(number);
    EXPECT_FALSE(cleared.tabl_gues_use);
    EXPECT_EQ(cleared.tabl_gues_stat, QStringLiteral("1"));
    EXPECT_EQ(rowsOf("TableConsList", number), 3);
    EXPECT_EQ(rowsOf("tableguespay", number), 3);
    const RecordSet history = db().query(
        QStringLiteral("SELECT grou_name, area_name, tota_y, tota_z, tota_l, tota_stan, dedu_oper_name, "
                       "book_oper_name FROM AllGues WHERE tabl_gues_auto_recn = ?"),
        {number});
    EXPECT_EQ(history.text(0, "grou_name"), QStringLiteral("服务一组"));
    EXPECT_EQ(history.text(0, "area_name"), QStringLiteral("前厅"));
    EXPECT_EQ(history.number(0, "tota_y"), 0);
    EXPECT_DOUBLE_EQ(history.number(0, "tota_z"), cleared.tabl_gues_fact - cleared.tabl_gues_tax - 10);
    EXPECT_EQ(history.number(0, "tota_l"), 0);
    EXPECT_EQ(history.number(0, "tota_stan"), 8000);
    EXPECT_EQ(history.text(0, "dedu_oper_name"), QStringLiteral("王芳"));
    EXPECT_EQ(history.text(0, "book_oper_name"), QStringLiteral("收银员"));

    const RecordSet lines = db().query(
        QStringLiteral(
            "SELECT menu_type_code, tabl_d_bill, tabl_t_bill, tabl_z_bill, tabl_tz_bill, menu_type_name, "
            "clas_name, tabl_name, cons_narr_name, tabl_cons_tota FROM AllCons WHERE tabl_gues_auto_recn = ? "
            "ORDER BY tabl_cons_ID"),
        {number});
    ASSERT_EQ(lines.rowCount(), 3);
    const struct {
        double ordered, returned, given;
        const char* kind;
        double amount;
    } expected[] = {{2, 0, 0, "点单", 76}, {0, 1, 0, "退单", -38}, {0, 0, 3, "赠单", 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lines.number(i, "tabl_d_bill"), expected[i].ordered) << i;
        EXPECT_EQ(lines.number(i, "tabl_t_bill"), expected[i].returned) << i;
        EXPECT_EQ(lines.number(i, "tabl_z_bill"), expected[i].given) << i;
        EXPECT_EQ(lines.number(i, "tabl_tz_bill"), 0) << i;
        EXPECT_EQ(lines.text(i, "menu_type_name"), QString::fromUtf8(expected[i].kind)) << i;
        EXPECT_EQ(lines.number(i, "tabl_cons_tota"), expected[i].amount) << i;
        EXPECT_EQ(lines.text(i, "clas_name"), QStringLiteral("热菜")) << i;
        EXPECT_EQ(lines.text(i, "tabl_name"), QStringLiteral("大厅1号桌")) << i;
        EXPECT_EQ(lines.text(i, "cons_narr_name"), QStringLiteral("少辣")) << i;
    }
    const RecordSet paid = db().query(
        QStringLiteral("SELECT pay_type_code, pay_type_mone, dept_name, orde_name, oper_name FROM AllGuesPay "
                       "WHERE tabl_gues_auto_recn = ? ORDER BY pay_type_code"),
        {number});
    ASSERT_EQ(paid.rowCount(), 3);
    EXPECT_EQ(paid.text(1, "pay_type_code"), QStringLiteral("M"));
    EXPECT_EQ(paid.number(1, "pay_type_mone"), 20);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(paid.text(i, "dept_name"), QStringLiteral("大厅"));
        EXPECT_EQ(paid.text(i, "orde_name"), QStringLiteral("早班"));
        EXPECT_EQ(paid.text(i, "oper_name"), QStringLiteral("管理员"));
    }
    // Clearing gives nothing back: the member paid.
    EXPECT_EQ(memberBalance(), 1980);
}

TEST_P(SettledBillTest, AClearedTableIsFreeOrBookedAndCannotBeClearedTwice) {
    struct Case {
        const char* what;
        bool bookedWhileSeated;
        const char* state;
    } cases[] = {{"no booking waits", false, "1"}, {"booked while the party sat", true, "5"}};
    for (const Case& c : cases) {
        const QString code = c.bookedWhileSeated ? QStringLiteral("V01") : QStringLiteral("V02");
        const int number = settledBill(code);
        if (c.bookedWhileSeated) {
            db().exec(QStringLiteral(
                          "INSERT INTO bookin (tabl_code, book_name, book_coun) VALUES (?, '吴女士', 6)"),
                      {code});
            setState(code, QStringLiteral("3")); // a booking never changes an occupied table's state
        }
        clearTable(db(), code, number);
        const BoardTable after = table(code);
        EXPECT_EQ(after.state, QString::fromLatin1(c.state)) << c.what;
        EXPECT_EQ(after.guestNumber, 0) << c.what;
        EXPECT_TRUE(after.guestName.isEmpty()) << c.what;
        EXPECT_EQ(after.guestAmount, 0) << c.what;
        // Cleared at another workstation a moment ago: this one's clear changes nothing.
        const QStringList before = everything();
        EXPECT_THROW(clearTable(db(), code, number), StepRefused) << c.what;
        EXPECT_EQ(everything(), before) << c.what;
    }
    // Only a settled table is cleared.
    const int seated = open(QStringLiteral("A05"), 2).tabl_gues_auto_recn;
    EXPECT_THROW(clearTable(db(), QStringLiteral("A05"), seated), StepRefused);
    EXPECT_EQ(rowsOf("AllGues", seated), 0);
}

TEST_P(SettledBillTest, ResumingGivesBackWhatTheBillChargedAndSettlingAgainChargesAgain) {
    const int number = settledBill(QStringLiteral("A01"), {.member = 100, .credit = 50});
    EXPECT_EQ(memberBalance(), 1900);
    EXPECT_EQ(creditOwed(), 50);
    for (int round = 0; round < 2; ++round) {
        const billing::GuestRecord reopened =
            resumeTable(db(), QStringLiteral("A01"), number, settings(), clock);
        EXPECT_EQ(memberBalance(), 2000) << round;
        EXPECT_EQ(creditOwed(), 0) << round;
        const billing::GuestRecord stored = bill(number);
        EXPECT_EQ(stored.memb_mone, 0);
        EXPECT_EQ(stored.hang_mone, 0);
        EXPECT_TRUE(stored.memb_card_code.isEmpty());
        EXPECT_EQ(stored.tabl_gues_fact, 0);
        EXPECT_EQ(stored.disc_code, QStringLiteral("N"));
        EXPECT_EQ(stored.tabl_gues_stat, QStringLiteral("2"));
        EXPECT_EQ(stored.tabl_gues_shou, 88);
        EXPECT_EQ(reopened.tabl_gues_shou, 88);
        EXPECT_EQ(stateOf(QStringLiteral("A01")), QStringLiteral("4"));
        EXPECT_EQ(rowsOf("tableguespay", number), 0);
        EXPECT_EQ(
            db().scalar(QStringLiteral("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = ? "
                                       "AND tabl_gues_end = 1"),
                        {number})
                .toInt(),
            0);
        // Resumed at another workstation a moment ago: nothing is given back twice.
        EXPECT_THROW(resumeTable(db(), QStringLiteral("A01"), number, settings(), clock), StepRefused);
        EXPECT_EQ(memberBalance(), 2000) << round;
        settle(number, {.member = 100, .credit = 50});
        EXPECT_EQ(memberBalance(), 1900) << round;
        EXPECT_EQ(creditOwed(), 50) << round;
    }
    // A cleared bill is not resumed.
    clearTable(db(), QStringLiteral("A01"), number);
    EXPECT_THROW(resumeTable(db(), QStringLiteral("A01"), number, settings(), clock), StepRefused);
    EXPECT_EQ(memberBalance(), 1900);
}

TEST_P(SettledBillTest, ReverseSettlementBringsTodaysClearedBillBackOpen) {
    const int number = settledBill(QStringLiteral("V03"), {.member = 30});
    const double receivable = bill(number).tabl_gues_shou;
    clearTable(db(), QStringLiteral("V03"), number);
    const QList<ClearedBill> listed =
        loadClearedBills(db(), QStringLiteral("V03"), businessDate(), businessDate());
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0].number, number);
    EXPECT_EQ(listed[0].guestName, QStringLiteral("周先生"));
    EXPECT_TRUE(
        loadClearedBills(db(), QStringLiteral("V03"), businessDate().addDays(1), businessDate().addDays(1))
            .isEmpty());
    EXPECT_TRUE(loadClearedBills(db(), QStringLiteral("V02"), businessDate(), businessDate()).isEmpty());

    const QStringList before = everything();
    for (const char* wrong : {"", "8889", "88 88"}) {
        EXPECT_FALSE(systemPasswordMatches(db(), QString::fromLatin1(wrong)));
        try {
            reverseSettle(db(), QStringLiteral("V03"), number, QString::fromLatin1(wrong), settings(), clock);
            ADD_FAILURE() << "reversed with the password '" << wrong << "'";
        } catch (const StepRefused& refused) {
            EXPECT_EQ(refused.text(), kWrongSystemPasswordMessage);
        }
    }
    EXPECT_EQ(everything(), before);

    EXPECT_TRUE(systemPasswordMatches(db(), QStringLiteral(" 8888 ")));
    reverseSettle(db(), QStringLiteral("V03"), number, QStringLiteral(" 8888 "), settings(), clock);
    for (const char* history : {"AllGues", "AllCons", "AllGuesPay"})
        EXPECT_EQ(rowsOf(history, number), 0) << history;
    const BoardTable back = table(QStringLiteral("V03"));
    EXPECT_EQ(back.state, QStringLiteral("4"));
    EXPECT_EQ(back.guestNumber, number);
    EXPECT_EQ(back.guestName, QStringLiteral("周先生"));
    const billing::GuestRecord reopened = bill(number);
    EXPECT_TRUE(reopened.tabl_gues_use);
    EXPECT_EQ(reopened.tabl_gues_stat, QStringLiteral("2"));
    EXPECT_EQ(reopened.tabl_gues_shou, receivable);
    EXPECT_EQ(back.guestAmount, receivable);
    EXPECT_EQ(rowsOf("TableConsList", number), 1);
    EXPECT_EQ(rowsOf("tableguespay", number), 0);
    EXPECT_EQ(memberBalance(), 2000);
    // Brought back at another workstation a moment ago.
    EXPECT_THROW(
        reverseSettle(db(), QStringLiteral("V03"), number, QStringLiteral("8888"), settings(), clock),
        StepRefused);
    EXPECT_EQ(memberBalance(), 2000);
}

TEST_P(SettledBillTest, ABillDayEndTookIsNotRebuiltFromTheHistory) {
    const int number = settledBill(QStringLiteral("V04"));
    clearTable(db(), QStringLiteral("V04"), number);
    // Day end removes the cleared bill from the current tables.
    db().exec(QStringLiteral("DELETE FROM TableGuestlist WHERE tabl_gues_auto_recn = ?"), {number});
    db().exec(QStringLiteral("DELETE FROM TableConsList WHERE tabl_gues_auto_recn = ?"), {number});
    const QStringList before = everything();
    try {
        reverseSettle(db(), QStringLiteral("V04"), number, QStringLiteral("8888"), settings(), clock);
        ADD_FAILURE() << "a bill of a closed day was reversed";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), kBillAfterDayEndMessage);
    }
    EXPECT_EQ(everything(), before);
    // A table opened again since the bill was cleared has no room for it either.
    const int next = settledBill(QStringLiteral("V05"));
    clearTable(db(), QStringLiteral("V05"), next);
    open(QStringLiteral("V05"), 2);
    EXPECT_THROW(reverseSettle(db(), QStringLiteral("V05"), next, QStringLiteral("8888"), settings(), clock),
                 StepRefused);
    EXPECT_EQ(rowsOf("AllGues", next), 1);
}

SORREL_ON_EVERY_ENGINE(SettledBillTest);

} // namespace
