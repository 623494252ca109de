#include "backoffice/stock/stock_queries.h"

#include "backoffice/stock/stock_lists.h"
#include "common/db/transaction.h"
#include "common/made_items_stock.h"
#include "common/money.h"

#include <QDateTime>

namespace sorrel::stock {

namespace {

// The first moment of a day, and of the day after the last: a business date is stored at
// midnight, a moment of entry anywhere in its day.
QDateTime startOf(const QDate& day) {
    return QDateTime(day, QTime(0, 0));
}
QDateTime after(const QDate& day) {
    return QDateTime(day.addDays(1), QTime(0, 0));
}

const QString kStockTakeSelect = QStringLiteral(
    "SELECT d.kind_name, d.kind_code, b.clas_code, b.clas_name, a.item_code, a.item_coun, a.item_name, "
    "a.item_unit, a.item_unit_pric, a.item_cost_pric, a.item_limi, c.item_type_name FROM itemlist a, "
    "classlist b, ItemTypeList c, kindlist d WHERE a.item_type_code = c.item_type_code AND a.clas_code = "
    "b.clas_code AND b.kind_code = d.kind_code AND a.item_type_code <> '2' AND a.item_type_code <> '3'");

} // namespace

lists::Choices postedPartners(Database& db) {
    return lists::readChoices(
        db, QStringLiteral("SELECT work_code, work_name_s FROM AllStoreBill WHERE work_code "
                           "IS NOT NULL AND work_code <> '' GROUP BY work_code, work_name_s "
                           "ORDER BY work_code"));
}

RecordSet postedBills(Database& db, const QString& partnerCode, const QDate& from, const QDate& to) {
    return db.query(
        QStringLiteral("SELECT * FROM AllStoreBill WHERE work_code = ? AND stor_bill_date_work >= ? "
                       "AND stor_bill_date_work < ? ORDER BY stor_bill_date_work, stor_bill_ID"),
        {partnerCode.isEmpty() ? QStringLiteral("^-^") : partnerCode, startOf(from), after(to)});
}

RecordSet postedLines(Database& db, const QVariant& billId) {
    return db.query(
        QStringLiteral("SELECT * FROM AllStoreDetail WHERE stor_bill_ID = ? ORDER BY stor_deta_ID"),
        {billId.isNull() ? QVariant(-1) : billId});
}

RecordSet goodsLines(Database& db, const QString& itemCode, const std::optional<DateRange>& dates) {
    QString sql = QStringLiteral("SELECT d.stor_bill_date_work, b.stor_bill_type, b.work_name_s, "
                                 "d.item_code, d.item_name, d.item_unit, "
                                 "d.item_cost_pric, d.item_coun, d.item_mone, d.item_rema, d.stor_bill_date "
                                 "FROM AllStoreDetail d LEFT "
                                 "JOIN AllStoreBill b ON b.stor_bill_ID = d.stor_bill_ID WHERE 1 = 1");
    QVariantList params;
    if (dates) {
        sql += QStringLiteral(" AND d.stor_bill_date_work >= ? AND d.stor_bill_date_work < ?");
        params << startOf(dates->from) << after(dates->to);
        if (!itemCode.trimmed().isEmpty()) {
            sql += QStringLiteral(" AND d.item_code = ?");
            params << itemCode.trimmed();
        }
    }
    return db.query(sql + QStringLiteral(" ORDER BY d.stor_bill_date_work, d.stor_bill_date, d.stor_deta_ID"),
                    params);
}

RecordSet stockTake(Database& db, StockTakeRows rows, const QString& kindCode) {
    QString sql = kStockTakeSelect;
    QVariantList params;
    if (rows == StockTakeRows::Counted) {
        sql += QStringLiteral(" AND a.item_limi = ?");
        params << kLimited;
    }
    if (!kindCode.isEmpty()) {
        sql += QStringLiteral(" AND d.kind_code = ?");
        params << kindCode;
    }
    return db.query(sql + QStringLiteral(" ORDER BY d.kind_code, b.clas_code, a.item_code"), params);
}

lists::Choices kindChoices(Database& db) {
    return lists::readChoices(db,
                              QStringLiteral("SELECT kind_code, kind_name FROM kindlist ORDER BY kind_code"));
}

lists::Choices operatorChoices(Database& db) {
    return lists::readChoices(db, QStringLiteral("SELECT oper_code, oper_name FROM operatorlist ORDER BY oper_code"));
}

lists::Choices itemTypeChoices(Database& db) {
    return lists::readChoices(
        db, QStringLiteral("SELECT item_type_code, item_type_name FROM ItemTypeList ORDER BY item_type_code"));
}

RecordSet ingredientUse(Database& db, const QDate& from, const QDate& to) {
    return db.query(
        QStringLiteral(
            "SELECT bb.item_name, bb.item_unit, sum(a.dd * g.grou_coun) AS mixt FROM (SELECT item_code, "
            "sum(tabl_cons_coun * item_coun_flag) AS dd FROM AllCons WHERE item_type_code = '3' AND "
            "tabl_cons_time_work >= ? AND tabl_cons_time_work < ? GROUP BY item_code) a, ItemGroup g, "
            "itemlist bb WHERE a.item_code = g.grou_code AND g.item_code = bb.item_code GROUP BY "
            "bb.item_name, bb.item_unit ORDER BY bb.item_name"),
        {startOf(from), after(to)});
}

RecordSet lowStock(Database& db) {
    return db.query(
        QStringLiteral("SELECT a.item_code, a.item_name, a.item_unit, a.item_coun, a.item_limi, "
                       "a.item_unit_pric, a.item_cost_pric, c.item_type_name FROM itemlist a LEFT JOIN "
                       "ItemTypeList c ON c.item_type_code = a.item_type_code WHERE a.item_limi = ? AND "
                       "a.item_type_code <> '2' AND a.item_type_code <> '3' AND a.item_coun <= "
                       "(SELECT COALESCE(max(pay_set_stor_limi), 0) FROM SetupPay) ORDER BY a.item_code"),
        {kLimited});
}

double lowStockMark(Database& db) {
    return db.scalar(QStringLiteral("SELECT COALESCE(max(pay_set_stor_limi), 0) FROM SetupPay")).toDouble();
}

int applyCounts(Database& db, const QList<Count>& counts) {
    return runCoded(db, kAdjustmentCode, [&] {
        int moved = 0;
        for (const Count& c : counts) {
            const double change = c.counted - c.book;
            if (compareMoney(change, 0) == 0) continue;
            moved += db.exec(
                QStringLiteral("UPDATE itemlist SET item_coun = item_coun + ? WHERE item_code = ? AND "
                               "item_type_code <> '2' AND item_type_code <> '3'"),
                {change, c.itemCode});
        }
        if (moved > 0) db.exec(kRefreshMadeItemsStock);
        return moved;
    });
}

} // namespace sorrel::stock
