// Settling through the checkout on both engines: what the settle transaction writes, that a
// failure inside it leaves everything as it was, two cash desks at once, and long names.
#include "common/tables/table_refusals.h"
#include "frontdesk/checkout/checkout.h"
#include "frontdesk/table_life/reopening.h"
#include "frontdesk/table_life/table_moves.h"
#include "tests/frontdesk/checkout/checkout_fixture.h"
#include "tests/support/failing_database.h"

#include <algorithm>
#include <functional>

using namespace sorrel;
using namespace sorrel::checkout;

namespace {

class SettleTest : public test::CheckoutTest {
  protected:
    // A1 with a bill of 595 in checkout.
    std::unique_ptr<CheckoutSession> checkoutOf595(Database& on,
                                                   const QString& table = QStringLiteral("A01")) {
        const int bill = openTable(table);
        addLine(on, bill, QStringLiteral("102001"), 1, 595);
        auto s = std::make_unique<CheckoutSession>(on, clock);
        s->enter(table);
        return s;
    }
    QString stateOfTable(const QString& code) {
        return scalar(QStringLiteral("SELECT tabl_stat_code FROM TableList WHERE tabl_code = ?"), {code})
            .toString();
    }
    QList<int> lineRates(int bill) {
        const RecordSet rs = db().query(
            QStringLiteral("SELECT disc_clas_perc FROM TableConsList WHERE tabl_gues_auto_recn = ?"), {bill});
        QList<int> rates;
        for (int i = 0; i < rs.rowCount(); ++i)
            rates << int(rs.integer(i, "disc_clas_perc"));
        return rates;
    }
    // The bill's payment rows as "code=amount", by code.
    QStringList paymentsOf(int bill) {
        const RecordSet pays = db().query(
            QStringLiteral(
                "SELECT pay_type_code, pay_type_mone FROM tableguespay WHERE tabl_gues_auto_recn = ? "
                "ORDER BY pay_type_code"),
            {bill});
        QStringList paid;
        for (int i = 0; i < pays.rowCount(); ++i)
            paid << pays.text(i, "pay_type_code") + QLatin1Char('=') +
                        QString::number(pays.number(i, "pay_type_mone"));
        return paid;
    }
    // What settling may change, as one comparable text.
    QString everythingOf(int bill) {
        QStringList parts;
        for (const char* sql : {"SELECT tabl_gues_stat, tabl_gues_fact, memb_mone, hang_mone, oper_name FROM "
                                "TableGuestlist WHERE "
                                "tabl_gues_auto_recn = ?",
                                "SELECT tabl_gues_end, kind_name, disc_clas_perc FROM TableConsList WHERE "
                                "tabl_gues_auto_recn = ?",
                                "SELECT count(*) FROM tableguespay WHERE tabl_gues_auto_recn = ?"}) {
            const RecordSet rs = db().query(QString::fromUtf8(sql), {bill});
            for (int r = 0; r < rs.rowCount(); ++r)
                for (int c = 0; c < rs.columnCount(); ++c)
                    parts << rs.value(r, c).toString();
        }
        parts << QString::number(balanceOf(QStringLiteral("880001")))
              << scalar(QStringLiteral("SELECT hang_gues_use FROM HangGues WHERE hang_gues_code = '001'"))
                     .toString()
              << stateOfTable(QStringLiteral("A01"));
        return parts.join(QLatin1Char('|'));
    }
};

TEST_P(SettleTest, SettlingWritesTheBillItsLinesPaymentsBalancesAndTable) {
    auto s = checkoutOf595(db());
    const int bill = s->guest().tabl_gues_auto_recn;
    ASSERT_TRUE(s->chooseMember(QStringLiteral("880001"), QStringLiteral("123456")));
    s->chooseCredit(s->choices().creditGuests.first());
    pay(*s, PayCode::kCash, 300);
    pay(*s, PayCode::kMember, 200);
    pay(*s, PayCode::kCredit, 95);
    const Settlement plan = s->prepare();
    ASSERT_TRUE(plan.ok()) << plan.refusal.toStdString();
    s->settle(plan, cashier);

    const billing::GuestRecord g = *billing::GuestRecord::load(db(), bill);
    EXPECT_EQ(g.tabl_gues_stat, QStringLiteral("3"));
    EXPECT_EQ(g.tabl_gues_time_work.date(), loadSettingsRow(db()).timeWork.date());
    EXPECT_EQ(g.tabl_gues_time_end, clock.now());
    EXPECT_EQ(g.tabl_name, QStringLiteral("大厅1号桌"));
    EXPECT_EQ(g.cons_type_name, QStringLiteral("不设消费"));
    EXPECT_EQ(g.orde_name, QStringLiteral("早班"));
    EXPECT_EQ(g.oper_name, QStringLiteral("管理员"));
    EXPECT_EQ(g.dept_name, QStringLiteral("大厅"));
    EXPECT_DOUBLE_EQ(g.memb_mone, 200);
    EXPECT_DOUBLE_EQ(g.hang_mone, 95);
    EXPECT_DOUBLE_EQ(g.cost_mone, 18);
    EXPECT_EQ(g.tabl_gues_pay_narr, QStringLiteral("现金300 会员卡200 挂帐95 "));
    EXPECT_EQ(stateOfTable(QStringLiteral("A01")), QStringLiteral("3"));

    const RecordSet lines = db().query(
        QStringLiteral(
            "SELECT tabl_gues_end, tabl_cons_time_work, kind_name, manu_name, item_name, item_unit, "
            "orde_name, dept_name FROM TableConsList WHERE tabl_gues_auto_recn = ?"),
        {bill});
    ASSERT_EQ(lines.rowCount(), 1);
    EXPECT_TRUE(lines.flag(0, "tabl_gues_end"));
    EXPECT_EQ(lines.dateTime(0, "tabl_cons_time_work").date(), g.tabl_gues_time_work.date());
    EXPECT_EQ(
        QStringList({lines.text(0, "kind_name"), lines.text(0, "manu_name"), lines.text(0, "item_name"),
                     lines.text(0, "item_unit"), lines.text(0, "orde_name"), lines.text(0, "dept_name")}),
        QStringList({"中餐", "厨房", "宫保鸡丁", "份", "早班", "大厅"}));

    // One row per method, the unused ones at 0.
    const QStringList paid = paymentsOf(bill);
    EXPECT_EQ(paid, QStringList({"H=95", "M=200", "R=0", "Z=300"}));
    EXPECT_DOUBLE_EQ(balanceOf(QStringLiteral("880001")), 1800);
    EXPECT_DOUBLE_EQ(
        scalar(QStringLiteral("SELECT memb_use FROM MemberList WHERE memb_card_code = '880001'")).toDouble(),
        200);
    EXPECT_DOUBLE_EQ(
        scalar(QStringLiteral("SELECT hang_gues_use FROM HangGues WHERE hang_gues_code = '001'")).toDouble(),
        95);
    // The shared column of the methods is nobody's scratch pad any more.
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM PayTypeList WHERE pay_type_mone <> 0")).toInt(), 0);
}

TEST_P(SettleTest, AFailureInTheTransactionLeavesEverythingAsItWas) {
    for (const char* failing : {"INSERT INTO tableguespay", "UPDATE TableList SET tabl_stat_code",
                                "UPDATE HangGues", "UPDATE TableConsList SET tabl_gues_end"}) {
        SCOPED_TRACE(failing);
        const int bill = openTable(QStringLiteral("A01"));
        addLine(bill, QStringLiteral("102001"), 1, 595);
        test::FailingDatabase broken(db(), QString::fromLatin1(failing));
        CheckoutSession onBroken(broken, clock);
        onBroken.enter(QStringLiteral("A01"));
        const QString before = everythingOf(bill);
        ASSERT_TRUE(onBroken.chooseMember(QStringLiteral("880001"), QStringLiteral("123456")));
        onBroken.chooseCredit(onBroken.choices().creditGuests.first());
        pay(onBroken, PayCode::kMember, 500);
        pay(onBroken, PayCode::kCredit, 95);
        try {
            onBroken.settle(onBroken.prepare(), cashier);
            ADD_FAILURE() << "the settlement went through";
        } catch (const CodedFailure& e) {
            EXPECT_EQ(e.code(), kSettleCode);
        }
        EXPECT_EQ(everythingOf(bill), before);
        // Free the table for the next case.
        db().exec(QStringLiteral("UPDATE TableList SET tabl_stat_code = '1' WHERE tabl_code = 'A01'"));
        db().exec(QStringLiteral("UPDATE TableGuestlist SET tabl_gues_use = 0"));
    }
}

TEST_P(SettleTest, TwoCashDesksKeepTheirOwnAmounts) {
    auto second = scratch().connectAgain();
    auto a = checkoutOf595(db(), QStringLiteral("A01"));
    auto b = checkoutOf595(*second, QStringLiteral("A02"));
    pay(*a, PayCode::kCash, 600);
    pay(*b, PayCode::kCash, 100);
    b->chooseCredit(b->choices().creditGuests.first());
    pay(*b, PayCode::kCredit, 495);
    a->settle(a->prepare(), cashier);
    b->settle(b->prepare(), cashier);
    EXPECT_EQ(paymentsOf(a->guest().tabl_gues_auto_recn), QStringList({"H=0", "M=0", "R=0", "Z=595"}));
    EXPECT_EQ(paymentsOf(b->guest().tabl_gues_auto_recn), QStringList({"H=495", "M=0", "R=0", "Z=100"}));
}

TEST_P(SettleTest, OneCardChargedAtTwoDesksNeverGoesBelowNothing) {
    db().exec(QStringLiteral("UPDATE MemberList SET memb_surp = 300 WHERE memb_card_code = '880001'"));
    auto second = scratch().connectAgain();
    auto a = checkoutOf595(db(), QStringLiteral("A01"));
    auto b = checkoutOf595(*second, QStringLiteral("A02"));
    for (CheckoutSession* s : {a.get(), b.get()}) {
        ASSERT_TRUE(s->chooseMember(QStringLiteral("880001"), QStringLiteral("123456")));
        pay(*s, PayCode::kMember, 200);
        pay(*s, PayCode::kCash, 395);
    }
    // Both desks saw a balance of 300 when they prepared.
    const Settlement planA = a->prepare();
    const Settlement planB = b->prepare();
    ASSERT_TRUE(planA.ok() && planB.ok());
    a->settle(planA, cashier);
    try {
        b->settle(planB, cashier);
        ADD_FAILURE() << "the second charge went through";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), kOverMemberBalanceMessage);
    }
    EXPECT_DOUBLE_EQ(balanceOf(QStringLiteral("880001")), 100);
    EXPECT_EQ(stateOfTable(QStringLiteral("A02")), QStringLiteral("2"));
    EXPECT_TRUE(b->active());
}

