// The inventory's lists — the items with their stock flag (by kind and class), partner types,
// partners, open stock bills with their lines, and a partner's payments — declared with their
// defaults, checks and messages. A bill's line is only ever written while its bill is still open
// (checked in the writing transaction); a payment moves its partner's balance in its own save.
#pragma once

#include "backoffice/lists/choices.h"
#include "backoffice/lists/maintenance_list.h"
#include "common/clock.h"
#include "common/login_session.h"

#include <functional>
#include <memory>

namespace sorrel::stock {

inline const QString kPurchase = QStringLiteral("进货单");
inline const QString kReturn = QStringLiteral("退货单");
inline const QString kSale = QStringLiteral("销售单");

inline const QString kLimited = QStringLiteral("有限");
inline const QString kUnlimited = QStringLiteral("不限");
inline const QString kDisabled = QStringLiteral("禁用");

inline const QString kAdjustmentCode = QStringLiteral("A100001");
inline const QString kPostingCode = QStringLiteral("A100002");
inline const QString kPaymentCode = QStringLiteral("A100003");
inline const QString kLinesCode = QStringLiteral("A100004");

inline const QString kBillGoneMessage = QStringLiteral("此单据已经被执行或删除！");
inline const QString kDisabledItemMessage = QStringLiteral("此消费项目已被禁用，所以不能进行进销存处理！");
inline const QString kMadeItemMessage = QStringLiteral("套餐/合成项目不能进行进销存处理！");
inline const QString kNegativeLineMessage = QStringLiteral("数量、单价不能为负数！");

// The stock direction of a bill type: 1 brings goods in, -1 takes them out.
int directionOf(const QString& billType);
// The amount columns a bill of that type keeps: payable and paid for a purchase, receivable and
// received for a return or a sale.
struct AmountColumns {
    QString due;
    QString settled;
};
AmountColumns amountColumnsOf(const QString& billType);

// This program's operator, the one a new bill records.
using OperatorSource = std::function<OperatorEntry()>;

class StockLists {
  public:
    StockLists(Database& db, const Clock& clock, OperatorSource currentOperator);
    ~StockLists();

    Database& db() const { return db_; }
    const Clock& clock() const { return clock_; }
    lists::MaintenanceList& kinds() const { return *kinds_; }
    lists::MaintenanceList& classes() const { return *classes_; } // of the current kind
    lists::MaintenanceList& items() const { return *items_; }     // of the current class
    lists::MaintenanceList& partnerTypes() const { return *partnerTypes_; }
    lists::MaintenanceList& partners() const { return *partners_; } // of the current type
    lists::MaintenanceList& bills() const { return *bills_; }
    lists::MaintenanceList& lines() const { return *lines_; }       // of the current bill
    lists::MaintenanceList& payments() const { return *payments_; } // of the current partner

    lists::Choices partnerTypeChoices() const;
    // The partners of the current bill's type, by short name.
    lists::Choices billPartnerChoices() const;
    lists::Choices operatorChoices() const;
    // Every item the bill's picker offers: code, name, shortcut, stock flag and type.
    RecordSet pickerItems() const;
    // The current item's components with their own stock (the item stock panel's "明细").
    RecordSet currentComponents() const;

    // Picks an item for the current bill: refused (the message) for a disabled item, a set meal
    // or composite, or a bill that was posted meanwhile; an item the bill has already is not
    // added again. Answers the line's key, or null when nothing was added.
    QVariant addLine(const QString& itemCode);

  private:
    lists::ListDefinition itemList();
    lists::ListDefinition partnerTypeList();
    lists::ListDefinition partnerList();
    lists::ListDefinition billList();
    lists::ListDefinition lineList();
    lists::ListDefinition paymentList();
    void billEdited(lists::MaintenanceList& bills, const QString& column);

    Database& db_;
    const Clock& clock_;
    OperatorSource operator_;
    std::unique_ptr<lists::MaintenanceList> kinds_, classes_, items_, partnerTypes_, partners_, bills_,
        lines_, payments_;
};

// Refuses with kBillGoneMessage unless the open bill is still there; inside the caller's
// transaction (its row stays locked on the server).
void requireOpenBill(Database& db, const QVariant& billId);

// The partner's net payable (payable less receivable) moved by `delta` under the running
// transaction, kept to the cent and split again: at most one of the two is above zero.
void movePartnerBalance(Database& db, const QVariant& partnerCode, double delta);

} // namespace sorrel::stock
