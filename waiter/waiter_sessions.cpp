#include "waiter/waiter_sessions.h"

#include <QRandomGenerator>

namespace sorrel::waiter {

QString randomToken() {
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    QString hex;
    for (quint32 w : words)
        hex += QStringLiteral("%1").arg(w, 8, 16, QLatin1Char('0'));
    return hex;
}

bool SessionStore::alive(const Session& s) const {
    return s.started.secsTo(clock_.now()) < kSessionSeconds;
}

Session SessionStore::start(const QString& operCode, const QString& operName) {
    Session s{randomToken(), randomToken(), operCode, operName, clock_.now(), std::nullopt};
    const std::lock_guard lock(mutex_);
    sessions_.insert(s.token, s);
    return s;
}

std::optional<Session> SessionStore::find(const QString& token) {
    const std::lock_guard lock(mutex_);
    const auto it = sessions_.find(token);
    if (it == sessions_.end()) return std::nullopt;
    if (!alive(*it)) {
        sessions_.erase(it);
        return std::nullopt;
    }
    return *it;
}

void SessionStore::end(const QString& token) {
    const std::lock_guard lock(mutex_);
    sessions_.remove(token);
}

bool SessionStore::takeOrder(const QString& token, const OrderInHand& order, bool takeOver) {
    const std::lock_guard lock(mutex_);
    for (auto it = sessions_.begin(); it != sessions_.end();) {
        if (!alive(*it)) {
            it = sessions_.erase(it);
            continue;
        }
        if (it.key() != token && it->order && it->order->billNumber == order.billNumber) {
            if (!takeOver) return false;
            it->order.reset();
        }
        ++it;
    }
    const auto mine = sessions_.find(token);
    if (mine == sessions_.end()) return false;
    mine->order = order;
    return true;
}

void SessionStore::releaseOrder(const QString& token) {
    const std::lock_guard lock(mutex_);
    const auto it = sessions_.find(token);
    if (it != sessions_.end()) it->order.reset();
}

qint64 SessionStore::waitFor(const QString& address) {
    const std::lock_guard lock(mutex_);
    const auto it = attempts_.constFind(address);
    if (it == attempts_.constEnd() || !it->waitUntil.isValid()) return 0;
    return std::max<qint64>(0, clock_.now().secsTo(it->waitUntil));
}

void SessionStore::loginFailed(const QString& address) {
    const std::lock_guard lock(mutex_);
    Attempts& a = attempts_[address];
    if (++a.failures >= kFailuresBeforeWait) {
        a.failures = 0;
        a.waitUntil = clock_.now().addSecs(kLoginWaitSeconds);
    }
}

void SessionStore::loginSucceeded(const QString& address) {
    const std::lock_guard lock(mutex_);
    attempts_.remove(address);
}

} // namespace sorrel::waiter
