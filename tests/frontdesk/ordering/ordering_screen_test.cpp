// Ordering through the real screens offscreen: a whole order taken by keyboard alone and
// committed, the item grids' clicks, the refusals of the line editor, back with its question,
// the price and new-item panels, and the kitchen ticket with the sent marks of the work screen.
#include "common/money.h"
#include "common/tables/table_refusals.h"
#include "common/typed_input.h"
#include "common/ui/print/print_document.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/checkout/bill_print.h"
#include "frontdesk/checkout/checkout_screen.h"
#include "frontdesk/ordering/item_grid_panel.h"
#include "frontdesk/ordering/kitchen_ticket.h"
#include "frontdesk/ordering/menu_change_panel.h"
#include "frontdesk/ordering/menu_changes.h"
#include "frontdesk/ordering/ordering_screen.h"
#include "frontdesk/settings/settings_draft.h"
#include "frontdesk/shell/main_window.h"
#include "frontdesk/shell/ordering_desk.h"
#include "frontdesk/shell/table_desk.h"
#include "frontdesk/table_life/table_moves.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/graphic_board_panel.h"
#include "frontdesk/tables/login_panel.h"
#include "frontdesk/tables/opening.h"
#include "frontdesk/tables/work_screen.h"
#include "tests/support/private_cups.h"
#include "tests/support/screen_application.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace sorrel;
using namespace sorrel::frontdesk;
using namespace sorrel::ordering;
using sorrel::ordering::OrderingScreen;

namespace {

class OrderingScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::screenApplication();
        scratch_ = std::make_unique<test::ScratchDatabase>(Engine::Embedded,
                                                           test::ScratchDatabase::Contents::DemoVenue);
    }
    void TearDown() override {
        test::closeShown(window_);
        scratch_.reset();
    }

    // The front desk logged in, with table A01 open and its work screen shown.
    void startAtTable() {
        window_ = std::make_unique<MainWindow>(db(), clock_, dir_.path());
        ASSERT_TRUE(test::showActive(*window_));
        window_->findChild<QComboBox*>(QStringLiteral("cmb_shift"))->setCurrentIndex(0);
        window_->findChild<QLineEdit*>(QStringLiteral("edt_operator"))->setText(QStringLiteral("01"));
        window_->findChild<QLineEdit*>(QStringLiteral("edt_password"))->setText(QStringLiteral("1234"));
        window_->board()->loginBox()->confirm();
        billing::GuestRecord guest =
            tables::newGuestRecord(db(), *tables::loadBoardTable(db(), QStringLiteral("A01")), "1", clock_);
        guest.tabl_gues_coun = 2;
        bill_ =
            tables::openTable(db(), guest, billing::BillSettings::load(db()), clock_, {}).tabl_gues_auto_recn;
        window_->board()->requery();
        const QRect cell = window_->board()->graphicView()->cellRect(QStringLiteral("A01"));
        QTest::mouseDClick(window_->board()->graphicView()->cells(), Qt::LeftButton, {}, cell.center());
        ASSERT_EQ(current(), work());
        sink_.shown.clear();
    }
    void startOrdering() {
        QTest::keyClick(work()->orderLines(), Qt::Key_Plus, Qt::KeypadModifier);
        ASSERT_EQ(current(), ordering());
    }

    Database& db() { return scratch_->db(); }
    QWidget* current() { return window_->navigator().currentPanel(); }
    WorkScreen* work() { return window_->tableDesk()->workScreen(); }
    OrderingScreen* ordering() { return window_->tableDesk()->orderingDesk()->screen(); }
    QWidget* focused() { return QApplication::focusWidget(); }
    QToolButton* tool(QWidget* in, const char* caption) {
        return test::toolButtonCaptioned(in, QString::fromUtf8(caption));
    }
    QString shown(const char* label) { return window_->findChild<QLabel*>(QString::fromUtf8(label))->text(); }
    void type(QWidget* into, const QString& text) {
        QTest::keyClicks(into, text);
        QTest::keyClick(into, Qt::Key_Return);
    }
    QStringList staged(int column) {
        QStringList texts;
        for (const QStringList& row : ordering()->stagedLines()->rows())
            texts << row.value(column);
        return texts;
    }
    QPoint rowCentre(ordering::ItemGrid* grid, const QString& code) {
        if (const int r = grid->rowOf(code); r >= 0) return grid->visualItemRect(grid->item(r, 1)).center();
        ADD_FAILURE() << code.toStdString() << " is not in the grid";
        return {};
    }

    // A dish for the kitchen and a beer for the bar, committed: back at the work screen.
    void orderAndCommit() {
        startOrdering();
        type(ordering()->searchField(), QStringLiteral("gbjd"));
        type(ordering()->quantityField(), QString());
        type(ordering()->searchField(), QStringLiteral("qdpj"));
        sink_.answers = {true};
        QTest::mouseClick(tool(ordering(), "落单 *"), Qt::LeftButton);
        ASSERT_EQ(current(), work());
        sink_.shown.clear();
    }
    void kitchenPrinter(const QString& printer) {
        ordering::OutputPrinters printers;
        printers.setPrinter(ordering::kKitchenPoint, printer);
        ASSERT_TRUE(printers.save(window_->tableDesk()->orderingDesk()->printersFile()));
    }
    static QString pdfText(const QString& pdf) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        text.waitForFinished(10000);
        return QString::fromUtf8(text.readAllStandardOutput());
    }
    // The first page's width in millimetres, as pdfinfo reads it.
    static double pageWidthMm(const QString& pdf) {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        info.waitForFinished(10000);
        const QRegularExpression size(QStringLiteral("Page size:\\s+([0-9.]+) x"));
        const QRegularExpressionMatch m = size.match(QString::fromUtf8(info.readAllStandardOutput()));
        return m.hasMatch() ? m.captured(1).toDouble() * 25.4 / 72 : 0;
    }
    QString sentMark(int row) { return work()->orderLines()->rows().value(row).value(0); }

    test::ScriptedSink sink_;
    FixedClock clock_{QDateTime(test::ScratchDatabase::createdAt().date().addDays(1), QTime(18, 0))};
    QTemporaryDir dir_;
    std::unique_ptr<test::ScratchDatabase> scratch_;
    std::unique_ptr<MainWindow> window_;
    int bill_ = 0;
};

