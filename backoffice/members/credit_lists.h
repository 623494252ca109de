// The credit guests of the back office and their repayments: the guest list with its checks,
// opening the repayments behind the system password, taking a repayment (one transaction that
// books it and lowers the debt relative to the database) and the printed list of repayments.
#pragma once

#include "backoffice/lists/maintenance_list.h"
#include "backoffice/members/member_lists.h"
#include "common/db/errors.h"
#include "common/document/document.h"
#include "common/system_password.h"

#include <memory>

namespace sorrel::members {

inline const QString kRepaymentFailureCode = QStringLiteral("A1000020");
inline const QString kRepaymentAboveDebt = QStringLiteral("还款金额不能大于已消费金额,请重新输入!");

class CreditLists {
  public:
    CreditLists(Database& db, const Clock& clock, OperatorSource currentOperator);
    ~CreditLists();

    Database& db() const { return db_; }
    lists::MaintenanceList& guests() const { return *guests_; }
    lists::MaintenanceList& repayments() const { return *repayments_; } // of the current guest

    // The double-click on a guest: with the system password typed (systemPasswordMatches) the guest is saved
    // and its repayments read; another password is refused (StepRefused). False when no guest is current.
    bool openRepayments(const QString& typedPassword);
    // "保存": blank or not a number does nothing (NotANumber); above the debt as it now stands
    // (or with the guest gone) it is refused (StepRefused, the list read again); else the
    // repayment is booked (CodedFailure A1000020 on failure).
    enum class Repayment { NotANumber, Booked };
    Repayment repay(const QString& typedAmount);
    // "挂帐还款一览表" of the current guest.
    document::Document repaymentList() const;

  private:
    lists::ListDefinition guestList();
    lists::ListDefinition repaymentList_();

    Database& db_;
    const Clock& clock_;
    OperatorSource operator_;
    std::unique_ptr<lists::MaintenanceList> guests_, repayments_;
};

// The list itself, from the guest's repayments: a line per repayment and the sum below.
document::Document repaymentDocument(const QString& guestName, const RecordSet& repayments,
                                     const QDateTime& printedAt);

} // namespace sorrel::members
