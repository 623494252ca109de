// "注册用户" and "日志查询" driven through the real back office offscreen, on every engine: the
// names saved and dropped by the record toolbar, the hidden system password typed twice (an
// empty one asked about first), and the log of the chosen days.
#include "backoffice/data/log_panel.h"
#include "backoffice/data/registration_panel.h"
#include "backoffice/data/system_log_query.h"
#include "common/db/errors.h"
#include "common/db_datetime.h"
#include "common/system_password.h"
#include "common/ui/text_grid.h"
#include "tests/backoffice/shell/backoffice_window.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace sorrel;
using namespace sorrel::data;
using panels::ToolButton;
using panels::Tree;

namespace {

class DataPanelsTest : public test::BackOfficeWindowTest {
  protected:
    void openData() {
        logIn(QStringLiteral("01"), QStringLiteral("1234"));
        window().runMenuCommand(QStringLiteral("系统管理"));
        sink.shown.clear();
    }
    QVariant setting(const char* column) {
        return db().scalar(QStringLiteral("SELECT %1 FROM SetupPay").arg(QLatin1String(column)));
    }
    RegistrationPanel* registration() { return qobject_cast<RegistrationPanel*>(shownPanel()); }
    LogPanel* logPanel() { return qobject_cast<LogPanel*>(shownPanel()); }
    void typePasswords(const QString& first, const QString& second) {
        for (auto [edit, text] : {std::pair{registration()->passwordEdit(), first},
                                  std::pair{registration()->confirmationEdit(), second}}) {
            edit->clear();
            QTest::keyClicks(edit, text);
        }
        QTest::mouseClick(registration()->confirmButton(), Qt::LeftButton);
    }
    QString storedPassword() {
        return db().scalar(QStringLiteral("SELECT set_prn_92_fiel FROM setupprint")).toString();
    }
};

TEST_P(DataPanelsTest, TheVenuesNamesAreSavedAndDroppedByTheToolbar) {
    openData();
    ASSERT_NE(registration(), nullptr);
    EXPECT_TRUE(toolShown(ToolButton::Save));
    EXPECT_TRUE(toolShown(ToolButton::Cancel));
    EXPECT_FALSE(toolShown(ToolButton::Add));
    EXPECT_EQ(field(QStringLiteral("user_name"))->text(), QStringLiteral("悦来酒家"));
    EXPECT_EQ(field(QStringLiteral("user_name"))->maxLength(), 30);
    EXPECT_EQ(field(QStringLiteral("user_name_s"))->maxLength(), 10);

    type(QStringLiteral("user_tele"), QStringLiteral("0571-88886666"));
    type(QStringLiteral("user_name_s"), QStringLiteral("悦来'小馆"));
    // Another desk numbers a bill in between.
    const int counter = setting("auto_recn").toInt();
    scratch().connectAgain()->exec(QStringLiteral("UPDATE SetupPay SET auto_recn = auto_recn + 1"));
    clickTool(ToolButton::Save);
    EXPECT_TRUE(shown().isEmpty()) << shown().join('\n').toStdString();
    EXPECT_EQ(setting("user_tele").toString(), QStringLiteral("0571-88886666"));
    EXPECT_EQ(setting("user_name_s").toString(), QStringLiteral("悦来'小馆"));
    EXPECT_EQ(setting("auto_recn").toInt(), counter + 1);

    type(QStringLiteral("user_name"), QStringLiteral("不要的名字"));
    clickTool(ToolButton::Cancel);
    EXPECT_EQ(field(QStringLiteral("user_name"))->text(), QStringLiteral("悦来酒家"));
    clickTool(ToolButton::Save);
    EXPECT_EQ(setting("user_name").toString(), QStringLiteral("悦来酒家"));
    screenshot(QStringLiteral("register-panel"));
}

TEST_P(DataPanelsTest, TheSystemPasswordIsHiddenTypedTwiceAndAnEmptyOneIsAskedAbout) {
    openData();
    ASSERT_NE(registration(), nullptr);
    EXPECT_EQ(registration()->passwordEdit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(registration()->confirmationEdit()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(registration()->passwordEdit()->text().isEmpty());

    typePasswords(QStringLiteral("24'68"), QStringLiteral("24'86"));
    EXPECT_EQ(shown(), QStringList{kSystemPasswordsDifferMessage});
    EXPECT_EQ(storedPassword(), QStringLiteral("8888"));
    sink.shown.clear();

    typePasswords(QStringLiteral(" 24'68"), QStringLiteral("24'68 "));
    EXPECT_EQ(shown(), QStringList{kSystemPasswordChangedMessage});
    EXPECT_EQ(storedPassword(), QStringLiteral("24'68"));
    EXPECT_TRUE(registration()->passwordEdit()->text().isEmpty());
    sink.shown.clear();
    // What the front desk's reverse settlement then takes: its screen test.

    // An empty one: No keeps the password, Yes empties it.
    sink.answers = {false};
    typePasswords(QString(), QString());
    EXPECT_EQ(shown(), QStringList{kEmptySystemPasswordQuestion});
    EXPECT_EQ(storedPassword(), QStringLiteral("24'68"));
    sink.shown.clear();
    sink.answers = {true};
    typePasswords(QStringLiteral("  "), QString());
    EXPECT_EQ(shown(), QStringList({kEmptySystemPasswordQuestion, kSystemPasswordChangedMessage}));
    EXPECT_EQ(storedPassword(), QString());
    EXPECT_TRUE(systemPasswordMatches(db(), QString()));
}

TEST_P(DataPanelsTest, TheLogShowsTheChosenDaysNewestFirst) {
    db().exec(QStringLiteral("INSERT INTO systemlog (log_oper_name, log_time, log_oper) VALUES "
                             "('收银员', ?, '[早班][登录系统]'), ('收银员', ?, '[早班][退出系统]')"),
              {toDbDateTime(QDateTime(QDate(2026, 3, 3), QTime(9, 0))),
               toDbDateTime(QDateTime(QDate(2026, 3, 3), QTime(23, 59, 59)))});
    openData();
    clickLeaf(Tree::Data, QStringLiteral("日志查询"));
    ASSERT_NE(logPanel(), nullptr);
    EXPECT_EQ(logPanel()->fromDate()->date(), clock.today());
    // Today: only this program's own login.
    ASSERT_EQ(logPanel()->grid()->rows().size(), 1);
    EXPECT_EQ(logPanel()->grid()->rows()[0].value(2), QStringLiteral("[登录系统（后台）]"));
    logPanel()->fromDate()->setDate(QDate(2026, 3, 3));
    ASSERT_EQ(logPanel()->grid()->rows().size(), 3);
    EXPECT_EQ(logPanel()->grid()->rows()[1],
              QStringList({"收银员", "2026-03-03 23:59:59", "[早班][退出系统]"}));
    EXPECT_EQ(logPanel()->grid()->rows()[2].value(2), QStringLiteral("[早班][登录系统]"));
    screenshot(QStringLiteral("log-panel"));
    logPanel()->toDate()->setDate(QDate(2026, 3, 2));
    EXPECT_EQ(shown(), QStringList{kLogDatesReversedMessage});
    EXPECT_TRUE(logPanel()->grid()->rows().isEmpty());
}

SORREL_ON_EVERY_ENGINE(DataPanelsTest);

} // namespace
