// The shift handover on every engine: what the sheet counts per payment method, the waiver
// kept out of the totals on screen but not out of the printed sums, what the handover marks,
// deletes and archives, and a second workstation that changes the sheet meanwhile.
#include "common/db/errors.h"
#include "frontdesk/day/handover_report.h"
#include "frontdesk/day/shift_handover.h"
#include "tests/support/test_database.h"

#include <QMap>
#include <functional>

using namespace sorrel;
using namespace sorrel::day;

namespace {

// After midnight on the 6th, in the business day of the 5th.
const QDateTime kHandoverTime(QDate(2026, 3, 6), QTime(0, 40));

class ShiftHandoverTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        db().exec(QStringLiteral("UPDATE SetupPay SET pay_star = 1, time_work = '2026-03-05 00:00:00'"));
    }

    // A bill as checkout writes its payments: a row for every method, most of them 0; cleared
    // bills are in AllGuesPay, bills of tables still in use only in tableguespay.
    void bill(int number, const QMap<QString, double>& paid, bool cleared = true) {
        db().exec(QStringLiteral("INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, tabl_gues_use) "
                                 "VALUES (?, 'A01', ?)"),
                  {number, cleared ? 0 : 1});
        const RecordSet methods =
            db().query(QStringLiteral("SELECT pay_type_code, pay_type_name FROM PayTypeList"));
        for (int i = 0; i < methods.rowCount(); ++i) {
            const QVariantList row{number, methods.text(i, "pay_type_code"), methods.text(i, "pay_type_name"),
                                   paid.value(methods.text(i, "pay_type_code"), 0.0)};
            const QString columns = QStringLiteral("(tabl_gues_auto_recn, pay_type_code, pay_type_name, "
                                                   "pay_type_mone, pay_flag) VALUES (?, ?, ?, ?, 0)");
            db().exec(QStringLiteral("INSERT INTO tableguespay ") + columns, row);
            if (cleared) db().exec(QStringLiteral("INSERT INTO AllGuesPay ") + columns, row);
        }
    }
    void setFloat(const QString& code, double amount) {
        db().exec(QStringLiteral("UPDATE PayTypeList SET pay_star_mone = ? WHERE pay_type_code = ?"),
                  {amount, code});
    }
    static const HandoverLine* line(const HandoverSheet& sheet, const QString& code) {
        for (const HandoverLine& l : sheet.lines)
            if (l.code == code) return &l;
        return nullptr;
    }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }

    FixedClock clock{kHandoverTime};
};

TEST_P(ShiftHandoverTest, SheetCountsReceiptsAndAmountsPerMethod) {
    struct Expected {
        const char* code;
        int receipts;
        double received;
        double toHandOver;
    };
    struct Case {
        const char* what;
        QList<QMap<QString, double>> bills;
        double cashFloat;
        QList<Expected> lines;
        HandoverTotals onScreen;
        HandoverTotals printed;
    } cases[] = {
        {"nothing taken since the last handover: every method, the float to hand over",
         {},
         150,
         {{"Z", 0, 0, 150}, {"R", 0, 0, 0}, {"M", 0, 0, 0}, {"H", 0, 0, 0}},
         {150, 0, 0, 150},
         {150, 0, 0, 150}},
        {"two bills of 100 cash, one of 50 cash and 30 by card",
         {{{"Z", 100}}, {{"Z", 100}}, {{"Z", 50}, {"M", 30}}},
         0,
         {{"Z", 3, 250, 250}, {"M", 1, 30, 30}, {"H", 0, 0, 0}, {"R", 0, 0, 0}},
         {0, 4, 280, 280},
         {0, 4, 280, 280}},
        {"a waiver of 20: its own row, left out on screen, printed in the sums",
         {{{"Z", 80}, {"R", 20}}},
         10,
         {{"Z", 1, 80, 90}, {"R", 1, 20, 20}},
         {10, 1, 80, 90},
         {10, 2, 100, 110}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* table : {"AllGuesPay", "tableguespay", "TableGuestlist"})
            db().exec(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table));
        setFloat(QStringLiteral("Z"), c.cashFloat);
        int number = 1;
        for (const QMap<QString, double>& paid : c.bills)
            bill(number++, paid);

        const HandoverSheet sheet = buildHandoverSheet(db(), clock);
        EXPECT_EQ(sheet.lines.size(), 4);
        for (const Expected& e : c.lines) {
            const HandoverLine* l = line(sheet, QString::fromLatin1(e.code));
            ASSERT_NE(l, nullptr) << e.code;
            EXPECT_EQ(l->receipts, e.receipts) << e.code;
            EXPECT_DOUBLE_EQ(l->received, e.received) << e.code;
            EXPECT_DOUBLE_EQ(l->toHandOver, e.toHandOver) << e.code;
        }
        // The sheet as the screen shows it: highest code first, as the shared table holds it.
        EXPECT_EQ(sheet.lines.first().code, QStringLiteral("Z"));
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Paytotaltemp")), 4);
        for (const auto& [totals, expected] :
             {std::pair{sheet.screenTotals(), c.onScreen}, std::pair{sheet.printedTotals(), c.printed}}) {
            EXPECT_DOUBLE_EQ(totals.openingFloat, expected.openingFloat);
            EXPECT_EQ(totals.receipts, expected.receipts);
            EXPECT_DOUBLE_EQ(totals.received, expected.received);
            EXPECT_DOUBLE_EQ(totals.toHandOver, expected.toHandOver);
        }
        // The printed report carries the sums with the waiver.
        const document::Document report = handoverReport(
            sheet, {QStringLiteral("悦来酒家"), QStringLiteral("张三"), QString(), kHandoverTime});
        QStringList printed;
        for (const document::Band& band : report.bands)
            for (const document::Row& row : band.rows)
                for (const document::Cell& cell : row.cells)
                    printed << cell.text;
        EXPECT_TRUE(
            printed.contains(QStringLiteral("收入金额：") + QString::number(c.printed.received, 'f', 2)))
            << printed.join('|').toStdString();
    }
}

