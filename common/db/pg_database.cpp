#include "common/db/pg_database.h"

#include "common/db/errors.h"
#include "common/db/lock_wait.h"
#include "common/db/pg_values.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <libpq-fe.h>
#include <poll.h>
#include <vector>

namespace sorrel {

namespace {

// Prepared statements kept per connection, as on the file engine.
constexpr int kStatementCache = 128;
// Writes queued before the connection waits for their answers anyway: the server's answers pile
// up unread meanwhile, and a long run of writes (a copy of a venue) must not fill the socket.
constexpr size_t kPipelineDepth = 64;
// Seconds a workstation waits for an unreachable server before telling the staff.
constexpr int kConnectTimeoutSeconds = 5;
// A connection that goes quiet is probed after this many seconds, then every few seconds, and
// given up after a few unanswered probes: by the workstation when the server vanished, and by the
// server (the session's own settings) when a workstation vanished with its Wi-Fi.
constexpr const char* kKeepaliveIdleSeconds = "10";
constexpr const char* kKeepaliveIntervalSeconds = "5";
constexpr const char* kKeepaliveCount = "3";
// While the transaction's first trip waits for the writing lock, the workstation looks up this
// often to tell the program that it still waits.
constexpr int kWaitSliceMs = 25;
// Session settings: the canonical date-time form on output; a workstation waits for the writing
// lock as long as the file engine waits for its write lock (the bound), then the step is refused
// as busy; a session silent inside its transaction for twice that long has vanished, and the server
// ends it and frees its lock; and a commit returns only once the server has it on its disk,
// whatever the server's own default, so a bill number handed out survives a power cut.
QByteArray sessionOptions() {
    return QStringLiteral("-c DateStyle=ISO,YMD -c lock_timeout=%1 -c idle_in_transaction_session_timeout=%2 "
                          "-c synchronous_commit=on -c tcp_keepalives_idle=%3 -c tcp_keepalives_interval=%4 "
                          "-c tcp_keepalives_count=%5")
        .arg(lock_wait::boundMs())
        .arg(lock_wait::idleInTransactionMs())
        .arg(QLatin1String(kKeepaliveIdleSeconds), QLatin1String(kKeepaliveIntervalSeconds),
             QLatin1String(kKeepaliveCount))
        .toUtf8();
}
// A transaction takes the database's one writing lock before its first statement, as the file
// engine's BEGIN IMMEDIATE does: workstations change the venue one after another, so no two of
// them act on the same stale reading (both seating a party at the same free table) and none
// deadlocks another. Readers outside a transaction never wait. The number only names this
// system's lock. Both go to the server with the transaction's first statement, in its trip.
constexpr const char* kBegin = "BEGIN";
// One snapshot for every statement of the transaction, and no writing lock.
constexpr const char* kBeginReading = "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY";
constexpr const char* kTakeWritingLock = "SELECT pg_advisory_xact_lock(1399813234)";

// The statement's first word in capitals ("SELECT", "INSERT", "CREATE", …).
QString firstWord(const QString& sql) {
    qsizetype from = 0;
    while (from < sql.size() && (sql[from].isSpace() || sql[from] == QLatin1Char('(')))
        ++from;
    qsizetype to = from;
    while (to < sql.size() && sql[to].isLetter())
        ++to;
    return sql.mid(from, to - from).toUpper();
}

// Only data statements are kept prepared: a statement that changes the tables themselves would
// leave kept "SELECT *" plans describing columns that are gone.
bool isDataStatement(const QString& sql) {
    const QString head = firstWord(sql);
    return head == QLatin1String("SELECT") || head == QLatin1String("INSERT") ||
           head == QLatin1String("UPDATE") || head == QLatin1String("DELETE") ||
           head == QLatin1String("WITH");
}

// A session setting leaves the tables as they are, so the kept statements stay: the server plans
// a kept statement again by itself when a setting it depends on changes.
bool keepsPlans(const QString& sql) {
    const QString head = firstWord(sql);
    return head == QLatin1String("SET") || head == QLatin1String("RESET") || head == QLatin1String("SHOW");
}

QString connectionProblem(const ServerSettings& s, PGconn* conn) {
    const QString why = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    if (why.contains(QLatin1String("authentication failed")) ||
        why.contains(QLatin1String("no password supplied")) || why.contains(QLatin1String("role \"")))
        return QStringLiteral("数据库服务器拒绝登录，请检查用户名和密码：%1（%2）").arg(s.describe(), why);
    if (why.contains(QLatin1String("database \"")) && why.contains(QLatin1String("does not exist")))
        return QStringLiteral("数据库服务器上没有数据库 %1：%2（%3）").arg(s.database, s.describe(), why);
    return QStringLiteral("无法连接数据库服务器，请检查服务器是否已启动、地址和端口是否正确：%1（%2）")
        .arg(s.describe(), why);
}

} // namespace

PgDatabase::PgDatabase(const ServerSettings& settings) : settings_(settings) {
    const QByteArray host = settings.host.toUtf8(), port = QByteArray::number(settings.port),
                     db = settings.database.toUtf8(), user = settings.user.toUtf8(),
                     password = settings.password.toUtf8(),
                     timeout = QByteArray::number(kConnectTimeoutSeconds), options = sessionOptions();
    const char* keys[] = {"host",
                          "port",
                          "dbname",
                          "user",
                          "password",
                          "connect_timeout",
                          "client_encoding",
                          "application_name",
                          "options",
                          "keepalives",
                          "keepalives_idle",
                          "keepalives_interval",
                          "keepalives_count",
                          nullptr};
    const char* values[] = {host.constData(),
                            port.constData(),
                            db.constData(),
                            user.constData(),
                            password.constData(),
                            timeout.constData(),
                            "UTF8",
                            "sorrel",
                            options.constData(),
                            "1",
                            kKeepaliveIdleSeconds,
                            kKeepaliveIntervalSeconds,
                            kKeepaliveCount,
                            nullptr};
    conn_ = PQconnectdbParams(keys, values, 0);
    if (!conn_)
        throw DbError(QStringLiteral("无法连接数据库服务器：%1（内存不足）").arg(settings.describe()));
    if (PQstatus(conn_) != CONNECTION_OK) {
        const QString message = connectionProblem(settings, conn_);
        PQfinish(conn_);
        conn_ = nullptr;
        throw DbError(message);
    }
    // The server's notices ("there is no transaction in progress", …) are not for the staff.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
}

PgDatabase::~PgDatabase() {
    if (conn_) PQfinish(conn_);
}

QString PgDatabase::location() const {
    return QStringLiteral("%1:%2/%3").arg(settings_.host).arg(settings_.port).arg(settings_.database);
}

void PgDatabase::fail(PGresult* result, const QString& sql) const {
    QString message;
    // The writing lock stayed taken for the whole bound (lock_not_available, or the statement
    // cancelled while it waited): a refusal for the operator, not a failure.
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    if (state && (std::strcmp(state, "55P03") == 0 || std::strcmp(state, "57014") == 0)) {
        PQclear(result);
        throw DatabaseBusy();
    }
    if (result) {
        message = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
        const QString detail = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL));
        if (!detail.isEmpty()) message += QStringLiteral(" (") + detail + QLatin1Char(')');
        PQclear(result);
    }
    if (message.isEmpty()) message = QString::fromUtf8(PQerrorMessage(conn_)).trimmed();
    if (PQstatus(conn_) != CONNECTION_OK)
        message = QStringLiteral("与数据库服务器的连接已断开：%1（%2）").arg(location(), message);
    if (!sql.isEmpty()) message += QStringLiteral("\nSQL: ") + sql;
    throw DbError(message);
}

