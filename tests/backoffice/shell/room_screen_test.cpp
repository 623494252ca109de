// The room setup and the other lists through the back office's real screens: a manager makes a
// department, a time-priced mode with its bands, a type and a table, and the front desk then
// prices the new table by those bands.
#include "tests/backoffice/shell/backoffice_window.h"

#include "backoffice/rooms/mode_panel.h"
#include "common/db_datetime.h"
#include "common/time_band_store.h"
#include "frontdesk/billing/room_charge.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

class RoomScreenTest : public test::BackOfficeWindowTest {
  protected:
    ModePanel* modePanel() { return qobject_cast<ModePanel*>(shownPanel()); }
    // Types a time into a band field and leaves it, as the manager tabs on.
    void typeTime(const QString& column, const QString& text) {
        QLineEdit* edit = field(column);
        ASSERT_TRUE(edit) << column.toStdString();
        edit->setFocus();
        edit->setCursorPosition(0);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }
};

TEST_P(RoomScreenTest, AManagerSetsUpATimePricedRoomThatTheFrontDeskThenCharges) {
    logIn("01", "1234");
    window().runMenuCommand("系统设置");
    clickLeaf(Tree::Settings, "部门");
    clickTool(ToolButton::Add);
    type("dept_code", "05");
    type("dept_name", "夜场");
    clickTool(ToolButton::Save);
    screenshot("rooms-departments");

    clickLeaf(Tree::Settings, "消费方式");
    clickTool(ToolButton::Add);
    type("cons_mode_code", "21");
    type("cons_mode_name", "夜场分时段");
    choose("cons_type_code", "每人最低消费");
    EXPECT_TRUE(modePanel()->amountEdit()->isVisible());
    EXPECT_EQ(modePanel()->amountCaption()->text(), QStringLiteral("每人最低消费"));
    EXPECT_FALSE(modePanel()->bandsButton()->isVisible());
    choose("cons_type_code", "分时段计费");
    EXPECT_FALSE(modePanel()->amountEdit()->isVisible());
    EXPECT_TRUE(modePanel()->bandsButton()->isVisible());
    type("cons_mode_serv", "1x0");
    EXPECT_EQ(field("cons_mode_serv")->text(), "10"); // digits only
    screenshot("rooms-mode-type9");

    press(shownPanel(), QStringLiteral("时段价格设置"));
    EXPECT_EQ(shownPanel()->objectName(), "pnl_ConsTime");
    EXPECT_TRUE(toolShown(ToolButton::Retreat));
    EXPECT_TRUE(toolShown(ToolButton::Cancel));
    for (ToolButton hidden : {ToolButton::Add, ToolButton::Delete, ToolButton::Save})
        EXPECT_FALSE(toolShown(hidden));
    // An hour of 25 is no time of day: the start stays what it was.
    typeTime("cons_time_star", "25:00:00");
    EXPECT_EQ(field("cons_time_star")->text(), "00:00:00");
    const double prices[] = {40, 60, 100};
    for (int row = 0; row < 3; ++row) {
        pick("ConsTimeMode", window().rooms().bands().rows().text(row, "cons_time_code"));
        type("cons_time_mone", QString::number(prices[row]));
    }
    pick("ConsTimeMode", window().rooms().bands().rows().text(0, "cons_time_code"));
    typeTime("cons_time_end", "10:59:59");
    EXPECT_EQ(shownPanel()->findChild<QLabel*>("lbl_gaps")->text(),
              QStringLiteral("未设置价格的时间段：11:00:00-11:59:59"));
    screenshot("rooms-bands");
    typeTime("cons_time_end", "11:59:59");
    clickTool(ToolButton::Retreat); // saves the band being edited
    EXPECT_EQ(shownPanel()->objectName(), "pnl_ConsMode");

    clickLeaf(Tree::Settings, "类型");
    clickTool(ToolButton::Add);
    type("tabl_type_code", "21");
    type("tabl_type_name", "夜场包");
    choose("cons_mode_code", "夜场分时段"); // the mode made a moment ago is offered
    clickTool(ToolButton::Save);

    clickLeaf(Tree::Settings, "房台");
    pick("DepartmentList", "05");
    clickTool(ToolButton::Add);
    type("tabl_code", "501");
    type("tabl_name", "夜场一号");
    choose("tabl_type_code", "夜场包");
    clickTool(ToolButton::Save);
    screenshot("rooms-tables");
    EXPECT_TRUE(shown().isEmpty()) << shown().join("|").toStdString();

    const RecordSet t =
        db().query("SELECT t.dept_code, t.tabl_stat_code, y.cons_mode_code FROM TableList t, "
                   "TableTypeList y WHERE y.tabl_type_code = t.tabl_type_code AND t.tabl_code = '501'");
    ASSERT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.text(0, "dept_code"), "05");
    EXPECT_EQ(t.text(0, "tabl_stat_code"), "1");
    // The front desk prices a stay at the new table from 11:30 to 12:30 by the bands just set.
    const QList<TimeBand> bands = readTimeBands(db(), t.text(0, "cons_mode_code"));
    EXPECT_NEAR(billing::timeBandCharge(bands, QTime(11, 30), QTime(12, 30)), 0.5 * 40 + 0.5 * 60, 0.05);
}

TEST_P(RoomScreenTest, OtherListsThroughTheirScreens) {
    logIn("01", "1234");
    window().runMenuCommand("系统设置");
    clickLeaf(Tree::Settings, "付款方式");
    pick("PayTypeList", "H");
    sink.answers = {true};
    clickTool(ToolButton::Delete);
    EXPECT_EQ(shown().last(), QStringLiteral("[挂帐]为系统预设项目，所以不能被删除！"));
    clickTool(ToolButton::Add);
    type("pay_type_code", "W");
    type("pay_type_name", "微信");
    clickTool(ToolButton::Save);
    screenshot("other-payment-methods");
    pick("PayTypeList", "W");
    sink.answers = {true};
    clickTool(ToolButton::Delete);
    EXPECT_EQ(db().scalar("SELECT count(*) FROM PayTypeList WHERE pay_type_code IN ('H', 'W')").toInt(), 1);

    clickLeaf(Tree::Settings, "单位名称");
    clickTool(ToolButton::Add);
    type("unit_name", "   ");
    clickTool(ToolButton::Save);
    EXPECT_EQ(shown().last(), QStringLiteral("单位[名称]不能为空！"));
    screenshot("other-units");
}

SORREL_ON_EVERY_ENGINE(RoomScreenTest);

} // namespace
