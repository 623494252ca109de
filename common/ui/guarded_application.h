// The application object of both programs: every event is delivered under the program-wide
// error handler, so an error no operation handled is answered instead of ending the process.
#pragma once

#include <QApplication>
#include <functional>

namespace sorrel::ui {

class GuardedApplication : public QApplication {
    Q_OBJECT
  public:
    GuardedApplication(int& argc, char** argv);

    // Called after a fatal error has been shown: the program closes without the exit question.
    void setCloseAfterFatalError(std::function<void()> close) { closeAfterFatal_ = std::move(close); }

    bool notify(QObject* receiver, QEvent* event) override;

    // The handler itself, also for errors raised outside the event loop (start-up).
    void handle(std::exception_ptr error);

  private:
    std::function<void()> closeAfterFatal_;
};

// The look both programs share: the 12-pixel Chinese screen font.
void applyProgramFont(QApplication& app);

} // namespace sorrel::ui
