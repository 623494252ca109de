#include "backoffice/stock/stock_lists.h"

#include "backoffice/consumption/store_change.h"
#include "backoffice/stock/stock_posting.h"
#include "backoffice/stock/stock_queries.h"
#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/money.h"
#include "common/settings_row.h"

namespace sorrel::stock {

namespace {

bool isMadeItem(const QString& type) {
    return type == QLatin1String("2") || type == QLatin1String("3");
}

QDateTime businessDate(Database& db) {
    return readSettingsRow(db, QStringLiteral("time_work")).dateTime(0, QStringLiteral("time_work"));
}

// Any of the tables names the partner.
lists::Reference partnerInUse() {
    return [](Database& db, const QVariant& code) {
        for (const char* table : {"StoreBill", "AllStoreBill", "WorkDetail"})
            if (lists::recordSearch(db, QLatin1String(table), QStringLiteral("work_code"), code)) return true;
        return false;
    };
}

lists::Check openBillCheck() {
    return [](Database& db, const lists::EditedRecord& r) -> lists::Verdict {
        const RecordSet bill = db.query(
            QStringLiteral("SELECT stor_bill_ID FROM StoreBill WHERE stor_bill_ID = ?") + db.lockRowsClause(),
            {r.value("stor_bill_ID")});
        if (bill.isEmpty()) return lists::Refusal{kBillGoneMessage, {}};
        return std::nullopt;
    };
}

lists::Check refuseAlways(const QString& message) {
    return [=](Database&, const lists::EditedRecord&) -> lists::Verdict {
        return lists::Refusal{message, lists::kSeriesTitle};
    };
}

} // namespace

int directionOf(const QString& billType) {
    return billType == kReturn || billType == kSale ? -1 : 1;
}

AmountColumns amountColumnsOf(const QString& billType) {
    if (directionOf(billType) < 0)
        return {QStringLiteral("stor_inco_shou"), QStringLiteral("stor_inco_fact")};
    return {QStringLiteral("stor_pay_shou"), QStringLiteral("stor_pay_fact")};
}

void requireOpenBill(Database& db, const QVariant& billId) {
    const RecordSet bill = db.query(
        QStringLiteral("SELECT stor_bill_ID FROM StoreBill WHERE stor_bill_ID = ?") + db.lockRowsClause(),
        {billId});
    if (bill.isEmpty()) throw StepRefused(kBillGoneMessage);
}

void movePartnerBalance(Database& db, const QVariant& partnerCode, double delta) {
    const RecordSet partner = db.query(QStringLiteral("SELECT COALESCE(work_pay_shou, 0) AS pay, "
                                                      "COALESCE(work_inco_shou, 0) AS inco FROM WorkList "
                                                      "WHERE work_code = ?") +
                                           db.lockRowsClause(),
                                       {partnerCode});
    if (partner.isEmpty()) throw StepRefused(lists::kRecordGoneMessage);
    const double net = IntWay(partner.number(0, "pay") - partner.number(0, "inco") + delta, kKeepCents);
    db.exec(QStringLiteral("UPDATE WorkList SET work_pay_shou = ?, work_inco_shou = ? WHERE work_code = ?"),
            {net > 0 ? net : 0.0, net < 0 ? -net : 0.0, partnerCode});
}

StockLists::StockLists(Database& db, const Clock& clock, OperatorSource currentOperator)
    : db_(db), clock_(clock), operator_(std::move(currentOperator)) {
    lists::ListDefinition kinds;
    kinds.table = QStringLiteral("kindlist");
    kinds.key = QStringLiteral("kind_code");
    lists::ListDefinition classes;
    classes.table = QStringLiteral("classlist");
    classes.key = QStringLiteral("clas_code");
    classes.masterColumn = QStringLiteral("kind_code");
    kinds_ = std::make_unique<lists::MaintenanceList>(db, kinds);
    classes_ = std::make_unique<lists::MaintenanceList>(db, classes);
    items_ = std::make_unique<lists::MaintenanceList>(db, itemList());
    partnerTypes_ = std::make_unique<lists::MaintenanceList>(db, partnerTypeList());
    partners_ = std::make_unique<lists::MaintenanceList>(db, partnerList());
    bills_ = std::make_unique<lists::MaintenanceList>(db, billList());
    lines_ = std::make_unique<lists::MaintenanceList>(db, lineList());
    payments_ = std::make_unique<lists::MaintenanceList>(db, paymentList());
    classes_->follow(*kinds_);
    items_->follow(*classes_);
    partners_->follow(*partnerTypes_);
    lines_->follow(*bills_);
    payments_->follow(*partners_);
    for (lists::MaintenanceList* list : {kinds_.get(), partnerTypes_.get(), bills_.get()})
        list->reload();
}

StockLists::~StockLists() = default;

lists::ListDefinition StockLists::itemList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("itemlist");
    d.key = QStringLiteral("item_code");
    d.masterColumn = QStringLiteral("clas_code");
    // The stock flag alone: the stock itself moves with the front desk's sales meanwhile.
    d.edited = {"item_limi"};
    d.saveChecks = {[](Database&, const lists::EditedRecord& r) -> lists::Verdict {
        if (r.changed("item_limi") && isMadeItem(r.text("item_type_code")))
            return lists::Refusal{kMadeItemMessage, {}};
        return std::nullopt;
    }};
    // Set meals and composites take their flag and stock from their components.
    d.alsoSave = [](Database& db, const lists::EditedRecord& r) {
        if (r.changed("item_limi")) consumption::storeChangeSteps(db);
    };
    return d;
}

