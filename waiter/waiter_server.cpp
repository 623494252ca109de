#include "waiter/waiter_server.h"

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace sorrel::waiter {

namespace {

const char* const kJson = "application/json; charset=utf-8";

QString mimeFor(const QString& path) {
    if (path.endsWith(QLatin1String(".html"))) return QStringLiteral("text/html; charset=utf-8");
    if (path.endsWith(QLatin1String(".js"))) return QStringLiteral("text/javascript; charset=utf-8");
    if (path.endsWith(QLatin1String(".css"))) return QStringLiteral("text/css; charset=utf-8");
    if (path.endsWith(QLatin1String(".png"))) return QStringLiteral("image/png");
    if (path.endsWith(QLatin1String(".svg"))) return QStringLiteral("image/svg+xml");
    return QStringLiteral("application/octet-stream");
}

void answer(httplib::Response& res, const Reply& reply) {
    res.status = reply.status;
    res.set_header("Cache-Control", "no-store");
    res.set_content(QJsonDocument(reply.body).toJson(QJsonDocument::Compact).toStdString(), kJson);
}

QString cookieToken(const httplib::Request& req) {
    const QString cookies = QString::fromStdString(req.get_header_value("Cookie"));
    for (const QString& part : cookies.split(u';')) {
        const QString p = part.trimmed();
        if (p.startsWith(kSessionCookie + u'=')) return p.mid(kSessionCookie.size() + 1);
    }
    return {};
}

// The body of a change: one JSON object (an empty body is an empty object).
std::optional<QJsonObject> bodyObject(const httplib::Request& req, Reply& refusal) {
    if (req.body.empty()) return QJsonObject();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(req.body), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        refusal =
            Reply::error(status::kBadRequest, kBadJsonMessage.arg(error.error != QJsonParseError::NoError
                                                                      ? error.errorString()
                                                                      : QStringLiteral("不是对象")));
        return std::nullopt;
    }
    return doc.object();
}

QJsonObject queryObject(const httplib::Request& req) {
    QJsonObject out;
    for (const auto& [key, value] : req.params)
        out.insert(QString::fromStdString(key), QString::fromStdString(value));
    return out;
}

// Debian's library listens with a queue of 5 waiting connections: ten phones connecting at the
// same moment would see some refused and retried a second later. The listening socket of `port`
// is told a longer queue (listening again on a listening socket only changes its queue).
void lengthenListenQueue(int port) {
    for (int fd = 3; fd < 1024; ++fd) {
        int listening = 0;
        socklen_t size = sizeof listening;
        if (getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) != 0 || !listening) continue;
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) continue;
        const int at = address.ss_family == AF_INET
                           ? ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port)
                       : address.ss_family == AF_INET6
                           ? ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port)
                           : -1;
        if (at == port) listen(fd, 128);
    }
}

// What a handler is handed: the connection of its request and the caller's session.
using Step = std::function<Reply(Database&, const Session&, const QJsonObject&)>;

} // namespace

QMap<QString, PageFile> pageFiles() {
    QMap<QString, PageFile> files;
    const QString root = QStringLiteral(":/waiter/page");
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString url = path.mid(root.size());
        files.insert(url, {f.readAll(), mimeFor(url)});
    }
    if (files.contains(QStringLiteral("/index.html")))
        files.insert(QStringLiteral("/"), files.value("/index.html"));
    return files;
}

WaiterServer::WaiterServer(WaiterService& service, ConnectionPool& pool, ServerOptions options,
                           QMap<QString, PageFile> extraFiles)
    : service_(service), pool_(pool), options_(std::move(options)), files_(pageFiles()),
      tickets_(std::make_unique<TicketQueue>()) {
    for (auto it = extraFiles.cbegin(); it != extraFiles.cend(); ++it)
        files_.insert(it.key(), it.value());
    if (!options_.certificate.isEmpty() && !options_.key.isEmpty())
        http_ = std::make_unique<httplib::SSLServer>(options_.certificate.toLocal8Bit().constData(),
                                                     options_.key.toLocal8Bit().constData());
    else
        http_ = std::make_unique<httplib::Server>();
    route();
}

WaiterServer::~WaiterServer() {
    stop();
    tickets_.reset();
}

bool WaiterServer::tls() const {
    return !options_.certificate.isEmpty() && !options_.key.isEmpty();
}

