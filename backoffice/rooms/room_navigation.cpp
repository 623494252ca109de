#include "backoffice/rooms/room_navigation.h"

#include "backoffice/rooms/price_bands.h"

namespace sorrel::backoffice {

void registerRoomPanels(Workspace& workspace, RoomLists& lists) {
    // Each panel shows the database as it is when it opens: the front desk and other back
    // offices change it meanwhile.
    const auto reread = [](std::initializer_list<MaintenanceList*> chain) {
        const QList<MaintenanceList*> all(chain);
        return [all] {
            for (MaintenanceList* list : all)
                list->reload();
        };
    };
    workspace.registerPanel(QStringLiteral("部门"), {&lists.departments(), reread({&lists.departments()})});
    // The modes offered are read again too, so a mode just made or re-coded can be chosen.
    workspace.registerPanel(QStringLiteral("类型"), {&lists.tableTypes(), reread({&lists.tableTypes()})});
    workspace.registerPanel(QStringLiteral("房台"),
                            {&lists.tables(), reread({&lists.departments(), &lists.tables()})});
    workspace.registerPanel(QStringLiteral("消费方式"), {&lists.modes(), reread({&lists.modes()})});
    workspace.registerPanel(kBandsPanel, {&lists.bands(), {}});
}

bool enterBands(Workspace& workspace, RoomLists& lists) {
    if (!openBands(lists)) return false;
    workspace.enterDetail(kBandsPanel, lists.bands(), {ToolButton::Retreat, ToolButton::Cancel});
    return true;
}

} // namespace sorrel::backoffice
