// The data tree's logic on every engine: the venue's names saved without touching what another
// workstation wrote, the system password as the one check of reverse settlement, repayments and
// the data panels (a quote in it is a character, blanks around it do not count), and the log of
// whole days, newest first.
#include "backoffice/data/registration.h"
#include "backoffice/data/system_log_query.h"
#include "backoffice/members/credit_lists.h"
#include "common/db/errors.h"
#include "common/db_datetime.h"
#include "common/system_password.h"
#include "common/tables/table_refusals.h"
#include "frontdesk/billing/bill_settings.h"
#include "frontdesk/table_life/reverse_settlement.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

using namespace sorrel;
using namespace sorrel::data;

namespace {

class DataLogicTest : public test::EngineTest {
  protected:
    QVariant setting(const QString& column) {
        return db().scalar(QStringLiteral("SELECT %1 FROM SetupPay").arg(column));
    }
    FixedClock clock{QDateTime(QDate(2026, 3, 4), QTime(10, 30))};
};

TEST_P(DataLogicTest, NamesAreHeldToTheirColumnsAndSavedWithoutWhatAnotherDeskWrote) {
    BusinessNames names = BusinessNames::load(db());
    const QString longName = QStringLiteral("湖畔'酒家") + QString(40, QChar(0x5BB6));
    names.set(QStringLiteral("user_name"), longName);
    names.set(QStringLiteral("user_name_s"), QStringLiteral("湖畔酒家湖畔酒家湖畔酒家"));
    names.set(QStringLiteral("user_name_e"), QStringLiteral("Lakeside\tTavern & Grill Co."));
    EXPECT_TRUE(names.changed());

    // Meanwhile a front desk numbers a bill, logs in and settles on new roundings, and the
    // system password is set.
    std::unique_ptr<Database> other = scratch().connectAgain();
    other->exec(QStringLiteral("UPDATE SetupPay SET auto_recn = auto_recn + 3, oper_code = '05', "
                               "pay_set_sum_int = '小数进一'"));
    setSystemPassword(*other, QStringLiteral("13'57"), QStringLiteral(" 13'57 "));
    const int counter = setting("auto_recn").toInt();

    names.save(db());
    EXPECT_EQ(setting("user_name").toString(), longName.left(30));
    EXPECT_EQ(setting("user_name_s").toString(), QStringLiteral("湖畔酒家湖畔酒家湖畔"));
    EXPECT_EQ(setting("user_name_e").toString(), QStringLiteral("Lakeside Tavern & Gr"));
    EXPECT_EQ(setting("auto_recn").toInt(), counter);
    EXPECT_EQ(setting("oper_code").toString(), QStringLiteral("05"));
    EXPECT_EQ(setting("pay_set_sum_int").toString(), QStringLiteral("小数进一"));
    EXPECT_TRUE(systemPasswordMatches(db(), QStringLiteral("13'57")));
    EXPECT_FALSE(names.changed());

    // The telephone changed elsewhere meanwhile: typing another one is refused, nothing
    // written; a name alone goes through beside it.
    names.set(QStringLiteral("user_tele"), QStringLiteral("0571-1111"));
    other->exec(QStringLiteral("UPDATE SetupPay SET user_tele = '0571-2222'"));
    EXPECT_THROW(names.save(db()), StepRefused);
    EXPECT_EQ(setting("user_tele").toString(), QStringLiteral("0571-2222"));
    names = BusinessNames::load(db());
    names.set(QStringLiteral("user_name_s"), QStringLiteral("湖畔"));
    other->exec(QStringLiteral("UPDATE SetupPay SET user_tele = '0571-3333'"));
    names.save(db());
    EXPECT_EQ(setting("user_name_s").toString(), QStringLiteral("湖畔"));
    EXPECT_EQ(setting("user_tele").toString(), QStringLiteral("0571-3333"));
    names.set(QStringLiteral("user_name"), QStringLiteral("丢弃"));
    names.cancel();
    EXPECT_EQ(names.value(QStringLiteral("user_name")), longName.left(30));
}

TEST_P(DataLogicTest, OneSystemPasswordCheckServesReverseSettlementRepaymentsAndTheDataPanels) {
    db().exec(QStringLiteral("UPDATE SetupPay SET work_auto = 0"));
    db().exec(QStringLiteral("INSERT INTO HangGues (hang_gues_code, hang_gues_name, hang_gues_work, "
                             "hang_gues_add, hang_gues_tele, hang_gues_limi, hang_gues_use) "
                             "VALUES ('001', '华联贸易', '华联', '延安路', '0571', 5000, 300)"));
    members::CreditLists credit(db(), clock, [] { return OperatorEntry{"01", "管理员", "", "01"}; });
    ASSERT_TRUE(credit.guests().moveToKey(QStringLiteral("001")));
    const billing::BillSettings settings = billing::BillSettings::load(db());
    const auto reverseTakes = [&](const QString& typed) {
        // No such table: past the password, the table is what refuses.
        try {
            table_life::reverseSettle(db(), QStringLiteral("ZZ9"), 1, typed, settings, clock);
        } catch (const StepRefused& refused) {
            return refused.text() != kWrongSystemPasswordMessage;
        }
        return true;
    };
    const auto repaymentOpens = [&](const QString& typed) {
        try {
            return credit.openRepayments(typed);
        } catch (const StepRefused& refused) {
            EXPECT_EQ(refused.text(), kWrongSystemPasswordMessage);
            return false;
        }
    };

    struct Case {
        const char* stored;
        const char* typed;
        bool matches;
    } cases[] = {
        {"8888", "8888", true},
        {"8888", "  8888 ", true},
        {"8888", "8889", false},
        {"8888", "88 88", false},
        {"8888", "", false},
        {"o'k", "o'k", true},
        {"o'k", "' OR '1'='1", false},
        {"x", "x' OR 'a'='a", false},
        {"", "", true},
        {"", " ", true},
        {"", "8888", false},
    };
    for (const Case& c : cases) {
        setSystemPassword(db(), QString::fromLatin1(c.stored), QString::fromLatin1(c.stored));
        const QString typed = QString::fromLatin1(c.typed);
        EXPECT_EQ(systemPasswordMatches(db(), typed), c.matches) << c.stored << " / " << c.typed;
        EXPECT_EQ(reverseTakes(typed), c.matches) << c.stored << " / " << c.typed;
        EXPECT_EQ(repaymentOpens(typed), c.matches) << c.stored << " / " << c.typed;
    }
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM setupprint")).toInt(), 1);
}

TEST_P(DataLogicTest, ANewSystemPasswordMustBeTypedTheSameTwice) {
    try {
        setSystemPassword(db(), QStringLiteral("1357"), QStringLiteral("1375"));
        ADD_FAILURE() << "set with a different confirmation";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), kSystemPasswordsDifferMessage);
    }
    EXPECT_TRUE(systemPasswordMatches(db(), QStringLiteral("8888")));
    setSystemPassword(db(), QStringLiteral(" 1357"), QStringLiteral("1357 "));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT set_prn_92_fiel FROM setupprint")).toString(),
              QStringLiteral("1357"));
    // No bill layout row at all: nothing matches, and nothing is set.
    db().exec(QStringLiteral("DELETE FROM setupprint"));
    EXPECT_FALSE(systemPasswordMatches(db(), QString()));
    EXPECT_THROW(setSystemPassword(db(), QStringLiteral("1"), QStringLiteral("1")), DbError);
}