void WaiterServer::route() {
    httplib::Server& s = *http_;
    const int threads = std::max({1, options_.workers, options_.threads});
    s.new_task_queue = [threads] { return new httplib::ThreadPool(size_t(threads)); };
    s.set_payload_max_length(size_t(options_.maxBody));
    s.set_read_timeout(10);
    // A phone keeps its connection for the evening rather than connecting anew every 5 requests.
    s.set_keep_alive_max_count(1000);
    s.set_write_timeout(10);
    s.set_default_headers({{"X-Content-Type-Options", "nosniff"},
                           {"X-Frame-Options", "DENY"},
                           {"Referrer-Policy", "no-referrer"},
                           {"Content-Security-Policy",
                            "default-src 'self'; img-src 'self'; style-src 'self'; script-src 'self'; "
                            "frame-ancestors 'none'"}});
    s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return;
        const QString text = res.status == 413   ? QStringLiteral("请求内容过大！")
                             : res.status == 404 ? QStringLiteral("没有此页面！")
                                                 : QStringLiteral("请求无法处理（%1）").arg(res.status);
        answer(res, Reply::error(res.status, text));
    });
    s.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        answer(res, Reply::error(status::kFailed, QStringLiteral("服务器内部错误")));
    });

    // The page and its files, only those compiled into the program.
    const auto serveFile = [this](const httplib::Request& req, httplib::Response& res) {
        const auto it = files_.constFind(QString::fromStdString(req.path));
        if (it == files_.constEnd()) {
            res.status = 404;
            return;
        }
        res.set_header("Cache-Control", "no-cache");
        res.set_content(it->content.toStdString(), it->mimeType.toStdString());
    };
    s.Get("/", serveFile);
    s.Get(R"(/[A-Za-z0-9_\-]+\.[a-z]+)", serveFile);

    // An endpoint: the session, the change token of a POST, the operator and their permission as
    // the database holds them now, then the step on a pooled connection; a change one at a time.
    const auto endpoint = [this](bool change, Step step) {
        return [this, change, step](const httplib::Request& req, httplib::Response& res) {
            QJsonObject body;
            const std::optional<Session> session = admitted(req, res, change, body);
            if (!session) return;
            std::unique_lock<std::mutex> gate(writes_, std::defer_lock);
            if (change) gate.lock();
            ConnectionPool::Lease lease = pool_.lease();
            answer(res, WaiterService::guarded([&] {
                       if (const std::optional<Reply> gone = service_.checkOperator(lease.db(), *session))
                           return *gone;
                       return step(lease.db(), *session, body);
                   }));
        };
    };
    using D = Database;
    using S = const Session;
    using J = const QJsonObject;
    WaiterService& w = service_;

    s.Post("/api/login", [this](const httplib::Request& req, httplib::Response& res) {
        Reply refusal;
        const std::optional<QJsonObject> body = bodyObject(req, refusal);
        if (!body) return answer(res, refusal);
        const std::lock_guard gate(writes_);
        ConnectionPool::Lease lease = pool_.lease();
        QString token;
        const Reply reply = WaiterService::guarded([&] {
            return service_.login(lease.db(), *body, QString::fromStdString(req.remote_addr), token);
        });
        if (!token.isEmpty()) {
            const QString cookie = QStringLiteral("%1=%2; Path=/; HttpOnly; SameSite=Strict; Max-Age=%3%4")
                                       .arg(kSessionCookie, token)
                                       .arg(kSessionSeconds)
                                       .arg(tls() ? QStringLiteral("; Secure") : QString());
            res.set_header("Set-Cookie", cookie.toStdString());
        }
        answer(res, reply);
    });
    s.Post("/api/logout", endpoint(true, [&w](D& db, S& s, J&) { return w.logout(db, s); }));
    s.Get("/api/session", endpoint(false, [&w](D&, S& s, J&) { return w.whoAmI(s); }));
    s.Get("/api/board", endpoint(false, [&w](D& db, S&, J&) { return w.board(db); }));
    s.Get("/api/menu", endpoint(false, [&w](D& db, S&, J&) { return w.menu(db); }));
    s.Get("/api/items", endpoint(false, [&w](D& db, S&, J& q) { return w.items(db, q); }));
    s.Get("/api/bill", endpoint(false, [&w](D& db, S&, J& q) { return w.bill(db, q); }));
    s.Get("/api/order", endpoint(false, [&w](D& db, S& s, J&) { return w.order(db, s); }));
    s.Post("/api/tables/open", endpoint(true, [&w](D& db, S& s, J& b) { return w.openTable(db, s, b); }));
    s.Post("/api/order/start", endpoint(true, [&w](D& db, S& s, J& b) { return w.startOrder(db, s, b); }));
    s.Post("/api/order/add", endpoint(true, [&w](D& db, S& s, J& b) { return w.addItem(db, s, b); }));
    s.Post("/api/order/line", endpoint(true, [&w](D& db, S& s, J& b) { return w.changeLine(db, s, b); }));
    s.Post("/api/order/remove", endpoint(true, [&w](D& db, S& s, J& b) { return w.removeLine(db, s, b); }));
    s.Post("/api/order/cancel", endpoint(true, [&w](D& db, S& s, J&) { return w.cancelOrder(db, s); }));
    // The commit: the bill written under the write lock; its tickets queued for the ticket
    // thread, which prints them outside the lock and marks their lines sent under it again; the
    // phone answered with the bill and the number of its tickets' job.
    s.Post("/api/order/commit", [this](const httplib::Request& req, httplib::Response& res) {
        QJsonObject body;
        const std::optional<Session> session = admitted(req, res, true, body);
        if (!session) return;
        std::optional<OrderInHand> committed;
        std::unique_lock gate(writes_);
        const Reply reply = WaiterService::guarded([&] {
            ConnectionPool::Lease lease = pool_.lease();
            if (const std::optional<Reply> gone = service_.checkOperator(lease.db(), *session)) return *gone;
            return service_.commit(lease.db(), *session, committed);
        });
        gate.unlock();
        if (!committed) return answer(res, reply);
        const int job = tickets_->add(session->token, [this, order = *committed] { return printTickets(order); });
        Reply bill = WaiterService::guarded([&] {
            ConnectionPool::Lease lease = pool_.lease();
            return service_.bill(lease.db(), {{"table", committed->tableCode}});
        });
        bill.body.insert("ticketJob", job);
        answer(res, bill);
    });
    // How the tickets of a commit went: waits up to `wait` ms (at most 10 s) while they print.
    s.Get("/api/tickets", [this](const httplib::Request& req, httplib::Response& res) {
        QJsonObject query;
        const std::optional<Session> session = admitted(req, res, false, query);
        if (!session) return;
        const Reply allowed = WaiterService::guarded([&] {
            ConnectionPool::Lease lease = pool_.lease();
            return service_.checkOperator(lease.db(), *session).value_or(Reply::ok());
        });
        if (allowed.status != status::kOk) return answer(res, allowed);
        bool numbered = false, timed = true;
        const int job = query.value("job").toString().toInt(&numbered);
        const QString waitText = query.value("wait").toString();
        const int wait = waitText.isEmpty() ? 10000 : waitText.toInt(&timed);
        if (!numbered || !timed || wait < 0)
            return answer(res, Reply::error(status::kBadRequest, QStringLiteral("job或wait不是整数")));
        const std::optional<TicketQueue::Outcome> outcome =
            tickets_->outcome(session->token, job, std::min(wait, 10000));
        if (!outcome) return answer(res, Reply::error(status::kNotFound, kNoSuchTicketJobMessage));
        answer(res, Reply::ok({{"done", outcome->done},
                               {"ticketFailures", QJsonArray::fromStringList(outcome->failures)}}));
    });
}

