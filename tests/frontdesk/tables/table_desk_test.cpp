// The table service driven through its real screens offscreen: the board's views, menu and
// search, opening a table on the register screen, the work screen and the way back, the
// day-start guard, and a second workstation's openings.
#include "common/business_day.h"
#include "common/tables/table_refusals.h"
#include "common/ui/guarded_application.h"
#include "common/ui/panel_host.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/shell/main_window.h"
#include "frontdesk/shell/table_desk.h"
#include "frontdesk/tables/board_column_panel.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/board_views_panel.h"
#include "frontdesk/tables/graphic_board_panel.h"
#include "frontdesk/tables/login_panel.h"
#include "frontdesk/tables/register_screen.h"
#include "frontdesk/tables/work_screen.h"
#include "tests/frontdesk/tables/desk_fixture.h"
#include "tests/support/screen_application.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

using namespace sorrel;
using namespace sorrel::frontdesk;
using namespace sorrel::tables;

namespace {

class TableDeskTest : public test::DeskTest {};

TEST_F(TableDeskTest, ADoubleClickOnADisabledTableDoesNothing) {
    setState(QStringLiteral("A02"), QStringLiteral("6"));
    startDesk();
    doubleClick(QStringLiteral("A02"));
    EXPECT_TRUE(sink_.shown.isEmpty());
    EXPECT_EQ(current(), board().graphicView());
    EXPECT_EQ(bills(), 0);
    EXPECT_EQ(stateNow(QStringLiteral("A02")), QStringLiteral("6"));
    // Beside it, a free table opens the register screen with the focus on 手工单号.
    doubleClick(QStringLiteral("A01"));
    EXPECT_EQ(current(), &registerScreen());
    EXPECT_EQ(QApplication::focusWidget(), find<QLineEdit>("edt_UserRecn"));
}

TEST_F(TableDeskTest, ALevelWithoutDPOrBIIsRefusedWhatItMayNotDo) {
    startDesk();
    openOn(db(), QStringLiteral("A02"), 2, QStringLiteral("老客"));
    board().requery();
    const struct {
        const char* withheld;
        const char* table;
        bool refused;
    } cases[] = {
        {"DP", "A01", true},  // every operation on a table from the board
        {"BI", "A01", true},  // opening a free table
        {"BI", "A02", false}, // a table in use is still served
    };
    for (const auto& c : cases) {
        db().exec(
            QStringLiteral("UPDATE Limitedlist SET limi_real = CASE WHEN limi_code = ? THEN 0 ELSE 1 END "
                           "WHERE mana_code = '01'"),
            {QString::fromLatin1(c.withheld)});
        sink_.shown.clear();
        doubleClick(QString::fromLatin1(c.table));
        if (c.refused) {
            EXPECT_EQ(sink_.texts(),
                      QStringList{QString::fromLatin1(c.withheld) +
                                  QStringLiteral("你没有操作此项功能的权限，请与系统管理员联系！")});
            EXPECT_EQ(current(), board().graphicView()) << c.withheld;
        } else {
            EXPECT_TRUE(sink_.shown.isEmpty()) << c.withheld;
            EXPECT_EQ(current(), &workScreen()) << c.withheld;
            QTest::keyClick(workScreen().orderLines(), Qt::Key_Escape);
        }
    }
    EXPECT_EQ(bills(), 1);
}

TEST_F(TableDeskTest, TheStateMenuOffersWhatEachStateAllows) {
    const struct {
        const char* table;
        const char* state;
        QStringList items;
    } cases[] = {
        {"A01", "1", {"开台", "禁用", "预订", "反结"}},
        {"A02", "2", {"预订"}},
        {"A03", "3", {}},
        {"A04", "4", {"预订"}},
        {"A05", "5", {"开台", "预订"}},
        {"A06", "6", {"启用"}},
    };
    for (const auto& c : cases)
        setState(QString::fromLatin1(c.table), QString::fromLatin1(c.state));
    startDesk();
    for (const auto& c : cases) {
        click(QString::fromLatin1(c.table), Qt::RightButton);
        EXPECT_EQ(board().tables().selectedCode(), QString::fromLatin1(c.table));
        QStringList shown;
        if (QMenu* menu = board().stateMenu(); menu && menu->isVisible()) {
            for (QAction* action : menu->actions())
                if (action->isVisible()) shown << action->text();
            menu->close();
        }
        EXPECT_EQ(shown, c.items) << c.state;
    }
    // "禁用" from the menu disables the table in the database and on the board.
    click(QStringLiteral("A01"), Qt::RightButton);
    ASSERT_TRUE(board().stateMenu());
    board().stateMenu()->actions().at(1)->trigger();
    EXPECT_EQ(stateNow(QStringLiteral("A01")), QStringLiteral("6"));
    EXPECT_EQ(boardState(QStringLiteral("A01")), QStringLiteral("6"));
}

TEST_F(TableDeskTest, BeforeDayStartEveryPressOnTheBoardIsAnswered) {
    startDesk(false);
    ASSERT_FALSE(businessDayOpen(db()));
    click(QStringLiteral("A01"));
    QTest::keyClick(board().searchBox(), Qt::Key_Plus, Qt::KeypadModifier);
    QTest::mouseClick(board().rightColumn()->departmentList()->viewport(), Qt::LeftButton);
    EXPECT_EQ(sink_.texts(), QStringList(3, kDayNotStartedMessage));
    EXPECT_EQ(current(), board().graphicView());
    // The toolbar stays usable: the operator can still leave or log in again.
    QTest::mouseClick(tool(QStringLiteral("关于")), Qt::LeftButton);
    EXPECT_EQ(sink_.shown.size(), 3);
}

TEST_F(TableDeskTest, TheSearchBoxFindsATableInAnotherDepartment) {
    startDesk();
    search(QStringLiteral("v0"));
    EXPECT_EQ(board().searchBox()->text(), QStringLiteral("V0"));
    EXPECT_EQ(board().tables().department(), QStringLiteral("01"));
    QTest::keyClicks(board().searchBox(), QStringLiteral("5"));
    EXPECT_TRUE(board().searchBox()->text().isEmpty());
    EXPECT_EQ(board().rightColumn()->departmentList()->currentRow(), 1);
    EXPECT_EQ(board().tables().selectedCode(), QStringLiteral("V05"));
    EXPECT_EQ(text("lbl_TypeNarr"), QStringLiteral("十至十二人"));
    EXPECT_EQ(find<QLabel>("lbl_Info0")->text(), QStringLiteral("翠竹厅"));
    search(QStringLiteral("X99"));
    EXPECT_EQ(sink_.texts(), QStringList{QStringLiteral("[X99]查无此房台号,请重新查找!")});
    EXPECT_EQ(board().rightColumn()->departmentList()->currentRow(), 0);
}

TEST_F(TableDeskTest, PlusTypedInTheGuestNameOpensTheTable) {
    startDesk();
    const int number = db().scalar(QStringLiteral("SELECT auto_recn FROM SetupPay")).toInt();
    doubleClick(QStringLiteral("A01"));
    ASSERT_EQ(current(), &registerScreen());
    QTest::keyClicks(find<QLineEdit>("edt_GuestCount"), QStringLiteral("4x"));
    QLineEdit* name = find<QLineEdit>("edt_GuestName");
    name->setFocus();
    name->insert(QStringLiteral("张"));
    QTest::keyClicks(name, QStringLiteral("-+"));

    ASSERT_EQ(current(), &workScreen());
    const billing::GuestRecord bill = *billing::GuestRecord::load(db(), number);
    EXPECT_EQ(bill.tabl_gues_name, QStringLiteral("张"));
    EXPECT_EQ(bill.tabl_gues_coun, 4);
    EXPECT_EQ(stateNow(QStringLiteral("A01")), QStringLiteral("2"));
    EXPECT_EQ(text("lbl_单号-"), QString::number(number));
    EXPECT_EQ(text("lbl_台号-"), QStringLiteral("A01"));
    EXPECT_EQ(workScreen().orderLines()->rowCount(), 0);
    EXPECT_TRUE(find<QWidget>("pnl_roominfo")->isVisible());
    EXPECT_TRUE(find<QLineEdit>("edt_WorkRemark")->isEnabled());
    EXPECT_FALSE(find<QWidget>("StatusPanel0")->findChild<QWidget*>()->isVisible()); // the progress bar went
    // "房台信息" cycles through the three pages, its caption naming the page shown.
    QToolButton* info = tool(QStringLiteral("房台信息"));
    for (const char* page : {"客人信息", "结帐信息", "房台信息"}) {
        QTest::mouseClick(info, Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(info->text(), QString::fromUtf8(page));
    }
}

TEST_F(TableDeskTest, ReturningToTheBoardShowsTheParty) {
    startDesk();
    search(QStringLiteral("V06"));
    doubleClick(QStringLiteral("V06"));
    ASSERT_EQ(current(), &registerScreen());
    find<QLineEdit>("edt_GuestCount")->setText(QStringLiteral("3"));
    find<QLineEdit>("edt_GuestName")->setText(QStringLiteral("李四"));
    QTest::mouseClick(tool(QStringLiteral("开台 +")), Qt::LeftButton);
    ASSERT_EQ(current(), &workScreen());
    // Three guests at 150 each, 15 % service on the minimum: 450 + 67.5, rounded to 518.
    EXPECT_EQ(text("lbl_最低消费-"), QStringLiteral("450.00"));
    EXPECT_EQ(text("lbl_应收金额-"), QStringLiteral("518.00"));
    EXPECT_EQ(text("lbl_ConsTypeName"), QStringLiteral("每人最低消费"));
    QLineEdit* remark = find<QLineEdit>("edt_WorkRemark");
    remark->setFocus();
    remark->insert(QStringLiteral("靠窗"));
    QTest::keyClick(remark, Qt::Key_Escape);

    EXPECT_EQ(current(), board().graphicView());
    EXPECT_EQ(QApplication::focusWidget(), board().searchBox());
    EXPECT_EQ(board().tables().selectedCode(), QStringLiteral("V06"));
    QTest::mouseClick(tool(QStringLiteral("图形房台")), Qt::LeftButton);
    ui::TextGrid* list = board().listView()->grid();
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->rows()[0],
              (QStringList{"V06", "帝王厅", "使用", "李四", "3", "05-02 18:00", "518.00", "十六人带卫生间"}));
    EXPECT_EQ(find<QLabel>("lbl_Info3")->text(), QStringLiteral("李四"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT tabl_gues_rema FROM TableGuestlist")).toString(),
              QStringLiteral("靠窗"));
    // Back on the table, the bill is the same bill.
    doubleClick(QStringLiteral("V06"));
    EXPECT_EQ(current(), &workScreen());
    EXPECT_EQ(find<QLineEdit>("edt_WorkRemark")->text(), QStringLiteral("靠窗"));
    QTest::keyClick(workScreen().orderLines(), Qt::Key_Escape);

    // Once settled, the bill is shown as it was paid, and nothing of it can be edited.
    setState(QStringLiteral("V06"), QStringLiteral("3"));
    db().exec(QStringLiteral("UPDATE TableGuestlist SET tabl_gues_shou = 500, tabl_gues_stat = '3'"));
    board().requery();
    doubleClick(QStringLiteral("V06"));
    ASSERT_EQ(current(), &workScreen());
    EXPECT_EQ(text("lbl_应收金额-"), QStringLiteral("500.00"));
    for (const char* field : {"edt_WorkUserRecn", "edt_WorkRemark", "cmb_DeduOper", "cmb_DeduType"})
        EXPECT_FALSE(find<QWidget>(field)->isEnabled()) << field;
}

TEST_F(TableDeskTest, ASecondWorkstationsOpeningIsRefusedHereAndShowsWithoutAClick) {
    // Enough tables of one type that the graphic view scrolls.
    for (int n = 0; n < 60; ++n)
        db().exec(
            QStringLiteral(
                "INSERT INTO TableList (tabl_code, tabl_name, tabl_type_code, dept_code, tabl_stat_code) "
                "VALUES (?, ?, '01', '01', '1')"),
            {QStringLiteral("C%1").arg(n, 2, 10, QLatin1Char('0')), QStringLiteral("露天%1").arg(n)});
    startDesk();
    std::unique_ptr<Database> other = scratch_->connectAgain();

    doubleClick(QStringLiteral("A05"));
    ASSERT_EQ(current(), &registerScreen());
    const billing::GuestRecord theirs = openOn(*other, QStringLiteral("A05"), 2, QStringLiteral("对面"));
    QTest::mouseClick(tool(QStringLiteral("开台 +")), Qt::LeftButton);
    EXPECT_EQ(sink_.texts(), QStringList{tables::tableChangedElsewhereMessage(QStringLiteral("A05"))});
    EXPECT_EQ(current(), board().graphicView());
    EXPECT_EQ(boardState(QStringLiteral("A05")), QStringLiteral("2"));
    EXPECT_EQ(bills(), 1);
    EXPECT_EQ(tables::loadBoardTable(db(), QStringLiteral("A05"))->guestNumber, theirs.tabl_gues_auto_recn);

    // The operator scrolls down to a table; another workstation opens one at the top.
    QScrollBar* scroll = board().graphicView()->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    const int scrolled = scroll->value();
    ASSERT_GT(scrolled, 0);
    click(QStringLiteral("C58"));
    openOn(*other, QStringLiteral("A06"), 5, QStringLiteral("隔壁"));
    EXPECT_TRUE(
        test::waitUntil([&] { return boardState(QStringLiteral("A06")) == QStringLiteral("2"); }, 5000));
    EXPECT_EQ(board().tables().selectedCode(), QStringLiteral("C58"));
    EXPECT_EQ(scroll->value(), scrolled);
    test::saveScreenshot(window_.get(), QStringLiteral("board_scrolled"));
    EXPECT_EQ(sink_.shown.size(), 1);

    // A double-click on a table that changed elsewhere since the board read it shows it as it is.
    openOn(*other, QStringLiteral("C57"), 1, QStringLiteral("刚到"));
    doubleClick(QStringLiteral("C57"));
    EXPECT_EQ(sink_.texts().last(), tables::tableChangedElsewhereMessage(QStringLiteral("C57")));
    EXPECT_EQ(current(), board().graphicView());
    EXPECT_EQ(boardState(QStringLiteral("C57")), QStringLiteral("2"));
}

TEST_F(TableDeskTest, TheViewsAndOrdersCycleAndEveryScreenIsShown) {
    db().exec(QStringLiteral("INSERT INTO DepartmentList (dept_code, dept_name) VALUES ('04', '露台')"));
    db().exec(QStringLiteral(
                  "INSERT INTO bookin (tabl_code, book_name, book_coun, book_time, book_tele, oper_code) "
                  "VALUES ('A04', '周先生', 6, ?, '13900001111', '02')"),
              {clock_.now().addSecs(1800)});
    setState(QStringLiteral("A04"), QStringLiteral("5"));
    setState(QStringLiteral("A07"), QStringLiteral("6"));
    setState(QStringLiteral("A09"), QStringLiteral("3"));
    setState(QStringLiteral("A10"), QStringLiteral("4"));
    startDesk();
    openOn(db(), QStringLiteral("A02"), 4, QStringLiteral("王先生"));
    openOn(db(), QStringLiteral("A05"), 6, QStringLiteral("陈女士"));
    board().requery();
    test::saveScreenshot(window_.get(), QStringLiteral("board_graphic"));

    QToolButton* view = tool(QStringLiteral("图形房台"));
    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_EQ(view->text(), QStringLiteral("列表房台"));
    EXPECT_TRUE(board().listView()->isVisible());
    EXPECT_EQ(current(), board().graphicView()); // the views never become the current panel
    test::saveScreenshot(window_.get(), QStringLiteral("board_list"));
    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_EQ(view->text(), QStringLiteral("房态图例"));
    EXPECT_TRUE(board().legendView()->isVisible());
    EXPECT_EQ(text("lbl_StateDept"), QStringLiteral("部门：大厅"));
    EXPECT_EQ(text("lbl_StateCount2"), QStringLiteral("2"));
    test::saveScreenshot(window_.get(), QStringLiteral("board_legend"));
    ui::TextGrid* departments = board().rightColumn()->departmentList();
    QTest::mouseClick(departments->viewport(), Qt::LeftButton, {},
                      departments->visualItemRect(departments->item(3, 0)).center());
    EXPECT_EQ(text("lbl_StateDept"), QStringLiteral("部门：露台"));
    for (const char* count : {"lbl_StateCount1", "lbl_StateCount2", "lbl_StateCount6"})
        EXPECT_EQ(text(count), QStringLiteral("0"));
    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_EQ(view->text(), QStringLiteral("图形房台"));
    EXPECT_TRUE(board().graphicView()->isVisible());

    QToolButton* sort = tool(QStringLiteral("台号排序"));
    QStringList captions;
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(sort, Qt::LeftButton);
        captions << sort->text();
    }
    EXPECT_EQ(captions, (QStringList{"台名排序", "状态排序", "开台排序", "台号排序"}));

    search(QStringLiteral("A04"));
    doubleClick(QStringLiteral("A04"));
    ASSERT_EQ(current(), &registerScreen());
    EXPECT_EQ(registerScreen().bookingList()->rows().value(0).value(0), QStringLiteral("周先生"));
    test::saveScreenshot(window_.get(), QStringLiteral("register"));
    QTest::keyClick(find<QLineEdit>("edt_UserRecn"), Qt::Key_Escape);
    EXPECT_EQ(current(), board().graphicView());
    EXPECT_EQ(stateNow(QStringLiteral("A04")), QStringLiteral("5")); // its booking is still there

    doubleClick(QStringLiteral("A05"));
    ASSERT_EQ(current(), &workScreen());
    test::saveScreenshot(window_.get(), QStringLiteral("work"));
}

} // namespace
