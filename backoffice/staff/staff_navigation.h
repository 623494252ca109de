// How the staff lists plug into the back office's shell: the six leaves of "员工管理" and
// "业绩管理", and what each reads afresh when it opens.
#pragma once

#include "backoffice/shell/workspace.h"
#include "backoffice/staff/staff_lists.h"

namespace sorrel::backoffice {

void registerStaffPanels(Workspace& workspace, StaffLists& lists);

// Each panel shows the database as it is when it opens: another back office may have changed it.
std::function<void()> rereadLists(std::initializer_list<MaintenanceList*> chain);

} // namespace sorrel::backoffice
