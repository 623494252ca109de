// Logging in at the front desk: who gets in, what the settings row and the system log say
// afterwards, password changes, re-login and the permission check.
#include "common/db/errors.h"
#include "common/login_session.h"
#include "common/permissions.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/staff_seed.h"
#include "tests/support/test_database.h"

using namespace sorrel;

namespace {

const QDateTime kMorning(QDate(2026, 3, 4), QTime(9, 30, 5));

class LoginTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        test::seedStaffAndSettings(db());
    }
    QStringList logTexts() { return test::logTexts(db()); }
    QString setupText(const char* column) {
        return db().scalar(QStringLiteral("SELECT %1 FROM SetupPay").arg(QLatin1String(column))).toString();
    }

    FixedClock clock{kMorning};
    test::ScriptedSink sink;
};

TEST_P(LoginTest, OnlyAKnownOperatorWithAShiftGetsIn) {
    struct Case {
        const char* shift;
        const char* code;
        const char* password;
        LoginResult expected;
    } cases[] = {
        {"", "01", "1234", LoginResult::NoShift},
        {"1", "01", "0000", LoginResult::UnknownOperator},
        {"1", "09", "1234", LoginResult::UnknownOperator},
        {"1", "02", "1234", LoginResult::UnknownOperator}, // another operator's password
        {"1", "", "", LoginResult::UnknownOperator},
        {"1", "1", "1234", LoginResult::UnknownOperator},
        {"1", "01", "1234 x", LoginResult::UnknownOperator},
    };
    for (const Case& c : cases) {
        LoginSession session(db(), clock);
        EXPECT_EQ(session.logIn(QString::fromUtf8(c.shift), QString::fromUtf8(c.code),
                                QString::fromUtf8(c.password)),
                  c.expected)
            << c.code << "/" << c.password;
        EXPECT_FALSE(session.loggedIn());
    }
    // A refused login changes nothing and logs nothing.
    EXPECT_EQ(setupText("oper_code"), QString());
    EXPECT_TRUE(logTexts().isEmpty());
}

TEST_P(LoginTest, AcceptedLoginRecordsOperatorLevelShiftAndMoment) {
    LoginSession session(db(), clock);
    ASSERT_EQ(session.logIn(QStringLiteral("2"), QStringLiteral("  02 "), QStringLiteral("\t2222  ")),
              LoginResult::Accepted);
    EXPECT_TRUE(session.loggedIn());
    EXPECT_EQ(setupText("oper_code"), QStringLiteral("02"));
    EXPECT_EQ(setupText("mana_code"), QStringLiteral("02"));
    EXPECT_EQ(setupText("orde_code"), QStringLiteral("2"));
    EXPECT_EQ(setupText("time_star"), QStringLiteral("2026-03-04 09:30:05"));
    EXPECT_EQ(session.shiftName(), QStringLiteral("晚班"));
    EXPECT_EQ(session.operatorCaption(), QStringLiteral("【操作员：收银员】"));
    EXPECT_EQ(session.userCaption(), QStringLiteral("【用户：岚舟茶餐厅】"));

    const RecordSet log =
        db().query(QStringLiteral("SELECT log_oper_name, log_time, log_oper FROM systemlog"));
    ASSERT_EQ(log.rowCount(), 1);
    EXPECT_EQ(log.text(0, "log_oper_name"), QStringLiteral("收银员"));
    EXPECT_EQ(log.text(0, "log_time"), QStringLiteral("2026-03-04 09:30:05"));
    EXPECT_EQ(log.text(0, "log_oper"), QStringLiteral("[晚班][登录系统]"));
}

TEST_P(LoginTest, ShiftIsEmptiedAtStartAndAtReloginSoExitLogsEmptyBrackets) {
    {
        LoginSession session(db(), clock); // the stored row still says shift 1
        EXPECT_EQ(session.shiftName(), QString());
        session.logExit();
    }
    clock.advanceSeconds(1);
    LoginSession session(db(), clock);
    ASSERT_EQ(session.logIn(QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("1234")),
              LoginResult::Accepted);
    clock.advanceSeconds(60);
    session.relogin();
    EXPECT_EQ(session.shiftName(), QString());
    clock.advanceSeconds(60);
    session.logExit();
    EXPECT_EQ(logTexts(),
              (QStringList{QStringLiteral("[][退出系统]"), QStringLiteral("[早班][登录系统]"),
                           QStringLiteral("[早班][退出系统,重新登录]"), QStringLiteral("[][退出系统]")}));
}

