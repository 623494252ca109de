// The HTTP side of sorrel-waiter: the page's files from the program's resources, the JSON
// endpoints over the waiter service, the session cookie and the change token, size limits and
// error answers, on one address (127.0.0.1:8480 unless told), optionally with TLS.
#pragma once

#include "waiter/connection_pool.h"
#include "waiter/ticket_queue.h"
#include "waiter/waiter_service.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
}

namespace sorrel::waiter {

inline const QString kSessionCookie = QStringLiteral("sorrel_waiter");
inline const QString kChangeTokenHeader = QStringLiteral("X-Sorrel-Token");
inline const QString kChangeTokenMessage = QStringLiteral("请求缺少有效的操作令牌，请刷新页面！");
inline const QString kNoSuchTicketJobMessage = QStringLiteral("没有此出品单打印任务！");
inline const QString kBadJsonMessage = QStringLiteral("请求内容不是有效的JSON对象：%1");

struct ServerOptions {
    QString host = QStringLiteral("127.0.0.1");
    int port = 8480; // 0: any free port
    // Database connections: requests that need one at the same time (each opened on first use).
    int workers = 8;
    // HTTP threads: a phone's browser keeps its connection open between requests and holds a
    // thread meanwhile, so there are many more threads than database connections.
    int threads = 64;
    QString certificate; // both given: HTTPS
    QString key;
    qsizetype maxBody = 16 * 1024;
};

// A file the page loads.
struct PageFile {
    QByteArray content;
    QString mimeType;
};
// The page's files compiled into the program, by the path the browser asks for ("/" is the page).
QMap<QString, PageFile> pageFiles();

class WaiterServer {
  public:
    // `extraFiles` join the page's files (the board's state pictures, drawn at start).
    WaiterServer(WaiterService& service, ConnectionPool& pool, ServerOptions options,
                 QMap<QString, PageFile> extraFiles = {});
    ~WaiterServer();

    // Takes the address; false (with the reason) when it cannot.
    bool bind(QString& failure);
    // The port taken by bind().
    int port() const { return port_; }
    bool tls() const;
    // Serves until stop(); blocks.
    void run();
    // Serves on a thread of its own, for a test.
    void start();
    void stop();
    // The gate every change of the server's goes through, one at a time.
    std::mutex& writeGate() { return writes_; }

  private:
    void route();
    // The session of the request when it may go on (for a change, with its change token), else
    // the answer is already in `res`. `body` receives the request's JSON or query.
    std::optional<Session> admitted(const httplib::Request& req, httplib::Response& res, bool change,
                                    QJsonObject& body);
    // On the ticket thread: the order's tickets printed, their lines marked sent; the failures.
    QStringList printTickets(const OrderInHand& order);

    WaiterService& service_;
    ConnectionPool& pool_;
    ServerOptions options_;
    QMap<QString, PageFile> files_;
    std::unique_ptr<httplib::Server> http_;
    int port_ = 0;
    std::thread thread_;
    // Every change goes through here one at a time: the database has one write lock anyway, and
    // the phones queue on this mutex, woken as soon as it is free, instead of each connection
    // polling the file's lock (the file engine sleeps between tries). Held only while a change
    // writes: a ticket prints outside it.
    std::mutex writes_;
    // Declared last: ends first, printing what still waits while the rest is there.
    std::unique_ptr<TicketQueue> tickets_;
};

} // namespace sorrel::waiter
