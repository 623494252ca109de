// The data layer as every later feature relies on it: values survive the trip unchanged,
// a failed business step leaves nothing behind, dates keep one form, the file keeps its key.
#include "common/db/connection.h"
#include "common/db/errors.h"
#include "common/db/sqlite_database.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "tests/support/test_database.h"

#include <QDir>
#include <QFile>
#include <QLocale>

using namespace sorrel;

namespace {

class DatabaseTest : public test::EngineTest {};

TEST_P(DatabaseTest, TextWithQuotesAndMarkersRoundTripsUnchanged) {
    const QStringList names = {QStringLiteral("O'Brien's \"corner\""), QStringLiteral("^-^"),
                               QStringLiteral("'; DROP TABLE TableList; --"),
                               QStringLiteral("牡丹厅 ‘贵宾’")};
    int n = 0;
    for (const QString& name : names) {
        const QString code = QString::number(++n);
        db().exec(QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES (?, ?)"),
                  {code, name.left(12)});
        EXPECT_EQ(
            db().scalar(QStringLiteral("SELECT dept_name FROM DepartmentList WHERE dept_code = ?"), {code})
                .toString(),
            name.left(12));
    }
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM DepartmentList WHERE dept_name = ?"), {"^-^"})
                  .toInt(),
              1);
    EXPECT_FALSE(db().columnsOf(QStringLiteral("TableList")).isEmpty());
}

TEST_P(DatabaseTest, FailureInThirdStatementLeavesNoneOfTheFirstTwo) {
    const auto step = [&] {
        db().exec(QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES ('01', 'Hall')"));
        db().exec(QStringLiteral("UPDATE SetupPay SET auto_recn = auto_recn + 1"));
        db().exec(QStringLiteral("INSERT INTO NoSuchTable (x) VALUES (1)"));
    };
    db().exec(QStringLiteral("UPDATE SetupPay SET auto_recn = 7"));
    try {
        runCoded(db(), QStringLiteral("B100002"), step);
        FAIL() << "the failing step reported success";
    } catch (const CodedFailure& failure) {
        EXPECT_EQ(failure.code(), QStringLiteral("B100002"));
    }
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM DepartmentList")).toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT auto_recn FROM SetupPay")).toInt(), 7);

    // The connection is still usable for the next step.
    runCoded(db(), QStringLiteral("B100002"), [&] {
        db().exec(
            QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES ('02', 'Garden')"));
    });
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM DepartmentList")).toInt(), 1);
}

TEST_P(DatabaseTest, SumWeightedByNegatedYesNoCountsOnlyTheNoRows) {
    // Lines of special-consumption classes (yes) weigh 0, the others (no) weigh 1.
    struct Line {
        QString clas;
        bool special;
        double qty, price;
    };
    const QList<Line> lines = {{"A01", false, 2, 10}, {"A02", true, 1, 100}, {"A01", false, 1, 5.5}};
    for (const Line& l : lines) {
        db().exec(
            QStringLiteral("INSERT INTO classlist (clas_code, clas_allo_spec) SELECT ?, ? WHERE NOT EXISTS "
                           "(SELECT 1 FROM classlist WHERE clas_code = ?)"),
            {l.clas, l.special, l.clas});
        db().exec(QStringLiteral("INSERT INTO TableConsList (clas_code, tabl_cons_coun, item_unit_pric, "
                                 "item_type_flag) VALUES (?, ?, ?, 1)"),
                  {l.clas, l.qty, l.price});
    }
    const double dish =
        db().scalar(QStringLiteral("SELECT sum(a.tabl_cons_coun * a.item_unit_pric * a.item_type_flag * "
                                   "CASE WHEN b.clas_allo_spec = 0 THEN 1 ELSE 0 END) "
                                   "FROM TableConsList a, classlist b WHERE a.clas_code = b.clas_code"))
            .toDouble();
    EXPECT_DOUBLE_EQ(dish, 25.5);
}

TEST_P(DatabaseTest, DatesKeepOneFormWhateverTheLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(toDbDate(QDate(2004, 5, 1)), QStringLiteral("2004-05-01 00:00:00"));
    db().exec(QStringLiteral("INSERT INTO AllOtherInCome (othe_inco_code, othe_inco_mone, othe_inco_time) "
                             "VALUES ('1', 5, ?)"),
              {QDate(2004, 5, 1)});
    QLocale::setDefault(before);
    EXPECT_EQ(fromDbDateTime(db().scalar(QStringLiteral("SELECT othe_inco_time FROM AllOtherInCome"))),
              QDateTime(QDate(2004, 5, 1), QTime(0, 0)));
    EXPECT_EQ(db().scalar(QStringLiteral(
                              "SELECT count(*) FROM AllOtherInCome WHERE othe_inco_time BETWEEN ? AND ?"),
                          {QDate(2004, 5, 1), QDate(2004, 5, 1)})
                  .toInt(),
              1);
}

