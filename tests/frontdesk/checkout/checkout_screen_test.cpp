// Settling a table through the real screens offscreen: from the work screen's "结帐 *" to the
// checkout screen, cash typed into the payment field, the bill previewed, the keypad "*", and
// the table shown as settled on the board.
#include "common/tables/table_refusals.h"
#include "common/ui/panel_host.h"
#include "common/ui/print/print_document.h"
#include "frontdesk/checkout/checkout_screen.h"
#include "frontdesk/shell/main_window.h"
#include "frontdesk/shell/table_desk.h"
#include "frontdesk/table_life/table_moves.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/graphic_board_panel.h"
#include "frontdesk/tables/login_panel.h"
#include "frontdesk/tables/table_work.h"
#include "frontdesk/tables/work_screen.h"
#include "tests/frontdesk/checkout/checkout_fixture.h"
#include "tests/support/screen_application.h"
#include "tests/support/scripted_sink.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace sorrel;
using namespace sorrel::frontdesk;
using namespace sorrel::checkout;

namespace {

class CheckoutScreenTest : public test::CheckoutTest {
  protected:
    void SetUp() override {
        test::screenApplication();
        test::CheckoutTest::SetUp();
    }
    void TearDown() override {
        if (window_ && window_->isVisible()) window_->closeWithoutAsking();
        window_.reset();
        test::CheckoutTest::TearDown();
    }
    void startDesk() {
        window_ = std::make_unique<MainWindow>(db(), clock, dir_.path());
        ASSERT_TRUE(test::showAndWaitUntilActive(window_.get()));
        window_->findChild<QComboBox*>(QStringLiteral("cmb_shift"))->setCurrentIndex(0);
        window_->findChild<QLineEdit*>(QStringLiteral("edt_operator"))->setText(QStringLiteral("01"));
        window_->findChild<QLineEdit*>(QStringLiteral("edt_password"))->setText(QStringLiteral("1234"));
        window_->board()->loginBox()->confirm();
    }
    CheckoutScreen& screen() { return *window_->tableDesk()->checkoutScreen(); }
    QWidget* current() { return window_->navigator().currentPanel(); }
    QString stateOfA01() { return tables::loadBoardTable(db(), QStringLiteral("A01"))->state; }

