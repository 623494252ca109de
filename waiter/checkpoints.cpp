#include "waiter/checkpoints.h"

#include "common/db/errors.h"
#include "common/error_log.h"

namespace sorrel::waiter {

void Checkpoints::leaveToServer(Database& db) {
    if (db.engine() == Engine::Embedded) db.query(QStringLiteral("PRAGMA wal_autocheckpoint = 0"));
}

Checkpoints::Checkpoints(std::unique_ptr<Database> own, std::mutex& writes, std::chrono::milliseconds every,
                         int longLog)
    : db_(std::move(own)), writes_(writes), every_(every), longLog_(longLog) {
    if (db_ && db_->engine() == Engine::Embedded) thread_ = std::thread([this] { run(); });
}

Checkpoints::~Checkpoints() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void Checkpoints::fold() {
    try {
        // Folds back what no reader still needs, waiting for no one; the rest goes next time.
        const QString passive = QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)");
        const RecordSet folded = db_->query(passive);
        if (folded.rowCount() == 0) return;
        const qint64 pages = folded.integer(0, "log");
        // A fold beside the phones' changes ends while the next one already reads the log, and the
        // log is not started again; folded between two changes, it is, at the next one.
        if (pages >= longLog_) {
            const std::lock_guard gate(writes_);
            db_->query(passive);
        }
    } catch (const DbError& error) {
        // Nothing is lost by a fold that failed: the log keeps the commits and the next one tries again.
        errorlog::write(QStringLiteral("点单服务"), error.text());
    }
}

void Checkpoints::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        wake_.wait_for(lock, every_, [this] { return stopping_; });
        lock.unlock();
        fold();
        lock.lock();
    }
}

} // namespace sorrel::waiter
