// Database: one engine-neutral connection. Every value travels as a bound parameter ("?"
// placeholders); no value is ever pasted into SQL text. Two engines implement it: the embedded
// encrypted file and a PostgreSQL server.
#pragma once

#include "common/db/recordset.h"

#include <QString>
#include <QVariantList>

namespace sorrel {

enum class Engine { Embedded, Server };

QString engineName(Engine engine);

// Both engines refuse (DbError) a value whose text holds a NUL character: the server cannot store
// one and would cut the text short there, so the file does not keep it either.
void refuseTextWithNul(const QVariantList& params, const QString& sql);

class Database {
  public:
    virtual ~Database() = default;

    virtual Engine engine() const = 0;
    // Where the data lives, for messages: the file path or "host:port/database".
    virtual QString location() const = 0;

    // Runs a statement that returns no rows; answers how many rows it changed.
    virtual int exec(const QString& sql, const QVariantList& params = {}) = 0;
    // A data-changing statement whose count of changed rows the step does not need. Inside a
    // transaction the server engine may send it together with the statements that follow, so that
    // a run of writes costs one trip over the network; a failure then surfaces at the next
    // statement or at commit, as the same error, and the transaction is rolled back as ever.
    // Outside a transaction, and on the file, it is exec(). Never use it where the step catches
    // a failure of this one statement to carry on.
    virtual void execLater(const QString& sql, const QVariantList& params = {}) { exec(sql, params); }
    virtual RecordSet query(const QString& sql, const QVariantList& params = {}) = 0;
    // The first column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& params = {});

    // Transactions take the engine's write lock at once (BEGIN IMMEDIATE on the file), so two
    // workstations never deadlock upgrading a read lock. Nesting is a programming error.
    virtual void begin() = 0;
    // A transaction that only reads and sees the whole database as it stood at its first read,
    // without the writing lock: other workstations go on committing meanwhile (a backup, a copy).
    // Ended by commit() or rollback() like any other.
    virtual void beginReading() { begin(); }
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;

    // Lower-cased column names of a table or view as the engine knows it; empty when missing.
    virtual QStringList columnsOf(const QString& table) = 0;

    // Appended to a SELECT that reads a row the transaction is about to change, so that a
    // second workstation waits for it (" FOR UPDATE" on the server; the file engine already
    // holds its write lock from begin()).
    virtual QString lockRowsClause() const = 0;

    // How often this connection has waited for the database: every statement, BEGIN and COMMIT
    // included, except writes sent later together with the next one (execLater). On the server
    // each is one trip over the network, which the benchmarks count per step.
    qint64 roundTrips() const { return roundTrips_; }

  protected:
    // Throws DbError while this connection waits for another workstation's lock: whatever runs
    // meanwhile (a timer while the window paints) finds it busy in the middle of a statement.
    void refuseWhileWaiting() const;

    qint64 roundTrips_ = 0;
    bool inWait_ = false;
};

} // namespace sorrel
