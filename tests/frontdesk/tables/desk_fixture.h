// The front desk on the demo venue through its real screens offscreen, the administrator logged
// in: the table service's screen tests start here and find the widgets an operator would use.
#pragma once

#include "common/business_day.h"
#include "common/ui/guarded_application.h"
#include "common/ui/panel_host.h"
#include "frontdesk/shell/main_window.h"
#include "frontdesk/shell/table_desk.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/graphic_board_panel.h"
#include "frontdesk/tables/login_panel.h"
#include "frontdesk/tables/register_screen.h"
#include "frontdesk/tables/work_screen.h"
#include "tests/support/screen_application.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace sorrel::test {

using frontdesk::BoardScreen;
using frontdesk::MainWindow;
using frontdesk::RegisterScreen;
using frontdesk::WorkScreen;

class DeskTest : public ::testing::Test {
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

    // The front desk on the demo venue, the administrator logged in on the first shift; the
    // first login of the day opens the business day unless `dayOpens` is false.
    void startDesk(bool dayOpens = true) {
        if (!dayOpens) db().exec(QStringLiteral("UPDATE SetupPay SET work_auto = 0"));
        window_ = std::make_unique<MainWindow>(db(), clock_, dir_.path());
        ASSERT_TRUE(test::showActive(*window_));
        find<QComboBox>("cmb_shift")->setCurrentIndex(0);
        find<QLineEdit>("edt_operator")->setText(QStringLiteral("01"));
        find<QLineEdit>("edt_password")->setText(QStringLiteral("1234"));
        board().loginBox()->confirm();
        ASSERT_FALSE(board().loginBoxShown());
        ASSERT_TRUE(sink_.shown.isEmpty()) << sink_.texts().join('\n').toStdString();
    }

    Database& db() { return scratch_->db(); }
    BoardScreen& board() { return *window_->board(); }
    RegisterScreen& registerScreen() { return *window_->tableDesk()->registerScreen(); }
    WorkScreen& workScreen() { return *window_->tableDesk()->workScreen(); }
    QWidget* current() { return window_->navigator().currentPanel(); }
    template <typename T> T* find(const char* name) {
        return window_->findChild<T*>(QString::fromLatin1(name));
    }
    QString text(const char* label) { return window_->findChild<QLabel*>(QString::fromUtf8(label))->text(); }
    QToolButton* tool(const QString& caption) { return test::toolButtonCaptioned(window_.get(), caption); }

    QPoint cell(const QString& code) {
        const QRect r = board().graphicView()->cellRect(code);
        EXPECT_TRUE(r.isValid()) << code.toStdString() << " is not on the board";
        return r.center();
    }
    void click(const QString& code, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(board().graphicView()->cells(), button, {}, cell(code));
    }
    void doubleClick(const QString& code) {
        QTest::mouseDClick(board().graphicView()->cells(), Qt::LeftButton, {}, cell(code));
    }
    QString boardState(const QString& code) {
        for (const tables::BoardTable& t : board().tables().allTables())
            if (t.code == code) return t.state;
        return {};
    }
    QString stateNow(const QString& code) { return tables::loadBoardTable(db(), code)->state; }
    void setState(const QString& code, const QString& state) {
        db().exec(QStringLiteral("UPDATE TableList SET tabl_stat_code = ? WHERE tabl_code = ?"),
                  {state, code});
    }
    int bills() { return db().scalar(QStringLiteral("SELECT count(*) FROM TableGuestlist")).toInt(); }
    billing::GuestRecord openOn(Database& on, const QString& code, int guests, const QString& name) {
        billing::GuestRecord guest =
            tables::newGuestRecord(on, *tables::loadBoardTable(on, code), "1", clock_);
        guest.tabl_gues_coun = guests;
        guest.tabl_gues_name = name;
        return tables::openTable(on, guest, billing::BillSettings::load(on), clock_, {});
    }
    void search(const QString& code) {
        board().searchBox()->setFocus();
        QTest::keyClicks(board().searchBox(), code);
    }

    test::ScriptedSink sink_;
    FixedClock clock_{QDateTime(test::ScratchDatabase::createdAt().date().addDays(1), QTime(18, 0))};
    QTemporaryDir dir_;
    std::unique_ptr<test::ScratchDatabase> scratch_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace sorrel::test