QStringList WaiterServer::printTickets(const OrderInHand& order) {
    WaiterService::PrintedTickets printed;
    Reply r = WaiterService::guarded([&] {
        ConnectionPool::Lease lease = pool_.lease();
        printed = service_.printTickets(lease.db(), order);
        return Reply::ok();
    });
    if (r.status != status::kOk) return {r.body.value("error").toString()};
    QStringList failures;
    const std::lock_guard gate(writes_);
    r = WaiterService::guarded([&] {
        ConnectionPool::Lease lease = pool_.lease();
        failures = service_.ticketsSent(lease.db(), order, printed);
        return Reply::ok();
    });
    if (r.status != status::kOk) return {r.body.value("error").toString()};
    return failures;
}

std::optional<Session> WaiterServer::admitted(const httplib::Request& req, httplib::Response& res, bool change,
                                              QJsonObject& body) {
    Reply refusal;
    const std::optional<QJsonObject> read = change ? bodyObject(req, refusal) : queryObject(req);
    if (!read) {
        answer(res, refusal);
        return std::nullopt;
    }
    body = *read;
    std::optional<Session> session = service_.sessions().find(cookieToken(req));
    if (!session) {
        answer(res, Reply::error(status::kNoSession, kNoSessionMessage));
        return std::nullopt;
    }
    if (change &&
        QString::fromStdString(req.get_header_value(kChangeTokenHeader.toStdString())) != session->changeToken) {
        answer(res, Reply::error(status::kForbidden, kChangeTokenMessage));
        return std::nullopt;
    }
    return session;
}

bool WaiterServer::bind(QString& failure) {
    if (!http_->is_valid()) {
        failure = QStringLiteral("无法使用证书或私钥：%1, %2").arg(options_.certificate, options_.key);
        return false;
    }
    const std::string host = options_.host.toStdString();
    if (options_.port == 0) {
        port_ = http_->bind_to_any_port(host);
    } else if (http_->bind_to_port(host, options_.port)) {
        port_ = options_.port;
    }
    if (port_ > 0) {
        lengthenListenQueue(port_);
        return true;
    }
    failure = QStringLiteral("无法在%1:%2上监听").arg(options_.host).arg(options_.port);
    return false;
}

void WaiterServer::run() {
    http_->listen_after_bind();
}

void WaiterServer::start() {
    thread_ = std::thread([this] { run(); });
    while (!http_->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

void WaiterServer::stop() {
    if (http_) http_->stop();
    if (thread_.joinable()) thread_.join();
}

} // namespace sorrel::waiter
