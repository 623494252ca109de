#include "tests/backoffice/stock/stock_fixture.h"

#include "backoffice/stock/stock_posting.h"

namespace sorrel::test {

void StockTest::SetUp() {
    EngineTest::SetUp();
    db().exec("UPDATE SetupPay SET work_auto = 0, oper_code = '01', calc_cost = 1, pay_set_stor_limi = 5, "
              "user_name = '岚舟测试酒楼', time_work = '2026-03-04 00:00:00'");
    db().exec("INSERT INTO kindlist (kind_code, kind_name, kind_rema) VALUES ('1', '酒水', ' ')");
    db().exec("INSERT INTO classlist (kind_code, clas_code, clas_name) VALUES ('1', '101', '啤酒'), "
              "('M', 'M01', '基酒')");
    db().exec("INSERT INTO itemlist (clas_code, item_code, item_name, item_unit, item_shor, item_type_code, "
              "item_unit_pric, item_cost_pric, item_coun, item_limi) VALUES "
              "('101', '0001', '青岛啤酒', '瓶', 'QDPJ', '1', 8, 4, 10, '有限'), "
              "('101', '0002', '可乐', '听', 'KL', '1', 5, 2, 20, '有限'), "
              "('101', '0003', '毛巾', '条', 'MJ', '1', 2, 1, 0, '不限'), "
              "('101', '0004', '旧酒', '瓶', 'JJ', '1', 50, 30, 3, '禁用'), "
              "('101', '0005', '啤酒套餐', '套', 'PJTC', '2', 20, 8, 0, '有限'), "
              "('101', '0006', '鸡尾酒', '杯', 'JWJ', '3', 30, 6, 0, '有限'), "
              "('M01', '0007', '基酒', '升', 'JJY', '4', 100, 40, 50, '有限'), "
              "('101', '%01', '百分酒', '瓶', '_X', '1', 9, 3, 7, '有限')");
    db().exec("INSERT INTO ItemGroup (grou_code, item_code, grou_coun) VALUES ('0005', '0001', 1), "
              "('0005', '0002', 2), ('0006', '0007', 0.2)");
    db().exec(
        "INSERT INTO StoreWorkType (stor_work_type_code, stor_work_type_name, stor_work_type_rema) VALUES "
        "('01', '供应商', ' '), ('02', '客户', ' ')");
    db().exec("INSERT INTO WorkList (work_code, work_name, work_name_s, stor_work_type_code, work_inco_shou, "
              "work_pay_shou) VALUES ('001', '青岛啤酒批发公司', '青岛', '01', 0, 0), "
              "('002', '青岛饮料公司', '青岛', '01', 0, 0), ('101', '海鲜楼', '海鲜楼', '02', 100, 0)");
    lists_ = std::make_unique<stock::StockLists>(db(), clock, [] {
        return OperatorEntry{"01", "管理员", "", "01"};
    });
}

void StockTest::TearDown() {
    lists_.reset();
    EngineTest::TearDown();
}

QVariant StockTest::enterBill(const QString& type, const QString& partner, const QList<Line>& lines,
                              double settled) {
    lists::MaintenanceList& bills = lists().bills();
    EXPECT_TRUE(bills.append());
    bills.edit("stor_bill_code", QStringLiteral("B") + QString::number(bills.rowCount()));
    bills.edit("stor_bill_type", type);
    const QString partnerType =
        db().scalar("SELECT stor_work_type_code FROM WorkList WHERE work_code = ?", {partner}).toString();
    bills.edit("stor_work_type_code", partnerType);
    bills.edit("work_code", partner);
    bills.edit(stock::amountColumnsOf(type).settled, settled);
    EXPECT_TRUE(bills.save());
    const QVariant id = bills.currentKey();
    for (const Line& line : lines) {
        if (lists().addLine(line.item).isNull()) continue;
        lists().lines().edit("item_coun", line.quantity);
        lists().lines().edit("item_cost_pric", line.price);
        EXPECT_TRUE(lists().lines().save());
    }
    stock::closeLines(db(), id);
    bills.reload();
    bills.moveToKey(id);
    return id;
}

double StockTest::stockOf(const QString& item) {
    return db().scalar("SELECT item_coun FROM itemlist WHERE item_code = ?", {item}).toDouble();
}

double StockTest::costOf(const QString& item) {
    return db().scalar("SELECT item_cost_pric FROM itemlist WHERE item_code = ?", {item}).toDouble();
}

double StockTest::payable(const QString& partner) {
    return db().scalar("SELECT work_pay_shou FROM WorkList WHERE work_code = ?", {partner}).toDouble();
}

double StockTest::receivable(const QString& partner) {
    return db().scalar("SELECT work_inco_shou FROM WorkList WHERE work_code = ?", {partner}).toDouble();
}

int StockTest::count(const QString& sql, const QVariantList& params) {
    return db().scalar(sql, params).toInt();
}

void StockTest::setStock(const QString& item, double stock, double cost) {
    db().exec("UPDATE itemlist SET item_coun = ? WHERE item_code = ?", {stock, item});
    if (cost >= 0) db().exec("UPDATE itemlist SET item_cost_pric = ? WHERE item_code = ?", {cost, item});
}

} // namespace sorrel::test
