#include "waiter/waiter_service.h"

#include "waiter/one_transaction.h"

#include "common/business_day.h"
#include "common/db/errors.h"
#include "common/error_log.h"
#include "common/money.h"
#include "common/operators.h"
#include "common/permissions.h"
#include "common/settings_row.h"
#include "common/system_log.h"
#include "common/tables/table_refusals.h"
#include "common/unhandled_error.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/ordering/order_commit.h"
#include "frontdesk/ordering/order_entry.h"
#include "frontdesk/ordering/order_menu.h"
#include "frontdesk/ordering/order_staging.h"
#include "frontdesk/ordering/output_printers.h"
#include "frontdesk/tables/board_tables.h"
#include "frontdesk/tables/opening.h"
#include "frontdesk/tables/table_state.h"
#include "frontdesk/tables/table_work.h"

#include <QJsonArray>
#include <cmath>

namespace sorrel::waiter {

namespace {

const QString kKinds[] = {ordering::kOrdered, ordering::kReturned, ordering::kGift, ordering::kGiftReturned};
// The largest quantity a phone may type on one line.
constexpr double kMostPerLine = 9999;

QString requiredText(const QJsonObject& body, const char* key) {
    const QJsonValue v = body.value(QLatin1String(key));
    if (!v.isString() || v.toString().trimmed().isEmpty())
        throw BadRequest(QStringLiteral("缺少字段或类型不对：%1").arg(QLatin1String(key)));
    return v.toString().trimmed();
}

std::optional<QString> optionalText(const QJsonObject& body, const char* key) {
    const QJsonValue v = body.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull()) return std::nullopt;
    if (!v.isString()) throw BadRequest(QStringLiteral("字段类型不对：%1").arg(QLatin1String(key)));
    return v.toString().trimmed();
}

std::optional<double> optionalQuantity(const QJsonObject& body) {
    const QJsonValue v = body.value(QLatin1String("quantity"));
    if (v.isUndefined() || v.isNull()) return std::nullopt;
    if (!v.isDouble() || !std::isfinite(v.toDouble()) || v.toDouble() < 0 || v.toDouble() > kMostPerLine)
        throw BadRequest(QStringLiteral("数量必须是0到%1之间的数字").arg(kMostPerLine));
    return v.toDouble();
}

int requiredInteger(const QJsonObject& body, const char* key, int least, int most) {
    const QJsonValue v = body.value(QLatin1String(key));
    const double d = v.toDouble(-1);
    if (!v.isDouble() || d != std::floor(d) || d < least || d > most)
        throw BadRequest(
            QStringLiteral("%1必须是%2到%3之间的整数").arg(QLatin1String(key)).arg(least).arg(most));
    return int(d);
}

QJsonArray entries(const QList<ordering::MenuEntry>& list) {
    QJsonArray out;
    for (const ordering::MenuEntry& e : list)
        out.append(QJsonObject{{"code", e.code}, {"name", e.name}});
    return out;
}

QString nameOf(const QList<ordering::MenuEntry>& list, const QString& code) {
    for (const ordering::MenuEntry& e : list)
        if (e.code == code) return e.name;
    return {};
}

QJsonObject operatorJson(const Session& s) {
    return {{"code", s.operCode}, {"name", s.operName}};
}

// The permission as the database holds it now; the refusal as the front desk words it.
std::function<bool(const QString&)> permissionOf(Database& db, const QString& operCode, QString& refusal) {
    return [&db, operCode, &refusal](const QString& code) {
        if (levelMayUse(db, operatorLevel(db, operCode), code)) return true;
        refusal = permissionRefusalMessage(code);
        return false;
    };
}

// The session's bill, if its table still has it open; else why not.
std::optional<Reply> orderStillOpen(Database& db, const Session& session) {
    if (!session.order) return Reply::error(status::kRefused, kNoOrderMessage);
    const QString refusal = ordering::orderingRefusal(db, session.order->tableCode);
    if (!refusal.isEmpty()) return Reply::error(status::kRefused, refusal);
    const std::optional<tables::BoardTable> now = tables::loadBoardTable(db, session.order->tableCode);
    if (!now || now->guestNumber != session.order->billNumber)
        return Reply::error(status::kRefused, tables::tableChangedElsewhereMessage(session.order->tableCode));
    return std::nullopt;
}

QJsonObject stagedJson(Database& db, ordering::OrderStaging& staging, const OrderInHand& order) {
    const billing::BillSettings settings = billing::BillSettings::load(db);
    const QList<ordering::MenuEntry> kindNames = ordering::loadOrderKindNames(db);
    const QList<ordering::MenuEntry> notes = ordering::loadNotes(db);
    QJsonArray lines;
    double total = 0;
    for (const ordering::StagedLine& l : staging.lines()) {
        const double amount =
            stagingLineAmount(l.quantity * l.price, settings.lineRounding, settings.sumRounding);
        total += amount * ordering::kindSigns(l.kind).money;
        lines.append(QJsonObject{{"id", l.id},
                                 {"item", l.itemCode},
                                 {"name", l.itemName},
                                 {"unit", l.unit},
                                 {"quantity", l.quantity},
                                 {"price", l.price},
                                 {"kind", l.kind},
                                 {"kindName", nameOf(kindNames, l.kind)},
                                 {"note", l.note},
                                 {"noteName", nameOf(notes, l.note)},
                                 {"amount", amount}});
    }
    return {{"table", order.tableCode},
            {"tableName", order.tableName},
            {"bill", order.billNumber},
            {"lines", lines},
            {"total", total}};
}

ordering::OrderStaging stagingFor(Database& db, const Session& session, QString& refusal) {
    return ordering::OrderStaging(db, session.order->billNumber, session.order->tableCode, session.operCode,
                                  permissionOf(db, session.operCode, refusal));
}

// What the phone typed over the line as it stands.
ordering::LineEdit typedOver(const ordering::StagedLine& line, const QJsonObject& body) {
    ordering::LineEdit edit;
    edit.quantity = optionalQuantity(body).value_or(line.quantity);
    edit.price = line.price;
    edit.kind = optionalText(body, "kind").value_or(line.kind);
    edit.note = optionalText(body, "note").value_or(line.note);
    edit.staff = line.staff;
    if (std::find(std::begin(kKinds), std::end(kKinds), edit.kind) == std::end(kKinds))
        throw BadRequest(QStringLiteral("没有此点单类型：%1").arg(edit.kind));
    return edit;
}

void checkNote(Database& db, const QString& note) {
    if (!note.isEmpty() && nameOf(ordering::loadNotes(db), note).isEmpty())
        throw BadRequest(QStringLiteral("没有此口味说明：%1").arg(note));
}

// Writes the typed line: through the front desk's checks when the quantity or kind changed,
// straight when only the note did (as the desk posts a note). Answers the refusal, if any.
std::optional<Reply> applyEdit(Database& db, ordering::OrderStaging& staging,
                               const ordering::StagedLine& line, const ordering::LineEdit& edit, bool check,
                               const QString& refusal, QString& warning) {
    checkNote(db, edit.note);
    if (!check && edit.quantity == line.quantity && edit.kind == line.kind) {
        staging.post(line.id, edit);
        return std::nullopt;
    }
    const ordering::Verdict verdict = staging.validate(line.id, edit);
    if (!verdict.accepted)
        return Reply::error(status::kRefused, verdict.message.isEmpty() ? refusal : verdict.message);
    warning = verdict.message;
    return std::nullopt;
}

// The staged lines after an edit: with its refusal when it was refused, else with any warning.
Reply stagedReply(Database& db, ordering::OrderStaging& staging, const OrderInHand& order,
                  const std::optional<Reply>& refused, const QString& warning) {
    const QJsonObject lines = stagedJson(db, staging, order);
    if (refused) {
        Reply r = *refused;
        r.body.insert("order", lines);
        return r;
    }
    QJsonObject out = lines;
    if (!warning.isEmpty()) out.insert("warning", warning);
    return Reply::ok(out);
}

QJsonObject itemJson(const ordering::OrderItem& i) {
    return {{"code", i.code},   {"name", i.name},   {"unit", i.unit},         {"shortCode", i.shortCode},
            {"price", i.price}, {"stock", i.stock}, {"limited", i.limited()}, {"disabled", i.disabled()}};
}

} // namespace

