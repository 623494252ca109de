// Hostile input at every field of the front desk, on every engine. Each screen a cashier reaches
// is walked: into every field an operator can type in (found by walking the screen's widgets, so
// a new field is covered the day it is added) each text of one hostile list is pasted, Enter is
// pressed in the field, then the screen's main action, and every question is answered Yes. The
// program must carry on without an internal or database error, every stored text must fit its
// column and be whole characters, every stored number must be a real amount, and every table the
// screen does not write must be exactly as it was.
#include "common/db/transaction.h"
#include "common/schema/row_insert.h"
#include "common/schema/schema.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/billing/bill_calculator.h"
#include "frontdesk/billing/line_sums.h"
#include "frontdesk/bookings/booking_screen.h"
#include "frontdesk/checkout/checkout_screen.h"
#include "frontdesk/day/day_panel.h"
#include "frontdesk/day/handover_screen.h"
#include "frontdesk/ordering/menu_change_panel.h"
#include "frontdesk/ordering/ordering_screen.h"
#include "frontdesk/shell/day_desk.h"
#include "frontdesk/shell/ordering_desk.h"
#include "frontdesk/shell/table_life_desk.h"
#include "frontdesk/table_life/move_panel.h"
#include "frontdesk/table_life/reagain_screen.h"
#include "frontdesk/tables/board_column_panel.h"
#include "frontdesk/tables/login_panel.h"
#include "tests/frontdesk/tables/desk_fixture.h"
#include "tests/support/hostile_input.h"

#include <QAbstractSpinBox>
#include <QClipboard>
#include <QCryptographicHash>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <cmath>

using namespace sorrel;
using namespace sorrel::frontdesk;

namespace {

// One screen of the walk: how it is reached, its main action, and the tables that action writes.
struct Screen {
    const char* name;
    std::function<QWidget*()> enter;
    std::function<void()> act;
    QStringList writes;
};

class HostileInputTest : public test::DeskTest, public ::testing::WithParamInterface<Engine> {
  protected:
    void SetUp() override {
        test::screenApplication();
        scratch_ =
            std::make_unique<test::ScratchDatabase>(GetParam(), test::ScratchDatabase::Contents::DemoVenue);
        // Tables enough for every opening and settlement of the walk.
        QList<QVariantList> spare;
        for (int n = 1; n <= kSpareTables; ++n)
            spare << QVariantList{
                spareTable(n), QStringLiteral("散台"), QStringLiteral("四人桌"), "01", "01", "1", " "};
        schema::insertRows(db(), "TableList",
                           {"tabl_code", "tabl_name", "tabl_narr", "tabl_type_code", "dept_code",
                            "tabl_stat_code", "tabl_rema"},
                           spare);
        startDesk();
        test::screenApplication().setCloseAfterFatalError([this] { fatal_ = true; });
        sink_.answers.clear();
    }

    static constexpr int kSpareTables = 198;
    static QString spareTable(int n) {
        return QLatin1Char(n <= 99 ? 'H' : 'J') +
               QStringLiteral("%1").arg((n - 1) % 99 + 1, 2, 10, QLatin1Char('0'));
    }
    // A free spare table, never used before in this walk.
    QString freeTable() {
        EXPECT_LT(spareUsed_, kSpareTables) << "the walk needs more spare tables";
        return spareTable(++spareUsed_);
    }
    tables::BoardTable freeBoardTable() { return *tables::loadBoardTable(db(), freeTable()); }
    // A spare table opened with one line of 宫保鸡丁 on its bill, as a committed order leaves it.
    QString tableWithBill() {
        const QString code = freeTable();
        const int bill = openOn(db(), code, 2, QStringLiteral("周先生")).tabl_gues_auto_recn;
        db().exec(
            QStringLiteral("INSERT INTO TableConsList (tabl_gues_auto_recn, tabl_code, kind_code, "
                           "clas_code, item_code, item_name, menu_type_code, item_type_flag, item_coun_flag, "
                           "tabl_cons_coun, item_unit_pric, tabl_cons_tota) VALUES (?, ?, '1', '102', "
                           "'102001', '宫保鸡丁', '1', 1, 1, 1, 48, 48)"),
            {bill, code});
        billing::GuestRecord guest = *billing::GuestRecord::load(db(), bill);
        const billing::BillSettings settings = billing::BillSettings::load(db());
        Transaction tx(db());
        billing::setLineSums(db(), guest, settings);
        billing::ReTotal(db(), guest, settings, clock_);
        guest.post(db());
        tx.commit();
        return code;
    }
    void showWork(const QString& code) {
        workScreen().present(tables::continueTable(db(), code, billing::BillSettings::load(db()), clock_));
    }
    // "确定" on the transfer and merge panel; a refused target leaves it open until "取消".
    void confirmMove() {
        MovePanel* panel = window_->tableDesk()->workActions()->movePanel();
        press(pushButton(panel, QStringLiteral("确定")));
        if (panel->isVisible()) press(pushButton(panel, QStringLiteral("取消")));
    }
    QToolButton* toolOf(ui::ToolStrip* strip, const char* name) { return strip->button(name); }
    void press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QPushButton* pushButton(QWidget* in, const QString& caption) {
        for (QPushButton* b : in->findChildren<QPushButton*>())
            if (b->text() == caption) return b;
        return nullptr;
    }

