// The panels of the room setup, as the work area shows them: departments, table types, tables,
// consumption modes and the price-band sub-panel.
#pragma once

#include "backoffice/panels/back_office_context.h"
#include "backoffice/rooms/room_lists.h"

#include <QHash>

class QWidget;

namespace sorrel::rooms {

// Every panel by the name the workspace shows it under (leaf captions and the sub-panel's name).
QHash<QString, QWidget*> makeRoomPanels(const panels::BackOfficeContext& context, RoomLists& lists);

} // namespace sorrel::rooms
