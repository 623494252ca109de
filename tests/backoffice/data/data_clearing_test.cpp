// Clearing and initialising the venue's data on every engine: all ticked boxes as one step, the
// basic information refused while business stands on it, whole days at both ends, and the reset
// that empties the business but keeps balances, stock and the bill counter.
#include "backoffice/data/data_clearing.h"
#include "common/db/errors.h"
#include "common/line_summary.h"
#include "common/venue_reset.h"
#include "tests/support/failing_database.h"
#include "tests/support/test_database.h"

#include <QDir>

using namespace sorrel;
using namespace sorrel::data;

namespace {

class DataClearingTest : public test::EngineTest {
  protected:
    void SetUp() override {
        test::EngineTest::SetUp();
        db().exec("INSERT INTO itemlist (item_code, item_name, item_coun) VALUES ('1001', 'tea', 12)");
        db().exec("INSERT INTO tablelist (tabl_code, tabl_stat_code, tabl_gues_auto_recn, tabl_gues_name, "
                  "tabl_gues_coun, tabl_gues_shou) VALUES ('A01', '2', 7, 'Li', 4, 88)");
        db().exec("INSERT INTO MemberList (memb_card_code, memb_surp) VALUES ('M1', 500)");
        db().exec("UPDATE SetupPay SET auto_recn = 120");
        for (const char* day :
             {"2026-03-02 23:59:59", "2026-03-03 00:00:00", "2026-03-03 23:59:59", "2026-03-04 00:00:00"}) {
            db().exec("INSERT INTO AllGues (tabl_gues_auto_recn, tabl_gues_time_work) VALUES ((SELECT "
                      "COALESCE(max(tabl_gues_auto_recn), 0) + 1 FROM AllGues), ?)",
                      {QString::fromLatin1(day)});
            db().exec("INSERT INTO systemlog (log_oper_name, log_time, log_oper) VALUES ('01', ?, 'x')",
                      {QString::fromLatin1(day)});
            db().exec(
                "INSERT INTO AllCons (tabl_gues_auto_recn, item_code, tabl_cons_tota, tabl_cons_time_work) "
                "VALUES ((SELECT max(tabl_gues_auto_recn) FROM AllGues), '1001', 10, ?)",
                {QString::fromLatin1(day)});
        }
        rebuildDaySummaries(db()); // as the day ends left it
    }
    QStringList summedDays(const QString& summary = QStringLiteral("AllConsDay")) {
        QStringList days;
        const RecordSet rows = db().query("SELECT DISTINCT summ_day FROM " + summary + " ORDER BY summ_day");
        for (int i = 0; i < rows.rowCount(); ++i)
            days << rows.dateTime(i, "summ_day").date().toString(Qt::ISODate);
        return days;
    }
    qlonglong count(const QString& table) {
        return db().scalar("SELECT count(*) FROM " + table).toLongLong();
    }
    QString back() const { return dir_.filePath("back"); }
    QTemporaryDir dir_;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(9, 0))};
};

TEST_P(DataClearingTest, DaysAreWholeAtBothEnds) {
    ClearingChoice choice;
    choice.someHistory = choice.someLog = true;
    choice.historyFrom = choice.historyTo = choice.logFrom = choice.logTo = QDate(2026, 3, 3);
    clearData(db(), choice, back(), clock);
    EXPECT_EQ(count("AllGues"), 2);
    // The day summaries go with the lines and bills they sum.
    EXPECT_EQ(summedDays(), (QStringList{"2026-03-02", "2026-03-04"}));
    EXPECT_EQ(summedDays("AllGuesDay"), (QStringList{"2026-03-02", "2026-03-04"}));
    EXPECT_TRUE(daySummaryMismatches(db()).isEmpty());
    EXPECT_EQ(db().query("SELECT log_time FROM systemlog ORDER BY log_time").rowCount(), 2);
    EXPECT_EQ(db().scalar("SELECT min(log_time) FROM systemlog").toString().left(19), "2026-03-02 23:59:59");
    EXPECT_EQ(QDir(back()).entryList({"vozezozarev-before-clear-*.bak"}, QDir::Files).size(), 1);

    choice.historyFrom = QDate(2026, 3, 4);
    EXPECT_EQ(clearingRefusal(choice), kClearingDatesReversedMessage);
    EXPECT_EQ(clearingRefusal(ClearingChoice{}), kNothingToClearMessage);
}

