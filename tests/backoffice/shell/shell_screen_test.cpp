// The back office's window driven as a manager drives it: the login panel, what the rights let
// open, the record toolbar on the current list, and how the program closes.
#include "tests/backoffice/shell/backoffice_window.h"

#include "backoffice/consumption/consumption_navigation.h"
#include "backoffice/panels/list_panel.h"
#include "backoffice/shell/login_panel.h"
#include "common/db/lock_wait.h"
#include "common/unhandled_error.h"
#include "tests/support/staff_seed.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

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

const QString kRefused = QStringLiteral("你没有操作此项功能的权限，请与系统管理员联系！");

class ShellScreenTest : public test::BackOfficeWindowTest {
  protected:
    bool menusEnabled() {
        for (QAction* a : window().findChild<QMenuBar*>()->actions())
            if (a->text() == QStringLiteral("设置中心") && !a->isEnabled()) return false;
        return true;
    }
    int rows(const char* sql) { return db().scalar(QString::fromUtf8(sql)).toInt(); }
};

TEST_P(ShellScreenTest, OnlyAKnownOperatorGetsInAndTheStatusBarSaysWho) {
    EXPECT_FALSE(menusEnabled());
    EXPECT_FALSE(window().toolButton(ToolButton::Help)->parentWidget()->isEnabled());
    for (const auto& [code, password] : QList<QPair<QString, QString>>{
             {"01", "0000"}, {"' or '1'='1", "' or '1'='1"}, {"", ""}, {"02", "1234"}}) {
        sink.shown.clear();
        logIn(code, password);
        EXPECT_EQ(shown(), QStringList{kUnknownOperatorMessage}) << code.toStdString();
        EXPECT_FALSE(menusEnabled());
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("edt_operator"));
    }
    EXPECT_EQ(rows("SELECT count(*) FROM systemlog"), 0);
    sink.shown.clear();
    logIn(" 01 ", "1234 ");
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_TRUE(menusEnabled());
    EXPECT_FALSE(window().loginPanel()->isVisible());
    EXPECT_EQ(window().statusPanel(0)->text(), QStringLiteral("【用户：悦来酒家】"));
    EXPECT_EQ(window().statusPanel(1)->text(), QStringLiteral("【操作员：管理员】"));
    EXPECT_EQ(window().statusPanel(2)->text(), QStringLiteral("【营业日期：2024-05-01】"));
    EXPECT_EQ(test::logTexts(db()), QStringList{QStringLiteral("[登录系统（后台）]")});
}

TEST_P(ShellScreenTest, RightsOfOurOwnLoginDecideWhatOpens) {
    db().exec("UPDATE Limitedlist SET limi_real = 0 WHERE mana_code = '02' AND limi_code = 'DS'");
    logIn("02", "2222");
    // A front desk elsewhere logs the administrator in; our rights stay the cashier's.
    scratch().connectAgain()->exec("UPDATE SetupPay SET oper_code = '01', mana_code = '01'");
    struct Case {
        const char* what;
        std::function<void()> act;
        bool refused;
        QString panel; // what the workspace last showed
        Tree tree;
    } cases[] = {
        {"系统设置 shows the kinds, then refuses", [&] { window().runMenuCommand("系统设置"); }, true, "大类",
         Tree::Settings},
        {"单位名称 asks nothing", [&] { clickLeaf(Tree::Settings, "单位名称"); }, false, "单位名称",
         Tree::Settings},
        {"项目 needs DS", [&] { clickLeaf(Tree::Settings, "项目"); }, true, "单位名称", Tree::Settings},
        {"出品 needs BS only", [&] { clickLeaf(Tree::Settings, "出品"); }, false, "出品", Tree::Settings},
        {"管理设置 refuses before anything changes", [&] { window().runMenuCommand("管理设置"); }, true,
         "出品", Tree::Settings},
        {"库存管理 shows its tree", [&] { window().runMenuCommand("库存管理"); }, false, "库存调整",
         Tree::Inventory},
    };
    for (const Case& c : cases) {
        sink.shown.clear();
        c.act();
        EXPECT_EQ(shown(), c.refused ? QStringList{kRefused} : QStringList()) << c.what;
        EXPECT_EQ(window().workArea()->isVisible(), !c.refused) << c.what;
        EXPECT_EQ(window().toolButton(ToolButton::Help)->parentWidget()->isEnabled(), !c.refused) << c.what;
        EXPECT_EQ(window().workspace().currentList() == nullptr,
                  c.refused || window().panel(c.panel) == nullptr)
            << c.what;
        EXPECT_EQ(window().workspace().panel(), c.panel) << c.what;
        EXPECT_EQ(window().workspace().tree(), c.tree) << c.what;
    }
}