lists::ListDefinition StockLists::partnerTypeList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("StoreWorkType");
    d.key = QStringLiteral("stor_work_type_code");
    d.edited = {"stor_work_type_code", "stor_work_type_name", "stor_work_type_rema"};
    d.defaults = {{"stor_work_type_rema", QStringLiteral(" ")}};
    d.trimmed = {"stor_work_type_code"};
    d.saveChecks = {lists::requireFilled({"stor_work_type_code", "stor_work_type_name"},
                                         QStringLiteral("单位类型[编码]、[名称]不能为空！"))};
    const lists::Reference inUse = lists::referencedIn("WorkList", "stor_work_type_code");
    lists::refuseWhileReferenced(d, "stor_work_type_code", inUse, QStringLiteral("[单位类型]下面设有[往来单位]"));
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition StockLists::partnerList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("WorkList");
    d.key = QStringLiteral("work_code");
    d.masterColumn = QStringLiteral("stor_work_type_code");
    // Never the balances: bills and payments move them.
    d.edited = {"work_code", "work_name", "work_name_s", "work_man", "work_tele",
                "work_tax",  "work_bank", "work_add",    "work_rema"};
    d.defaults = {{"work_inco_shou", 0.0}, {"work_pay_shou", 0.0}};
    d.trimmed = {"work_code"};
    d.saveChecks = {lists::requireFilled({"work_code", "work_name_s", "work_name"},
                                         QStringLiteral("往来单位[编码]、[简称]、[名称]不能为空！"))};
    lists::refuseWhileReferenced(d, "work_code", partnerInUse(), QStringLiteral("[往来单位]有单据或往来帐款"));
    d.duplicateMessage = lists::kDuplicateCodeMessage;
    return d;
}

lists::ListDefinition StockLists::billList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("StoreBill");
    d.key = QStringLiteral("stor_bill_ID");
    d.keyIsAutoNumber = true;
    d.edited = {"stor_bill_code", "stor_bill_type", "stor_deta_flag", "stor_work_type_code",
                "work_code",      "work_name_s",    "oper_code",      "stor_pay_shou",
                "stor_pay_fact",  "stor_inco_shou", "stor_inco_fact", "stor_bill_rema"};
    d.defaults = {{"stor_bill_type", kPurchase}, {"stor_deta_flag", 1},   {"stor_pay_shou", 0.0},
                  {"stor_pay_fact", 0.0},        {"stor_inco_shou", 0.0}, {"stor_inco_fact", 0.0},
                  {"stor_bill_run", 0}};
    d.computedDefaults = [this](QVariantMap& defaults) {
        defaults.insert("oper_code", operator_().code);
        defaults.insert("stor_bill_date", clock_.now());
        defaults.insert("stor_bill_date_work", businessDate(db_));
    };
    d.trimmed = {"stor_bill_code"};
    d.saveChecks = {lists::requireFilled({"stor_bill_code", "stor_bill_type", "oper_code"},
                                         QStringLiteral("[单据类型]、[经办人]不为空！"))};
    // Every save of a bill carries its direction into the lines it has.
    d.alsoSave = [](Database& db, const lists::EditedRecord& r) {
        if (r.changed("stor_bill_type"))
            db.exec(QStringLiteral("UPDATE StoreDetail SET stor_deta_flag = ? WHERE stor_bill_ID = ?"),
                    {directionOf(r.text("stor_bill_type")), r.value("stor_bill_ID")});
    };
    d.alsoDelete = [](Database& db, const lists::EditedRecord& r) {
        db.exec(QStringLiteral("DELETE FROM StoreDetail WHERE stor_bill_ID = ?"),
                {r.original("stor_bill_ID")});
    };
    d.afterEdit = [this](lists::MaintenanceList& bills, const QString& column) { billEdited(bills, column); };
    return d;
}