TEST_F(OrderingScreenTest, AWholeOrderIsTakenByKeyboardAloneAndCommitted) {
    startAtTable();
    startOrdering();
    OrderingScreen* o = ordering();
    EXPECT_EQ(focused(), o->searchField());
    EXPECT_FALSE(o->quantityField()->isEnabled());
    EXPECT_FALSE(window_->enterMovesFocus().isEnabled());
    // A short code that names one item chooses it; the quantity is typed over the 1.
    type(o->searchField(), QStringLiteral("gbjd"));
    ASSERT_EQ(focused(), o->quantityField());
    QTest::keyClick(o->quantityField(), Qt::Key_A, Qt::ControlModifier);
    type(o->quantityField(), QStringLiteral("2"));
    EXPECT_EQ(focused(), o->searchField());
    // A code that names several items leads into the grid, where Enter chooses.
    type(o->searchField(), QStringLiteral("20100"));
    ASSERT_EQ(focused(), o->codeItems());
    QTest::keyClick(o->codeItems(), Qt::Key_Down);
    QTest::keyClick(o->codeItems(), Qt::Key_Return);
    ASSERT_EQ(focused(), o->quantityField());
    QTest::keyClick(o->quantityField(), Qt::Key_F7); // a gift
    EXPECT_EQ(staged(0), (QStringList{QStringLiteral("宫保鸡丁"), QStringLiteral("五粮液")}));
    EXPECT_EQ(staged(4), (QStringList{QStringLiteral("点单"), QStringLiteral("赠单")}));
    EXPECT_EQ(staged(5), (QStringList{QStringLiteral("96.00"), QStringLiteral("1288.00")}));
    test::saveScreenshot(window_.get(), QStringLiteral("ordering_by_code"));

    sink_.answers = {true};
    QTest::keyClick(o->quantityField(), Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(sink_.texts(), QStringList{ordering::kCommitQuestion});
    ASSERT_EQ(current(), work());
    EXPECT_TRUE(window_->enterMovesFocus().isEnabled());
    EXPECT_EQ(shown("lbl_酒菜消费-"), QStringLiteral("96.00"));
    EXPECT_EQ(work()->orderLines()->rowCount(), 2);
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT item_coun FROM itemlist WHERE item_code = '201002'")).toInt(), 5);
}

// Another desk merged A01 into A04 while this desk took A01's order: 落单 says so and goes to the
// board, where A01 is seen as it is now; the merged bill gets nothing of the order.
TEST_F(OrderingScreenTest, ACommitOnABillAnotherDeskMergedAwayGoesBackToTheBoard) {
    startAtTable();
    startOrdering();
    type(ordering()->searchField(), QStringLiteral("gbjd"));
    type(ordering()->quantityField(), QString());
    billing::GuestRecord other =
        tables::newGuestRecord(db(), *tables::loadBoardTable(db(), QStringLiteral("A04")), "1", clock_);
    other.tabl_gues_coun = 2;
    const billing::BillSettings settings = billing::BillSettings::load(db());
    const int merged = tables::openTable(db(), other, settings, clock_, {}).tabl_gues_auto_recn;
    table_life::mergeTable(db(), QStringLiteral("A01"), bill_, QStringLiteral("A04"), settings, clock_);
    sink_.answers = {true};
    QTest::mouseClick(tool(ordering(), "落单 *"), Qt::LeftButton);
    EXPECT_EQ(sink_.texts(),
              (QStringList{ordering::kCommitQuestion, tables::tableChangedElsewhereMessage(QStringLiteral("A01"))}));
    EXPECT_EQ(current(), static_cast<QWidget*>(window_->board()->graphicView()));
    EXPECT_TRUE(window_->enterMovesFocus().isEnabled());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM TableConsList WHERE tabl_gues_auto_recn = ?"), {merged})
                  .toInt(),
              0);
}