    test::ScriptedSink sink_;
    QTemporaryDir dir_;
    std::unique_ptr<MainWindow> window_;
};

TEST_P(CheckoutScreenTest, ATableIsSettledThroughItsScreens) {
    const int bill = openTable(QStringLiteral("A01"));
    addLine(bill, QStringLiteral("102001"), 1, 595);
    startDesk();
    WorkScreen& work = *window_->tableDesk()->workScreen();
    work.present(
        tables::continueTable(db(), QStringLiteral("A01"), billing::BillSettings::load(db()), clock));
    test::toolButtonCaptioned(&work, QStringLiteral("结帐 *"))->click();
    ASSERT_EQ(current(), &screen());
    EXPECT_EQ(screen().tabs()->currentIndex(), CheckoutScreen::Payment);
    auto* amount = window_->findChild<QLineEdit*>(QStringLiteral("edt_PayAmount"));
    EXPECT_EQ(QApplication::focusWidget(), amount);

    QTest::keyClicks(amount, QStringLiteral("600"));
    const QStringList tabs{"pay", "member", "credit", "discount", "mode"};
    for (int t = 0; t < tabs.size(); ++t) {
        screen().tabs()->setCurrentIndex(t);
        test::saveScreenshot(window_.get(), QStringLiteral("checkout_") + tabs[t]);
    }
    std::optional<document::Document> previewed;
    screen().setPrinter(
        [&](const document::Document& doc, const ui::print::PrintTarget&) { previewed = doc; });
    QTest::keyClick(window_.get(), Qt::Key_F10);
    ASSERT_TRUE(previewed.has_value());
    if (const QString shots = qEnvironmentVariable("SORREL_SCREENSHOT_DIR"); !shots.isEmpty())
        for (const auto& [name, format] : {std::pair{"bill_a4.pdf", checkout::billSheet()},
                                           std::pair{"bill_80mm.pdf", document::PageFormat::receiptRoll80()}})
            ui::print::printDocument(*previewed,
                                     ui::print::PrintTarget::pdf(QDir(shots).filePath(name), format));
    // The preview wrote nothing and left the cash as typed.
    EXPECT_EQ(stateOfA01(), QStringLiteral("2"));
    EXPECT_EQ(amount->text(), QStringLiteral("600"));
    EXPECT_EQ(QApplication::focusWidget(), amount);

    sink_.shown.clear();
    sink_.answers = {true};
    QTest::keyClick(window_.get(), Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(sink_.texts(), QStringList({"请找零：[ 5.00 ]元  ！", checkout::kSettleQuestion}));
    EXPECT_EQ(stateOfA01(), QStringLiteral("3"));
    EXPECT_EQ(current(), static_cast<QWidget*>(window_->board()->graphicView()));
    EXPECT_EQ(QApplication::focusWidget(), window_->board()->searchBox());

    // Back at the settled table, checkout is refused.
    work.present(tables::settledTable(db(), QStringLiteral("A01")));
    sink_.shown.clear();
    test::toolButtonCaptioned(&work, QStringLiteral("结帐 *"))->click();
    EXPECT_EQ(sink_.texts(), QStringList{checkout::kNotInUseMessage});
    EXPECT_EQ(current(), &work);
}

// Another desk moved the party on while this desk held the table: entering checkout, or settling
// once in it, says so and goes to the board; the bill is left as the other desk made it.
TEST_P(CheckoutScreenTest, ATableAnotherDeskMovedGoesBackToTheBoard) {
    for (const bool alreadyInCheckout : {false, true}) {
        SCOPED_TRACE(alreadyInCheckout ? "settling" : "entering");
        const int bill = openTable(QStringLiteral("A01"));
        addLine(bill, QStringLiteral("102001"), 1, 595);
        if (!window_) startDesk();
        WorkScreen& work = *window_->tableDesk()->workScreen();
        work.present(
            tables::continueTable(db(), QStringLiteral("A01"), billing::BillSettings::load(db()), clock));
        if (alreadyInCheckout) {
            test::toolButtonCaptioned(&work, QStringLiteral("结帐 *"))->click();
            ASSERT_EQ(current(), &screen());
            QTest::keyClicks(window_->findChild<QLineEdit*>(QStringLiteral("edt_PayAmount")), QStringLiteral("595"));
        }
        const QString moved = alreadyInCheckout ? QStringLiteral("A06") : QStringLiteral("A05");
        table_life::transferTable(db(), QStringLiteral("A01"), bill, moved);
        sink_.shown.clear();
        sink_.answers = {true};
        if (alreadyInCheckout)
            QTest::keyClick(window_.get(), Qt::Key_Asterisk, Qt::KeypadModifier);
        else
            test::toolButtonCaptioned(&work, QStringLiteral("结帐 *"))->click();
        EXPECT_EQ(sink_.texts().value(sink_.texts().size() - 1),
                  tables::tableChangedElsewhereMessage(QStringLiteral("A01")));
        EXPECT_EQ(current(), static_cast<QWidget*>(window_->board()->graphicView()));
        EXPECT_EQ(stateOfA01(), QStringLiteral("1"));
        EXPECT_EQ(tables::loadBoardTable(db(), moved)->state, QStringLiteral("2"));
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM tableguespay WHERE tabl_gues_auto_recn = ?"),
                              {bill})
                      .toInt(),
                  0);
    }
}

// The member tab takes the card number at once, however the operator came back to it.
TEST_P(CheckoutScreenTest, TheMemberTabFocusesTheCardField) {
    const int bill = openTable(QStringLiteral("A01"));
    addLine(bill, QStringLiteral("102001"), 1, 595);
    startDesk();
    WorkScreen& work = *window_->tableDesk()->workScreen();
    work.present(
        tables::continueTable(db(), QStringLiteral("A01"), billing::BillSettings::load(db()), clock));
    test::toolButtonCaptioned(&work, QStringLiteral("结帐 *"))->click();
    ASSERT_EQ(current(), &screen());
    QTabBar* bar = screen().tabs()->tabBar();
    const auto chooseTab = [&](int tab) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    };
    auto* card = window_->findChild<QLineEdit*>(QStringLiteral("edt_MemberCard"));
    chooseTab(CheckoutScreen::Member);
    EXPECT_EQ(QApplication::focusWidget(), card);
    QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("btn_MemberClear")), Qt::LeftButton);
    for (int away : {int(CheckoutScreen::Payment), int(CheckoutScreen::Discount)}) {
        chooseTab(away);
        chooseTab(CheckoutScreen::Member);
        EXPECT_EQ(QApplication::focusWidget(), card) << away;
    }
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("880002"));
    EXPECT_EQ(card->text(), QStringLiteral("880002"));
}

SORREL_ON_EVERY_ENGINE(CheckoutScreenTest);

} // namespace
