#include "tests/backoffice/consumption/consumption_fixture.h"

namespace sorrel::test {

void ConsumptionTest::SetUp() {
    EngineTest::SetUp();
    db().exec(
        QStringLiteral("INSERT INTO kindlist (kind_code, kind_name, kind_rema) VALUES ('1', '菜品', ' ')"));
    db().exec(
        QStringLiteral("INSERT INTO classlist (kind_code, clas_code, clas_name, clas_cost_perc, manu_code) "
                       "VALUES ('1', '101', '热菜', 40, '1'), ('1', '102', '凉菜', 0, '1'), "
                       "('M', 'M01', '蔬菜', 0, '1')"));
    db().exec(QStringLiteral("INSERT INTO UnitList (unit_name, unit_rema) VALUES ('份', ' '), ('斤', ' ')"));
    addItem("102", "2001", "1", 8, 5);
    addItem("M01", "M001", "4", 3, 2, "有限", 10);
    addItem("M01", "M002", "4", 4, 3, "有限", 7);
    reopen();
}

void ConsumptionTest::TearDown() {
    lists_.reset();
    EngineTest::TearDown();
}

void ConsumptionTest::reopen() {
    lists_.reset();
    lists_ = std::make_unique<consumption::ConsumptionLists>(db());
}

void ConsumptionTest::addItem(const QString& classCode, const QString& code, const QString& type,
                              double price, double cost, const QString& limit, double stock) {
    db().exec(QStringLiteral(
                  "INSERT INTO itemlist (clas_code, item_code, item_name, item_unit, item_type_code, "
                  "item_unit_pric, item_cost_pric, item_coun, item_limi) VALUES (?, ?, ?, '份', ?, ?, ?, "
                  "?, ?)"),
              {classCode, code, QStringLiteral("项目") + code, type, price, cost, stock, limit});
}

void ConsumptionTest::addComponentRow(const QString& parent, const QString& item, double quantity,
                                      const QString& through, double throughQuantity) {
    db().exec(QStringLiteral(
                  "INSERT INTO ItemGroup (grou_code, item_code, grou_coun, grou_mix_code, grou_mix_coun) "
                  "VALUES (?, ?, ?, ?, ?)"),
              {parent, item, quantity, through.isEmpty() ? QVariant() : QVariant(through), throughQuantity});
}

void ConsumptionTest::select(const QString& code) {
    const RecordSet where = db().query(
        QStringLiteral(
            "SELECT c.kind_code, i.clas_code FROM itemlist i, classlist c WHERE c.clas_code = i.clas_code "
            "AND i.item_code = ?"),
        {code});
    ASSERT_FALSE(where.isEmpty()) << code.toStdString();
    ASSERT_TRUE(lists().kinds().moveToKey(where.value(0, "kind_code")));
    ASSERT_TRUE(lists().classes().moveToKey(where.value(0, "clas_code")));
    ASSERT_TRUE(lists().items().moveToKey(code));
}

QVariant ConsumptionTest::itemColumn(const QString& code, const char* column) {
    return db().scalar(
        QStringLiteral("SELECT %1 FROM itemlist WHERE item_code = ?").arg(QLatin1String(column)), {code});
}

QStringList ConsumptionTest::componentRows(const QString& parent) {
    const RecordSet rs =
        db().query(QStringLiteral("SELECT item_code, grou_coun, grou_mix_code FROM ItemGroup WHERE "
                                  "grou_code = ? ORDER BY COALESCE(grou_mix_code, ''), item_code"),
                   {parent});
    QStringList rows;
    for (int i = 0; i < rs.rowCount(); ++i) {
        QString row =
            rs.text(i, "item_code") + QStringLiteral("×") + QString::number(rs.number(i, "grou_coun"));
        if (!rs.text(i, "grou_mix_code").isEmpty())
            row += QStringLiteral(" via ") + rs.text(i, "grou_mix_code");
        rows << row;
    }
    return rows;
}

} // namespace sorrel::test