Reply Reply::error(int status, const QString& message) {
    return {status, QJsonObject{{"error", message}}};
}

WaiterService::WaiterService(const Clock& clock, SessionStore& sessions, QString printersFile,
                             TicketSender send)
    : clock_(clock), sessions_(sessions), printersFile_(std::move(printersFile)), send_(std::move(send)) {}

Reply WaiterService::guarded(const std::function<Reply()>& step) {
    try {
        return step();
    } catch (const BadRequest& bad) {
        return Reply::error(status::kBadRequest, bad.text());
    } catch (const StepRefused& refused) {
        return Reply::error(status::kRefused, refused.text());
    } catch (const CodedFailure& failure) {
        // The engine's own words and the statement go to the log, never to a waiter's phone.
        const QString reference = errorlog::write(QStringLiteral("点单服务"), failure.detail());
        return Reply::error(
            status::kFailed,
            QStringLiteral("系统发生错误编码[%1]，错误记录编号[%2]").arg(failure.code(), reference));
    } catch (const DbError& error) {
        const QString reference = errorlog::write(QStringLiteral("点单服务"), error.text());
        return Reply::error(status::kFailed,
                            kInternalErrorMessage + QStringLiteral("错误记录编号[%1]").arg(reference));
    }
}

Reply WaiterService::login(Database& db, const QJsonObject& body, const QString& address, QString& token) {
    if (const qint64 wait = sessions_.waitFor(address); wait > 0)
        return Reply::error(status::kTooMany, kLoginWaitMessage.arg(wait));
    const QString code = requiredText(body, "code");
    const QJsonValue password = body.value(QLatin1String("password"));
    if (!password.isString()) throw BadRequest(QStringLiteral("缺少字段或类型不对：password"));
    const std::optional<OperatorEntry> op = findOperator(db, code, password.toString());
    if (!op) {
        sessions_.loginFailed(address);
        return Reply::error(status::kNoSession, kUnknownOperatorMessage);
    }
    sessions_.loginSucceeded(address);
    if (!levelMayUse(db, op->manaCode, ordering::kOrderingPermission))
        return Reply::error(status::kForbidden, permissionRefusalMessage(ordering::kOrderingPermission));
    const Session s = sessions_.start(op->code, op->name);
    logSet(db, clock_, op->code, kWaiterLogMark + QStringLiteral("[登录系统]"));
    token = s.token;
    return Reply::ok({{"operator", operatorJson(s)}, {"changeToken", s.changeToken}});
}

