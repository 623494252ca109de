// Waiting for another workstation's transaction: how long a step waits for the database's writing
// lock before it is refused as busy, and who hears, while it waits, that it still does (the
// programs show a notice and keep their window painted).
#pragma once

#include <QElapsedTimer>

namespace sorrel {

class WaitObserver {
  public:
    virtual ~WaitObserver() = default;
    // Heard every few hundredths of a second while a statement waits for the lock, with how long
    // it has waited. The connection refuses (DbError) every statement asked of it meanwhile. Neither
    // call may throw.
    virtual void waiting(int waitedMs) = 0;
    // The wait has ended, with the lock or with the refusal.
    virtual void waitOver() = 0;
};

namespace lock_wait {

// How long a step waits for another workstation's transaction before it is refused
// (DatabaseBusy): 15 s unless set. A connection to the server takes the bound it finds when it is
// made; the server frees the writing lock of a workstation that stays silent inside its
// transaction for twice as long.
int boundMs();
void setBoundMs(int ms);
int idleInTransactionMs();

// The program's one observer (none: statements wait silently); not owned.
WaitObserver* observer();
void setObserver(WaitObserver* observer);

} // namespace lock_wait

// One statement's wait for the lock, told to the observer while it lasts and once when it ends.
// `inWait` is the connection's flag that refuses statements asked from inside the observer.
class LockWait {
  public:
    explicit LockWait(bool& inWait);
    ~LockWait();
    LockWait(const LockWait&) = delete;
    LockWait& operator=(const LockWait&) = delete;

    int waitedMs() const { return int(since_.elapsed()); }
    bool withinBound() const { return since_.elapsed() < lock_wait::boundMs(); }
    // Tells the observer how long the statement has waited so far. What the observer throws is
    // dropped: the engine waits inside its own library.
    void tell();

  private:
    bool& inWait_;
    QElapsedTimer since_;
    bool told_ = false;
};

} // namespace sorrel