void StockLists::billEdited(lists::MaintenanceList& bills, const QString& column) {
    if (column.compare(QLatin1String("stor_work_type_code"), Qt::CaseInsensitive) == 0) {
        bills.assign(QStringLiteral("work_code"), QVariant());
        bills.assign(QStringLiteral("work_name_s"), QVariant());
    } else if (column.compare(QLatin1String("work_code"), Qt::CaseInsensitive) == 0) {
        bills.assign(QStringLiteral("work_name_s"),
                     db_.scalar(QStringLiteral("SELECT work_name_s FROM WorkList WHERE work_code = ?"),
                                {bills.value(column)}));
    } else if (column.compare(QLatin1String("stor_bill_type"), Qt::CaseInsensitive) == 0) {
        const QString type = bills.text(column);
        bills.assign(QStringLiteral("stor_deta_flag"), directionOf(type));
        // The amounts go with the bill to its new type's pair: a purchase turned return is owed
        // by the partner, not to him.
        const AmountColumns to = amountColumnsOf(type);
        const AmountColumns from = amountColumnsOf(directionOf(type) < 0 ? kPurchase : kReturn);
        const double due = bills.value(from.due).toDouble() + bills.value(to.due).toDouble();
        const double settled = bills.value(from.settled).toDouble() + bills.value(to.settled).toDouble();
        bills.assign(from.due, 0.0);
        bills.assign(from.settled, 0.0);
        bills.assign(to.due, due);
        bills.assign(to.settled, settled);
    }
}

lists::ListDefinition StockLists::lineList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("StoreDetail");
    d.key = QStringLiteral("stor_deta_ID");
    d.keyIsAutoNumber = true;
    d.masterColumn = QStringLiteral("stor_bill_ID");
    d.edited = {"item_cost_pric", "item_coun", "item_rema"};
    d.saveChecks = {openBillCheck(), [](Database&, const lists::EditedRecord& r) -> lists::Verdict {
                        if (r.number("item_coun") < 0 || r.number("item_cost_pric") < 0)
                            return lists::Refusal{kNegativeLineMessage, {}};
                        return std::nullopt;
                    }};
    d.deleteChecks = {openBillCheck()};
    // A line takes its bill's direction whenever it is saved.
    d.alsoSave = [](Database& db, const lists::EditedRecord& r) {
        db.exec(QStringLiteral("UPDATE StoreDetail SET stor_deta_flag = (SELECT b.stor_deta_flag FROM "
                               "StoreBill b WHERE b.stor_bill_ID = StoreDetail.stor_bill_ID) WHERE "
                               "stor_deta_ID = ?"),
                {r.value("stor_deta_ID")});
    };
    d.failureCode = kLinesCode;
    // "回退" from the lines: their amounts and the bill's total worked out on what is stored. A bill
    // posted from another workstation meanwhile has left the list, which is read again.
    d.leaveStep = [this] {
        if (!lines_->saveIfPending()) lines_->cancel();
        try {
            closeLines(db_, bills_->currentKey());
        } catch (const StepRefused&) {
        }
        bills_->reload();
        lines_->reload();
    };
    return d;
}