TEST_F(OrderingScreenTest, AnOrderBegunAfterAnotherDeskSavedTheRoundingsShowsTheNewOnes) {
    db().exec(QStringLiteral("UPDATE itemlist SET item_unit_pric = 10.4 WHERE item_name = '宫保鸡丁'"));
    startAtTable();
    startOrdering();
    type(ordering()->searchField(), QStringLiteral("gbjd"));
    EXPECT_EQ(staged(5), QStringList{QStringLiteral("10.00")});
    sink_.answers = {true};
    QTest::mouseClick(tool(ordering(), "落单 *"), Qt::LeftButton);
    ASSERT_EQ(current(), work());

    // The manager keeps the cents at another desk; this desk's next order shows them, no new
    // login needed.
    std::unique_ptr<Database> other = scratch_->connectAgain();
    settings::SettingsDraft draft = settings::SettingsDraft::load(*other);
    draft.setCashier(settings::kSumRounding, kKeepCents);
    draft.save(*other);
    startOrdering();
    type(ordering()->searchField(), QStringLiteral("gbjd"));
    EXPECT_EQ(staged(5), QStringList{QStringLiteral("10.40")});
}

TEST_F(OrderingScreenTest, TheGridsChooseAndTakeOffAndTheListChoiceShowsAClassesItems) {
    startAtTable();
    startOrdering();
    OrderingScreen* o = ordering();
    const QPoint duck = rowCentre(o->codeItems(), QStringLiteral("102001"));
    for (int i = 0; i < 3; ++i)
        QTest::mouseDClick(o->codeItems()->viewport(), Qt::LeftButton, {}, duck);
    EXPECT_EQ(staged(3), QStringList{QStringLiteral("3")});
    QTest::mouseDClick(o->codeItems()->viewport(), Qt::RightButton, {}, duck);
    EXPECT_EQ(staged(3), QStringList{QStringLiteral("2")});
    // A disabled item shows red and is refused.
    const QPoint lobster = rowCentre(o->codeItems(), QStringLiteral("103003"));
    QTest::mouseDClick(o->codeItems()->viewport(), Qt::LeftButton, {}, lobster);
    EXPECT_EQ(sink_.texts(), QStringList{ordering::kDisabledItemMessage});
    EXPECT_EQ(staged(0).size(), 1);

    QTest::mouseClick(tool(o, "列表选单"), Qt::LeftButton);
    ASSERT_TRUE(o->listPanel()->isVisible());
    EXPECT_FALSE(o->codePanel()->isVisible());
    ui::TextGrid* classes = o->listMenu()->classes();
    classes->setCurrentCell(1, 0); // 热菜
    EXPECT_EQ(o->listItems()->items().size(), 5);
    EXPECT_EQ(o->listItems()->items().first().code, QStringLiteral("102001"));
    QTest::mouseDClick(o->listItems()->viewport(), Qt::LeftButton, {},
                       rowCentre(o->listItems(), QStringLiteral("102002")));
    EXPECT_EQ(staged(0), (QStringList{QStringLiteral("宫保鸡丁"), QStringLiteral("鱼香肉丝")}));
    test::saveScreenshot(window_.get(), QStringLiteral("ordering_by_list"));
    QTest::keyClick(o->listItems(), Qt::Key_F11);
    EXPECT_TRUE(o->codePanel()->isVisible());
    EXPECT_EQ(focused(), o->searchField());
    // Typing narrows the grid to the items found; the row clicked is the item chosen, and an
    // emptied search shows every item again.
    const qsizetype everyItem = o->codeItems()->items().size();
    QTest::keyClicks(o->searchField(), QStringLiteral("1030"));
    const QList<ordering::OrderItem> found = o->codeItems()->items();
    ASSERT_GE(found.size(), 2);
    ASSERT_LT(found.size(), everyItem);
    EXPECT_EQ(o->codeItems()->current()->code, found.first().code);
    QTest::mouseDClick(o->codeItems()->viewport(), Qt::LeftButton, {}, rowCentre(o->codeItems(), found[1].code));
    EXPECT_EQ(staged(0).last(), found[1].name);
    o->searchField()->clear();
    EXPECT_EQ(o->codeItems()->items().size(), everyItem);
}