TEST_P(DataClearingTest, BasicInformationBesideOpenBusinessRefusesTheWholeClearing) {
    const char* open[] = {
        "INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, tabl_gues_use) VALUES (7, 'A01', 1)",
        "INSERT INTO TableConsListTemp (tabl_gues_auto_recn, item_code) VALUES (7, '1001')",
        "INSERT INTO bookin (tabl_code, book_name) VALUES ('A01', 'Wang')",
        "INSERT INTO StoreBill (stor_bill_rema) VALUES ('S1')",
    };
    ClearingChoice choice;
    choice.stock = choice.basic = choice.allHistory = true;
    for (const char* statement : open) {
        db().exec(QString::fromLatin1(statement));
        EXPECT_THROW(clearData(db(), choice, back(), clock), StepRefused) << statement;
        EXPECT_EQ(db().scalar("SELECT item_coun FROM itemlist").toInt(), 12);
        EXPECT_EQ(count("tablelist"), 1);
        EXPECT_EQ(count("AllGues"), 4);
        for (const char* table : {"TableGuestlist", "TableConsListTemp", "bookin", "StoreBill"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    }
}

TEST_P(DataClearingTest, FailureAtTheLastStatementClearsNothing) {
    test::FailingDatabase failing(db(), "DELETE FROM systemlog");
    ClearingChoice choice;
    choice.stock = choice.basic = choice.allHistory = choice.someLog = true;
    choice.logFrom = choice.logTo = QDate(2026, 3, 3);
    EXPECT_THROW(clearData(failing, choice, back(), clock), DbError);
    EXPECT_EQ(db().scalar("SELECT item_coun FROM itemlist").toInt(), 12);
    EXPECT_EQ(count("itemlist"), 1);
    EXPECT_EQ(count("AllGues"), 4);
    EXPECT_EQ(summedDays().size(), 3);
    EXPECT_EQ(count("systemlog"), 4);
}

TEST_P(DataClearingTest, ResetEmptiesTheBusinessAndKeepsBalancesStockAndTheBillCounter) {
    db().exec(
        "INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, tabl_gues_use) VALUES (7, 'A01', 1)");
    db().exec("INSERT INTO bookin (tabl_code, book_name) VALUES ('A01', 'Wang')");
    db().exec("INSERT INTO membManage (memb_card_code) VALUES ('M1')");
    EXPECT_TRUE(resetQuestion(db()).startsWith(kResetQuestion));
    EXPECT_TRUE(resetQuestion(db()).contains(QStringLiteral("当前帐单 1 张")));

    // A failure rolls everything back.
    test::FailingDatabase failing(db(), "UPDATE tablelist");
    EXPECT_THROW(resetVenue(failing, back(), clock, installation::BackupPurpose::BeforeReset), DbError);
    EXPECT_EQ(count("bookin"), 1);
    EXPECT_EQ(count("TableGuestlist"), 1);

    resetVenue(db(), back(), clock, installation::BackupPurpose::BeforeInit);
    for (const char* table :
         {"bookin", "AllGues", "AllCons", "AllConsDay", "AllGuesDay", "TableGuestlist", "membManage"})
        EXPECT_EQ(count(table), 0) << table;
    const RecordSet table = db().query("SELECT * FROM tablelist");
    EXPECT_EQ(table.text(0, "tabl_stat_code"), "1");
    EXPECT_EQ(table.value(0, "tabl_gues_auto_recn").toInt(), 0);
    EXPECT_EQ(table.text(0, "tabl_gues_name"), "");
    EXPECT_TRUE(table.value(0, "tabl_gues_time").isNull());
    EXPECT_EQ(table.value(0, "tabl_gues_shou").toDouble(), 0);
    EXPECT_EQ(db().scalar("SELECT memb_surp FROM MemberList").toDouble(), 500);
    EXPECT_EQ(db().scalar("SELECT item_coun FROM itemlist").toInt(), 12);
    EXPECT_EQ(db().scalar("SELECT auto_recn FROM SetupPay").toInt(), 120);
    EXPECT_EQ(count("systemlog"), 4);
    EXPECT_EQ(QDir(back()).entryList({"vozezozarev-before-init-*.bak"}, QDir::Files).size(), 1);
}

SORREL_ON_EVERY_ENGINE(DataClearingTest);

} // namespace
