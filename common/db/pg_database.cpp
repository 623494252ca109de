#include "common/db/pg_database.h"

#include "common/db/errors.h"
#include "common/db/pg_values.h"

#include <libpq-fe.h>
#include <vector>

namespace sorrel {

namespace {

// Prepared statements kept per connection, as on the file engine.
constexpr int kStatementCache = 128;
// Seconds a workstation waits for an unreachable server before telling the staff.
constexpr int kConnectTimeoutSeconds = 5;
// Session settings: the canonical date-time form on output; a workstation waits for another's
// row lock as long as the file engine waits for its write lock (15 s), then fails the step; and a
// commit returns only once the server has it on its disk, whatever the server's own default, so
// a bill number handed out survives a power cut.
// A transaction takes the database's one writing lock at once, as the file engine's BEGIN IMMEDIATE
// does: workstations change the venue one after another, so no two of them act on the same
// stale reading (both seating a party at the same free table) and none deadlocks another.
// Readers outside a transaction never wait. The number only names this system's lock.
constexpr const char* kBeginWriting = "BEGIN; SELECT pg_advisory_xact_lock(1399813234)";
constexpr const char* kSessionOptions = "-c DateStyle=ISO,YMD -c lock_timeout=15000 -c synchronous_commit=on";

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
                     timeout = QByteArray::number(kConnectTimeoutSeconds);
    const char* keys[] = {"host",
                          "port",
                          "dbname",
                          "user",
                          "password",
                          "connect_timeout",
                          "client_encoding",
                          "application_name",
                          "options",
                          nullptr};
    const char* values[] = {
        host.constData(),    port.constData(), db.constData(), user.constData(), password.constData(),
        timeout.constData(), "UTF8",           "sorrel",       kSessionOptions,  nullptr};
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
    // Only between transactions, and only before a statement is sent: a statement whose answer
    // was lost is never sent twice.
    if (PQstatus(conn_) == CONNECTION_OK || inTransaction_) return;
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

PGresult* PgDatabase::send(const QString& sql, const QByteArray& text, const QString& key,
                           const std::vector<Oid>& types, const std::vector<const char*>& values,
                           const std::vector<int>& lengths, const std::vector<int>& formats) {
    const int n = int(types.size());
    if (!isDataStatement(sql)) {
        PGresult* result = PQexecParams(conn_, text.constData(), n, types.data(), values.data(),
                                        lengths.data(), formats.data(), 0);
        if (succeeded(result) && !statements_.isEmpty()) {
            statements_.clear();
            PQclear(PQexec(conn_, "DEALLOCATE ALL"));
        }
        return result;
    }
    auto found = statements_.constFind(key);
    if (found == statements_.constEnd()) {
        if (statements_.size() >= kStatementCache) {
            statements_.clear();
            PQclear(PQexec(conn_, "DEALLOCATE ALL"));
        }
        const QByteArray name = QByteArrayLiteral("sorrel_") + QByteArray::number(++statementSerial_);
        PGresult* made = PQprepare(conn_, name.constData(), text.constData(), n, types.data());
        if (!succeeded(made)) return made;
        PQclear(made);
        found = statements_.insert(key, name);
    }
    return PQexecPrepared(conn_, found->constData(), n, values.data(), lengths.data(), formats.data(), 0);
}

PGresult* PgDatabase::run(const QString& sql, const QVariantList& params) {
    reconnectIfLost();
    ++statementsSent_;
    const pg::Placeholders numbered = pg::numberPlaceholders(sql);
    if (numbered.compared.size() != params.size())
        throw DbError(QStringLiteral("statement expects %1 values, %2 given\nSQL: %3")
                          .arg(numbered.compared.size())
                          .arg(params.size())
                          .arg(sql));
    refuseTextWithNul(params, sql);

    std::vector<pg::Bound> bound;
    bound.reserve(params.size());
    for (int i = 0; i < params.size(); ++i)
        bound.push_back(pg::bindValue(params[i], numbered.compared[i]));
    std::vector<Oid> types;
    std::vector<const char*> values;
    std::vector<int> lengths, formats;
    QString key = numbered.sql;
    for (const pg::Bound& b : bound) {
        types.push_back(b.type);
        values.push_back(b.null ? nullptr : b.text.constData());
        lengths.push_back(int(b.text.size()));
        formats.push_back(b.binary ? 1 : 0);
        key += QLatin1Char(',') + QString::number(b.type);
    }
    const QByteArray text = numbered.sql.toUtf8();

    PGresult* result = send(sql, text, key, types, values, lengths, formats);
    // The server restarted or dropped an idle workstation overnight: a read between transactions
    // is asked again on a fresh connection instead of closing the program.
    const bool readOnly = firstWord(sql) == QLatin1String("SELECT");
    if (!succeeded(result) && PQstatus(conn_) != CONNECTION_OK && !inTransaction_ && readOnly) {
        PQclear(result);
        reconnectIfLost();
        result = send(sql, text, key, types, values, lengths, formats);
    }
    if (!succeeded(result)) fail(result, sql);
    return result;
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
    if (inTransaction_) throw DbError(QStringLiteral("a transaction is already open on this connection"));
    reconnectIfLost();
    ++statementsSent_;
    PGresult* result = PQexec(conn_, kBeginWriting);
    if (!succeeded(result) && PQstatus(conn_) != CONNECTION_OK) {
        // Nothing was written yet: after a lost connection it is safe to ask again.
        PQclear(result);
        reconnectIfLost();
        result = PQexec(conn_, kBeginWriting);
    }
    if (!succeeded(result)) {
        if (PQstatus(conn_) == CONNECTION_OK && PQtransactionStatus(conn_) != PQTRANS_IDLE)
            PQclear(PQexec(conn_, "ROLLBACK"));
        fail(result, QStringLiteral("BEGIN"));
    }
    PQclear(result);
    inTransaction_ = true;
}

void PgDatabase::commit() {
    if (!inTransaction_) throw DbError(QStringLiteral("commit without a transaction"));
    inTransaction_ = false;
    // After a failed statement the server answers COMMIT with a rollback; that must not pass
    // for success.
    const bool spoiled = PQtransactionStatus(conn_) == PQTRANS_INERROR;
    ++statementsSent_;
    PGresult* result = PQexec(conn_, "COMMIT");
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