TEST_P(ShellScreenTest, TheToolbarActsOnTheCurrentList) {
    logIn("01", "1234");
    window().runMenuCommand("系统设置");
    // A kind of its own, with no classes yet.
    clickTool(ToolButton::Add);
    type("kind_code", "5");
    type("kind_name", "自助餐");
    clickTool(ToolButton::Save);
    EXPECT_EQ(window().consumption().kinds().text("kind_code"), QStringLiteral("5")); // reloaded, still on it
    EXPECT_EQ(rows("SELECT count(*) FROM kindlist WHERE kind_code = '5'"), 1);

    clickLeaf(Tree::Settings, "分类");
    ASSERT_TRUE(window().consumption().kinds().moveToKey("5"));
    sink.shown.clear();
    clickTool(ToolButton::Delete); // nothing to delete: no question
    EXPECT_TRUE(shown().isEmpty());

    // "增加" saves the current record first: a class without a name stops it.
    clickTool(ToolButton::Add);
    type("clas_code", "501");
    clickTool(ToolButton::Add);
    EXPECT_EQ(shown(), QStringList{QStringLiteral("分类[编码]、[名称]不能为空！")});
    EXPECT_EQ(window().consumption().classes().rowCount(), 1);
    // Leaving for another leaf drops it after its refusal.
    sink.shown.clear();
    clickLeaf(Tree::Settings, "大类");
    EXPECT_EQ(shown(), QStringList{QStringLiteral("分类[编码]、[名称]不能为空！")});
    EXPECT_EQ(rows("SELECT count(*) FROM classlist WHERE kind_code = '5'"), 0);
    // No class to put an item in: "增加" adds nothing, and says nothing.
    clickLeaf(Tree::Settings, "项目");
    pick("kindlist", "5");
    sink.shown.clear();
    clickTool(ToolButton::Add);
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_TRUE(window().consumption().items().isEmpty());

    // "删除" asks first; No keeps the kind, Yes deletes it.
    clickLeaf(Tree::Settings, "大类");
    ASSERT_TRUE(window().consumption().kinds().moveToKey("5"));
    for (bool yes : {false, true}) {
        sink.shown.clear();
        sink.answers = {yes};
        clickTool(ToolButton::Delete);
        EXPECT_EQ(shown(), QStringList{kDeleteQuestion});
        EXPECT_EQ(rows("SELECT count(*) FROM kindlist WHERE kind_code = '5'"), yes ? 0 : 1);
    }
    // A code guard answers as soon as the code is typed, and the field shows the code again.
    sink.shown.clear();
    ASSERT_TRUE(window().consumption().kinds().moveToKey("1"));
    type("kind_code", "7");
    ASSERT_EQ(sink.shown.size(), 1);
    EXPECT_EQ(sink.shown[0].text, QStringLiteral("[大类]下面设有[分类]，所以不能被修改！"));
    EXPECT_EQ(sink.shown[0].title, QStringLiteral("岚舟招牌管理系列"));
    EXPECT_EQ(field("kind_code")->text(), QStringLiteral("1"));
}

