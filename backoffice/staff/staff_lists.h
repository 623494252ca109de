// The staff lists of the back office — levels, each level's permissions, operators, and the
// areas, groups and commission staff of the floor — declared with their defaults, checks and
// messages, and owned together because levels narrow permissions and operators, areas narrow
// groups and groups narrow commission staff.
#pragma once

#include "backoffice/lists/maintenance_list.h"

#include <memory>

namespace sorrel::staff {

class StaffLists {
  public:
    explicit StaffLists(Database& db);
    ~StaffLists();

    Database& db() const { return db_; }
    lists::MaintenanceList& levels() const { return *levels_; }
    lists::MaintenanceList& permissions() const { return *permissions_; } // of the current level
    lists::MaintenanceList& operators() const { return *operators_; }     // of the current level
    lists::MaintenanceList& areas() const { return *areas_; }
    lists::MaintenanceList& groups() const { return *groups_; }         // of the current area
    lists::MaintenanceList& commission() const { return *commission_; } // of the current group

    // A double-click on a permission: its grant turns over and is saved at once.
    bool togglePermission();
    // "全选" / "全否": every permission of the current level granted or withdrawn.
    void setAllPermissions(bool granted);

  private:
    Database& db_;
    std::unique_ptr<lists::MaintenanceList> levels_, permissions_, operators_, areas_, groups_, commission_;
};

} // namespace sorrel::staff