    // Back on the board from wherever the last press left the desk.
    void backToBoard() {
        if (board().loginBoxShown()) {
            find<QComboBox>("cmb_shift")->setCurrentIndex(0);
            find<QLineEdit>("edt_operator")->setText(QStringLiteral("01"));
            find<QLineEdit>("edt_password")->setText(QStringLiteral("1234"));
            find<QWidget>("pnl_modify")->hide();
            board().loginBox()->confirm();
        }
        window_->showBoard();
    }

    void walk(const Screen& screen) {
        const QMap<QString, QString> before = test::tableSnapshot(db());
        const int typedBefore = typed_;
        // The screens keep their widgets for the program's life: the fields found now are the ones
        // typed into at every return.
        QWidget* root = screen.enter();
        QList<QPointer<QWidget>> fields;
        for (QWidget* field : test::editableFields(root))
            fields << field;
        backToBoard();
        for (const QPointer<QWidget>& field : fields) {
            for (const QString& text : test::hostileTexts()) {
                sink_.shown.clear();
                sink_.answers = QList<bool>(20, true);
                fatal_ = false;
                root = screen.enter();
                ASSERT_TRUE(field) << screen.name;
                test::reveal(field);
                if (!field->isVisible() || !field->isEnabled()) continue;
                const std::string where = std::string(screen.name) + " / " +
                                          test::fieldName(field).toStdString() + " / " +
                                          test::printable(text);
                test::pasteInto(field, text);
                screen.act();
                QCoreApplication::processEvents();
                EXPECT_FALSE(fatal_) << where;
                for (const test::ScriptedSink::Shown& shown : sink_.shown)
                    EXPECT_NE(shown.kind, MessageKind::Error) << where << ": " << shown.text.toStdString();
                backToBoard();
                ++typed_;
            }
        }
        EXPECT_TRUE(fields.isEmpty() || typed_ > typedBefore)
            << screen.name << ": no field could be typed in";
        test::expectStoredValuesSound(db(), screen.name);
        const QMap<QString, QString> after = test::tableSnapshot(db());
        for (auto it = before.begin(); it != before.end(); ++it) {
            if (!screen.writes.contains(it.key(), Qt::CaseInsensitive)) {
                EXPECT_EQ(after[it.key()], it.value())
                    << screen.name << " changed " << it.key().toStdString();
            }
        }
    }

