// The power fails at a venue while the front desk is opening tables: every bill number handed
// out before the cut is still taken afterwards, so none is ever handed out a second time.
#include "common/bill_number.h"
#include "common/clock.h"
#include "common/db/connection.h"
#include "common/db/sqlite_database.h"
#include "common/db/transaction.h"
#include "common/installation/setup.h"
#include "tests/support/power_cut_disk.h"
#include "tests/support/test_database.h"

using namespace sorrel;

namespace {

QList<int> numbersTaken(Database& db) {
    const RecordSet rows = db.query(
        QStringLiteral("SELECT tabl_gues_auto_recn FROM TableGuestlist ORDER BY tabl_gues_auto_recn"));
    QList<int> numbers;
    for (int r = 0; r < rows.rowCount(); ++r)
        numbers << rows.value(r, 0).toInt();
    return numbers;
}

TEST(PowerCut, EveryBillNumberHandedOutSurvivesAndIsNeverHandedOutAgain) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VozezOzarev.mdb"));
    {
        SqliteDatabase created(path, databasePassword(), SqliteDatabase::Mode::CreateIfMissing);
        setup::createDatabase(created, setup::Contents::Presets,
                              FixedClock(test::ScratchDatabase::createdAt()));
    }
    test::PowerCutDisk disk;
    QList<int> handedOut;
    // The power fails after one opening, after a few, and late on a busy evening.
    for (const int openings : {1, 6, 250}) {
        auto desk = std::make_unique<SqliteDatabase>(path, databasePassword());
        for (int i = 0; i < openings; ++i) {
            Transaction tx(*desk);
            const int number = drawBillNumber(*desk);
            desk->exec(
                QStringLiteral("INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, tabl_gues_use) "
                               "VALUES (?, 'A01', 1)"),
                {number});
            tx.commit();
            handedOut << number;
        }
        disk.cut(std::move(desk));

        SqliteDatabase restarted(path, databasePassword());
        EXPECT_EQ(numbersTaken(restarted), handedOut) << "cut after " << openings << " openings";
        Transaction next(restarted);
        EXPECT_EQ(drawBillNumber(restarted), handedOut.last() + 1) << "cut after " << openings << " openings";
    }
}

} // namespace
