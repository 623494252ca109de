// A manager builds a new part of the menu through the real screens — a kind, a class, items, a
// composite inside a set meal and a discount scheme with a class rate — meeting each refusal on
// the way, and the front desk orders the set meal at the stock its ingredients allow.
#include "tests/backoffice/shell/backoffice_window.h"

#include "common/business_day.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/ordering/order_commit.h"
#include "frontdesk/ordering/order_staging.h"
#include "frontdesk/tables/board_tables.h"
#include "frontdesk/tables/opening.h"

#include <QApplication>
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

class MenuBuildingTest : public test::BackOfficeWindowTest {
  protected:
    // Saves with the toolbar and answers which refusal, if any, was shown.
    QStringList saved() {
        sink.shown.clear();
        clickTool(ToolButton::Save);
        return shown();
    }
    QVariant item(const char* code, const char* column) {
        return db().scalar(
            QStringLiteral("SELECT %1 FROM itemlist WHERE item_code = ?").arg(QLatin1String(column)),
            {QString::fromUtf8(code)});
    }
};

TEST_P(MenuBuildingTest, AKindToASetMealWithItsStockAndADiscount) {
    screenshot("login");
    logIn("01", "1234");
    window().runMenuCommand("系统设置");
    screenshot("settings_tree_kinds");
    clickTool(ToolButton::Add);
    type("kind_code", "5");
    EXPECT_EQ(saved(), QStringList{QStringLiteral("大类[编码]、[名称]不能为空！")});
    type("kind_name", "自助");
    EXPECT_EQ(saved(), QStringList());

    clickLeaf(Tree::Settings, "分类");
    pick("kindlist", "5");
    clickTool(ToolButton::Add);
    type("clas_code", "501");
    type("clas_name", "自助餐");
    type("clas_cost_perc", "120");
    EXPECT_EQ(saved(), QStringList{QStringLiteral("默认成本率不能大于100%！")});
    type("clas_cost_perc", "40");
    choose("manu_code", "厨房");
    EXPECT_EQ(saved(), QStringList());
    EXPECT_EQ(db().scalar("SELECT manu_code FROM classlist WHERE clas_code = '501'").toString(), "2");

    clickLeaf(Tree::Settings, "项目");
    pick("kindlist", "5");
    struct NewItem {
        const char* code;
        const char* name;
        const char* price;
        const char* commission;
        const char* type;
    } items[] = {{"501001", "烤肉拼盘", "25", "5", "单品"},
                 {"501002", "红烧排骨", "30", "", "合成"},
                 {"501003", "自助套餐", "88", "", "套餐"}};
    for (const NewItem& n : items) {
        if (&n == &items[2]) {
            // Keypad "+" from any field of the panel starts the next item at its code.
            QTest::keyClick(field("item_name"), Qt::Key_Plus, Qt::KeypadModifier);
            ASSERT_EQ(window().consumption().items().state(), MaintenanceList::State::Inserting);
            EXPECT_EQ(QApplication::focusWidget(), field("item_code"));
        } else {
            clickTool(ToolButton::Add);
        }
        type("item_code", QString::fromUtf8(n.code));
        type("item_name", QString::fromUtf8(n.name));
        type("item_unit_pric", QString::fromUtf8(n.price));
        choose("item_unit", "份");
        choose("item_type_code", QString::fromUtf8(n.type));
        if (*n.commission) {
            // The class's cost rate fills the cost; a commission above the profit is refused.
            EXPECT_EQ(field("item_cost_pric")->text(), QStringLiteral("10"));
            type("item_dedu_pric", "20");
            EXPECT_EQ(saved(), QStringList{QStringLiteral("[提成]不能大于利润！")});
            type("item_dedu_pric", QString::fromUtf8(n.commission));
        }
        EXPECT_EQ(saved(), QStringList()) << n.code;
    }
    EXPECT_EQ(item("501001", "item_cost_pric").toDouble(), 10.0);
    screenshot("items");

    // The composite of two ingredients, then the set meal holding it three times.
    const auto build = [&](const char* parent, QList<QPair<QString, QString>> components) {
        pick("itemlist", QString::fromUtf8(parent));
        press(shownPanel(), "套餐/合成项目");
        ASSERT_EQ(window().workspace().currentList(), &window().consumption().components());
        for (const auto& [code, quantity] : components) {
            enterIn("edt_search", code);
            enterIn("dbe_grou_coun", quantity);
        }
        screenshot(QStringLiteral("components_") + QString::fromUtf8(parent));
        clickTool(ToolButton::Retreat);
        EXPECT_EQ(window().workspace().currentList(), &window().consumption().items());
    };
    build("501002", {{"M001", "2"}, {"M002", "1"}});
    build("501003", {{"501002", "3"}, {"501001", "1"}});
    const RecordSet rows = db().query("SELECT item_code, grou_coun FROM ItemGroup WHERE grou_code = '501003' "
                                      "ORDER BY COALESCE(grou_mix_code, ''), item_code");
    QStringList derived;
    for (int i = 0; i < rows.rowCount(); ++i)
        derived << rows.text(i, "item_code") + "×" + QString::number(rows.number(i, "grou_coun"));
    EXPECT_EQ(derived, (QStringList{"501001×1", "501002×3", "M001×6", "M002×3"}));

    // A scheme with a rate for the new class; a rate above 100 keeps the manager on the rates.
    clickLeaf(Tree::Settings, "折扣");
    clickTool(ToolButton::Add);
    type("disc_code", "09");
    type("disc_name", "自助优惠");
    press(shownPanel(), "分类折扣率");
    enterIn("edt_search", "501");
    type("disc_clas_perc", "120");
    sink.shown.clear();
    clickTool(ToolButton::Retreat);
    EXPECT_EQ(shown(), QStringList{QStringLiteral("折扣率不能大于100%！")});
    EXPECT_EQ(window().workspace().currentList(), &window().consumption().rates());
    screenshot("rates_09");
    type("disc_clas_perc", "80");
    clickTool(ToolButton::Retreat);
    EXPECT_EQ(window().workspace().currentList(), &window().consumption().schemes());
    EXPECT_EQ(db().scalar("SELECT disc_clas_perc FROM DiscItem WHERE disc_code = '09' AND clas_code = '501'")
                  .toInt(),
              80);

    // What the front desk orders from: the set meal, limited to what its ingredients allow
    // (五花肉 20 / 6 and 冰糖 5 / 3: one set meal).
    const RecordSet desk = db().query(
        "SELECT item_limi, item_coun FROM itemlist WHERE item_type_code <> '4' AND item_code = '501003'");
    ASSERT_EQ(desk.rowCount(), 1);
    EXPECT_EQ(desk.text(0, "item_limi"), QStringLiteral("有限"));
    EXPECT_EQ(desk.number(0, "item_coun"), 1.0);
    EXPECT_EQ(item("501002", "item_coun").toDouble(), 5.0); // 冰糖 5 / 1

    // A front desk orders it: a second set meal is more than the ingredients allow, the first
    // commits and takes its ingredients out.
    startDay(db(), clock);
    const tables::BoardTable a01 = *tables::loadBoardTable(db(), "A01");
    billing::GuestRecord guest = tables::newGuestRecord(db(), a01, "1", clock);
    guest.tabl_gues_coun = 2;
    const int bill =
        tables::openTable(db(), guest, billing::BillSettings::load(db()), clock, {}).tabl_gues_auto_recn;
    ordering::OrderStaging order(db(), bill, "A01", "01", [](const QString&) { return true; });
    order.begin();
    const ordering::OrderItem setMeal = *ordering::loadOrderItem(db(), "501003");
    order.choose(setMeal);
    order.choose(setMeal);
    ASSERT_EQ(order.lines().size(), 1);
    EXPECT_EQ(order.lines().first().quantity, 1.0);
    ordering::commitOrder(db(), bill, clock);
    EXPECT_EQ(item("M001", "item_coun").toDouble(), 14.0);
    EXPECT_EQ(item("M002", "item_coun").toDouble(), 2.0);
    EXPECT_EQ(item("501003", "item_coun").toDouble(), 0.0);
}

SORREL_ON_EVERY_ENGINE(MenuBuildingTest);

} // namespace