// Lines that reach the bill from another desk while it is in checkout were not priced by it:
// settling must not mark them paid. After going back, the checkout prices them.
TEST_P(SettleTest, LinesAddedAtAnotherDeskDuringCheckoutAreNotSettledUnpaid) {
    const std::function<void(Database&, int)> elsewhere[] = {
        [&](Database& on, int bill) { addLine(on, bill, QStringLiteral("102001"), 1, 100); },
        [&](Database& on, int) {
            const int merged = openTable(QStringLiteral("A02"));
            addLine(on, merged, QStringLiteral("102001"), 1, 100);
            table_life::mergeTable(on, QStringLiteral("A02"), merged, QStringLiteral("A01"),
                                   billing::BillSettings::load(on), clock);
        },
    };
    for (const auto& change : elsewhere) {
        auto second = scratch().connectAgain();
        auto s = checkoutOf595(db());
        const int bill = s->guest().tabl_gues_auto_recn;
        pay(*s, PayCode::kCash, 595);
        const Settlement plan = s->prepare();
        change(*second, bill);
        const QString before = everythingOf(bill);
        try {
            s->settle(plan, cashier);
            ADD_FAILURE() << "lines nobody paid for were settled";
        } catch (const StepRefused& refused) {
            EXPECT_EQ(refused.text(), tables::tableChangedElsewhereMessage(QStringLiteral("A01")));
        }
        EXPECT_EQ(everythingOf(bill), before);
        s->back();
        s->enter(QStringLiteral("A01"));
        EXPECT_DOUBLE_EQ(s->guest().tabl_gues_shou, 695);
        pay(*s, PayCode::kCash, 695);
        s->settle(s->prepare(), cashier);
        EXPECT_EQ(paymentsOf(bill), QStringList({"H=0", "M=0", "R=0", "Z=695"}));
        db().exec(QStringLiteral("UPDATE TableList SET tabl_stat_code = '1' WHERE tabl_code = 'A01'"));
        db().exec(QStringLiteral("UPDATE TableGuestlist SET tabl_gues_use = 0"));
    }
}

