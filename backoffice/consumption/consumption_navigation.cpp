#include "backoffice/consumption/consumption_navigation.h"

#include "backoffice/consumption/class_rates.h"
#include "backoffice/consumption/item_components.h"

namespace sorrel::backoffice {

void registerConsumptionPanels(Workspace& workspace, ConsumptionLists& lists) {
    // Each panel shows the database as it is when it opens: another back office may have changed it.
    const auto reread = [](std::initializer_list<MaintenanceList*> chain) {
        const QList<MaintenanceList*> all(chain);
        return [all] {
            for (MaintenanceList* list : all)
                list->reload();
        };
    };
    workspace.registerPanel(QStringLiteral("大类"), {&lists.kinds(), reread({&lists.kinds()})});
    workspace.registerPanel(QStringLiteral("分类"),
                            {&lists.classes(), reread({&lists.kinds(), &lists.classes()})});
    workspace.registerPanel(QStringLiteral("项目"),
                            {&lists.items(), reread({&lists.kinds(), &lists.classes(), &lists.items()})});
    workspace.registerPanel(QStringLiteral("出品"), {&lists.outputPoints(), reread({&lists.outputPoints()})});
    workspace.registerPanel(QStringLiteral("折扣"), {&lists.schemes(), reread({&lists.schemes()})});
    workspace.registerPanel(kComponentsPanel, {&lists.components(), {}});
    workspace.registerPanel(kRatesPanel, {&lists.rates(), {}});
}

bool enterComponents(Workspace& workspace, ConsumptionLists& lists) {
    if (!openComponents(lists)) return false;
    workspace.enterDetail(kComponentsPanel, lists.components());
    return true;
}

bool enterRates(Workspace& workspace, ConsumptionLists& lists) {
    if (!openRates(lists)) return false;
    workspace.enterDetail(kRatesPanel, lists.rates());
    return true;
}

} // namespace sorrel::backoffice
