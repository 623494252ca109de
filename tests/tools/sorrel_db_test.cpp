// The administrator's tool on good and bad input: it never overwrites a venue's data, never
// crashes, and says clearly what is wrong with a non-zero exit code.
#include "common/db/connection.h"
#include "common/db/database_file.h"
#include "common/db/sqlite_database.h"
#include "common/installation/database_files.h"
#include "tests/support/built_programs.h"
#include "tests/support/test_database.h"
#include "tests/support/write_protected.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace sorrel;
using installation::removeDatabaseFile;
using test::ProgramRun;

namespace {

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

ProgramRun sorrelDb(const QStringList& arguments) {
    return test::runProgram("sorrel-db", arguments);
}

class SorrelDbTool : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

TEST_F(SorrelDbTool, DemoInAFolderWithChineseAndBlanksPassesItsOwnCheck) {
    const QString folder = path("岚舟 餐饮/data");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + "/VozezOzarev.mdb";

    const ProgramRun demo = sorrelDb({"demo", file});
    ASSERT_EQ(demo.exitCode, 0) << demo.err.toStdString();
    EXPECT_TRUE(demo.out.contains("2222"));

    const ProgramRun check = sorrelDb({"check", file});
    EXPECT_FALSE(check.crashed);
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_TRUE(check.out.contains(QRegularExpression("SetupPay\\s+1\\n"))) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains(QRegularExpression("TableList\\s+32\\n")));
    EXPECT_TRUE(check.err.isEmpty()) << check.err.toStdString();

    // The file is the venue's database as the programs open it, and unreadable without the key.
    EXPECT_FALSE(contentsOf(file).startsWith("SQLite format 3"));
    SqliteDatabase db(file, databasePassword());
    EXPECT_EQ(db.scalar("SELECT user_name FROM SetupPay").toString(), "悦来酒家");
}

TEST_F(SorrelDbTool, CreateMakesPresetsOnly) {
    const ProgramRun create = sorrelDb({"create", path("new.mdb")});
    ASSERT_EQ(create.exitCode, 0) << create.err.toStdString();
    SqliteDatabase db(path("new.mdb"), databasePassword());
    EXPECT_EQ(db.scalar("SELECT count(*) FROM operatorlist").toInt(), 1);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM TableList").toInt(), 0);
}

TEST_F(SorrelDbTool, BadInputIsRefusedWithAMessageAndLeavesFilesAlone) {
    writeFile(path("notes.mdb"), QByteArray(4096, 'x'));
    {
        // Another installation's database: right format, other password.
        SqliteDatabase foreign(path("foreign.mdb"), "not-our-password",
                               SqliteDatabase::Mode::CreateIfMissing);
        foreign.exec("CREATE TABLE t (x INTEGER)");
    }
    ASSERT_EQ(sorrelDb({"create", path("venue.mdb")}).exitCode, 0);
    writeFile(path("plain.txt"), "menu of the day\n");

    const struct {
        const char* name;
        QStringList arguments;
        const char* message;
    } cases[] = {
        {"missing file", {"check", path("none.mdb")}, "不存在"},
        {"not a database", {"check", path("notes.mdb")}, "不是数据库文件"},
        {"text file", {"check", path("plain.txt")}, "不是数据库文件"},
        {"wrong password", {"check", path("foreign.mdb")}, "密码错误"},
        {"a folder", {"check", dir_.path()}, "文件夹"},
        {"create over a database", {"create", path("venue.mdb")}, "不会覆盖"},
        {"demo over a database", {"demo", path("venue.mdb")}, "不会覆盖"},
        {"create over any file", {"create", path("plain.txt")}, "不会覆盖"},
        {"folder missing", {"create", path("gone/venue.mdb")}, "文件夹不存在"},
        {"inside a file", {"demo", path("plain.txt") + "/venue.mdb"}, "文件夹不存在"},
        {"empty path", {"create", ""}, "没有给出数据库文件"},
    };
    QMap<QString, QByteArray> before;
    for (const QString& name : QDir(dir_.path()).entryList(QDir::Files))
        before[name] = contentsOf(path(name));

    for (const auto& c : cases) {
        const ProgramRun run = sorrelDb(c.arguments);
        EXPECT_FALSE(run.crashed) << c.name;
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message)))
            << c.name << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << c.name;
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_EQ(contentsOf(path(it.key())), it.value()) << it.key().toStdString() << " was changed";
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), before.size()) << "a file was left behind";
}

