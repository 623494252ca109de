// Member types, members and their cards' top-ups as a manager maintains them while the front
// desk charges the same cards: what a card holds afterwards, and what goes with a card.
#include "backoffice/members/member_lists.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <limits>
#include <optional>

using namespace sorrel;
using namespace sorrel::lists;
using namespace sorrel::members;

namespace {

const QString kSeries = QStringLiteral("岚舟管理系列");

class MembersTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        db().exec("UPDATE SetupPay SET work_auto = 0, oper_code = '01'");
        db().exec(
            "INSERT INTO membType (memb_type_code, memb_Type_name, memb_type_disc_perc, memb_type_allo_time, "
            "memb_type_time) VALUES ('01', '金卡', 88, 1, 365), ('02', '空类', 100, 0, 0)");
        db().exec(
            "INSERT INTO MemberList (memb_card_code, memb_type_code, memb_pass, memb_name, memb_work, "
            "memb_add, "
            "memb_tele, memb_card_type, memb_surp, memb_use, memb_stor, memb_stor_temp) VALUES "
            "('880001', '01', '123456', '林晓雯', '西湖科技', '文三路', '139', '储值卡', 2000, 0, 0, 0), "
            "('990001', '01', '654321', '周建国', '之江建设', '之江路', '136', '积分卡', 0, 0, 0, 5)");
        open();
    }
    void TearDown() override {
        lists_.reset();
        EngineTest::TearDown();
    }
    void open(OperatorSource who = [] { return OperatorEntry{"01", "管理员", "1234", "01"}; }) {
        lists_.reset();
        lists_ = std::make_unique<MemberLists>(db(), clock, std::move(who));
    }
    MemberLists& lists() { return *lists_; }
    // One entry on the card through the top-up panel; the messages it met.
    QStringList topUp(const QString& card, const QString& money, const QString& points = {}) {
        sink.shown.clear();
        EXPECT_TRUE(lists().members().moveToKey(card));
        EXPECT_TRUE(lists().openTopUps(points.isEmpty() ? MemberLists::TopUpKind::Money
                                                        : MemberLists::TopUpKind::Points));
        EXPECT_TRUE(lists().topUps().append());
        lists().enterTopUp("memb_mana_save", money);
        lists().enterTopUp("memb_mana_inte", points);
        lists().topUps().save();
        lists().topUps().definition().leaveStep();
        return sink.texts();
    }
    double card(const QString& code, const char* column) {
        return db()
            .scalar(QStringLiteral("SELECT %1 FROM MemberList WHERE memb_card_code = ?")
                        .arg(QLatin1String(column)),
                    {code})
            .toDouble();
    }
    int entries(const QString& code) {
        return db().scalar("SELECT count(*) FROM membManage WHERE memb_card_code = ?", {code}).toInt();
    }

    test::ScriptedSink sink;
    FixedClock clock{QDateTime(QDate(2026, 3, 4), QTime(10, 0))};

  private:
    std::unique_ptr<MemberLists> lists_;
};

// Every number a manager types, or a step sets without a field, meets what its column holds: a
// discount from 0 to 100, a price that is a real amount, a whole number within its type. A bad
// one is refused as mistyped ("输入的数值无效") and the record keeps what it held.
TEST_P(MembersTest, ANumberOutsideWhatItsColumnHoldsIsRefusedAsMistyped) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        bool memberType; // else the member 880001
        QString column;
        QVariant value;
        std::optional<double> stored; // none: refused
    } cases[] = {
        {"a discount typed", false, "memb_disc_perc", "95", 95},
        {"a discount of nothing", false, "memb_disc_perc", "0", 0},
        {"a discount below nothing", false, "memb_disc_perc", "-5", {}},
        {"a discount above the price", false, "memb_disc_perc", "150", {}},
        {"a discount typed as NaN", false, "memb_disc_perc", "NaN", {}},
        {"a discount typed as 1e308", false, "memb_disc_perc", "1e308", {}},
        {"a discount set as NaN", false, "memb_disc_perc", nan, {}},
        {"a discount set as 1e308", false, "memb_disc_perc", 1e308, {}},
        {"a type's discount below nothing", true, "memb_type_disc_perc", "-1", {}},
        {"a type's discount", true, "memb_type_disc_perc", "90", 90},
        {"a price typed", true, "memb_type_pric", "12.5", 12.5},
        {"a price set as NaN", true, "memb_type_pric", nan, {}},
        {"a price typed as NaN", true, "memb_type_pric", "NaN", {}},
        {"a price set beyond any amount", true, "memb_type_pric", 1e308, {}},
        {"a price of twenty digits", true, "memb_type_pric", QString(20, QLatin1Char('9')), {}},
        {"a validity beyond a whole number", true, "memb_type_time", "99999999999", {}},
    };
    for (const auto& c : cases) {
        open();
        MaintenanceList& list = c.memberType ? lists().types() : lists().members();
        ASSERT_TRUE(list.moveToKey(c.memberType ? "01" : "880001")) << c.what;
        const QString table = c.memberType ? "membType" : "MemberList";
        const QString key = c.memberType ? "memb_type_code = '01'" : "memb_card_code = '880001'";
        const QVariant before =
            db().scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(c.column, table, key));
        if (c.stored) {
            ASSERT_TRUE(list.edit(c.column, c.value)) << c.what;
            ASSERT_TRUE(list.save()) << c.what;
            EXPECT_EQ(db().scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(c.column, table, key))
                          .toDouble(),
                      *c.stored)
                << c.what;
        } else {
            try {
                list.edit(c.column, c.value);
                ADD_FAILURE() << c.what << " was taken";
            } catch (const InvalidInput& e) {
                EXPECT_EQ(classifyErrorText(QString::fromUtf8(e.what())), InputErrorKind::InvalidNumber)
                    << c.what;
            }
            list.save();
            EXPECT_EQ(db().scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(c.column, table, key)),
                      before)
                << c.what;
        }
    }
}

