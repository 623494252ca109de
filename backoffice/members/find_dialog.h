// The small box "查询" opens on the member and credit-guest panels: the manager types a number
// or a name and the list moves to the record found.
#pragma once

#include "backoffice/lists/maintenance_list.h"

class QWidget;

namespace sorrel::members {

void askAndFind(QWidget* parent, lists::MaintenanceList& list, const QString& numberColumn,
                const QString& nameColumn);

} // namespace sorrel::members