TEST_F(SorrelDbTool, DatabaseMissingPartsFailsTheCheckNamingThem) {
    ASSERT_EQ(sorrelDb({"create", path("venue.mdb")}).exitCode, 0);
    {
        SqliteDatabase db(path("venue.mdb"), databasePassword());
        db.exec("DROP TABLE bookin");
        db.exec("DROP VIEW ViewTotalDeptEnd");
    }
    const ProgramRun check = sorrelDb({"check", path("venue.mdb")});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_TRUE(check.err.contains("缺少表：bookin")) << check.err.toStdString();
    EXPECT_TRUE(check.err.contains("缺少视图：ViewTotalDeptEnd"));
}

// The reports read the day summaries: a summary that no longer holds what its days' lines, bills
// or payments sum fails the check naming it and the days, and `summarize` makes it again.
TEST_F(SorrelDbTool, SummaryThatDiffersFromItsRowsIsNamedAndMadeAgain) {
    struct Case {
        const char* table;
        const char* change;
        const char* named;
    } cases[] = {
        {"AllConsDay", "tabl_cons_tota = tabl_cons_tota + 1", "点单汇总（AllConsDay）与点单明细不符"},
        {"AllGuesDay", "tabl_gues_fact = tabl_gues_fact - 10", "帐单汇总（AllGuesDay）与历史帐单不符"},
        {"AllGuesPayDay", "pay_coun = pay_coun + 1", "付款汇总（AllGuesPayDay）与历史付款不符"},
    };
    ASSERT_EQ(sorrelDb({"demo", "--history", "3", path("venue.mdb")}).exitCode, 0);
    for (const Case& c : cases) {
        QString lastDay;
        {
            SqliteDatabase db(path("venue.mdb"), databasePassword());
            lastDay =
                db.scalar(QStringLiteral("SELECT max(summ_day) FROM %1").arg(c.table)).toString().left(10);
            db.exec(
                QStringLiteral("UPDATE %1 SET %2 WHERE summ_by = 'D' AND summ_day = (SELECT max(summ_day) "
                               "FROM %1)")
                    .arg(c.table, c.change));
        }
        ASSERT_EQ(lastDay.size(), 10) << c.table;
        const ProgramRun check = sorrelDb({"check", path("venue.mdb")});
        EXPECT_EQ(check.exitCode, 1) << c.table;
        EXPECT_TRUE(check.err.contains(QString::fromUtf8(c.named))) << check.err.toStdString();
        EXPECT_TRUE(check.err.contains(lastDay)) << check.err.toStdString();
        EXPECT_EQ(check.err.count(QRegularExpression("\\d{4}-\\d\\d-\\d\\d")), 1) << check.err.toStdString();

        const ProgramRun summarize = sorrelDb({"summarize", path("venue.mdb")});
        EXPECT_EQ(summarize.exitCode, 0) << summarize.err.toStdString();
        EXPECT_TRUE(summarize.out.contains("3 个营业日")) << summarize.out.toStdString();
        const ProgramRun again = sorrelDb({"check", path("venue.mdb")});
        EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    }
}