lists::ListDefinition StockLists::paymentList() {
    lists::ListDefinition d;
    d.table = QStringLiteral("WorkDetail");
    d.key = QStringLiteral("work_ID");
    d.keyIsAutoNumber = true;
    d.masterColumn = QStringLiteral("work_code");
    d.edited = {}; // a payment is entered once
    d.defaults = {{"work_inco", 0.0}, {"work_pay", 0.0}, {"work_flag", 0}};
    d.computedDefaults = [this](QVariantMap& defaults) { defaults.insert("work_run_time", clock_.now()); };
    d.saveChecks = {[](Database&, const lists::EditedRecord& r) -> lists::Verdict {
        if (compareMoney(r.number("work_inco"), 0) == 0 && compareMoney(r.number("work_pay"), 0) == 0)
            return lists::Refusal{QStringLiteral("收款、付款不能同时为零！"), {}};
        return std::nullopt;
    }};
    const lists::Check stored = refuseAlways(QStringLiteral("只能增加，不能被修改！"));
    for (const char* column : {"work_inco", "work_pay", "work_rema"})
        d.guards << lists::CodeGuard{QLatin1String(column), stored};
    // Money received lowers what the partner owes us; money paid lowers what we owe him.
    d.alsoSave = [](Database& db, const lists::EditedRecord& r) {
        if (r.isNew())
            movePartnerBalance(db, r.value("work_code"), r.number("work_inco") - r.number("work_pay"));
    };
    d.failureCode = kPaymentCode;
    // "回退" only returns: a payment not saved is dropped, the partner shown as he now stands.
    d.leaveStep = [this] {
        payments_->cancel();
        partners_->reload();
    };
    return d;
}

lists::Choices StockLists::partnerTypeChoices() const {
    return lists::readChoices(
        db_, QStringLiteral("SELECT stor_work_type_code, stor_work_type_name FROM StoreWorkType ORDER BY "
                            "stor_work_type_code"));
}

lists::Choices StockLists::billPartnerChoices() const {
    return lists::readChoices(db_,
                              QStringLiteral("SELECT work_code, work_name_s FROM WorkList WHERE "
                                             "stor_work_type_code = ? ORDER BY work_code"),
                              {bills_->value(QStringLiteral("stor_work_type_code"))});
}

lists::Choices StockLists::operatorChoices() const {
    return lists::readChoices(
        db_, QStringLiteral("SELECT oper_code, oper_name FROM operatorlist ORDER BY oper_code"));
}

RecordSet StockLists::pickerItems() const {
    return db_.query(QStringLiteral("SELECT item_code, item_name, item_shor, item_limi, item_type_code FROM "
                                    "itemlist ORDER BY item_code"));
}

RecordSet StockLists::currentComponents() const {
    return db_.query(QStringLiteral("SELECT b.item_code, b.item_name, b.item_unit, b.item_coun, b.item_limi, "
                                    "b.item_unit_pric, b.item_cost_pric, b.item_type_code, g.grou_coun FROM "
                                    "ItemGroup g, itemlist b WHERE g.item_code = b.item_code AND "
                                    "g.grou_code = ? ORDER BY b.item_code"),
                     {items_->currentKey()});
}

QVariant StockLists::addLine(const QString& itemCode) {
    if (!lines_->saveIfPending()) return {};
    const QVariant billId = bills_->currentKey();
    QVariant added;
    runCoded(db_, kLinesCode, [&] {
        requireOpenBill(db_, billId);
        const RecordSet item = db_.query(QStringLiteral("SELECT item_code, item_name, item_unit, item_limi, "
                                                        "item_type_code FROM itemlist WHERE item_code = ?"),
                                         {itemCode});
        if (item.isEmpty()) throw StepRefused(lists::kRecordGoneMessage);
        if (item.text(0, "item_limi") == kDisabled) throw StepRefused(kDisabledItemMessage);
        if (isMadeItem(item.text(0, "item_type_code"))) throw StepRefused(kMadeItemMessage);
        if (!db_.query(QStringLiteral("SELECT 1 FROM StoreDetail WHERE stor_bill_ID = ? AND item_code = ?"),
                       {billId, itemCode})
                 .isEmpty())
            return;
        db_.exec(
            QStringLiteral("INSERT INTO StoreDetail (stor_bill_ID, stor_bill_code, item_code, item_name, "
                           "item_unit, item_cost_pric, item_coun, item_mone, stor_deta_flag, "
                           "stor_bill_date, stor_bill_date_work) SELECT stor_bill_ID, stor_bill_code, ?, ?, "
                           "?, 0, 0, 0, stor_deta_flag, ?, ? FROM StoreBill WHERE stor_bill_ID = ?"),
            {itemCode, item.value(0, "item_name"), item.value(0, "item_unit"), clock_.now(),
             businessDate(db_), billId});
        added = db_.scalar(QStringLiteral("SELECT max(stor_deta_ID) FROM StoreDetail"));
    });
    lines_->reload();
    if (!added.isNull()) lines_->moveToKey(added);
    return added;
}

} // namespace sorrel::stock
