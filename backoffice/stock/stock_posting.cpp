#include "backoffice/stock/stock_posting.h"

#include "backoffice/stock/stock_lists.h"
#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/made_items_stock.h"
#include "common/money.h"
#include "common/typed_input.h"

#include <QMap>

namespace sorrel::stock {

namespace {

const QString kBillColumns = QStringLiteral(
    "stor_bill_ID, stor_bill_code, stor_bill_type, stor_deta_flag, stor_work_type_code, work_code, "
    "work_name_s, oper_code, stor_pay_shou, stor_pay_fact, stor_inco_shou, stor_inco_fact, stor_bill_rema, "
    "stor_bill_run, stor_bill_date, stor_bill_date_work");
const QString kLineColumns = QStringLiteral(
    "clas_code, stor_bill_code, item_code, item_name, item_unit, item_cost_pric, item_coun, item_mone, "
    "stor_bill_date, stor_bill_date_work, stor_bill_ID, stor_deta_flag, item_rema");

RecordSet openBill(Database& db, const QVariant& billId) {
    const RecordSet bill = db.query(
        QStringLiteral("SELECT * FROM StoreBill WHERE stor_bill_ID = ?") + db.lockRowsClause(), {billId});
    if (bill.isEmpty()) throw StepRefused(kBillGoneMessage);
    return bill;
}

// The lines' amounts and the bill's total and direction, from what the database holds now.
bool totalLines(Database& db, const RecordSet& bill) {
    const QVariant billId = bill.value(0, "stor_bill_ID");
    const QString type = bill.text(0, "stor_bill_type");
    const RecordSet lines = db.query(
        QStringLiteral(
            "SELECT stor_deta_ID, item_coun, item_cost_pric FROM StoreDetail WHERE stor_bill_ID = ?"),
        {billId});
    double total = 0;
    for (int i = 0; i < lines.rowCount(); ++i) {
        const double amount =
            IntWay(lines.number(i, "item_coun") * lines.number(i, "item_cost_pric"), kKeepCents);
        total += amount;
        db.exec(
            QStringLiteral("UPDATE StoreDetail SET item_mone = ?, stor_deta_flag = ? WHERE stor_deta_ID = ?"),
            {amount, directionOf(type), lines.value(i, "stor_deta_ID")});
    }
    const AmountColumns columns = amountColumnsOf(type);
    if (!lines.isEmpty())
        db.exec(QStringLiteral("UPDATE StoreBill SET %1 = ?, stor_deta_flag = ? WHERE stor_bill_ID = ?")
                    .arg(columns.due),
                {IntWay(total, kKeepCents), directionOf(type), billId});
    else
        db.exec(QStringLiteral("UPDATE StoreBill SET stor_deta_flag = ? WHERE stor_bill_ID = ?"),
                {directionOf(type), billId});
    return !lines.isEmpty();
}

void requireComplete(const RecordSet& bill) {
    for (const char* column : {"stor_bill_code", "stor_bill_type", "oper_code"})
        if (bill.text(0, column).trimmed().isEmpty())
            throw StepRefused(QStringLiteral("[单据类型]、[经办人]不为空！"));
    const QString type = bill.text(0, "stor_bill_type");
    if (type != kPurchase && type != kReturn && type != kSale)
        throw StepRefused(QStringLiteral("[单据类型]、[经办人]不为空！"));
}

// Each line's item moved by its quantity in the bill's direction; the cost averaged for a
// purchase when asked. Read under the lock, before this bill adds to the stock.
void moveStock(Database& db, const QVariant& billId, const QString& type, bool averaging) {
    const RecordSet lines =
        db.query(QStringLiteral("SELECT item_code, item_coun, item_cost_pric FROM StoreDetail WHERE "
                                "stor_bill_ID = ? ORDER BY item_code"),
                 {billId});
    const int direction = directionOf(type);
    for (int i = 0; i < lines.rowCount(); ++i) {
        const QString code = lines.text(i, "item_code");
        const double quantity = lines.number(i, "item_coun");
        const double price = lines.number(i, "item_cost_pric");
        if (quantity < 0 || price < 0) throw StepRefused(kNegativeLineMessage);
        const RecordSet item =
            db.query(QStringLiteral("SELECT item_name, item_coun, item_cost_pric, "
                                    "item_unit_pric, item_limi, item_type_code FROM itemlist "
                                    "WHERE item_code = ?") +
                         db.lockRowsClause(),
                     {code});
        if (item.isEmpty()) throw StepRefused(lists::kRecordGoneMessage);
        const QString itemType = item.text(0, "item_type_code");
        if (itemType == QLatin1String("2") || itemType == QLatin1String("3"))
            throw StepRefused(kMadeItemMessage);
        if (item.text(0, "item_limi") == kDisabled) throw StepRefused(kDisabledItemMessage);
        const double stock = item.number(0, "item_coun");
        if (direction < 0 && item.text(0, "item_limi") == kLimited && compareMoney(stock - quantity, 0) < 0)
            throw StepRefused(QStringLiteral("[%1/%2]出库数量已经超过库存数，不能执行！")
                                  .arg(item.text(0, "item_name"), plainNumberText(stock)));
        db.exec(QStringLiteral("UPDATE itemlist SET item_coun = item_coun + ? WHERE item_code = ?"),
                {quantity * direction, code});
        if (!averaging) continue;
        const double cost = averageCost(item.number(0, "item_cost_pric"), stock, price, quantity);
        if (item.number(0, "item_unit_pric") > cost)
            db.exec(QStringLiteral("UPDATE itemlist SET item_cost_pric = ? WHERE item_code = ?"),
                    {cost, code});
    }
}

} // namespace

double averageCost(double cost, double stock, double price, double quantity) {
    if (compareMoney(quantity, 0) == 0) return cost;
    const double held = stock > 0 ? stock : 0;
    return IntWay((cost * held + price * quantity) / (held + quantity), kKeepCents);
}

bool averageCostOn(Database& db) {
    return db.scalar(QStringLiteral("SELECT calc_cost FROM SetupPay")).toLongLong() != 0;
}

void setAverageCost(Database& db, bool on) {
    db.exec(QStringLiteral("UPDATE SetupPay SET calc_cost = ?"), {on ? 1 : 0});
}

bool closeLines(Database& db, const QVariant& billId) {
    return runCoded(db, kLinesCode, [&] { return totalLines(db, openBill(db, billId)); });
}

void postBill(Database& db, const QVariant& billId) {
    runCoded(db, kPostingCode, [&] {
        const RecordSet stored = openBill(db, billId);
        requireComplete(stored);
        totalLines(db, stored);
        const RecordSet bill = openBill(db, billId);
        const QString type = bill.text(0, "stor_bill_type");
        moveStock(db, billId, type, type == kPurchase && averageCostOn(db));
        db.exec(kRefreshMadeItemsStock);

        const QVariant partner = bill.value(0, "work_code");
        const bool hasPartner = !bill.text(0, "work_code").isEmpty();
        if (hasPartner)
            db.exec(QStringLiteral("UPDATE StoreBill SET work_name_s = (SELECT w.work_name_s FROM WorkList w "
                                   "WHERE w.work_code = StoreBill.work_code) WHERE stor_bill_ID = ?"),
                    {billId});
        db.exec(
            QStringLiteral("INSERT INTO AllStoreBill (%1) SELECT %1 FROM StoreBill WHERE stor_bill_ID = ?")
                .arg(kBillColumns),
            {billId});
        db.exec(QStringLiteral(
                    "INSERT INTO AllStoreDetail (%1) SELECT %1 FROM StoreDetail WHERE stor_bill_ID = ?")
                    .arg(kLineColumns),
                {billId});
        db.exec(QStringLiteral("DELETE FROM StoreDetail WHERE stor_bill_ID = ?"), {billId});
        if (db.exec(QStringLiteral("DELETE FROM StoreBill WHERE stor_bill_ID = ?"), {billId}) != 1)
            throw StepRefused(kBillGoneMessage);

        // What this bill leaves owing, one way or the other; earlier bills and payments stay.
        if (hasPartner)
            movePartnerBalance(db, partner,
                               bill.number(0, "stor_pay_shou") - bill.number(0, "stor_pay_fact") -
                                   bill.number(0, "stor_inco_shou") + bill.number(0, "stor_inco_fact"));
    });
}

} // namespace sorrel::stock
