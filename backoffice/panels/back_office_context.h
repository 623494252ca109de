// What every back-office screen is handed when it is made: the database, the clock, the login,
// the work area's state (which panel shows, the record toolbar), and the main window's services
// for showing a panel and binding its keys. A screen never reaches into the main window for any
// of these; an area's own lists are handed beside it. Messages go through the one Messages
// service (common/messages.h).
#pragma once

#include "backoffice/panels/workspace.h"
#include "common/clock.h"
#include "common/db/database.h"
#include "common/login_session.h"

#include <QString>

class QWidget;

namespace sorrel::ui {
class KeyboardMap;
class PanelNavigator;
} // namespace sorrel::ui

namespace sorrel::panels {

struct BackOfficeContext {
    Database& db;
    const Clock& clock;
    LoginSession& session;
    Workspace& workspace;
    ui::PanelNavigator& navigator;
    ui::KeyboardMap& keyboard;
    // pnl_Work: the host of the panels, one shown at a time.
    QWidget* host;
    // The folder of the programs, where the help pages lie.
    QString programDir;
};

} // namespace sorrel::panels
