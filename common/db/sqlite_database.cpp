#include "common/db/sqlite_database.h"

#include "common/db/database_file.h"
#include "common/db/errors.h"
#include "common/db/lock_wait.h"
#include "common/db_datetime.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <sqlcipher/sqlite3.h>

namespace sorrel {

namespace {
// Several workstations share the file: a writer waits for another's transaction in slices this
// long, telling the program between them that it still waits, up to the bound (lock_wait).
constexpr int kWaitSliceMs = 25;
// Prepared statements kept per connection; the programs reuse a few dozen texts.
constexpr int kStatementCache = 128;
} // namespace

SqliteDatabase::SqliteDatabase(const QString& path, const QString& password, Mode mode) : path_(path) {
    const QFileInfo info(path);
    if (mode != Mode::CreateIfMissing && !info.exists())
        throw DbError(QStringLiteral("数据库文件不存在：%1").arg(path));
    int flags = mode == Mode::ReadOnly
                    ? SQLITE_OPEN_READONLY
                    : SQLITE_OPEN_READWRITE | (mode == Mode::CreateIfMissing ? SQLITE_OPEN_CREATE : 0);
    QByteArray file = path.toUtf8();
    // A reader leaves nothing beside the file, though the engine would make a -wal and its index
    // (-shm) for it. Where no -wal lies beside the file no one is working on it: the file alone is
    // the whole database and is read as it lies. A -wal without its index (copied, or left by a
    // machine that went down) is read from a copy of the two, made elsewhere.
    if (mode == Mode::ReadOnly && !QFileInfo::exists(walFile(path))) {
        file = QUrl::fromLocalFile(info.absoluteFilePath()).toEncoded() + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
    } else if (mode == Mode::ReadOnly && !QFileInfo::exists(walIndexFile(path))) {
        copy_ = std::make_unique<QTemporaryDir>();
        const QString copied = copy_->filePath(info.fileName());
        if (!copy_->isValid() || !QFile::copy(path, copied) || !QFile::copy(walFile(path), walFile(copied)))
            throw DbError(QStringLiteral("无法打开数据库文件：%1（临时文件夹中放不下它的副本）").arg(path));
        file = copied.toUtf8();
    }
    // A connection serves one thread: no lock around each call into the library.
    flags |= SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(file.constData(), &db_, flags, nullptr) != SQLITE_OK) {
        const QString why = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
        close();
        throw DbError(QStringLiteral("无法打开数据库文件：%1（%2）").arg(path, why));
    }
    const QByteArray key = password.toUtf8();
    if (sqlite3_key(db_, key.constData(), key.size()) != SQLITE_OK) {
        close();
        throw DbError(QStringLiteral("无法设置数据库密码：%1").arg(path));
    }
    sqlite3_busy_handler(db_, &SqliteDatabase::stillBusy, this);
    try {
        // The first read proves the key: a wrong password or a foreign file fails here.
        query(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        if (mode != Mode::ReadOnly) query(QStringLiteral("PRAGMA journal_mode=WAL"));
        // A commit returns only once it is on the disk: a bill number handed out survives a
        // power cut and is never handed out again.
        exec(QStringLiteral("PRAGMA synchronous=FULL"));
        // Codes and names are exact strings: LIKE tells capitals apart, as on the server.
        exec(QStringLiteral("PRAGMA case_sensitive_like=ON"));
    } catch (const DbError& e) {
        // The first page opened with the key (the file is ours), but a page of the table list
        // did not read back as written.
        const bool damaged = sqlite3_errcode(db_) == SQLITE_CORRUPT;
        close();
        if (damaged)
            throw DamagedDatabase(QStringLiteral("数据库文件已损坏：%1（%2）").arg(path, e.reason()));
        throw DbError(
            QStringLiteral("数据库无法打开（密码错误或不是数据库文件）：%1（%2）").arg(path, e.reason()));
    } catch (const DatabaseBusy&) {
        close();
        throw;
    }
}

SqliteDatabase::~SqliteDatabase() {
    close();
}

void SqliteDatabase::close() {
    for (sqlite3_stmt* stmt : std::as_const(statements_))
        sqlite3_finalize(stmt);
    statements_.clear();
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

int SqliteDatabase::stillBusy(void* self, int tries) {
    auto* db = static_cast<SqliteDatabase*>(self);
    // The first try of a wait begins it anew, whatever an earlier one left.
    if (tries == 0) db->wait_.reset();
    if (!db->wait_) db->wait_.emplace(db->inWait_);
    LockWait& wait = *db->wait_;
    const int left = lock_wait::boundMs() - wait.waitedMs();
    if (left <= 0) return 0;
    sqlite3_sleep(std::min(left, kWaitSliceMs));
    wait.tell();
    return 1;
}

void SqliteDatabase::fail(const QString& what, const QString& sql) const {
    // The lock stayed taken for the whole bound: a refusal for the operator, not a failure.
    if (db_ && (sqlite3_errcode(db_) & 0xff) == SQLITE_BUSY) throw DatabaseBusy();
    QString message = what;
    if (db_) message += QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db_));
    if (!sql.isEmpty()) message += QStringLiteral("\nSQL: ") + sql;
    throw DbError(message);
}

