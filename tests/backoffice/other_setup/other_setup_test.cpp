// The other setup's code lists as a manager meets them: what is required, the preset payment
// methods, and the methods and income that still hold money the shift or the day has to account.
#include "backoffice/other_setup/other_lists.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <memory>

using namespace sorrel;
using namespace sorrel::lists;
using namespace sorrel::other_setup;

namespace {

class OtherSetupTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        db().exec("INSERT INTO PayTypeList (pay_type_code, pay_type_name, pay_type_mone, pay_star_mone, "
                  "pay_type_rema) VALUES ('W', '微信', 0, 0, ' '), ('V', '银联', 0, 0, ' ')");
        db().exec(
            "INSERT INTO OtherIncomeList (othe_inco_code, othe_inco_name, othe_inco_mone, othe_inco_rema) "
            "VALUES ('01', '停车费', 0, ' ')");
        lists_ = std::make_unique<OtherLists>(db());
    }
    void TearDown() override {
        lists_.reset();
        EngineTest::TearDown();
    }
    OtherLists& lists() { return *lists_; }
    QStringList shown() const { return sink.texts(); }

    test::ScriptedSink sink;
    std::unique_ptr<OtherLists> lists_;
};

TEST_P(OtherSetupTest, ARecordMissingItsCodeOrNameIsRefusedWithItsListsMessage) {
    struct Case {
        std::function<MaintenanceList&()> list;
        const char* code;
        const char* name;
        QString refusal; // empty: saved
    } cases[] = {
        {[&]() -> MaintenanceList& { return lists().shifts(); }, "2", "",
         QStringLiteral("班次[编号]、[名称]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().shifts(); }, "", "晚班",
         QStringLiteral("班次[编号]、[名称]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().shifts(); }, "2", "晚班", {}},
        {[&]() -> MaintenanceList& { return lists().shifts(); }, "2", "夜班",
         QStringLiteral("编号有重复，请从新输入！")},
        {[&]() -> MaintenanceList& { return lists().paymentMethods(); }, "X", " ",
         QStringLiteral("付款方式[编号]、[名称]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().otherIncome(); }, "", "租金",
         QStringLiteral("其它收入[编号]、[名称]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().itemNotes(); }, "01", "",
         QStringLiteral("消费项目说明[编号]、[名称]不能为空！")},
        {[&]() -> MaintenanceList& { return lists().itemNotes(); }, "01", "Mary's 少辣", {}},
    };
    for (const Case& c : cases) {
        sink.shown.clear();
        MaintenanceList& list = c.list();
        ASSERT_TRUE(list.append());
        list.edit(list.definition().key, QString::fromUtf8(c.code));
        list.edit(list.definition().edited[1], QString::fromUtf8(c.name));
        EXPECT_EQ(list.save(), c.refusal.isEmpty()) << list.table().toStdString() << c.code;
        EXPECT_EQ(shown(), c.refusal.isEmpty() ? QStringList() : QStringList{c.refusal});
        list.cancel();
    }
    EXPECT_EQ(db().scalar("SELECT cons_narr_name FROM ConsNarrList WHERE cons_narr_code = '01'").toString(),
              QStringLiteral("Mary's 少辣"));
    EXPECT_EQ(db().scalar("SELECT orde_name FROM OrderList WHERE orde_code = '2'").toString(),
              QStringLiteral("晚班"));
}

TEST_P(OtherSetupTest, AUnitNeedsANameOfWhatItsColumnHolds) {
    MaintenanceList& units = lists().units();
    const struct {
        const char* name;
        QString refusal;
    } cases[] = {{"   ", QStringLiteral("单位[名称]不能为空！")},
                 {"千克每包装", {}}, // one character more than the column holds
                 {"千克每包", QStringLiteral("编号有重复，请从新输入！")}};
    for (const auto& c : cases) {
        sink.shown.clear();
        ASSERT_TRUE(units.append());
        units.edit("unit_name", QString::fromUtf8(c.name));
        EXPECT_EQ(units.save(), c.refusal.isEmpty()) << c.name;
        EXPECT_EQ(shown(), c.refusal.isEmpty() ? QStringList() : QStringList{c.refusal});
        units.cancel();
    }
    EXPECT_EQ(db().scalar("SELECT count(*) FROM UnitList WHERE unit_name = '千克每包'").toInt(), 1);
}

TEST_P(OtherSetupTest, PresetMethodsAndMoneyNotYetAccountedForKeepTheirRecords) {
    struct Case {
        std::function<MaintenanceList&()> list;
        const char* key;
        const char* money; // what the front desk holds meanwhile; empty: nothing
        QString change;    // empty: the code may change
        QString remove;    // empty: deleted
    } cases[] = {
        {[&]() -> MaintenanceList& { return lists().paymentMethods(); }, "H", "",
         QStringLiteral("[挂帐]为系统预设项目，所以不能被修改！"),
         QStringLiteral("[挂帐]为系统预设项目，所以不能被删除！")},
        {[&]() -> MaintenanceList& { return lists().paymentMethods(); }, "Z", "",
         QStringLiteral("[现金]为系统预设项目，所以不能被修改！"),
         QStringLiteral("[现金]为系统预设项目，所以不能被删除！")},
        {[&]() -> MaintenanceList& { return lists().paymentMethods(); }, "W",
         "UPDATE PayTypeList SET pay_star_mone = 200 WHERE pay_type_code = 'W'",
         QStringLiteral("[付款方式]设有[初始金额]，所以不能被修改！"),
         QStringLiteral("[付款方式]设有[初始金额]，所以不能被删除！")},
        {[&]() -> MaintenanceList& { return lists().paymentMethods(); }, "W",
         "INSERT INTO AllGuesPay (tabl_gues_auto_recn, pay_type_code, pay_type_mone, pay_flag) VALUES (3, "
         "'W', 58, 0)",
         QStringLiteral("[付款方式]有未交班的收款，所以不能被修改！"),
         QStringLiteral("[付款方式]有未交班的收款，所以不能被删除！")},
        {[&]() -> MaintenanceList& { return lists().paymentMethods(); }, "W",
         "INSERT INTO tableguespay (tabl_gues_auto_recn, pay_type_code, pay_type_mone, pay_flag) VALUES (4, "
         "'W', 9, 0)",
         QStringLiteral("[付款方式]有未交班的收款，所以不能被修改！"),
         QStringLiteral("[付款方式]有未交班的收款，所以不能被删除！")},
        {[&]() -> MaintenanceList& { return lists().otherIncome(); },
         "01",
         "UPDATE OtherIncomeList SET othe_inco_mone = 30 WHERE othe_inco_code = '01'",
         {},
         QStringLiteral("[其它收入]今日已有金额，所以不能被删除！")},
    };
    for (const Case& c : cases) {
        MaintenanceList& list = c.list();
        list.reload();
        ASSERT_TRUE(list.moveToKey(c.key));
        auto desk = scratch().connectAgain();
        if (*c.money) desk->exec(c.money);
        sink.shown.clear();
        // The back office re-codes, then deletes; the front desk's money is never overwritten.
        const bool recoded = list.edit(list.definition().key, "Q") && list.save();
        EXPECT_EQ(recoded, c.change.isEmpty()) << c.key;
        if (recoded) {
            list.edit(list.definition().key, c.key);
            list.save();
        }
        EXPECT_FALSE(list.remove()) << c.key;
        EXPECT_EQ(shown(), (c.change.isEmpty() ? QStringList{c.remove} : QStringList{c.change, c.remove}))
            << c.money;
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?")
                                  .arg(list.table(), list.definition().key),
                              {c.key})
                      .toInt(),
                  1);
        for (const char* clean :
             {"DELETE FROM AllGuesPay", "DELETE FROM tableguespay",
              "UPDATE PayTypeList SET pay_star_mone = 0", "UPDATE OtherIncomeList SET othe_inco_mone = 0"})
            desk->exec(clean);
    }
    // Nothing held: the method goes after the question, which the toolbar asks.
    MaintenanceList& methods = lists().paymentMethods();
    methods.reload();
    ASSERT_TRUE(methods.moveToKey("W"));
    EXPECT_TRUE(methods.remove());
    EXPECT_EQ(db().scalar("SELECT count(*) FROM PayTypeList WHERE pay_type_code = 'W'").toInt(), 0);
}

TEST_P(OtherSetupTest, ARenameKeepsTheFloatTheFrontDeskEnteredMeanwhile) {
    MaintenanceList& methods = lists().paymentMethods();
    ASSERT_TRUE(methods.moveToKey("V"));
    scratch().connectAgain()->exec(
        "UPDATE PayTypeList SET pay_star_mone = 150, pay_type_mone = 20 WHERE pay_type_code = 'V'");
    methods.edit("pay_type_name", "银联卡");
    EXPECT_TRUE(methods.save());
    const RecordSet v = db().query(
        "SELECT pay_type_name, pay_star_mone, pay_type_mone FROM PayTypeList WHERE pay_type_code = 'V'");
    EXPECT_EQ(v.text(0, "pay_type_name"), QStringLiteral("银联卡"));
    EXPECT_DOUBLE_EQ(v.number(0, "pay_star_mone"), 150);
    EXPECT_DOUBLE_EQ(v.number(0, "pay_type_mone"), 20);
}

SORREL_ON_EVERY_ENGINE(OtherSetupTest);

} // namespace
