// A table's life through the real screens: transfer and merge with their panel, resume and
// clear from the work screen, and reverse settlement from the board's state menu.
#include "common/settings_row.h"
#include "common/system_password.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/shell/table_life_desk.h"
#include "frontdesk/table_life/clearing.h"
#include "frontdesk/table_life/move_panel.h"
#include "frontdesk/table_life/reagain_screen.h"
#include "frontdesk/table_life/reopening.h"
#include "frontdesk/table_life/reverse_settlement.h"
#include "frontdesk/table_life/table_moves.h"
#include "tests/frontdesk/tables/desk_fixture.h"

#include <QMenu>
#include <QPushButton>

using namespace sorrel;
using namespace sorrel::frontdesk;
using namespace sorrel::table_life;

namespace {

class TableLifeScreenTest : public test::DeskTest {
  protected:
    // Checkout as it leaves a bill and its table.
    void settle(int bill, const QString& table) {
        db().exec(
            QStringLiteral("UPDATE TableGuestlist SET tabl_gues_stat = '3', tabl_gues_fact = tabl_gues_shou, "
                           "tabl_gues_time_work = ? WHERE tabl_gues_auto_recn = ?"),
            {loadSettingsRow(db()).timeWork, bill});
        setState(table, QStringLiteral("3"));
    }
    void press(const QString& caption) { QTest::mouseClick(tool(caption), Qt::LeftButton); }
    void moveTo(const QString& caption, const QString& target) {
        press(caption);
        QTest::keyClicks(find<QLineEdit>("edt_MoveTarget"), target);
        QTest::mouseClick(find<QPushButton>("btn_MoveOk"), Qt::LeftButton);
    }
    MovePanel* panel() { return window_->tableDesk()->workActions()->movePanel(); }
    void chooseFromMenu(const QString& code, const QString& item) {
        click(code, Qt::RightButton);
        ASSERT_TRUE(board().stateMenu());
        for (QAction* action : board().stateMenu()->actions())
            if (action->text() == item) {
                ASSERT_TRUE(action->isEnabled());
                board().stateMenu()->close();
                action->trigger();
                return;
            }
        FAIL() << item.toStdString() << " is not offered";
    }
};

TEST_F(TableLifeScreenTest, ATransferredAndMergedBillIsSettledResumedAndCleared) {
    startDesk();
    const int bill = openOn(db(), QStringLiteral("A01"), 3, QStringLiteral("钱先生")).tabl_gues_auto_recn;
    openOn(db(), QStringLiteral("A04"), 2, QStringLiteral("孙女士"));
    setState(QStringLiteral("A03"), QStringLiteral("5"));
    board().requery();
    doubleClick(QStringLiteral("A01"));
    ASSERT_EQ(current(), &workScreen());

    press(QStringLiteral("转台"));
    EXPECT_TRUE(panel()->isVisible());
    EXPECT_EQ(panel()->pos(), QPoint(260, 100));
    EXPECT_FALSE(workScreen().toolbar()->isEnabled());
    QTest::keyClicks(find<QLineEdit>("edt_MoveTarget"), QStringLiteral("a03"));
    test::saveScreenshot(window_.get(), QStringLiteral("transfer_panel"));
    QTest::mouseClick(find<QPushButton>("btn_MoveOk"), Qt::LeftButton);
    EXPECT_EQ(sink_.texts(), QStringList{table_life::kTransferTargetMessage});
    EXPECT_TRUE(panel()->isVisible()); // back to the field for another code
    find<QLineEdit>("edt_MoveTarget")->clear();
    sink_.answers = {true};
    QTest::keyClicks(find<QLineEdit>("edt_MoveTarget"), QStringLiteral("A02"));
    QTest::mouseClick(find<QPushButton>("btn_MoveOk"), Qt::LeftButton);
    EXPECT_EQ(sink_.shown.at(1).text,
              table_life::transferQuestion(QStringLiteral("A01"), QStringLiteral("A02")));
    EXPECT_EQ(sink_.texts().last(), table_life::transferredMessage(QStringLiteral("A02")));
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_TRUE(workScreen().toolbar()->isEnabled());
    EXPECT_EQ(text("lbl_台号-"), QStringLiteral("A02"));
    EXPECT_EQ(board().tables().selectedCode(), QStringLiteral("A02"));
    EXPECT_EQ(stateNow(QStringLiteral("A01")), QStringLiteral("1"));

    sink_.answers = {true};
    moveTo(QStringLiteral("并台"), QStringLiteral("A04"));
    EXPECT_EQ(sink_.texts().last(), table_life::mergedMessage(QStringLiteral("A04")));
    EXPECT_EQ(text("lbl_台号-"), QStringLiteral("A04"));
    EXPECT_EQ(stateNow(QStringLiteral("A02")), QStringLiteral("1"));
    EXPECT_EQ(billing::GuestRecord::load(db(), bill), std::nullopt);
    const int merged = workScreen().work().guest.tabl_gues_auto_recn;

    // Settled at the checkout: no transfer, but a resume that opens the fields again.
    settle(merged, QStringLiteral("A04"));
    QTest::keyClick(workScreen().orderLines(), Qt::Key_Escape);
    doubleClick(QStringLiteral("A04"));
    ASSERT_EQ(current(), &workScreen());
    sink_.shown.clear();
    press(QStringLiteral("转台"));
    press(QStringLiteral("并台"));
    EXPECT_EQ(sink_.texts(),
              (QStringList{table_life::kTransferSettledMessage, table_life::kMergeSettledMessage}));
    EXPECT_FALSE(panel()->isVisible());
    sink_.answers = {true};
    press(QStringLiteral("续单"));
    EXPECT_EQ(sink_.texts().last(), table_life::kResumeQuestion);
    EXPECT_EQ(stateNow(QStringLiteral("A04")), QStringLiteral("4"));
    EXPECT_TRUE(find<QLineEdit>("edt_WorkRemark")->isEnabled());
    sink_.shown.clear();
    press(QStringLiteral("清台 -"));
    EXPECT_EQ(sink_.texts(), QStringList{table_life::kClearNotSettledMessage});

    settle(merged, QStringLiteral("A04"));
    QTest::keyClick(workScreen().orderLines(), Qt::Key_Escape);
    doubleClick(QStringLiteral("A04"));
    sink_.answers = {true};
    press(QStringLiteral("清台 -"));
    EXPECT_EQ(current(), board().graphicView());
    EXPECT_EQ(boardState(QStringLiteral("A04")), QStringLiteral("1"));
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT count(*) FROM AllGues WHERE tabl_gues_auto_recn = ?"), {merged})
            .toInt(),
        1);
}

