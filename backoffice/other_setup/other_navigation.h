// How the other setup plugs into the back office's shell: its five leaves, each reading its
// list afresh when it opens.
#pragma once

#include "backoffice/other_setup/other_lists.h"
#include "backoffice/panels/workspace.h"

namespace sorrel::other_setup {

void registerOtherPanels(panels::Workspace& workspace, OtherLists& lists);

} // namespace sorrel::other_setup
