// The order being taken for one bill: its staged lines (TableConsListTemp rows of this bill
// only, so workstations taking orders for other tables never touch them), choosing an item,
// taking one off, the checks of a line, deleting a line. Every change is written at once; the
// commit (order_commit.h) moves the lines onto the bill.
#pragma once

#include "common/db/database.h"
#include "frontdesk/ordering/order_menu.h"

#include <QList>
#include <functional>
#include <optional>

namespace sorrel::ordering {

// menu_type_code
inline const QString kOrdered = QStringLiteral("1");
inline const QString kReturned = QStringLiteral("2");
inline const QString kGift = QStringLiteral("3");
inline const QString kGiftReturned = QStringLiteral("4");

// The money sign (item_type_flag) and stock sign (item_coun_flag) of an order kind.
struct KindSigns {
    int money = 1;
    int stock = 1;
};
KindSigns kindSigns(const QString& kind);

inline const QString kDisabledItemMessage = QStringLiteral("此消费项目已禁用，所以不能进行[点单]！");
inline const QString kOverReturnMessage = QStringLiteral("所选项目[退单数]超过[点单数]，所以不能退单！");
inline const QString kOverGiftReturnMessage = QStringLiteral("所选项目[退赠数]超过[赠单数]，所以不能退赠！");
QString lowStockMessage(int limit);
QString overStockMessage(const QString& itemName, double stock);

// A staged line as the ordering screen shows and edits it.
struct StagedLine {
    int id = 0; // tabl_cons_ID of the staging row
    QString itemCode;
    QString itemName;
    QString unit;
    QString itemType;
    bool realPrice = false;
    double quantity = 0;
    double price = 0;
    QString kind = kOrdered;
    QString note;  // cons_narr_code
    QString staff; // dedu_oper_code
};

// The largest quantity an order line holds (its column's range); beyond it a typed quantity
// is refused as it is typed.
double largestQuantity();

// What the operator has typed into the line editor for a line.
struct LineEdit {
    std::optional<double> quantity; // none: the field is empty (stored as 0, not checked)
    double price = 0;
    QString kind = kOrdered;
    QString note;
    QString staff;
};

struct Verdict {
    bool accepted = true;
    QString message; // a refusal, or a warning beside an accepted change; empty when silent
    bool clearQuantity = false;
};

struct Choice {
    int lineId = 0; // 0: nothing staged
    bool appended = false;
    QString message;
};

class OrderStaging {
  public:
    // `allowed` answers (and, when it refuses, tells the operator) whether the logged-in level
    // holds a permission.
    OrderStaging(Database& db, int billNumber, const QString& tableCode, const QString& operCode,
                 std::function<bool(const QString&)> allowed);

    int billNumber() const { return bill_; }

    // Entering ordering: this bill's staged lines of an earlier, abandoned order are dropped.
    void begin();
    // The visible lines (not the set meals' components), in the order they were chosen.
    QList<StagedLine> lines();
    std::optional<StagedLine> line(int id);
    bool empty();

    // Adds one of `item`: a new line (with a set meal's direct components), or one more on its
    // line unless that would order more than a limited stock holds.
    Choice choose(const OrderItem& item);
    // One fewer of the item on its line; false when it is not staged or already at 0.
    bool takeOneOff(const QString& itemCode);
    // Checks the typed line against the permissions, what the bill holds and the stock, and
    // writes it when accepted.
    Verdict validate(int id, const LineEdit& edit);
    // Writes the typed line without checking it (price, note and staff changes).
    void post(int id, const LineEdit& edit);
    // Deletes the line, and a set meal's components with it.
    void remove(int id);

  private:
    double committed(const QString& itemCode, const char* kinds, const char* sign);
    QList<StagedLine> read(const QString& where, const QVariantList& params);

    Database& db_;
    int bill_;
    QString tableCode_;
    QString operCode_;
    std::function<bool(const QString&)> allowed_;
};

} // namespace sorrel::ordering
