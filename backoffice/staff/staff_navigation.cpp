#include "backoffice/staff/staff_navigation.h"

namespace sorrel::backoffice {

void registerStaffPanels(Workspace& workspace, StaffLists& lists) {
    workspace.registerPanel(QStringLiteral("员工级别"), {&lists.levels(), rereading({&lists.levels()})});
    workspace.registerPanel(QStringLiteral("权限设置"),
                            {&lists.permissions(), rereading({&lists.levels(), &lists.permissions()})});
    workspace.registerPanel(QStringLiteral("操作员工"),
                            {&lists.operators(), rereading({&lists.levels(), &lists.operators()})});
    workspace.registerPanel(QStringLiteral("员工分区"), {&lists.areas(), rereading({&lists.areas()})});
    workspace.registerPanel(QStringLiteral("员工分组"),
                            {&lists.groups(), rereading({&lists.areas(), &lists.groups()})});
    workspace.registerPanel(
        QStringLiteral("提成员工"),
        {&lists.commission(), rereading({&lists.areas(), &lists.groups(), &lists.commission()})});
}

} // namespace sorrel::backoffice