TEST_P(MembersTest, AnEntryMovesTheCardByItsAmountAndTheBalanceNeverBelowZero) {
    struct Case {
        const char* card;
        const char* money;
        const char* points;
        QStringList messages;
        double balance;
        double pointsAfter;
    } cases[] = {
        {"880001", "0", "", {QStringLiteral("续钱金额或积分增减不能为零！")}, 2000, 0},
        {"880001", "-", "", {QStringLiteral("续钱金额或积分增减不能为零！")}, 2000, 0}, // not a number: 0
        {"880001", "500", "", {}, 2500, 0},
        {"880001", "-2600", "", {QStringLiteral("扣减后剩余金额不能小于零，请重新输入！")}, 2500, 0},
        {"880001", "-2500", "", {}, 0, 0},
        {"990001", "", "100", {}, 0, 105}, // the card's base of 5 counts
        {"990001", "", "-30", {}, 0, 75},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(topUp(c.card, c.money, c.points), c.messages) << c.card << " " << c.money << c.points;
        EXPECT_EQ(card(c.card, "memb_surp"), c.balance) << c.money;
        EXPECT_EQ(card(c.card, "memb_stor"), c.pointsAfter) << c.points;
    }
    EXPECT_EQ(topUp("880001", "0").size(), 1);
    EXPECT_EQ(sink.shown.first().title, kSeries);
    EXPECT_EQ(entries("880001"), 2);
}

TEST_P(MembersTest, AStoredEntryCannotBeChangedAndEmptyOnesAreClearedOnOpening) {
    db().exec(
        "INSERT INTO membManage (memb_card_code, memb_card_type, memb_mana_save, memb_mana_inte) VALUES "
        "('880001', '储值卡', 0, 0), ('880001', '储值卡', 200, 0)");
    ASSERT_TRUE(lists().members().moveToKey("880001"));
    ASSERT_TRUE(lists().openTopUps(MemberLists::TopUpKind::Money));
    MaintenanceList& e = lists().topUps();
    ASSERT_EQ(e.rowCount(), 1);
    EXPECT_FALSE(e.edit("memb_mana_save", 900.0));
    EXPECT_EQ(sink.texts(), QStringList{QStringLiteral("只能增加，不能被修改！")});
    EXPECT_EQ(sink.shown.first().title, kSeries);
    EXPECT_EQ(e.value("memb_mana_save").toDouble(), 200.0);
    EXPECT_EQ(db().scalar("SELECT sum(memb_mana_save) FROM membManage").toDouble(), 200.0);
    EXPECT_EQ(card("880001", "memb_surp"), 2000.0); // opening changes no balance
}

TEST_P(MembersTest, WhatTheFrontDeskChargedMeanwhileIsNeverLost) {
    ASSERT_TRUE(lists().members().moveToKey("880001"));
    lists().members().edit("memb_tele", "13900000000");
    auto desk = scratch().connectAgain();
    desk->exec("UPDATE MemberList SET memb_surp = memb_surp - 300, memb_use = memb_use + 300 "
               "WHERE memb_card_code = '880001'");
    ASSERT_TRUE(lists().members().save());
    EXPECT_EQ(card("880001", "memb_surp"), 1700.0);
    desk->exec("UPDATE MemberList SET memb_surp = memb_surp - 300, memb_use = memb_use + 300 "
               "WHERE memb_card_code = '880001'");
    EXPECT_EQ(topUp("880001", "500"), QStringList());
    EXPECT_EQ(card("880001", "memb_surp"), 1900.0);
    EXPECT_EQ(card("880001", "memb_use"), 600.0);
    EXPECT_EQ(lists().members().value("memb_surp").toDouble(), 1900.0); // shown as it stands
    // An entry typed but not saved when the manager leaves is dropped; the saved one stays.
    ASSERT_TRUE(lists().openTopUps(MemberLists::TopUpKind::Money));
    ASSERT_TRUE(lists().topUps().append());
    lists().enterTopUp("memb_mana_save", "100");
    lists().topUps().definition().leaveStep();
    EXPECT_EQ(entries("880001"), 1);
    EXPECT_EQ(card("880001", "memb_surp"), 1900.0);
}

