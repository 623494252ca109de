// The server engine: one PostgreSQL connection through libpq, for venues whose workstations share
// a database server. Same behaviour and value types as the file engine: "?" placeholders, yes/no
// as 0/1, date-times as canonical text, money as double.
#pragma once

#include "common/db/database.h"
#include "common/db/server_settings.h"

#include <QHash>
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
    RecordSet query(const QString& sql, const QVariantList& params = {}) override;

    // A transaction holds the database's writing lock from begin() to its end, as on the file.
    // A failed statement inside a transaction spoils the rest of it on the server: every later
    // statement fails too, until rollback() (which always works) ends it.
    void begin() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override { return inTransaction_; }

    QStringList columnsOf(const QString& table) override;
    QString lockRowsClause() const override { return QStringLiteral(" FOR UPDATE"); }

  private:
    pg_result* run(const QString& sql, const QVariantList& params);
    pg_result* send(const QString& sql, const QByteArray& text, const QString& key,
                    const std::vector<unsigned>& types, const std::vector<const char*>& values,
                    const std::vector<int>& lengths, const std::vector<int>& formats);
    void reconnectIfLost();
    [[noreturn]] void fail(pg_result* result, const QString& sql) const;
    void simple(const char* command);

    ServerSettings settings_;
    pg_conn* conn_ = nullptr;
    bool inTransaction_ = false;
    QHash<QString, QByteArray> statements_; // statement text and value types -> name
    int statementSerial_ = 0;
};

} // namespace sorrel
