// Credit guests and their repayments: the debt after each repayment, the password in front of
// them, what a guest who owes may not do, what another workstation's charges change, and the
// printed list of a guest's repayments.
#include "backoffice/members/credit_lists.h"
#include "backoffice/members/find_record.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

using namespace sorrel;
using namespace sorrel::lists;
using namespace sorrel::members;

namespace {

class CreditTest : public test::EngineTest {
  protected:
    // The amount as the repayment panel books it: a refusal is shown, and no outcome.
    std::optional<CreditLists::Repayment> repaid(const QString& typed) {
        try {
            return lists().repay(typed);
        } catch (const StepRefused& refused) {
            messages::information(refused.text());
            return std::nullopt;
        }
    }
    // The guest grid's double-click: a refused password is shown.
    bool opened(const QString& typedPassword) {
        try {
            return lists().openRepayments(typedPassword);
        } catch (const StepRefused& refused) {
            messages::information(refused.text());
            return false;
        }
    }
    void SetUp() override {
        EngineTest::SetUp();
        db().exec("UPDATE SetupPay SET work_auto = 0, oper_code = '09', time_work = ?",
                  {QDateTime(QDate(2026, 3, 3), QTime(0, 0))});
        db().exec("UPDATE setupprint SET set_prn_92_fiel = ' 8888 '");
        db().exec(
            "INSERT INTO HangGues (hang_gues_code, hang_gues_name, hang_gues_work, hang_gues_add, "
            "hang_gues_tele, "
            "hang_gues_limi, hang_gues_use) VALUES ('001', '华联贸易', '华联', '延安路', '0571', 5000, 300), "
            "('002', '市建设局', '建设局', '解放路', '0572', 20000, 0)");
        lists_ = std::make_unique<CreditLists>(db(), clock, [] {
            return OperatorEntry{"01", "管理员", "", "01"};
        });
        ASSERT_TRUE(lists().guests().moveToKey("001"));
    }
    void TearDown() override {
        lists_.reset();
        EngineTest::TearDown();
    }
    CreditLists& lists() { return *lists_; }
    double debt(const QString& code = "001") {
        return db().scalar("SELECT hang_gues_use FROM HangGues WHERE hang_gues_code = ?", {code}).toDouble();
    }
    void setDebt(double value) {
        db().exec("UPDATE HangGues SET hang_gues_use = ? WHERE hang_gues_code = '001'", {value});
    }

    test::ScriptedSink sink;
    FixedClock clock{QDateTime(QDate(2026, 3, 4), QTime(10, 30))};

