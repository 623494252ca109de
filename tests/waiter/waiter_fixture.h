// The waiters' server on the demo venue, served in the test's own process on 127.0.0.1 with a
// port the system picks, and a phone that talks to it: its cookie, its change token, and the
// JSON each request answers. Tickets go to PDF files in a temporary folder.
#pragma once

#include "common/installation/target.h"
#include "frontdesk/tables/table_state.h"
#include "tests/frontdesk/tables/venue_fixture.h"
#include "tests/support/screen_application.h"
#include "waiter/state_pictures.h"
#include "waiter/ticket_output.h"
#include "waiter/waiter_server.h"

#include <httplib.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

namespace sorrel::test {

struct Answer {
    int status = 0;
    QJsonObject body;
    std::string setCookie;
    std::string contentType;
    std::string raw;
    QString error() const { return body.value("error").toString(); }
};

class Phone {
  public:
    explicit Phone(int port) : http_("127.0.0.1", port) { http_.set_read_timeout(30); }

    Answer get(const std::string& path) { return done(http_.Get(path, headers(false))); }
    Answer post(const std::string& path, const QJsonObject& body = {}) {
        return postRaw(path, QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString());
    }
    Answer postRaw(const std::string& path, const std::string& body) {
        return done(http_.Post(path, headers(true), body, "application/json"));
    }
    // Logs in; true when the server let the phone in.
    bool logIn(const QString& code, const QString& password) {
        const Answer a = post("/api/login", {{"code", code}, {"password", password}});
        if (a.status != 200) return false;
        const std::string& c = a.setCookie;
        const auto start = c.find('=') + 1;
        cookie = c.substr(start, c.find(';') - start);
        token = a.body.value("changeToken").toString().toStdString();
        return true;
    }

    std::string cookie;
    std::string token;

  private:
    httplib::Headers headers(bool change) const {
        httplib::Headers h;
        if (!cookie.empty()) h.emplace("Cookie", "sorrel_waiter=" + cookie);
        if (change && !token.empty()) h.emplace("X-Sorrel-Token", token);
        return h;
    }
    static Answer done(const httplib::Result& r) {
        Answer a;
        if (!r) return a;
        a.status = r->status;
        a.raw = r->body;
        a.setCookie = r->get_header_value("Set-Cookie");
        a.contentType = r->get_header_value("Content-Type");
        a.body = QJsonDocument::fromJson(QByteArray::fromStdString(r->body)).object();
        return a;
    }
    httplib::Client http_;
};

class WaiterTest : public VenueTest {
  protected:
    void SetUp() override {
        VenueTest::SetUp();
        screenApplication();
        sessions = std::make_unique<waiter::SessionStore>(clock);
        const QString target = scratch().target();
        pool = std::make_unique<waiter::ConnectionPool>(
            [target] { return openTarget(target, TargetUse::OpenExisting); }, kWorkers);
        serveWith(waiter::pdfSender(tickets.path()));
    }
    // The server anew, its kitchen tickets going to `send`.
    void serveWith(waiter::TicketSender send) {
        server.reset();
        service = std::make_unique<waiter::WaiterService>(clock, *sessions, QString(), std::move(send));
        waiter::ServerOptions options;
        options.port = 0;
        options.workers = kWorkers;
        server = std::make_unique<waiter::WaiterServer>(*service, *pool, options, waiter::statePictures());
        QString failure;
        ASSERT_TRUE(server->bind(failure)) << failure.toStdString();
        server->start();
    }
    void TearDown() override {
        server.reset();
        pool.reset();
    }

    Phone phone() { return Phone(server->port()); }
    // A phone logged in as the demo venue's cashier, who may take orders.
    Phone cashier() {
        Phone p = phone();
        EXPECT_TRUE(p.logIn("02", "2222"));
        return p;
    }
    // The phone opens `table` and takes its order.
    void openAndStart(Phone& p, const QString& table, int guests = 2) {
        ASSERT_EQ(p.post("/api/tables/open", {{"table", table}, {"guests", guests}}).status, 200);
        ASSERT_EQ(p.post("/api/order/start", {{"table", table}}).status, 200);
    }
    // How the tickets of a commit went, once they printed: {done, ticketFailures}.
    QJsonObject ticketsOf(Phone& p, const Answer& committed) {
        return p.get("/api/tickets?job=" + std::to_string(committed.body["ticketJob"].toInt())).body;
    }
    QJsonArray stagedLines(Phone& p) { return p.get("/api/order").body.value("lines").toArray(); }
    int lineIdOf(Phone& p, const QString& item) {
        for (const QJsonValue& l : stagedLines(p))
            if (l["item"].toString() == item) return l["id"].toInt();
        return 0;
    }
    double stockOf(const QString& code) {
        return db()
            .scalar(QStringLiteral("SELECT item_coun FROM itemlist WHERE item_code = ?"), {code})
            .toDouble();
    }
    int billOf(const QString& table) { return tables::loadBoardTable(db(), table)->guestNumber; }
    int count(const QString& sql, const QVariantList& params = {}) {
        return db().scalar(sql, params).toInt();
    }
    QStringList ticketFiles() const { return QDir(tickets.path()).entryList({"*.pdf"}, QDir::Files); }

    static constexpr int kWorkers = 4;
    QTemporaryDir tickets;
    std::unique_ptr<waiter::SessionStore> sessions;
    std::unique_ptr<waiter::WaiterService> service;
    std::unique_ptr<waiter::ConnectionPool> pool;
    std::unique_ptr<waiter::WaiterServer> server;
};

} // namespace sorrel::test