TEST_P(DataLogicTest, TheLogListsWholeDaysBothEndsIncludedNewestFirst) {
    const auto log = [&](const QDateTime& at, const QString& text) {
        db().exec(
            QStringLiteral("INSERT INTO systemlog (log_oper_name, log_time, log_oper) VALUES (?, ?, ?)"),
            {QStringLiteral("O'Neil"), toDbDateTime(at), text});
    };
    log(QDateTime(QDate(2026, 3, 2), QTime(23, 59, 59)), QStringLiteral("二日末"));
    log(QDateTime(QDate(2026, 3, 3), QTime(0, 0)), QStringLiteral("三日初"));
    log(QDateTime(QDate(2026, 3, 3), QTime(12, 0)), QStringLiteral("[早班]['; DROP TABLE systemlog;--]"));
    log(QDateTime(QDate(2026, 3, 3), QTime(23, 59, 59)), QStringLiteral("三日末"));
    log(QDateTime(QDate(2026, 3, 4), QTime(0, 0)), QStringLiteral("四日初"));
    const auto actions = [&](const QDate& from, const QDate& to) {
        QStringList texts;
        for (const LogEntry& e : loadSystemLog(db(), from, to))
            texts << e.action;
        return texts;
    };
    EXPECT_EQ(actions(QDate(2026, 3, 3), QDate(2026, 3, 3)),
              QStringList({"三日末", "[早班]['; DROP TABLE systemlog;--]", "三日初"}));
    EXPECT_EQ(actions(QDate(2026, 3, 2), QDate(2026, 3, 4)).size(), 5);
    EXPECT_EQ(actions(QDate(2026, 3, 4), QDate(2026, 3, 4)), QStringList{"四日初"});
    EXPECT_TRUE(actions(QDate(2026, 3, 5), QDate(2026, 3, 9)).isEmpty());
    const QList<LogEntry> one = loadSystemLog(db(), QDate(2026, 3, 2), QDate(2026, 3, 2));
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0].operatorName, QStringLiteral("O'Neil"));
    EXPECT_EQ(one[0].time, QDateTime(QDate(2026, 3, 2), QTime(23, 59, 59)));
    try {
        loadSystemLog(db(), QDate(2026, 3, 4), QDate(2026, 3, 3));
        ADD_FAILURE() << "listed from after to";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), kLogDatesReversedMessage);
    }
}

SORREL_ON_EVERY_ENGINE(DataLogicTest);

TEST(ManagementPasswords, TheDataAndInitialisationPasswordsTrimmedAndNothingElse) {
    using P = ManagementPassword;
    struct Case {
        const char* typed;
        P which;
        QString refusal;
    } cases[] = {
        {"470362", P::Data, {}},
        {" 470362  ", P::Data, {}},
        {"", P::Data, kNoManagementPasswordMessage},
        {"   ", P::Data, kNoManagementPasswordMessage},
        {"470363", P::Data, kWrongManagementPasswordMessage},
        {"583016610385", P::Data, kWrongManagementPasswordMessage},
        {"583016610385", P::Initialisation, {}},
        {"\t583016610385 ", P::Initialisation, {}},
        {"470362", P::Initialisation, kWrongManagementPasswordMessage},
        {"", P::Initialisation, kNoManagementPasswordMessage},
        {"4703 62", P::Data, kWrongManagementPasswordMessage},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(managementPasswordRefusal(QString::fromLatin1(c.typed), c.which), c.refusal) << c.typed;
        EXPECT_EQ(managementPasswordMatches(QString::fromLatin1(c.typed), c.which), c.refusal.isEmpty())
            << c.typed;
    }
    EXPECT_TRUE(managementPasswordMatches(QStringLiteral("470362")));
}

} // namespace