TEST_P(LoginTest, PasswordChangeNeedsIdentityAndAConfirmedNewPassword) {
    LoginSession session(db(), clock);
    // The key button takes the login box's fields exactly as typed.
    EXPECT_FALSE(session.identifyForPasswordChange(QStringLiteral("01"), QStringLiteral("12345")));
    EXPECT_FALSE(session.identifyForPasswordChange(QStringLiteral(" 01"), QStringLiteral("1234")));
    ASSERT_TRUE(session.identifyForPasswordChange(QStringLiteral("01"), QStringLiteral("1234")));
    EXPECT_EQ(setupText("oper_code"), QStringLiteral("01"));

    struct Case {
        const char* code;
        const char* password;
        const char* fresh;
        const char* confirmation;
    } refused[] = {
        {"01", "9999", "5678", "5678"}, {"07", "1234", "5678", "5678"}, {"01", "1234", "", ""},
        {"01", "1234", "   ", "   "},   {"01", "1234", "5678", "5679"}, {"01", "1234", "5678", ""},
    };
    for (const Case& c : refused)
        EXPECT_FALSE(session.changePassword(QString::fromUtf8(c.code), QString::fromUtf8(c.password),
                                            QString::fromUtf8(c.fresh), QString::fromUtf8(c.confirmation)))
            << c.code << "/" << c.fresh << "/" << c.confirmation;
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT oper_pass FROM operatorlist WHERE oper_code = '01'")).toString(),
        QStringLiteral("1234"));
    EXPECT_TRUE(logTexts().isEmpty());

    ASSERT_TRUE(session.changePassword(QStringLiteral(" 01 "), QStringLiteral("1234 "),
                                       QStringLiteral(" 5678 "), QStringLiteral("5678")));
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT oper_pass FROM operatorlist WHERE oper_code = '01'")).toString(),
        QStringLiteral("5678"));
    EXPECT_EQ(logTexts(), QStringList{QStringLiteral("[管理员][密码修改]")});
    // The running program takes the new password at once and refuses the old one.
    EXPECT_EQ(session.logIn(QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("1234")),
              LoginResult::UnknownOperator);
    EXPECT_EQ(session.logIn(QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("5678")),
              LoginResult::Accepted);
}

TEST_P(LoginTest, PermissionNeedsAYesRowForTheLevelAndNamesTheCodeWhenRefused) {
    struct Case {
        const char* level;
        const char* code;
        bool allowed;
    } cases[] = {
        {"01", "BE", true}, {"02", "BE", true}, {"02", "PS", false}, {"02", "DP", false}, {"", "BE", false},
    };
    for (const Case& c : cases) {
        sink.shown.clear();
        EXPECT_EQ(limite(db(), QString::fromUtf8(c.level), QString::fromUtf8(c.code)), c.allowed)
            << c.level << " " << c.code;
        if (c.allowed) {
            EXPECT_TRUE(sink.shown.isEmpty());
        } else {
            ASSERT_EQ(sink.shown.size(), 1);
            EXPECT_EQ(sink.shown[0].text,
                      QString::fromUtf8(c.code) +
                          QStringLiteral("你没有操作此项功能的权限，请与系统管理员联系！"));
        }
    }
    // The session asks for the level of its own login.
    LoginSession session(db(), clock);
    ASSERT_EQ(session.logIn(QStringLiteral("1"), QStringLiteral("02"), QStringLiteral("2222")),
              LoginResult::Accepted);
    EXPECT_FALSE(session.limite(QStringLiteral("PS")));
    ASSERT_EQ(session.logIn(QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("1234")),
              LoginResult::Accepted);
    EXPECT_TRUE(session.limite(QStringLiteral("PS")));
}

TEST_P(LoginTest, FirstLoginOfANewDayRollsTheDayOverOnlyOnce) {
    db().exec(
        QStringLiteral("UPDATE SetupPay SET work_auto = 1, pay_star = 1, time_work = '2026-03-03 00:00:00', "
                       "time_end = '2026-03-02 23:50:00'"));
    db().exec(QStringLiteral("INSERT INTO OtherIncomeList (othe_inco_code, othe_inco_name, othe_inco_mone) "
                             "VALUES ('01', '停车费', 40)"));
    LoginSession first(db(), clock);
    QList<int> steps;
    ASSERT_EQ(first.logIn(QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("1234"),
                          [&](int p) { steps << p; }),
              LoginResult::Accepted);
    EXPECT_EQ(first.lastRollover(), RolloverOutcome::DayEndedAndStarted);
    EXPECT_EQ(first.settings().timeWork.date(), kMorning.date());
    EXPECT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.last(), 100);

    clock.advanceSeconds(3600);
    LoginSession second(db(), clock);
    ASSERT_EQ(second.logIn(QStringLiteral("2"), QStringLiteral("02"), QStringLiteral("2222")),
              LoginResult::Accepted);
    EXPECT_EQ(second.lastRollover(), RolloverOutcome::NotDue);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM AllOtherInCome")).toInt(), 1);
}

