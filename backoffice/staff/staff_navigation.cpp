#include "backoffice/staff/staff_navigation.h"

namespace sorrel::backoffice {

void registerStaffPanels(Workspace& workspace, StaffLists& lists) {
    workspace.registerPanel(QStringLiteral("员工级别"), {&lists.levels(), rereadLists({&lists.levels()})});
    workspace.registerPanel(QStringLiteral("权限设置"),
                            {&lists.permissions(), rereadLists({&lists.levels(), &lists.permissions()})});
    workspace.registerPanel(QStringLiteral("操作员工"),
                            {&lists.operators(), rereadLists({&lists.levels(), &lists.operators()})});
    workspace.registerPanel(QStringLiteral("员工分区"), {&lists.areas(), rereadLists({&lists.areas()})});
    workspace.registerPanel(QStringLiteral("员工分组"),
                            {&lists.groups(), rereadLists({&lists.areas(), &lists.groups()})});
    workspace.registerPanel(
        QStringLiteral("提成员工"),
        {&lists.commission(), rereadLists({&lists.areas(), &lists.groups(), &lists.commission()})});
}

} // namespace sorrel::backoffice
