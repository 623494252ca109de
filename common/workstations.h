// Which programs are working on the venue's database now. Each running Sorrel_W and Sorrel_S
// keeps one row in workstationlist from its opening to its exit and raises the row's beat every
// few seconds; the steps that need the database to themselves (restore, clearing, initialisation,
// reset) watch the other rows first: a beat that moves is a program at work, a row whose beat
// stands still is left by a program that died, and is removed.
#pragma once

#include "common/db/database.h"

#include <QStringList>
#include <functional>

namespace sorrel {

// How often a running program raises its beat, and how long the others are watched.
inline constexpr int kBeatIntervalMs = 5000;
inline constexpr int kWatchOthersMs = 20000;

// "还有其它工作站正在使用数据库：[…]，请全部退出后再进行此操作！" naming each workstation.
QString otherWorkstationsMessage(const QStringList& workstations);

// This program's row, from construction to destruction. Neither ever throws: a database that
// cannot take the row leaves the program working without one.
class WorkstationPresence {
  public:
    WorkstationPresence(Database& db, const QString& machine, const QString& program);
    ~WorkstationPresence();
    WorkstationPresence(const WorkstationPresence&) = delete;
    WorkstationPresence& operator=(const WorkstationPresence&) = delete;

    // Raises the beat without waiting for any lock: a beat that cannot be written now (another
    // workstation is saving, this connection is inside a step) is skipped, never waited for. A
    // row removed meanwhile (the program was taken for dead) is written again.
    void beat();
    // The operator logged in at this workstation, for the others' messages: written at once when
    // the lock is free, else by the next beat.
    void setOperator(const QString& name);
    qlonglong id() const { return id_; }

  private:
    void enter();

    Database& db_;
    QString machine_;
    QString program_;
    QString operator_;
    qlonglong id_ = 0;
};

// The row of this program: its first presence alive in the process; 0 when there is none.
qlonglong ownWorkstationId();
// A login at this program has succeeded: its row names the operator from now on. Nothing when
// the program keeps no row.
void setOwnWorkstationOperator(const QString& name);

// Waits `ms` milliseconds while the other rows are watched; tests move the others' beats in it.
using WatchWait = std::function<void(int ms)>;

// Watches every other row up to kWatchOthersMs: refuses (StepRefused, otherWorkstationsMessage)
// when a beat moves, naming each program whose beat moved; rows that stood still all the time are
// removed. Returns at once when no other row is there.
void requireDatabaseAlone(Database& db, qlonglong ownId, const WatchWait& wait = {});

} // namespace sorrel
