// The staff lists of the back office — levels, each level's permissions, operators, and the
// areas, groups and commission staff of the floor — declared with their defaults, checks and
// messages, and owned together because levels narrow permissions and operators, areas narrow
// groups and groups narrow commission staff.
#pragma once

#include "backoffice/lists/maintenance_list.h"

#include <memory>

namespace sorrel::backoffice {

class StaffLists {
  public:
    explicit StaffLists(Database& db);
    ~StaffLists();

    Database& db() const { return db_; }
    MaintenanceList& levels() const { return *levels_; }
    MaintenanceList& permissions() const { return *permissions_; } // of the current level
    MaintenanceList& operators() const { return *operators_; }     // of the current level
    MaintenanceList& areas() const { return *areas_; }
    MaintenanceList& groups() const { return *groups_; }         // of the current area
    MaintenanceList& commission() const { return *commission_; } // of the current group

    // A double-click on a permission: its grant turns over and is saved at once.
    bool togglePermission();
    // "全选" / "全否": every permission of the current level granted or withdrawn.
    void setAllPermissions(bool granted);

  private:
    Database& db_;
    std::unique_ptr<MaintenanceList> levels_, permissions_, operators_, areas_, groups_, commission_;
};

} // namespace sorrel::backoffice