TEST_P(LoginTest, BackOfficeLetsInOnlyAKnownOperatorAndPasswordAsTyped) {
    struct Case {
        const char* code;
        const char* password;
        bool accepted;
    } cases[] = {
        {"01", "0000", false},  {"09", "1234", false}, {"' or '1'='1", "' or '1'='1", false},
        {"01' --", "x", false}, {"", "", false},       {"  01 ", " 1234\t", true},
    };
    for (const Case& c : cases) {
        LoginSession session(db(), clock, Program::BackOffice);
        EXPECT_EQ(session.logInWithoutShift(QString::fromUtf8(c.code), QString::fromUtf8(c.password)) ==
                      LoginResult::Accepted,
                  c.accepted)
            << c.code << "/" << c.password;
        EXPECT_EQ(session.loggedIn(), c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(setupText("oper_code"), QString()) << c.code;
        }
    }
    // The front desk's shift and login moment stay as they were; the log names the back office.
    EXPECT_EQ(setupText("oper_code"), QStringLiteral("01"));
    EXPECT_EQ(setupText("mana_code"), QStringLiteral("01"));
    EXPECT_EQ(setupText("orde_code"), QStringLiteral("1"));
    EXPECT_EQ(setupText("time_star"), QStringLiteral("2026-03-04 09:00:00"));
    EXPECT_EQ(logTexts(), QStringList{QStringLiteral("[登录系统（后台）]")});
}

TEST_P(LoginTest, BackOfficeStatusRightsAndLogStayWithItsOwnLogin) {
    LoginSession session(db(), clock, Program::BackOffice);
    ASSERT_EQ(session.logInWithoutShift(QStringLiteral("02"), QStringLiteral("2222")), LoginResult::Accepted);
    EXPECT_EQ(session.operatorCaption(), QStringLiteral("【操作员：收银员】"));
    EXPECT_EQ(session.userCaption(), QStringLiteral("【用户：岚舟茶餐厅】"));
    EXPECT_EQ(session.businessDateCaption(), QStringLiteral("【营业日期：2026-03-04】"));

    // A front desk elsewhere logs the administrator in: our rights and log rows stay the cashier's.
    LoginSession desk(db(), clock);
    ASSERT_EQ(desk.logIn(QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("1234")),
              LoginResult::Accepted);
    sink.shown.clear();
    EXPECT_FALSE(session.limite(QStringLiteral("PS")));
    EXPECT_TRUE(session.limite(QStringLiteral("BE")));
    EXPECT_EQ(sink.texts(), QStringList{QStringLiteral("你没有操作此项功能的权限，请与系统管理员联系！")});
    clock.advanceSeconds(60);
    session.logExit();
    const RecordSet log =
        db().query(QStringLiteral("SELECT log_oper_name, log_oper FROM systemlog ORDER BY log_time"));
    ASSERT_EQ(log.rowCount(), 3);
    EXPECT_EQ(log.text(2, "log_oper_name"), QStringLiteral("收银员"));
    EXPECT_EQ(log.text(2, "log_oper"), QStringLiteral("[退出系统（后台）]"));
}

TEST_P(LoginTest, BackOfficeRollsTheDayOverInOneTransaction) {
    db().exec(
        QStringLiteral("UPDATE SetupPay SET work_auto = 1, pay_star = 1, time_work = '2026-03-03 00:00:00', "
                       "time_end = '2026-03-02 23:50:00'"));
    db().exec(QStringLiteral("INSERT INTO OtherIncomeList (othe_inco_code, othe_inco_name, othe_inco_mone) "
                             "VALUES ('01', '停车费', 40)"));
    {
        // The archive of other income cannot be written: nothing of the rollover stays.
        db().exec(QStringLiteral("ALTER TABLE AllOtherInCome RENAME TO AllOtherInComeAway"));
        LoginSession session(db(), clock, Program::BackOffice);
        try {
            session.logInWithoutShift(QStringLiteral("01"), QStringLiteral("1234"));
            ADD_FAILURE() << "the rollover went through";
        } catch (const CodedFailure& failure) {
            EXPECT_EQ(failure.code(), QStringLiteral("A100011"));
        }
        EXPECT_EQ(setupText("time_work"), QStringLiteral("2026-03-03 00:00:00"));
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT othe_inco_mone FROM OtherIncomeList")).toDouble(), 40.0);
        db().exec(QStringLiteral("ALTER TABLE AllOtherInComeAway RENAME TO AllOtherInCome"));
    }
    LoginSession session(db(), clock, Program::BackOffice);
    QList<int> steps;
    ASSERT_EQ(
        session.logInWithoutShift(QStringLiteral("01"), QStringLiteral("1234"), [&](int p) { steps << p; }),
        LoginResult::Accepted);
    EXPECT_EQ(session.lastRollover(), RolloverOutcome::DayEndedAndStarted);
    EXPECT_EQ(session.businessDateCaption(), QStringLiteral("【营业日期：2026-03-04】"));
    EXPECT_EQ(steps.value(steps.size() - 1), 100);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM AllOtherInCome")).toInt(), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT othe_inco_mone FROM OtherIncomeList")).toDouble(), 0.0);
}

SORREL_ON_EVERY_ENGINE(LoginTest);

} // namespace
