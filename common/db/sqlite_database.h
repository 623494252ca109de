// The embedded engine: one SQLCipher file keyed with the database password, shared by several
// processes through WAL; transactions take the write lock at once, waiting for another process's
// transaction up to the bound (lock_wait) and then refused as busy.
#pragma once

#include "common/db/database.h"
#include "common/db/lock_wait.h"

#include <QHash>
#include <QTemporaryDir>
#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace sorrel {

class SqliteDatabase final : public Database {
  public:
    // ReadOnly never writes the file, nor the -wal beside it into the file, and leaves nothing
    // beside it.
    enum class Mode { OpenExisting, CreateIfMissing, ReadOnly };

    // Throws DbError when the file is missing (OpenExisting, ReadOnly), cannot be created, is not
    // a database, or the key does not open it.
    SqliteDatabase(const QString& path, const QString& password, Mode mode = Mode::OpenExisting);
    ~SqliteDatabase() override;

    Engine engine() const override { return Engine::Embedded; }
    QString location() const override { return path_; }

    int exec(const QString& sql, const QVariantList& params = {}) override;
    RecordSet query(const QString& sql, const QVariantList& params = {}) override;

    void begin() override;
    void beginReading() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override { return inTransaction_; }

    QStringList columnsOf(const QString& table) override;

    // The whole database as this connection sees it (inside beginReading(): one moment, whatever
    // other workstations commit meanwhile) into the file `path`, which must be an empty file, keyed
    // with `password`, by one step of the engine's online backup; then the copy is given a
    // rollback journal and compacted (VACUUM). Throws DbError naming the step that failed.
    void copyTo(const QString& path, const QString& password);
    // Replaces the whole database by the pages of the file `path` (keyed with `password`) in one
    // step of the online backup, under the write lock, outside any transaction of this
    // connection: every other connection sees the old database or the new one, and a kill in the
    // middle leaves the old one whole. Throws DbError when it cannot be done; nothing changes then.
    void replaceWith(const QString& path, const QString& password);
    QString lockRowsClause() const override { return {}; }

  private:
    // Whatever way a statement ends, the wait it went through (if any) ends with it.
    struct WaitEnds {
        std::optional<LockWait>& wait;
        ~WaitEnds() { wait.reset(); }
    };
    // The library asks, while another process holds the write lock, whether to try again.
    static int stillBusy(void* self, int tries);
    sqlite3_stmt* prepare(const QString& sql, const QVariantList& params);
    void bind(sqlite3_stmt* stmt, const QVariantList& params, const QString& sql);
    void step(sqlite3_stmt* stmt, const QString& sql);
    [[noreturn]] void fail(const QString& what, const QString& sql = {}) const;
    void close();

    QString path_;
    sqlite3* db_ = nullptr;
    bool inTransaction_ = false;
    QHash<QString, sqlite3_stmt*> statements_;
    std::optional<LockWait> wait_;        // the wait of the statement running now
    std::unique_ptr<QTemporaryDir> copy_; // where a -wal without its index is read
};

} // namespace sorrel
