#include "backoffice/consumption/consumption_navigation.h"

#include "backoffice/consumption/class_rates.h"
#include "backoffice/consumption/item_components.h"

namespace sorrel::consumption {

void registerConsumptionPanels(panels::Workspace& workspace, ConsumptionLists& lists) {
    workspace.registerPanel(QStringLiteral("大类"), {&lists.kinds(), panels::rereading({&lists.kinds()})});
    workspace.registerPanel(QStringLiteral("分类"),
                            {&lists.classes(), panels::rereading({&lists.kinds(), &lists.classes()})});
    workspace.registerPanel(
        QStringLiteral("项目"),
        {&lists.items(), panels::rereading({&lists.kinds(), &lists.classes(), &lists.items()})});
    workspace.registerPanel(QStringLiteral("出品"),
                            {&lists.outputPoints(), panels::rereading({&lists.outputPoints()})});
    workspace.registerPanel(QStringLiteral("折扣"),
                            {&lists.schemes(), panels::rereading({&lists.schemes()})});
    workspace.registerPanel(kComponentsPanel, {&lists.components(), {}});
    workspace.registerPanel(kRatesPanel, {&lists.rates(), {}});
}

bool enterComponents(panels::Workspace& workspace, ConsumptionLists& lists) {
    if (!openComponents(lists)) return false;
    workspace.enterDetail(kComponentsPanel, lists.components());
    return true;
}

bool enterRates(panels::Workspace& workspace, ConsumptionLists& lists) {
    if (!openRates(lists)) return false;
    workspace.enterDetail(kRatesPanel, lists.rates());
    return true;
}

} // namespace sorrel::consumption
