// Staff levels, their permissions, operators and the floor's areas, groups and commission staff
// as a manager maintains them, and what the logins of either program then find.
#include "backoffice/staff/staff_lists.h"
#include "common/login_session.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

using namespace sorrel;
using namespace sorrel::lists;
using namespace sorrel::staff;

namespace {

const QString kDuplicate = QStringLiteral("编号有重复，请从新输入！");

class StaffTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        db().exec("UPDATE SetupPay SET work_auto = 0");
        lists_ = std::make_unique<StaffLists>(db());
    }
    void TearDown() override {
        lists_.reset();
        EngineTest::TearDown();
    }
    StaffLists& lists() { return *lists_; }
    // A new record of `list` with the values given, saved; the messages it met.
    QStringList saveNew(MaintenanceList& list, const QList<QPair<QString, QString>>& values) {
        sink.shown.clear();
        EXPECT_TRUE(list.append());
        for (const auto& [column, value] : values)
            list.edit(column, value);
        if (!list.save()) list.cancel();
        return sink.texts();
    }
    int count(const QString& sql, const QVariantList& params = {}) {
        return db().scalar(sql, params).toInt();
    }
    int rightsOf(const QString& level, bool granted) {
        return count("SELECT count(*) FROM Limitedlist WHERE mana_code = ? AND limi_real = ?",
                     {level, granted ? 1 : 0});
    }
    bool may(Database& on, const QString& code, const QString& password, const QString& right) {
        LoginSession session(on, clock, Program::BackOffice);
        EXPECT_EQ(session.logInWithoutShift(code, password), LoginResult::Accepted) << code.toStdString();
        return session.limite(right);
    }

    test::ScriptedSink sink;
    FixedClock clock{QDateTime(QDate(2026, 3, 4), QTime(10, 0))};

  private:
    std::unique_ptr<StaffLists> lists_;
};

TEST_P(StaffTest, ANewLevelStartsWithEveryFunctionWithheldUntilGranted) {
    const int functions = count("SELECT count(*) FROM limitedtemp");
    ASSERT_GT(functions, 10);
    // A quote in the code or the name is data like any other letter.
    for (const QString& level : {QStringLiteral("05"), QStringLiteral("0'")}) {
        EXPECT_EQ(saveNew(lists().levels(), {{"mana_code", level}, {"mana_name", "O'Hara's 领班"}}),
                  QStringList());
        EXPECT_EQ(rightsOf(level, false), functions);
        ASSERT_TRUE(lists().levels().moveToKey(level));
        EXPECT_EQ(lists().permissions().rowCount(), functions);
        lists().setAllPermissions(true);
        EXPECT_EQ(rightsOf(level, true), functions);
        lists().setAllPermissions(false);
        EXPECT_EQ(rightsOf(level, false), functions);
    }
    EXPECT_EQ(rightsOf("01", true), functions); // the other levels as they were
    // A duplicate code leaves the other level's rights alone; a blank name is refused first.
    const QList<QPair<QString, QStringList>> refused = {
        {"01", {kDuplicate}}, {"", {QStringLiteral("员工级别[编码]、[名称]不能为空！")}}};
    for (const auto& [code, message] : refused)
        EXPECT_EQ(saveNew(lists().levels(), {{"mana_code", code}, {"mana_name", "重复"}}), message);
    EXPECT_EQ(rightsOf("01", true), functions);
    EXPECT_EQ(count("SELECT count(*) FROM Limitedlist"), 3 * functions);
}

TEST_P(StaffTest, ARecodedLevelKeepsItsRightsAndOperatorsADeletedOneLosesEveryRight) {
    EXPECT_EQ(saveNew(lists().levels(), {{"mana_code", "05"}, {"mana_name", "领班"}}), QStringList());
    ASSERT_TRUE(lists().levels().moveToKey("05"));
    lists().setAllPermissions(true);
    EXPECT_EQ(saveNew(lists().operators(), {{"oper_code", "07"}, {"oper_name", "小李"}, {"oper_pass", "77"}}),
              QStringList());
    LoginSession before(db(), clock, Program::BackOffice);
    ASSERT_EQ(before.logInWithoutShift("07", "77"), LoginResult::Accepted); // SetupPay names 05 now
    ASSERT_TRUE(lists().levels().moveToKey("05"));
    lists().levels().edit("mana_code", "06");
    ASSERT_TRUE(lists().levels().save());
    EXPECT_TRUE(before.limite("OM")); // the manager who re-coded the level keeps its rights
    EXPECT_EQ(rightsOf("05", true), 0);
    EXPECT_EQ(rightsOf("06", true), count("SELECT count(*) FROM limitedtemp"));
    EXPECT_EQ(db().scalar("SELECT mana_code FROM SetupPay").toString(), "06");
    EXPECT_TRUE(may(db(), "07", "77", "OM"));

    ASSERT_TRUE(lists().levels().moveToKey("06"));
    ASSERT_TRUE(lists().levels().remove());
    EXPECT_EQ(count("SELECT count(*) FROM Limitedlist WHERE mana_code = '06'"), 0);
    EXPECT_EQ(db().scalar("SELECT mana_code FROM operatorlist WHERE oper_code = '07'").toString(), "06");
    for (const char* right : {"OM", "MM", "PM", "SS", "DP", "AP"})
        EXPECT_FALSE(may(db(), "07", "77", right)) << right;
}

