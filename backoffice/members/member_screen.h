// The member and credit-guest panels as the work area shows them: member types, members with
// their card type and validity, a card's top-ups, credit guests and a guest's repayments.
#pragma once

#include "backoffice/members/credit_lists.h"
#include "backoffice/members/member_lists.h"
#include "backoffice/panels/back_office_context.h"

#include <QHash>

class QLineEdit;
class QWidget;

namespace sorrel::members {

// Every panel by the name the workspace shows it under (leaf captions and sub-panel names).
QHash<QString, QWidget*> makeMemberPanels(const panels::BackOfficeContext& context, MemberLists& members);
QHash<QString, QWidget*> makeCreditPanels(const panels::BackOfficeContext& context, CreditLists& credit);

// A top-up or repayment amount: digits, a leading "-" (money taken off, a debt raised) and one
// decimal point with up to two places.
void acceptSignedAmount(QLineEdit* edit);

} // namespace sorrel::members
