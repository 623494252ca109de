#include "common/workstations.h"

#include "common/db/errors.h"
#include "common/db/lock_wait.h"

#include <QHash>
#include <QThread>

namespace sorrel {

namespace {

qlonglong g_ownId = 0;
WorkstationPresence* g_own = nullptr;

// A beat asks for the write lock without waiting: the bound is a millisecond while it runs.
class NoWaiting {
  public:
    NoWaiting() : bound_(lock_wait::boundMs()) { lock_wait::setBoundMs(1); }
    ~NoWaiting() { lock_wait::setBoundMs(bound_); }
    NoWaiting(const NoWaiting&) = delete;
    NoWaiting& operator=(const NoWaiting&) = delete;

  private:
    int bound_;
};

constexpr int kWatchStepMs = 1000;

QString described(const RecordSet& rows, int r) {
    QString name = QStringLiteral("%1 %2").arg(rows.text(r, "work_machine"), rows.text(r, "work_program"));
    const QString oper = rows.text(r, "work_operator");
    if (!oper.isEmpty()) name += QStringLiteral("（%1）").arg(oper);
    return name;
}

} // namespace

QString otherWorkstationsMessage(const QStringList& workstations) {
    return QStringLiteral("还有其它工作站正在使用数据库：[%1]，请全部退出后再进行此操作！")
        .arg(workstations.join(QStringLiteral("、")));
}

WorkstationPresence::WorkstationPresence(Database& db, const QString& machine, const QString& program)
    : db_(db), machine_(machine.left(60)), program_(program.left(20)) {
    enter();
}

WorkstationPresence::~WorkstationPresence() {
    if (g_ownId == id_) g_ownId = 0;
    if (g_own == this) g_own = nullptr;
    if (id_ == 0 || db_.inTransaction()) return;
    try {
        // A closing program never waits for another workstation's save: when the lock is taken,
        // the row stays and the others take it for a dead program.
        const NoWaiting now;
        db_.exec(QStringLiteral("DELETE FROM workstationlist WHERE work_id = ?"), {id_});
    } catch (...) {
        // The program ends anyway; the others take the still row for a dead program.
    }
}

void WorkstationPresence::enter() {
    if (db_.inTransaction()) return;
    const qlonglong previous = id_;
    try {
        db_.exec(QStringLiteral(
                     "INSERT INTO workstationlist (work_machine, work_program, work_operator, work_beat) "
                     "VALUES (?, ?, ?, 0)"),
                 {machine_, program_, operator_});
        // This connection's own row: the newest of its machine and program.
        id_ = db_.scalar(QStringLiteral("SELECT max(work_id) FROM workstationlist WHERE work_machine = ? AND "
                                        "work_program = ?"),
                         {machine_, program_})
                  .toLongLong();
        // The program's own row is its first presence's (written again after it was removed).
        if (g_ownId == 0 || g_ownId == previous) {
            g_ownId = id_;
            g_own = this;
        }
    } catch (...) {
        id_ = 0;
    }
}

void WorkstationPresence::beat() {
    if (db_.inTransaction()) return;
    try {
        const NoWaiting now;
        if (id_ == 0 ||
            db_.exec(QStringLiteral("UPDATE workstationlist SET work_beat = work_beat + 1, work_operator = ? "
                                    "WHERE work_id = ?"),
                     {operator_, id_}) == 0)
            enter();
    } catch (...) {
        // Skipped: the next beat comes in a few seconds.
    }
}

void WorkstationPresence::setOperator(const QString& name) {
    operator_ = name.left(20);
    if (id_ == 0 || db_.inTransaction()) return;
    try {
        const NoWaiting now;
        db_.exec(QStringLiteral("UPDATE workstationlist SET work_operator = ? WHERE work_id = ?"),
                 {operator_, id_});
    } catch (...) {
        // The next beat writes it.
    }
}

qlonglong ownWorkstationId() {
    return g_ownId;
}

void setOwnWorkstationOperator(const QString& name) {
    if (g_own) g_own->setOperator(name);
}

void requireDatabaseAlone(Database& db, qlonglong ownId, const WatchWait& wait) {
    const QString others =
        QStringLiteral("SELECT work_id, work_machine, work_program, work_operator, work_beat "
                       "FROM workstationlist WHERE work_id <> ? ORDER BY work_id");
    const RecordSet first = db.query(others, {ownId});
    if (first.isEmpty()) return;
    QHash<qlonglong, qlonglong> beatAtStart;
    for (int r = 0; r < first.rowCount(); ++r)
        beatAtStart.insert(first.value(r, "work_id").toLongLong(), first.value(r, "work_beat").toLongLong());

    QStringList moving;
    QHash<qlonglong, qlonglong> still = beatAtStart;
    for (int waited = 0; waited < kWatchOthersMs && !still.isEmpty(); waited += kWatchStepMs) {
        if (wait)
            wait(kWatchStepMs);
        else
            QThread::msleep(kWatchStepMs);
        const RecordSet now = db.query(others, {ownId});
        for (int r = 0; r < now.rowCount(); ++r) {
            const qlonglong id = now.value(r, "work_id").toLongLong();
            const bool known = beatAtStart.contains(id);
            if (known && now.value(r, "work_beat").toLongLong() == beatAtStart.value(id)) continue;
            // A program that came meanwhile, or whose beat moved, is at work.
            if (!moving.contains(described(now, r))) moving << described(now, r);
            still.remove(id);
        }
        // A row that went meanwhile was a program that exited.
        for (auto it = still.begin(); it != still.end();) {
            bool there = false;
            for (int r = 0; r < now.rowCount() && !there; ++r)
                there = now.value(r, "work_id").toLongLong() == it.key();
            it = there ? std::next(it) : still.erase(it);
        }
    }
    if (!moving.isEmpty()) throw StepRefused(otherWorkstationsMessage(moving));
    for (auto it = still.cbegin(); it != still.cend(); ++it)
        db.exec(QStringLiteral("DELETE FROM workstationlist WHERE work_id = ? AND work_beat = ?"),
                {it.key(), it.value()});
}

} // namespace sorrel
