// The panels of the consumption setup, as the work area shows them: kinds, classes, items,
// output points, discount schemes, and the two sub-panels (components, class rates).
#pragma once

#include "backoffice/consumption/consumption_lists.h"
#include "backoffice/panels/back_office_context.h"

#include <QHash>

class QWidget;

namespace sorrel::ui {
class KeyboardMap;
}

namespace sorrel::consumption {

// Every panel by the name the workspace shows it under (leaf captions and sub-panel names).
QHash<QString, QWidget*> makeConsumptionPanels(const panels::BackOfficeContext& context,
                                               ConsumptionLists& lists);

} // namespace sorrel::consumption