    bool fatal_ = false;
    int spareUsed_ = 0;
    int typed_ = 0;
};

TEST_P(HostileInputTest, EveryFieldOfEveryScreenTakesHostileTextUnharmed) {
    const QString workTable = tableWithBill();
    const QString moveTable = tableWithBill();
    const QString orderTable = tableWithBill();
    QString checkoutTable;
    QString settledTable = tableWithBill();
    const QStringList billTables{"TableGuestlist", "TableConsList", "TableList", "SetupPay", "systemlog"};
    const QStringList settleTables{"TableGuestlist", "TableConsList",    "tableguespay", "TableList",
                                   "SetupPay",       "systemlog",        "MemberList",   "HangGues",
                                   "itemlist",       "TableConsListTemp"};

    const Screen screens[] = {
        {"login",
         [&] {
             board().relogin();
             find<QComboBox>("cmb_shift")->setCurrentIndex(0);
             find<QLineEdit>("edt_operator")->setText(QStringLiteral("01"));
             find<QLineEdit>("edt_password")->setText(QStringLiteral("1234"));
             return static_cast<QWidget*>(board().loginBox());
         },
         [&] { board().loginBox()->confirm(); },
         {"systemlog", "SetupPay"}},
        {"password change",
         [&] {
             board().relogin();
             find<QLineEdit>("edt_operator")->setText(QStringLiteral("01"));
             find<QLineEdit>("edt_password")->setText(QStringLiteral("1234"));
             press(find<QToolButton>("btn_modify"));
             auto* modify = find<QWidget>("pnl_modify");
             const QList<QLineEdit*> f = modify->findChildren<QLineEdit*>();
             for (auto [edit, typed] :
                  {std::pair{f[0], "01"}, {f[1], "1234"}, {f[2], "1234"}, {f[3], "1234"}})
                 edit->setText(QString::fromLatin1(typed));
             return modify;
         },
         [&] { press(pushButton(find<QWidget>("pnl_modify"), QStringLiteral("确定"))); },
         {"systemlog"}},
        {"board",
         [&] {
             window_->showBoard();
             return static_cast<QWidget*>(board().rightColumn());
         },
         [] {},
         {}},
        {"register",
         [&] {
             registerScreen().start(freeBoardTable());
             return static_cast<QWidget*>(&registerScreen());
         },
         [&] { press(toolOf(registerScreen().toolbar(), tables::register_tool::kOpen)); }, billTables},
        {"work screen",
         [&] {
             showWork(workTable);
             return static_cast<QWidget*>(&workScreen());
         },
         [&] { press(toolOf(workScreen().toolbar(), tables::work_tool::kBack)); }, billTables},
        {"transfer",
         [&] {
             showWork(moveTable);
             press(toolOf(workScreen().toolbar(), tables::work_tool::kTransfer));
             return static_cast<QWidget*>(window_->tableDesk()->workActions()->movePanel());
         },
         [&] { confirmMove(); }, billTables},
        {"merge",
         [&] {
             showWork(moveTable);
             press(toolOf(workScreen().toolbar(), tables::work_tool::kMerge));
             return static_cast<QWidget*>(window_->tableDesk()->workActions()->movePanel());
         },
         [&] { confirmMove(); }, billTables},
        {"ordering",
         [&] {
             showWork(orderTable);
             press(toolOf(workScreen().toolbar(), tables::work_tool::kOrder));
             ordering::OrderingScreen* s = window_->tableDesk()->orderingDesk()->screen();
             QTest::keyClicks(s->searchField(), QStringLiteral("102001"));
             QTest::keyClick(s->searchField(), Qt::Key_Return);
             return static_cast<QWidget*>(s);
         },
         [&] {
             ordering::OrderingScreen* s = window_->tableDesk()->orderingDesk()->screen();
             if (s->isVisible()) press(toolOf(s->toolbar(), ordering::ordering_tool::kCommit));
             if (s->isVisible()) press(toolOf(s->toolbar(), ordering::ordering_tool::kBack));
         },
         settleTables},
        {"price adjustment",
         [&] {
             showWork(orderTable);
             press(toolOf(workScreen().toolbar(), tables::work_tool::kOrder));
             ordering::OrderingScreen* s = window_->tableDesk()->orderingDesk()->screen();
             QTest::keyClicks(s->searchField(), QStringLiteral("103003"));
             press(toolOf(s->toolbar(), ordering::ordering_tool::kPrice));
             return static_cast<QWidget*>(s->pricePanel());
         },
         [&] {
             ordering::OrderingScreen* s = window_->tableDesk()->orderingDesk()->screen();
             if (s->pricePanel()->isVisible()) press(s->pricePanel()->confirmButton());
             press(toolOf(s->toolbar(), ordering::ordering_tool::kBack));
         },
         {"itemlist", "TableConsListTemp"}},
        {"new item",
         [&] {
             showWork(orderTable);
             press(toolOf(workScreen().toolbar(), tables::work_tool::kOrder));
             ordering::OrderingScreen* s = window_->tableDesk()->orderingDesk()->screen();
             press(toolOf(s->toolbar(), ordering::ordering_tool::kNewItem));
             ordering::NewItemPanel* panel = s->newItemPanel();
             static int made = 0;
             const QStringList typed{QStringLiteral("9%1").arg(++made, 5, 10, QLatin1Char('0')),
                                     QStringLiteral("新菜"), QStringLiteral("份"), QStringLiteral("10"),
                                     QStringLiteral("xc")};
             for (int i = 0; i < typed.size(); ++i)
                 panel->field(i)->setText(typed[i]);
             return static_cast<QWidget*>(panel);
         },
         [&] {
             ordering::OrderingScreen* s = window_->tableDesk()->orderingDesk()->screen();
             press(s->newItemPanel()->saveButton());
             press(pushButton(s->newItemPanel(), QStringLiteral("返回")));
             press(toolOf(s->toolbar(), ordering::ordering_tool::kBack));
         },
         {"itemlist", "TableConsListTemp"}},
        {"checkout",
         [&] {
             if (checkoutTable.isEmpty()) checkoutTable = tableWithBill();
             showWork(checkoutTable);
             press(toolOf(workScreen().toolbar(), tables::work_tool::kCheckout));
             return static_cast<QWidget*>(window_->tableDesk()->checkoutScreen());
         },
         [&] {
             CheckoutScreen* s = window_->tableDesk()->checkoutScreen();
             press(toolOf(s->toolbar(), checkout::bill_tool::kSettle));
             if (s->isVisible())
                 press(toolOf(s->toolbar(), checkout::bill_tool::kBack));
             else
                 checkoutTable.clear();
         },
         settleTables},
        {"bookings",
         [&] {
             window_->tableDesk()->bookingScreen()->start(freeBoardTable());
             press(toolOf(window_->tableDesk()->bookingScreen()->toolbar(), bookings::booking_tool::kAdd));
             return static_cast<QWidget*>(find<QWidget>("pnl_BookAdd"));
         },
         [&] {
             press(
                 toolOf(window_->tableDesk()->bookingScreen()->toolbar(), bookings::booking_tool::kSaveBack));
         },
         {"bookin", "TableList"}},
        {"booking search",
         [&] {
             BookingScreen* s = window_->tableDesk()->bookingScreen();
             s->start(*tables::loadBoardTable(db(), workTable));
             press(toolOf(s->toolbar(), bookings::booking_tool::kSearchMode));
             return static_cast<QWidget*>(find<QWidget>("pnl_BookSearch"));
         },
         [&] {
             BookingScreen* s = window_->tableDesk()->bookingScreen();
             press(toolOf(s->toolbar(), bookings::booking_tool::kRunSearch));
             press(toolOf(s->toolbar(), bookings::booking_tool::kSaveBack));
         },
         {}},
        {"reverse settlement",
         [&] {
             window_->tableDesk()->reagainScreen()->start(settledTable);
             return static_cast<QWidget*>(window_->tableDesk()->reagainScreen());
         },
         [&] {
             ReagainScreen* s = window_->tableDesk()->reagainScreen();
             press(toolOf(s->toolbar(), table_life::reagain_tool::kQuery));
             press(toolOf(s->toolbar(), table_life::reagain_tool::kReverse));
         },
         {}},
        {"day panel",
         [&] {
             window_->dayDesk()->openDayPanel();
             find<ui::TextGrid>("dbg_OtherIncome")->setCurrentCell(0, 0);
             return static_cast<QWidget*>(window_->dayDesk()->dayPanel());
         },
         [&] { press(toolOf(window_->dayDesk()->dayPanel()->toolbar(), day::day_tool::kSave)); },
         {"OtherIncomeList", "SetupPay"}},
        {"handover",
         [&] {
             window_->dayDesk()->handoverScreen()->present();
             find<ui::TextGrid>("dbg_PayFloat")->setCurrentCell(0, 0);
             return static_cast<QWidget*>(window_->dayDesk()->handoverScreen());
         },
         [&] {
             press(find<QPushButton>("btn_SubmitFloat"));
             press(find<QToolButton>(day::handover_tool::kHandOver));
         },
         {"systemlog", "SetupPay", "PayTypeList", "Paytotaltemp", "Allpaytotal"}},
    };
    for (const Screen& screen : screens)
        walk(screen);
    EXPECT_GT(typed_, 100);
}

SORREL_ON_EVERY_ENGINE(HostileInputTest);

} // namespace
