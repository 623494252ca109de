// What the waiters' page asks of the server, answered as JSON: login and logout, the board, the
// menu, opening a table, the staged lines of the order in hand and its commit with the kitchen
// tickets, and the bill read only. Every answer comes from the front desk's own logic, so a phone
// follows exactly the rules of the desk; this unit only reads the request, checks the session's
// operator as the database holds it now, and turns refusals into error answers. No HTTP here.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "frontdesk/ordering/kitchen_ticket.h"
#include "waiter/waiter_sessions.h"

#include <QJsonObject>
#include <QMap>
#include <functional>

namespace sorrel::waiter {

// The system log's mark of what a phone did, beside the desk's own rows.
inline const QString kWaiterLogMark = QStringLiteral("[手机点单]");
inline const QString kLoginWaitMessage = QStringLiteral("登录失败次数过多，请%1秒后再试！");
inline const QString kOperatorGoneMessage = QStringLiteral("此员工已不存在，请重新登录！");
inline const QString kNoSessionMessage = QStringLiteral("请先登录！");
inline const QString kNoOrderMessage = QStringLiteral("请先选择要点单的台桌！");
inline const QString kOrderTakenMessage = QStringLiteral("此台桌正在由其他点单员点单，请稍后再试！");
inline const QString kNothingStagedMessage = QStringLiteral("没有要落单的消费项目！");
inline const QString kNoSuchItemMessage = QStringLiteral("没有此消费项目：%1");
inline const QString kNoSuchTableMessage = QStringLiteral("没有此台桌：%1");
inline const QString kNoSuchLineMessage = QStringLiteral("此消费项目已不在点单中，请刷新！");

// HTTP status of each kind of answer.
namespace status {
inline constexpr int kOk = 200;
inline constexpr int kBadRequest = 400;
inline constexpr int kNoSession = 401;
inline constexpr int kForbidden = 403;
inline constexpr int kNotFound = 404;
inline constexpr int kRefused = 409;
inline constexpr int kTooMany = 429;
inline constexpr int kFailed = 500;
} // namespace status

struct Reply {
    int status = status::kOk;
    QJsonObject body;

    static Reply ok(QJsonObject body = {}) { return {status::kOk, std::move(body)}; }
    // {"error": message}
    static Reply error(int status, const QString& message);
};

// A request field missing or of the wrong type: answered 400, nothing written.
class BadRequest : public std::runtime_error {
  public:
    explicit BadRequest(const QString& message) : std::runtime_error(message.toStdString()), text_(message) {}
    const QString& text() const { return text_; }

  private:
    QString text_;
};

// Prints one kitchen ticket; answers why it could not, empty when it went out.
using TicketSender = std::function<QString(const ordering::KitchenTicket&)>;

class WaiterService {
  public:
    // `printersFile`: the output points' printers of the server's machine (empty: none named).
    WaiterService(const Clock& clock, SessionStore& sessions, QString printersFile, TicketSender send);

    SessionStore& sessions() { return sessions_; }

    // Runs `step`, turning a refusal into 409, a bad field into 400 and a failed transaction or
    // database error into 500, each with its message.
    static Reply guarded(const std::function<Reply()>& step);

    // {code, password} → {operator, changeToken}; `token` receives the new session's cookie.
    Reply login(Database& db, const QJsonObject& body, const QString& address, QString& token);
    Reply logout(Database& db, const Session& session);
    // None when the session's operator still exists and may take orders; else the answer.
    std::optional<Reply> checkOperator(Database& db, const Session& session);
    Reply whoAmI(const Session& session);

    Reply board(Database& db);
    Reply menu(Database& db);
    // {class} or {typed}: the items of a class, or those whose code or short code starts so.
    Reply items(Database& db, const QJsonObject& query);
    // {table, guests}
    Reply openTable(Database& connection, const Session& session, const QJsonObject& body);
    // {table}: the session takes the table's bill for its order; earlier staged lines go.
    Reply startOrder(Database& db, const Session& session, const QJsonObject& body);
    Reply order(Database& db, const Session& session);
    // {item, quantity?, kind?, note?}
    Reply addItem(Database& connection, const Session& session, const QJsonObject& body);
    // {line, quantity?, kind?, note?}
    Reply changeLine(Database& db, const Session& session, const QJsonObject& body);
    // {line}
    Reply removeLine(Database& db, const Session& session, const QJsonObject& body);
    Reply cancelOrder(Database& db, const Session& session);
    // The commit in three steps, so the write lock is held only while the bill is written and
    // while its lines are marked sent, never while a ticket prints:
    //   commit(): the staged lines saved (stock checked inside the transaction), the board's
    //     copies and the system log, in one transaction; then the session lets go of the bill;
    //     `committed` receives the bill (else the refusal), and bill() answers the phone;
    //   then, on the server's ticket thread, printTickets(): the kitchen tickets of its unsent
    //     lines built and printed, no writing; ticketsSent(): the lines of the tickets that went
    //     out marked sent.
    Reply commit(Database& connection, const Session& session, std::optional<OrderInHand>& committed);
    struct PrintedTickets {
        QList<ordering::KitchenTicket> tickets;
        QMap<QString, QString> failures; // by output point
    };
    PrintedTickets printTickets(Database& db, const OrderInHand& committed);
    // Why each ticket that did not go out failed (its lines stay unsent).
    QStringList ticketsSent(Database& db, const OrderInHand& committed, const PrintedTickets& printed);
    // {table}
    Reply bill(Database& db, const QJsonObject& query);

  private:
    const Clock& clock_;
    SessionStore& sessions_;
    QString printersFile_;
    TicketSender send_;
};

} // namespace sorrel::waiter
