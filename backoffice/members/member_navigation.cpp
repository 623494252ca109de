#include "backoffice/members/member_navigation.h"

namespace sorrel::backoffice {

void registerMemberPanels(Workspace& workspace, MemberLists& members, CreditLists& credit) {
    workspace.registerPanel(QStringLiteral("会员类别"), {&members.types(), rereading({&members.types()})});
    workspace.registerPanel(QStringLiteral("会员信息"),
                            {&members.members(), rereading({&members.types(), &members.members()})});
    workspace.registerPanel(QStringLiteral("挂帐客人"), {&credit.guests(), rereading({&credit.guests()})});
    workspace.registerPanel(kTopUpsPanel, {&members.topUps(), {}});
    workspace.registerPanel(kRepaymentsPanel, {&credit.repayments(), {}});
}

bool enterTopUps(Workspace& workspace, MemberLists& members, MemberLists::TopUpKind kind) {
    if (!members.openTopUps(kind)) return false;
    workspace.enterDetail(kTopUpsPanel, members.topUps(),
                          {ToolButton::Add, ToolButton::Cancel, ToolButton::Save, ToolButton::Retreat});
    return true;
}

bool enterRepayments(Workspace& workspace, CreditLists& credit, const QString& typedPassword) {
    if (!credit.openRepayments(typedPassword)) return false;
    workspace.enterDetail(kRepaymentsPanel, credit.repayments(), {ToolButton::Retreat});
    return true;
}

} // namespace sorrel::backoffice