Reply WaiterService::logout(Database& db, const Session& session) {
    if (session.order) {
        QString refusal;
        stagingFor(db, session, refusal).begin();
    }
    sessions_.end(session.token);
    logSet(db, clock_, session.operCode, kWaiterLogMark + QStringLiteral("[退出系统]"));
    return Reply::ok();
}

std::optional<Reply> WaiterService::checkOperator(Database& db, const Session& session) {
    const QString level = operatorLevel(db, session.operCode);
    if (level.isEmpty()) {
        sessions_.end(session.token);
        return Reply::error(status::kNoSession, kOperatorGoneMessage);
    }
    if (!levelMayUse(db, level, ordering::kOrderingPermission))
        return Reply::error(status::kForbidden, permissionRefusalMessage(ordering::kOrderingPermission));
    return std::nullopt;
}

Reply WaiterService::whoAmI(const Session& session) {
    QJsonObject body{{"operator", operatorJson(session)}, {"changeToken", session.changeToken}};
    if (session.order) body.insert("order", QJsonObject{{"table", session.order->tableCode}});
    return Reply::ok(body);
}

Reply WaiterService::board(Database& db) {
    const tables::BoardMasterData master = tables::loadBoardMasterData(db);
    QJsonArray departments;
    for (const tables::Department& d : master.departments)
        departments.append(QJsonObject{{"code", d.code}, {"name", d.name}});
    QJsonArray states;
    for (int i = 0; i < tables::stateNames().size(); ++i)
        states.append(QJsonObject{{"code", QString::number(i + 1)}, {"name", tables::stateNames()[i]}});
    QJsonArray list;
    for (const tables::BoardTable& t : tables::loadBoardTables(db, tables::BoardSort::ByCode)) {
        const tables::TableChoice choice = tables::choiceFor(t.state);
        list.append(QJsonObject{{"code", t.code},
                                {"name", t.name},
                                {"dept", t.deptCode},
                                {"type", t.typeName},
                                {"state", t.state},
                                {"stateName", t.stateName},
                                {"guests", t.guestCount},
                                {"amount", t.guestAmount},
                                {"time", t.guestNumber ? tables::boardTime(t.guestTime) : QString()},
                                {"canOpen", choice == tables::TableChoice::Register},
                                {"canOrder", choice == tables::TableChoice::Continue},
                                {"hasBill", t.guestNumber != 0}});
    }
    return Reply::ok({{"departments", departments},
                      {"states", states},
                      {"tables", list},
                      {"dayOpen", businessDayOpen(db)}});
}

