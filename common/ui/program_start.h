// How either program starts: one copy per machine and never beside the other program, the
// splash, the database (or the offer of a new one), the main window, the event loop under the
// program-wide error handler.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/program.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace sorrel::ui {

struct MainWindowOf {
    std::unique_ptr<QWidget> window;
    // Closes it without the exit question, after a fatal error.
    std::function<void()> closeWithoutAsking;
};
using MakeMainWindow =
    std::function<MainWindowOf(Database& db, const Clock& clock, const QString& programDir)>;

// For a window constructed from (db, clock, programDir) with closeWithoutAsking().
template <typename Window> MakeMainWindow mainWindow() {
    return [](Database& db, const Clock& clock, const QString& programDir) {
        auto window = std::make_unique<Window>(db, clock, programDir);
        Window* w = window.get();
        return MainWindowOf{std::move(window), [w] { w->closeWithoutAsking(); }};
    };
}

int runProgram(int argc, char** argv, Program program, const MakeMainWindow& makeWindow);

} // namespace sorrel::ui
