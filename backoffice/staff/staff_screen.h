// The staff panels as the work area shows them: levels, the permission matrix of a level,
// operators, areas, groups and commission staff.
#pragma once

#include "backoffice/panels/back_office_context.h"
#include "backoffice/staff/staff_lists.h"

#include <QHash>

class QWidget;

namespace sorrel::staff {

// Every panel by the leaf caption the workspace shows it under.
QHash<QString, QWidget*> makeStaffPanels(const panels::BackOfficeContext& context, StaffLists& lists);

} // namespace sorrel::staff
