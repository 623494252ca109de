// The server folds the database file's log back on a thread of its own, never inside a phone's
// commit: nothing committed meanwhile is lost, the file holds every commit once the server stops,
// and the log does not grow without end while the phones write.
#include "common/db/connection.h"
#include "common/db/sqlite_database.h"
#include "common/db/transaction.h"
#include "tests/support/test_database.h"
#include "waiter/checkpoints.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <mutex>
#include <thread>

namespace sorrel::test {
namespace {

class WaiterCheckpointsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch = std::make_unique<ScratchDatabase>(Engine::Embedded, ScratchDatabase::Contents::Empty);
        scratch->db().exec(
            QStringLiteral("CREATE TABLE orders_taken (phone INTEGER, n INTEGER, lines TEXT)"));
    }
    // `phones` connections of the server's, each committing `each` orders through the server's
    // write gate, one after another, as fast as a phone can tap.
    void commitFromPhones(int phones, int each) {
        std::vector<std::thread> threads;
        for (int p = 0; p < phones; ++p)
            threads.emplace_back([this, p, each] {
                std::unique_ptr<Database> db = scratch->connectAgain();
                waiter::Checkpoints::leaveToServer(*db);
                for (int n = 0; n < each; ++n) {
                    {
                        const std::lock_guard gate(writes);
                        Transaction tx(*db);
                        db->exec(
                            QStringLiteral("INSERT INTO orders_taken (phone, n, lines) VALUES (?, ?, ?)"),
                            {p, n, QString(3000, u'x')});
                        tx.commit();
                    }
                    // The phone is answered and taps again.
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                }
            });
        for (std::thread& t : threads)
            t.join();
    }
    qint64 logSize() const { return QFileInfo(scratch->filePath() + QStringLiteral("-wal")).size(); }
    // The database file alone, without its log, as a copy taken of it would read.
    int ordersInTheFileAlone() {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
        EXPECT_TRUE(QFile::copy(scratch->filePath(), copy));
        SqliteDatabase alone(copy, databasePassword(), SqliteDatabase::Mode::ReadOnly);
        return alone.scalar(QStringLiteral("SELECT count(*) FROM orders_taken")).toInt();
    }
    int orders() { return scratch->db().scalar(QStringLiteral("SELECT count(*) FROM orders_taken")).toInt(); }

    std::unique_ptr<ScratchDatabase> scratch;
    std::mutex writes;
};

TEST_F(WaiterCheckpointsTest, EveryCommitIsKeptAndInTheFileOnceTheServerStops) {
    {
        waiter::Checkpoints checkpoints(scratch->connectAgain(), writes, std::chrono::milliseconds(5));
        commitFromPhones(4, 100);
        EXPECT_EQ(orders(), 400); // read while the thread folds: nothing missing
    }
    EXPECT_EQ(orders(), 400);
    EXPECT_EQ(ordersInTheFileAlone(), 400);
    EXPECT_EQ(scratch->db()
                  .scalar(QStringLiteral("SELECT count(DISTINCT phone * 1000 + n) FROM orders_taken"))
                  .toInt(),
              400);
}

TEST_F(WaiterCheckpointsTest, TheLogStaysSmallWhileThePhonesWrite) {
    // Each order (its lines about 3 KB) adds a few pages to the log: 600 of them, never folded
    // back, would leave it above 2 MB; the phones write without a pause, so a fold beside them
    // never takes the whole log, and a log of 200 pages is folded between two changes.
    waiter::Checkpoints checkpoints(scratch->connectAgain(), writes, std::chrono::milliseconds(5), 200);
    commitFromPhones(2, 300);
    EXPECT_LT(logSize(), 1024 * 1024);
    EXPECT_EQ(orders(), 600);
}

} // namespace
} // namespace sorrel::test
