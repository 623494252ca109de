#include "backoffice/consumption/consumption_navigation.h"

#include "backoffice/consumption/class_rates.h"
#include "backoffice/consumption/item_components.h"

namespace sorrel::backoffice {

void registerConsumptionPanels(Workspace& workspace, ConsumptionLists& lists) {
    workspace.registerPanel(QStringLiteral("大类"), {&lists.kinds(), rereadLists({&lists.kinds()})});
    workspace.registerPanel(QStringLiteral("分类"),
                            {&lists.classes(), rereadLists({&lists.kinds(), &lists.classes()})});
    workspace.registerPanel(
        QStringLiteral("项目"),
        {&lists.items(), rereadLists({&lists.kinds(), &lists.classes(), &lists.items()})});
    workspace.registerPanel(QStringLiteral("出品"),
                            {&lists.outputPoints(), rereadLists({&lists.outputPoints()})});
    workspace.registerPanel(QStringLiteral("折扣"), {&lists.schemes(), rereadLists({&lists.schemes()})});
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
