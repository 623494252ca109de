// The application object of both programs. Screen handlers answer their own errors under the
// guard (common/ui/guard.h); an error that still reaches the event loop is caught here as the
// last net: logged (error log and standard error stream, so that the handler that let it through
// is found and guarded) and answered in the same way, instead of ending the process.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace sorrel::ui {

class GuardedApplication : public QApplication {
    Q_OBJECT
  public:
    GuardedApplication(int& argc, char** argv);

    // The running program's application object; nullptr when there is none of this kind.
    static GuardedApplication* current();

    // Called after a fatal error has been shown: the program closes without the exit question.
    void setCloseAfterFatalError(std::function<void()> close) { closeAfterFatal_ = std::move(close); }

    bool notify(QObject* receiver, QEvent* event) override;

    // The answer itself: shows the messages and closes the program after a fatal error. For
    // the guard, and for errors raised outside the event loop (start-up).
    void handle(std::exception_ptr error, const QString& where = QStringLiteral("program start"));

    // How many errors reached notify(): none, while every handler is guarded.
    int lastNetCount() const { return lastNetCount_; }

  private:
    std::function<void()> closeAfterFatal_;
    int lastNetCount_ = 0;
};

// The look both programs share: the 12-pixel Chinese screen font.
void applyProgramFont(QApplication& app);

} // namespace sorrel::ui