void PgDatabase::reconnectIfLost() {
    // Only before a transaction has sent anything, and only before a statement is sent: a
    // statement whose answer was lost is never sent twice.
    if (PQstatus(conn_) == CONNECTION_OK || (inTransaction_ && !beginPending_)) return;
    reconnect();
}

void PgDatabase::reconnect() {
    statements_.clear();
    PQreset(conn_);
    if (PQstatus(conn_) != CONNECTION_OK) throw DbError(connectionProblem(settings_, conn_));
}

void PgDatabase::simple(const char* command) {
    PGresult* result = PQexec(conn_, command);
    if (PQresultStatus(result) != PGRES_COMMAND_OK) fail(result, QString::fromLatin1(command));
    PQclear(result);
}

namespace {
bool succeeded(const PGresult* result) {
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}
} // namespace

struct PgDatabase::Bound {
    Bound() = default;
    Bound(const Bound&) = delete;
    Bound(Bound&&) = default;

    QString sql;     // as the step wrote it, for messages
    QByteArray text; // with the server's numbered placeholders
    QString key;     // the text and the values' types: one kept statement each
    bool data = false;
    std::vector<pg::Bound> bound; // `values` points into these
    std::vector<Oid> types;
    std::vector<const char*> values;
    std::vector<int> lengths, formats;
};