TEST_F(OrderingScreenTest, TheLineEditorRefusesWhatTheStockCannotServeAndBackAsksFirst) {
    db().exec(QStringLiteral("UPDATE itemlist SET item_coun = 2 WHERE item_code = '103001'"));
    startAtTable();
    startOrdering();
    OrderingScreen* o = ordering();
    type(o->searchField(), QStringLiteral("103001"));
    QTest::keyClick(o->quantityField(), Qt::Key_A, Qt::ControlModifier);
    type(o->quantityField(), QStringLiteral("3"));
    EXPECT_EQ(sink_.texts().last(), QStringLiteral("[清蒸鲈鱼/2]点单数已经超过库存数，请重新输入数量！"));
    EXPECT_TRUE(o->quantityField()->text().isEmpty());
    EXPECT_EQ(focused(), o->quantityField());
    EXPECT_EQ(staged(3), QStringList{QStringLiteral("1")});
    // A return of what the bill does not hold is refused and the kind stays.
    QTest::keyClick(o->quantityField(), Qt::Key_1);
    QTest::keyClick(o->quantityField(), Qt::Key_F6);
    EXPECT_EQ(sink_.texts().last(), ordering::kOverReturnMessage);
    EXPECT_EQ(staged(4), QStringList{QStringLiteral("点单")});

    sink_.answers = {false};
    QTest::keyClick(o->quantityField(), Qt::Key_Escape);
    EXPECT_EQ(sink_.texts().last(), ordering::kBackQuestion);
    EXPECT_EQ(current(), o);
    sink_.answers = {true};
    QTest::keyClick(o->searchField(), Qt::Key_Escape);
    EXPECT_EQ(current(), work());
    EXPECT_EQ(work()->orderLines()->rowCount(), 0);
}

// A quantity is checked as it is typed against what an order line holds, not first at 落单;
// what is taken shows as typed, never in exponent form.
TEST_F(OrderingScreenTest, AQuantityBeyondWhatALineHoldsIsRefusedAsItIsTyped) {
    startAtTable();
    startOrdering();
    OrderingScreen* o = ordering();
    type(o->searchField(), QStringLiteral("gbjd")); // an item without a stock limit
    const struct {
        const char* typed;
        bool taken;
        const char* shown;
    } cases[] = {
        {"999999999999999", false, "1"},
        {"100000000", false, "1"},
        {"99999999.99", true, "99999999.99"},
        {"2.5", true, "2.5"},
        {"0.5", true, "0.5"},
        {"12345678", true, "12345678"},
    };
    for (const auto& c : cases) {
        sink_.shown.clear();
        o->quantityField()->setFocus();
        QTest::keyClick(o->quantityField(), Qt::Key_A, Qt::ControlModifier);
        type(o->quantityField(), QString::fromLatin1(c.typed));
        EXPECT_EQ(sink_.texts(), c.taken ? QStringList() : QStringList{kInvalidNumberMessage}) << c.typed;
        EXPECT_EQ(staged(3), QStringList{QString::fromLatin1(c.shown)}) << c.typed;
        EXPECT_FALSE(staged(5).value(0).contains(QLatin1Char('e'))) << c.typed;
        if (!c.taken) {
            EXPECT_TRUE(o->quantityField()->text().isEmpty()) << c.typed;
            EXPECT_EQ(focused(), o->quantityField()) << c.typed;
        }
    }
}

