#include "backoffice/members/member_navigation.h"

namespace sorrel::members {

void registerMemberPanels(panels::Workspace& workspace, MemberLists& members, CreditLists& credit) {
    workspace.registerPanel(QStringLiteral("会员类别"),
                            {&members.types(), panels::rereading({&members.types()})});
    workspace.registerPanel(QStringLiteral("会员信息"),
                            {&members.members(), panels::rereading({&members.types(), &members.members()})});
    workspace.registerPanel(QStringLiteral("挂帐客人"),
                            {&credit.guests(), panels::rereading({&credit.guests()})});
    workspace.registerPanel(kTopUpsPanel, {&members.topUps(), {}});
    workspace.registerPanel(kRepaymentsPanel, {&credit.repayments(), {}});
}

bool enterTopUps(panels::Workspace& workspace, MemberLists& members, MemberLists::TopUpKind kind) {
    if (!members.openTopUps(kind)) return false;
    workspace.enterDetail(kTopUpsPanel, members.topUps(),
                          {panels::ToolButton::Add, panels::ToolButton::Cancel, panels::ToolButton::Save,
                           panels::ToolButton::Retreat});
    return true;
}

bool enterRepayments(panels::Workspace& workspace, CreditLists& credit, const QString& typedPassword) {
    if (!credit.openRepayments(typedPassword)) return false;
    workspace.enterDetail(kRepaymentsPanel, credit.repayments(), {panels::ToolButton::Retreat});
    return true;
}

} // namespace sorrel::members