TEST_P(MembersTest, ACardsEntriesGoWithItsNumberAndAreRemovedWithIt) {
    EXPECT_EQ(topUp("990001", "", "40"), QStringList());
    MaintenanceList& m = lists().members();
    ASSERT_TRUE(m.moveToKey("990001"));
    m.edit("memb_card_code", "990002");
    ASSERT_TRUE(m.save());
    EXPECT_EQ(entries("990002"), 1);
    EXPECT_EQ(topUp("990002", "", "10"), QStringList());
    EXPECT_EQ(card("990002", "memb_stor"), 55.0);
    ASSERT_TRUE(m.moveToKey("990002"));
    ASSERT_TRUE(m.remove());
    EXPECT_EQ(entries("990002"), 0);
    // A card with money left stays, even when the money arrived after the list was read.
    db().exec("UPDATE MemberList SET memb_surp = 0");
    m.reload();
    auto desk = scratch().connectAgain();
    desk->exec("UPDATE MemberList SET memb_surp = 0.01 WHERE memb_card_code = '880001'");
    ASSERT_TRUE(m.moveToKey("880001"));
    sink.shown.clear();
    EXPECT_FALSE(m.remove());
    EXPECT_EQ(sink.texts(), QStringList{QStringLiteral("此会员卡还有剩余金额，所以不能被删除！")});
}

TEST_P(MembersTest, AMemberTypeInUseKeepsItsCodeAndStays) {
    MaintenanceList& t = lists().types();
    const QString change = QStringLiteral("[会员类别]正在被会员使用，所以不能被修改！");
    const QString remove = QStringLiteral("[会员类别]正在被会员使用，所以不能被删除！");
    const struct {
        const char* type;
        QStringList messages;
    } cases[] = {{"01", {change, remove}}, {"02", {}}};
    for (const auto& c : cases) {
        sink.shown.clear();
        ASSERT_TRUE(t.moveToKey(c.type));
        const bool changed = t.edit("memb_type_code", "09") && t.save();
        EXPECT_EQ(changed, c.messages.isEmpty());
        EXPECT_EQ(t.remove(), c.messages.isEmpty());
        EXPECT_EQ(sink.texts(), c.messages);
    }
    EXPECT_EQ(db().scalar("SELECT count(*) FROM membType").toInt(), 1);
}

TEST_P(MembersTest, ANewMemberNeedsEveryDetailAndTakesItsTypesDiscount) {
    MaintenanceList& m = lists().members();
    ASSERT_TRUE(m.append());
    for (const auto& [column, value] : QList<QPair<QString, QString>>{{"memb_card_code", "880002"},
                                                                      {"memb_name", "王五"},
                                                                      {"memb_work", "某公司"},
                                                                      {"memb_add", "某路"},
                                                                      {"memb_tele", "135"},
                                                                      {"memb_type_code", "01"}})
        m.edit(column, value);
    EXPECT_FALSE(m.save());
    EXPECT_EQ(sink.texts(),
              QStringList{QStringLiteral(
                  "会员[卡号]、[会员类型]、[卡类型]、[姓名]、[工作单位]、[地址]、[电话]不能为空！")});
    m.edit("memb_pass", "1");
    EXPECT_TRUE(m.save());
    EXPECT_EQ(card("880002", "memb_disc_perc"), 88.0);
    EXPECT_EQ(db().scalar("SELECT memb_time_end FROM MemberList WHERE memb_card_code = '880002'").toDate(),
              QDate(2027, 3, 4));
}

TEST_P(MembersTest, AnEntryRecordsThisProgramsOperator) {
    auto desk = scratch().connectAgain();
    LoginSession here(db(), clock, Program::BackOffice);
    ASSERT_EQ(here.logInWithoutShift("01", "1234"), LoginResult::Accepted);
    db().exec("INSERT INTO operatorlist (oper_code, oper_name, oper_pass, mana_code) VALUES ('02', '收银员', "
              "'2222', "
              "'01')");
    LoginSession there(*desk, clock, Program::FrontDesk);
    ASSERT_EQ(there.logIn("1", "02", "2222"), LoginResult::Accepted);
    ASSERT_EQ(db().scalar("SELECT oper_code FROM SetupPay").toString(), "02");
    open([&here] { return *here.currentOperator(); });
    EXPECT_EQ(topUp("880001", "50"), QStringList());
    EXPECT_EQ(db().scalar("SELECT oper_code || oper_name FROM membManage").toString(),
              QStringLiteral("01管理员"));
}

SORREL_ON_EVERY_ENGINE(MembersTest);

} // namespace
