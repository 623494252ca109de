// A manager sets up the staff and the guests who pay in special ways through the real screens:
// a level and its rights, an operator, an area, a group and a commission waiter; a member card
// sold and topped up; a credit guest who repays part of a bill, and the list of repayments.
#include "tests/backoffice/shell/backoffice_window.h"

#include "backoffice/members/member_navigation.h"
#include "backoffice/panels/list_grid_panel.h"
#include "common/ui/print/print_document.h"

#include <QAbstractItemView>
#include <QDir>
#include <QLineEdit>
#include <QTest>

using namespace sorrel;
using namespace sorrel::backoffice;
using namespace sorrel::lists;
using namespace sorrel::panels;
using namespace sorrel::consumption;
using namespace sorrel::rooms;
using namespace sorrel::members;
using namespace sorrel::staff;
using namespace sorrel::other_setup;

namespace {

class StaffAndGuestsTest : public test::BackOfficeWindowTest {
  protected:
    QStringList saved() {
        sink.shown.clear();
        clickTool(ToolButton::Save);
        return shown();
    }
    QVariant one(const char* sql) { return db().scalar(QString::fromUtf8(sql)); }
    // The row of `key` in the shown panel's main grid, double-clicked.
    void doubleClick(const QString& key) {
        ListGrid* grid = nullptr;
        for (ListGrid* g : shownPanel()->findChildren<ListGrid*>())
            if (g->objectName().endsWith("_grid")) grid = g;
        ASSERT_TRUE(grid);
        const int row = grid->list().rows().locate({{grid->list().definition().key, key}});
        ASSERT_GE(row, 0) << key.toStdString();
        grid->scrollTo(grid->model()->index(row, 0));
        const QRect at = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at.center());
    }
    QString gridText(const QString& gridName, int row, int column) {
        auto* grid = shownPanel()->findChild<QAbstractItemView*>(gridName);
        return grid ? grid->model()->index(row, column).data().toString() : QString();
    }
};