// The check reads every page and writes none: a damaged page is found though an index could have
// answered for its table, and a -wal left beside the file is neither moved into it nor changed.
TEST_F(SorrelDbTool, CheckFindsDamageAndChangesNothing) {
    ASSERT_EQ(sorrelDb({"demo", path("venue.mdb")}).exitCode, 0);
    ASSERT_EQ(sorrelDb({"demo", path("other.mdb")}).exitCode, 0);
    const QByteArray venue = contentsOf(path("venue.mdb"));
    qlonglong pageSize = 0, tablePage = 0;
    QByteArray strayWal;
    {
        SqliteDatabase db(path("venue.mdb"), databasePassword(), SqliteDatabase::Mode::ReadOnly);
        pageSize = db.scalar("PRAGMA page_size").toLongLong();
        // TableList has indexes, so its row count never reads its own pages.
        tablePage =
            db.scalar("SELECT rootpage FROM sqlite_master WHERE type = 'table' AND name = 'TableList'")
                .toLongLong();
        // Committed work of another venue, not yet moved into its file.
        SqliteDatabase other(path("other.mdb"), databasePassword());
        other.exec("UPDATE TableList SET tabl_name = tabl_name || '厅'");
        strayWal = contentsOf(walFile(path("other.mdb")));
    }
    ASSERT_GT(tablePage, 1);
    ASSERT_FALSE(strayWal.isEmpty());
    const auto flippedIn = [&](qlonglong fromPage, qlonglong toPage) {
        QByteArray flipped = venue;
        for (qlonglong page = fromPage; page <= toPage; ++page) {
            const qlonglong at = (page - 1) * pageSize + pageSize / 2;
            flipped[at] = char(flipped[at] ^ 0x5a);
        }
        return flipped;
    };
    // The list of the tables fills several pages after the first: damage in every page reaches it.
    const qlonglong pages = venue.size() / pageSize;

    const struct {
        const char* name;
        QByteArray file;
        QByteArray wal;
        const char* says;
        bool damaged; // not a wrong key nor a foreign file: the file is ours and damaged
    } cases[] = {
        {"byte changed in a page of TableList", flippedIn(tablePage, tablePage), {}, "TableList", true},
        {"another file's -wal beside it", venue, strayWal, "数据库文件损坏", true},
        {"every page after the first damaged, the table list too",
         flippedIn(2, pages),
         {},
         "数据库文件已损坏",
         true},
        {"the first page damaged: the key no longer opens it",
         flippedIn(1, 1),
         {},
         "密码错误或不是数据库文件",
         false},
    };
    for (const auto& c : cases) {
        removeDatabaseFile(path("damaged.mdb"));
        writeFile(path("damaged.mdb"), c.file);
        if (!c.wal.isEmpty()) writeFile(walFile(path("damaged.mdb")), c.wal);
        const ProgramRun check = sorrelDb({"check", path("damaged.mdb")});
        EXPECT_FALSE(check.crashed) << c.name;
        EXPECT_EQ(check.exitCode, 1) << c.name << ": " << check.out.toStdString();
        EXPECT_TRUE(check.err.contains(QString::fromUtf8(c.says)))
            << c.name << ": " << check.err.toStdString();
        EXPECT_EQ(check.err.contains("数据库已损坏"), c.damaged) << c.name << ": " << check.err.toStdString();
        EXPECT_EQ(check.err.contains("密码错误"), !c.damaged) << c.name << ": " << check.err.toStdString();
        EXPECT_EQ(contentsOf(path("damaged.mdb")), c.file) << c.name;
        EXPECT_EQ(contentsOf(walFile(path("damaged.mdb"))), c.wal) << c.name;
        // Nothing is left beside the file that was not there before.
        EXPECT_EQ(QFileInfo::exists(walFile(path("damaged.mdb"))), !c.wal.isEmpty()) << c.name;
        EXPECT_FALSE(QFileInfo::exists(path("damaged.mdb-shm"))) << c.name;
    }
}

