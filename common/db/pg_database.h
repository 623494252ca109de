// The server engine: one PostgreSQL connection through libpq, for venues whose workstations share
// a database server. Same behaviour and value types as the file engine: "?" placeholders, yes/no
// as 0/1, date-times as canonical text, money as double.
#pragma once

#include "common/db/database.h"
#include "common/db/lock_wait.h"
#include "common/db/server_settings.h"

#include <QHash>
#include <optional>
#include <vector>

struct pg_conn;
struct pg_result;

namespace sorrel {

class PgDatabase final : public Database {
  public:
    // Throws DbError with a message for the venue's staff when the server cannot be reached,
    // refuses the login, or has no such database.
    explicit PgDatabase(const ServerSettings& settings);
    ~PgDatabase() override;
    PgDatabase(const PgDatabase&) = delete;
    PgDatabase& operator=(const PgDatabase&) = delete;

    Engine engine() const override { return Engine::Server; }
    QString location() const override;
    const ServerSettings& settings() const { return settings_; }

    int exec(const QString& sql, const QVariantList& params = {}) override;
    // Inside a transaction the write is queued in the connection's pipeline and goes to the server
    // with the next statement that waits for an answer (a read, exec(), commit): a run of writes
    // and the read after it cost one trip. The first failure among them is thrown there.
    void execLater(const QString& sql, const QVariantList& params = {}) override;
    RecordSet query(const QString& sql, const QVariantList& params = {}) override;

    // A transaction holds the database's writing lock from begin() to its end, as on the file; a
    // step that waits for it longer than the bound (lock_wait) is refused (DatabaseBusy).
    // A failed statement inside a transaction spoils the rest of it on the server: every later
    // statement fails too, until rollback() (which always works) ends it.
    void begin() override;
    void beginReading() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override { return inTransaction_; }

    QStringList columnsOf(const QString& table) override;
    QString lockRowsClause() const override { return QStringLiteral(" FOR UPDATE"); }

  private:
    struct Bound;
    // What the pipeline still owes an answer for, in the order it was sent.
    struct Queued {
        QString sql;
        QString key;  // the kept statement a queued PREPARE makes, forgotten when it fails
        bool prepare; // a PREPARE's answer, not the statement's
    };

    Bound bind(const QString& sql, const QVariantList& params) const;
    pg_result* run(const QString& sql, const QVariantList& params);
    pg_result* runBound(const Bound& b, const QString& sql);
    pg_result* send(const Bound& b);
    // Queues one statement (and its PREPARE when it is not kept yet) in the pipeline.
    void queue(const Bound& b);
    // Queues a plain command, and the opening of the transaction that is about to send its first
    // statement.
    void queueText(const char* command);
    void queueBegin();
    // Sends what is queued with `last` (when given) and waits for every answer; answers the last
    // statement's result, or throws the first failure. `last` is a kept statement or, when
    // `lastText` is given, that plain command ("COMMIT").
    pg_result* syncPipeline(const Bound* last, const char* lastText = nullptr);
    // Waits until the server's next answer has arrived, telling the program meanwhile that the
    // statement waits (the writing lock is held by another workstation).
    void awaitAnswer(std::optional<LockWait>& wait);
    // Forgets what is queued, answers and all: the transaction is being rolled back.
    void dropPipeline();
    void reconnectIfLost();
    void reconnect();
    [[noreturn]] void fail(pg_result* result, const QString& sql) const;
    void simple(const char* command);

    ServerSettings settings_;
    pg_conn* conn_ = nullptr;
    bool inTransaction_ = false;
    bool beginPending_ = false;             // begun, and nothing of it sent to the server yet
    bool readingOnly_ = false;              // the open transaction is beginReading()'s
    QHash<QString, QByteArray> statements_; // statement text and value types -> name
    int statementSerial_ = 0;
    std::vector<Queued> queued_; // non-empty only while the connection is in pipeline mode
};

} // namespace sorrel
