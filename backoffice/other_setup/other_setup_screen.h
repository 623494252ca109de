// The panels of the other setup: shifts, payment methods, other income, item notes and units.
#pragma once

#include "backoffice/other_setup/other_lists.h"

#include <QHash>

class QWidget;

namespace sorrel::other_setup {

// Every panel by its leaf caption.
QHash<QString, QWidget*> makeOtherPanels(OtherLists& lists, QWidget* parent);

} // namespace sorrel::other_setup