Reply WaiterService::menu(Database& db) {
    QJsonArray kinds;
    for (const ordering::MenuEntry& k : ordering::loadKinds(db))
        kinds.append(QJsonObject{
            {"code", k.code}, {"name", k.name}, {"classes", entries(ordering::loadClasses(db, k.code))}});
    const QList<ordering::MenuEntry> kindNames = ordering::loadOrderKindNames(db);
    QJsonArray orderKinds;
    for (const QString& k : kKinds)
        orderKinds.append(
            QJsonObject{{"code", k}, {"name", nameOf(kindNames, k).isEmpty() ? k : nameOf(kindNames, k)}});
    return Reply::ok(
        {{"kinds", kinds}, {"notes", entries(ordering::loadNotes(db))}, {"orderKinds", orderKinds}});
}

Reply WaiterService::items(Database& db, const QJsonObject& query) {
    const std::optional<QString> classCode = optionalText(query, "class");
    QList<ordering::OrderItem> found;
    if (classCode && !classCode->isEmpty())
        found = ordering::loadOrderItems(db, *classCode);
    else
        found = ordering::matchingItems(ordering::loadOrderItems(db),
                                        optionalText(query, "typed").value_or(QString()));
    QJsonArray out;
    for (const ordering::OrderItem& i : found)
        out.append(itemJson(i));
    return Reply::ok({{"items", out}});
}

Reply WaiterService::openTable(Database& connection, const Session& session, const QJsonObject& body) {
    // The bill opened and its log line: one transaction, re-reading the table inside it.
    return inOneTransaction(connection, [&](Database& db) -> Reply {
        const QString code = requiredText(body, "table");
        const int guests = requiredInteger(body, "guests", 1, 999);
        if (!businessDayOpen(db)) return Reply::error(status::kRefused, kDayNotStartedMessage);
        QString refusal;
        const auto allowed = permissionOf(db, session.operCode, refusal);
        if (!allowed(tables::kTableOperationPermission) || !allowed(tables::kOpeningPermission))
            return Reply::error(status::kForbidden, refusal);
        const std::optional<tables::BoardTable> now = tables::loadBoardTable(db, code);
        if (!now) return Reply::error(status::kNotFound, kNoSuchTableMessage.arg(code));
        if (tables::choiceFor(now->state) != tables::TableChoice::Register)
            return Reply::error(status::kRefused, tables::tableChangedElsewhereMessage(code));
        billing::GuestRecord typed = tables::newGuestRecord(db, *now, loadSettingsRow(db).ordeCode, clock_);
        typed.tabl_gues_coun = guests;
        const billing::GuestRecord saved =
            tables::openTable(db, typed, billing::BillSettings::load(db), clock_, std::nullopt);
        logSet(db, clock_, session.operCode,
               kWaiterLogMark + QStringLiteral("[开台]%1,单号%2").arg(code).arg(saved.tabl_gues_auto_recn));
        return Reply::ok({{"table", code}, {"bill", saved.tabl_gues_auto_recn}});
    });
}