// A saved record stays the current one, in its grid too: the next top-up or edit is meant for it,
// not for the list's last row.
TEST_P(ShellScreenTest, SavedRecordStaysCurrentInItsGrid) {
    logIn("01", "1234");
    struct Case {
        const char* menu;
        Tree tree;
        const char* leaf;
        // What the manager changes on the first record before "保存".
        std::function<void()> change;
        const char* changed; // a statement counting the changed row: 1 once saved
    };
    const Case cases[] = {
        {"系统设置", Tree::Settings, "房台", [this] { type("tabl_name", "大厅一号"); },
         "SELECT count(*) FROM TableList WHERE tabl_name = '大厅一号'"},
        {"系统设置", Tree::Settings, "大类", [this] { type("kind_name", "热菜类"); },
         "SELECT count(*) FROM kindlist WHERE kind_name = '热菜类'"},
        {"管理设置", Tree::Staff, "会员信息", [this] { type("memb_rema", "常客"); },
         "SELECT count(*) FROM MemberList WHERE memb_rema = '常客'"},
        {"管理设置", Tree::Staff, "权限设置",
         [this] { QTest::mouseClick(shownPanel()->findChild<QCheckBox*>("chk_limi_real"), Qt::LeftButton); },
         "SELECT count(*) FROM Limitedlist WHERE limi_real = 0 AND mana_code = '01'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.leaf);
        window().runMenuCommand(c.menu);
        clickLeaf(c.tree, c.leaf);
        auto* panel = qobject_cast<panels::ListPanel*>(shownPanel());
        ASSERT_TRUE(panel);
        MaintenanceList& list = panel->list();
        ASSERT_GE(list.rowCount(), 2);
        const QString key = list.rows().text(0, list.definition().key);
        pick(list.table(), key);
        ASSERT_EQ(list.currentKey().toString(), key);
        c.change();
        clickTool(ToolButton::Save);
        EXPECT_EQ(rows(c.changed), 1);
        EXPECT_EQ(list.currentKey().toString(), key);
        EXPECT_EQ(list.text(list.definition().key), key);
        EXPECT_EQ(panel->grid()->currentIndex().row(), list.rows().locate({{list.definition().key, key}}));
    }
}

TEST_P(ShellScreenTest, ClosingByExitModeSavesTheRecordAndRecomputesComponentsFirst) {
    struct Case {
        ExitMode mode;
        QList<bool> answers;
        QStringList messages;
        bool closed;
        bool recomputed;
    } cases[] = {
        {ExitMode::Normal, {false}, {QStringLiteral("请确定是否退出岚舟管理系统 8.0版!")}, false, false},
        {ExitMode::DataProcessed, {}, {kDataProcessedMessage}, true, true},
        // After a failed step: nothing more is saved.
        {ExitMode::Forced, {}, {}, true, false},
        {ExitMode::Normal, {true}, {QStringLiteral("请确定是否退出岚舟管理系统 8.0版!")}, true, true},
    };
    for (const Case& c : cases) {
        if (!window().isVisible()) openWindow();
        logIn("01", "1234");
        // The business set meal's braised pork is taken twice; the window closes on the components.
        window().runMenuCommand("系统设置");
        clickLeaf(Tree::Settings, "项目");
        ASSERT_TRUE(window().consumption().kinds().moveToKey("4"));
        ASSERT_TRUE(window().consumption().items().moveToKey("401001"));
        press(shownPanel(), "套餐/合成项目");
        ASSERT_TRUE(window().consumption().components().moveToKey(db().scalar(
            "SELECT grou_ID FROM ItemGroup WHERE grou_code = '401001' AND item_code = '102004'")));
        type("grou_coun", "2");
        window().workspace().setExitMode(c.mode);
        sink.shown.clear();
        sink.answers = c.answers;
        window().close();
        EXPECT_EQ(shown(), c.messages);
        EXPECT_EQ(window().isVisible(), !c.closed);
        EXPECT_EQ(
            db().scalar("SELECT grou_coun FROM ItemGroup WHERE grou_code = '401001' AND item_code = 'M001'")
                .toDouble(),
            c.recomputed ? 1.0 : 0.5);
        if (!c.closed) {
            window().workspace().setExitMode(ExitMode::Forced);
            window().close();
        }
        db().exec(
            "UPDATE ItemGroup SET grou_coun = CASE WHEN item_code = '102004' THEN 1 ELSE grou_mix_coun END "
            "WHERE grou_code = '401001' AND item_code IN ('102004', 'M001', 'M002', 'M003')");
    }
    EXPECT_EQ(test::logTexts(db()).count(QStringLiteral("[退出系统（后台）]")), 4);
}

TEST_P(ShellScreenTest, AnExitRefusedWhileAnotherDeskSavesKeepsTheWindow) {
    // Only the file makes the exit's line wait for another workstation's transaction.
    if (GetParam() != Engine::Embedded) GTEST_SKIP() << "the server lets both write at once";
    logIn("01", "1234");
    lock_wait::setBoundMs(100);
    const std::unique_ptr<Database> other = scratch().connectAgain();
    other->begin();
    sink.shown.clear();
    sink.answers = {true};
    window().close();
    lock_wait::setBoundMs(0);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(shown().last(), QStringLiteral("其他工作站正在保存数据，请稍候再试！"));
    other->rollback();

    sink.answers = {true};
    window().close();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(test::logTexts(db()).count(QStringLiteral("[退出系统（后台）]")), 1);
}

TEST_P(ShellScreenTest, AFailedStepShowsItsCodeAndClosesWithoutTheQuestion) {
    logIn("01", "1234");
    window().runMenuCommand("系统设置");
    clickLeaf(Tree::Settings, "项目");
    pick("kindlist", "4");
    pick("itemlist", "401001");
    press(shownPanel(), "套餐/合成项目");
    type("grou_coun", "3");
    db().exec("DROP VIEW viewReTotal");
    sink.shown.clear();
    clickTool(ToolButton::Retreat);
    ASSERT_EQ(sink.shown.size(), 1);
    EXPECT_EQ(sink.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(sink.shown[0].text, codedFailureMessage("A100006"));
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(
        db().scalar("SELECT grou_coun FROM ItemGroup WHERE grou_code = '401001' AND item_code = '102001'")
            .toDouble(),
        1.0);
}

SORREL_ON_EVERY_ENGINE(ShellScreenTest);

} // namespace
