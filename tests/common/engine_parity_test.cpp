// What the programs rely on from either engine: the same value types back from every column
// type, values of any kind compared with any column, and a placeholder-like "?" kept as text.
#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/db_datetime.h"
#include "tests/support/test_database.h"

#include <QThread>
#include <atomic>
#include <thread>

using namespace sorrel;

namespace {

class EngineParityTest : public test::EngineTest {};

TEST_P(EngineParityTest, EveryColumnTypeComesBackAsTheSameKindOfValue) {
    db().exec(QStringLiteral("DELETE FROM SetupPay"));
    db().exec(QStringLiteral("DELETE FROM AllOtherInCome"));
    db().exec(
        QStringLiteral("INSERT INTO SetupPay (pay_set_stor_limi, pay_set_tax_perc, pay_star, time_work, "
                       "user_name, auto_recn, oper_code) VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {5, 12.5, true, QDateTime(QDate(2004, 5, 1), QTime(23, 59, 58, 700)), QStringLiteral("岚舟"),
         qlonglong(3000000000LL / 2), QVariant()});
    db().exec(QStringLiteral("INSERT INTO AllOtherInCome (othe_inco_code, othe_inco_mone) VALUES ('1', ?)"),
              {0.1 + 0.2});
    const RecordSet row = db().query(QStringLiteral("SELECT * FROM SetupPay"));
    struct Expect {
        const char* column;
        int type;
        QVariant value;
    };
    const QList<Expect> expected = {
        {"pay_set_stor_limi", QMetaType::LongLong, qlonglong(5)},
        {"pay_set_tax_perc", QMetaType::Double, 12.5},
        {"pay_star", QMetaType::LongLong, qlonglong(1)},
        {"work_auto", QMetaType::LongLong, qlonglong(0)},
        {"time_work", QMetaType::QString, QStringLiteral("2004-05-01 23:59:58")},
        {"user_name", QMetaType::QString, QStringLiteral("岚舟")},
        {"auto_recn", QMetaType::LongLong, qlonglong(1500000000)},
    };
    for (const Expect& e : expected) {
        const QVariant v = row.value(0, QString::fromLatin1(e.column));
        EXPECT_EQ(v.userType(), e.type) << e.column;
        EXPECT_EQ(v, e.value) << e.column;
    }
    EXPECT_TRUE(row.value(0, QStringLiteral("oper_code")).isNull());
    EXPECT_TRUE(row.value(0, QStringLiteral("time_end")).isNull());
    // Money keeps every bit of a double: no rounding on the way in or out.
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT othe_inco_mone FROM AllOtherInCome")).toDouble(), 0.1 + 0.2);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM SetupPay")).userType(), QMetaType::LongLong);
}

TEST_P(EngineParityTest, DateTimeThatNamesNoMomentIsStoredAsEmpty) {
    db().exec(QStringLiteral("UPDATE SetupPay SET time_work = ?, time_star = ?, time_end = ?"),
              {QDateTime(), QDate(), QTime(25, 0)});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM SetupPay WHERE time_work IS NULL AND "
                                         "time_star IS NULL AND time_end IS NULL"))
                  .toInt(),
              1);
}

TEST_P(EngineParityTest, DateTimeTextCopiedInFromASelectListLandsInEitherKindOfColumn) {
    const QString at = toDbDateTime(QDateTime(QDate(2004, 5, 1), QTime(8, 0)));
    db().exec(QStringLiteral("INSERT INTO AllOtherInCome (othe_inco_code, othe_inco_name, othe_inco_time) "
                             "SELECT '9', ?, ? FROM SetupPay"),
              {at, at});
    const RecordSet row =
        db().query(QStringLiteral("SELECT othe_inco_name, othe_inco_time FROM AllOtherInCome "
                                  "WHERE othe_inco_code = '9'"));
    ASSERT_EQ(row.rowCount(), 1);
    EXPECT_EQ(row.text(0, QStringLiteral("othe_inco_name")), at);
    EXPECT_EQ(row.text(0, QStringLiteral("othe_inco_time")), at);
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT count(*) FROM AllOtherInCome WHERE othe_inco_name = ?"), {at})
            .toInt(),
        1);
}

TEST_P(EngineParityTest, NumbersTooBigForTheirColumnAreRefusedOnBothEngines) {
    const struct {
        const char* set;
        qlonglong value;
        bool fits;
    } cases[] = {
        {"tabl_gues_coun = ?", 32767, true},
        {"tabl_gues_coun = ?", 40000, false},
        {"tabl_gues_coun = ?", -32769, false},
        {"tabl_gues_auto_recn = ?", 2147483647LL, true},
        {"tabl_gues_auto_recn = ?", 2147483648LL, false},
    };
    db().exec(
        QStringLiteral("INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code) VALUES (1, 'A01')"));
    for (const auto& c : cases) {
        const QString sql = QStringLiteral("UPDATE TableGuestlist SET %1").arg(QLatin1String(c.set));
        if (c.fits)
            EXPECT_NO_THROW(db().exec(sql, {c.value})) << c.set << c.value;
        else
            EXPECT_THROW(db().exec(sql, {c.value}), DbError) << c.set << c.value;
    }
}

TEST_P(EngineParityTest, PatternSearchTellsCapitalsApartOnBothEngines) {
    db().exec(QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES ('X1', 'KTV包厢'), "
                             "('X2', 'ktv大厅')"));
    const struct {
        const char* pattern;
        int found;
    } cases[] = {{"KTV%", 1}, {"ktv%", 1}, {"%包厢", 1}, {"%TV%", 1}, {"_tv%", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM DepartmentList WHERE dept_name LIKE ?"),
                              {QString::fromUtf8(c.pattern)})
                      .toInt(),
                  c.found)
            << c.pattern;
}

