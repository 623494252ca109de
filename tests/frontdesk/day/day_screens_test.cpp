// The day operations driven through the real front desk offscreen, on every engine: the day
// panel's day end and day start with their questions and labels, the permission it needs, the
// current statistics with their total row, and the shift handover from the sheet to the login
// box, with its report on paper.
#include "common/business_day.h"
#include "common/ui/print/print_document.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/day/day_operations.h"
#include "frontdesk/day/day_panel.h"
#include "frontdesk/day/handover_screen.h"
#include "frontdesk/day/shift_handover.h"
#include "frontdesk/day/statistics_screen.h"
#include "frontdesk/shell/day_desk.h"
#include "frontdesk/shell/main_window.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/graphic_board_panel.h"
#include "frontdesk/tables/login_panel.h"
#include "tests/frontdesk/day/desk_window_test.h"
#include "tests/support/screen_application.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/staff_seed.h"
#include "tests/support/test_database.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "common/venue_reset.h"

using namespace sorrel;
using namespace sorrel::frontdesk;
using namespace sorrel::day;

namespace {

class DayScreensTest : public test_day::DeskWindowTest {
  protected:
    DayScreensTest() : DeskWindowTest(QTime(18, 0)) {}

    // The front desk, the administrator logged in on the first shift; the first login of the
    // day opens the business day.
    void startDesk() {
        ASSERT_NO_FATAL_FAILURE(showWindow());
        logIn();
    }
    void logIn() {
        find<QComboBox>("cmb_shift")->setCurrentIndex(0);
        find<QLineEdit>("edt_operator")->setText(QStringLiteral("01"));
        find<QLineEdit>("edt_password")->setText(QStringLiteral("1234"));
        window_->board()->loginBox()->confirm();
        ASSERT_FALSE(window_->board()->loginBoxShown());
        ASSERT_TRUE(sink_.shown.isEmpty()) << sink_.texts().join('\n').toStdString();
    }

    DayDesk& desk() { return *window_->dayDesk(); }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    void click(const QString& caption) {
        QToolButton* button = test::toolButtonCaptioned(window_.get(), caption);
        ASSERT_NE(button, nullptr) << caption.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void report(const QString& entry) {
        for (QAction* action : desk().reportsMenu()->actions())
            if (action->text() == entry) return action->trigger();
        ADD_FAILURE() << "no report " << entry.toStdString();
    }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }
    QString anyDepartment() {
        return db().scalar(QStringLiteral("SELECT min(dept_code) FROM DepartmentList")).toString();
    }