sqlite3_stmt* SqliteDatabase::prepare(const QString& sql, const QVariantList& params) {
    if (!db_) throw DbError(QStringLiteral("数据库连接已关闭"));
    refuseWhileWaiting();
    ++roundTrips_;
    sqlite3_stmt* stmt = statements_.value(sql, nullptr);
    if (stmt) {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    } else {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
            fail(QStringLiteral("prepare failed"), sql);
        if (statements_.size() >= kStatementCache) {
            for (sqlite3_stmt* old : std::as_const(statements_))
                sqlite3_finalize(old);
            statements_.clear();
        }
        statements_.insert(sql, stmt);
    }
    bind(stmt, params, sql);
    return stmt;
}

void SqliteDatabase::bind(sqlite3_stmt* stmt, const QVariantList& params, const QString& sql) {
    if (sqlite3_bind_parameter_count(stmt) != params.size())
        throw DbError(QStringLiteral("statement expects %1 values, %2 given\nSQL: %3")
                          .arg(sqlite3_bind_parameter_count(stmt))
                          .arg(params.size())
                          .arg(sql));
    refuseTextWithNul(params, sql);
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        const int at = i + 1;
        int rc = SQLITE_OK;
        if (storedAsNull(v)) {
            rc = sqlite3_bind_null(stmt, at);
        } else {
            switch (v.userType()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(stmt, at, v.toBool() ? 1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
                rc = sqlite3_bind_int64(stmt, at, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, at, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray blob = v.toByteArray();
                rc = sqlite3_bind_blob(stmt, at, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                QString text = toDbText(v);
                if (text.isNull()) text = v.toString();
                const QByteArray utf8 = text.toUtf8();
                rc = sqlite3_bind_text(stmt, at, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK) fail(QStringLiteral("bind failed"), sql);
    }
}

int SqliteDatabase::exec(const QString& sql, const QVariantList& params) {
    sqlite3_stmt* stmt = prepare(sql, params);
    const WaitEnds waitEnds(wait_);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        sqlite3_reset(stmt);
        fail(QStringLiteral("statement failed"), sql);
    }
    sqlite3_reset(stmt);
    return sqlite3_changes(db_);
}

RecordSet SqliteDatabase::query(const QString& sql, const QVariantList& params) {
    sqlite3_stmt* stmt = prepare(sql, params);
    const WaitEnds waitEnds(wait_);
    QList<QVariantList> rows;
    // A kept statement is compiled again inside the first step when a table changed since, so
    // its columns are known only after that step ("SELECT *" after a column was added).
    int rc = sqlite3_step(stmt);
    const int count = sqlite3_column_count(stmt);
    QStringList columns;
    for (int c = 0; c < count; ++c)
        columns << QString::fromUtf8(sqlite3_column_name(stmt, c));
    for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt)) {
        QVariantList row;
        row.reserve(count);
        for (int c = 0; c < count; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                row << QVariant(qlonglong(sqlite3_column_int64(stmt, c)));
                break;
            case SQLITE_FLOAT:
                row << QVariant(sqlite3_column_double(stmt, c));
                break;
            case SQLITE_TEXT:
                row << QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                                  sqlite3_column_bytes(stmt, c)));
                break;
            case SQLITE_BLOB:
                row << QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, c)),
                                           sqlite3_column_bytes(stmt, c)));
                break;
            default:
                row << QVariant();
            }
        }
        rows.append(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        sqlite3_reset(stmt);
        fail(QStringLiteral("query failed"), sql);
    }
    sqlite3_reset(stmt);
    return RecordSet(columns, rows);
}

