// A look at the screens as the manager sees them: screenshots of the login, the trees, the item
// panel and its sub-panels (written to the temporary folder, for a person to look at).
#include "tests/backoffice/shell/backoffice_window.h"

#include "backoffice/consumption/consumption_navigation.h"

#include <QTest>

using namespace sorrel;
using namespace sorrel::backoffice;

namespace {

class LookTest : public test::BackOfficeWindowTest {};

TEST_P(LookTest, Screens) {
    screenshot("01_login");
    logIn("01", "1234");
    screenshot("02_logged_in");
    window().runMenuCommand("系统设置");
    screenshot("03_kinds");
    clickLeaf(Tree::Settings, "分类");
    screenshot("04_classes");
    clickLeaf(Tree::Settings, "项目");
    screenshot("05_items");
    ASSERT_TRUE(window().consumption().kinds().moveToKey("4"));
    ASSERT_TRUE(window().consumption().items().moveToKey("401001"));
    screenshot("05b_set_meal");
    press(shownPanel(), "套餐/合成项目");
    screenshot("05c_components");
    clickTool(ToolButton::Retreat);
    clickLeaf(Tree::Settings, "折扣");
    screenshot("06_schemes");
    press(shownPanel(), "分类折扣率");
    screenshot("06b_rates");
    clickTool(ToolButton::Retreat);
    window().runMenuCommand("管理设置");
    screenshot("07_staff_tree");
    window().runMenuCommand("系统管理");
    screenshot("08_data_tree");
}

INSTANTIATE_TEST_SUITE_P(File, LookTest, ::testing::Values(Engine::Embedded), test::engineTestName);

} // namespace