PgDatabase::Bound PgDatabase::bind(const QString& sql, const QVariantList& params) const {
    const pg::Placeholders numbered = pg::numberPlaceholders(sql);
    if (numbered.compared.size() != params.size())
        throw DbError(QStringLiteral("statement expects %1 values, %2 given\nSQL: %3")
                          .arg(numbered.compared.size())
                          .arg(params.size())
                          .arg(sql));
    refuseTextWithNul(params, sql);
    Bound b;
    b.sql = sql;
    b.data = isDataStatement(sql);
    b.key = numbered.sql;
    b.bound.reserve(params.size());
    for (int i = 0; i < params.size(); ++i)
        b.bound.push_back(pg::bindValue(params[i], numbered.compared[i]));
    for (const pg::Bound& v : b.bound) {
        b.types.push_back(v.type);
        b.values.push_back(v.null ? nullptr : v.text.constData());
        b.lengths.push_back(int(v.text.size()));
        b.formats.push_back(v.binary ? 1 : 0);
        b.key += QLatin1Char(',') + QString::number(v.type);
    }
    b.text = numbered.sql.toUtf8();
    return b;
}

PGresult* PgDatabase::send(const Bound& b) {
    const int n = int(b.types.size());
    if (!b.data) {
        PGresult* result = PQexecParams(conn_, b.text.constData(), n, b.types.data(), b.values.data(),
                                        b.lengths.data(), b.formats.data(), 0);
        if (succeeded(result) && !statements_.isEmpty() && !keepsPlans(b.sql)) {
            ++roundTrips_;
            statements_.clear();
            PQclear(PQexec(conn_, "DEALLOCATE ALL"));
        }
        return result;
    }
    auto found = statements_.constFind(b.key);
    if (found == statements_.constEnd()) {
        if (statements_.size() >= kStatementCache) {
            ++roundTrips_;
            statements_.clear();
            PQclear(PQexec(conn_, "DEALLOCATE ALL"));
        }
        const QByteArray name = QByteArrayLiteral("sorrel_") + QByteArray::number(++statementSerial_);
        // Preparing is a wait of its own.
        ++roundTrips_;
        PGresult* made = PQprepare(conn_, name.constData(), b.text.constData(), n, b.types.data());
        if (!succeeded(made)) return made;
        PQclear(made);
        found = statements_.insert(b.key, name);
    }
    return PQexecPrepared(conn_, found->constData(), n, b.values.data(), b.lengths.data(), b.formats.data(),
                          0);
}

PGresult* PgDatabase::run(const QString& sql, const QVariantList& params) {
    refuseWhileWaiting();
    reconnectIfLost();
    ++roundTrips_;
    const Bound b = bind(sql, params);
    if (!beginPending_) return runBound(b, sql);
    beginPending_ = false;
    queueBegin();
    try {
        return runBound(b, sql);
    } catch (const DbError&) {
        if (PQstatus(conn_) == CONNECTION_OK) throw;
        // The transaction's first statement found the connection gone (the server restarted, or
        // dropped an idle workstation overnight). Nothing of the transaction was done, so it begins
        // again on a fresh connection.
        reconnect();
        ++roundTrips_;
        queueBegin();
        return runBound(b, sql);
    }
}

PGresult* PgDatabase::runBound(const Bound& b, const QString& sql) {
    if (!queued_.empty()) {
        // The writes queued before it go with this statement, in one trip; a statement that cannot
        // be kept prepared goes alone after them.
        if (b.data && (statements_.contains(b.key) || statements_.size() < kStatementCache))
            return syncPipeline(&b);
        ++roundTrips_;
        syncPipeline(nullptr);
    }
    PGresult* result = send(b);
    // The server restarted or dropped an idle workstation overnight: a read between transactions
    // is asked again on a fresh connection instead of closing the program.
    const bool readOnly = firstWord(sql) == QLatin1String("SELECT");
    if (!succeeded(result) && PQstatus(conn_) != CONNECTION_OK && !inTransaction_ && readOnly) {
        PQclear(result);
        reconnectIfLost();
        result = send(b);
    }
    if (!succeeded(result)) fail(result, sql);
    return result;
}

