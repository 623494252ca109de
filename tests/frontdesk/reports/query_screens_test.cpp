// The query screens through the real front desk offscreen, on every engine: opened from the
// "报表" menu, a bill's detail opened by double-click and left by "回退" for its own list, no
// detail over an empty list, the credit guests offered again by "重新统计", and a bill number
// that is not one refused without a query.
#include "common/typed_input.h"
#include "frontdesk/reports/bill_detail_screen.h"
#include "frontdesk/reports/query_screen.h"
#include "frontdesk/reports/report_grid_panel.h"
#include "frontdesk/shell/day_desk.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/login_panel.h"
#include "tests/frontdesk/day/desk_window_test.h"
#include "tests/support/screen_layout.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

using namespace sorrel;
using namespace sorrel::frontdesk;
using namespace sorrel::reports;

namespace {

class QueryScreensTest : public test_day::DeskWindowTest {
  protected:
    QueryScreensTest() : DeskWindowTest(QTime(18, 0)) {}

    void startDesk() {
        ASSERT_NO_FATAL_FAILURE(showWindow());
        find<QComboBox>("cmb_shift")->setCurrentIndex(0);
        find<QLineEdit>("edt_operator")->setText(QStringLiteral("01"));
        find<QLineEdit>("edt_password")->setText(QStringLiteral("1234"));
        window_->board()->loginBox()->confirm();
        ASSERT_FALSE(window_->board()->loginBoxShown());
    }
    void report(const QString& entry) {
        for (QAction* action : window_->dayDesk()->reportsMenu()->actions())
            if (action->text() == entry) return action->trigger();
        ADD_FAILURE() << "no report " << entry.toStdString();
    }
    void click(QWidget* screen, const QString& caption) {
        QToolButton* button = test::toolButtonCaptioned(screen, caption);
        ASSERT_NE(button, nullptr) << caption.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // A bill cleared today, on credit to H01 when `credit` is set, with one payment and one line.
    void clearedBill(int number, double credit = 0) {
        const QDateTime today(clock_.now().date(), QTime(0, 0));
        db().exec(QStringLiteral("INSERT INTO AllGues (tabl_gues_auto_recn, tabl_gues_time_work, tabl_gues_fact, "
                                 "hang_code, hang_name, hang_mone) VALUES (?, ?, 100, 'H01', '王总', ?)"),
                  {number, today, credit});
        db().exec(QStringLiteral("INSERT INTO AllGuesPay (tabl_gues_auto_recn, pay_type_code, pay_type_name, "
                                 "pay_type_mone) VALUES (?, 'A', '现金', 100)"),
                  {number});
        db().exec(QStringLiteral("INSERT INTO AllCons (tabl_cons_ID, tabl_gues_auto_recn, tabl_cons_time_work, "
                                 "item_code, item_name) VALUES (?, ?, ?, '101001', '凉拌黄瓜')"),
                  {number, number, today});
    }
};

TEST_P(QueryScreensTest, ABillOpensInDetailFromItsListAndGoesBackToIt) {
    startDesk();
    for (const auto& [entry, panel] : {std::pair{"帐单查询报表", "pnl_BillQuery"}, std::pair{"挂帐查询报表", "pnl_CreditQuery"}}) {
        SCOPED_TRACE(entry);
        for (const char* table : {"AllGues", "AllGuesPay", "AllCons"})
            db().exec(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table));
        report(QString::fromUtf8(entry));
        auto* list = qobject_cast<BillListScreen*>(current());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->objectName(), QString::fromLatin1(panel));

        // Nothing to show: the detail does not open.
        click(list, QStringLiteral("明细查询"));
        EXPECT_EQ(current(), list);

        clearedBill(2048, 30);
        click(list, QStringLiteral("重新统计"));
        ASSERT_EQ(list->grid()->rows()->rowCount(), 1);
        const QModelIndex cell = list->grid()->model()->index(0, 1);
        const QPoint at = list->grid()->visualRect(cell).center();
        QTest::mouseClick(list->grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->grid()->viewport(), Qt::LeftButton, {}, at);
        auto* detail = qobject_cast<BillDetailScreen*>(current());
        ASSERT_NE(detail, nullptr);
        EXPECT_EQ(detail->page(), BillDetailScreen::BasicInfo);
        EXPECT_EQ(detail->shownValue(QStringLiteral("帐单编号：")), QStringLiteral("2048"));
        EXPECT_EQ(detail->payments()->rows()->rowCount(), 1);
        EXPECT_EQ(detail->lines()->rows()->rowCount(), 1);

        click(detail, QStringLiteral("回退"));
        EXPECT_EQ(current(), list);
        EXPECT_TRUE(sink_.shown.isEmpty()) << sink_.texts().join('\n').toStdString();
    }
}

TEST_P(QueryScreensTest, RecountingOffersTheCreditGuestsOfTheDatesAsTheyStand) {
    startDesk();
    report(QStringLiteral("挂帐查询报表"));
    auto* list = qobject_cast<BillListScreen*>(current());
    ASSERT_NE(list, nullptr);
    auto* guests = list->findChild<QComboBox*>(QStringLiteral("cmb_CreditGuest"));
    EXPECT_EQ(guests->count(), 0);

    clearedBill(1, 80);
    click(list, QStringLiteral("重新统计"));
    ASSERT_EQ(guests->count(), 1);
    EXPECT_EQ(guests->currentIndex(), -1);
}

TEST_P(QueryScreensTest, TheLineQueryRefusesABillNumberThatIsNoNumber) {
    startDesk();
    clearedBill(12);
    clearedBill(13);
    report(QStringLiteral("点单查询报表"));
    auto* lines = qobject_cast<LineQueryScreen*>(current());
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->grid()->rows()->rowCount(), 2);

    lines->billNumber()->setText(QStringLiteral("12 or 1=1"));
    click(lines, QStringLiteral("重新查询"));
    EXPECT_EQ(sink_.texts(), QStringList{kInvalidNumberMessage});
    EXPECT_EQ(lines->grid()->rows()->rowCount(), 2);
    EXPECT_EQ(current(), lines);

    lines->billNumber()->setText(QStringLiteral("12"));
    click(lines, QStringLiteral("重新查询"));
    EXPECT_EQ(lines->grid()->rows()->rowCount(), 1);
}

TEST_P(QueryScreensTest, EveryQueryScreenShowsWellInTheSmallestWindow) {
    startDesk();
    clearedBill(1, 80);
    window_->resize(window_->minimumSize());
    for (const char* entry : {"帐单查询报表", "会员查询报表", "挂帐查询报表", "点单查询报表"}) {
        SCOPED_TRACE(entry);
        report(QString::fromUtf8(entry));
        if (auto* list = qobject_cast<BillListScreen*>(current()))
            if (list->kind() == BillListKind::Bills)
                list->findChild<QCheckBox*>(QStringLiteral("chk_BillFilter"))->setChecked(true);
        QApplication::processEvents();
        EXPECT_EQ(test::layoutFaults(current()), QStringList());
    }
    report(QStringLiteral("帐单查询报表"));
    click(current(), QStringLiteral("明细查询"));
    auto* detail = qobject_cast<BillDetailScreen*>(current());
    ASSERT_NE(detail, nullptr);
    for (const BillDetailScreen::Page page : {BillDetailScreen::BasicInfo, BillDetailScreen::Settlement}) {
        detail->showPage(page);
        QApplication::processEvents();
        EXPECT_EQ(test::layoutFaults(detail), QStringList());
    }
}

SORREL_ON_EVERY_ENGINE(QueryScreensTest);

} // namespace