// A checkout left open while another desk settles the same bill and resumes it: the bill is
// open again with its lines unchanged, but what this desk priced and read is gone. Settling
// from the old copy wrote the payments onto a bill whose collected amount stayed nothing.
TEST_P(SettleTest, ABillSettledAndResumedAtAnotherDeskIsNotSettledFromTheOldCheckout) {
    auto second = scratch().connectAgain();
    auto stale = checkoutOf595(db());
    const int bill = stale->guest().tabl_gues_auto_recn;
    pay(*stale, PayCode::kCash, 595);
    const Settlement plan = stale->prepare();

    CheckoutSession other(*second, clock);
    other.enter(QStringLiteral("A01"));
    pay(other, PayCode::kCash, 595);
    other.settle(other.prepare(), cashier);
    table_life::resumeTable(*second, QStringLiteral("A01"), bill, billing::BillSettings::load(*second), clock);

    const QString before = everythingOf(bill);
    try {
        stale->settle(plan, cashier);
        ADD_FAILURE() << "the old checkout settled the resumed bill";
    } catch (const StepRefused& refused) {
        EXPECT_EQ(refused.text(), tables::tableChangedElsewhereMessage(QStringLiteral("A01")));
    }
    EXPECT_EQ(everythingOf(bill), before);
    EXPECT_TRUE(paymentsOf(bill).isEmpty());

    // Entered afresh, the bill settles whole: what it collected is what its payments hold.
    stale->back();
    stale->enter(QStringLiteral("A01"));
    pay(*stale, PayCode::kCash, 595);
    stale->settle(stale->prepare(), cashier);
    EXPECT_EQ(paymentsOf(bill), QStringList({"H=0", "M=0", "R=0", "Z=595"}));
    EXPECT_DOUBLE_EQ(
        scalar(QStringLiteral("SELECT tabl_gues_fact FROM TableGuestlist WHERE tabl_gues_auto_recn = ?"), {bill})
            .toDouble(),
        595);
}