Reply WaiterService::startOrder(Database& db, const Session& session, const QJsonObject& body) {
    const QString code = requiredText(body, "table");
    if (const QString refusal = ordering::orderingRefusal(db, code); !refusal.isEmpty())
        return Reply::error(status::kRefused, refusal);
    const std::optional<tables::BoardTable> now = tables::loadBoardTable(db, code);
    const OrderInHand order{code, now->name, now->guestNumber};
    if (session.order && session.order->billNumber != order.billNumber) cancelOrder(db, session);
    const bool again = session.order && session.order->billNumber == order.billNumber;
    Session mine = session;
    mine.order = order;
    QString refusal;
    ordering::OrderStaging staging = stagingFor(db, mine, refusal);
    // A phone that holds the bill with nothing staged (its order committed, the phone put away)
    // does not keep the others from it.
    if (!sessions_.takeOrder(session.token, order, staging.empty()))
        return Reply::error(status::kRefused, kOrderTakenMessage);
    // Coming back to the same bill (the phone reloaded its page) keeps what it staged.
    if (!again) staging.begin();
    return Reply::ok(stagedJson(db, staging, order));
}

Reply WaiterService::order(Database& db, const Session& session) {
    if (const std::optional<Reply> closed = orderStillOpen(db, session)) return *closed;
    QString refusal;
    ordering::OrderStaging staging = stagingFor(db, session, refusal);
    return Reply::ok(stagedJson(db, staging, *session.order));
}

Reply WaiterService::addItem(Database& connection, const Session& session, const QJsonObject& body) {
    // The bill's state, the item's stock, the line chosen and checked, the lines answered: one
    // transaction. A refused check keeps the line chosen, as at the desk.
    return inOneTransaction(connection, [&](Database& db) -> Reply {
        if (const std::optional<Reply> closed = orderStillOpen(db, session)) return *closed;
        const QString code = requiredText(body, "item");
        const std::optional<ordering::OrderItem> item = ordering::loadOrderItem(db, code);
        if (!item) return Reply::error(status::kNotFound, kNoSuchItemMessage.arg(code));
        // Every field is checked before the item is chosen, so a bad one writes nothing.
        optionalQuantity(body);
        if (const std::optional<QString> kind = optionalText(body, "kind");
            kind && std::find(std::begin(kKinds), std::end(kKinds), *kind) == std::end(kKinds))
            throw BadRequest(QStringLiteral("没有此点单类型：%1").arg(*kind));
        checkNote(db, optionalText(body, "note").value_or(QString()));
        QString refusal;
        ordering::OrderStaging staging = stagingFor(db, session, refusal);
        const ordering::Choice choice = staging.choose(*item);
        if (choice.lineId == 0) return Reply::error(status::kRefused, choice.message);
        QString warning = choice.message;
        const std::optional<ordering::StagedLine> line = staging.line(choice.lineId);
        if (!line) return stagedReply(db, staging, *session.order, std::nullopt, warning);
        const std::optional<Reply> refused =
            applyEdit(db, staging, *line, typedOver(*line, body), choice.appended, refusal, warning);
        return stagedReply(db, staging, *session.order, refused, warning);
    });
}

Reply WaiterService::changeLine(Database& db, const Session& session, const QJsonObject& body) {
    if (const std::optional<Reply> closed = orderStillOpen(db, session)) return *closed;
    const int id = requiredInteger(body, "line", 1, std::numeric_limits<int>::max());
    QString refusal;
    ordering::OrderStaging staging = stagingFor(db, session, refusal);
    const std::optional<ordering::StagedLine> line = staging.line(id);
    if (!line) return Reply::error(status::kNotFound, kNoSuchLineMessage);
    QString warning;
    const std::optional<Reply> refused =
        applyEdit(db, staging, *line, typedOver(*line, body), false, refusal, warning);
    return stagedReply(db, staging, *session.order, refused, warning);
}

Reply WaiterService::removeLine(Database& db, const Session& session, const QJsonObject& body) {
    if (const std::optional<Reply> closed = orderStillOpen(db, session)) return *closed;
    const int id = requiredInteger(body, "line", 1, std::numeric_limits<int>::max());
    QString refusal;
    ordering::OrderStaging staging = stagingFor(db, session, refusal);
    if (!staging.line(id)) return Reply::error(status::kNotFound, kNoSuchLineMessage);
    staging.remove(id);
    return Reply::ok(stagedJson(db, staging, *session.order));
}

