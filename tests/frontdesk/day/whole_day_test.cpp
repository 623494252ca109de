// One business day of the demo venue through the real front desk offscreen, on every engine: the
// morning login and day start, three tables opened, ordered (a return, a gift, a set meal), a
// kitchen ticket, three settlements (cash, member card, credit), two tables cleared, the shift
// handed over, the evening login and the day end after midnight with one table still in use.
// Every figure checked at the end is what the cashier works out on paper.
#include "common/ui/text_grid.h"
#include "frontdesk/checkout/checkout_screen.h"
#include "frontdesk/day/day_operations.h"
#include "frontdesk/day/day_panel.h"
#include "frontdesk/day/handover_screen.h"
#include "frontdesk/day/shift_handover.h"
#include "frontdesk/ordering/kitchen_ticket.h"
#include "frontdesk/ordering/ordering_screen.h"
#include "frontdesk/shell/day_desk.h"
#include "frontdesk/shell/main_window.h"
#include "frontdesk/shell/ordering_desk.h"
#include "frontdesk/shell/table_desk.h"
#include "frontdesk/table_life/clearing.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/graphic_board_panel.h"
#include "frontdesk/tables/register_screen.h"
#include "frontdesk/tables/work_screen.h"
#include "tests/frontdesk/day/desk_window_test.h"
#include "tests/support/screen_application.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/staff_seed.h"
#include "tests/support/test_database.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace sorrel;
using namespace sorrel::frontdesk;
using namespace sorrel::day;

namespace {

class WholeDayTest : public test_day::DeskWindowTest {
  protected:
    WholeDayTest() : DeskWindowTest(QTime(9, 0)) {}

