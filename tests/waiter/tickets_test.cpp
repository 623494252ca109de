// The kitchen tickets of a phone's order, printed after the phone is answered: the phone asks how
// they went and hears of a printer that failed; a slow printer holds up no other waiter; a server
// stopped with tickets still waiting prints them first; ten phones committing at once all get
// their orders in.
#include "tests/waiter/waiter_fixture.h"

#include "common/unhandled_error.h"

#include <atomic>
#include <stdexcept>
#include <future>
#include <thread>

namespace sorrel::test {
namespace {

class WaiterTicketsTest : public WaiterTest {
  protected:
    // The phone opens `table`, stages one kung pao chicken and commits; the commit's answer.
    Answer orderOne(Phone& p, const QString& table) {
        EXPECT_EQ(p.post("/api/tables/open", {{"table", table}, {"guests", 2}}).status, 200);
        EXPECT_EQ(p.post("/api/order/start", {{"table", table}}).status, 200);
        EXPECT_EQ(p.post("/api/order/add", {{"item", "102001"}}).status, 200);
        return p.post("/api/order/commit");
    }
};

TEST_P(WaiterTicketsTest, APrinterThatFailsIsToldToThePhoneAndItsLinesStayUnsent) {
    struct Case {
        const char* what;
        waiter::TicketSender send;
        QString told; // the start of what the phone is told
    } cases[] = {
        {"a printer not found", [](const ordering::KitchenTicket&) { return QStringLiteral("找不到打印机：厨房"); },
         QStringLiteral("找不到打印机：厨房")},
        // Whatever the printing throws, its English stays in the log.
        {"a failure inside the printing",
         [](const ordering::KitchenTicket&) -> QString { throw std::runtime_error("cups: driver crashed"); },
         kInternalErrorMessage + QStringLiteral("错误记录编号[")},
    };
    const QStringList tables{"A03", "A04"};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(cases[i].what);
        serveWith(cases[i].send);
        Phone p = cashier();
        const Answer committed = orderOne(p, tables[i]);
        ASSERT_EQ(committed.status, 200) << committed.error().toStdString();
        const QJsonObject tickets = ticketsOf(p, committed);
        EXPECT_TRUE(tickets["done"].toBool());
        const QJsonArray failures = tickets["ticketFailures"].toArray();
        ASSERT_EQ(failures.size(), 1);
        EXPECT_TRUE(failures[0].toString().startsWith(cases[i].told)) << failures[0].toString().toStdString();
        EXPECT_FALSE(failures[0].toString().contains(QStringLiteral("cups")));
        // The order itself is in; the kitchen's lines wait to be printed again.
        EXPECT_EQ(count("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = ? AND tabl_cons_tran = 0",
                        {billOf(tables[i])}),
                  1);
    }
}

TEST_P(WaiterTicketsTest, TheTicketsOfAnotherPhoneOrAnUnknownJobAreNotShown) {
    Phone p = cashier();
    const Answer committed = orderOne(p, "A03");
    ASSERT_EQ(committed.status, 200);
    Phone other = cashier();
    const std::string job = std::to_string(committed.body["ticketJob"].toInt());
    const struct {
        Phone* phone;
        std::string path;
        int status;
    } asks[] = {
        {&other, "/api/tickets?job=" + job, 404},
        {&p, "/api/tickets?job=99999", 404},
        {&p, "/api/tickets?job=abc", 400},
        {&p, "/api/tickets?job=" + job + "&wait=-1", 400},
        {&p, "/api/tickets", 400},
        {&p, "/api/tickets?job=" + job, 200},
    };
    for (const auto& a : asks)
        EXPECT_EQ(a.phone->get(a.path).status, a.status) << a.path;
}

TEST_P(WaiterTicketsTest, ASlowPrinterHoldsUpNoOtherWaiter) {
    std::promise<void> released;
    std::shared_future<void> release = released.get_future().share();
    std::atomic<int> printing{0};
    serveWith([release, &printing](const ordering::KitchenTicket&) {
        ++printing;
        release.wait(); // the kitchen's printer is out of paper
        return QString();
    });
    Phone first = cashier();
    const Answer committed = orderOne(first, "A03");
    ASSERT_EQ(committed.status, 200);
    // The first phone is answered while its ticket still prints.
    EXPECT_FALSE(first.get("/api/tickets?job=" + std::to_string(committed.body["ticketJob"].toInt()) +
                           "&wait=50")
                     .body["done"]
                     .toBool());
    // Meanwhile another waiter opens a table, orders and commits.
    Phone second = cashier();
    const Answer also = orderOne(second, "A04");
    EXPECT_EQ(also.status, 200) << also.error().toStdString();
    EXPECT_EQ(count("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = ?", {billOf("A04")}), 1);
    released.set_value();
    EXPECT_TRUE(ticketsOf(first, committed)["done"].toBool());
    EXPECT_TRUE(ticketsOf(second, also)["done"].toBool());
    EXPECT_EQ(printing.load(), 2);
}

TEST_P(WaiterTicketsTest, AServerStoppedWithTicketsWaitingPrintsThemFirst) {
    std::atomic<int> printed{0};
    serveWith([&printed](const ordering::KitchenTicket&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ++printed;
        return QString();
    });
    Phone p = cashier();
    ASSERT_EQ(orderOne(p, "A03").status, 200);
    ASSERT_EQ(orderOne(p, "A04").status, 200);
    server.reset(); // SIGTERM right after the orders
    EXPECT_EQ(printed.load(), 2);
    for (const char* table : {"A03", "A04"})
        EXPECT_EQ(count("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = ? AND tabl_cons_tran = 0",
                        {billOf(table)}),
                  0)
            << table;
}

TEST_P(WaiterTicketsTest, TenPhonesCommittingAtOnceAllGetTheirOrdersIn) {
    const double cola = stockOf("202001");
    const QStringList tables{"A01", "A02", "A03", "A04", "A05", "A06", "A07", "A08", "A09", "A10"};
    std::vector<Phone> phones;
    for (const QString& t : tables) {
        phones.push_back(cashier());
        openAndStart(phones.back(), t);
        for (const char* item : {"102001", "202001"})
            ASSERT_EQ(phones.back().post("/api/order/add", {{"item", item}}).status, 200);
    }
    std::vector<std::future<Answer>> commits;
    for (Phone& p : phones)
        commits.push_back(std::async(std::launch::async, [&p] { return p.post("/api/order/commit"); }));
    for (size_t i = 0; i < commits.size(); ++i) {
        const Answer a = commits[i].get();
        EXPECT_EQ(a.status, 200) << tables[int(i)].toStdString() << ' ' << a.error().toStdString();
        EXPECT_TRUE(ticketsOf(phones[i], a)["ticketFailures"].toArray().isEmpty());
    }
    for (const QString& t : tables)
        EXPECT_EQ(count("SELECT count(*) FROM TableConsList WHERE tabl_gues_auto_recn = ?", {billOf(t)}), 2)
            << t.toStdString();
    EXPECT_EQ(stockOf("202001"), cola - 10);
    EXPECT_EQ(int(ticketFiles().size()), 10);
}

SORREL_ON_EVERY_ENGINE(WaiterTicketsTest);

} // namespace
} // namespace sorrel::test
