#include "backoffice/staff/staff_navigation.h"

namespace sorrel::staff {

void registerStaffPanels(panels::Workspace& workspace, StaffLists& lists) {
    workspace.registerPanel(QStringLiteral("员工级别"),
                            {&lists.levels(), panels::rereading({&lists.levels()})});
    workspace.registerPanel(
        QStringLiteral("权限设置"),
        {&lists.permissions(), panels::rereading({&lists.levels(), &lists.permissions()})});
    workspace.registerPanel(QStringLiteral("操作员工"),
                            {&lists.operators(), panels::rereading({&lists.levels(), &lists.operators()})});
    workspace.registerPanel(QStringLiteral("员工分区"),
                            {&lists.areas(), panels::rereading({&lists.areas()})});
    workspace.registerPanel(QStringLiteral("员工分组"),
                            {&lists.groups(), panels::rereading({&lists.areas(), &lists.groups()})});
    workspace.registerPanel(
        QStringLiteral("提成员工"),
        {&lists.commission(), panels::rereading({&lists.areas(), &lists.groups(), &lists.commission()})});
}

} // namespace sorrel::staff