TEST_P(EngineParityTest, QuantitiesAndRatesKeepWhatWasWrittenOnBothEngines) {
    // The programs round amounts themselves before writing; the column must not round again.
    for (const double value : {1.005, 2.675, 0.125, 123456789.25}) {
        db().exec(QStringLiteral("UPDATE SetupPay SET pay_set_tax_perc = ?"), {value});
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT pay_set_tax_perc FROM SetupPay")).toDouble(), value);
    }
}

TEST_P(EngineParityTest, ValuesOfEveryKindFindTheirRows) {
    db().exec(QStringLiteral("DELETE FROM SetupPay"));
    db().exec(
        QStringLiteral("INSERT INTO SetupPay (auto_recn, pay_set_tax_perc, pay_star, time_work, user_tele, "
                       "pay_set_code) VALUES (7, 2.5, 1, ?, '0571', '7')"),
        {QDateTime(QDate(2004, 5, 1), QTime(8, 30))});
    struct Case {
        const char* name;
        const char* where;
        QVariant value;
    };
    const QList<Case> cases = {
        {"whole number against integer", "auto_recn = ?", 7},
        {"text against integer", "auto_recn = ?", QStringLiteral("7")},
        {"fraction against integer", "auto_recn < ?", 7.5},
        {"whole number against decimal", "pay_set_tax_perc > ?", 2},
        {"fraction against decimal", "pay_set_tax_perc = ?", 2.5},
        {"flag against yes/no", "pay_star = ?", true},
        {"date-time against datetime", "time_work = ?", QDateTime(QDate(2004, 5, 1), QTime(8, 30))},
        {"date against datetime", "time_work > ?", QDate(2004, 5, 1)},
        {"canonical text against datetime", "time_work = ?", QStringLiteral("2004-05-01 08:30:00")},
        {"text against text", "user_tele = ?", QStringLiteral("0571")},
        {"whole number against text", "pay_set_code = ?", 7},
        {"flag against text", "pay_set_code <> ?", true},
        {"whole number against count", "(SELECT count(*) FROM SetupPay) >= ?", 1},
        {"number in arithmetic", "auto_recn * ? = 17.5", 2.5},
        {"quoted question mark is text", "user_tele <> 'why?' AND auto_recn = ?", 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            db().scalar(QStringLiteral("SELECT count(*) FROM SetupPay WHERE %1").arg(QLatin1String(c.where)),
                        {c.value})
                .toInt(),
            1)
            << c.name;
}

TEST_P(EngineParityTest, SameStatementSeesColumnsAddedSinceItLastRan) {
    db().exec(QStringLiteral("CREATE TABLE scratch_notes (a INTEGER)"));
    db().exec(QStringLiteral("INSERT INTO scratch_notes (a) VALUES (1)"));
    EXPECT_EQ(db().query(QStringLiteral("SELECT * FROM scratch_notes")).columnCount(), 1);
    db().exec(QStringLiteral("ALTER TABLE scratch_notes ADD COLUMN b INTEGER"));
    EXPECT_EQ(db().query(QStringLiteral("SELECT * FROM scratch_notes")).columnCount(), 2);
    EXPECT_EQ(db().columnsOf(QStringLiteral("Scratch_Notes")), QStringList({"a", "b"}));
    EXPECT_TRUE(db().columnsOf(QStringLiteral("no_such_table")).isEmpty());
}

TEST_P(EngineParityTest, CommittedWorkIsSeenByAnotherWorkstationAndRolledBackWorkIsNot) {
    auto other = scratch().connectAgain();
    {
        Transaction tx(db());
        db().exec(QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES ('01', '大厅')"));
    }
    EXPECT_EQ(other->scalar(QStringLiteral("SELECT count(*) FROM DepartmentList")).toInt(), 0);
    runCoded(db(), QStringLiteral("A100001"), [&] {
        db().exec(QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES ('02', '包厢')"));
    });
    EXPECT_EQ(other->scalar(QStringLiteral("SELECT dept_name FROM DepartmentList")).toString(),
              QStringLiteral("包厢"));
}

TEST_P(EngineParityTest, AnotherWorkstationsStepWaitsUntilTheFirstHasFinished) {
    const auto other = scratch().connectAgain();
    const QString counter = QStringLiteral("SELECT auto_recn FROM SetupPay");
    db().begin();
    const int before = db().scalar(counter).toInt();
    std::atomic<bool> finished{false};
    QString failure;
    std::thread second([&] {
        try {
            // Reads the counter and writes it back raised, as an opening does.
            runCoded(*other, QStringLiteral("B100002"), [&] {
                const int seen = other->scalar(counter).toInt();
                other->exec(QStringLiteral("UPDATE SetupPay SET auto_recn = ?"), {seen + 1});
            });
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
        finished = true;
    });
    QThread::msleep(500);
    EXPECT_FALSE(finished) << "the second step did not wait";
    db().exec(QStringLiteral("UPDATE SetupPay SET auto_recn = ?"), {before + 1});
    db().commit();
    second.join();
    EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
    EXPECT_EQ(db().scalar(counter).toInt(), before + 2) << "one of the two raises was lost";
}

SORREL_ON_EVERY_ENGINE(EngineParityTest);

} // namespace