void SqliteDatabase::begin() {
    if (inTransaction_) throw DbError(QStringLiteral("a transaction is already open on this connection"));
    exec(QStringLiteral("BEGIN IMMEDIATE"));
    inTransaction_ = true;
}

void SqliteDatabase::beginReading() {
    if (inTransaction_) throw DbError(QStringLiteral("a transaction is already open on this connection"));
    // A deferred transaction takes its snapshot of the write-ahead log at its first read.
    exec(QStringLiteral("BEGIN"));
    inTransaction_ = true;
}

void SqliteDatabase::commit() {
    if (!inTransaction_) throw DbError(QStringLiteral("commit without a transaction"));
    exec(QStringLiteral("COMMIT"));
    inTransaction_ = false;
}

void SqliteDatabase::rollback() {
    if (!inTransaction_) return;
    inTransaction_ = false;
    // A failed statement may already have ended the transaction; that is not an error here.
    if (sqlite3_get_autocommit(db_) == 0) exec(QStringLiteral("ROLLBACK"));
}

namespace {

// A connection of the online backup's other side, closed whatever happens.
struct OtherFile {
    sqlite3* db = nullptr;
    ~OtherFile() {
        if (db) sqlite3_close_v2(db);
    }
    QString error() const { return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory"); }
    void open(const QString& path, const QString& password, int flags, const QString& step) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
            throw DbError(QStringLiteral("%1：无法打开 %2（%3）").arg(step, path, error()));
        const QByteArray key = password.toUtf8();
        if (sqlite3_key(db, key.constData(), key.size()) != SQLITE_OK)
            throw DbError(QStringLiteral("%1：无法设置数据库密码：%2").arg(step, path));
    }
    void exec(const char* sql, const QString& step) {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw DbError(QStringLiteral("%1：%2").arg(step, error()));
    }
};

// One step over every page: a backup copied page by page starts again whenever another
// connection commits meanwhile, and might never end beside a busy front desk.
int copyAllPages(sqlite3* to, sqlite3* from) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) return sqlite3_errcode(to);
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    return stepped == SQLITE_DONE ? finished : stepped;
}

} // namespace

void SqliteDatabase::copyTo(const QString& path, const QString& password) {
    if (!db_) throw DbError(QStringLiteral("数据库连接已关闭"));
    const QString step = QStringLiteral("复制数据库");
    OtherFile copy;
    copy.open(path, password, SQLITE_OPEN_READWRITE, step);
    copy.exec("PRAGMA journal_mode=DELETE", step);
    const int copied = copyAllPages(copy.db, db_);
    if (copied != SQLITE_OK) throw DbError(QStringLiteral("%1：%2").arg(step, copy.error()));
    // The pages arrive marked for a write-ahead log as the live file is; the copy is one file.
    copy.exec("PRAGMA journal_mode=DELETE", step);
    copy.exec("VACUUM", QStringLiteral("压缩备份文件"));
}

void SqliteDatabase::replaceWith(const QString& path, const QString& password) {
    if (!db_) throw DbError(QStringLiteral("数据库连接已关闭"));
    if (inTransaction_) throw DbError(QStringLiteral("a transaction is already open on this connection"));
    const QString step = QStringLiteral("恢复数据库");
    OtherFile source;
    source.open(path, password, SQLITE_OPEN_READONLY, step);
    const int copied = copyAllPages(db_, source.db);
    // The statements kept for the old pages are prepared again on the new ones.
    for (sqlite3_stmt* stmt : std::as_const(statements_))
        sqlite3_finalize(stmt);
    statements_.clear();
    if (copied != SQLITE_OK) {
        if ((copied & 0xff) == SQLITE_BUSY) throw DatabaseBusy();
        throw DbError(QStringLiteral("%1：%2").arg(step, QString::fromUtf8(sqlite3_errstr(copied))));
    }
    query(QStringLiteral("PRAGMA journal_mode=WAL"));
}

QStringList SqliteDatabase::columnsOf(const QString& table) {
    // A pragma takes no bound value; only a plain name ever reaches the text.
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!plainName.match(table).hasMatch()) return {};
    const RecordSet rows = query(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    QStringList names;
    for (int r = 0; r < rows.rowCount(); ++r)
        names << rows.text(r, QStringLiteral("name")).toLower();
    return names;
}

} // namespace sorrel