// A desk still working on the file keeps committed work in the -wal: the check reads it, and
// leaves the -wal and its index as the desk has them.
TEST_F(SorrelDbTool, CheckReadsTheWorkOfADeskStillOpenAndLeavesItsFilesAlone) {
    ASSERT_EQ(sorrelDb({"demo", path("venue.mdb")}).exitCode, 0);
    SqliteDatabase desk(path("venue.mdb"), databasePassword());
    desk.exec("PRAGMA wal_autocheckpoint=0");
    desk.exec("INSERT INTO TableList (tabl_code, tabl_name, tabl_type_code, dept_code, tabl_stat_code) "
              "SELECT 'Z99', '新桌', tabl_type_code, dept_code, tabl_stat_code FROM TableList "
              "WHERE tabl_code = 'A01'");
    const QByteArray wal = contentsOf(walFile(path("venue.mdb")));
    const QByteArray file = contentsOf(path("venue.mdb"));
    ASSERT_FALSE(wal.isEmpty());
    const ProgramRun check = sorrelDb({"check", path("venue.mdb")});
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_TRUE(check.out.contains(QRegularExpression("TableList\\s+33\\n"))) << check.out.toStdString();
    EXPECT_EQ(contentsOf(walFile(path("venue.mdb"))), wal);
    EXPECT_EQ(contentsOf(path("venue.mdb")), file);
    EXPECT_TRUE(QFileInfo::exists(path("venue.mdb-shm")));
}

TEST_F(SorrelDbTool, CheckReadsAFileInAFolderNoOneMayWrite) {
    const QString folder = path("archive");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(sorrelDb({"demo", folder + "/venue.mdb"}).exitCode, 0);
    const test::WriteProtected protection(folder);
    if (!protection.holds()) GTEST_SKIP() << "this file system lets root write anywhere";
    const ProgramRun check = sorrelDb({"check", folder + "/venue.mdb"});
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_TRUE(check.out.contains(QRegularExpression("TableList\\s+32\\n"))) << check.out.toStdString();
}

TEST_F(SorrelDbTool, BackupsAreListedNewestFirstAndTheOnePickedIsRestored) {
    ASSERT_TRUE(QDir().mkpath(path("data")));
    const QString file = path("data/VozezOzarev.mdb");
    ASSERT_EQ(sorrelDb({"create", file}).exitCode, 0);
    const auto name = [&](const QString& to) {
        SqliteDatabase(file, databasePassword()).exec("UPDATE SetupPay SET user_name = ?", {to});
    };
    const auto named = [&] {
        return SqliteDatabase(file, databasePassword(), SqliteDatabase::Mode::ReadOnly)
            .scalar("SELECT user_name FROM SetupPay")
            .toString();
    };
    QStringList made;
    for (const char* evening : {"first", "second"}) {
        name(QString::fromLatin1(evening));
        const ProgramRun run = sorrelDb({"backup", file});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        made << QFileInfo(run.out.section(QStringLiteral("已备份到 "), 1).section(QStringLiteral("（"), 0, 0))
                    .fileName();
    }
    name("now");
    const ProgramRun list = sorrelDb({"backups", file});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QStringList lines = list.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << list.out.toStdString();
    EXPECT_TRUE(lines[0].endsWith(made[1])) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(made[0])) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("数据备份")));

    const ProgramRun restore = sorrelDb({"restore", file, path("back/" + made[0])});
    ASSERT_EQ(restore.exitCode, 0) << restore.err.toStdString();
    EXPECT_EQ(named(), "first");

    // A file that is no backup is refused before anything is written.
    name("kept");
    writeFile(path("back/notes.bak"), QByteArray(4096, 'x'));
    const ProgramRun refused = sorrelDb({"restore", file, path("back/notes.bak")});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("数据库未作任何改动"))) << refused.err.toStdString();
    EXPECT_EQ(named(), "kept");
}

TEST_F(SorrelDbTool, CommandLineMistakesShowTheUsage) {
    for (const QStringList& arguments :
         QList<QStringList>{{}, {"frob", "x"}, {"check"}, {"create", "a", "b"}}) {
        const ProgramRun run = sorrelDb(arguments);
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("sorrel-db check PATH")) << run.err.toStdString();
    }
    EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

} // namespace
