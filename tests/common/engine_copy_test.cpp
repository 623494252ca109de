// Moving an installation between the file and a server: nothing lost, nothing changed, bill and
// line numbers go on where they were, and a copy that does not add up is never kept.
#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/installation/engine_copy.h"
#include "common/schema/schema.h"
#include "tests/support/test_database.h"

#include <algorithm>

using namespace sorrel;

namespace {

using test::ScratchDatabase;

// On top of the demo venue, awkward data: Chinese and quoted text, fractions of a fen, empty
// values, date-times, gaps in line numbers, identical history rows, and tables longer than
// one page of the copy.
void fillVenue(Database& db) {
    Transaction tx(db);
    db.exec(
        QStringLiteral("INSERT INTO SetupPay (auto_recn, pay_set_tax_perc, pay_star, time_work, user_name) "
                       "VALUES (1234, 7.5, 1, ?, ?)"),
        {QDateTime(QDate(2026, 12, 8), QTime(0, 0)), QStringLiteral("岚舟 'Sorrel' 茶馆")});
    db.exec(QStringLiteral(
        "INSERT INTO DepartmentList (dept_code, dept_name) VALUES ('X1', '大厅'), ('X2', NULL)"));
    for (int i = 0; i < 800; ++i)
        db.exec(QStringLiteral(
                    "INSERT INTO TableConsList (tabl_cons_ID, tabl_gues_auto_recn, item_code, item_name, "
                    "tabl_cons_coun, item_unit_pric, tabl_cons_tota, tabl_cons_time, tabl_gues_end) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {100000 + i * 3, 1000 + i / 4, QStringLiteral("%1").arg(i % 37, 6, 10, QLatin1Char('0')),
                 QStringLiteral("龙井 %1").arg(i), 1.5, 0.1 * i + 0.01, 0.15 * i + 0.015,
                 QDateTime(QDate(2026, 12, 8), QTime(11, 0)).addSecs(i * 7), i % 2 == 0});
    for (int i = 0; i < 10; ++i)
        db.exec(QStringLiteral("INSERT INTO AllOtherInCome (othe_inco_code, othe_inco_name, othe_inco_mone) "
                               "VALUES (?, ?, ?)"),
                {QStringLiteral("%1").arg(i % 3), i % 5 ? QVariant(QStringLiteral("场地费")) : QVariant(),
                 33.333 + i});
    // Doubled up to 2560 rows, most of them identical: more than one page of the copy.
    for (int i = 0; i < 8; ++i)
        db.exec(QStringLiteral("INSERT INTO AllOtherInCome (othe_inco_code, othe_inco_name, othe_inco_mone) "
                               "SELECT othe_inco_code, othe_inco_name, othe_inco_mone FROM AllOtherInCome"));
    tx.commit();
}

// Every row of a table as text with its value kinds, in one order whatever the engine sorts NULL as.
QStringList contents(Database& db, const schema::Table& table) {
    const RecordSet rows = db.query(
        QStringLiteral("SELECT %1 FROM %2").arg(table.columnNames().join(QStringLiteral(", ")), table.name));
    QStringList out;
    for (int r = 0; r < rows.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < rows.columnCount(); ++c) {
            const QVariant v = rows.value(r, c);
            row << (v.isNull()
                        ? QStringLiteral("NULL")
                        : QStringLiteral("%1:%2").arg(QString::fromLatin1(v.typeName()), v.toString()));
        }
        out << row.join(QLatin1Char('|'));
    }
    out.sort();
    return out;
}

void expectSameInstallation(Database& a, Database& b) {
    for (const schema::Table& t : schema::tables())
        EXPECT_EQ(contents(a, t), contents(b, t)) << t.name.toStdString();
}

class EngineCopyTest : public test::EngineTest {};

TEST_P(EngineCopyTest, ToEveryEngineAndBackKeepsEveryRowAndContinuesTheNumbers) {
    ScratchDatabase venue(GetParam(), ScratchDatabase::Contents::DemoVenue);
    fillVenue(venue.db());
    qlonglong rows = 0;
    for (const TableTally& t : tallyInstallation(venue.db()))
        rows += t.rows;
    for (Engine there : test::availableEngines()) {
        SCOPED_TRACE(engineName(there).toStdString());
        ScratchDatabase moved(there, ScratchDatabase::Contents::Empty);
        qlonglong lastDone = -1, lastTotal = -1;
        const QList<TableTally> tallies =
            copyInstallation(venue.db(), moved.db(), [&](qlonglong done, qlonglong total, const QString&) {
                EXPECT_GE(done, lastDone);
                lastDone = done;
                lastTotal = total;
            });
        EXPECT_EQ(lastTotal, rows);
        EXPECT_EQ(lastDone, rows);
        EXPECT_EQ(tallies.size(), schema::tables().size());
        expectSameInstallation(venue.db(), moved.db());

        ScratchDatabase back(GetParam(), ScratchDatabase::Contents::Empty);
        copyInstallation(moved.db(), back.db());
        expectSameInstallation(venue.db(), back.db());

        // New rows on the moved installation are numbered after the highest copied one (or
        // from 1 in a table that was empty), never reusing a number.
        for (const schema::Table& t : schema::tables()) {
            const auto key = std::find_if(t.columns.begin(), t.columns.end(), [](const schema::Column& c) {
                return c.type == schema::ColumnType::AutoNumber;
            });
            if (key == t.columns.end()) continue;
            const QString highest =
                QStringLiteral("SELECT COALESCE(max(%1), 0) FROM %2").arg(key->name, t.name);
            const qlonglong before = venue.db().scalar(highest).toLongLong();
            moved.db().exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(t.name));
            EXPECT_EQ(moved.db().scalar(highest).toLongLong(), before + 1) << t.name.toStdString();
        }
    }
}

TEST_P(EngineCopyTest, TargetThatAlreadyHoldsTablesIsLeftAlone) {
    fillVenue(db());
    ScratchDatabase target(GetParam(), ScratchDatabase::Contents::Schema);
    target.db().exec(
        QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES ('09', '旧店')"));
    EXPECT_THROW(copyInstallation(db(), target.db()), DbError);
    EXPECT_EQ(target.db().scalar(QStringLiteral("SELECT count(*) FROM DepartmentList")).toInt(), 1);
    EXPECT_EQ(target.db().scalar(QStringLiteral("SELECT count(*) FROM TableConsList")).toInt(), 0);
}

TEST_P(EngineCopyTest, CopyThatDoesNotAddUpLeavesNoTable) {
    fillVenue(db());
    ScratchDatabase target(GetParam(), ScratchDatabase::Contents::Empty);
    // A target that quietly changes amounts as they arrive.
    const auto skim = [&](qlonglong, qlonglong, const QString& table) {
        if (table == QStringLiteral("AllOtherInCome"))
            target.db().exec(
                QStringLiteral("UPDATE AllOtherInCome SET othe_inco_mone = othe_inco_mone - 0.01"));
    };
    try {
        copyInstallation(db(), target.db(), skim);
        FAIL() << "a copy with wrong sums was reported as done";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("AllOtherInCome"))) << e.what();
    }
    for (const schema::Table& t : schema::tables())
        EXPECT_TRUE(target.db().columnsOf(t.name).isEmpty()) << t.name.toStdString() << " was left behind";
}

SORREL_ON_EVERY_ENGINE(EngineCopyTest);

} // namespace
