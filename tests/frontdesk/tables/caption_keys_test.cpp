// Every key a toolbar caption names ("结帐 *", "点单 F5") does what a click on that button does,
// on every screen of the front desk: the keypad's signs with the keypad modifier, F-keys as they
// are. A caption that promises a key on a screen this test cannot reach fails it.
#include "common/ui/keyboard_map.h"
#include "common/ui/print/print_document.h"
#include "frontdesk/checkout/checkout_screen.h"
#include "frontdesk/tables/table_work.h"
#include "tests/frontdesk/tables/desk_fixture.h"

#include <QSignalSpy>

using namespace sorrel;

namespace {

class CaptionKeysTest : public test::DeskTest {};

TEST(CaptionKey, TheLastWordOfACaptionNamesItsKey) {
    const std::pair<const char*, int> cases[] = {
        {"结帐 *", Qt::Key_Asterisk},
        {"清台 -", Qt::Key_Minus},
        {"点单 +", Qt::Key_Plus},
        {"打印 /", Qt::Key_Slash},
        {"点单 F5", Qt::Key_F5},
        {"预览 F10", Qt::Key_F10},
        {"帮助/信息", 0},
        {"转台", 0},
        {"F5", 0},
        {"点单 F13", 0},
        {"点单 Fx", 0},
        {"", 0},
    };
    for (const auto& [caption, key] : cases)
        EXPECT_EQ(ui::KeyboardMap::captionKey(QString::fromUtf8(caption)), key) << caption;
}

TEST_F(CaptionKeysTest, EveryKeyACaptionNamesRunsItsButton) {
    startDesk();
    openOn(db(), QStringLiteral("A01"), 2, QStringLiteral("钱先生"));
    board().requery();
    window_->tableDesk()->checkoutScreen()->setPrinter(
        [](const document::Document&, const ui::print::PrintTarget&) {});
    const auto work = [this] {
        workScreen().present(
            tables::continueTable(db(), QStringLiteral("A01"), billing::BillSettings::load(db()), clock_));
    };
    // How each strip's screen is reached, as an operator gets there.
    const QHash<QString, std::function<void()>> reach{
        {QStringLiteral("pnl_RegisterTools"),
         [this] {
             board().present();
             doubleClick(QStringLiteral("A05"));
         }},
        {QStringLiteral("pnl_WorkTools"), work},
        {QStringLiteral("pnl_ConsItemTools"),
         [&] {
             work();
             tool(QStringLiteral("点单 +"))->click();
         }},
        {QStringLiteral("pnl_BillTools"),
         [&] {
             work();
             tool(QStringLiteral("结帐 *"))->click();
         }},
    };
    int pressed = 0;
    for (QToolButton* button : window_->findChildren<QToolButton*>()) {
        const QString caption = button->text();
        const int key = ui::KeyboardMap::captionKey(caption);
        if (!key) continue;
        const QString strip = button->parentWidget()->objectName();
        ASSERT_TRUE(reach.contains(strip)) << caption.toStdString() << " on " << strip.toStdString();
        reach[strip]();
        ASSERT_TRUE(button->isVisible()) << caption.toStdString();
        ASSERT_TRUE(button->isEnabled()) << caption.toStdString();
        sink_.shown.clear();
        QSignalSpy clicked(button, &QToolButton::clicked);
        const bool sign =
            key == Qt::Key_Plus || key == Qt::Key_Minus || key == Qt::Key_Asterisk || key == Qt::Key_Slash;
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window_.get();
        QTest::keyClick(target, Qt::Key(key), sign ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_EQ(clicked.count(), 1) << caption.toStdString() << " on " << strip.toStdString();
        ++pressed;
    }
    EXPECT_GE(pressed, 13);
}

TEST_F(CaptionKeysTest, TheSignsOnTheMainKeyboardStayText) {
    startDesk();
    openOn(db(), QStringLiteral("A01"), 2, QStringLiteral("钱先生"));
    workScreen().present(
        tables::continueTable(db(), QStringLiteral("A01"), billing::BillSettings::load(db()), clock_));
    QSignalSpy checkout(tool(QStringLiteral("结帐 *")), &QToolButton::clicked);
    QTest::keyClick(window_.get(), Qt::Key_Asterisk);
    EXPECT_EQ(checkout.count(), 0);
    EXPECT_EQ(current(), &workScreen());
}

} // namespace