TEST_P(ShiftHandoverTest, HandoverMarksArchivesAndStartsTheNextShiftEmpty) {
    bill(1, {{"Z", 100}});
    bill(2, {{"Z", 50}, {"M", 30}});
    bill(3, {{"H", 66}}, false); // settled, table not yet cleared: the next shift's
    setFloat(QStringLiteral("Z"), 200);
    const HandoverSheet seen = submitFloat(db(), clock, QStringLiteral("Z"), 300);
    EXPECT_DOUBLE_EQ(line(seen, QStringLiteral("Z"))->toHandOver, 450);
    const QString note = QStringLiteral("夜班:收银 12:30 's");

    handOver(db(), clock, seen, {QStringLiteral("02"), QStringLiteral("李四"), note});

    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllGuesPay WHERE pay_flag = 0")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM PayTypeList WHERE pay_star_mone <> 0")), 0);
    // The payment rows of cleared tables leave the current day, those of bill 3 stay.
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM tableguespay WHERE tabl_gues_auto_recn IN (1, 2)")),
              0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM tableguespay WHERE tabl_gues_auto_recn = 3")), 4);
    const RecordSet archived = db().query(
        QStringLiteral("SELECT pay_date_work, pay_rema, pay_type_coun, pay_type_mone, pay_star_mone, "
                       "pay_fact_mone, pay_date, oper_code, oper_name FROM Allpaytotal "
                       "WHERE pay_type_code = 'Z'"));
    ASSERT_EQ(archived.rowCount(), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Allpaytotal")), 4);
    EXPECT_EQ(archived.text(0, "pay_rema"), note);
    // Archived under the business day it belongs to, not the calendar date it ran on.
    EXPECT_EQ(archived.dateTime(0, "pay_date_work"), QDateTime(QDate(2026, 3, 5), QTime(0, 0)));
    EXPECT_EQ(archived.dateTime(0, "pay_date"), kHandoverTime);
    EXPECT_EQ(archived.integer(0, "pay_type_coun"), 2);
    EXPECT_DOUBLE_EQ(archived.number(0, "pay_type_mone"), 150);
    EXPECT_DOUBLE_EQ(archived.number(0, "pay_star_mone"), 300);
    EXPECT_DOUBLE_EQ(archived.number(0, "pay_fact_mone"), 450);
    EXPECT_EQ(archived.text(0, "oper_code"), QStringLiteral("02"));
    EXPECT_EQ(archived.text(0, "oper_name"), QStringLiteral("李四"));

    const HandoverSheet next = buildHandoverSheet(db(), clock);
    EXPECT_EQ(next.printedTotals().receipts, 0);
    EXPECT_DOUBLE_EQ(next.printedTotals().toHandOver, 0);
}

TEST_P(ShiftHandoverTest, AnotherWorkstationChangingTheSheetStopsTheHandover) {
    bill(1, {{"Z", 100}});
    const std::unique_ptr<Database> other = scratch().connectAgain();
    struct Case {
        const char* what;
        std::function<void()> meanwhile;
    } cases[] = {
        {"a table cleared there",
         [&] {
             bill(2, {{"Z", 40}});
         }},
        {"a float submitted there", [&] { submitFloat(*other, clock, QStringLiteral("M"), 20); }},
        {"the shift handed over there",
         [&] {
             handOver(*other, clock, buildHandoverSheet(*other, clock), {QStringLiteral("03"), {}, {}});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HandoverSheet seen = buildHandoverSheet(db(), clock);
        const int archivedBefore = count(QStringLiteral("SELECT count(*) FROM Allpaytotal"));
        c.meanwhile();
        // Both workstations build the shared sheet; neither build leaves the other's rows.
        buildHandoverSheet(*other, clock);
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Paytotaltemp")), 4);
        const int archivedThere = count(QStringLiteral("SELECT count(*) FROM Allpaytotal")) - archivedBefore;
        const int outstanding = count(QStringLiteral("SELECT count(*) FROM AllGuesPay WHERE pay_flag = 0"));
        try {
            handOver(db(), clock, seen, {QStringLiteral("01"), {}, {}});
            FAIL() << "handed over a sheet that no longer holds";
        } catch (const StepRefused& refused) {
            EXPECT_EQ(refused.text(), kSheetChangedMessage);
        }
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Allpaytotal")), archivedBefore + archivedThere);
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllGuesPay WHERE pay_flag = 0")), outstanding);
    }
}

TEST_P(ShiftHandoverTest, FailedHandoverChangesNothing) {
    bill(1, {{"Z", 100}});
    setFloat(QStringLiteral("Z"), 50);
    const HandoverSheet seen = buildHandoverSheet(db(), clock);
    db().exec(QStringLiteral("DROP TABLE Allpaytotal"));
    try {
        handOver(db(), clock, seen, {QStringLiteral("01"), {}, {}});
        FAIL() << "handover reported success without its archive";
    } catch (const CodedFailure& failure) {
        EXPECT_EQ(failure.code(), kHandOverCode);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllGuesPay WHERE pay_flag = 0")), 4);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM tableguespay")), 4);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM PayTypeList WHERE pay_star_mone = 50")), 1);
}

SORREL_ON_EVERY_ENGINE(ShiftHandoverTest);

} // namespace
