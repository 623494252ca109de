// The data panels of "数据管理" driven through the real back office offscreen, on every engine:
// the management passwords (blank, wrong with every box unticked, right with blanks around it),
// a backup that ends the program with the re-login message, a restore of the backup the manager
// picks (refused while a front desk works), and an initialisation that asks first and changes
// nothing on No.
#include "backoffice/data/data_clearing.h"
#include "backoffice/data/data_operations_panel.h"
#include "common/db/connection.h"
#include "common/db/sqlite_database.h"
#include "common/db/transaction.h"
#include "common/installation/backup.h"
#include "common/system_password.h"
#include "common/venue_reset.h"
#include "common/workstations.h"
#include "tests/backoffice/shell/backoffice_window.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTreeWidget>
#include <atomic>
#include <thread>

using namespace sorrel;
using namespace sorrel::data;
using panels::Tree;

namespace {

class DataOperationPanelsTest : public test::BackOfficeWindowTest {
  protected:
    void openLeaf(const QString& leaf) {
        logIn(QStringLiteral("01"), QStringLiteral("1234"));
        window().runMenuCommand(QStringLiteral("系统管理"));
        clickLeaf(Tree::Data, leaf);
        sink.shown.clear();
    }
    void start(const QString& password) {
        auto* edit = shownPanel()->findChild<QLineEdit*>(QStringLiteral("edt_ManagementPassword"));
        edit->clear();
        QTest::keyClicks(edit, password);
        QTest::mouseClick(shownPanel()->findChild<QPushButton*>(QStringLiteral("btn_Start")), Qt::LeftButton);
    }
};

TEST_P(DataOperationPanelsTest, AWrongPasswordOnTheClearingPanelUnticksEveryBox) {
    openLeaf(QStringLiteral("数据清理"));
    EXPECT_EQ(shownPanel()->objectName(), "pnl_DataClear");
    const QList<QCheckBox*> boxes = shownPanel()->findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), 5);
    struct Case {
        QString typed, message;
    } cases[] = {{"   ", kNoManagementPasswordMessage}, {"47036", kWrongManagementPasswordMessage}};
    for (const Case& c : cases) {
        for (QCheckBox* box : boxes)
            box->setChecked(true);
        sink.shown.clear();
        start(c.typed);
        EXPECT_EQ(shown(), QStringList{c.message});
        for (QCheckBox* box : boxes)
            EXPECT_FALSE(box->isChecked());
    }
    sink.shown.clear();
    start(QStringLiteral(" 470362 "));
    EXPECT_EQ(shown(), QStringList{kNothingToClearMessage});
    screenshot(QStringLiteral("data-clear-panel"));
}

TEST_P(DataOperationPanelsTest, BackupEndsTheProgramWithTheReloginMessage) {
    openLeaf(QStringLiteral("数据备份"));
    screenshot(QStringLiteral("data-backup-panel"));
    start(QStringLiteral(" 470362"));
    EXPECT_EQ(shown(), (QStringList{installation::kBackupDoneMessage, panels::kDataProcessedMessage}));
    EXPECT_TRUE(QFileInfo::exists(installation::latestBackupFile(installation::backFolder(programDir()))));
    EXPECT_FALSE(window().isVisible());
}

// A backup taken at the office while a front desk goes on settling bills: the copy holds each bill
// it caught with all its lines.
TEST_P(DataOperationPanelsTest, BackupWhileAFrontDeskSettlesHoldsEachBillWhole) {
    openLeaf(QStringLiteral("数据备份"));
    const std::unique_ptr<Database> deskDb = scratch().connectAgain();
    std::atomic<bool> stop = false;
    std::atomic<int> settled = 0;
    std::thread settling([&] {
        for (int bill = 1; !stop; ++bill) {
            Transaction tx(*deskDb);
            deskDb->exec(
                "INSERT INTO AllGues (tabl_gues_auto_recn, tabl_code, tabl_gues_shou) VALUES (?, 'A01', 45)",
                {bill});
            for (int line = 0; line < 3; ++line)
                deskDb->exec("INSERT INTO AllCons (tabl_gues_auto_recn, item_code, tabl_cons_tota) VALUES "
                             "(?, '1001', 15)",
                             {bill});
            tx.commit();
            ++settled;
        }
    });
    while (settled < 10)
        QThread::msleep(5);
    start(QStringLiteral("470362"));
    const int atEnd = settled;
    while (settled < atEnd + 10)
        QThread::msleep(5);
    stop = true;
    settling.join();
    EXPECT_EQ(shown(), (QStringList{installation::kBackupDoneMessage, panels::kDataProcessedMessage}));

    SqliteDatabase copy(installation::latestBackupFile(installation::backFolder(programDir())),
                        databasePassword(), SqliteDatabase::Mode::ReadOnly);
    const int bills = copy.scalar("SELECT count(*) FROM AllGues").toInt();
    EXPECT_GE(bills, 10);
    EXPECT_LT(bills, settled.load());
    EXPECT_EQ(copy.scalar("SELECT count(*) FROM AllCons").toInt(), 3 * bills);
    EXPECT_EQ(copy.scalar("SELECT COALESCE(sum(tabl_cons_tota), 0) FROM AllCons").toDouble(), 45.0 * bills);
}