TEST_F(OrderingScreenTest, ThePriceAndNewItemPanelsChangeTheMenu) {
    startAtTable();
    startOrdering();
    OrderingScreen* o = ordering();
    type(o->searchField(), QStringLiteral("102001"));
    QTest::keyClicks(o->searchField(), QStringLiteral("10200")); // the grid's current item is 102001
    QTest::mouseClick(tool(o, "价格调整"), Qt::LeftButton);
    ASSERT_TRUE(o->pricePanel()->isVisible());
    EXPECT_EQ(o->pricePanel()->pos(), QPoint(260, 100));
    EXPECT_FALSE(o->toolbar()->isEnabled());
    type(o->pricePanel()->newPrice(), QStringLiteral("50.5"));
    EXPECT_FALSE(o->pricePanel()->isVisible());
    EXPECT_TRUE(o->toolbar()->isEnabled());
    EXPECT_EQ(staged(1), QStringList{QStringLiteral("50.50")});

    QTest::mouseClick(tool(o, "加菜"), Qt::LeftButton);
    ordering::NewItemPanel* panel = o->newItemPanel();
    ASSERT_TRUE(panel->isVisible());
    auto* itemType = panel->findChild<QLabel*>(QStringLiteral("lbl_NewType"));
    ASSERT_NE(itemType, nullptr);
    EXPECT_TRUE(itemType->isVisible());
    EXPECT_EQ(itemType->text(), QStringLiteral("单品"));
    panel->menu()->kinds()->setCurrentCell(0, 0);
    panel->menu()->classes()->setCurrentCell(1, 0); // 热菜
    EXPECT_EQ(panel->items()->items().size(), 5);
    const char* const typed[] = {"102009", "干锅花菜", "份", "32", "gghc"};
    QTest::mouseClick(panel->saveButton(), Qt::LeftButton);
    EXPECT_EQ(sink_.texts().last(), ordering::kNewItemFieldsEmptyMessage);
    for (int i = 0; i < 5; ++i)
        panel->field(i)->setText(QString::fromUtf8(typed[i]));
    sink_.answers = {true};
    QTest::mouseClick(panel->saveButton(), Qt::LeftButton);
    EXPECT_EQ(sink_.texts().last(), ordering::kNewItemQuestion);
    EXPECT_EQ(panel->items()->items().size(), 6);
    EXPECT_TRUE(panel->field(0)->text().isEmpty());
    test::saveScreenshot(window_.get(), QStringLiteral("ordering_new_item"));
    for (QPushButton* button : panel->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("返回")) QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    type(o->searchField(), QStringLiteral("gghc"));
    EXPECT_EQ(staged(0).last(), QStringLiteral("干锅花菜"));
}

