// A phone's request is one transaction: when the disk (or the server's connection) fails in the
// middle of an item staged or of the order's commit, nothing of that request is written, the
// phone hears of the failure, and the waiter tries again from the lines as they were.
#include "common/db/errors.h"
#include "frontdesk/ordering/order_staging.h"
#include "tests/waiter/waiter_fixture.h"

#include <mutex>

namespace sorrel::test {
namespace {

// What the server's connections fail on just now: statements whose text holds the piece.
struct Breakage {
    std::mutex mutex;
    QString piece;
    void set(const QString& p) {
        const std::lock_guard lock(mutex);
        piece = p;
    }
    bool hits(const QString& sql) {
        const std::lock_guard lock(mutex);
        return !piece.isEmpty() && sql.contains(piece, Qt::CaseInsensitive);
    }
};

// One of the server's connections, failing like a broken disk while the breakage says so.
class BreakableConnection final : public Database {
  public:
    BreakableConnection(std::unique_ptr<Database> real, Breakage& breakage)
        : real_(std::move(real)), breakage_(breakage) {}

    Engine engine() const override { return real_->engine(); }
    QString location() const override { return real_->location(); }
    int exec(const QString& sql, const QVariantList& params = {}) override {
        check(sql);
        return real_->exec(sql, params);
    }
    RecordSet query(const QString& sql, const QVariantList& params = {}) override {
        check(sql);
        return real_->query(sql, params);
    }
    void begin() override { real_->begin(); }
    void commit() override { real_->commit(); }
    void rollback() override { real_->rollback(); }
    bool inTransaction() const override { return real_->inTransaction(); }
    QStringList columnsOf(const QString& table) override { return real_->columnsOf(table); }
    QString lockRowsClause() const override { return real_->lockRowsClause(); }

  private:
    void check(const QString& sql) {
        if (breakage_.hits(sql)) throw DbError(QStringLiteral("disk I/O error"));
    }
    std::unique_ptr<Database> real_;
    Breakage& breakage_;
};

class WaiterBrokenRequestTest : public WaiterTest {
  protected:
    void SetUp() override {
        WaiterTest::SetUp();
        server.reset();
        const QString target = scratch().target();
        pool = std::make_unique<waiter::ConnectionPool>(
            [target, this] {
                return std::make_unique<BreakableConnection>(openTarget(target, TargetUse::OpenExisting),
                                                             breakage);
            },
            kWorkers);
        serveWith(waiter::pdfSender(tickets.path()));
    }
    int staged(int bill) {
        return count("SELECT count(*) FROM TableConsListTemp WHERE tabl_gues_auto_recn = ?", {bill});
    }
    double stagedQuantity(int bill) {
        return db()
            .scalar("SELECT COALESCE(sum(tabl_cons_coun), 0) FROM TableConsListTemp WHERE "
                    "tabl_gues_auto_recn = ?",
                    {bill})
            .toDouble();
    }
    int onBill(int bill) {
        return count("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = ?", {bill});
    }
    int commitLogs(const QString& table) {
        return count("SELECT count(*) FROM systemlog WHERE log_oper LIKE ?",
                     {waiter::kWaiterLogMark + QStringLiteral("[落单]") + table + u'%'});
    }