Reply WaiterService::cancelOrder(Database& db, const Session& session) {
    if (!session.order) return Reply::ok();
    QString refusal;
    stagingFor(db, session, refusal).begin();
    sessions_.releaseOrder(session.token);
    return Reply::ok();
}

Reply WaiterService::commit(Database& connection, const Session& session,
                            std::optional<OrderInHand>& committed) {
    committed.reset();
    if (!session.order) return Reply::error(status::kRefused, kNoOrderMessage);
    const OrderInHand order = *session.order;
    // The bill's transaction, the board's copies and the log line: one transaction, so an order
    // is either on the bill with its log line or not at all, and the session keeps it until then.
    const std::optional<Reply> refused =
        inOneTransaction(connection, [&](Database& db) -> std::optional<Reply> {
            QString refusal;
            ordering::OrderStaging staging = stagingFor(db, session, refusal);
            if (staging.empty()) return Reply::error(status::kRefused, kNothingStagedMessage);
            const int lineCount = int(staging.lines().size());
            ordering::commitOrder(db, order.billNumber, clock_, {}, order.tableCode);
            // As the desk does on its way back to the board: the board's copies follow the bill.
            tables::leaveTable(db, nullptr);
            logSet(db, clock_, session.operCode,
                   kWaiterLogMark + QStringLiteral("[落单]%1,单号%2,%3项")
                                        .arg(order.tableCode)
                                        .arg(order.billNumber)
                                        .arg(lineCount));
            return std::nullopt;
        });
    if (refused) return *refused;
    sessions_.releaseOrder(session.token);
    committed = order;
    return Reply::ok();
}

WaiterService::PrintedTickets WaiterService::printTickets(Database& db, const OrderInHand& committed) {
    const ordering::OutputPrinters printers =
        printersFile_.isEmpty() ? ordering::OutputPrinters() : ordering::OutputPrinters::load(printersFile_);
    PrintedTickets out;
    out.tickets = ordering::kitchenTickets(db, committed.billNumber, {committed.tableCode, committed.tableName},
                                           printers, clock_);
    for (const ordering::KitchenTicket& t : out.tickets)
        if (t.lineCount > 0)
            if (const QString failure = send_(t); !failure.isEmpty()) out.failures.insert(t.point, failure);
    return out;
}

QStringList WaiterService::ticketsSent(Database& db, const OrderInHand& committed, const PrintedTickets& printed) {
    return ordering::sendKitchenTickets(
        db, committed.billNumber, printed.tickets,
        [&printed](const ordering::KitchenTicket& t) { return printed.failures.value(t.point); });
}

Reply WaiterService::bill(Database& db, const QJsonObject& query) {
    const QString code = requiredText(query, "table");
    const tables::WorkTable work = tables::settledTable(db, code);
    QJsonArray lines;
    for (int i = 0; i < work.lines.rowCount(); ++i)
        lines.append(QJsonObject{{"name", work.lines.text(i, "item_name")},
                                 {"unit", work.lines.text(i, "item_unit")},
                                 {"price", work.lines.number(i, "item_unit_pric")},
                                 {"quantity", work.lines.number(i, "tabl_cons_coun")},
                                 {"amount", work.lines.number(i, "tabl_cons_tota")},
                                 {"kindName", work.lines.text(i, "menu_type_name")},
                                 {"noteName", work.lines.text(i, "cons_narr_name")},
                                 {"sent", work.lines.flag(i, "tabl_cons_tran")}});
    return Reply::ok({{"table", code},
                      {"tableName", work.table.name},
                      {"bill", work.guest.tabl_gues_auto_recn},
                      {"guests", work.guest.tabl_gues_coun},
                      {"lines", lines},
                      {"consumed", work.guest.tabl_gues_dish + work.guest.tabl_gues_spec},
                      {"total", work.guest.tabl_gues_shou},
                      {"open", work.open()}});
}

} // namespace sorrel::waiter