// A month of history cleared from the panel: February's bills and lines go, the last moment of
// January and the first of March stay, and the data is kept aside first.
TEST_P(DataOperationPanelsTest, ClearingAMonthOfHistoryKeepsTheDaysAroundIt) {
    for (const char* at : {"2026-01-31 23:59:59", "2026-02-01 00:00:00", "2026-02-14 20:00:00",
                           "2026-02-28 23:59:59", "2026-03-01 00:00:00"}) {
        db().exec("INSERT INTO AllGues (tabl_gues_auto_recn, tabl_gues_time_work) VALUES ((SELECT "
                  "COALESCE(max(tabl_gues_auto_recn), 0) + 1 FROM AllGues), ?)",
                  {QString::fromLatin1(at)});
        db().exec("INSERT INTO AllCons (tabl_gues_auto_recn, item_code, tabl_cons_tota, tabl_cons_time_work) "
                  "VALUES ((SELECT max(tabl_gues_auto_recn) FROM AllGues), '1001', 10, ?)",
                  {QString::fromLatin1(at)});
    }
    openLeaf(QStringLiteral("数据清理"));
    const QList<QDateEdit*> dates = shownPanel()->findChildren<QDateEdit*>();
    ASSERT_EQ(dates.size(), 4);
    for (QDateEdit* date : dates)
        EXPECT_EQ(date->date(), clock.now().date());
    shownPanel()->findChild<QCheckBox*>(QStringLiteral("chk_Clear4"))->setChecked(true);
    dates[0]->setDate(QDate(2026, 2, 1));
    dates[1]->setDate(QDate(2026, 2, 28));
    screenshot(QStringLiteral("data-clear-month"));
    sink.answers = {true};
    start(QStringLiteral("470362"));
    ASSERT_EQ(shown().size(), 3);
    EXPECT_TRUE(shown()[0].contains(QStringLiteral("岚舟管理系统 8.0版"))) << shown()[0].toStdString();
    EXPECT_EQ(shown().mid(1), (QStringList{kClearingDoneMessage, panels::kDataProcessedMessage}));
    const RecordSet kept = db().query("SELECT tabl_gues_time_work FROM AllGues ORDER BY tabl_gues_time_work");
    ASSERT_EQ(kept.rowCount(), 2);
    EXPECT_EQ(kept.dateTime(0, "tabl_gues_time_work"), QDateTime(QDate(2026, 1, 31), QTime(23, 59, 59)));
    EXPECT_EQ(kept.dateTime(1, "tabl_gues_time_work"), QDateTime(QDate(2026, 3, 1), QTime(0, 0)));
    EXPECT_EQ(db().scalar("SELECT count(*) FROM AllCons").toInt(), 2);
    EXPECT_EQ(QDir(installation::backFolder(programDir()))
                  .entryList({"vozezozarev-before-clear-*.bak"}, QDir::Files)
                  .size(),
              1);
    EXPECT_FALSE(window().isVisible());
}

// Two evenings' backups: the venue as it was on Monday and on Tuesday night.
void backUpTwoEvenings(Database& db, const QString& back) {
    db.exec("UPDATE SetupPay SET user_name = 'Monday'");
    installation::backupDatabase(db, back, FixedClock(QDateTime(QDate(2026, 3, 2), QTime(23, 0, 0))));
    db.exec("UPDATE SetupPay SET user_name = 'Tuesday'");
    db.exec("INSERT INTO bookin (book_name) VALUES ('Li')");
    installation::backupDatabase(db, back, FixedClock(QDateTime(QDate(2026, 3, 3), QTime(23, 0, 5))));
    db.exec("UPDATE SetupPay SET user_name = 'now'");
    db.exec("DELETE FROM bookin");
}

