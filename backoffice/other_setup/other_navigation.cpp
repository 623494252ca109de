#include "backoffice/other_setup/other_navigation.h"

namespace sorrel::other_setup {

void registerOtherPanels(panels::Workspace& workspace, OtherLists& lists) {
    const QList<QPair<QString, lists::MaintenanceList*>> leaves = {
        {QStringLiteral("班次"), &lists.shifts()},
        {QStringLiteral("付款方式"), &lists.paymentMethods()},
        {QStringLiteral("其它收入"), &lists.otherIncome()},
        {QStringLiteral("项目说明"), &lists.itemNotes()},
        {QStringLiteral("单位名称"), &lists.units()},
    };
    for (const auto& [leaf, list] : leaves)
        workspace.registerPanel(leaf, {list, panels::rereading({list})});
}

} // namespace sorrel::other_setup
