// What every front-desk screen is handed when it is made: the database, the clock, the login
// (which holds the program's copy of the settings row), and the main window's services for
// showing a screen, binding its keys and reporting progress in the status bar. A screen never
// reaches into the main window for any of these. Messages go through the one Messages service
// (common/messages.h), which the program-wide error handler shares.
#pragma once

#include "common/clock.h"
#include "common/db/database.h"
#include "common/login_session.h"
#include "common/progress.h"
#include "common/settings_row.h"

#include <QString>

class QWidget;

namespace sorrel::ui {
class EnterMovesFocus;
class KeyboardMap;
class PanelNavigator;
} // namespace sorrel::ui

namespace sorrel::frontdesk {

struct FrontDeskContext {
    Database& db;
    const Clock& clock;
    LoginSession& session;
    ui::PanelNavigator& navigator;
    ui::KeyboardMap& keyboard;
    ui::EnterMovesFocus& enterMovesFocus;
    // pnl_Parent: the host of the main screens (board, register, work screen, …).
    QWidget* host;
    // The progress bar over status panel 0: shown from the first report, hidden at 100.
    ProgressReport progress;
    // The folder of the programs, where this workstation's own settings files lie.
    QString programDir;

    const SettingsRow& settings() const { return session.settings(); }
};

} // namespace sorrel::frontdesk
