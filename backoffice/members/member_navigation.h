// How the member and credit-guest lists plug into the back office's shell: the three leaves of
// "会员管理" and "挂帐管理", the top-up and repayment sub-panels and the ways into them.
#pragma once

#include "backoffice/members/credit_lists.h"
#include "backoffice/members/member_lists.h"
#include "backoffice/panels/workspace.h"

namespace sorrel::members {

inline const QString kTopUpsPanel = QStringLiteral("续钱");
inline const QString kRepaymentsPanel = QStringLiteral("还款");

void registerMemberPanels(panels::Workspace& workspace, MemberLists& members, CreditLists& credit);

// "续钱" / "扣减" on the member panel: the top-ups become the current panel ("回退" shown,
// "删除" and "查询" hidden) once the member saved.
bool enterTopUps(panels::Workspace& workspace, MemberLists& members, MemberLists::TopUpKind kind);
// The double-click on a credit guest: the repayments, behind the system password.
bool enterRepayments(panels::Workspace& workspace, CreditLists& credit, const QString& typedPassword);

} // namespace sorrel::members
