// The HTTP side of sorrel-waiter: the page's files from the program's resources, the JSON
// endpoints over the waiter service, the session cookie and the change token, size limits and
// error answers, on one address (127.0.0.1:8480 unless told), optionally with TLS.
#pragma once

#include "waiter/connection_pool.h"
#include "waiter/waiter_service.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <memory>
#include <thread>

namespace httplib {
class Server;
}

namespace sorrel::waiter {

inline const QString kSessionCookie = QStringLiteral("sorrel_waiter");
inline const QString kChangeTokenHeader = QStringLiteral("X-Sorrel-Token");
inline const QString kChangeTokenMessage = QStringLiteral("请求缺少有效的操作令牌，请刷新页面！");
inline const QString kBadJsonMessage = QStringLiteral("请求内容不是有效的JSON对象：%1");

struct ServerOptions {
    QString host = QStringLiteral("127.0.0.1");
    int port = 8480; // 0: any free port
    int workers = 8;
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

  private:
    void route();

    WaiterService& service_;
    ConnectionPool& pool_;
    ServerOptions options_;
    QMap<QString, PageFile> files_;
    std::unique_ptr<httplib::Server> http_;
    int port_ = 0;
    std::thread thread_;
};

} // namespace sorrel::waiter