TEST_P(SettleTest, CommissionAndTheStaffGroupOnlyAboveTheQuota) {
    db().exec(QStringLiteral("UPDATE ConsModeList SET cons_mode_achi = 1000, cons_mode_spec_stan = 5, "
                             "cons_mode_spec_abov = 10 WHERE cons_mode_code = '01'"));
    const struct {
        const char* table;
        double price;
        double earned;
        const char* group;
        const char* area;
    } cases[] = {{"A01", 1500, 100, "02", "1"}, {"A02", 900, 0, "", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.price);
        const QString table = QString::fromLatin1(c.table);
        const int bill = openTable(table);
        addLine(bill, QStringLiteral("102001"), 1, c.price);
        CheckoutSession s(db(), clock);
        s.enter(table);
        s.setCommission(QStringLiteral("002"), kDesignatedCommission);
        pay(s, PayCode::kCash, c.price);
        s.settle(s.prepare(), cashier);
        const billing::GuestRecord g = *billing::GuestRecord::load(db(), bill);
        EXPECT_DOUBLE_EQ(g.dedu_mone, c.earned);
        EXPECT_EQ(g.grou_code, QString::fromLatin1(c.group));
        EXPECT_EQ(g.area_code, QString::fromLatin1(c.area));
        EXPECT_EQ(g.dedu_oper_name, QStringLiteral("王芳"));
    }
}

TEST_P(SettleTest, AnOperatorWithATwentyCharacterNameSettles) {
    auto s = checkoutOf595(db());
    pay(*s, PayCode::kCash, 595);
    const checkout::Cashier longNamed{QStringLiteral("01"),
                                      QStringLiteral("欧阳一二三四五六七八九十甲乙丙丁戊己庚"),
                                      QStringLiteral("1"), QStringLiteral("早班")};
    s->settle(s->prepare(), longNamed);
    EXPECT_EQ(stateOfTable(QStringLiteral("A01")), QStringLiteral("3"));
    EXPECT_EQ(billing::GuestRecord::load(db(), s->guest().tabl_gues_auto_recn)->oper_name,
              QStringLiteral("欧阳一二三四五六"));
}

TEST_P(SettleTest, EnteringASettledTableIsRefused) {
    auto s = checkoutOf595(db());
    pay(*s, PayCode::kCash, 595);
    s->settle(s->prepare(), cashier);
    // A settled table, and one with no bill at all (free).
    for (const auto& [table, message] :
         {std::pair{QStringLiteral("A01"), kNotInUseMessage},
          std::pair{QStringLiteral("A03"), tables::tableChangedElsewhereMessage(QStringLiteral("A03"))}}) {
        CheckoutSession again(db(), clock);
        try {
            again.enter(table);
            ADD_FAILURE() << qPrintable(table) << " went into checkout";
        } catch (const StepRefused& refused) {
            EXPECT_EQ(refused.text(), message);
        }
        EXPECT_FALSE(db().inTransaction());
    }
}

