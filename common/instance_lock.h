// One program of the product per machine: the front desk and the back office each hold a lock
// file in a machine-wide folder and look at the other's, so each sees the other. A lock left
// behind by a program that crashed or was killed does not count: its process is gone.
#pragma once

#include "common/program.h"

#include <QLockFile>
#include <QString>
#include <memory>

namespace sorrel {

enum class InstanceCheck {
    Free,           // this program now holds its lock and may start
    AlreadyRunning, // another copy of this program runs
    OtherRunning,   // the other program runs
    BothRunning,    // both run: end without a message
};

// The folder holding the locks: $SORREL_LOCK_DIR when set (tests), else the machine's
// temporary folder.
QString instanceLockDir();

class InstanceLock {
  public:
    InstanceLock(Program self, const QString& lockDir = instanceLockDir());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes this program's lock when neither program runs; keeps it until destruction.
    InstanceCheck acquire();

  private:
    Program self_;
    QString dir_;
    std::unique_ptr<QLockFile> own_;
};

// What the starting program says before it ends; empty for Free and BothRunning.
QString instanceRefusalMessage(Program self, InstanceCheck check);

} // namespace sorrel