TEST_P(StaffAndGuestsTest, ALevelToAnOperatorAndACardToARepayment) {
    logIn("01", "1234");
    window().runMenuCommand("管理设置");
    clickLeaf(Tree::Staff, "员工级别");
    clickTool(ToolButton::Add);
    type("mana_code", "05");
    EXPECT_EQ(saved(), QStringList{QStringLiteral("员工级别[编码]、[名称]不能为空！")});
    type("mana_name", "领班");
    EXPECT_EQ(saved(), QStringList());
    screenshot("staff_levels");

    clickLeaf(Tree::Staff, "权限设置");
    EXPECT_FALSE(toolShown(ToolButton::Add) || toolShown(ToolButton::Delete));
    pick("managertype", "05");
    press(shownPanel(), "全选");
    EXPECT_EQ(one("SELECT count(*) FROM Limitedlist WHERE mana_code = '05' AND limi_real = 0").toInt(), 0);
    const QVariant om = one("SELECT limi_ID FROM Limitedlist WHERE mana_code = '05' AND limi_code = 'SS'");
    doubleClick(om.toString());
    EXPECT_EQ(one("SELECT limi_real FROM Limitedlist WHERE mana_code = '05' AND limi_code = 'SS'").toInt(),
              0);
    screenshot("staff_permissions");

    clickLeaf(Tree::Staff, "操作员工");
    pick("managertype", "05");
    clickTool(ToolButton::Add);
    type("oper_code", "07");
    type("oper_name", "小李");
    EXPECT_EQ(saved(), QStringList{QStringLiteral("员工[编码]、[名称]、[密码]不能为空！")});
    type("oper_pass", "77 ");
    EXPECT_EQ(saved(), QStringList());
    EXPECT_EQ(one("SELECT oper_pass || '|' || mana_code FROM operatorlist WHERE oper_code = '07'").toString(),
              "77|05");
    // Nothing on the screen shows a password.
    EXPECT_EQ(field("oper_pass")->echoMode(), QLineEdit::Password);
    for (int row = 0; row < 1; ++row)
        EXPECT_EQ(gridText("pnl_Operator_grid", row, 2), QStringLiteral("******"));
    screenshot("staff_operators");

    clickLeaf(Tree::Staff, "员工分区");
    clickTool(ToolButton::Add);
    type("area_code", "3");
    type("area_name", "二楼");
    EXPECT_EQ(saved(), QStringList());
    screenshot("staff_areas");
    clickLeaf(Tree::Staff, "员工分组");
    pick("AreaList", "3");
    clickTool(ToolButton::Add);
    type("grou_code", "04");
    type("grou_name", "二楼服务组");
    EXPECT_EQ(saved(), QStringList());
    screenshot("staff_groups");
    clickLeaf(Tree::Staff, "提成员工");
    pick("AreaList", "3");
    pick("Grouplist", "04");
    clickTool(ToolButton::Add);
    type("dedu_oper_code", "006");
    type("dedu_oper_name", "孙丽");
    type("dedu_oper_stan", "6000");
    EXPECT_EQ(saved(), QStringList());
    EXPECT_EQ(one("SELECT grou_code FROM deduoperatorlist WHERE dedu_oper_code = '006'").toString(), "04");
    screenshot("staff_commission");

    // A stored-value card sold and topped up.
    clickLeaf(Tree::Staff, "会员类别");
    screenshot("member_types");
    clickLeaf(Tree::Staff, "会员信息");
    clickTool(ToolButton::Add);
    for (const auto& [column, text] : QList<QPair<QString, QString>>{{"memb_card_code", "880009"},
                                                                     {"memb_name", "吴青"},
                                                                     {"memb_pass", "9999"},
                                                                     {"memb_work", "钱江公司"},
                                                                     {"memb_add", "钱江路1号"},
                                                                     {"memb_tele", "13700000000"}})
        type(column, text);
    choose("memb_type_code", "储值金卡");
    EXPECT_EQ(field("memb_pass")->echoMode(), QLineEdit::Password);
    press(shownPanel(), "续钱"); // the card is saved on the way
    EXPECT_EQ(window().workspace().panel(), kTopUpsPanel);
    EXPECT_TRUE(toolShown(ToolButton::Retreat) && !toolShown(ToolButton::Delete) &&
                !toolShown(ToolButton::Query));
    clickTool(ToolButton::Add);
    enterIn("edt_memb_mana_save", "500");
    EXPECT_EQ(saved(), QStringList());
    // The next entry after one that took the card down to nothing.
    for (const char* amount : {"-500", "300"}) {
        sink.shown.clear();
        clickTool(ToolButton::Add);
        EXPECT_EQ(shown(), QStringList());
        enterIn("edt_memb_mana_save", amount);
        EXPECT_EQ(saved(), QStringList());
    }
    screenshot("member_top_ups");
    clickTool(ToolButton::Retreat);
    EXPECT_EQ(one("SELECT memb_surp FROM MemberList WHERE memb_card_code = '880009'").toDouble(), 300.0);
    EXPECT_EQ(one("SELECT memb_disc_perc FROM MemberList WHERE memb_card_code = '880009'").toInt(), 88);
    EXPECT_EQ(field("memb_surp")->text(), "300");
    screenshot("members");

    // A credit guest charged at the front desk pays part of it back.
    clickLeaf(Tree::Staff, "挂帐客人");
    clickTool(ToolButton::Add);
    for (const auto& [column, text] : QList<QPair<QString, QString>>{{"hang_gues_code", "003"},
                                                                     {"hang_gues_name", "钱江公司"},
                                                                     {"hang_gues_tele", "0571-1"},
                                                                     {"hang_gues_work", "钱江公司"},
                                                                     {"hang_gues_add", "钱江路1号"},
                                                                     {"hang_gues_limi", "3000.5"}})
        type(column, text);
    EXPECT_EQ(saved(), QStringList());
    // Typed digit by digit, the decimal point stays where it was typed.
    EXPECT_EQ(one("SELECT hang_gues_limi FROM HangGues WHERE hang_gues_code = '003'").toDouble(), 3000.5);
    db().exec("UPDATE HangGues SET hang_gues_use = hang_gues_use + 300.5 WHERE hang_gues_code = '003'");
    clickLeaf(Tree::Staff, "挂帐客人");
    sink.shown.clear();
    doubleClick("003");
    EXPECT_EQ(shown(), QStringList{QStringLiteral("密码不正确，请重新输入后确认！")});
    enterIn("edt_SystemPassword", "8888");
    screenshot("credit_guests");
    doubleClick("003");
    ASSERT_EQ(window().workspace().panel(), kRepaymentsPanel);
    EXPECT_TRUE(toolShown(ToolButton::Retreat) && !toolShown(ToolButton::Save) &&
                !toolShown(ToolButton::Add));
    for (const char* amount : {"100", "80.5"}) {
        enterIn("edt_hang_gues_inco", amount);
        press(shownPanel(), "保存");
    }
    EXPECT_EQ(one("SELECT hang_gues_use FROM HangGues WHERE hang_gues_code = '003'").toDouble(), 120.0);
    screenshot("credit_repayments");
    const QString pdf = QDir::temp().filePath("sorrel-backoffice-screens/repayments.pdf");
    EXPECT_TRUE(ui::print::printDocument(window().credit().repaymentList(),
                                         ui::print::PrintTarget::pdf(pdf, document::PageFormat::a4()))
                    .ok());
    clickTool(ToolButton::Retreat);
    EXPECT_EQ(window().workspace().panel(), QStringLiteral("挂帐客人"));
    EXPECT_TRUE(toolShown(ToolButton::Query) && toolShown(ToolButton::Add));
}

SORREL_ON_EVERY_ENGINE(StaffAndGuestsTest);

} // namespace
