// How the room setup plugs into the back office's shell: its four leaves and the price-band
// sub-panel, what each reads afresh when it opens, and entering the bands.
#pragma once

#include "backoffice/panels/workspace.h"
#include "backoffice/rooms/room_lists.h"

namespace sorrel::rooms {

inline const QString kBandsPanel = QStringLiteral("时段价格");

void registerRoomPanels(panels::Workspace& workspace, RoomLists& lists);

// The price-band button of the mode panel: the bands become the current list, with "回退" and
// "取消" only, when the mode saved (false otherwise).
bool enterBands(panels::Workspace& workspace, RoomLists& lists);

} // namespace sorrel::rooms