TEST_P(DatabaseTest, TextLongerThanItsColumnIsRefused) {
    EXPECT_THROW(db().exec(QStringLiteral("INSERT INTO DepartmentList (dept_code) VALUES ('ABC')")), DbError);
    EXPECT_NO_THROW(
        db().exec(QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES (?, ?)"),
                  {QStringLiteral("一二"), QStringLiteral("一二三四五六七八九十一二")}));
}

TEST_P(DatabaseTest, TextHoldingANulCharacterIsRefusedRatherThanCutShort) {
    const QString nul(QChar(0));
    const QStringList texts = {QStringLiteral("牡丹") + nul + QStringLiteral("厅"),
                               QStringLiteral("大厅") + nul, nul};
    for (const QString& text : texts) {
        try {
            db().exec(QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES ('01', ?)"),
                      {text});
            ADD_FAILURE() << "stored a text holding NUL at " << text.indexOf(nul);
            db().exec(QStringLiteral("DELETE FROM DepartmentList"));
        } catch (const DbError& e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("空字符"))) << e.what();
        }
    }
    EXPECT_THROW(
        db().scalar(QStringLiteral("SELECT count(*) FROM DepartmentList WHERE dept_name = ?"), {texts[0]}),
        DbError);
}

TEST_P(DatabaseTest, WrongNumberOfValuesIsAnError) {
    EXPECT_THROW(db().exec(QStringLiteral("UPDATE SetupPay SET auto_recn = ?"), {}), DbError);
}

TEST_P(DatabaseTest, EveryConnectionCommitsOnlyOnceTheWorkIsOnTheDisk) {
    // The test server itself runs without waiting for its disk; no connection may inherit that.
    const bool file = GetParam() == Engine::Embedded;
    const QString setting =
        file ? QStringLiteral("PRAGMA synchronous") : QStringLiteral("SHOW synchronous_commit");
    const QString durable = file ? QStringLiteral("2") : QStringLiteral("on"); // 2 is FULL
    const auto other = scratch().connectAgain();
    EXPECT_EQ(db().scalar(setting).toString(), durable);
    EXPECT_EQ(other->scalar(setting).toString(), durable);
}

// Writes sent later travel with the next statement that waits. However the step ends after them
// (a read, the commit, a refusal), a failure among them undoes the whole step, is reported as
// itself, and leaves the connection and its kept statements fit for the next step.
TEST_P(DatabaseTest, WritesSentLaterFailOrCommitWithTheirStep) {
    const QString insert = QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES (?, ?)");
    const QString count = QStringLiteral("SELECT count(*) FROM DepartmentList");
    enum class End { Read, Commit, Refusal };
    const struct {
        End end;
        bool duplicate; // the second write breaks the department's key
    } cases[] = {{End::Read, false}, {End::Read, true}, {End::Commit, true}, {End::Refusal, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.end) * 2 + int(c.duplicate));
        db().exec(QStringLiteral("DELETE FROM DepartmentList"));
        const qint64 tripsBefore = db().roundTrips();
        const auto step = [&] {
            db().execLater(insert, {QStringLiteral("01"), QStringLiteral("大厅")});
            db().execLater(insert, {c.duplicate ? QStringLiteral("01") : QStringLiteral("02"), QStringLiteral("包厢")});
            db().execLater(QStringLiteral("UPDATE DepartmentList SET dept_name = ? WHERE dept_code = ?"),
                           {QStringLiteral("雅座"), QStringLiteral("02")});
            if (c.end == End::Read) {
                EXPECT_EQ(db().scalar(count).toInt(), 2);
            }
            if (c.end == End::Refusal) throw StepRefused(QStringLiteral("另一台电脑已改过"));
        };
        bool failed = false;
        try {
            runCoded(db(), QStringLiteral("B100002"), step);
        } catch (const CodedFailure& failure) {
            failed = true;
            EXPECT_TRUE(failure.detail().contains(insert)) << qPrintable(failure.detail());
        } catch (const StepRefused&) {
            failed = true;
        }
        const qint64 trips = db().roundTrips() - tripsBefore;
        EXPECT_EQ(failed, c.duplicate || c.end == End::Refusal);
        // On the server the first write goes with BEGIN and waits for its answer (a connection
        // found gone is made again then), the other two go with the read, then COMMIT: three trips.
        if (GetParam() == Engine::Server && !failed) {
            EXPECT_EQ(trips, 3);
        }
        EXPECT_FALSE(db().inTransaction());
        const int stored = db().scalar(count).toInt();
        EXPECT_EQ(stored, failed ? 0 : 2);
        if (!failed) {
            EXPECT_EQ(db().scalar(QStringLiteral("SELECT dept_name FROM DepartmentList WHERE dept_code = '02'"))
                          .toString(),
                      QStringLiteral("雅座"));
        }
    }
    // The statements prepared inside the failed steps work again.
    runCoded(db(), QStringLiteral("B100002"), [&] {
        db().execLater(insert, {QStringLiteral("09"), QStringLiteral("花园")});
        db().exec(QStringLiteral("UPDATE DepartmentList SET dept_name = ? WHERE dept_code = ?"),
                  {QStringLiteral("露台"), QStringLiteral("09")});
    });
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT dept_name FROM DepartmentList WHERE dept_code = '09'")).toString(),
              QStringLiteral("露台"));
}

