// The settings screen driven through the real front desk offscreen, on every engine: the
// permission it needs, the tax fields that follow the tax type, Esc and "取消回退" that drop
// both pages, "默认", and "保存回退" that saves both pages and shows the board while what
// another desk wrote meanwhile stays.
#include "common/db/transaction.h"
#include "common/money.h"
#include "common/system_password.h"
#include "common/typed_input.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/billing/line_sums.h"
#include "frontdesk/checkout/bill_print.h"
#include "frontdesk/checkout/checkout.h"
#include "frontdesk/settings/bill_layout_panel.h"
#include "frontdesk/settings/settings_screen.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/board_tables.h"
#include "frontdesk/tables/graphic_board_panel.h"
#include "frontdesk/tables/login_panel.h"
#include "frontdesk/tables/opening.h"
#include "tests/frontdesk/day/desk_window_test.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace sorrel;
using namespace sorrel::frontdesk;
using namespace sorrel::settings;

namespace {

class SettingsScreenTest : public test_day::DeskWindowTest {
  protected:
    SettingsScreenTest() : DeskWindowTest(QTime(11, 0)) {}

    void startDesk() {
        ASSERT_NO_FATAL_FAILURE(showWindow());
        find<QComboBox>("cmb_shift")->setCurrentIndex(0);
        find<QLineEdit>("edt_operator")->setText(QStringLiteral("01"));
        find<QLineEdit>("edt_password")->setText(QStringLiteral("1234"));
        window_->board()->loginBox()->confirm();
        ASSERT_FALSE(window_->board()->loginBoxShown());
        sink_.shown.clear();
    }
    SettingsScreen& screen() { return *window_->settingsScreen(); }
    void click(const QString& caption) {
        QToolButton* button = test::toolButtonCaptioned(window_.get(), caption);
        ASSERT_NE(button, nullptr) << caption.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void typeInto(const char* name, const QString& text) {
        auto* edit = find<QLineEdit>(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void pick(const char* name, const QString& text) {
        auto* box = find<QComboBox>(name);
        box->setFocus();
        box->setCurrentIndex(box->findText(text));
    }
    QVariant stored(const QString& sql) { return db().scalar(sql); }
    bool onBoard() { return current() == static_cast<QWidget*>(window_->board()->graphicView()); }
    void screenshot(const QString& name) {
        const QString dir = QDir::temp().filePath(QStringLiteral("sorrel-settings-screens"));
        QDir().mkpath(dir);
        QApplication::processEvents();
        window_->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
    }
};

TEST_P(SettingsScreenTest, WithoutPermissionPSTheScreenDoesNotOpen) {
    startDesk();
    db().exec(QStringLiteral("UPDATE Limitedlist SET limi_real = 0 WHERE limi_code = 'PS'"));
    click(QStringLiteral("设置"));
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_TRUE(sink_.shown[0].text.startsWith(QStringLiteral("PS"))) << sink_.shown[0].text.toStdString();
    EXPECT_TRUE(screen().isHidden());
    EXPECT_TRUE(onBoard());
}

TEST_P(SettingsScreenTest, TheTaxFieldsFollowTheTaxTypeAndCancelDropsBothPages) {
    db().exec(QStringLiteral("UPDATE SetupPay SET pay_set_tax_type = '按比例', pay_set_tax_perc = 6.5"));
    startDesk();
    click(QStringLiteral("设置"));
    ASSERT_EQ(current(), screen().cashierPage());
    EXPECT_EQ(QApplication::focusWidget(), find<QLineEdit>("edt_StockLimit"));
    auto* perGuest = find<QLineEdit>("edt_TaxPerGuest");
    auto* percent = find<QLineEdit>("edt_TaxPercent");
    EXPECT_FALSE(perGuest->isEnabled());
    EXPECT_TRUE(percent->isEnabled());
    EXPECT_EQ(percent->text(), QStringLiteral("6.5%"));
    EXPECT_FALSE(find<QCheckBox>("chk_AutoKitchen")->isEnabled());
    screenshot(QStringLiteral("cashier-page"));

    pick("cmb_TaxType", billing::kTaxPerGuest);
    EXPECT_TRUE(perGuest->isEnabled());
    EXPECT_FALSE(percent->isEnabled());
    EXPECT_EQ(percent->text(), QStringLiteral("0%"));
    EXPECT_EQ(QApplication::focusWidget(), perGuest);
    typeInto("edt_TaxPerGuest", QStringLiteral("3.5"));
    pick("cmb_SumRounding", kDropFraction);
    click(QStringLiteral("帐单内容"));
    ASSERT_EQ(current(), screen().layoutPage());
    EXPECT_EQ(QApplication::focusWidget(), screen().layoutPage()->freeLine1());
    screen().layoutPage()->freeLine1()->setText(QStringLiteral("不留"));
    click(QStringLiteral("取消回退"));
    EXPECT_TRUE(onBoard());
    EXPECT_EQ(stored("SELECT pay_set_tax_type FROM SetupPay").toString(), billing::kTaxByRate);
    EXPECT_DOUBLE_EQ(stored("SELECT pay_set_tax_perc FROM SetupPay").toDouble(), 6.5);
    EXPECT_EQ(stored("SELECT pay_set_sum_int FROM SetupPay").toString(), kRoundHalfEven);
    EXPECT_EQ(stored("SELECT set_prn_d1_text FROM setupprint").toString(),
              QStringLiteral("谢谢惠顾，欢迎再次光临！"));

    // Reopened, the screen shows what is stored, not what was dropped.
    click(QStringLiteral("设置"));
    EXPECT_EQ(percent->text(), QStringLiteral("6.5%"));
    EXPECT_EQ(find<QComboBox>("cmb_SumRounding")->currentText(), kRoundHalfEven);
    // Esc in the order-line rounding list stays on the page; in any other field it cancels.
    pick("cmb_SumRounding", kKeepCents);
    find<QComboBox>("cmb_LineRounding")->setFocus();
    QTest::keyClick(find<QComboBox>("cmb_LineRounding"), Qt::Key_Escape);
    EXPECT_EQ(current(), screen().cashierPage());
    find<QLineEdit>("edt_StockLimit")->setFocus();
    QTest::keyClick(find<QLineEdit>("edt_StockLimit"), Qt::Key_Escape);
    EXPECT_TRUE(onBoard());
    EXPECT_EQ(stored("SELECT pay_set_sum_int FROM SetupPay").toString(), kRoundHalfEven);
    // Esc on the layout page cancels as well.
    click(QStringLiteral("设置"));
    click(QStringLiteral("帐单内容"));
    screen().layoutPage()->rowSwitch(2)->setChecked(false);
    QTest::keyClick(screen().layoutPage()->freeLine1(), Qt::Key_Escape);
    EXPECT_TRUE(onBoard());
    EXPECT_NE(stored("SELECT set_prn_3_allo FROM setupprint").toInt(), 0);
    EXPECT_TRUE(sink_.shown.isEmpty()) << sink_.texts().join('\n').toStdString();
}

TEST_P(SettingsScreenTest, SaveAndReturnSavesBothPagesAndKeepsWhatAnotherDeskWrote) {
    startDesk();
    click(QStringLiteral("设置"));
    typeInto("edt_StockLimit", QStringLiteral("8"));
    pick("cmb_LineRounding", kRaiseFraction);
    pick("cmb_TaxType", billing::kTaxByRate);
    typeInto("edt_TaxPercent", QStringLiteral("12.5"));
    click(QStringLiteral("帐单内容"));
    auto* layout = screen().layoutPage();
    layout->caption(0)->setCurrentIndex(layout->caption(0)->findText(QStringLiteral("实收金额")));
    layout->rowSwitch(6)->setChecked(false);
    find<QCheckBox>("chk_set_prn_zero_allo")->setChecked(false);
    layout->freeLine1()->setText(QStringLiteral("周末八折"));
    screenshot(QStringLiteral("layout-page"));

    // "默认" answered No changes nothing; the header choice stays pending.
    sink_.answers = {false};
    QTest::mouseClick(layout->defaultButton(), Qt::LeftButton);
    EXPECT_EQ(sink_.texts(), QStringList{kDefaultLayoutQuestion});
    EXPECT_EQ(layout->caption(0)->currentText(), QStringLiteral("实收金额"));
    sink_.shown.clear();

    // Meanwhile another desk numbers a bill and the back office sets the system password.
    std::unique_ptr<Database> other = scratch_->connectAgain();
    const int counter = stored("SELECT auto_recn FROM SetupPay").toInt();
    other->exec(QStringLiteral("UPDATE SetupPay SET auto_recn = auto_recn + 1"));
    setSystemPassword(*other, QStringLiteral("2468"), QStringLiteral("2468"));

    click(QStringLiteral("保存回退"));
    EXPECT_TRUE(onBoard());
    EXPECT_TRUE(sink_.shown.isEmpty()) << sink_.texts().join('\n').toStdString();
    EXPECT_EQ(stored("SELECT auto_recn FROM SetupPay").toInt(), counter + 1);
    EXPECT_TRUE(systemPasswordMatches(db(), QStringLiteral("2468")));
    EXPECT_EQ(stored("SELECT pay_set_stor_limi FROM SetupPay").toInt(), 8);
    EXPECT_EQ(stored("SELECT pay_set_item_int FROM SetupPay").toString(), kRaiseFraction);
    EXPECT_DOUBLE_EQ(stored("SELECT pay_set_tax_perc FROM SetupPay").toDouble(), 12.5);
    EXPECT_EQ(stored("SELECT set_prn_11_titl FROM setupprint").toString(), QStringLiteral("实收金额"));
    EXPECT_EQ(stored("SELECT set_prn_11_fiel FROM setupprint").toString(), QStringLiteral("tabl_gues_fact"));
    EXPECT_EQ(stored("SELECT set_prn_7_allo FROM setupprint").toInt(), 0);
    EXPECT_EQ(stored("SELECT set_prn_zero_allo FROM setupprint").toInt(), 0);
    EXPECT_EQ(stored("SELECT set_prn_d1_text FROM setupprint").toString(), QStringLiteral("周末八折"));

    // "默认" answered Yes writes the default header at once; the switches stay as saved.
    click(QStringLiteral("设置"));
    click(QStringLiteral("帐单内容"));
    sink_.answers = {true};
    QTest::mouseClick(layout->defaultButton(), Qt::LeftButton);
    EXPECT_EQ(layout->caption(0)->currentText(), QStringLiteral("客人姓名"));
    EXPECT_EQ(stored("SELECT set_prn_11_fiel FROM setupprint").toString(), QStringLiteral("tabl_gues_name"));
    EXPECT_EQ(stored("SELECT set_prn_7_allo FROM setupprint").toInt(), 0);
    EXPECT_FALSE(layout->rowSwitch(6)->isChecked());
    click(QStringLiteral("取消回退"));
    EXPECT_EQ(stored("SELECT set_prn_11_fiel FROM setupprint").toString(), QStringLiteral("tabl_gues_name"));
}

// What the manager saved on the screen reaches the next bill settled at this desk with no new
// login: its sum rounded up, the tax by rate, the first header row off, the house's free line.
TEST_P(SettingsScreenTest, TheNextBillFollowsWhatTheScreenSaved) {
    startDesk();
    click(QStringLiteral("设置"));
    pick("cmb_SumRounding", kRaiseFraction);
    pick("cmb_TaxType", billing::kTaxByRate);
    typeInto("edt_TaxPercent", QStringLiteral("10"));
    click(QStringLiteral("帐单内容"));
    screen().layoutPage()->rowSwitch(0)->setChecked(false);
    screen().layoutPage()->freeLine1()->setText(QStringLiteral("周三会员日"));
    click(QStringLiteral("保存回退"));
    ASSERT_TRUE(onBoard());

    billing::GuestRecord typed =
        tables::newGuestRecord(db(), *tables::loadBoardTable(db(), QStringLiteral("A01")), "1", clock_);
    typed.tabl_gues_coun = 2;
    const int bill =
        tables::openTable(db(), typed, billing::BillSettings::load(db()), clock_, {}).tabl_gues_auto_recn;
    {
        Transaction tx(db());
        db().exec(
            QStringLiteral(
                "INSERT INTO TableConsList (tabl_gues_auto_recn, tabl_code, kind_code, clas_code, item_code, "
                "menu_type_code, item_type_flag, item_coun_flag, tabl_cons_coun, item_unit_pric, "
                "tabl_cons_tota, item_cost_pric) SELECT g.tabl_gues_auto_recn, g.tabl_code, c.kind_code, "
                "i.clas_code, i.item_code, '1', 1, 1, 1, 10.4, ?, i.item_cost_pric FROM TableGuestlist g, "
                "itemlist i JOIN classlist c ON c.clas_code = i.clas_code "
                "WHERE g.tabl_gues_auto_recn = ? AND i.item_code = '101001'"),
            {orderLineAmount(1, 10.4, 1, QString()), bill});
        billing::GuestRecord guest = *billing::GuestRecord::load(db(), bill);
        const billing::BillSettings settings = billing::BillSettings::load(db());
        billing::setLineSums(db(), guest, settings);
        billing::ReTotal(db(), guest, settings, clock_);
        guest.post(db());
        tx.commit();
    }
    checkout::CheckoutSession next(db(), clock_);
    next.enter(QStringLiteral("A01"));
    EXPECT_DOUBLE_EQ(next.guest().tabl_gues_shou, 11); // 10.40 rounded up
    ASSERT_TRUE(next.taxConfigured());
    next.addTax(2);
    EXPECT_DOUBLE_EQ(next.guest().tabl_gues_shou, 13); // 11 and its 10% tax, both rounded up
    const checkout::BillLayout printed = checkout::loadBillLayout(db());
    EXPECT_FALSE(printed.rows[0]);
    EXPECT_TRUE(printed.rows[1]);
    EXPECT_EQ(printed.free1Text, QStringLiteral("周三会员日"));
}

TEST_P(SettingsScreenTest, AMistypedNumberKeepsThePageAndSavesNothing) {
    startDesk();
    click(QStringLiteral("设置"));
    pick("cmb_SumRounding", kDropFraction);
    pick("cmb_TaxType", billing::kTaxPerGuest);
    // The field's pattern lets a lone point through; it is no amount.
    typeInto("edt_TaxPerGuest", QStringLiteral("."));
    click(QStringLiteral("保存回退"));
    EXPECT_EQ(sink_.texts().value(0), kInvalidNumberMessage);
    EXPECT_EQ(current(), screen().cashierPage());
    EXPECT_EQ(stored("SELECT pay_set_sum_int FROM SetupPay").toString(), kRoundHalfEven);
    EXPECT_EQ(stored("SELECT pay_set_tax_type FROM SetupPay").toString(), billing::kTaxByRate);
    sink_.shown.clear();

    typeInto("edt_TaxPerGuest", QStringLiteral("2.5"));
    find<QLineEdit>("edt_StockLimit")->setText(QString());
    click(QStringLiteral("保存回退"));
    EXPECT_TRUE(onBoard());
    EXPECT_TRUE(sink_.shown.isEmpty()) << sink_.texts().join('\n').toStdString();
    EXPECT_EQ(stored("SELECT pay_set_stor_limi FROM SetupPay").toInt(), 0);
    EXPECT_EQ(stored("SELECT pay_set_sum_int FROM SetupPay").toString(), kDropFraction);
    EXPECT_DOUBLE_EQ(stored("SELECT pay_set_tax_mone FROM SetupPay").toDouble(), 2.5);
}

TEST_P(SettingsScreenTest, TheCashierPageButtonAsksForPSAgainAndKeepsTheLayoutChanges) {
    startDesk();
    click(QStringLiteral("设置"));
    click(QStringLiteral("帐单内容"));
    screen().layoutPage()->rowSwitch(0)->setChecked(false);
    click(QStringLiteral("收银设置"));
    EXPECT_EQ(current(), screen().cashierPage());
    db().exec(QStringLiteral("UPDATE Limitedlist SET limi_real = 0 WHERE limi_code = 'PS'"));
    click(QStringLiteral("帐单内容"));
    click(QStringLiteral("收银设置"));
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_TRUE(sink_.shown[0].text.startsWith(QStringLiteral("PS")));
    EXPECT_EQ(current(), screen().layoutPage());
    click(QStringLiteral("保存回退"));
    EXPECT_EQ(stored("SELECT set_prn_1_allo FROM setupprint").toInt(), 0);
}

SORREL_ON_EVERY_ENGINE(SettingsScreenTest);

} // namespace
