// The panels of the other setup: shifts, payment methods, other income, item notes and units.
#pragma once

#include "backoffice/other_setup/other_lists.h"
#include "backoffice/panels/back_office_context.h"

#include <QHash>

class QWidget;

namespace sorrel::other_setup {

// Every panel by its leaf caption.
QHash<QString, QWidget*> makeOtherPanels(const panels::BackOfficeContext& context, OtherLists& lists);

} // namespace sorrel::other_setup
