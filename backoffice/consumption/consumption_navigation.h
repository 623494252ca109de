// How the consumption setup plugs into the back office's shell: its five leaves and two
// sub-panels, what each reads afresh when it opens, and entering the sub-panels.
#pragma once

#include "backoffice/consumption/consumption_lists.h"
#include "backoffice/panels/workspace.h"

namespace sorrel::consumption {

inline const QString kComponentsPanel = QStringLiteral("组成项目");
inline const QString kRatesPanel = QStringLiteral("折扣明细");

void registerConsumptionPanels(panels::Workspace& workspace, ConsumptionLists& lists);

// The components button of the item panel and the class-rates button of the scheme panel: the
// sub-panel becomes the current panel when its master record saved (false otherwise).
bool enterComponents(panels::Workspace& workspace, ConsumptionLists& lists);
bool enterRates(panels::Workspace& workspace, ConsumptionLists& lists);

} // namespace sorrel::consumption