void PgDatabase::execLater(const QString& sql, const QVariantList& params) {
    refuseWhileWaiting();
    // A transaction's first statement waits for its answer: a connection found gone then is made
    // again before anything of the transaction was done.
    if (!inTransaction_ || beginPending_ || PQstatus(conn_) != CONNECTION_OK) {
        exec(sql, params);
        return;
    }
    const Bound b = bind(sql, params);
    if (!b.data || (!statements_.contains(b.key) && statements_.size() >= kStatementCache)) {
        exec(sql, params);
        return;
    }
    queue(b);
}

void PgDatabase::queueText(const char* command) {
    if (queued_.empty() && PQenterPipelineMode(conn_) != 1) fail(nullptr, QString::fromLatin1(command));
    if (PQsendQueryParams(conn_, command, 0, nullptr, nullptr, nullptr, nullptr, 0) != 1) {
        dropPipeline();
        fail(nullptr, QString::fromLatin1(command));
    }
    queued_.push_back({QString::fromLatin1(command), QString(), false});
}

void PgDatabase::queueBegin() {
    if (readingOnly_) {
        queueText(kBeginReading);
        return;
    }
    queueText(kBegin);
    queueText(kTakeWritingLock);
}

void PgDatabase::queue(const Bound& b) {
    if (queued_.size() >= kPipelineDepth) {
        ++roundTrips_;
        syncPipeline(nullptr);
    }
    if (queued_.empty() && PQenterPipelineMode(conn_) != 1) fail(nullptr, b.sql);
    const int n = int(b.types.size());
    auto found = statements_.constFind(b.key);
    if (found == statements_.constEnd()) {
        const QByteArray name = QByteArrayLiteral("sorrel_") + QByteArray::number(++statementSerial_);
        if (PQsendPrepare(conn_, name.constData(), b.text.constData(), n, b.types.data()) != 1) {
            dropPipeline();
            fail(nullptr, b.sql);
        }
        found = statements_.insert(b.key, name);
        queued_.push_back({b.sql, b.key, true});
    }
    if (PQsendQueryPrepared(conn_, found->constData(), n, b.values.data(), b.lengths.data(), b.formats.data(),
                            0) != 1) {
        dropPipeline();
        fail(nullptr, b.sql);
    }
    queued_.push_back({b.sql, QString(), false});
}

PGresult* PgDatabase::syncPipeline(const Bound* last, const char* lastText) {
    if (last) {
        queue(*last);
    } else if (lastText) {
        queueText(lastText);
    }
    const bool wantLast = last || lastText;
    const std::vector<Queued> sent = std::move(queued_);
    queued_.clear();
    // The transaction's first trip waits for the writing lock; the program hears that it waits.
    const bool takesLock = std::any_of(
        sent.begin(), sent.end(), [](const Queued& q) { return q.sql == QLatin1String(kTakeWritingLock); });
    std::optional<LockWait> wait;
    PGresult* answer = nullptr;
    PGresult* failure = nullptr;
    QString failedSql;
    bool lost = PQpipelineSync(conn_) != 1;
    for (size_t i = 0; i < sent.size() && !lost; ++i) {
        if (takesLock) awaitAnswer(wait);
        PGresult* result = PQgetResult(conn_);
        if (!result) {
            lost = true;
            break;
        }
        while (PGresult* more = PQgetResult(conn_)) // the end of this statement's answers
            PQclear(more);
        const bool ok = succeeded(result);
        if (sent[i].prepare && !ok) statements_.remove(sent[i].key);
        if (ok && wantLast && i + 1 == sent.size()) {
            answer = result;
        } else if (!ok && !failure && PQresultStatus(result) != PGRES_PIPELINE_ABORTED) {
            failure = result;
            failedSql = sent[i].sql;
        } else {
            PQclear(result);
        }
    }
    if (!lost) {
        PGresult* synced = PQgetResult(conn_);
        lost = PQresultStatus(synced) != PGRES_PIPELINE_SYNC;
        PQclear(synced);
    }
    if (lost || PQexitPipelineMode(conn_) != 1) {
        // The connection broke under the pipeline: nothing of it can be trusted, and no statement
        // is kept prepared any more.
        for (const Queued& q : sent)
            if (q.prepare) statements_.remove(q.key);
        PQclear(answer);
        PQclear(failure);
        fail(nullptr, sent.empty() ? QString() : sent.back().sql);
    }
    if (failure) {
        PQclear(answer);
        fail(failure, failedSql);
    }
    return answer;
}