    Breakage breakage;
};

// The commit fails at its last writes, after the bill's own transaction: before, the lines were
// on the bill (and the stock taken) while the phone was told it failed, and no ticket printed.
TEST_P(WaiterBrokenRequestTest, ACommitThatFailsAfterTheBillWritesNothing) {
    const struct {
        const char* table;
        const char* failOn;
    } cases[] = {
        {"A02", "INSERT INTO systemlog"},               // the log line
        {"A03", "UPDATE TableList SET tabl_gues_name"}, // the board's copies
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failOn);
        const QString table = QString::fromLatin1(c.table);
        Phone p = cashier();
        openAndStart(p, table);
        ASSERT_EQ(p.post("/api/order/add", {{"item", "102001"}}).status, 200);
        ASSERT_EQ(p.post("/api/order/add", {{"item", "103001"}, {"quantity", 2}}).status, 200);
        const int bill = billOf(table);
        const double fish = stockOf("103001");
        const double shown = this->table(table).guestAmount;
        const qsizetype printed = ticketFiles().size();

        breakage.set(QString::fromLatin1(c.failOn));
        const Answer failed = p.post("/api/order/commit");
        breakage.set({});
        EXPECT_EQ(failed.status, 500);
        EXPECT_EQ(onBill(bill), 0);
        EXPECT_EQ(stockOf("103001"), fish);
        EXPECT_EQ(this->table(table).guestAmount, shown);
        EXPECT_EQ(commitLogs(table), 0);
        EXPECT_EQ(staged(bill), 2);
        EXPECT_EQ(ticketFiles().size(), printed);

        // The phone still holds the order: tried again, it goes through once.
        const Answer again = p.post("/api/order/commit");
        ASSERT_EQ(again.status, 200) << again.error().toStdString();
        EXPECT_TRUE(ticketsOf(p, again)["done"].toBool());
        EXPECT_EQ(onBill(bill), 2);
        EXPECT_EQ(stockOf("103001"), fish - 2);
        EXPECT_EQ(commitLogs(table), 1);
        EXPECT_EQ(staged(bill), 0);
    }
}

// An item staged is chosen (a new line, or one more on its line) and then checked with the typed
// quantity and note: a failure at the check used to leave the chosen line behind, unasked for.
TEST_P(WaiterBrokenRequestTest, AnItemThatFailsWhileCheckedStagesNothing) {
    Phone p = cashier();
    openAndStart(p, "A04");
    const int bill = billOf("A04");
    ASSERT_EQ(p.post("/api/order/add", {{"item", "102001"}}).status, 200);
    const struct {
        QJsonObject add;
        int lines;       // staged lines afterwards
        double quantity; // their quantities together
    } cases[] = {
        {{{"item", "202001"}, {"quantity", 3}}, 1, 1}, // a new line
        {{{"item", "102001"}, {"note", "02"}}, 1, 1},  // one more on its line
        {{{"item", "103001"}}, 1, 1},                  // a limited item
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QJsonDocument(c.add).toJson().toStdString());
        breakage.set(QStringLiteral("UPDATE TableConsListTemp SET tabl_cons_coun = ?"));
        const Answer failed = p.post("/api/order/add", c.add);
        breakage.set({});
        EXPECT_EQ(failed.status, 500);
        EXPECT_EQ(staged(bill), c.lines);
        EXPECT_EQ(stagedQuantity(bill), c.quantity);
    }
    // Healed, the same taps stage as they should.
    for (const auto& c : cases)
        ASSERT_EQ(p.post("/api/order/add", c.add).status, 200);
    EXPECT_EQ(staged(bill), 3);
    EXPECT_EQ(stagedQuantity(bill), 2 + 3 + 1);
}

// Opening a table writes the bill and its log line together.
TEST_P(WaiterBrokenRequestTest, AnOpeningThatFailsAtItsLogLineLeavesTheTableFree) {
    Phone p = cashier();
    const int bills = count("SELECT count(*) FROM TableGuestlist");
    breakage.set(QStringLiteral("INSERT INTO systemlog"));
    const Answer failed = p.post("/api/tables/open", {{"table", "A05"}, {"guests", 4}});
    breakage.set({});
    EXPECT_EQ(failed.status, 500);
    EXPECT_EQ(stateOf("A05"), tables::TableState::kFree);
    EXPECT_EQ(count("SELECT count(*) FROM TableGuestlist"), bills);
    EXPECT_EQ(p.post("/api/tables/open", {{"table", "A05"}, {"guests", 4}}).status, 200);
    EXPECT_EQ(table("A05").guestCount, 4);
}

SORREL_ON_EVERY_ENGINE(WaiterBrokenRequestTest);

} // namespace
} // namespace sorrel::test
