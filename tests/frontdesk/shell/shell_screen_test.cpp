// The front desk's main window driven offscreen with real key presses and clicks: the login
// box on the board, the exit question, the keyboard map, Enter moving the focus, and how the
// program answers mistyped input and fatal errors.
#include "common/db/errors.h"
#include "common/db/lock_wait.h"
#include "common/settings_row.h"
#include "common/typed_input.h"
#include "common/ui/guard.h"
#include "common/ui/guarded_application.h"
#include "common/ui/splash_window.h"
#include "common/ui/tool_strip.h"
#include "common/workstations.h"
#include "frontdesk/shell/main_window.h"
#include "frontdesk/tables/board_column_panel.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/graphic_board_panel.h"
#include "frontdesk/tables/login_panel.h"
#include "tests/support/screen_application.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/staff_seed.h"
#include "tests/support/test_database.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QToolButton>

using namespace sorrel;
using frontdesk::MainWindow;

namespace {

const QDateTime kMorning(QDate(2026, 3, 4), QTime(10, 0, 0));

class ShellScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::screenApplication();
        scratch_ = std::make_unique<test::ScratchDatabase>(Engine::Embedded,
                                                           test::ScratchDatabase::Contents::Schema);
        test::seedStaffAndSettings(db());
        openWindow();
    }
    void openWindow() {
        window_ = std::make_unique<MainWindow>(db(), clock_, dir_.path());
        ASSERT_TRUE(test::showActive(*window_));
    }
    void TearDown() override {
        test::closeShown(window_);
        scratch_.reset();
    }

    Database& db() { return scratch_->db(); }
    MainWindow& window() { return *window_; }
    frontdesk::BoardScreen& board() { return *window_->board(); }
    template <typename T> T* find(const QString& name) { return window_->findChild<T*>(name); }
    QLineEdit* operatorField() { return find<QLineEdit>(QStringLiteral("edt_operator")); }
    QLineEdit* passwordField() { return find<QLineEdit>(QStringLiteral("edt_password")); }
    QComboBox* shiftList() { return find<QComboBox>(QStringLiteral("cmb_shift")); }
    QPushButton* button(QWidget* in, const QString& caption) {
        for (QPushButton* b : in->findChildren<QPushButton*>())
            if (b->text() == caption && b->isVisibleTo(window_.get())) return b;
        return nullptr;
    }
    QToolButton* tool(const QString& caption) { return test::toolButtonCaptioned(&board(), caption); }
    QStringList logTexts() { return test::logTexts(db()); }
    void chooseShift(const QString& name) { shiftList()->setCurrentIndex(shiftList()->findText(name)); }
    // Types into the focused field and presses Enter, as an operator would.
    void typeAndEnter(const QString& text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    void logIn(const QString& shift, const QString& code, const QString& password) {
        chooseShift(shift);
        operatorField()->setFocus();
        typeAndEnter(code);
        typeAndEnter(password);
    }

    test::ScriptedSink sink_;
    FixedClock clock_{kMorning};
    QTemporaryDir dir_;
    std::unique_ptr<test::ScratchDatabase> scratch_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(ShellScreenTest, StartsWithTheLoginBoxOverALockedBoard) {
    EXPECT_EQ(window().windowTitle(), QStringLiteral("岚舟餐[饮娱乐管理系统9.0版]-前台操作"));
    EXPECT_EQ(window().size(), QSize(792, 543));
    EXPECT_TRUE(board().isVisible());
    EXPECT_TRUE(board().loginBoxShown());
    EXPECT_FALSE(board().toolbarStrip()->isEnabled());
    EXPECT_FALSE(tool(QStringLiteral("退出"))->autoRaise()); // raised, not flat
    EXPECT_FALSE(board().viewsHost()->isVisible());
    EXPECT_FALSE(board().rightColumn()->isVisible());
    EXPECT_EQ(window().navigator().currentPanel(), board().graphicView());
    EXPECT_EQ(QApplication::focusWidget(), shiftList());
    EXPECT_EQ(shiftList()->currentIndex(), -1);
    EXPECT_EQ(window().statusPanel(3)->text(), QStringLiteral("2026-03-04 10:00:00"));
    clock_.advanceSeconds(5);
    QTest::qWait(1100);
    EXPECT_EQ(window().statusPanel(3)->text(), QStringLiteral("2026-03-04 10:00:05"));
}

TEST_F(ShellScreenTest, LoginWithEnterFromFieldToFieldOpensTheBoard) {
    chooseShift(QStringLiteral("晚班"));
    operatorField()->setFocus();
    QTest::keyClicks(operatorField(), QStringLiteral("0%2*"));
    EXPECT_EQ(operatorField()->text(), QStringLiteral("02")); // "%" and "*" never get in
    QTest::keyClick(operatorField(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), passwordField()); // Enter moved on
    EXPECT_EQ(
        passwordField()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, passwordField()),
        '#');
    typeAndEnter(QStringLiteral(" 2222 "));

    EXPECT_TRUE(sink_.shown.isEmpty()) << sink_.texts().join('\n').toStdString();
    EXPECT_FALSE(board().loginBoxShown());
    EXPECT_TRUE(board().toolbarStrip()->isEnabled());
    EXPECT_TRUE(tool(QStringLiteral("退出"))->autoRaise());
    EXPECT_TRUE(board().viewsHost()->isVisible());
    EXPECT_EQ(window().statusPanel(1)->text(), QStringLiteral("【用户：岚舟茶餐厅】"));
    EXPECT_EQ(window().statusPanel(2)->text(), QStringLiteral("【操作员：收银员】"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("lbl_Shift"))->text(), QStringLiteral("晚班"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("lbl_WorkDate"))->text(), QStringLiteral("2026-03-04"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT oper_code FROM SetupPay")).toString(), QStringLiteral("02"));
    EXPECT_EQ(logTexts(), QStringList{QStringLiteral("[晚班][登录系统]")});

    // The board's keys work once somebody is logged in.
    QTest::keyClick(&window(), Qt::Key_F12);
    EXPECT_EQ(QApplication::focusWidget(), board().searchBox());
    QTest::keyClicks(board().searchBox(), QStringLiteral("a1-"));
    EXPECT_EQ(board().searchBox()->text(), QStringLiteral("A1"));
}

TEST_F(ShellScreenTest, DemoVenueOpensItsFirstBusinessDayAtTheFirstLogin) {
    window_->closeWithoutAsking();
    window_.reset();
    scratch_ =
        std::make_unique<test::ScratchDatabase>(Engine::Embedded, test::ScratchDatabase::Contents::DemoVenue);
    clock_.set(QDateTime(test::ScratchDatabase::createdAt().date().addDays(1), QTime(10, 0)));
    openWindow();
    ASSERT_GT(shiftList()->count(), 0);
    shiftList()->setCurrentIndex(0);
    operatorField()->setFocus();
    typeAndEnter(QStringLiteral("01"));
    typeAndEnter(QStringLiteral("1234"));

    EXPECT_TRUE(sink_.shown.isEmpty()) << sink_.texts().join('\n').toStdString();
    EXPECT_FALSE(board().loginBoxShown());
    EXPECT_FALSE(window().statusPanel(0)->findChild<QProgressBar*>()->isVisible());
    EXPECT_EQ(window().statusPanel(1)->text(), QStringLiteral("【用户：悦来酒家】"));
    const SettingsRow settings = loadSettingsRow(db());
    EXPECT_TRUE(settings.payStar);
    EXPECT_EQ(settings.timeWork.date(), clock_.today());
    EXPECT_EQ(find<QLabel>(QStringLiteral("lbl_WorkDate"))->text(), clock_.today().toString(Qt::ISODate));
}

TEST_F(ShellScreenTest, RefusedLoginsSayWhyAndPutTheFocusWhereTheFaultIs) {
    struct Case {
        const char* shift;
        const char* code;
        const char* password;
        const char* message;
        const char* focus;
    } cases[] = {
        {"", "01", "1234", "请选择[班次]！", "cmb_shift"},
        {"早班", "01", "4321", "你输入的员工或密码不存在，请重新输入！", "edt_operator"},
        {"早班", "99", "1234", "你输入的员工或密码不存在，请重新输入！", "edt_operator"},
    };
    for (const Case& c : cases) {
        sink_.shown.clear();
        board().loginBox()->reset();
        logIn(QString::fromUtf8(c.shift), QString::fromUtf8(c.code), QString::fromUtf8(c.password));
        ASSERT_EQ(sink_.shown.size(), 1) << c.code;
        EXPECT_EQ(sink_.shown[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(sink_.shown[0].title, QStringLiteral("岚舟管理系列"));
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromUtf8(c.focus));
        EXPECT_TRUE(board().loginBoxShown());
    }
    EXPECT_TRUE(logTexts().isEmpty());
}

TEST_F(ShellScreenTest, ReloginBringsBackAnEmptyLoginBox) {
    logIn(QStringLiteral("早班"), QStringLiteral("01"), QStringLiteral("1234"));
    ASSERT_FALSE(board().loginBoxShown());
    clock_.advanceSeconds(60);
    QTest::mouseClick(tool(QStringLiteral("重新登录")), Qt::LeftButton);
    EXPECT_TRUE(board().loginBoxShown());
    EXPECT_FALSE(board().toolbarStrip()->isEnabled());
    EXPECT_FALSE(board().viewsHost()->isVisible());
    EXPECT_TRUE(operatorField()->text().isEmpty());
    EXPECT_TRUE(passwordField()->text().isEmpty());
    EXPECT_EQ(shiftList()->currentIndex(), -1);
    EXPECT_EQ(logTexts(),
              (QStringList{QStringLiteral("[早班][登录系统]"), QStringLiteral("[早班][退出系统,重新登录]")}));
}

// The back office, asked to restore beside this desk, names the cashier who works at it: the
// desk's row carries whoever logged in last, a refused login changes nothing.
TEST_F(ShellScreenTest, LoginNamesTheOperatorOnTheWorkstationRow) {
    WorkstationPresence presence(db(), QStringLiteral("desk-1"), QStringLiteral("Sorrel_W"));
    const auto rowOperator = [&] {
        return db()
            .scalar("SELECT work_operator FROM workstationlist WHERE work_id = ?", {presence.id()})
            .toString();
    };
    struct Case {
        const char* code;
        const char* password;
        const char* named;
    } cases[] = {{"02", "2222", "收银员"}, {"01", "4321", "收银员"}, {"01", "1234", "管理员"}};
    for (const Case& c : cases) {
        if (!board().loginBoxShown()) QTest::mouseClick(tool(QStringLiteral("重新登录")), Qt::LeftButton);
        board().loginBox()->reset();
        logIn(QStringLiteral("早班"), QString::fromLatin1(c.code), QString::fromLatin1(c.password));
        EXPECT_EQ(rowOperator(), QString::fromUtf8(c.named)) << c.code << " " << c.password;
    }
    const std::unique_ptr<Database> office = scratch_->connectAgain();
    try {
        requireDatabaseAlone(*office, 0, [&](int) { presence.beat(); });
        ADD_FAILURE() << "the office was let alone beside a working desk";
    } catch (const StepRefused& e) {
        EXPECT_EQ(
            e.text(),
            QStringLiteral(
                "还有其它工作站正在使用数据库：[desk-1 Sorrel_W（管理员）]，请全部退出后再进行此操作！"));
    }
}

TEST_F(ShellScreenTest, PasswordChangeBoxOpensOnlyForAKnownOperator) {
    auto* key = find<QToolButton>(QStringLiteral("btn_modify"));
    auto* modify = find<QWidget>(QStringLiteral("pnl_modify"));
    QTest::keyClicks(operatorField(), QStringLiteral("01"));
    QTest::keyClicks(passwordField(), QStringLiteral("0000"));
    QTest::mouseClick(key, Qt::LeftButton);
    EXPECT_EQ(sink_.texts(), QStringList{QStringLiteral("请首先输入的员工或密码确认身份，再进行密码修改！")});
    EXPECT_FALSE(modify->isVisible());

    passwordField()->clear();
    QTest::keyClicks(passwordField(), QStringLiteral("1234"));
    QTest::mouseClick(key, Qt::LeftButton);
    ASSERT_TRUE(modify->isVisible());
    const QList<QLineEdit*> fields = modify->findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 4);
    for (auto [field, text] :
         {std::pair{fields[0], "01"}, {fields[1], "1234"}, {fields[2], "77*7"}, {fields[3], "777"}})
        QTest::keyClicks(field, QString::fromUtf8(text));
    QTest::mouseClick(button(modify, QStringLiteral("确定")), Qt::LeftButton);
    EXPECT_FALSE(modify->isVisible());
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT oper_pass FROM operatorlist WHERE oper_code = '01'")).toString(),
        QStringLiteral("777"));
    EXPECT_EQ(logTexts(), QStringList{QStringLiteral("[管理员][密码修改]")});
}

TEST_F(ShellScreenTest, EscOnTheBoardAsksBeforeClosingAndNoKeepsEverything) {
    sink_.answers = {false};
    QTest::keyClick(shiftList(), Qt::Key_Escape);
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_EQ(sink_.shown[0].kind, MessageKind::Question);
    EXPECT_EQ(sink_.shown[0].text, QStringLiteral("请确定是否退出岚舟管理系列!"));
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(board().loginBoxShown());
    EXPECT_TRUE(logTexts().isEmpty());

    sink_.answers = {true};
    QTest::mouseClick(button(board().loginBox(), QStringLiteral("退出")), Qt::LeftButton);
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(logTexts(), QStringList{QStringLiteral("[][退出系统]")});
}

TEST_F(ShellScreenTest, AnExitRefusedWhileAnotherDeskSavesKeepsTheWindow) {
    // The window goes at the answer, before the exit's line is written; when that write is
    // refused, the program must not stay behind without a window.
    lock_wait::setBoundMs(100);
    const std::unique_ptr<Database> other = scratch_->connectAgain();
    other->begin();
    sink_.answers = {true};
    window().close();
    lock_wait::setBoundMs(0);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(sink_.shown.last().text, QStringLiteral("其他工作站正在保存数据，请稍候再试！"));
    other->rollback();
    EXPECT_TRUE(logTexts().isEmpty());

    sink_.answers = {true};
    window().close();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(logTexts(), QStringList{QStringLiteral("[][退出系统]")});
}

TEST_F(ShellScreenTest, KeypadKeysAreToldApartFromTheMainKeyboard) {
    int opened = 0;
    window().keyboard().bind(
        board().graphicView(), Qt::Key_Minus, [&] { ++opened; }, ui::KeyOrigin::Keypad);
    operatorField()->setFocus();
    QTest::keyClick(operatorField(), Qt::Key_Minus);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(operatorField()->text(), QStringLiteral("-"));
    QTest::keyClick(operatorField(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(operatorField()->text(), QStringLiteral("-"));
    // Another screen current: the board's key means nothing there.
    window().navigator().setCurrentPanel(board().viewsHost());
    QTest::keyClick(operatorField(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(opened, 1);
}

TEST_F(ShellScreenTest, EnterOnAFocusedButtonPressesIt) {
    chooseShift(QStringLiteral("早班"));
    QTest::keyClicks(operatorField(), QStringLiteral("01"));
    QTest::keyClicks(passwordField(), QStringLiteral("1234"));
    QPushButton* ok = button(board().loginBox(), QStringLiteral("确定"));
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(board().loginBoxShown());
    EXPECT_EQ(logTexts(), QStringList{QStringLiteral("[早班][登录系统]")});
}

TEST_F(ShellScreenTest, EnterStopsMovingTheFocusWhileTheOrderingModeIsOn) {
    operatorField()->setFocus();
    window().enterMovesFocus().setEnabled(false);
    QTest::keyClick(operatorField(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), operatorField());
    window().enterMovesFocus().setEnabled(true);
    QTest::keyClick(operatorField(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), passwordField());
}

TEST_F(ShellScreenTest, MistypedInputIsAnsweredAndOtherErrorsCloseWithoutTheQuestion) {
    // A numeric field of a later screen, shown in pnl_Parent like every screen.
    auto* screen = new QWidget;
    screen->setObjectName(QStringLiteral("pnl_Test"));
    auto* amount = new QLineEdit(screen);
    auto* when = new QLineEdit(screen);
    when->move(0, 30);
    ui::connectGuarded(amount, &QLineEdit::returnPressed, screen,
                       [amount] { parseTypedNumber(amount->text()); });
    ui::connectGuarded(when, &QLineEdit::returnPressed, screen, [when] { parseTypedDateTime(when->text()); });
    window().navigator().showPanel(screen, window().parentHost(), true);
    EXPECT_FALSE(board().isVisible());

    struct Case {
        QLineEdit* field;
        const char* typed;
        const char* message;
    } cases[] = {{amount, "12,5x", "输入的数值无效，请重新输入！"},
                 {when, "2026-13-45", "输入的日期时间无效，请重新输入！"}};
    for (const Case& c : cases) {
        sink_.shown.clear();
        c.field->setFocus();
        QTest::keyClicks(c.field, QString::fromUtf8(c.typed));
        QTest::keyClick(c.field, Qt::Key_Return);
        EXPECT_EQ(sink_.texts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_TRUE(window().isVisible());
        EXPECT_FALSE(window().closingFlag());
    }

    sink_.shown.clear();
    ui::connectGuarded(amount, &QLineEdit::textEdited, screen,
                       [] { throw CodedFailure(QStringLiteral("B100002"), "lost"); });
    QTest::keyClick(amount, Qt::Key_1);
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_EQ(sink_.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(
        sink_.shown[0].text,
        QStringLiteral("系统发生错误编码[B100002]即将关闭，请记录此错误编码然后与开发商联系，谢谢合作！"));
    EXPECT_TRUE(window().closingFlag());
    EXPECT_FALSE(window().isVisible()); // closed without asking
}

TEST_F(ShellScreenTest, AnyOtherErrorShowsBothMessagesAndCloses) {
    // A button of the board's toolbar with nothing but the failing handler behind it.
    logIn(QStringLiteral("早班"), QStringLiteral("01"), QStringLiteral("1234"));
    auto* boom = new QToolButton(board().toolbarStrip());
    boom->show();
    ui::connectGuarded(boom, &QToolButton::clicked, boom,
                       [] { throw DbError(QStringLiteral("disk I/O error")); });
    QTest::mouseClick(boom, Qt::LeftButton);
    // The engine's words are for the error log; the staff see the entry's reference.
    ASSERT_EQ(sink_.texts().size(), 2);
    EXPECT_EQ(sink_.texts()[0],
              QStringLiteral("系统发生内部错误，请记录错误发生的位置并记录以下错误提示后与开发商联系！"));
    EXPECT_TRUE(sink_.texts()[1].startsWith(QStringLiteral("错误记录编号[")));
    EXPECT_FALSE(sink_.texts()[1].contains(QStringLiteral("disk I/O error")));
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(logTexts().last(), QStringLiteral("[早班][退出系统]"));
}

TEST_F(ShellScreenTest, AboutPanelLocksTheBoardUntilClosed) {
    logIn(QStringLiteral("早班"), QStringLiteral("01"), QStringLiteral("1234"));
    auto* about = find<QWidget>(QStringLiteral("pnl_about"));
    QTest::mouseClick(tool(QStringLiteral("关于")), Qt::LeftButton);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(board().toolbarStrip()->isEnabled());
    EXPECT_FALSE(board().viewsHost()->isEnabled());
    QTest::mouseClick(button(about, QStringLiteral("关闭")), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(board().toolbarStrip()->isEnabled());
    EXPECT_TRUE(board().viewsHost()->isEnabled());
}

TEST_F(ShellScreenTest, BoardWithLoginBoxScreenshot) {
    // Pictures for a person to look at: kept in $SORREL_SCREENSHOT_DIR when set.
    const QString out = qEnvironmentVariable("SORREL_SCREENSHOT_DIR", dir_.path());
    const QPixmap picture = window().grab();
    EXPECT_EQ(picture.size(), QSize(792, 543));
    EXPECT_TRUE(picture.save(QDir(out).filePath(QStringLiteral("board_login.png"))));
    logIn(QStringLiteral("早班"), QStringLiteral("01"), QStringLiteral("1234"));
    QTest::mouseClick(tool(QStringLiteral("关于")), Qt::LeftButton);
    EXPECT_TRUE(window().grab().save(QDir(out).filePath(QStringLiteral("board_about.png"))));
    ui::SplashWindow splash(QStringLiteral("[前台]"));
    splash.showNow();
    EXPECT_TRUE(splash.grab().save(QDir(out).filePath(QStringLiteral("splash.png"))));
}

} // namespace
