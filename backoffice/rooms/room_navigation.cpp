#include "backoffice/rooms/room_navigation.h"

#include "backoffice/rooms/price_bands.h"

namespace sorrel::rooms {

void registerRoomPanels(panels::Workspace& workspace, RoomLists& lists) {
    workspace.registerPanel(QStringLiteral("部门"),
                            {&lists.departments(), panels::rereading({&lists.departments()})});
    // The modes offered are read again too, so a mode just made or re-coded can be chosen.
    workspace.registerPanel(QStringLiteral("类型"),
                            {&lists.tableTypes(), panels::rereading({&lists.tableTypes()})});
    workspace.registerPanel(QStringLiteral("房台"),
                            {&lists.tables(), panels::rereading({&lists.departments(), &lists.tables()})});
    workspace.registerPanel(QStringLiteral("消费方式"),
                            {&lists.modes(), panels::rereading({&lists.modes()})});
    workspace.registerPanel(kBandsPanel, {&lists.bands(), {}});
}

bool enterBands(panels::Workspace& workspace, RoomLists& lists) {
    if (!openBands(lists)) return false;
    workspace.enterDetail(kBandsPanel, lists.bands(),
                          {panels::ToolButton::Retreat, panels::ToolButton::Cancel});
    return true;
}

} // namespace sorrel::rooms
