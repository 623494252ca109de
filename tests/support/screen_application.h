// The application object of every screen test: offscreen, with the program's font and the
// program-wide error handler, made on first use and never destroyed (tearing Qt down in the exit
// handlers crashes). Also the look-ups screen tests share.
#pragma once

#include "common/ui/guarded_application.h"

#include <QString>
#include <functional>
#include <memory>

class QToolButton;
class QWidget;

namespace sorrel::test {

ui::GuardedApplication& screenApplication();

// The one button captioned `caption` among the tool buttons inside `in` that an operator can see;
// nullptr when there is none, and a failed test when there are several.
QToolButton* toolButtonCaptioned(QWidget* in, const QString& caption);

// Writes what `widget` shows to `name`.png in $SORREL_SCREENSHOT_DIR, when that folder is given.
void saveScreenshot(QWidget* widget, const QString& name);

// Shows a program's main window, makes it the active window and answers whether it became so.
// Until closeShown(), a fatal error closes the window without asking.
bool showAndWaitUntilActive(QWidget* window);
template <typename Window> [[nodiscard]] bool showActive(Window& window) {
    screenApplication().setCloseAfterFatalError([&window] { window.closeWithoutAsking(); });
    return showAndWaitUntilActive(&window);
}
// The main window of a screen test closed without asking, and the fatal-error handler let go.
template <typename Window> void closeShown(std::unique_ptr<Window>& window) {
    screenApplication().setCloseAfterFatalError({});
    if (window && window->isVisible()) window->closeWithoutAsking();
    window.reset();
}

// Runs the event loop until `done` answers true or `timeoutMs` has passed; answers `done`.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

} // namespace sorrel::test
