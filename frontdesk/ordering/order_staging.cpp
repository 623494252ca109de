#include "frontdesk/ordering/order_staging.h"

#include "common/db/insert_statement.h"
#include "common/db/transaction.h"
#include "common/money.h"
#include "common/schema/schema.h"
#include "common/typed_input.h"

namespace sorrel::ordering {

double largestQuantity() {
    static const double largest = [] {
        const schema::Column* c =
            schema::findTable(QStringLiteral("TableConsListTemp"))->column(QStringLiteral("tabl_cons_coun"));
        return largestDecimal(c->size);
    }();
    return largest;
}

namespace {

const QStringList kStagedColumns{"tabl_gues_auto_recn", "tabl_code",      "kind_code",      "clas_code",
                                 "item_code",           "item_type_code", "menu_type_code", "item_type_flag",
                                 "item_coun_flag",      "tabl_cons_coun", "item_unit_pric", "item_cost_pric",
                                 "item_dedu_pric",      "oper_code",      "cons_grou_narr", "grou_code",
                                 "item_name",           "item_unit",      "disc_clas_perc", "serv_perc",
                                 "tabl_cons_tran"};

} // namespace

KindSigns kindSigns(const QString& kind) {
    if (kind == kReturned) return {-1, -1};
    if (kind == kGift) return {0, 1};
    if (kind == kGiftReturned) return {0, -1};
    return {1, 1};
}

QString lowStockMessage(int limit) {
    return QStringLiteral("库存数已小于[%1],库存下限预警！").arg(limit);
}

QString overStockMessage(const QString& itemName, double stock) {
    return QStringLiteral("[%1/%2]点单数已经超过库存数，请重新输入数量！")
        .arg(itemName, QString::number(stock));
}

OrderStaging::OrderStaging(Database& db, int billNumber, const QString& tableCode, const QString& operCode,
                           std::function<bool(const QString&)> allowed)
    : db_(db), bill_(billNumber), tableCode_(tableCode), operCode_(operCode), allowed_(std::move(allowed)) {}

void OrderStaging::begin() {
    db_.exec(QStringLiteral("DELETE FROM TableConsListTemp WHERE tabl_gues_auto_recn = ?"), {bill_});
}

QList<StagedLine> OrderStaging::read(const QString& where, const QVariantList& params) {
    const RecordSet rs = db_.query(
        QStringLiteral(
            "SELECT s.tabl_cons_ID, s.item_code, COALESCE(i.item_name, s.item_name) AS item_name, "
            "COALESCE(i.item_unit, s.item_unit) AS item_unit, s.item_type_code, i.item_real, "
            "s.tabl_cons_coun, s.item_unit_pric, s.menu_type_code, s.cons_narr_code, s.dedu_oper_code "
            "FROM TableConsListTemp s LEFT JOIN itemlist i ON i.item_code = s.item_code "
            "WHERE s.tabl_gues_auto_recn = ? AND COALESCE(s.grou_code, '') = '' ") +
            where + QStringLiteral(" ORDER BY s.tabl_cons_ID"),
        QVariantList{bill_} + params);
    QList<StagedLine> lines;
    for (int i = 0; i < rs.rowCount(); ++i)
        lines.append({.id = int(rs.integer(i, "tabl_cons_ID")),
                      .itemCode = rs.text(i, "item_code"),
                      .itemName = rs.text(i, "item_name"),
                      .unit = rs.text(i, "item_unit"),
                      .itemType = rs.text(i, "item_type_code"),
                      .realPrice = rs.flag(i, "item_real"),
                      .quantity = rs.number(i, "tabl_cons_coun"),
                      .price = rs.number(i, "item_unit_pric"),
                      .kind = rs.text(i, "menu_type_code"),
                      .note = rs.text(i, "cons_narr_code"),
                      .staff = rs.text(i, "dedu_oper_code")});
    return lines;
}

QList<StagedLine> OrderStaging::lines() {
    return read({}, {});
}

std::optional<StagedLine> OrderStaging::line(int id) {
    const QList<StagedLine> found = read(QStringLiteral("AND s.tabl_cons_ID = ?"), {id});
    if (found.isEmpty()) return std::nullopt;
    return found.first();
}

bool OrderStaging::empty() {
    return lines().isEmpty();
}

Choice OrderStaging::choose(const OrderItem& shown) {
    // The stock as it stands now, not as the screen's list read it.
    const OrderItem item = loadOrderItem(db_, shown.code).value_or(shown);
    if (item.disabled()) return {0, false, kDisabledItemMessage};
    const QList<StagedLine> staged = read(QStringLiteral("AND s.item_code = ?"), {item.code});
    if (!staged.isEmpty()) {
        const StagedLine& line = staged.first();
        Choice choice{line.id, false, {}};
        if (!item.unlimited()) {
            const int limit = stockWarningLimit(db_);
            if (compareMoney(item.stock - line.quantity, limit) <= 0) choice.message = lowStockMessage(limit);
            if (compareMoney(line.quantity + 1, item.stock) > 0) return choice;
        }
        db_.exec(QStringLiteral("UPDATE TableConsListTemp SET tabl_cons_coun = tabl_cons_coun + 1 "
                                "WHERE tabl_cons_ID = ? AND tabl_gues_auto_recn = ?"),
                 {line.id, bill_});
        return choice;
    }

    Transaction tx(db_);
    const double quantity = item.limited() && compareMoney(item.stock, 0) <= 0 ? 0 : 1;
    db_.exec(insertStatement(QStringLiteral("TableConsListTemp"), kStagedColumns), {bill_,
                                                                                    tableCode_,
                                                                                    item.kindCode,
                                                                                    item.classCode,
                                                                                    item.code,
                                                                                    item.type,
                                                                                    kOrdered,
                                                                                    1,
                                                                                    1,
                                                                                    quantity,
                                                                                    item.price,
                                                                                    item.cost,
                                                                                    item.commission,
                                                                                    operCode_,
                                                                                    QString(),
                                                                                    QString(),
                                                                                    item.name,
                                                                                    item.unit,
                                                                                    100,
                                                                                    100,
                                                                                    0});
    const int id = db_.scalar(QStringLiteral("SELECT max(tabl_cons_ID) FROM TableConsListTemp "
                                             "WHERE tabl_gues_auto_recn = ?"),
                              {bill_})
                       .toInt();
    if (item.type == kSetMeal) {
        // The direct components only: the rows a composite brings in count for stock alone.
        const RecordSet parts = db_.query(
            QStringLiteral(
                "SELECT g.item_code, g.grou_coun, i.item_type_code, i.item_unit_pric, "
                "i.item_cost_pric, i.item_dedu_pric, i.clas_code, c.kind_code, i.item_name, i.item_unit "
                "FROM ItemGroup g JOIN itemlist i ON i.item_code = g.item_code "
                "LEFT JOIN classlist c ON c.clas_code = i.clas_code "
                "WHERE g.grou_code = ? AND COALESCE(g.grou_mix_code, '') = '' ORDER BY g.grou_ID"),
            {item.code});
        const QString narrative = QStringLiteral("套餐-") + item.name;
        for (int i = 0; i < parts.rowCount(); ++i)
            db_.exec(insertStatement(QStringLiteral("TableConsListTemp"), kStagedColumns),
                     {bill_,
                      tableCode_,
                      parts.text(i, "kind_code"),
                      parts.text(i, "clas_code"),
                      parts.text(i, "item_code"),
                      parts.text(i, "item_type_code"),
                      kGift,
                      0,
                      1,
                      parts.number(i, "grou_coun"),
                      parts.number(i, "item_unit_pric"),
                      parts.number(i, "item_cost_pric"),
                      parts.number(i, "item_dedu_pric"),
                      operCode_,
                      narrative,
                      item.code,
                      parts.text(i, "item_name"),
                      parts.text(i, "item_unit"),
                      100,
                      100,
                      0});
    }
    tx.commit();
    return {id, true, {}};
}

bool OrderStaging::takeOneOff(const QString& itemCode) {
    return db_.exec(QStringLiteral("UPDATE TableConsListTemp SET tabl_cons_coun = tabl_cons_coun - 1 "
                                   "WHERE tabl_gues_auto_recn = ? AND item_code = ? "
                                   "AND COALESCE(grou_code, '') = '' AND tabl_cons_coun >= 1"),
                    {bill_, itemCode}) > 0;
}

double OrderStaging::committed(const QString& itemCode, const char* kinds, const char* sign) {
    return db_
        .scalar(QStringLiteral("SELECT COALESCE(sum(tabl_cons_coun * %1), 0) FROM TableConsList "
                               "WHERE tabl_gues_auto_recn = ? AND item_code = ? AND menu_type_code IN (%2)")
                    .arg(QLatin1String(sign), QLatin1String(kinds)),
                {bill_, itemCode})
        .toDouble();
}

Verdict OrderStaging::validate(int id, const LineEdit& edit) {
    const std::optional<StagedLine> staged = line(id);
    if (!staged) return {false, {}, false};
    if (!edit.quantity) {
        post(id, edit);
        return {};
    }
    const double q = *edit.quantity;
    if (edit.kind == kGift && !allowed_(QStringLiteral("PB"))) return {false, {}, false};
    if (edit.kind == kReturned && !allowed_(QStringLiteral("CB"))) return {false, {}, false};
    if (edit.kind == kReturned &&
        compareMoney(q, committed(staged->itemCode, "'1', '2'", "item_type_flag")) > 0)
        return {false, kOverReturnMessage, false};
    if (edit.kind == kGiftReturned &&
        compareMoney(q, committed(staged->itemCode, "'3', '4'", "item_coun_flag")) > 0)
        return {false, kOverGiftReturnMessage, false};
    Verdict verdict;
    const std::optional<OrderItem> item = loadOrderItem(db_, staged->itemCode);
    if ((edit.kind == kOrdered || edit.kind == kGift) && item && item->limited()) {
        if (compareMoney(q, item->stock) > 0) return {false, overStockMessage(item->name, item->stock), true};
        const int limit = stockWarningLimit(db_);
        if (compareMoney(item->stock, q + limit) < 0) verdict.message = lowStockMessage(limit);
    }
    post(id, edit);
    return verdict;
}

void OrderStaging::post(int id, const LineEdit& edit) {
    const std::optional<StagedLine> staged = line(id);
    if (!staged) return;
    const KindSigns signs = kindSigns(edit.kind);
    db_.exec(QStringLiteral("UPDATE TableConsListTemp SET tabl_cons_coun = ?, item_unit_pric = ?, "
                            "menu_type_code = ?, item_type_flag = ?, item_coun_flag = ?, cons_narr_code = ?, "
                            "dedu_oper_code = ? WHERE tabl_cons_ID = ? AND tabl_gues_auto_recn = ?"),
             {edit.quantity.value_or(0), staged->realPrice ? edit.price : staged->price, edit.kind,
              signs.money, signs.stock, edit.note, edit.staff, id, bill_});
}

void OrderStaging::remove(int id) {
    const std::optional<StagedLine> staged = line(id);
    if (!staged) return;
    if (staged->itemType == kSetMeal)
        db_.exec(QStringLiteral("DELETE FROM TableConsListTemp WHERE tabl_gues_auto_recn = ? "
                                "AND (tabl_cons_ID = ? OR grou_code = ?)"),
                 {bill_, id, staged->itemCode});
    else
        db_.exec(QStringLiteral(
                     "DELETE FROM TableConsListTemp WHERE tabl_gues_auto_recn = ? AND tabl_cons_ID = ?"),
                 {bill_, id});
}

} // namespace sorrel::ordering
