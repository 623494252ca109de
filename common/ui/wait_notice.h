// While a step waits for another workstation's save: the window keeps painting, and after half a
// second a small notice and the wait cursor say that the program waits. What the operator types
// or clicks meanwhile is held back until the step has its answer.
#pragma once

#include "common/db/lock_wait.h"

#include <memory>

class QLabel;

namespace sorrel::ui {

class WaitNotice final : public WaitObserver {
  public:
    WaitNotice();
    ~WaitNotice() override;
    WaitNotice(const WaitNotice&) = delete;
    WaitNotice& operator=(const WaitNotice&) = delete;

    void waiting(int waitedMs) override;
    void waitOver() override;

    // The notice as it shows now (hidden when nothing waits), for tests.
    const QLabel* label() const { return label_.get(); }

  private:
    std::unique_ptr<QLabel> label_;
    bool cursorSet_ = false;
};

// The programs' notice, heard by their database connection from start to end.
class InstalledWaitNotice {
  public:
    InstalledWaitNotice() { lock_wait::setObserver(&notice_); }
    ~InstalledWaitNotice() { lock_wait::setObserver(nullptr); }
    InstalledWaitNotice(const InstalledWaitNotice&) = delete;
    InstalledWaitNotice& operator=(const InstalledWaitNotice&) = delete;

  private:
    WaitNotice notice_;
};

} // namespace sorrel::ui
