// The venue's database kept safe: an older database brought up to the program's schema, a backup
// taken while work goes on, a restore that checks first and keeps the current data aside, and the
// watch for other programs before a step that needs the database alone.
#include "common/db/connection.h"
#include "common/db/dialect.h"
#include "common/db/errors.h"
#include "common/db/sqlite_database.h"
#include "common/db/transaction.h"
#include "common/installation/backup.h"
#include "common/installation/database_check.h"
#include "common/installation/database_files.h"
#include "common/installation/engine_copy.h"
#include "common/installation/upgrade.h"
#include "common/line_summary.h"
#include "common/login_session.h"
#include "common/schema/schema.h"
#include "common/schema/schema_version.h"
#include "common/workstations.h"
#include "tests/support/built_programs.h"
#include "tests/support/failing_database.h"
#include "tests/support/forwarding_disk.h"
#include "tests/support/full_disk.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"
#include "tests/support/write_protected.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <thread>
#include <tuple>

using namespace sorrel;

namespace {

const FixedClock kClock(QDateTime(QDate(2026, 3, 4), QTime(22, 15, 0)));

// What the engine itself says the database holds: every column with its type and default, and
// every index with its definition.
QStringList catalogue(Database& db) {
    QStringList found;
    if (db.engine() == Engine::Embedded) {
        const RecordSet objects =
            db.query("SELECT type, name, COALESCE(sql, '') FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' "
                     "ORDER BY type, name");
        for (int r = 0; r < objects.rowCount(); ++r)
            found << objects.value(r, 0).toString() + ' ' + objects.value(r, 1).toString() + ' ' +
                         objects.value(r, 2).toString();
        return found;
    }
    const RecordSet columns =
        db.query("SELECT table_name, column_name, data_type, COALESCE(column_default, '') FROM "
                 "information_schema.columns "
                 "WHERE table_schema = current_schema() ORDER BY table_name, column_name");
    for (int r = 0; r < columns.rowCount(); ++r)
        found << QStringList{columns.value(r, 0).toString(), columns.value(r, 1).toString(),
                             columns.value(r, 2).toString(), columns.value(r, 3).toString()}
                     .join(' ');
    const RecordSet indexes = db.query(
        "SELECT indexname, indexdef FROM pg_indexes WHERE schemaname = current_schema() ORDER BY indexname");
    for (int r = 0; r < indexes.rowCount(); ++r)
        found << indexes.value(r, 0).toString() + ' ' + indexes.value(r, 1).toString();
    return found;
}

// The indexes later releases added to the history, as `sorrel-db check` names them: by table,
// by payment flag, the reports' covering ones, by member card and by credit guest.
QStringList indexesSinceTheFirstRelease() {
    QStringList added;
    for (const char* table : {"AllGues", "AllCons", "AllGuesPay"})
        for (const schema::Index& ix : schema::findTable(QString::fromLatin1(table))->indexes)
            if (ix.columns.size() > 1 || ix.columns == QStringList{"pay_flag"})
                added << QStringLiteral("%1(%2)").arg(QString::fromLatin1(table), ix.columns.join(", "));
    return added;
}

// The database of version 3: no day summary of the history's bills and payments yet.
void makeVersion3(Database& db) {
    db.exec("DROP TABLE AllGuesDay");
    db.exec("DROP TABLE AllGuesPayDay");
    db.exec("UPDATE schemaversion SET schema_version = 3");
}

// The database as the first venues got it: no record of its version, no table of running
// programs, no day summaries of the history, none of the indexes added since.
void makeFirstRelease(Database& db) {
    makeVersion3(db);
    db.exec("DROP TABLE schemaversion");
    db.exec("DROP TABLE workstationlist");
    db.exec("DROP TABLE AllConsDay");
    for (const char* table : {"AllGues", "AllCons", "AllGuesPay"}) {
        const schema::Table& t = *schema::findTable(QString::fromLatin1(table));
        for (const schema::Index& ix : t.indexes)
            if (ix.columns.size() > 1 || ix.columns == QStringList{"pay_flag"})
                db.exec("DROP INDEX " + schema::indexName(t, ix));
    }
}

class VenueDataTest : public test::EngineTest {
  protected:
    QString back() const { return dir_.filePath("back"); }
    qlonglong count(const QString& table) {
        return db().scalar("SELECT count(*) FROM " + table).toLongLong();
    }
    QTemporaryDir dir_;
};

TEST_P(VenueDataTest, FirstReleaseDatabaseUpgradesToWhatANewOneIs) {
    test::ScratchDatabase fresh(GetParam(), test::ScratchDatabase::Contents::Presets);
    makeFirstRelease(db());
    // Its history: two ended days, a bill of the open day and the components of a set meal.
    for (const auto& [day, amount, group] :
         {std::tuple{"2026-03-02 00:00:00", 30.0, ""}, std::tuple{"2026-03-03 00:00:00", 45.5, ""},
          std::tuple{"2026-03-03 00:00:00", 12.0, "T1"}, std::tuple{"2026-03-03 00:00:00", 10.0, ""},
          std::tuple{"2026-03-04 00:00:00", 99.0, ""}})
        db().exec("INSERT INTO AllCons (tabl_gues_auto_recn, item_code, kind_name, tabl_cons_coun, "
                  "item_coun_flag, tabl_cons_tota, tabl_cons_time_work, grou_code, tabl_d_bill) "
                  "VALUES (1, '1001', '热菜', 1, 1, ?, ?, ?, 1)",
                  {amount, QString::fromLatin1(day), QString::fromLatin1(group)});
    db().exec("UPDATE SetupPay SET pay_star = 1, time_work = '2026-03-04 00:00:00'");
    EXPECT_EQ(schema::storedSchemaVersion(db()), 1);
    const installation::SchemaReport before = installation::checkSchema(db());
    EXPECT_TRUE(before.older());
    EXPECT_EQ(before.missingTables,
              (QStringList{"schemaversion", "workstationlist", "AllConsDay", "AllGuesDay", "AllGuesPayDay"}));
    EXPECT_EQ(before.missingIndexes, indexesSinceTheFirstRelease());
    EXPECT_EQ(before.missingIndexes.size(), 6);

    const QStringList made = installation::upgradeDatabase(db(), back(), kClock);
    // The five tables, the six indexes, the history's lines, bills and payments summed and the
    // version.
    EXPECT_EQ(made.size(), 14) << made.join('\n').toStdString();
    EXPECT_EQ(schema::storedSchemaVersion(db()), schema::kSchemaVersion);
    EXPECT_EQ(catalogue(db()), catalogue(fresh.db()));
    EXPECT_TRUE(installation::checkSchema(db()).complete());
    // The ended days' ordered lines are summed, the open day's are left to its day end.
    const RecordSet summed = db().query("SELECT summ_day, sum(tabl_cons_tota) AS amount FROM AllConsDay "
                                        "WHERE summ_by = 'A' GROUP BY summ_day ORDER BY summ_day");
    ASSERT_EQ(summed.rowCount(), 2);
    EXPECT_EQ(summed.dateTime(0, "summ_day").date(), QDate(2026, 3, 2));
    EXPECT_DOUBLE_EQ(summed.number(0, "amount"), 30.0);
    EXPECT_DOUBLE_EQ(summed.number(1, "amount"), 55.5);
    EXPECT_TRUE(daySummaryMismatches(db()).isEmpty());
    EXPECT_EQ(QDir(back()).entryList({"vozezozarev-before-upgrade-*.bak"}, QDir::Files).size(), 1);
    // A second run finds nothing to do and takes no second backup.
    EXPECT_TRUE(installation::upgradeDatabase(db(), back(), kClock).isEmpty());
    EXPECT_EQ(QDir(back()).entryList(QDir::Files).size(), 1);
}

// A venue of version 3 gets the day summary of its bills and payments: its ended days summed as
// their day ends would have, the open day and a bill cleared after its day's end left to come,
// and the lines' summary it already keeps left as it is.
TEST_P(VenueDataTest, Version3DatabaseGetsItsBillsAndPaymentsSummed) {
    test::ScratchDatabase fresh(GetParam(), test::ScratchDatabase::Contents::Presets);
    struct Bill {
        int number;
        const char* day;
        double received;
        bool pending; // cleared after its day's end, that day end still to come
    } bills[] = {
        {1, "2026-03-02 00:00:00", 30, false}, {2, "2026-03-03 00:00:00", 45.5, false},
        {3, "2026-03-03 00:00:00", 12, false}, {4, "2026-03-03 00:00:00", 8, true},
        {5, "2026-03-04 00:00:00", 99, false},
    };
    for (const Bill& b : bills) {
        db().exec("INSERT INTO AllGues (tabl_gues_auto_recn, tabl_code, dept_code, tabl_gues_time_work, "
                  "tabl_gues_fact) VALUES (?, 'A01', '01', ?, ?)",
                  {b.number, QString::fromLatin1(b.day), b.received});
        db().exec("INSERT INTO AllGuesPay (tabl_gues_auto_recn, pay_type_code, pay_type_name, pay_type_mone, "
                  "pay_time) VALUES (?, 'Z', '现金', ?, ?)",
                  {b.number, b.received, QString::fromLatin1(b.day)});
        if (b.pending)
            db().exec("INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_gues_use, tabl_gues_time_work) "
                      "VALUES (?, 0, ?)",
                      {b.number, QString::fromLatin1(b.day)});
    }
    db().exec("INSERT INTO AllConsDay (summ_day, summ_by, summ_code, item_code, tabl_cons_tota) VALUES "
              "('2026-03-02 00:00:00', 'A', '', '1001', 30)");
    db().exec("UPDATE SetupPay SET pay_star = 1, time_work = '2026-03-04 00:00:00'");
    makeVersion3(db());

    const QStringList made = installation::upgradeDatabase(db(), back(), kClock);
    EXPECT_EQ(made, (QStringList{"新建数据表：AllGuesDay", "新建数据表：AllGuesPayDay",
                                 "按营业日汇总历史帐单和付款", "数据库版本 3 升级为 4"}));
    EXPECT_EQ(catalogue(db()), catalogue(fresh.db()));
    for (const char* table : {"AllGuesDay", "AllGuesPayDay"}) {
        const RecordSet summed = db().query(
            QStringLiteral("SELECT summ_day, sum(%1) AS amount FROM %2 WHERE summ_by = 'D' AND "
                           "summ_code = '01' GROUP BY summ_day ORDER BY summ_day")
                .arg(QLatin1String(table) == QLatin1String("AllGuesDay") ? "tabl_gues_fact" : "pay_type_mone",
                     QLatin1String(table)));
        ASSERT_EQ(summed.rowCount(), 2) << table;
        EXPECT_EQ(summed.dateTime(0, "summ_day").date(), QDate(2026, 3, 2)) << table;
        EXPECT_DOUBLE_EQ(summed.number(0, "amount"), 30) << table;
        EXPECT_DOUBLE_EQ(summed.number(1, "amount"), 57.5) << table;
    }
    EXPECT_EQ(count("AllConsDay"), 1);
    EXPECT_TRUE(daySummaryMismatches(db(), billSummary()).isEmpty());
    EXPECT_TRUE(daySummaryMismatches(db(), paymentSummary()).isEmpty());
}

TEST_P(VenueDataTest, NewerDatabaseIsRefused) {
    db().exec("UPDATE schemaversion SET schema_version = ?", {schema::kSchemaVersion + 1});
    try {
        installation::upgradeDatabase(db(), back(), kClock);
        FAIL() << "a newer database was upgraded";
    } catch (const DbError& e) {
        EXPECT_EQ(e.reason(), schema::kNewerDatabaseMessage);
    }
    EXPECT_FALSE(QDir(back()).exists());
}

TEST_P(VenueDataTest, BackupIsOneCheckedMomentReadableByItsOwnerOnly) {
    db().exec("UPDATE SetupPay SET auto_recn = 57, user_name = ?", {QStringLiteral("悦来酒家's")});
    db().exec("INSERT INTO AllGues (tabl_gues_auto_recn, tabl_code, tabl_gues_shou) VALUES (9, 'A01', 88.5)");
    const installation::BackupMade made = installation::backupDatabase(db(), back(), kClock);
    EXPECT_EQ(QFileInfo(made.file).fileName(), "vozezozarev-20260304-221500.bak");
    EXPECT_EQ(QDir(back()).entryList(QDir::Files),
              (QStringList{"vozezozarev-20260304-221500.bak", "vozezozarev.bak"}));
    for (const QString& file : QDir(back()).entryList(QDir::Files))
        EXPECT_EQ(QFile::permissions(QDir(back()).filePath(file)) & 0x0077, 0) << file.toStdString();

    SqliteDatabase copy(installation::latestBackupFile(back()), databasePassword(),
                        SqliteDatabase::Mode::ReadOnly);
    EXPECT_EQ(copy.scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(copy.scalar("PRAGMA journal_mode").toString(), "delete");
    EXPECT_TRUE(tallyMismatches(tallyInstallation(db()), tallyInstallation(copy)).isEmpty());
    EXPECT_EQ(copy.scalar("SELECT user_name FROM SetupPay").toString(), QStringLiteral("悦来酒家's"));
    EXPECT_THROW(SqliteDatabase(made.file, "another key", SqliteDatabase::Mode::ReadOnly), DbError);
}

TEST_P(VenueDataTest, BackupBesideADeskSettlingBillsHoldsEachBillWithAllItsLines) {
    std::atomic<bool> stop = false;
    std::atomic<int> settled = 0;
    std::unique_ptr<Database> desk = scratch().connectAgain();
    std::thread settling([&] {
        for (int bill = 1; !stop; ++bill) {
            Transaction tx(*desk);
            desk->exec(
                "INSERT INTO AllGues (tabl_gues_auto_recn, tabl_code, tabl_gues_shou) VALUES (?, 'A01', 30)",
                {bill});
            for (int line = 0; line < 2; ++line)
                desk->exec("INSERT INTO AllCons (tabl_gues_auto_recn, item_code, tabl_cons_tota) VALUES (?, "
                           "'1001', 15)",
                           {bill});
            tx.commit();
            ++settled;
        }
    });
    while (settled < 20)
        QThread::msleep(5);
    installation::backupDatabase(db(), back(), kClock);
    const int before = settled;
    while (settled < before + 20)
        QThread::msleep(5);
    stop = true;
    settling.join();

    SqliteDatabase copy(installation::latestBackupFile(back()), databasePassword(),
                        SqliteDatabase::Mode::ReadOnly);
    const qlonglong bills = copy.scalar("SELECT count(*) FROM AllGues").toLongLong();
    EXPECT_GT(bills, 0);
    EXPECT_LT(bills, settled.load());
    EXPECT_EQ(copy.scalar("SELECT count(*) FROM AllCons").toLongLong(), 2 * bills);
    EXPECT_EQ(copy.scalar("SELECT count(*) FROM AllGues g WHERE (SELECT count(*) FROM AllCons c WHERE "
                          "c.tabl_gues_auto_recn = g.tabl_gues_auto_recn) <> 2")
                  .toInt(),
              0);
}

TEST_P(VenueDataTest, RestoreBringsBackTheBackupButNeverAnEarlierBillNumber) {
    struct Case {
        int atBackup, now, restored;
    } cases[] = {{80, 120, 120}, {150, 120, 150}};
    for (const Case& c : cases) {
        db().exec("UPDATE SetupPay SET auto_recn = ?, user_name = 'backed up'", {c.atBackup});
        installation::backupDatabase(db(), back(), kClock);
        db().exec("UPDATE SetupPay SET auto_recn = ?, user_name = 'later'", {c.now});
        db().exec("INSERT INTO bookin (book_name) VALUES ('later')");
        installation::restoreDatabase(db(), back(), kClock);
        EXPECT_EQ(db().scalar("SELECT auto_recn FROM SetupPay").toInt(), c.restored);
        EXPECT_EQ(db().scalar("SELECT user_name FROM SetupPay").toString(), "backed up");
        EXPECT_EQ(count("bookin"), 0);
        EXPECT_EQ(installation::checkDatabase(db()).damage, QStringList{});
        db().exec("DELETE FROM bookin");
    }
    EXPECT_EQ(QDir(back()).entryList({"vozezozarev-before-restore-*.bak"}, QDir::Files).size(), 2);
}

TEST_P(VenueDataTest, UnfitBackupIsRefusedBeforeAnythingChanges) {
    installation::backupDatabase(db(), back(), kClock);
    const QString latest = installation::latestBackupFile(back());
    QFile::copy(latest, dir_.filePath("good.bak"));
    const std::function<void()> spoil[] = {
        [&] { QFile(latest).resize(QFileInfo(latest).size() / 3); },
        [&] {
            QFile::remove(latest);
            SqliteDatabase other(latest, "another key", SqliteDatabase::Mode::CreateIfMissing);
            other.exec("CREATE TABLE SetupPay (auto_recn INTEGER)");
        },
        [&] {
            SqliteDatabase opened(latest, databasePassword());
            opened.exec("DROP TABLE TableConsList");
        },
        [&] {
            SqliteDatabase opened(latest, databasePassword());
            opened.exec("DELETE FROM setupprint");
        },
        [&] { QFile::remove(latest); },
    };
    db().exec("UPDATE SetupPay SET user_name = 'kept'");
    for (const auto& step : spoil) {
        QFile::remove(latest);
        installation::removeDatabaseFile(latest);
        QFile::copy(dir_.filePath("good.bak"), latest);
        step();
        EXPECT_THROW(installation::restoreDatabase(db(), back(), kClock), DbError);
        EXPECT_EQ(db().scalar("SELECT user_name FROM SetupPay").toString(), "kept");
        EXPECT_TRUE(QDir(back()).entryList({"*before-restore*", "*.incomplete"}, QDir::Files).isEmpty());
    }
}

TEST_P(VenueDataTest, BackupIntoAFolderThatCannotBeWrittenLeavesNothing) {
    QDir().mkpath(back());
    {
        const test::WriteProtected locked(back());
        if (!locked.holds()) GTEST_SKIP() << "this file system lets root write anywhere";
        EXPECT_THROW(installation::backupDatabase(db(), back(), kClock), DbError);
    }
    EXPECT_TRUE(QDir(back()).entryList(QDir::Files).isEmpty());
}

// What a failed step must leave exactly as it found: every table's rows and money, and the rows a
// restore would have changed.
struct Kept {
    QList<TableTally> tallies;
    QString name;
    qlonglong counter;
    QStringList bookings;
};

Kept keptOf(Database& db) {
    QStringList bookings;
    const RecordSet rows = db.query("SELECT book_name FROM bookin ORDER BY book_name");
    for (int r = 0; r < rows.rowCount(); ++r)
        bookings << rows.text(r, "book_name");
    return {tallyInstallation(db), db.scalar("SELECT user_name FROM SetupPay").toString(),
            db.scalar("SELECT auto_recn FROM SetupPay").toLongLong(), bookings};
}

// What differs, one line each; empty when nothing does.
std::string changed(const Kept& before, const Kept& now) {
    QStringList lines = tallyMismatches(before.tallies, now.tallies);
    if (now.name != before.name) lines << "user_name " + before.name + " -> " + now.name;
    if (now.counter != before.counter)
        lines << QStringLiteral("auto_recn %1 -> %2").arg(before.counter).arg(now.counter);
    if (now.bookings != before.bookings)
        lines << "bookings " + before.bookings.join(',') + " -> " + now.bookings.join(',');
    return lines.join('\n').toStdString();
}

TEST_P(VenueDataTest, RestoreFailingMidCopyLeavesTheDatabaseAsItWas) {
    db().exec("UPDATE SetupPay SET auto_recn = 80, user_name = 'backed up'");
    for (int bill = 1; bill <= 40; ++bill) {
        db().exec(
            "INSERT INTO AllGues (tabl_gues_auto_recn, tabl_code, tabl_gues_shou) VALUES (?, 'A01', 30)",
            {bill});
        db().exec(
            "INSERT INTO AllCons (tabl_gues_auto_recn, item_code, tabl_cons_tota) VALUES (?, '1001', 30)",
            {bill});
    }
    const installation::BackupMade made = installation::backupDatabase(db(), back(), kClock);
    db().exec("UPDATE SetupPay SET auto_recn = 120, user_name = 'now'");
    db().exec("DELETE FROM AllCons WHERE tabl_gues_auto_recn > 30");
    db().exec("INSERT INTO bookin (book_name) VALUES ('tonight')");
    const Kept before = keptOf(db());

    const auto restoreFails = [&](Database& on, const std::string& fault) {
        try {
            installation::restoreDatabase(on, back(), kClock);
            ADD_FAILURE() << "restored past " << fault;
        } catch (const DbError& e) {
            EXPECT_TRUE(e.reason().startsWith(QStringLiteral("数据恢复失败，数据库未作任何改动")))
                << e.reason().toStdString();
        }
    };
    // Each fault strikes once the old rows or pages are partly replaced by the backup's.
    std::vector<std::function<void()>> faults;
    if (GetParam() == Engine::Embedded) {
        // The disk under the live database fills up while the backup's pages are written in.
        for (const qint64 room : {qint64(0), made.bytes / 2, made.bytes * 9 / 10})
            faults.push_back([&, room] {
                const test::FullDisk disk(db().location(), room);
                {
                    const std::unique_ptr<Database> live = scratch().connectAgain();
                    restoreFails(*live, "a full disk, room " + std::to_string(room));
                }
                EXPECT_GT(disk.refused(), 0) << room;
            });
    } else {
        // The server drops a statement after the old rows were deleted: a table half copied, the
        // last table, the bill counter kept at the end.
        for (const char* failOn :
             {"INSERT INTO AllCons", "INSERT INTO setupprint", "UPDATE SetupPay SET auto_recn"})
            faults.push_back([&, failOn] {
                test::FailingDatabase failing(db(), QString::fromLatin1(failOn));
                restoreFails(failing, failOn);
            });
    }
    for (const auto& fault : faults) {
        fault();
        EXPECT_EQ(changed(before, keptOf(db())), "");
        const std::unique_ptr<Database> fresh = scratch().connectAgain();
        EXPECT_EQ(changed(before, keptOf(*fresh)), "");
        EXPECT_EQ(installation::checkDatabase(*fresh).damage, QStringList{});
        EXPECT_TRUE(QDir(back()).entryList({"*.incomplete*"}, QDir::Files).isEmpty());
    }
    // Past the faults the same backup restores.
    installation::restoreDatabase(db(), back(), kClock);
    EXPECT_EQ(db().scalar("SELECT user_name FROM SetupPay").toString(), "backed up");
    EXPECT_EQ(count("AllCons"), 40);
}

// A restore run as its own program, stopped at a named point and killed there.
class KilledRestore {
  public:
    KilledRestore(const QString& target, const QString& back, const QString& point) {
        test::startProgram(process_, QStringLiteral("sorrel-restore-until"), {target, back, point});
        while (!out_.contains("\n") && process_.waitForReadyRead(60000))
            out_ += process_.readAllStandardOutput();
        stopped_ = out_.startsWith("AT ");
        if (process_.state() != QProcess::NotRunning) ::kill(pid_t(process_.processId()), SIGKILL);
        process_.waitForFinished(30000);
    }
    bool stopped() const { return stopped_; }
    std::string told() { return (out_ + process_.readAllStandardError()).toStdString(); }

  private:
    QProcess process_;
    QByteArray out_;
    bool stopped_ = false;
};

// Killed while it copies the current database aside, while the backup's pages or rows go into the
// live database, or with all of them in but not yet committed: the current database opens whole
// with everything it held, the half-written copy in back/ is never offered nor accepted as a
// backup, and the same restore then goes through.
TEST_P(VenueDataTest, RestoreKilledAnywhereLeavesTheDatabaseWholeAsItWas) {
    db().exec("UPDATE SetupPay SET auto_recn = 80, user_name = 'backed up'");
    {
        Transaction tx(db());
        for (int bill = 1; bill <= 400; ++bill) {
            db().exec(
                "INSERT INTO AllGues (tabl_gues_auto_recn, tabl_code, tabl_gues_shou) VALUES (?, 'A01', 30)",
                {bill});
            for (int line = 0; line < 3; ++line)
                db().exec(
                    "INSERT INTO AllCons (tabl_gues_auto_recn, item_code, tabl_cons_tota) VALUES (?, ?, 10)",
                    {bill, QString::number(1001 + line)});
        }
        tx.commit();
    }
    installation::backupDatabase(db(), back(), kClock);
    db().exec("UPDATE SetupPay SET auto_recn = 120, user_name = 'now'");
    db().exec("DELETE FROM AllCons WHERE tabl_gues_auto_recn > 300");
    db().exec("INSERT INTO bookin (book_name) VALUES ('tonight')");
    const Kept before = keptOf(db());
    const QStringList backedUp = QDir(back()).entryList(QDir::Files);

    for (const char* point : {"backup", "copy", "commit"}) {
        SCOPED_TRACE(point);
        KilledRestore killed(scratch().target(), back(), QString::fromLatin1(point));
        ASSERT_TRUE(killed.stopped()) << killed.told();

        const std::unique_ptr<Database> fresh = scratch().connectAgain();
        EXPECT_EQ(installation::checkDatabase(*fresh).damage, QStringList{});
        EXPECT_EQ(changed(before, keptOf(*fresh)), "");
        // It takes the next bill as it would have before.
        {
            Transaction tx(*fresh);
            fresh->exec("UPDATE SetupPay SET auto_recn = auto_recn + 1");
            EXPECT_EQ(fresh->scalar("SELECT auto_recn FROM SetupPay").toInt(), 121);
        }
        // Whatever the restore left in back/ is offered only when it checks out; a half-written
        // copy is neither offered nor accepted.
        const QList<installation::BackupEntry> offered = installation::listBackups(back());
        for (const installation::BackupEntry& entry : offered)
            EXPECT_NO_THROW(installation::checkBackupFile(entry.file)) << entry.file.toStdString();
        for (const QString& name : QDir(back()).entryList(QDir::Files)) {
            if (backedUp.contains(name)) continue;
            const QString file = QDir(back()).filePath(name);
            const bool listed =
                std::any_of(offered.begin(), offered.end(),
                            [&](const installation::BackupEntry& e) { return e.file == file; });
            if (name.contains(".incomplete")) {
                EXPECT_FALSE(listed) << name.toStdString();
                if (name.endsWith(".bak.incomplete")) {
                    EXPECT_THROW(installation::checkBackupFile(file), DbError) << name.toStdString();
                }
            } else {
                EXPECT_TRUE(name.startsWith("vozezozarev-before-restore-")) << name.toStdString();
            }
        }
    }
    // Past the kills the same backup restores, the bill counter never going back.
    installation::restoreDatabase(db(), back(), kClock);
    EXPECT_EQ(db().scalar("SELECT user_name FROM SetupPay").toString(), "backed up");
    EXPECT_EQ(db().scalar("SELECT auto_recn FROM SetupPay").toInt(), 120);
    EXPECT_EQ(count("AllCons"), 1200);
    EXPECT_EQ(installation::checkDatabase(db()).damage, QStringList{});
    // It cleared away what the killed ones left half-written.
    EXPECT_EQ(QDir(back()).entryList({"*.incomplete*"}, QDir::Files), QStringList{});
}

TEST_P(VenueDataTest, BackupOntoAFullDiskTellsNoSuccessAndLeavesNoTemporaryFile) {
    db().exec("UPDATE SetupPay SET user_name = 'first'");
    for (int bill = 1; bill <= 40; ++bill)
        db().exec(
            "INSERT INTO AllGues (tabl_gues_auto_recn, tabl_code, tabl_gues_shou) VALUES (?, 'A01', 30)",
            {bill});
    const installation::BackupMade first = installation::backupDatabase(db(), back(), kClock);
    const QByteArray latest = [&] {
        QFile file(installation::latestBackupFile(back()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const QStringList files = QDir(back()).entryList(QDir::Files);
    db().exec("UPDATE SetupPay SET user_name = 'second'");
    const Kept before = keptOf(db());
    const FixedClock later(kClock.now().addSecs(3600));
    // Full at once, halfway through the pages, and in the compaction that follows the copy.
    for (const qint64 room : {qint64(0), first.bytes / 2, first.bytes * 3 / 2}) {
        const test::FullDisk disk(back(), room);
        try {
            installation::backupDatabase(db(), back(), later);
            ADD_FAILURE() << "a backup onto a full disk succeeded, room " << room;
        } catch (const DbError& e) {
            EXPECT_TRUE(e.reason().startsWith(QStringLiteral("数据备份失败，数据库未作任何改动")))
                << e.reason().toStdString();
        }
        EXPECT_GT(disk.refused(), 0) << room;
        EXPECT_EQ(QDir(back()).entryList(QDir::Files), files) << room;
        EXPECT_EQ(changed(before, keptOf(db())), "");
    }
    QFile file(installation::latestBackupFile(back()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), latest);
}

// A disk that garbles what is written into the backup being made (a failing stick or sector): one
// byte of every page after the first few is flipped on its way down.
class GarblingDisk {
  public:
    GarblingDisk() : disk_("sorrel-garbling-disk", hooks()) {}
    int garbled() const { return garbled_; }

  private:
    test::DiskHooks hooks() {
        test::DiskHooks h;
        h.opened = [this](const char* name) -> void* {
            return QString::fromUtf8(name).endsWith(".bak.incomplete") ? this : nullptr;
        };
        h.write = [this](void* tag, sqlite3_file* real, const void* data, int amount, sqlite3_int64 offset) {
            if (tag == this && amount >= 1024 && offset >= 4 * amount) {
                QByteArray bytes(static_cast<const char*>(data), amount);
                bytes[amount / 2] = char(bytes[amount / 2] ^ 0x5a);
                ++garbled_;
                return real->pMethods->xWrite(real, bytes.constData(), amount, offset);
            }
            return real->pMethods->xWrite(real, data, amount, offset);
        };
        return h;
    }
    int garbled_ = 0;
    test::ForwardingDisk disk_;
};

TEST_P(VenueDataTest, BackupThatFailsItsCheckTellsNoSuccessAndLeavesNothing) {
    {
        Transaction tx(db());
        for (int bill = 1; bill <= 300; ++bill)
            db().exec(
                "INSERT INTO AllCons (tabl_gues_auto_recn, item_code, tabl_cons_tota) VALUES (?, '1001', 30)",
                {bill});
        tx.commit();
    }
    installation::backupDatabase(db(), back(), kClock);
    const QStringList files = QDir(back()).entryList(QDir::Files);
    const QByteArray latest = [&] {
        QFile file(installation::latestBackupFile(back()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    db().exec("UPDATE SetupPay SET user_name = 'later'");
    const Kept before = keptOf(db());
    {
        const GarblingDisk disk;
        try {
            installation::backupDatabase(db(), back(), FixedClock(kClock.now().addSecs(3600)));
            ADD_FAILURE() << "a garbled backup was taken for a good one";
        } catch (const DbError& e) {
            EXPECT_TRUE(e.reason().startsWith(QStringLiteral("数据备份失败，数据库未作任何改动")))
                << e.reason().toStdString();
        }
        EXPECT_GT(disk.garbled(), 0);
    }
    EXPECT_EQ(QDir(back()).entryList(QDir::Files), files);
    EXPECT_EQ(changed(before, keptOf(db())), "");
    QFile file(installation::latestBackupFile(back()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), latest);
}

// The restore's list: every backup by the moment in its name, newest first, the kept copies named
// by what they were kept before, the plain backup offered first; stray files left out, and the
// copy a restore reads by default only when someone put it there after the last backup.
TEST(BackupList, NewestFirstWithTheNewestPlainBackupOffered) {
    QTemporaryDir dir;
    const QString back = dir.filePath("back");
    QDir().mkpath(back);
    for (const char* name :
         {"vozezozarev-20260302-230000.bak", "vozezozarev-before-restore-20260304-090000.bak",
          "vozezozarev-20260303-230005.bak", "vozezozarev-20260303-230005-2.bak",
          "vozezozarev-20260303-230005.bak.incomplete", "notes.bak", "vozezozarev.bak"}) {
        QFile file(back + '/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(3000, 'x'));
    }
    const auto listed = [&] {
        QStringList lines;
        for (const installation::BackupEntry& e : installation::listBackups(back))
            lines << QStringLiteral("%1 %2 %3")
                         .arg(QFileInfo(e.file).fileName(), installation::purposeCaption(e.purpose),
                              installation::sizeCaption(e.bytes));
        return lines;
    };
    EXPECT_EQ(listed(),
              (QStringList{QStringLiteral("vozezozarev-before-restore-20260304-090000.bak 恢复前 3 KB"),
                           QStringLiteral("vozezozarev-20260303-230005-2.bak 数据备份 3 KB"),
                           QStringLiteral("vozezozarev-20260303-230005.bak 数据备份 3 KB"),
                           QStringLiteral("vozezozarev-20260302-230000.bak 数据备份 3 KB")}));
    EXPECT_EQ(installation::defaultBackupIndex(installation::listBackups(back)), 1);

    // A backup brought from another machine as vozezozarev.bak, after the last one here.
    QFile latest(installation::latestBackupFile(back));
    ASSERT_TRUE(latest.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        latest.setFileTime(QDateTime::currentDateTime().addSecs(7200), QFileDevice::FileModificationTime));
    latest.close();
    EXPECT_EQ(listed().first(), QStringLiteral("vozezozarev.bak 数据备份 3 KB"));
    EXPECT_EQ(installation::defaultBackupIndex(installation::listBackups(back)), 0);

    EXPECT_TRUE(installation::listBackups(dir.filePath("none")).isEmpty());
    EXPECT_EQ(installation::defaultBackupIndex({}), -1);
    struct Size {
        qint64 bytes;
        const char* caption;
    } sizes[] = {{0, "0 KB"},
                 {1, "1 KB"},
                 {1024 * 1024 - 1, "1024 KB"},
                 {1024 * 1024, "1.0 MB"},
                 {qint64(1536) * 1024 * 1024, "1536.0 MB"}};
    for (const Size& c : sizes)
        EXPECT_EQ(installation::sizeCaption(c.bytes), QString::fromLatin1(c.caption)) << c.bytes;
}

TEST_P(VenueDataTest, AloneOnlyPastProgramsWhoseBeatStandsStill) {
    std::unique_ptr<Database> deskDb = scratch().connectAgain();
    WorkstationPresence desk(*deskDb, "desk-1", "Sorrel_W");
    desk.setOperator(QStringLiteral("张三"));
    desk.beat();
    WorkstationPresence office(db(), "office", "Sorrel_S");
    int waits = 0;
    try {
        requireDatabaseAlone(db(), office.id(), [&](int) {
            ++waits;
            desk.beat();
        });
        FAIL() << "refused nothing beside a working front desk";
    } catch (const StepRefused& e) {
        EXPECT_EQ(e.text(),
                  QStringLiteral(
                      "还有其它工作站正在使用数据库：[desk-1 Sorrel_W（张三）]，请全部退出后再进行此操作！"));
    }
    EXPECT_EQ(waits, 1);

    // The desk's program died: its row stays, its beat stands.
    deskDb->exec("INSERT INTO workstationlist (work_machine, work_program, work_operator, work_beat) "
                 "VALUES ('desk-2', 'Sorrel_W', '', 7)");
    waits = 0;
    EXPECT_THROW(requireDatabaseAlone(db(), office.id(), [&](int) { desk.beat(); }), StepRefused);
    deskDb->exec("DELETE FROM workstationlist WHERE work_machine = 'desk-1'");
    requireDatabaseAlone(db(), office.id(), [&](int ms) { waits += ms; });
    EXPECT_EQ(waits, kWatchOthersMs);
    EXPECT_EQ(count("workstationlist"), 1);

    // A restore beside a working desk is refused before anything is written.
    installation::backupDatabase(db(), back(), kClock);
    WorkstationPresence again(*deskDb, "desk-3", "Sorrel_W");
    EXPECT_THROW(installation::restoreDatabase(db(), back(), kClock, {}, [&](int) { again.beat(); }),
                 StepRefused);
    EXPECT_TRUE(QDir(back()).entryList({"*before-restore*"}, QDir::Files).isEmpty());
}

// A restore done past a program that died: the dead row goes, and the programs running now stay
// listed as they are instead of those the backup found running.
TEST_P(VenueDataTest, RestorePastADeadProgramKeepsTheProgramsRunningNow) {
    std::unique_ptr<Database> deskDb = scratch().connectAgain();
    WorkstationPresence office(db(), "office", "Sorrel_S");
    {
        WorkstationPresence earlier(*deskDb, "desk-1", "Sorrel_W");
        installation::backupDatabase(db(), back(), kClock);
    }
    deskDb->exec("INSERT INTO workstationlist (work_machine, work_program, work_operator, work_beat) "
                 "VALUES ('desk-2', 'Sorrel_W', '', 7)");
    int waited = 0;
    installation::restoreDatabase(db(), back(), kClock, {}, [&](int ms) { waited += ms; });
    EXPECT_EQ(waited, kWatchOthersMs);
    const RecordSet running = db().query("SELECT work_machine FROM workstationlist");
    ASSERT_EQ(running.rowCount(), 1);
    EXPECT_EQ(running.text(0, "work_machine"), "office");
    EXPECT_EQ(QDir(back()).entryList({"vozezozarev-before-restore-*.bak"}, QDir::Files).size(), 1);
}

// The backup is compacted: bills deleted since the last one leave no room behind in the copy,
// though the live file keeps its size.
TEST_P(VenueDataTest, BackupAfterDeletesIsSmallerThanTheOneBefore) {
    {
        Transaction tx(db());
        for (int bill = 1; bill <= 2000; ++bill)
            db().exec("INSERT INTO AllCons (tabl_gues_auto_recn, item_code, item_name, tabl_cons_tota) "
                      "VALUES (?, '1001', '清蒸鲈鱼配姜葱豉油', 30)",
                      {bill});
        tx.commit();
    }
    const qint64 full = installation::backupDatabase(db(), back(), kClock).bytes;
    db().exec("DELETE FROM AllCons");
    const FixedClock later(kClock.now().addSecs(60));
    const installation::BackupMade emptied = installation::backupDatabase(db(), back(), later);
    EXPECT_LT(emptied.bytes * 2, full) << emptied.bytes << " of " << full;
    EXPECT_EQ(emptied.bytes, QFileInfo(installation::latestBackupFile(back())).size());
    SqliteDatabase copy(emptied.file, databasePassword(), SqliteDatabase::Mode::ReadOnly);
    EXPECT_EQ(copy.scalar("PRAGMA freelist_count").toInt(), 0);
    EXPECT_EQ(copy.scalar("SELECT count(*) FROM AllCons").toInt(), 0);
}

TEST_P(VenueDataTest, BeatIsSkippedWhileAnotherWorkstationHoldsTheLock) {
    std::unique_ptr<Database> other = scratch().connectAgain();
    WorkstationPresence office(db(), "office", "Sorrel_S");
    other->begin();
    other->exec("UPDATE SetupPay SET user_name = 'saving'");
    QElapsedTimer timer;
    timer.start();
    office.beat();
    EXPECT_LT(timer.elapsed(), 2000);
    other->rollback();
    office.beat();
    EXPECT_EQ(db().scalar("SELECT work_beat FROM workstationlist WHERE work_id = ?", {office.id()}).toInt(),
              GetParam() == Engine::Embedded ? 1 : 2);
}

TEST_P(VenueDataTest, AClosingProgramDoesNotWaitForAnotherWorkstationsSave) {
    std::unique_ptr<Database> other = scratch().connectAgain();
    auto office = std::make_unique<WorkstationPresence>(db(), "office", "Sorrel_S");
    const qlonglong id = office->id();
    other->begin();
    other->exec("UPDATE SetupPay SET user_name = 'saving'");
    QElapsedTimer timer;
    timer.start();
    office.reset();
    EXPECT_LT(timer.elapsed(), 2000);
    other->rollback();
    // On the file the row stays, and the others take it for a dead program.
    EXPECT_EQ(db().scalar("SELECT count(*) FROM workstationlist WHERE work_id = ?", {id}).toInt(),
              GetParam() == Engine::Embedded ? 1 : 0);
}

TEST_P(VenueDataTest, DayEndBacksUpOnlyWhenTickedAndTellsOnlyAFailure) {
    test::ScriptedSink sink;
    LoginSession session(db(), kClock);
    session.setDayEndBackupFolder(back());
    session.backUpAfterDayEnd();
    EXPECT_FALSE(QDir(back()).exists());
    db().exec("UPDATE SetupPay SET work_back = 1");
    session.backUpAfterDayEnd();
    EXPECT_TRUE(QFileInfo::exists(installation::latestBackupFile(back())));
    EXPECT_TRUE(sink.shown.isEmpty());
    {
        const test::WriteProtected locked(back());
        if (!locked.holds()) GTEST_SKIP() << "this file system lets root write anywhere";
        session.backUpAfterDayEnd();
    }
    ASSERT_EQ(sink.shown.size(), 1);
    EXPECT_EQ(sink.shown[0].kind, MessageKind::Error);
    EXPECT_TRUE(sink.shown[0].text.startsWith(QStringLiteral("日结后的自动数据备份未能完成")));
}

SORREL_ON_EVERY_ENGINE(VenueDataTest);

} // namespace