TEST_P(StaffTest, AGrantTurnsOverOnEachDoubleClickAndCountsAtTheNextCheckElsewhere) {
    ASSERT_TRUE(lists().levels().moveToKey("01"));
    MaintenanceList& rights = lists().permissions();
    const int om = rights.rows().locate({{"limi_code", "OM"}});
    ASSERT_GE(om, 0);
    ASSERT_TRUE(rights.moveTo(om));
    auto desk = scratch().connectAgain();
    LoginSession other(*desk, clock, Program::BackOffice);
    ASSERT_EQ(other.logInWithoutShift("01", "1234"), LoginResult::Accepted);
    EXPECT_TRUE(other.limite("OM"));
    ASSERT_TRUE(lists().togglePermission());
    EXPECT_FALSE(other.limite("OM")); // the other session, logged in before, asks again
    ASSERT_TRUE(lists().togglePermission());
    EXPECT_TRUE(other.limite("OM"));
    EXPECT_EQ(rightsOf("01", false), 0);
}

TEST_P(StaffTest, AnOperatorNeedsCodeNameAndPasswordAndIsStoredAsTheLoginReadsIt) {
    ASSERT_TRUE(lists().levels().moveToKey("01"));
    const QString required = QStringLiteral("员工[编码]、[名称]、[密码]不能为空！");
    struct Case {
        const char* code;
        const char* name;
        const char* password;
        QStringList messages;
    } cases[] = {
        {"07", "小李", "", {required}},  {"07", "小李", "   ", {required}},
        {" ", "小李", "77", {required}}, {"01", "小李", "77", {kDuplicate}},
        {" 07", "O'Hara ", "77 ", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(saveNew(lists().operators(),
                          {{"oper_code", c.code}, {"oper_name", c.name}, {"oper_pass", c.password}}),
                  c.messages)
            << c.code << "/" << c.password;
    const RecordSet stored = db().query("SELECT oper_code, oper_name, oper_pass, mana_code FROM operatorlist "
                                        "WHERE oper_name LIKE 'O%'");
    ASSERT_EQ(stored.rowCount(), 1);
    EXPECT_EQ(stored.text(0, "oper_code") + "|" + stored.text(0, "oper_name") + "|" +
                  stored.text(0, "oper_pass") + "|" + stored.text(0, "mana_code"),
              "07|O'Hara|77|01");
    // Typed at the login with the blank it was given.
    LoginSession session(db(), clock, Program::BackOffice);
    EXPECT_EQ(session.logInWithoutShift("07", "77 "), LoginResult::Accepted);
}

TEST_P(StaffTest, AnAreaWithGroupsAndAGroupWithStaffKeepTheirCodesAndStay) {
    db().exec("INSERT INTO AreaList (area_code, area_name, area_rema) VALUES ('1', '前厅', ' '), ('2', "
              "'后区', ' ')");
    db().exec("INSERT INTO Grouplist (grou_code, grou_name, area_code) VALUES ('01', '迎宾组', '1'), "
              "('02', '空组', '1')");
    db().exec("INSERT INTO deduoperatorlist (dedu_oper_code, dedu_oper_name, grou_code) VALUES ('001', "
              "'张丽', '01')");
    lists().areas().reload();
    struct Case {
        MaintenanceList* list;
        QString key;
        QString column;
        QString newCode;
        QStringList messages; // on the change, then on the delete; empty: both allowed
    } cases[] = {
        {&lists().groups(),
         "01",
         "grou_code",
         "09",
         {QStringLiteral("[分组]下面设有[提成员工]，所以不能被修改！"),
          QStringLiteral("[分组]下面设有[提成员工]，所以不能被删除！")}},
        {&lists().areas(),
         "1",
         "area_code",
         "9",
         {QStringLiteral("[分区]下面设有[分组]，所以不能被修改！"),
          QStringLiteral("[分区]下面设有[分组]，所以不能被删除！")}},
        {&lists().groups(), "02", "grou_code", "08", {}},
        {&lists().areas(), "2", "area_code", "8", {}},
    };
    for (const Case& c : cases) {
        sink.shown.clear();
        lists().areas().reload();
        ASSERT_TRUE(lists().areas().moveToKey(c.list == &lists().groups() ? QStringLiteral("1") : c.key));
        ASSERT_TRUE(c.list->moveToKey(c.key));
        const bool changed = c.list->edit(c.column, c.newCode) && c.list->save();
        EXPECT_EQ(changed, c.messages.isEmpty()) << c.key.toStdString();
        EXPECT_TRUE(c.list->remove() == c.messages.isEmpty()) << c.key.toStdString();
        EXPECT_EQ(sink.texts(), c.messages);
    }
    EXPECT_EQ(count("SELECT count(*) FROM Grouplist WHERE area_code = '1'"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM AreaList"), 1);
    // A commission staff member belongs to the group current when it was added.
    ASSERT_TRUE(lists().areas().moveToKey("1"));
    ASSERT_TRUE(lists().groups().moveToKey("01"));
    EXPECT_EQ(saveNew(lists().commission(), {{"dedu_oper_code", "002"}, {"dedu_oper_name", ""}}),
              QStringList{QStringLiteral("提成员工[编码]、[名称]不能为空！")});
    EXPECT_EQ(saveNew(lists().commission(), {{"dedu_oper_code", "002"}, {"dedu_oper_name", "王芳"}}),
              QStringList());
    EXPECT_EQ(db().scalar("SELECT grou_code FROM deduoperatorlist WHERE dedu_oper_code = '002'").toString(),
              "01");
}

SORREL_ON_EVERY_ENGINE(StaffTest);

} // namespace