TEST_F(OrderingScreenTest, TheKitchenTicketMarksTheLinesSentAndADoubleClickTurnsAMarkOver) {
    startAtTable();
    startOrdering();
    OrderingScreen* o = ordering();
    type(o->searchField(), QStringLiteral("gbjd"));
    type(o->quantityField(), QString());
    type(o->searchField(), QStringLiteral("qdpj"));
    sink_.answers = {true};
    QTest::mouseClick(tool(o, "落单 *"), Qt::LeftButton);
    ASSERT_EQ(current(), work());

    // The kitchen's printer is gone: nothing is marked, the operator is told.
    ordering::OutputPrinters printers;
    printers.setPrinter(ordering::kKitchenPoint, QStringLiteral("没有这台打印机"));
    ASSERT_TRUE(printers.save(window_->tableDesk()->orderingDesk()->printersFile()));
    QTest::mouseClick(tool(work(), "后厨"), Qt::LeftButton);
    EXPECT_EQ(sink_.texts().last(), QStringLiteral("找不到打印机：没有这台打印机"));
    EXPECT_EQ(work()->orderLines()->rows()[0][0], QString());           // the kitchen's dish
    EXPECT_EQ(work()->orderLines()->rows()[1][0], QStringLiteral("√")); // the bar's beer

    // The ticket as the roll prints it.
    const QList<ordering::KitchenTicket> tickets =
        ordering::kitchenTickets(db(), bill_, {QStringLiteral("A01"), QStringLiteral("大厅1号")}, {}, clock_);
    const QString pdf = dir_.filePath(QStringLiteral("kitchen.pdf"));
    ASSERT_TRUE(ui::print::printDocument(tickets[0].document, ui::print::PrintTarget::pdf(
                                                                  pdf, document::PageFormat::receiptRoll80()))
                    .ok());
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(10000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("小票-后厨")));
    EXPECT_TRUE(printed.contains(QStringLiteral("宫保鸡丁")));
    EXPECT_FALSE(printed.contains(QStringLiteral("青岛啤酒")));
    if (!qEnvironmentVariableIsEmpty("SORREL_SCREENSHOT_DIR"))
        QFile::copy(pdf,
                    qEnvironmentVariable("SORREL_SCREENSHOT_DIR") + QStringLiteral("/kitchen_ticket.pdf"));

    ordering::sendKitchenTickets(db(), bill_, tickets,
                                 [](const ordering::KitchenTicket&) { return QString(); });
    work()->reloadLines();
    EXPECT_EQ(work()->orderLines()->rows()[1][0], QStringLiteral("√"));
    const QRect sent = work()->orderLines()->visualItemRect(work()->orderLines()->item(1, 0));
    QTest::mouseClick(work()->orderLines()->viewport(), Qt::LeftButton, {}, sent.center());
    QTest::mouseDClick(work()->orderLines()->viewport(), Qt::LeftButton, {}, sent.center());
    EXPECT_EQ(work()->orderLines()->rows()[1][0], QString());
    EXPECT_EQ(work()->orderLines()->rows()[0][0], QStringLiteral("√"));
}

// Printed through a real print queue of the test's own: the kitchen ticket on the 80 mm roll and
// the bill, read back from the PDF files the queue wrote. Only then are the lines marked sent.
TEST_F(OrderingScreenTest, TheKitchenTicketAndTheBillPrintThroughARealQueue) {
    test::PrivateCups cups;
    if (!cups.running()) GTEST_SKIP() << "no print system to print through: " << cups.reason().toStdString();
    startAtTable();
    orderAndCommit();
    kitchenPrinter(QString::fromLatin1(test::PrivateCups::kQueue));
    QTest::mouseClick(tool(work(), "后厨"), Qt::LeftButton);
    EXPECT_TRUE(sink_.shown.isEmpty()) << sink_.texts().join('\n').toStdString();
    EXPECT_EQ(sentMark(0), QStringLiteral("√"));
    QStringList files = cups.printed(1);
    ASSERT_EQ(files.size(), 1);
    const QString ticket = pdfText(files[0]);
    EXPECT_TRUE(ticket.contains(QStringLiteral("A01")) || ticket.contains(QStringLiteral("大厅1号")))
        << ticket.toStdString();
    EXPECT_TRUE(ticket.contains(QStringLiteral("宫保鸡丁"))) << ticket.toStdString();
    EXPECT_NEAR(pageWidthMm(files[0]), 80, 0.5);

    QTest::mouseClick(tool(work(), "结帐 *"), Qt::LeftButton);
    ASSERT_EQ(current(), window_->tableDesk()->checkoutScreen());
    sink_.answers = {true};
    QTest::keyClick(window_.get(), Qt::Key_Slash, Qt::KeypadModifier);
    EXPECT_EQ(sink_.texts(), QStringList{checkout::kPrintQuestion});
    files = cups.printed(2);
    ASSERT_EQ(files.size(), 2);
    const QString bill = pdfText(files[1]);
    for (const QString& shown : {QStringLiteral("宫保鸡丁"), QStringLiteral("青岛啤酒")})
        EXPECT_TRUE(bill.contains(shown)) << bill.toStdString();
    EXPECT_TRUE(bill.contains(QStringLiteral("A01")) || bill.contains(QStringLiteral("大厅1号")))
        << bill.toStdString();
    EXPECT_GT(pageWidthMm(files[1]), 79);
}