void PgDatabase::awaitAnswer(std::optional<LockWait>& wait) {
    while (PQisBusy(conn_)) {
        pollfd socket{PQsocket(conn_), POLLIN, 0};
        if (socket.fd < 0) return;
        const int ready = poll(&socket, 1, kWaitSliceMs);
        if (ready < 0 && errno != EINTR) return;
        if (ready > 0) {
            // A broken connection is for PQgetResult() to report.
            if (PQconsumeInput(conn_) != 1) return;
            continue;
        }
        if (!wait) wait.emplace(inWait_);
        wait->tell();
    }
}

void PgDatabase::dropPipeline() {
    try {
        PQclear(syncPipeline(nullptr));
    } catch (const DbError&) {
        // The transaction is being given up; what failed in it no longer matters.
    }
}

int PgDatabase::exec(const QString& sql, const QVariantList& params) {
    PGresult* result = run(sql, params);
    const int changed = QByteArray(PQcmdTuples(result)).toInt();
    PQclear(result);
    return changed;
}

RecordSet PgDatabase::query(const QString& sql, const QVariantList& params) {
    PGresult* result = run(sql, params);
    const int columnCount = PQnfields(result);
    const int rowCount = PQntuples(result);
    QStringList columns;
    for (int c = 0; c < columnCount; ++c)
        columns << QString::fromUtf8(PQfname(result, c));
    QList<QVariantList> rows;
    rows.reserve(rowCount);
    for (int r = 0; r < rowCount; ++r) {
        QVariantList row;
        row.reserve(columnCount);
        for (int c = 0; c < columnCount; ++c)
            row << pg::readValue(result, r, c);
        rows.append(std::move(row));
    }
    PQclear(result);
    return RecordSet(columns, rows);
}

void PgDatabase::begin() {
    refuseWhileWaiting();
    if (inTransaction_) throw DbError(QStringLiteral("a transaction is already open on this connection"));
    reconnectIfLost();
    // BEGIN waits for the transaction's first statement and goes with it.
    inTransaction_ = true;
    beginPending_ = true;
    readingOnly_ = false;
}

void PgDatabase::beginReading() {
    begin();
    readingOnly_ = true;
}

void PgDatabase::commit() {
    refuseWhileWaiting();
    if (!inTransaction_) throw DbError(QStringLiteral("commit without a transaction"));
    inTransaction_ = false;
    if (beginPending_) { // nothing was asked of the server: there is nothing to commit
        beginPending_ = false;
        return;
    }
    ++roundTrips_;
    PGresult* result = nullptr;
    bool spoiled = false;
    if (!queued_.empty()) {
        // The queued writes and the COMMIT go in one trip. When one of them failed the server
        // skipped the COMMIT and still holds the spoiled transaction: it is rolled back here.
        try {
            result = syncPipeline(nullptr, "COMMIT");
        } catch (const DbError&) {
            if (PQstatus(conn_) == CONNECTION_OK && PQtransactionStatus(conn_) != PQTRANS_IDLE)
                PQclear(PQexec(conn_, "ROLLBACK"));
            throw;
        }
    } else {
        // After a failed statement the server answers COMMIT with a rollback; that must not pass
        // for success.
        spoiled = PQtransactionStatus(conn_) == PQTRANS_INERROR;
        result = PQexec(conn_, "COMMIT");
    }
    const bool committed = PQresultStatus(result) == PGRES_COMMAND_OK &&
                           QByteArray(PQcmdStatus(result)) == QByteArrayLiteral("COMMIT");
    if (!committed || spoiled) {
        if (PQresultStatus(result) == PGRES_COMMAND_OK) {
            PQclear(result);
            throw DbError(QStringLiteral("the transaction failed earlier and was rolled back"));
        }
        fail(result, QStringLiteral("COMMIT"));
    }
    PQclear(result);
}

void PgDatabase::rollback() {
    if (!inTransaction_) return;
    inTransaction_ = false;
    if (beginPending_) {
        beginPending_ = false;
        return;
    }
    if (!queued_.empty()) dropPipeline();
    if (PQtransactionStatus(conn_) == PQTRANS_IDLE || PQstatus(conn_) != CONNECTION_OK) return;
    simple("ROLLBACK");
}

QStringList PgDatabase::columnsOf(const QString& table) {
    const RecordSet rows =
        query(QStringLiteral("SELECT column_name FROM information_schema.columns "
                             "WHERE table_schema = current_schema() AND table_name = lower(?) "
                             "ORDER BY ordinal_position"),
              {table});
    QStringList names;
    for (int r = 0; r < rows.rowCount(); ++r)
        names << rows.text(r, QStringLiteral("column_name")).toLower();
    return names;
}

} // namespace sorrel
