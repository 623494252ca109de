// Who may reach the waiters' server and how: login right, wrong and throttled; every endpoint
// without a session, with a made-up or an expired one; changes without their token; a permission
// or an operator taken away mid-session; bad and oversized JSON; paths outside the page.
#include "common/login_session.h"
#include "common/permissions.h"
#include "frontdesk/ordering/order_entry.h"
#include "tests/support/staff_seed.h"
#include "tests/waiter/waiter_fixture.h"

#include <QProcess>
#include <QTemporaryDir>

namespace sorrel::test {
namespace {

using WaiterSecurityTest = WaiterTest;

const std::vector<std::string> kReads = {"/api/session",       "/api/board",          "/api/menu",
                                         "/api/items?typed=1", "/api/bill?table=A01", "/api/order",
                                         "/api/tickets?job=1"};
const std::vector<std::string> kChanges = {"/api/logout",       "/api/tables/open", "/api/order/start",
                                           "/api/order/add",    "/api/order/line",  "/api/order/remove",
                                           "/api/order/cancel", "/api/order/commit"};

TEST_P(WaiterSecurityTest, LoginRightWrongAndThrottled) {
    Phone p = phone();
    const struct {
        QString code, password;
        int status;
        QString error;
    } attempts[] = {
        {"02", "wrong", 401, kUnknownOperatorMessage},
        {"99", "2222", 401, kUnknownOperatorMessage},
        {"02", "2222", 200, {}},
    };
    for (const auto& a : attempts) {
        const Answer r = p.post("/api/login", {{"code", a.code}, {"password", a.password}});
        EXPECT_EQ(r.status, a.status) << a.code.toStdString();
        EXPECT_EQ(r.error(), a.error);
    }
    const Answer in = p.post("/api/login", {{"code", "02"}, {"password", "2222"}});
    EXPECT_NE(in.setCookie.find("HttpOnly"), std::string::npos);
    EXPECT_NE(in.setCookie.find("SameSite=Strict"), std::string::npos);
    // 32 hexadecimal digits: 128 random bits.
    const std::string value = in.setCookie.substr(in.setCookie.find('=') + 1, 32);
    EXPECT_EQ(value.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(in.body["operator"]["name"].toString(), QStringLiteral("收银员"));
    EXPECT_GE(count("SELECT count(*) FROM systemlog WHERE log_oper = ? AND log_oper_name = ?",
                    {waiter::kWaiterLogMark + QStringLiteral("[登录系统]"), QStringLiteral("收银员")}),
              1);

    // Five failures from one address make it wait, even with the right password, for 30 s.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(p.post("/api/login", {{"code", "02"}, {"password", "x"}}).status, 401);
    const Answer held = p.post("/api/login", {{"code", "02"}, {"password", "2222"}});
    EXPECT_EQ(held.status, 429);
    EXPECT_TRUE(held.setCookie.empty());
    clock.advanceSeconds(31);
    EXPECT_EQ(p.post("/api/login", {{"code", "02"}, {"password", "2222"}}).status, 200);
}

TEST_P(WaiterSecurityTest, LoginNeedsTheOrderingPermission) {
    db().exec("UPDATE Limitedlist SET limi_real = 0 WHERE mana_code = '02' AND limi_code = ?",
              {ordering::kOrderingPermission});
    const Answer r = phone().post("/api/login", {{"code", "02"}, {"password", "2222"}});
    EXPECT_EQ(r.status, 403);
    EXPECT_EQ(r.error(), permissionRefusalMessage(ordering::kOrderingPermission));
    EXPECT_TRUE(r.setCookie.empty());
}

TEST_P(WaiterSecurityTest, EveryEndpointWantsALiveSession) {
    Phone none = phone();
    Phone madeUp = phone();
    madeUp.cookie = "0123456789abcdef0123456789abcdef";
    madeUp.token = "x";
    Phone expired = cashier();
    Phone loggedOut = cashier();
    ASSERT_EQ(loggedOut.post("/api/logout").status, 200);
    clock.advanceSeconds(waiter::kSessionSeconds);
    for (Phone* p : {&none, &madeUp, &expired, &loggedOut}) {
        for (const std::string& path : kReads)
            EXPECT_EQ(p->get(path).status, 401) << path;
        for (const std::string& path : kChanges)
            EXPECT_EQ(p->post(path, {{"table", "A01"}, {"guests", 2}}).status, 401) << path;
    }
    EXPECT_EQ(stateOf("A01"), tables::TableState::kFree);
}

TEST_P(WaiterSecurityTest, ChangesWantTheirTokenAndAPost) {
    Phone p = cashier();
    const std::string token = p.token;
    // The real token with its first digit changed.
    const std::string near = (token[0] == '0' ? "1" : "0") + token.substr(1);
    for (const std::string& wrong : {std::string(), near}) {
        p.token = wrong;
        for (const std::string& path : kChanges) {
            const Answer r = p.post(path, {{"table", "A01"}, {"guests", 2}});
            EXPECT_EQ(r.status, 403) << path;
            EXPECT_EQ(r.error(), waiter::kChangeTokenMessage);
        }
    }
    EXPECT_EQ(stateOf("A01"), tables::TableState::kFree);
    // A change asked for by GET is not a route at all.
    p.token = token;
    EXPECT_EQ(p.get("/api/tables/open?table=A01&guests=2").status, 404);
    EXPECT_EQ(stateOf("A01"), tables::TableState::kFree);
    EXPECT_EQ(p.get("/api/session").status, 200);
}

TEST_P(WaiterSecurityTest, PermissionOrOperatorTakenAwayMidSession) {
    Phone p = cashier();
    openAndStart(p, "A01");
    db().exec("UPDATE Limitedlist SET limi_real = 0 WHERE mana_code = '02' AND limi_code = ?",
              {ordering::kOrderingPermission});
    for (const std::string& path : {std::string("/api/board"), std::string("/api/order")}) {
        const Answer r = p.get(path);
        EXPECT_EQ(r.status, 403) << path;
        EXPECT_EQ(r.error(), permissionRefusalMessage(ordering::kOrderingPermission));
    }
    EXPECT_EQ(p.post("/api/order/add", {{"item", "102001"}}).status, 403);
    EXPECT_EQ(count("SELECT count(*) FROM TableConsListTemp"), 0);

    db().exec("UPDATE Limitedlist SET limi_real = 1 WHERE mana_code = '02'");
    EXPECT_EQ(p.get("/api/board").status, 200);
    db().exec("DELETE FROM operatorlist WHERE oper_code = '02'");
    EXPECT_EQ(p.get("/api/board").error(), waiter::kOperatorGoneMessage);
    EXPECT_EQ(p.get("/api/board").status, 401);
}

TEST_P(WaiterSecurityTest, BadOrOversizedJsonWritesNothing) {
    Phone p = cashier();
    const struct {
        std::string path;
        std::string body;
        int status;
    } cases[] = {
        {"/api/tables/open", "{\"table\": \"A01\", \"guests\": ", 400},
        {"/api/tables/open", "[\"A01\", 2]", 400},
        {"/api/tables/open", "\"A01\"", 400},
        {"/api/tables/open", "{\"table\": 5, \"guests\": 2}", 400},
        {"/api/tables/open", "{\"table\": \"A01\", \"guests\": \"two\"}", 400},
        {"/api/tables/open", "{\"table\": \"A01\", \"guests\": 2.5}", 400},
        {"/api/tables/open", "{\"table\": \"A01\", \"guests\": 0}", 400},
        {"/api/tables/open",
         "{\"table\": \"A01\", \"guests\": 2, \"pad\": \"" + std::string(20000, 'x') + "\"}", 413},
        {"/api/login", "{\"code\": \"02\", \"password\": 2222}", 400},
        {"/api/login", "not json", 400},
    };
    for (const auto& c : cases) {
        const Answer r = p.postRaw(c.path, c.body);
        EXPECT_EQ(r.status, c.status) << c.body.substr(0, 60);
        EXPECT_FALSE(r.error().isEmpty()) << c.body.substr(0, 60);
    }
    EXPECT_EQ(stateOf("A01"), tables::TableState::kFree);

    openAndStart(p, "A02");
    const struct {
        std::string path;
        QJsonObject body;
    } fields[] = {
        {"/api/order/add", {{"item", 102001}}},
        {"/api/order/add", {{"item", "102001"}, {"quantity", "2"}}},
        {"/api/order/add", {{"item", "102001"}, {"quantity", -1}}},
        {"/api/order/add", {{"item", "102001"}, {"kind", "9"}}},
        {"/api/order/add", {{"item", "102001"}, {"note", "99"}}},
        {"/api/order/line", {{"line", "1"}}},
    };
    for (const auto& f : fields)
        EXPECT_EQ(p.post(f.path, f.body).status, 400) << QJsonDocument(f.body).toJson().toStdString();
    EXPECT_EQ(count("SELECT count(*) FROM TableConsListTemp"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM TableConsList"), 0);
}

TEST_P(WaiterSecurityTest, OnlyThePagesOwnFilesAreServed) {
    Phone p = phone();
    const struct {
        std::string path;
        int status;
        std::string type;
    } cases[] = {
        {"/", 200, "text/html"},
        {"/index.html", 200, "text/html"},
        {"/waiter.js", 200, "text/javascript"},
        {"/waiter.css", 200, "text/css"},
        {"/state-2.png", 200, "image/png"},
        {"/../CMakeLists.txt", 404, ""},
        {"/%2e%2e/%2e%2e/etc/passwd", 404, ""},
        {"/page/index.html", 404, ""},
        {"/waiter/page/index.html", 404, ""},
        {"/nothing.js", 404, ""},
        {"/api/nothing", 404, ""},
        {"/etc/passwd", 404, ""},
    };
    for (const auto& c : cases) {
        const Answer r = p.get(c.path);
        EXPECT_EQ(r.status, c.status) << c.path;
        if (!c.type.empty()) {
            EXPECT_EQ(r.contentType.rfind(c.type, 0), 0u) << c.path << " " << r.contentType;
        }
    }
    EXPECT_NE(p.get("/").raw.find("点单"), std::string::npos);
    EXPECT_NE(p.get("/").raw.find("width=device-width"), std::string::npos);
}

TEST_P(WaiterSecurityTest, ConnectionsAreKeptNotOpenedPerRequest) {
    Phone p = cashier();
    for (int i = 0; i < 30; ++i)
        ASSERT_EQ(p.get("/api/board").status, 200);
    EXPECT_LE(pool->opened(), kWorkers);
}

// A server that drops the waiters' connections (restarted, or the network cut): the phones'
// next requests, reads and changes alike, are served on fresh connections.
TEST_P(WaiterSecurityTest, DroppedServerConnectionsAreReopened) {
    if (GetParam() != Engine::Server) GTEST_SKIP() << "a file has no connection to drop";
    Phone p = cashier();
    for (int i = 0; i < 2 * kWorkers; ++i)
        ASSERT_EQ(p.get("/api/board").status, 200);
    db().query(QStringLiteral("SELECT pg_terminate_backend(pid, 10000) FROM pg_stat_activity "
                              "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    for (int i = 0; i < 2 * kWorkers; ++i)
        EXPECT_EQ(p.get("/api/board").status, 200) << "request " << i << " after the drop";
    openAndStart(p, QStringLiteral("A05"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT tabl_stat_code FROM TableList WHERE tabl_code = 'A05'")).toString(),
              tables::TableState::kInUse);
}

// With the venue's certificate the page, the login and the orders go over HTTPS only, and the
// session cookie is kept to it.
TEST_P(WaiterSecurityTest, WithACertificateEverythingGoesOverHttps) {
    QTemporaryDir keys;
    const QString cert = keys.filePath(QStringLiteral("cert.pem")), key = keys.filePath(QStringLiteral("key.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1",
                   "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", cert});
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
        GTEST_SKIP() << "no openssl to make a certificate with";
    waiter::ServerOptions options;
    options.port = 0;
    options.workers = 2;
    options.certificate = cert;
    options.key = key;
    waiter::WaiterServer secure(*service, *pool, options, waiter::statePictures());
    QString failure;
    ASSERT_TRUE(secure.bind(failure)) << failure.toStdString();
    secure.start();
    ASSERT_TRUE(secure.tls());

    httplib::SSLClient https("127.0.0.1", secure.port());
    https.set_ca_cert_path(cert.toLocal8Bit().constData());
    https.enable_server_certificate_verification(true);
    const auto page = https.Get("/");
    ASSERT_TRUE(page) << "no answer over HTTPS";
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("点单"), std::string::npos);
    const auto login =
        https.Post("/api/login", R"({"code":"02","password":"2222"})", "application/json");
    ASSERT_TRUE(login);
    EXPECT_EQ(login->status, 200);
    EXPECT_NE(login->get_header_value("Set-Cookie").find("; Secure"), std::string::npos);

    httplib::Client plain("127.0.0.1", secure.port());
    plain.set_read_timeout(5);
    const auto cleartext = plain.Get("/");
    EXPECT_TRUE(!cleartext || cleartext->status != 200) << "the page went out unencrypted";
}

SORREL_ON_EVERY_ENGINE(WaiterSecurityTest);

} // namespace
} // namespace sorrel::test