TEST_F(TableLifeScreenTest, ReverseSettlementAsksForTheSystemPassword) {
    // The manager changed the system password in the back office: the old one no longer serves,
    // and the new one is taken with blanks around it, its quote as data.
    setSystemPassword(db(), QStringLiteral("o'ne 42"), QStringLiteral("o'ne 42"));
    startDesk();
    const int bill = openOn(db(), QStringLiteral("A06"), 2, QStringLiteral("冯先生")).tabl_gues_auto_recn;
    settle(bill, QStringLiteral("A06"));
    table_life::clearTable(db(), QStringLiteral("A06"), bill);
    board().requery();
    chooseFromMenu(QStringLiteral("A06"), QStringLiteral("反结"));
    ReagainScreen* screen = window_->tableDesk()->reagainScreen();
    ASSERT_EQ(current(), screen);
    ASSERT_EQ(screen->bills()->rowCount(), 1);
    EXPECT_EQ(screen->bills()->rows().at(0).at(0), QString::number(bill));
    EXPECT_TRUE(screen->password()->text().isEmpty());
    test::saveScreenshot(window_.get(), QStringLiteral("reagain"));

    const QRect row = screen->bills()->visualRect(screen->bills()->model()->index(0, 1));
    QTest::keyClicks(screen->password(), QStringLiteral("8888"));
    QTest::mouseClick(tool(QStringLiteral("反结帐")), Qt::LeftButton);
    EXPECT_EQ(sink_.texts(), QStringList{kWrongSystemPasswordMessage});
    screen->password()->setText(QStringLiteral(" o'ne 42 "));
    sink_.answers = {true};
    QTest::mouseClick(screen->bills()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(screen->bills()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(sink_.texts().last(), table_life::kReverseQuestion);
    EXPECT_EQ(current(), board().graphicView());
    EXPECT_EQ(boardState(QStringLiteral("A06")), QStringLiteral("4"));
    EXPECT_TRUE(billing::GuestRecord::load(db(), bill)->tabl_gues_use);
    doubleClick(QStringLiteral("A06"));
    ASSERT_EQ(current(), &workScreen());
    EXPECT_EQ(text("lbl_单号-"), QString::number(bill));
}

} // namespace

namespace {

// Esc from a half-typed transfer returns to the board and takes the panel with it: the next
// table shows its work screen whole, its toolbar live.
TEST_F(TableLifeScreenTest, LeavingATableClosesItsTransferPanel) {
    startDesk();
    openOn(db(), QStringLiteral("A02"), 2, QStringLiteral("钱先生"));
    openOn(db(), QStringLiteral("A06"), 3, QStringLiteral("孙女士"));
    board().requery();
    doubleClick(QStringLiteral("A02"));
    ASSERT_EQ(current(), &workScreen());
    press(QStringLiteral("转台"));
    ASSERT_TRUE(panel()->isVisible());
    QTest::keyClicks(find<QLineEdit>("edt_MoveTarget"), QStringLiteral("A0"));
    QTest::keyClick(find<QLineEdit>("edt_MoveTarget"), Qt::Key_Escape);
    EXPECT_EQ(current(), static_cast<QWidget*>(board().graphicView()));

    doubleClick(QStringLiteral("A06"));
    ASSERT_EQ(current(), &workScreen());
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_TRUE(find<QLineEdit>("edt_MoveTarget")->text().isEmpty());
    EXPECT_TRUE(workScreen().toolbar()->isEnabled());
    EXPECT_TRUE(sink_.shown.isEmpty()) << sink_.texts().join('\n').toStdString();
}

} // namespace
