// How the staff lists plug into the back office's shell: the six leaves of "员工管理" and
// "业绩管理", and what each reads afresh when it opens.
#pragma once

#include "backoffice/panels/workspace.h"
#include "backoffice/staff/staff_lists.h"

namespace sorrel::staff {

void registerStaffPanels(panels::Workspace& workspace, StaffLists& lists);

} // namespace sorrel::staff