TEST_P(DataOperationPanelsTest, RestoreListsTheBackupsNewestFirstAndRestoresTheOnePicked) {
    const QString back = installation::backFolder(programDir());
    backUpTwoEvenings(db(), back);
    openLeaf(QStringLiteral("数据恢复"));
    auto* list = shownPanel()->findChild<QTreeWidget*>(QStringLiteral("lst_Backups"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QString files[] = {"vozezozarev-20260303-230005.bak", "vozezozarev-20260302-230000.bak"};
    const QString times[] = {"2026-03-03 23:00:05", "2026-03-02 23:00:00"};
    for (int i = 0; i < 2; ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        EXPECT_EQ(item->text(0), times[i]);
        EXPECT_EQ(item->text(1), QStringLiteral("数据备份"));
        EXPECT_EQ(item->text(2), installation::sizeCaption(QFileInfo(back + "/" + files[i]).size()));
        EXPECT_TRUE(item->text(2).endsWith(" KB") || item->text(2).endsWith(" MB"))
            << item->text(2).toStdString();
        EXPECT_EQ(item->text(3), files[i]);
    }
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
    screenshot(QStringLiteral("data-restore-panel"));

    // Monday's backup, picked with the mouse: a wrong password and a No change nothing.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->topLevelItem(1)).center());
    ASSERT_EQ(list->currentItem(), list->topLevelItem(1));
    struct Case {
        QString typed;
        QList<bool> answers;
        bool asked, restored;
    } cases[] = {
        {"47036", {}, false, false}, {"470362", {false}, true, false}, {" 470362 ", {true}, true, true}};
    for (const Case& c : cases) {
        sink.shown.clear();
        sink.answers = c.answers;
        start(c.typed);
        ASSERT_FALSE(shown().isEmpty()) << c.typed.toStdString();
        EXPECT_EQ(shown().first().contains(QStringLiteral("2026-03-02 23:00:00")), c.asked)
            << shown().first().toStdString();
        EXPECT_EQ(db().scalar("SELECT user_name FROM SetupPay").toString(), c.restored ? "Monday" : "now");
    }
    EXPECT_EQ(shown().mid(1),
              (QStringList{installation::kRestoreDoneMessage, panels::kDataProcessedMessage}));
    EXPECT_EQ(db().scalar("SELECT count(*) FROM bookin").toInt(), 0);
    EXPECT_EQ(QDir(back).entryList({"vozezozarev-before-restore-*.bak"}, QDir::Files).size(), 1);
    EXPECT_FALSE(window().isVisible());
}

// The back office's own row names its manager once logged in; a front desk whose beat moves is
// named in the refusal, and nothing is restored or backed up beside it.
TEST_P(DataOperationPanelsTest, RestoreBesideAWorkingFrontDeskIsRefusedNamingIt) {
    const QString back = installation::backFolder(programDir());
    backUpTwoEvenings(db(), back);
    WorkstationPresence office(db(), QStringLiteral("office"), QStringLiteral("Sorrel_S"));
    const std::unique_ptr<Database> deskDb = scratch().connectAgain();
    WorkstationPresence desk(*deskDb, QStringLiteral("desk-1"), QStringLiteral("Sorrel_W"));
    desk.setOperator(QStringLiteral("收银员"));
    openLeaf(QStringLiteral("数据恢复"));
    EXPECT_EQ(
        db().scalar("SELECT work_operator FROM workstationlist WHERE work_id = ?", {office.id()}).toString(),
        db().scalar("SELECT oper_name FROM operatorlist WHERE oper_code = '01'").toString());

    // The desk at work: its beat moves while the back office watches.
    std::atomic<bool> stop = false;
    std::thread beating([&] {
        while (!stop) {
            deskDb->exec("UPDATE workstationlist SET work_beat = work_beat + 1 WHERE work_id = ?",
                         {desk.id()});
            QThread::msleep(100);
        }
    });
    sink.answers = {true};
    start(QStringLiteral("470362"));
    stop = true;
    beating.join();
    ASSERT_EQ(shown().size(), 2);
    EXPECT_EQ(shown()[1],
              QStringLiteral(
                  "还有其它工作站正在使用数据库：[desk-1 Sorrel_W（收银员）]，请全部退出后再进行此操作！"));
    EXPECT_EQ(db().scalar("SELECT user_name FROM SetupPay").toString(), "now");
    EXPECT_TRUE(QDir(back).entryList({"*before-restore*"}, QDir::Files).isEmpty());
    EXPECT_TRUE(window().isVisible());
}

TEST_P(DataOperationPanelsTest, InitialisationAsksFirstAndFreesEveryTableOnYes) {
    db().exec("UPDATE tablelist SET tabl_stat_code = '2', tabl_gues_name = 'Li'");
    openLeaf(QStringLiteral("系统初始"));
    screenshot(QStringLiteral("data-init-panel"));
    start(QStringLiteral("470362"));
    EXPECT_EQ(shown(), QStringList{kWrongManagementPasswordMessage});
    sink.shown.clear();
    start(QStringLiteral("583016610385"));
    ASSERT_EQ(shown().size(), 1);
    EXPECT_TRUE(shown().first().startsWith(kResetQuestion));
    EXPECT_EQ(db().scalar("SELECT count(*) FROM tablelist WHERE tabl_stat_code <> '2'").toInt(), 0);
    sink.shown.clear();
    sink.answers = {true};
    start(QStringLiteral("583016610385"));
    EXPECT_EQ(shown().last(), kInitialisationDoneMessage);
    EXPECT_EQ(
        db().scalar("SELECT count(*) FROM tablelist WHERE tabl_stat_code <> '1' OR tabl_gues_name <> ''")
            .toInt(),
        0);
    EXPECT_TRUE(window().isVisible());
}

SORREL_ON_EVERY_ENGINE(DataOperationPanelsTest);

} // namespace