    TableDesk& tables() { return *window_->tableDesk(); }
    WorkScreen& work() { return *tables().workScreen(); }
    QString label(const char* name) { return window_->findChild<QLabel*>(QString::fromUtf8(name))->text(); }
    void press(QWidget* in, const char* caption) {
        QToolButton* button = test::toolButtonCaptioned(in, QString::fromUtf8(caption));
        ASSERT_NE(button, nullptr) << caption;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void type(QWidget* into, const QString& text) {
        QTest::keyClicks(into, text);
        QTest::keyClick(into, Qt::Key_Return);
    }
    void retype(QLineEdit* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }
    void clickRow(ui::TextGrid* grid, int row, bool twice = false) {
        const QPoint at = grid->visualItemRect(grid->item(row, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
    void clickTab(QTabWidget* tabs, int index) {
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(index).center());
    }
    void logIn(const QString& shift) {
        QComboBox* shifts = find<QComboBox>("cmb_shift");
        shifts->setCurrentIndex(shifts->findText(shift));
        QTest::keyClicks(find<QLineEdit>("edt_operator"), QStringLiteral("01"));
        type(find<QLineEdit>("edt_password"), QStringLiteral("1234"));
        ASSERT_FALSE(window_->board()->loginBoxShown()) << sink_.texts().join('\n').toStdString();
    }
    // From the board to the table's work screen, through the search box and a double-click.
    void toTable(const QString& code) {
        BoardScreen* board = window_->board();
        board->searchBox()->setFocus();
        QTest::keyClicks(board->searchBox(), code);
        const QRect cell = board->graphicView()->cellRect(code);
        ASSERT_TRUE(cell.isValid()) << code.toStdString();
        QTest::mouseDClick(board->graphicView()->cells(), Qt::LeftButton, {}, cell.center());
    }
    // Opens the free table for `guests` and answers its bill number.
    int open(const QString& code, int guests, const QString& name) {
        toTable(code);
        EXPECT_EQ(current(), tables().registerScreen()) << code.toStdString();
        find<QLineEdit>("edt_GuestCount")->setText(QString::number(guests));
        find<QLineEdit>("edt_GuestName")->setText(name);
        press(tables().registerScreen(), "开台 +");
        EXPECT_EQ(current(), &work()) << code.toStdString();
        return label("lbl_单号-").toInt();
    }
    // One order at the work screen: each line an item's code or short code, its quantity and
    // the key of its kind (F5 ordered, F6 returned, F7 gift); committed with the keypad "*".
    struct Line {
        const char* code;
        int quantity;
        Qt::Key kind;
    };
    void order(const QList<Line>& lines) {
        QTest::keyClick(work().orderLines(), Qt::Key_Plus, Qt::KeypadModifier);
        ordering::OrderingScreen* o = tables().orderingDesk()->screen();
        ASSERT_EQ(current(), o);
        for (const Line& l : lines) {
            type(o->searchField(), QString::fromLatin1(l.code));
            ASSERT_EQ(QApplication::focusWidget(), o->quantityField()) << l.code;
            retype(o->quantityField(), QString::number(l.quantity));
            QTest::keyClick(o->quantityField(), l.kind);
            QTest::keyClick(o->quantityField(), Qt::Key_Return);
        }
        sink_.answers = {true};
        QTest::keyClick(o->searchField(), Qt::Key_Asterisk, Qt::KeypadModifier);
        ASSERT_EQ(current(), &work());
    }
    void backToBoard() {
        QTest::keyClick(work().orderLines(), Qt::Key_Escape);
        ASSERT_EQ(current(), window_->board()->graphicView());
    }
    // At the checkout of the table now on the work screen: the payment row gets the amount and
    // the keypad "*" settles, the question answered Yes.
    CheckoutScreen& checkout() { return *tables().checkoutScreen(); }
    void pay(int paymentRow, const QString& amount) {
        ui::TextGrid* methods = find<ui::TextGrid>("dbg_PayType");
        clickTab(checkout().tabs(), CheckoutScreen::Payment);
        clickRow(methods, paymentRow);
        QLineEdit* field = find<QLineEdit>("edt_PayAmount");
        ASSERT_EQ(QApplication::focusWidget(), field);
        QTest::keyClicks(field, amount);
        sink_.answers = {true};
        QTest::keyClick(field, Qt::Key_Asterisk, Qt::KeypadModifier);
        ASSERT_EQ(current(), window_->board()->graphicView()) << sink_.texts().join('\n').toStdString();
    }
    void clear(const QString& code) {
        toTable(code);
        ASSERT_EQ(current(), &work());
        sink_.answers = {true};
        press(&work(), "清台 -");
        ASSERT_EQ(current(), window_->board()->graphicView());
    }
    void report(const QString& entry) {
        for (QAction* action : window_->dayDesk()->reportsMenu()->actions())
            if (action->text() == entry) return action->trigger();
        ADD_FAILURE() << "no report " << entry.toStdString();
    }

    QVariant value(const char* sql, const QVariantList& params = {}) {
        return db().scalar(QString::fromUtf8(sql), params);
    }
    double number(const char* sql, const QVariantList& params = {}) { return value(sql, params).toDouble(); }
    double stock(const char* item) {
        return number("SELECT item_coun FROM itemlist WHERE item_code = ?", {QString::fromLatin1(item)});
    }
    QList<QVariantList> rows(const char* sql, const QVariantList& params = {}) {
        const RecordSet set = db().query(QString::fromUtf8(sql), params);
        QList<QVariantList> all;
        for (int r = 0; r < set.rowCount(); ++r) {
            QVariantList row;
            for (int c = 0; c < set.columnCount(); ++c) {
                const QVariant v = set.value(r, c);
                // Texts as texts (empty for none), every number and yes/no as a double.
                row << (v.isNull() || v.typeId() == QMetaType::QString ? QVariant(v.toString())
                                                                       : QVariant(v.toDouble()));
            }
            all << row;
        }
        return all;
    }
};

using Row = QVariantList;

TEST_P(WholeDayTest, TheCashierRunsTheDayAndEveryFigureAddsUp) {
    const QDate day = clock_.today();
    const auto at = [&](int hour, int minute) { return QDateTime(day, QTime(hour, minute)); };
    // This venue starts and ends its day by hand.
    db().exec(QStringLiteral("UPDATE SetupPay SET work_auto = 0"));
    ASSERT_NO_FATAL_FAILURE(showWindow());

    // 09:00 the administrator logs in on the morning shift and starts the day.
    logIn(QStringLiteral("早班"));
    clock_.set(at(9, 5));
    press(window_.get(), "日始/日结");
    ASSERT_EQ(current(), window_->dayDesk()->dayPanel());
    sink_.answers = {true};
    press(window_.get(), "日始");
    EXPECT_EQ(label("lbl_DayState"), day::kDayOpenStatus);
    press(window_.get(), "保存回退");
    EXPECT_EQ(label("lbl_WorkDate"), QStringLiteral("营业日期：") + day.toString(Qt::ISODate));

    // 11:30 three parties sit down. A01, hall: two dishes of chicken, six beers and a coke on
    // the house; two beers go back.
    clock_.set(at(11, 30));
    const int hall = open(QStringLiteral("A01"), 4, QStringLiteral("张先生"));
    order({{"gbjd", 2, Qt::Key_F5}, {"201001", 6, Qt::Key_F5}, {"kkkl", 1, Qt::Key_F7}});
    order({{"qdpj", 2, Qt::Key_F6}});
    EXPECT_EQ(label("lbl_酒菜消费-"), QStringLiteral("144.00"));
    backToBoard();
    // V01, private room with a fixed fee of 200 and 10 % service: the business set meal and a
    // bottle of red wine.
    const int room = open(QStringLiteral("V01"), 6, QStringLiteral("林女士"));
    order({{"swtca", 1, Qt::Key_F5}, {"ccgh", 1, Qt::Key_F5}});
    backToBoard();
    // A02, hall: a sea bass, three bowls of rice and a packet of cigarettes; the kitchen gets
    // its ticket, on the preview since this workstation names no kitchen printer.
    const int credit = open(QStringLiteral("A02"), 2, QStringLiteral("王经理"));
    order({{"qzly", 1, Qt::Key_F5}, {"mf", 3, Qt::Key_F5}, {"zhxy", 1, Qt::Key_F5}});
    QString previewed;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            previewed = preview->windowTitle();
            test::saveScreenshot(preview, QStringLiteral("whole_day_kitchen_ticket"));
            preview->reject();
        }
    });
    closer.start(20);
    press(&work(), "后厨");
    closer.stop();
    // The preview took the keyboard; the operator is back in the main window.
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    EXPECT_EQ(previewed, QStringLiteral("小票-后厨"));
    // Closed without printing, the preview sent nothing: the lines stay unsent until the
    // cashier, having called the order through, marks them sent by hand.
    EXPECT_TRUE(sink_.texts().contains(ordering::kTicketNotPrintedMessage));
    QTableWidget* lines = work().orderLines();
    // The cigarettes go to no kitchen and are marked at once.
    EXPECT_EQ(work().orderLines()->rows().value(2).value(0), QStringLiteral("√"));
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(lines->item(r, 0)->text(), QString()) << r;
        const QPoint mark = lines->visualItemRect(lines->item(r, 0)).center();
        QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, mark);
        QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, mark);
    }
    EXPECT_EQ(work().orderLines()->rows().value(0).value(0), QStringLiteral("√"));
    backToBoard();
    EXPECT_EQ(QList<int>({hall, room, credit}), QList<int>({1, 2, 3}));

    // 13:00 the bills. A01: 144, the guest hands over 200.
    clock_.set(at(13, 0));
    sink_.shown.clear();
    toTable(QStringLiteral("A01"));
    press(&work(), "结帐 *");
    ASSERT_EQ(current(), &checkout());
    pay(0, QStringLiteral("200"));
    EXPECT_EQ(sink_.texts(),
              (QStringList{QStringLiteral("请找零：[ 56.00 ]元  ！"), checkout::kSettleQuestion}));
    // V01 on the stored-value card 880001: 573 off its balance.
    toTable(QStringLiteral("V01"));
    press(&work(), "结帐 *");
    clickTab(checkout().tabs(), CheckoutScreen::Member);
    QTest::keyClicks(find<QLineEdit>("edt_MemberCard"), QStringLiteral("880001"));
    QTest::keyClicks(find<QLineEdit>("edt_MemberPass"), QStringLiteral("123456"));
    QTest::mouseClick(find<QPushButton>("btn_MemberOk"), Qt::LeftButton);
    EXPECT_EQ(label("lbl_会员剩余金额-"), QStringLiteral("2000.00"));
    pay(2, QStringLiteral("573"));
    // A02 on the account of 华联贸易.
    toTable(QStringLiteral("A02"));
    press(&work(), "结帐 *");
    clickTab(checkout().tabs(), CheckoutScreen::Credit);
    clickRow(find<ui::TextGrid>("dbg_HangGues"), 0, true);
    EXPECT_EQ(label("lbl_挂帐挂帐上限-"), QStringLiteral("5000.00"));
    pay(3, QStringLiteral("174"));

    // 14:00 A01 and V01 leave; A02 stays settled on its table.
    clock_.set(at(14, 0));
    clear(QStringLiteral("A01"));
    clear(QStringLiteral("V01"));

    // 15:00 the morning shift hands over with a cash float of 500.
    clock_.set(at(15, 0));
    report(QStringLiteral("员工交班处理"));
    ASSERT_EQ(current(), window_->dayDesk()->handoverScreen());
    clickRow(find<ui::TextGrid>("dbg_PayFloat"), 0);
    retype(find<QLineEdit>("edt_OpeningFloat"), QStringLiteral("500"));
    QTest::mouseClick(find<QPushButton>("btn_SubmitFloat"), Qt::LeftButton);
    // On screen without the waiver: floats 500; receipts 1 cash + 1 card; received 144 + 573;
    // to hand over 500 + 717.
    EXPECT_EQ(label("lbl_TotalFloat"), QStringLiteral("初始金额-500.00"));
    EXPECT_EQ(label("lbl_TotalReceipts"), QStringLiteral("收入笔数-2"));
    EXPECT_EQ(label("lbl_TotalReceived"), QStringLiteral("收入金额-717.00"));
    EXPECT_EQ(label("lbl_TotalHandOver"), QStringLiteral("交班金额-1217.00"));
    const QString note = QStringLiteral("早班:备用金500已点清");
    QLineEdit* noteField = find<QLineEdit>("edt_HandoverNote");
    noteField->setFocus();
    noteField->insert(note); // typed through the input method
    sink_.answers = {true};
    press(window_.get(), "交班");
    ASSERT_TRUE(window_->board()->loginBoxShown());

    // 15:05 the evening shift logs in; after midnight the day is ended with A02 still on its
    // table, 30 of parking taken in.
    clock_.set(at(15, 5));
    logIn(QStringLiteral("晚班"));
    clock_.set(QDateTime(day.addDays(1), QTime(0, 30)));
    press(window_.get(), "日始/日结");
    ASSERT_EQ(current(), window_->dayDesk()->dayPanel());
    clickRow(find<ui::TextGrid>("dbg_OtherIncome"), 0);
    retype(find<QLineEdit>("edt_IncomeAmount"), QStringLiteral("30"));
    sink_.shown.clear();
    sink_.answers = {true};
    press(window_.get(), "日结");
    EXPECT_EQ(sink_.texts(), QStringList{day::dayEndQuestion(1)});
    EXPECT_EQ(label("lbl_DayState"), day::kDayClosedStatus);

    // The bills that left, in history. A01: 2 x 48 + 6 x 12 - 2 x 12 = 144, the coke free; at
    // cost 2 x 18 + 6 x 5 - 2 x 5 = 56. V01: 168 + 168 = 336 of dishes, room 200, service 10 %
    // of (168 + 200) = 36.8 -> 37 (wine bears none); 336 + 200 + 37 = 573; at cost 60 + 80.
    EXPECT_EQ(rows("SELECT tabl_code, tabl_gues_dish, tabl_gues_room, tabl_gues_serv, tabl_gues_shou, "
                   "tabl_gues_fact, cost_mone, memb_mone, memb_card_code, tabl_gues_pay_narr, tabl_gues_stat "
                   "FROM AllGues ORDER BY tabl_gues_auto_recn"),
              (QList<Row>{{"A01", 144.0, 0.0, 0.0, 144.0, 144.0, 56.0, 0.0, "", "现金144 ", "1"},
                          {"V01", 336.0, 200.0, 37.0, 573.0, 573.0, 140.0, 573.0, "880001",
                           "现金0 会员卡573 ", "1"}}));
    EXPECT_EQ(
        value("SELECT count(*) FROM AllGues WHERE tabl_gues_time_work = ?", {QDateTime(day, QTime(0, 0))})
            .toInt(),
        2);
    // Their lines: A01's four as ordered, returned and given; V01's set meal with its four
    // components at no money, and the wine.
    EXPECT_EQ(
        rows("SELECT item_code, menu_type_code, tabl_cons_coun, tabl_cons_tota, tabl_d_bill, "
             "tabl_t_bill, tabl_z_bill FROM AllCons WHERE tabl_gues_auto_recn = ? ORDER BY tabl_cons_ID",
             {hall}),
        (QList<Row>{{"102001", "1", 2.0, 96.0, 2.0, 0.0, 0.0},
                    {"201001", "1", 6.0, 72.0, 6.0, 0.0, 0.0},
                    {"202001", "3", 1.0, 0.0, 0.0, 0.0, 1.0},
                    {"201001", "2", 2.0, -24.0, 0.0, 2.0, 0.0}}));
    EXPECT_EQ(
        rows("SELECT item_code, tabl_cons_coun, tabl_cons_tota FROM AllCons WHERE tabl_gues_auto_recn = ? "
             "ORDER BY tabl_cons_ID",
             {room}),
        (QList<Row>{{"401001", 1.0, 168.0},
                    {"102001", 1.0, 0.0},
                    {"102004", 1.0, 0.0},
                    {"104003", 2.0, 0.0},
                    {"202001", 2.0, 0.0},
                    {"201003", 1.0, 168.0}}));
    // Their payments, handed over: cash kept 144 (200 handed, 56 change), the card 573.
    EXPECT_EQ(rows("SELECT tabl_gues_auto_recn, pay_type_code, pay_type_mone, pay_flag FROM AllGuesPay "
                   "WHERE pay_type_mone <> 0 ORDER BY tabl_gues_auto_recn"),
              (QList<Row>{{double(hall), "Z", 144.0, 1.0}, {double(room), "M", 573.0, 1.0}}));
    EXPECT_EQ(number("SELECT count(*) FROM AllGuesPay WHERE pay_flag = 1"), 8);

    // What stays for the next day: A02 settled on its table, 88 + 3 x 2 = 94 of dishes and 80
    // of cigarettes on the account (at cost 40 + 3 x 0.5 + 65), its three lines sent to the
    // kitchen, its payment rows.
    EXPECT_EQ(
        rows("SELECT tabl_code, tabl_gues_dish, tabl_gues_spec, tabl_gues_shou, tabl_gues_fact, cost_mone, "
             "hang_mone, hang_code, tabl_gues_pay_narr, tabl_gues_stat, tabl_gues_use FROM TableGuestlist "
             "WHERE tabl_gues_time_work = ?",
             {QDateTime(day, QTime(0, 0))}),
        (QList<Row>{{"A02", 94.0, 80.0, 174.0, 174.0, 106.5, 174.0, "001", "现金0 挂帐174 ", "3", 1.0}}));
    EXPECT_EQ(number("SELECT count(*) FROM TableGuestlist"), 1);
    EXPECT_EQ(
        rows("SELECT item_code, tabl_cons_coun, tabl_cons_tota, tabl_cons_tran FROM TableConsList "
             "ORDER BY tabl_cons_ID"),
        (QList<Row>{{"103001", 1.0, 88.0, 1.0}, {"104003", 3.0, 6.0, 1.0}, {"301001", 1.0, 80.0, 1.0}}));
    EXPECT_EQ(rows("SELECT tabl_gues_auto_recn, pay_type_code, pay_type_mone FROM tableguespay "
                   "WHERE pay_type_mone <> 0"),
              (QList<Row>{{double(credit), "H", 174.0}}));
    EXPECT_EQ(number("SELECT count(*) FROM tableguespay"), 4);
    EXPECT_EQ(rows("SELECT tabl_code, tabl_stat_code FROM TableList WHERE tabl_code IN ('A01', 'A02', 'V01') "
                   "ORDER BY tabl_code"),
              (QList<Row>{{"A01", "1"}, {"A02", "3"}, {"V01", "1"}}));

    // Stock. Beer 240 - 6 + 2; coke 120 - 1 given - 2 in the set meal; wine 24 - 1; bass 12 - 1;
    // cigarettes 50 - 1; the braised pork of the set meal takes 0.5 pork, 0.05 sugar, 0.1
    // ginger (unlimited, so below 0); the set meal can now be made min(117 / 2, 19.5 / 0.5,
    // 4.95 / 0.05) = 39 times, the pork 39 times, the karaoke package (12 beers) 236 / 12 = 19.
    EXPECT_EQ(stock("201001"), 236);
    EXPECT_EQ(stock("202001"), 117);
    EXPECT_EQ(stock("201003"), 23);
    EXPECT_EQ(stock("103001"), 11);
    EXPECT_EQ(stock("301001"), 49);
    EXPECT_DOUBLE_EQ(stock("M001"), 19.5);
    EXPECT_DOUBLE_EQ(stock("M002"), 4.95);
    EXPECT_DOUBLE_EQ(stock("M003"), -0.1);
    EXPECT_EQ(stock("401001"), 39);
    EXPECT_EQ(stock("102004"), 39);
    EXPECT_EQ(stock("401002"), 19);

    // The card: 2000 - 573 left, 573 spent. The account: 174 owed.
    EXPECT_EQ(rows("SELECT memb_surp, memb_use FROM MemberList WHERE memb_card_code = '880001'"),
              (QList<Row>{{1427.0, 573.0}}));
    EXPECT_EQ(number("SELECT hang_gues_use FROM HangGues WHERE hang_gues_code = '001'"), 174);

    // The handover archive: cash 500 float + 144 = 644; the card 573; nothing on the account
    // yet (A02 was not cleared) and no waiver.
    EXPECT_EQ(
        rows("SELECT pay_type_code, pay_star_mone, pay_type_coun, pay_type_mone, pay_fact_mone, pay_rema, "
             "oper_code, oper_name FROM Allpaytotal ORDER BY pay_type_code DESC"),
        (QList<Row>{{"Z", 500.0, 1.0, 144.0, 644.0, note, "01", "管理员"},
                    {"R", 0.0, 0.0, 0.0, 0.0, note, "01", "管理员"},
                    {"M", 0.0, 1.0, 573.0, 573.0, note, "01", "管理员"},
                    {"H", 0.0, 0.0, 0.0, 0.0, note, "01", "管理员"}}));
    EXPECT_EQ(value("SELECT count(*) FROM Allpaytotal WHERE pay_date_work = ? AND pay_date = ?",
                    {QDateTime(day, QTime(0, 0)), at(15, 0)})
                  .toInt(),
              4);
    EXPECT_EQ(number("SELECT count(*) FROM PayTypeList WHERE pay_star_mone <> 0"), 0);
    EXPECT_TRUE(test::logTexts(db()).join('\n').contains(QStringLiteral("[早班][系统交班,重新登录]")));

    // The other income, dated with the business day although the day ended after midnight.
    EXPECT_EQ(rows("SELECT othe_inco_code, othe_inco_mone FROM AllOtherInCome WHERE othe_inco_time = ? "
                   "ORDER BY othe_inco_code",
                   {QDateTime(day, QTime(0, 0))}),
              (QList<Row>{{"01", 30.0}, {"02", 0.0}, {"03", 0.0}}));
    EXPECT_EQ(number("SELECT count(*) FROM AllOtherInCome"), 3);
    // Their amounts stay until the next day start.
    EXPECT_EQ(number("SELECT sum(othe_inco_mone) FROM OtherIncomeList"), 30);

    // The day: ended, still dated the day it started; the last login wrote 15:05.
    EXPECT_EQ(rows("SELECT pay_star, orde_code FROM SetupPay"), (QList<Row>{{0.0, "2"}}));
    EXPECT_EQ(value("SELECT count(*) FROM SetupPay WHERE time_work = ? AND time_star = ? AND time_end = ?",
                    {QDateTime(day, QTime(0, 0)), at(15, 5), QDateTime(day.addDays(1), QTime(0, 30))})
                  .toInt(),
              1);
    test::saveScreenshot(window_.get(), QStringLiteral("whole_day_ended"));
}

SORREL_ON_EVERY_ENGINE(WholeDayTest);

} // namespace