// A queue that refuses jobs prints nothing: the operator is told which printer, and the
// kitchen's lines stay unsent to be printed again; the bill's print is refused the same way.
TEST_F(OrderingScreenTest, ARefusingQueueLeavesTheLinesUnsentAndNamesThePrinter) {
    test::PrivateCups cups;
    if (!cups.running()) GTEST_SKIP() << "no print system to print through: " << cups.reason().toStdString();
    ASSERT_TRUE(cups.refuseJobs());
    startAtTable();
    orderAndCommit();
    const QString queue = QString::fromLatin1(test::PrivateCups::kQueue);
    kitchenPrinter(queue);
    QTest::mouseClick(tool(work(), "后厨"), Qt::LeftButton);
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_TRUE(sink_.shown[0].text.contains(queue)) << sink_.shown[0].text.toStdString();
    EXPECT_EQ(sentMark(0), QString());

    QTest::mouseClick(tool(work(), "结帐 *"), Qt::LeftButton);
    sink_.shown.clear();
    sink_.answers = {true};
    QTest::keyClick(window_.get(), Qt::Key_Slash, Qt::KeypadModifier);
    ASSERT_EQ(sink_.shown.size(), 2);
    EXPECT_TRUE(sink_.shown[1].text.contains(queue)) << sink_.shown[1].text.toStdString();
    EXPECT_TRUE(cups.printed(0).isEmpty());
}

// The ticket's preview opens fitted to the page width; closed without printing, it sends
// nothing and no line is marked.
TEST_F(OrderingScreenTest, APreviewClosedUnprintedLeavesTheLinesUnsent) {
    startAtTable();
    orderAndCommit();
    kitchenPrinter(QString());
    std::optional<QPrintPreviewWidget::ZoomMode> zoom;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        if (auto* view = dialog->findChild<QPrintPreviewWidget*>()) zoom = view->zoomMode();
        dialog->reject();
    });
    QTest::mouseClick(tool(work(), "后厨"), Qt::LeftButton);
    ASSERT_TRUE(zoom.has_value());
    EXPECT_EQ(*zoom, QPrintPreviewWidget::FitToWidth);
    EXPECT_EQ(sink_.texts(), QStringList{ordering::kTicketNotPrintedMessage});
    EXPECT_EQ(sentMark(0), QString());
}

// The ordering screen fits its window: no shown widget reaches past the screen's edge, and every
// heading of the staged lines' columns that shows is as wide as its text.
TEST_F(OrderingScreenTest, TheOrderingScreenFitsItsWindow) {
    startAtTable();
    startOrdering();
    OrderingScreen* o = ordering();
    for (const char* choice : {"编号选单", "列表选单"}) {
        QTest::mouseClick(tool(o, choice), Qt::LeftButton);
        QApplication::processEvents();
        // What the window shows of a screen is its host, whatever size the screen would take.
        QWidget* host = o->parentWidget();
        const QRect screen = host->rect();
        for (QWidget* w : o->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->isWindow() || qobject_cast<QScrollBar*>(w)) continue;
            const QRect at(w->mapTo(host, QPoint(0, 0)), w->size());
            EXPECT_TRUE(screen.contains(at))
                << choice << ": " << w->objectName().toStdString() << " " << w->metaObject()->className()
                << " at " << at.x() << "," << at.y() << " " << at.width() << "x" << at.height();
        }
        QHeaderView* header = o->stagedLines()->horizontalHeader();
        const QFontMetrics metrics(header->font());
        for (int c = 0; c < 6; ++c) {
            const QString heading = o->stagedLines()->horizontalHeaderItem(c)->text();
            EXPECT_GE(header->sectionSize(c), metrics.horizontalAdvance(heading) + 8)
                << heading.toStdString();
        }
        EXPECT_LE(header->sectionPosition(5) + header->sectionSize(5), o->stagedLines()->viewport()->width());
    }
    test::saveScreenshot(window_.get(), QStringLiteral("ordering_fits"));
}

} // namespace
