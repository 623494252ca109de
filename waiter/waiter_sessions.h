// Who is logged in on which phone: a random 128-bit session token (the cookie) with its own
// change token, for twelve hours or until logout; the bill each session is taking an order for;
// and the wait imposed on an address after repeated failed logins. Held in memory: a restart of
// the server logs every phone out, which loses nothing but the staged lines' ownership.
#pragma once

#include "common/clock.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <mutex>
#include <optional>

namespace sorrel::waiter {

inline constexpr qint64 kSessionSeconds = 12 * 3600;
inline constexpr int kFailuresBeforeWait = 5;
inline constexpr qint64 kLoginWaitSeconds = 30;

// The bill a session is taking an order for.
struct OrderInHand {
    QString tableCode;
    QString tableName;
    int billNumber = 0;
};

struct Session {
    QString token;
    QString changeToken; // sent back in a header with every change
    QString operCode;
    QString operName;
    QDateTime started;
    std::optional<OrderInHand> order;
};

// 32 hexadecimal digits from the system's random source.
QString randomToken();

class SessionStore {
  public:
    explicit SessionStore(const Clock& clock) : clock_(clock) {}

    Session start(const QString& operCode, const QString& operName);
    // The session of `token`; none when there is none or it has ended (an ended one is dropped).
    std::optional<Session> find(const QString& token);
    void end(const QString& token);

    // Takes bill `order.billNumber` for the session; false when another live session holds it,
    // unless `takeOver` (that session has nothing staged): then it lets the bill go.
    bool takeOrder(const QString& token, const OrderInHand& order, bool takeOver);
    // The session lets its bill go.
    void releaseOrder(const QString& token);

    // Seconds the address must still wait before it may try again; 0 when it may.
    qint64 waitFor(const QString& address);
    // A failed login from `address`; the fifth in a row makes it wait.
    void loginFailed(const QString& address);
    void loginSucceeded(const QString& address);

  private:
    bool alive(const Session& s) const;

    struct Attempts {
        int failures = 0;
        QDateTime waitUntil;
    };

    const Clock& clock_;
    std::mutex mutex_;
    QHash<QString, Session> sessions_;
    QHash<QString, Attempts> attempts_;
};

} // namespace sorrel::waiter
