// The panels of the room setup, as the work area shows them: departments, table types, tables,
// consumption modes and the price-band sub-panel.
#pragma once

#include "backoffice/panels/workspace.h"
#include "backoffice/rooms/room_lists.h"

#include <QHash>

class QWidget;

namespace sorrel::rooms {

// Every panel by the name the workspace shows it under (leaf captions and the sub-panel's name).
QHash<QString, QWidget*> makeRoomPanels(RoomLists& lists, panels::Workspace& workspace, QWidget* parent);

} // namespace sorrel::rooms