// On the server a transaction's BEGIN and its writing lock go with its first statement: a step
// that reads and then writes waits twice, and one that ends before asking anything not at all.
TEST_P(DatabaseTest, ATransactionOpensWithItsFirstStatement) {
    const QString read = QStringLiteral("SELECT auto_recn FROM SetupPay");
    db().scalar(read); // prepared before counting
    db().exec(QStringLiteral("UPDATE SetupPay SET auto_recn = auto_recn"));
    const auto tripsOf = [&](const std::function<void()>& step) {
        const qint64 before = db().roundTrips();
        step();
        EXPECT_FALSE(db().inTransaction());
        return db().roundTrips() - before;
    };
    const bool server = GetParam() == Engine::Server;
    EXPECT_EQ(tripsOf([&] {
                  Transaction tx(db());
                  const int number = db().scalar(read).toInt();
                  db().execLater(QStringLiteral("UPDATE SetupPay SET auto_recn = ?"), {number + 1});
                  tx.commit();
              }),
              server ? 2 : 4);
    EXPECT_EQ(tripsOf([&] { Transaction(db()).commit(); }), server ? 0 : 2);
    EXPECT_EQ(tripsOf([&] { Transaction tx(db()); }), server ? 0 : 2);
    EXPECT_EQ(db().scalar(read).toInt(), 2);
}

// A statement is prepared once per connection: a session setting keeps it, and only a change of
// the tables themselves has the server prepare it again (one more wait).
TEST_P(DatabaseTest, KeptStatementsOutliveASettingButNotAChangeOfTables) {
    const bool server = GetParam() == Engine::Server;
    const QString read = QStringLiteral("SELECT count(*) FROM DepartmentList WHERE dept_code <> ?");
    const auto tripsOfRead = [&] {
        const qint64 before = db().roundTrips();
        db().scalar(read, {QStringLiteral("00")});
        return db().roundTrips() - before;
    };
    EXPECT_EQ(tripsOfRead(), server ? 2 : 1);
    db().exec(server ? QStringLiteral("SET lock_timeout = 15000") : QStringLiteral("PRAGMA cache_size = 2000"));
    EXPECT_EQ(tripsOfRead(), 1);
    db().exec(QStringLiteral("CREATE TABLE scratch_shape (a INTEGER)"));
    EXPECT_EQ(tripsOfRead(), server ? 2 : 1);
}

SORREL_ON_EVERY_ENGINE(DatabaseTest);

TEST(EmbeddedFile, UnreadableWithoutThePasswordAndReadableWithIt) {
    test::ScratchDatabase scratch(Engine::Embedded, test::ScratchDatabase::Contents::Schema);
    scratch.db().exec(
        QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES ('01', '大厅')"));
    const QString path = scratch.filePath();

    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_FALSE(raw.read(16).startsWith("SQLite format 3"));
    raw.close();

    EXPECT_THROW(SqliteDatabase(path, QString()), DbError);
    EXPECT_THROW(SqliteDatabase(path, QStringLiteral("wrong")), DbError);
    SqliteDatabase again(path, databasePassword());
    EXPECT_EQ(again.scalar(QStringLiteral("SELECT dept_name FROM DepartmentList")).toString(),
              QStringLiteral("大厅"));
}

TEST(EmbeddedFile, MissingFileOrForeignFileIsAClearError) {
    QTemporaryDir dir;
    EXPECT_THROW(SqliteDatabase(dir.filePath("none.mdb"), databasePassword()), DbError);
    QFile text(dir.filePath("notes.mdb"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4096, 'x'));
    text.close();
    EXPECT_THROW(SqliteDatabase(text.fileName(), databasePassword()), DbError);
}

TEST(EmbeddedFile, ProgramFolderWithChineseCharactersAndBlanks) {
    QTemporaryDir dir;
    const QString programDir = dir.filePath(QStringLiteral("岚舟 餐饮/前台 程序"));
    ASSERT_TRUE(QDir().mkpath(programDir + QStringLiteral("/data")));
    const QString file = defaultDatabaseFile(programDir);
    EXPECT_TRUE(file.endsWith(QStringLiteral("前台 程序/data/VozezOzarev.mdb")));
    {
        SqliteDatabase created(file, databasePassword(), SqliteDatabase::Mode::CreateIfMissing);
        created.exec(QStringLiteral("CREATE TABLE t (x TEXT)"));
        created.exec(QStringLiteral("INSERT INTO t VALUES (?)"), {QStringLiteral("牡丹厅")});
    }
    SqliteDatabase reopened(file, databasePassword());
    EXPECT_EQ(reopened.scalar(QStringLiteral("SELECT x FROM t")).toString(), QStringLiteral("牡丹厅"));
}

} // namespace
