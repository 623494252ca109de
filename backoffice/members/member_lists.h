// The member lists of the back office — member types, members and their cards, and a card's
// top-ups and point changes — declared with their defaults, checks and messages. A top-up is
// one transaction with its effect on the card: the remaining money moves by the amount relative
// to the database, the points become the sum of the card's point changes plus its base.
#pragma once

#include "backoffice/lists/choices.h"
#include "backoffice/lists/maintenance_list.h"
#include "common/clock.h"
#include "common/login_session.h"

#include <functional>
#include <memory>

namespace sorrel::members {

inline const QString kStoredValueCard = QStringLiteral("储值卡");
inline const QString kPointsCard = QStringLiteral("积分卡");
inline const QString kTopUpFailureCode = QStringLiteral("A100005");

// This program's operator, the one an entry records (never the one another workstation's login
// wrote into the settings row since).
using OperatorSource = std::function<OperatorEntry()>;

class MemberLists {
  public:
    MemberLists(Database& db, const Clock& clock, OperatorSource currentOperator);
    ~MemberLists();

    Database& db() const { return db_; }
    lists::MaintenanceList& types() const { return *types_; }
    lists::MaintenanceList& members() const { return *members_; }
    lists::MaintenanceList& topUps() const { return *topUps_; } // of the current member

    lists::Choices typeChoices() const;

    // "续钱" (money) or "扣减" (points): the current member is saved first, the empty entries
    // anyone left are removed and the member's entries are read. False when the member could
    // not be saved.
    enum class TopUpKind { Money, Points };
    bool openTopUps(TopUpKind kind);
    TopUpKind topUpKind() const { return kind_; }
    // The manager typed into the money or points edit: a text that is not a number counts as 0.
    void enterTopUp(const QString& column, const QString& typed);

  private:
    lists::ListDefinition typeList();
    lists::ListDefinition memberList();
    lists::ListDefinition topUpList();
    void typeChosen(lists::MaintenanceList& members, const QString& column);

    Database& db_;
    const Clock& clock_;
    OperatorSource operator_;
    TopUpKind kind_ = TopUpKind::Money;
    std::unique_ptr<lists::MaintenanceList> types_, members_, topUps_;
};

// A typed amount: its number, or 0 for a text that is not one ("-", ".", blank, "NaN") or lies
// beyond what an amount holds.
double enteredAmount(const QString& typed);

} // namespace sorrel::members