    // A guest record with two lines; state "2" in use, "3" settled, "1" cleared (not in use).
    void guest(int number, const QString& state, double amount) {
        db().exec(QStringLiteral("INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_code, dept_code, "
                                 "tabl_gues_stat, tabl_gues_use, tabl_gues_shou, tabl_gues_fact) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                  {number, QStringLiteral("Z%1").arg(number), anyDepartment(), state,
                   state == QStringLiteral("1") ? 0 : 1, amount, amount});
        for (int i = 0; i < 2; ++i)
            db().exec(
                QStringLiteral("INSERT INTO TableConsList (tabl_gues_auto_recn, item_code, tabl_cons_flag) "
                               "VALUES (?, 'X', 0)"),
                {number});
    }
    // A cleared bill's payments, a row for every method.
    void clearedPayments(int bill, const QString& method, double amount) {
        db().exec(QStringLiteral("INSERT INTO AllGuesPay (tabl_gues_auto_recn, pay_type_code, pay_type_name, "
                                 "pay_type_mone, pay_flag) SELECT ?, pay_type_code, pay_type_name, "
                                 "CASE WHEN pay_type_code = ? THEN ? ELSE 0 END, 0 FROM PayTypeList"),
                  {bill, method, amount});
    }
};

TEST_P(DayScreensTest, DayPanelEndsAndStartsTheDayWithItsQuestionsAndLabels) {
    startDesk();
    const QDate businessDate = clock_.today();
    for (int n = 1; n <= 3; ++n)
        guest(n, QStringLiteral("2"), 10 * n);
    guest(4, QStringLiteral("1"), 80);
    guest(5, QStringLiteral("1"), 20);
    db().exec(QStringLiteral("INSERT INTO OtherIncomeList (othe_inco_code, othe_inco_name, othe_inco_mone) "
                             "VALUES ('04', '茶位费', 0), ('05', '开瓶费', 15)"));

    // Without "BE" the panel does not open.
    db().exec(QStringLiteral("UPDATE Limitedlist SET limi_real = 0 WHERE limi_code = 'BE'"));
    click(QStringLiteral("日始/日结"));
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_TRUE(sink_.shown[0].text.startsWith(QStringLiteral("BE")));
    EXPECT_NE(current(), desk().dayPanel());
    db().exec(QStringLiteral("UPDATE Limitedlist SET limi_real = 1 WHERE limi_code = 'BE'"));
    sink_.shown.clear();

    click(QStringLiteral("日始/日结"));
    ASSERT_EQ(current(), desk().dayPanel());
    EXPECT_EQ(label("lbl_DayState"), day::kDayOpenStatus);
    EXPECT_EQ(label("lbl_DayTimeCaption"), QStringLiteral("日始时间"));
    EXPECT_TRUE(find<QCheckBox>("chk_WorkBack")->isEnabled());
    // A day already open is not started again, and nothing is asked.
    click(QStringLiteral("日始"));
    EXPECT_EQ(sink_.texts(), QStringList{kDayAlreadyStartedMessage});
    sink_.shown.clear();

    // The amount typed for the first item is still being edited when day end begins, after
    // midnight.
    find<QLineEdit>("edt_IncomeAmount")->setText(QStringLiteral("12.5"));
    clock_.set(QDateTime(businessDate.addDays(1), QTime(0, 30)));
    sink_.answers = {false};
    click(QStringLiteral("日结"));
    EXPECT_EQ(sink_.texts(), QStringList{day::dayEndQuestion(3)});
    EXPECT_TRUE(sink_.texts().first().contains(QStringLiteral("[3]")));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableGuestlist")), 5);
    sink_.shown.clear();
    sink_.answers = {true};
    click(QStringLiteral("日结"));
    EXPECT_EQ(label("lbl_DayState"), day::kDayClosedStatus);
    EXPECT_EQ(label("lbl_DayTimeCaption"), QStringLiteral("日结时间"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableGuestlist")), 3);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableConsList")), 6);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllOtherInCome")), 5);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM AllOtherInCome WHERE othe_inco_time = ?"),
                          {QDateTime(businessDate, QTime(0, 0))})
                  .toInt(),
              5);
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("SELECT sum(othe_inco_mone) FROM AllOtherInCome")).toDouble(),
                     12.5 + 15);
    test::saveScreenshot(window_.get(), QStringLiteral("day_panel_ended"));
    sink_.shown.clear();

    // A day already ended is not ended again.
    click(QStringLiteral("日结"));
    EXPECT_EQ(sink_.texts(), QStringList{kDayNotStartedForEndMessage});
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM AllOtherInCome")), 5);
    sink_.shown.clear();

    // Day start in the morning: the new date, every other income back to 0.
    clock_.set(QDateTime(businessDate.addDays(1), QTime(9, 0)));
    sink_.answers = {true};
    click(QStringLiteral("日始"));
    EXPECT_EQ(sink_.texts(), QStringList{day::kDayStartQuestion});
    EXPECT_EQ(label("lbl_DayState"), day::kDayOpenStatus);
    EXPECT_EQ(label("lbl_DayTime"),
              QStringLiteral("%1 09:00:00").arg(businessDate.addDays(1).toString(Qt::ISODate)));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM OtherIncomeList WHERE othe_inco_mone <> 0")), 0);
    EXPECT_EQ(find<QLineEdit>("edt_IncomeAmount")->text(), QStringLiteral("0"));
    EXPECT_EQ(label("lbl_WorkDate"),
              QStringLiteral("营业日期：") + businessDate.addDays(1).toString(Qt::ISODate));
    test::saveScreenshot(window_.get(), QStringLiteral("day_panel_started"));

    // "保存回退" keeps the switch and returns to the board.
    find<QCheckBox>("chk_WorkAuto")->setChecked(false);
    find<QCheckBox>("chk_WorkBack")->setChecked(true);
    click(QStringLiteral("保存回退"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM SetupPay WHERE work_auto = 0 AND work_back = 1")), 1);
    EXPECT_EQ(current(), window_->board()->graphicView());
}

TEST_P(DayScreensTest, StatisticsShowTheTotalRowInGreenBold) {
    startDesk();
    guest(1, QStringLiteral("1"), 80);
    guest(2, QStringLiteral("3"), 45.5);
    guest(3, QStringLiteral("2"), 30);
    report(QStringLiteral("当前营业统计"));
    ASSERT_EQ(current(), desk().statisticsScreen());
    ui::TextGrid* grid = desk().statisticsScreen()->grid();
    ASSERT_GT(grid->rowCount(), 1);
    const int last = grid->rowCount() - 1;
    EXPECT_EQ(grid->item(last, 0)->text(), QStringLiteral("总计"));
    EXPECT_EQ(grid->item(last, 8)->text(), QStringLiteral("155.50"));
    for (int r = 0; r < grid->rowCount(); ++r) {
        const bool total = r == last;
        EXPECT_EQ(grid->item(r, 3)->font().bold(), total) << r;
        EXPECT_EQ(grid->item(r, 3)->foreground().color(), total ? QColor(Qt::darkGreen) : QColor(Qt::black))
            << r;
    }
    EXPECT_TRUE(label("lbl_StatTime").startsWith(QStringLiteral("统计时间：")));
    test::saveScreenshot(window_.get(), QStringLiteral("current_statistics"));
    click(QStringLiteral("回退"));
    EXPECT_EQ(current(), window_->board()->graphicView());
}

// Every text of a PDF, as a reader copying it out gets it.
QString pdfText(const document::Document& report, const document::PageFormat& format, const QString& path) {
    EXPECT_TRUE(ui::print::printDocument(report, ui::print::PrintTarget::pdf(path, format)).ok());
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_P(DayScreensTest, HandoverEndsTheShiftAtTheLoginBox) {
    startDesk();
    clearedPayments(1, QStringLiteral("Z"), 100);
    clearedPayments(2, QStringLiteral("Z"), 100);
    clearedPayments(3, QStringLiteral("M"), 30);
    clearedPayments(4, QStringLiteral("R"), 20);
    report(QStringLiteral("员工交班处理"));
    ASSERT_EQ(current(), desk().handoverScreen());
    EXPECT_EQ(find<ui::TextGrid>("dbg_PaySheet")->rowCount(), 4);

    // A float of 100 for cash, the first method of the list.
    ui::TextGrid* floats = find<ui::TextGrid>("dbg_PayFloat");
    ASSERT_EQ(floats->item(0, 0)->text(), QStringLiteral("现金"));
    find<QLineEdit>("edt_OpeningFloat")->setText(QStringLiteral("100"));
    QTest::mouseClick(find<QPushButton>("btn_SubmitFloat"), Qt::LeftButton);
    EXPECT_EQ(floats->item(0, 1)->text(), QStringLiteral("100.00"));
    // On screen the waiver is left out of the totals.
    EXPECT_EQ(label("lbl_TotalFloat"), QStringLiteral("初始金额-100.00"));
    EXPECT_EQ(label("lbl_TotalReceipts"), QStringLiteral("收入笔数-3"));
    EXPECT_EQ(label("lbl_TotalReceived"), QStringLiteral("收入金额-230.00"));
    EXPECT_EQ(label("lbl_TotalHandOver"), QStringLiteral("交班金额-330.00"));
    const QString note = QStringLiteral("备用金:已点清");
    find<QLineEdit>("edt_HandoverNote")->setText(note);
    test::saveScreenshot(window_.get(), QStringLiteral("handover_sheet"));

    // The report prints the sums with the waiver, on the sheet and on the roll.
    const QTemporaryDir pdfs;
    const document::Document printed = desk().handoverScreen()->report();
    for (const document::PageFormat& format :
         {document::PageFormat::a4(), document::PageFormat::receiptRoll80()}) {
        const QString path = pdfs.filePath(format.name + QStringLiteral(".pdf"));
        const QString text = pdfText(printed, format, path);
        for (const QString& expected :
             {QStringLiteral("员工交班报表"), QStringLiteral("收入金额：250.00"),
              QStringLiteral("交班金额：350.00"), QStringLiteral("收入笔数：4"), note})
            EXPECT_TRUE(text.contains(expected))
                << format.name.toStdString() << ": " << expected.toStdString();
        if (!qEnvironmentVariableIsEmpty("SORREL_SCREENSHOT_DIR"))
            QFile::copy(path, qEnvironmentVariable("SORREL_SCREENSHOT_DIR") + QStringLiteral("/handover_") +
                                  format.name + QStringLiteral(".pdf"));
    }

    sink_.answers = {false};
    click(QStringLiteral("交班"));
    EXPECT_EQ(sink_.texts(), QStringList{day::kHandOverQuestion});
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Allpaytotal")), 0);
    sink_.shown.clear();
    sink_.answers = {true};
    const QString handingOver = window_->statusPanel(2)->text();
    ASSERT_FALSE(handingOver.isEmpty());
    click(QStringLiteral("交班"));

    EXPECT_TRUE(window_->board()->loginBoxShown());
    // Behind the login box nobody is shown as logged in; the next login fills it again.
    EXPECT_TRUE(window_->statusPanel(2)->text().isEmpty()) << window_->statusPanel(2)->text().toStdString();
    EXPECT_TRUE(window_->statusPanel(1)->text().isEmpty());
    EXPECT_EQ(find<QComboBox>("cmb_shift")->currentIndex(), -1);
    EXPECT_TRUE(find<QLineEdit>("edt_operator")->text().isEmpty());
    EXPECT_TRUE(window_->session().settings().ordeCode.isEmpty());
    EXPECT_TRUE(test::logTexts(db()).last().endsWith(QStringLiteral("][系统交班,重新登录]")));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM PayTypeList WHERE pay_star_mone <> 0")), 0);
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT pay_rema FROM Allpaytotal WHERE pay_type_code = 'Z'")).toString(),
        note);

    // The next shift's sheet takes nothing in yet.
    sink_.shown.clear();
    logIn();
    EXPECT_EQ(window_->statusPanel(2)->text(), handingOver);
    report(QStringLiteral("员工交班处理"));
    EXPECT_EQ(desk().handoverScreen()->sheet().printedTotals().receipts, 0);
    EXPECT_EQ(label("lbl_TotalHandOver"), QStringLiteral("交班金额-0.00"));
}

// "初始化数据库", the last entry of "报表": nothing without PS, nothing on No, and on Yes every
// table free, no bill or booking left, after a backup.
TEST_P(DayScreensTest, ResetNeedsThePermissionAndTheAnswerYes) {
    startDesk();
    guest(1, QStringLiteral("2"), 80);
    db().exec(QStringLiteral("UPDATE tablelist SET tabl_stat_code = '2', tabl_gues_name = 'Li'"));
    EXPECT_EQ(desk().reportsMenu()->actions().last()->text(), QStringLiteral("初始化数据库"));
    const int tables = count(QStringLiteral("SELECT count(*) FROM tablelist"));

    db().exec(QStringLiteral("UPDATE Limitedlist SET limi_real = 0 WHERE limi_code = 'PS'"));
    sink_.shown.clear();
    report(QStringLiteral("初始化数据库"));
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_FALSE(sink_.shown[0].text.startsWith(kResetQuestion));
    db().exec(QStringLiteral("UPDATE Limitedlist SET limi_real = 1 WHERE limi_code = 'PS'"));

    sink_.shown.clear();
    report(QStringLiteral("初始化数据库"));
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_TRUE(sink_.shown[0].text.startsWith(kResetQuestion));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableGuestlist")), 1);

    sink_.answers = {true};
    report(QStringLiteral("初始化数据库"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM TableGuestlist")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM tablelist WHERE tabl_stat_code = '1' AND tabl_gues_name = ''")),
              tables);
    EXPECT_EQ(QDir(dir_.filePath("back")).entryList({"vozezozarev-before-reset-*.bak"}, QDir::Files).size(), 1);
}

SORREL_ON_EVERY_ENGINE(DayScreensTest);

} // namespace