  private:
    std::unique_ptr<CreditLists> lists_;
};

TEST_P(CreditTest, ARepaymentLowersTheDebtToTheCentAndNeverBelowZero) {
    using R = CreditLists::Repayment;
    struct Case {
        double debtBefore;
        const char* typed;
        std::optional<R> outcome; // none: refused
        double debtAfter;
    } cases[] = {
        {300, "", R::NotANumber, 300},    {300, " - ", R::NotANumber, 300},  {300, "abc", R::NotANumber, 300},
        {300, "500", std::nullopt, 300},  {300, "300", R::Booked, 0},        {0, "-50", R::Booked, 50},
        {100.50, "100.50", R::Booked, 0}, {0.1 + 0.2, "0.30", R::Booked, 0},
    };
    int booked = 0;
    for (const Case& c : cases) {
        setDebt(c.debtBefore);
        sink.shown.clear();
        EXPECT_EQ(repaid(c.typed), c.outcome) << c.typed;
        EXPECT_EQ(debt(), c.debtAfter) << c.typed; // exactly: a debt paid off is 0
        EXPECT_EQ(sink.texts(), !c.outcome ? QStringList{kRepaymentAboveDebt} : QStringList());
        booked += c.outcome == R::Booked;
    }
    const RecordSet rows =
        db().query("SELECT hang_gues_name, hang_gues_inco, hang_gues_inco_date, oper_code, "
                   "oper_name, time_fact FROM Hangguesin ORDER BY hang_gues_inco");
    ASSERT_EQ(rows.rowCount(), booked);
    EXPECT_EQ(rows.number(0, "hang_gues_inco"), -50.0);
    EXPECT_EQ(rows.text(0, "hang_gues_name"), QStringLiteral("华联贸易"));
    EXPECT_EQ(rows.value(0, "hang_gues_inco_date").toDate(), QDate(2026, 3, 3)); // the business date
    EXPECT_EQ(rows.value(0, "time_fact").toDateTime(), clock.now());
    EXPECT_EQ(rows.text(0, "oper_code") + rows.text(0, "oper_name"), QStringLiteral("01管理员")); // not '09'
    EXPECT_EQ(lists().repayments().rowCount(), booked);
    // Paid off, the guest may go.
    EXPECT_TRUE(lists().guests().remove());
}

TEST_P(CreditTest, TheRepaymentsOpenOnlyWithTheSystemPassword) {
    for (const auto& [typed, opens] :
         QList<QPair<QString, bool>>{{"", false}, {"8889", false}, {"8888  ", true}}) {
        sink.shown.clear();
        EXPECT_EQ(opened(typed), opens) << typed.toStdString();
        EXPECT_EQ(sink.texts(), opens ? QStringList() : QStringList{kWrongSystemPasswordMessage});
    }
}

TEST_P(CreditTest, AGuestWhoOwesKeepsItsCodeAndStaysEvenWhenTheDebtCameMeanwhile) {
    MaintenanceList& g = lists().guests();
    EXPECT_FALSE(g.edit("hang_gues_code", "009"));
    EXPECT_FALSE(g.remove());
    // The other guest owed nothing when read; the front desk charges it before the delete.
    ASSERT_TRUE(g.moveToKey("002"));
    auto desk = scratch().connectAgain();
    desk->exec("UPDATE HangGues SET hang_gues_use = hang_gues_use + 300 WHERE hang_gues_code = '002'");
    EXPECT_FALSE(g.remove());
    EXPECT_EQ(sink.texts(), (QStringList{QStringLiteral("因为此单位欠款未清，所以不能修改编码！"),
                                         QStringLiteral("因为此单位欠款未清，所以不能被删除！"),
                                         QStringLiteral("因为此单位欠款未清，所以不能被删除！")}));
    EXPECT_EQ(debt("002"), 300.0);
    // A phone number saved over the charge leaves the charge.
    g.reload();
    ASSERT_TRUE(g.moveToKey("002"));
    g.edit("hang_gues_tele", "0573");
    desk->exec("UPDATE HangGues SET hang_gues_use = hang_gues_use + 200 WHERE hang_gues_code = '002'");
    ASSERT_TRUE(g.save());
    EXPECT_EQ(debt("002"), 500.0);
}

TEST_P(CreditTest, ARecodedGuestKeepsItsRepaymentsAndARepaymentMeetsTheDebtAsItNowStands) {
    ASSERT_EQ(lists().repay("300"), CreditLists::Repayment::Booked);
    MaintenanceList& g = lists().guests();
    ASSERT_TRUE(g.edit("hang_gues_code", "003"));
    ASSERT_TRUE(g.save());
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Hangguesin WHERE hang_gues_code = '003'").toInt(), 1);
    // Another workstation's guest paid part of the debt meanwhile: what was fine is now too much.
    setDebt(0);
    db().exec("UPDATE HangGues SET hang_gues_use = 200 WHERE hang_gues_code = '003'");
    g.reload();
    auto desk = scratch().connectAgain();
    desk->exec("UPDATE HangGues SET hang_gues_use = hang_gues_use - 150 WHERE hang_gues_code = '003'");
    EXPECT_THROW(lists().repay("100"), StepRefused);
    EXPECT_EQ(debt("003"), 50.0);
}

TEST_P(CreditTest, TheRepaymentListHasALinePerRepaymentAndTheirSum) {
    setDebt(1000);
    for (const char* amount : {"120", "80.5"})
        ASSERT_EQ(lists().repay(amount), CreditLists::Repayment::Booked);
    const document::Document d = lists().repaymentList();
    QStringList lines;
    for (const document::Band& band : d.bands)
        for (const document::Row& row : band.rows) {
            QStringList cells;
            for (const document::Cell& cell : row.cells)
                cells << cell.text;
            lines << cells.join("|");
        }
    EXPECT_EQ(lines,
              (QStringList{"挂帐还款一览表", "单位名称：华联贸易|打印时间：2026-03-04 10:30:00",
                           "编码|单位名称|还款金额|还款日期|操作员", "001|华联贸易|120.00|2026-03-03|管理员",
                           "001|华联贸易|80.50|2026-03-03|管理员", "合计：|200.50||"}));
}

TEST_P(CreditTest, AGuestIsFoundByNumberOrName) {
    const RecordSet& rows = lists().guests().rows();
    for (const auto& [typed, code] : QList<QPair<QString, QString>>{
             {"002", "002"}, {" 001 ", "001"}, {"建设", "002"}, {"00", ""}, {"", ""}}) {
        const int row = findByNumberOrName(rows, "hang_gues_code", "hang_gues_name", typed);
        EXPECT_EQ(row < 0 ? QString() : rows.text(row, "hang_gues_code"), code) << typed.toStdString();
    }
}

SORREL_ON_EVERY_ENGINE(CreditTest);

} // namespace