// The lists the checkout offers come in one statement: each whole, in its own order, with its
// own columns (payment methods downwards so that cash heads them, the others upwards).
TEST_P(SettleTest, TheCheckoutOffersEveryListInItsOrder) {
    const auto session = checkoutOf595(db());
    const CheckoutChoices& c = session->choices();
    const auto codes = [](const auto& list) {
        QStringList out;
        for (const auto& item : list)
            out << item.code.trimmed();
        return out;
    };
    const auto stored = [&](const char* sql) {
        QStringList out;
        const RecordSet rs = db().query(QString::fromUtf8(sql));
        for (int i = 0; i < rs.rowCount(); ++i)
            out << rs.text(i, "code").trimmed();
        std::sort(out.begin(), out.end());
        return out;
    };
    QStringList methodsUpwards = codes(c.methods);
    std::reverse(methodsUpwards.begin(), methodsUpwards.end());
    EXPECT_EQ(methodsUpwards, stored("SELECT pay_type_code AS code FROM PayTypeList"));
    EXPECT_EQ(c.methods.first().code, PayCode::kCash);
    EXPECT_EQ(codes(c.creditGuests), stored("SELECT hang_gues_code AS code FROM HangGues"));
    EXPECT_EQ(codes(c.staff), stored("SELECT dedu_oper_code AS code FROM deduoperatorlist"));
    EXPECT_EQ(codes(c.schemes), stored("SELECT disc_code AS code FROM discountlist"));
    EXPECT_EQ(codes(c.modes), stored("SELECT cons_mode_code AS code FROM ConsModeList"));
    ASSERT_FALSE(c.creditGuests.isEmpty());
    const CreditGuest& g = c.creditGuests.first();
    const RecordSet row = db().query(
        QStringLiteral("SELECT hang_gues_name, hang_gues_work, hang_gues_limi, hang_gues_use FROM HangGues "
                       "WHERE hang_gues_code = ?"),
        {g.code});
    EXPECT_EQ(QStringList({g.name, g.company}),
              QStringList({row.text(0, "hang_gues_name"), row.text(0, "hang_gues_work")}));
    EXPECT_EQ(g.limit, row.number(0, "hang_gues_limi"));
    EXPECT_EQ(g.owed, row.number(0, "hang_gues_use"));
}

TEST_P(SettleTest, RecomputingFollowsThePartyAndTheRateAndBackKeepsNothing) {
    // A luxury room: a minimum of 150 a guest and 15 % service.
    const int bill = openTable(QStringLiteral("V06"), 2);
    addLine(bill, QStringLiteral("102001"), 1, 500);
    CheckoutSession s(db(), clock);
    s.enter(QStringLiteral("V06"));
    const struct {
        const char* step;
        std::function<void()> change;
        double minimum, service, discount, receivable;
    } steps[] = {
        {"entered", [] {}, 300, 75, 0, 575},
        {"four guests", [&] { s.changeGuests(QStringLiteral("4")); }, 600, 90, 0, 690},
        {"rate 90", [&] { s.typeRate(QStringLiteral("90")); }, 600, 90, 69, 621},
        {"rate cleared", [&] { s.typeRate(QString()); }, 600, 90, 0, 690},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        step.change();
        const billing::GuestRecord& g = s.guest();
        EXPECT_DOUBLE_EQ(g.tabl_gues_low, step.minimum);
        EXPECT_DOUBLE_EQ(g.tabl_gues_serv, step.service);
        EXPECT_DOUBLE_EQ(g.tabl_gues_disc, step.discount);
        EXPECT_DOUBLE_EQ(g.tabl_gues_shou, step.receivable);
        EXPECT_DOUBLE_EQ(g.tabl_gues_fact, step.receivable);
    }
    s.typeRate(QStringLiteral("90"));
    s.back();
    const billing::GuestRecord stored = *billing::GuestRecord::load(db(), bill);
    EXPECT_EQ(stored.tabl_gues_coun, 2);
    EXPECT_DOUBLE_EQ(stored.tabl_gues_shou, 575);
    EXPECT_DOUBLE_EQ(stored.tabl_gues_disc, 0);
    EXPECT_EQ(lineRates(bill), QList<int>{100});
    EXPECT_EQ(stateOfTable(QStringLiteral("V06")), QStringLiteral("2"));
}

SORREL_ON_EVERY_ENGINE(SettleTest);

} // namespace
