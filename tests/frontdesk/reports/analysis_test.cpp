// The analysis reports on every engine, over bills written into the history as clearing leaves
// them: what each report counts and leaves out, the faults a manager would meet (a renamed
// payment method, two staff of one name, a return counted as a sale), an empty range, and a
// month of the demo venue's history against sums taken from the raw rows another way.
#include "common/business_day.h"
#include "common/line_summary.h"
#include "frontdesk/reports/bill_analysis.h"
#include "frontdesk/reports/item_analysis.h"
#include "frontdesk/reports/performance_analysis.h"
#include "frontdesk/reports/sales_analysis.h"

#include "tests/support/test_database.h"
#include "tools/demo_history/demo_history.h"

#include <QHash>
#include <QMap>
#include <cmath>
#include <functional>

using namespace sorrel;
using namespace sorrel::reports;

namespace {

const QDate kJune3(2026, 6, 3);
const DateRange kOneDay{kJune3, kJune3};

struct Bill {
    int number;
    QString day = QStringLiteral("2026-06-03 00:00:00");
    double received = 100;
    double cost = 40;
    QString dept = QStringLiteral("01");
    QString operCode = QStringLiteral("01");
    QString operName = QStringLiteral("张三");
    QString deduCode = {};
    QString deduName = {};
    double commission = 0;
    QString group = QStringLiteral("一组");
    QString area = QStringLiteral("一区");
    double standard = 0;
};

struct Line {
    int bill;
    QString item;
    int menuType; // 1 ordered, 2 returned, 3 given, 4 gift returned
    double quantity;
    double price = 10;
    QString group = {};
    QString deduCode = {};
    QString operCode = QStringLiteral("01");
};

class AnalysisTest : public test::EngineTest {
  protected:
    void add(const Bill& b) {
        db().exec(QStringLiteral("INSERT INTO AllGues (tabl_gues_auto_recn, tabl_gues_time_work, tabl_code, "
                                 "tabl_name, dept_code, "
                                 "dept_name, tabl_gues_coun, tabl_gues_dish, tabl_gues_shou, tabl_gues_fact, "
                                 "cost_mone, oper_code, "
                                 "oper_name, dedu_oper_code, dedu_oper_name, dedu_mone, dedu_type, tota_y, "
                                 "grou_name, area_name, "
                                 "tota_stan) VALUES (?, ?, 'A01', '大厅一', ?, ?, 2, ?, ?, ?, ?, ?, ?, ?, ?, "
                                 "?, '预  定', ?, ?, ?, ?)"),
                  {b.number, b.day, b.dept,
                   b.dept == QStringLiteral("01") ? QStringLiteral("大厅") : QStringLiteral("包房"),
                   b.received, b.received, b.received, b.cost, b.operCode, b.operName, b.deduCode, b.deduName,
                   b.commission, b.commission > 0 ? b.received - b.commission : 0.0, b.group, b.area,
                   b.standard});
    }
    void add(const Line& l) {
        const int sign = l.menuType == 1 ? 1 : l.menuType == 2 ? -1 : 0;
        const int stockSign = (l.menuType == 1 || l.menuType == 3) ? 1 : -1;
        const double q = l.quantity;
        db().exec(
            QStringLiteral(
                "INSERT INTO AllCons (tabl_cons_ID, tabl_gues_auto_recn, tabl_cons_time_work, item_code, "
                "item_name, "
                "item_unit, kind_code, kind_name, clas_name, menu_type_code, item_type_flag, item_coun_flag, "
                "tabl_cons_coun, item_unit_pric, tabl_cons_tota, tabl_cost_tota, grou_code, dedu_oper_code, "
                "dedu_oper_name, tabl_dedu_tota, oper_code, serv_perc, disc_clas_perc, tabl_d_bill, "
                "tabl_t_bill, "
                "tabl_z_bill, tabl_tz_bill) VALUES (?, ?, '2026-06-03 00:00:00', ?, ?, '份', '1', '热菜', "
                "'炒菜', ?, ?, "
                "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 100, 100, ?, ?, ?, ?)"),
            {++lineId_,
             l.bill,
             l.item,
             QStringLiteral("菜") + l.item,
             QString::number(l.menuType),
             sign,
             stockSign,
             q,
             l.price,
             q * l.price * sign,
             q * 4,
             l.group,
             l.deduCode,
             l.deduCode.isEmpty() ? QString() : QStringLiteral("王五"),
             l.deduCode.isEmpty() ? 0.0 : q,
             l.operCode,
             l.menuType == 1 ? q : 0.0,
             l.menuType == 2 ? q : 0.0,
             l.menuType == 3 ? q : 0.0,
             l.menuType == 4 ? q : 0.0});
    }
    void pay(int bill, const QString& code, const QString& name, double amount,
             const QString& day = QStringLiteral("2026-06-03 00:00:00")) {
        db().exec(QStringLiteral("INSERT INTO AllGuesPay (tabl_gues_auto_recn, pay_type_code, pay_type_name, "
                                 "pay_type_mone, pay_time) VALUES (?, ?, ?, ?, ?)"),
                  {bill, code, name, amount, day});
    }
    static int rowOf(const RecordSet& rows, const QString& column, const QVariant& value) {
        return rows.locate({{column, value}});
    }
    // The reports read the 3rd from its rows while it is the open business day, and from the day
    // summaries once it is closed (the other days as their day ends summed them): every check
    // holds on both.
    void whileOpenAndWhenClosed(const std::function<void(const std::string& when)>& check) {
        db().exec(QStringLiteral("UPDATE SetupPay SET pay_star = 1, time_work = '2026-06-03 00:00:00'"));
        rebuildDaySummaries(db());
        check("the 3rd open");
        db().exec(QStringLiteral("UPDATE SetupPay SET pay_star = 0"));
        rebuildDaySummaries(db());
        check("the 3rd closed");
    }
    int lineId_ = 0;
};

TEST_P(AnalysisTest, SalesCountWhatTheRangeAndFilterHold) {
    add(Bill{1});                                                // settled on the 3rd
    add(Bill{2, QStringLiteral("2026-06-03 01:30:00"), 50, 10}); // the day's end wrote a time
    add(Bill{3, QStringLiteral("2026-06-04 00:00:00"), 70, 20}); // the next day
    add(Bill{4, QStringLiteral("2026-06-03 00:00:00"), 30, 5, QStringLiteral("02")});
    db().exec(QStringLiteral("INSERT INTO AllOtherInCome (othe_inco_mone, othe_inco_time) VALUES (15, "
                             "'2026-06-03 00:00:00')"));
    add(Line{1, QStringLiteral("S1"), 1, 1, 80});                       // a set meal
    add(Line{1, QStringLiteral("C1"), 1, 2, 30, QStringLiteral("S1")}); // its components
    add(Line{1, QStringLiteral("C2"), 1, 1, 20, QStringLiteral("S1")});

    struct Case {
        const char* what;
        DateRange range;
        DepartmentOrShift filter;
        qlonglong bills;
        QString received, otherIncome, margin, kindAmount;
    } cases[] = {
        {"the 3rd, its late bill included", kOneDay, {}, 3, "180.00", "15.00", "69.4%", "80.00"},
        {"the 4th alone", {kJune3.addDays(1), kJune3.addDays(1)}, {}, 1, "70.00", "", "71.4%", ""},
        {"one department: no other income",
         kOneDay,
         {DepartmentOrShift::By::Department, "02", "包房"},
         1,
         "30.00",
         "",
         "83.3%",
         ""},
        {"no business at all", {kJune3.addDays(30), kJune3.addDays(31)}, {}, 0, "", "", "", ""},
    };
    whileOpenAndWhenClosed([&](const std::string& when) {
        for (const Case& c : cases) {
            const SalesAnalysis a = salesAnalysis(db(), c.range, c.filter, QStringLiteral("保留小数"));
            EXPECT_EQ(a.figures.bills, c.bills) << c.what;
            EXPECT_EQ(figureText(a.figures.received), c.received) << c.what;
            EXPECT_EQ(figureText(a.figures.otherIncome), c.otherIncome) << c.what;
            EXPECT_EQ(a.figures.margin ? displayText(*a.figures.margin, exporting::CellKind::Percent)
                                       : QString(),
                      c.margin)
                << c.what;
            const int hot = rowOf(a.kinds, QStringLiteral("kind_name"), QStringLiteral("热菜"));
            EXPECT_EQ(hot < 0 ? QString()
                              : displayText(a.kinds.value(hot, QStringLiteral("constotal")),
                                            exporting::CellKind::Money),
                      c.kindAmount)
                << c.what << ", " << when;
        }
    });
}

TEST_P(AnalysisTest, RenamedPaymentMethodCountsEveryReceiptOnce) {
    for (int b = 1; b <= 3; ++b)
        add(Bill{b});
    pay(1, QStringLiteral("Z"), QStringLiteral("现金"), 100);
    pay(2, QStringLiteral("Z"), QStringLiteral("人民币"), 60); // renamed in the afternoon
    pay(2, QStringLiteral("M"), QStringLiteral("银行卡"), 40);
    pay(3, QStringLiteral("Z"), QStringLiteral("人民币"), 0); // a method row left at 0
    pay(3, QStringLiteral("M"), QStringLiteral("银行卡"), 100);
    whileOpenAndWhenClosed([&](const std::string& when) {
        const RecordSet payments = salesAnalysis(db(), kOneDay, {}, {}).payments;
        ASSERT_EQ(payments.rowCount(), 2) << when;
        const int cash = rowOf(payments, QStringLiteral("pay_type_code"), QStringLiteral("Z"));
        ASSERT_GE(cash, 0) << when;
        EXPECT_EQ(payments.integer(cash, QStringLiteral("paycount")), 2) << when;
        EXPECT_DOUBLE_EQ(payments.number(cash, QStringLiteral("paytotal")), 160) << when;
        const int card = rowOf(payments, QStringLiteral("pay_type_code"), QStringLiteral("M"));
        EXPECT_EQ(payments.integer(card, QStringLiteral("paycount")), 2) << when;
    });
}

TEST_P(AnalysisTest, ItemsNetOfReturnsAndGiftsOwnLinesOnly) {
    add(Bill{1});
    add(Line{1, QStringLiteral("01"), 1, 5});
    add(Line{1, QStringLiteral("01"), 2, 1});
    add(Line{1, QStringLiteral("01"), 3, 2});
    add(Line{1, QStringLiteral("01"), 4, 1});
    add(Line{1, QStringLiteral("S1"), 1, 1, 80});
    add(Line{1, QStringLiteral("C1"), 1, 2, 30, QStringLiteral("S1")});
    add(Line{1, QStringLiteral("02"), 1, 3, 10, {}, {}, QStringLiteral("02")}); // another operator's
    struct Case {
        const char* what;
        QString operCode;
        QStringList items;
    } cases[] = {
        {"every operator", {}, {"01", "02", "S1"}},
        {"operator 01", QStringLiteral("01"), {"01", "S1"}},
        {"operator 02, of the same name", QStringLiteral("02"), {"02"}},
    };
    whileOpenAndWhenClosed([&](const std::string& when) {
        for (const Case& c : cases) {
            const RecordSet items = itemAnalysis(db(), kOneDay, {}, ItemSort::Code, c.operCode);
            QStringList codes;
            for (int i = 0; i < items.rowCount(); ++i)
                codes << items.text(i, QStringLiteral("item_code"));
            EXPECT_EQ(codes, c.items) << c.what << ", " << when;
        }
        const RecordSet items = itemAnalysis(db(), kOneDay, {}, ItemSort::Code);
        const int item = rowOf(items, QStringLiteral("item_code"), QStringLiteral("01"));
        EXPECT_DOUBLE_EQ(items.number(item, QStringLiteral("bill")), 5) << when;
        EXPECT_DOUBLE_EQ(items.number(item, QStringLiteral("bill3total")), 20) << when;
        EXPECT_DOUBLE_EQ(items.number(item, QStringLiteral("constotal")), 40) << when;
    });
}

TEST_P(AnalysisTest, BillListsKeepStaffApartAndMarginSafe) {
    add(Bill{1, QStringLiteral("2026-06-03 00:00:00"), 0, 0}); // received nothing
    add(Bill{2, QStringLiteral("2026-06-03 00:00:00"), 100, 40, "01", "02", QStringLiteral("张三")});
    const RecordSet all = ReportList(tableAnalysis(kOneDay, {})).firstPage(db());
    ASSERT_EQ(all.rowCount(), 2);
    EXPECT_EQ(displayText(
                  all.value(rowOf(all, QStringLiteral("tabl_gues_auto_recn"), 1), QStringLiteral("starperc")),
                  exporting::CellKind::Percent),
              QStringLiteral("0.0%"));
    EXPECT_EQ(operatorBills(kOneDay, OperatorBills::Settled, QStringLiteral("02")).firstPage(db()).rowCount(),
              1);
    EXPECT_EQ(tableAnalysis(kOneDay, QStringLiteral(" B09 ")).firstPage(db()).rowCount(), 0);
}

TEST_P(AnalysisTest, PerformanceCountsReturnsAgainstSalesAndSumsPerGroup) {
    add(Bill{1, QStringLiteral("2026-06-03 00:00:00"), 100, 40, "01", "01", "张三", "D1", "王五", 10, "一组",
             "一区", 500});
    add(Bill{2, QStringLiteral("2026-06-03 00:00:00"), 200, 40, "01", "01", "张三", "D1", "王五", 20, "一组",
             "一区", 500});
    add(Bill{3, QStringLiteral("2026-06-03 00:00:00"), 50, 10, "01", "01", "张三", "D1", "王五", 5, "二组",
             "一区", 500});
    add(Bill{4, QStringLiteral("2026-06-03 00:00:00"), 80, 10, "01", "01", "张三", "D2", "王五", 8, "一组",
             "一区", 500});
    add(Bill{5}); // no commission: never in the bill modes
    add(Line{1, QStringLiteral("01"), 1, 3, 10, {}, QStringLiteral("D1")});
    add(Line{1, QStringLiteral("01"), 2, 1, 10, {}, QStringLiteral("D1")});
    add(Line{1, QStringLiteral("02"), 1, 1, 10}); // no commission staff

    whileOpenAndWhenClosed([&](const std::string& when) {
        const RecordSet sums =
            performanceAnalysis(db(), kOneDay, PerformanceMode::LineSums, {}).firstPage(db());
        ASSERT_EQ(sums.rowCount(), 1) << when;
        EXPECT_DOUBLE_EQ(sums.number(0, QStringLiteral("counttotal")), 2) << when;
        EXPECT_EQ(sums.text(0, QStringLiteral("dedu_oper_name")), QStringLiteral("王五")) << when;
    });
    EXPECT_EQ(performanceAnalysis(db(), kOneDay, PerformanceMode::Lines, QStringLiteral("D1"))
                  .firstPage(db())
                  .rowCount(),
              2);

    const RecordSet bills = performanceAnalysis(db(), kOneDay, PerformanceMode::BillSums, {}).firstPage(db());
    // D1 in 一组 and in 二组, D2 (of the same name) in 一组: three rows.
    ASSERT_EQ(bills.rowCount(), 3);
    double performance = 0;
    for (int i = 0; i < bills.rowCount(); ++i)
        performance += bills.number(i, QStringLiteral("totadeduc"));
    EXPECT_DOUBLE_EQ(performance, (100 - 10) + (200 - 20) + (50 - 5) + (80 - 8));
    EXPECT_EQ(performanceAnalysis(db(), kOneDay, PerformanceMode::Bills, QStringLiteral("D2"))
                  .firstPage(db())
                  .rowCount(),
              1);
}

TEST_P(AnalysisTest, BillClearedAfterItsDaysEndCountsOnItsDayOnce) {
    add(Bill{1});
    add(Line{1, QStringLiteral("01"), 1, 2});
    rebuildDaySummaries(db()); // the 3rd has ended; the 4th is open
    db().exec(QStringLiteral("UPDATE SetupPay SET pay_star = 1, time_work = '2026-06-04 00:00:00'"));
    // Bill 7, settled on the 3rd, was left on its table over the day end and cleared on the 4th.
    add(Bill{7});
    add(Line{7, QStringLiteral("01"), 1, 3});
    add(Line{7, QStringLiteral("02"), 1, 1, 10, {}, QStringLiteral("D1")});
    pay(7, QStringLiteral("Z"), QStringLiteral("现金"), 100);
    db().exec(QStringLiteral("INSERT INTO TableGuestlist (tabl_gues_auto_recn, tabl_gues_use, "
                             "tabl_gues_time_work) VALUES (7, 0, '2026-06-03 00:00:00')"));
    const auto quantities = [&] {
        const RecordSet items = itemAnalysis(db(), kOneDay, {}, ItemSort::Code);
        QStringList out;
        for (int i = 0; i < items.rowCount(); ++i)
            out << items.text(i, QStringLiteral("item_code")) + QLatin1Char('=') +
                       QString::number(items.number(i, QStringLiteral("bill")));
        const RecordSet staff =
            performanceAnalysis(db(), kOneDay, PerformanceMode::LineSums, {}).firstPage(db());
        for (int i = 0; i < staff.rowCount(); ++i)
            out << staff.text(i, QStringLiteral("dedu_oper_code")) + QLatin1Char('=') +
                       QString::number(staff.number(i, QStringLiteral("counttotal")));
        const SalesAnalysis sales = salesAnalysis(db(), kOneDay, {}, {});
        out << QStringLiteral("bills=%1").arg(sales.figures.bills)
            << QStringLiteral("received=") + figureText(sales.figures.received);
        for (int i = 0; i < sales.payments.rowCount(); ++i)
            out << sales.payments.text(i, QStringLiteral("pay_type_code")) + QLatin1Char('=') +
                       QString::number(sales.payments.number(i, QStringLiteral("paytotal"))) +
                       QLatin1Char('/') +
                       QString::number(sales.payments.integer(i, QStringLiteral("paycount")));
        return out;
    };
    // Bill 1 was settled without a payment row: only bill 7's receipt is counted.
    const QStringList expected{"01=5", "02=1", "D1=1", "bills=2", "received=200.00", "Z=100/1"};
    EXPECT_EQ(quantities(), expected) << "cleared, its day end still to come";
    EXPECT_TRUE(daySummaryMismatches(db()).isEmpty());
    FixedClock clock(QDateTime(QDate(2026, 6, 4), QTime(23, 0)));
    dayEndSteps(db(), clock);
    EXPECT_EQ(quantities(), expected) << "after the 4th's day end";
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT sum(tabl_d_bill) FROM AllConsDay WHERE summ_by = 'A' AND "
                                         "summ_day = '2026-06-03 00:00:00'"))
                  .toDouble(),
              6);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT bill_coun FROM AllGuesDay WHERE summ_by = 'A' AND "
                                         "summ_day = '2026-06-03 00:00:00'"))
                  .toLongLong(),
              2);
    EXPECT_TRUE(daySummaryMismatches(db()).isEmpty());
}

// The rows of a printed report's bands of one kind, each as its non-empty texts.
QList<QStringList> rowsOf(const document::Document& doc, document::BandKind kind) {
    QList<QStringList> out;
    for (const document::Band& band : doc.bands)
        if (band.kind == kind)
            for (const document::Row& row : band.rows) {
                QStringList texts;
                for (const document::Cell& cell : row.cells)
                    if (!cell.text.isEmpty()) texts << cell.text;
                out << texts;
            }
    return out;
}

TEST_P(AnalysisTest, PrintedTablesSumPerDepartmentAndAverageTheMargins) {
    add(Bill{1, QStringLiteral("2026-06-03 00:00:00"), 100, 40});
    add(Bill{2, QStringLiteral("2026-06-03 00:00:00"), 0, 0});
    add(Bill{3, QStringLiteral("2026-06-03 00:00:00"), 50, 10, QStringLiteral("02")});
    const ReportFrame frame{QStringLiteral("房台分析报表"), QStringLiteral("岚舟"), kOneDay, {}, {}, {}};
    struct Case {
        const char* what;
        DateRange range;
        QList<QStringList> headers, footers, totals;
    } cases[] = {
        {"two departments",
         kOneDay,
         {{"部门：包房"}, {"部门：大厅"}},
         {{"小计", "1", "2", "50.00", "0.00", "0.00", "0.00", "0.00", "0.00", "50.00", "50.00", "10.00",
           "80.0%"},
          {"小计", "2", "4", "100.00", "0.00", "0.00", "0.00", "0.00", "0.00", "100.00", "100.00", "40.00",
           "30.0%"}},
         {{"合计", "3", "6", "150.00", "0.00", "0.00", "0.00", "0.00", "0.00", "150.00", "150.00", "50.00",
           "46.7%"}}},
        {"no bills: empty totals", {kJune3.addDays(9), kJune3.addDays(9)}, {}, {}, {{"合计"}}},
    };
    for (const Case& c : cases) {
        const document::Document doc = tableReport(db(), tableAnalysis(c.range, {}), frame).whole();
        EXPECT_EQ(rowsOf(doc, document::BandKind::GroupHeader), c.headers) << c.what;
        EXPECT_EQ(rowsOf(doc, document::BandKind::GroupFooter), c.footers) << c.what;
        QList<QStringList> totals = rowsOf(doc, document::BandKind::Summary);
        EXPECT_EQ(totals.mid(0, 1), c.totals) << c.what;
    }
}

SORREL_ON_EVERY_ENGINE(AnalysisTest);

// A month of the demo venue's business, each report against the raw rows summed another way.
class AnalysisHistoryTest : public ::testing::TestWithParam<Engine> {
  protected:
    // The demo venue with May 2026 in its history, 25 bills a day.
    void SetUp() override {
        venue_ = std::make_unique<test::ScratchDatabase>(GetParam(), test::ScratchDatabase::Contents::DemoVenue);
        demo_history::HistoryOptions options;
        options.days = 30;
        options.billsPerDay = 25;
        options.lastDay = QDate(2026, 5, 31);
        demo_history::generate(venue_->db(), options);
    }
    std::unique_ptr<test::ScratchDatabase> venue_;
};

TEST_P(AnalysisHistoryTest, ReportsAgreeWithTheRawRows) {
    Database& db = venue_->db();
    const DateRange may{QDate(2026, 5, 1), QDate(2026, 5, 31)};
    const auto raw = [&](const char* sql) { return db.scalar(QString::fromUtf8(sql)).toDouble(); };
    const auto near = [](double a, double b) { return std::abs(a - b) < 0.005; };

    const SalesAnalysis sales = salesAnalysis(db, may, {}, {});
    double paid = 0, kindsCost = 0, kindsAmount = 0;
    for (int i = 0; i < sales.payments.rowCount(); ++i)
        paid += sales.payments.number(i, QStringLiteral("paytotal"));
    for (int i = 0; i < sales.kinds.rowCount(); ++i) {
        kindsCost += sales.kinds.number(i, QStringLiteral("costtotal"));
        kindsAmount += sales.kinds.number(i, QStringLiteral("constotal"));
    }
    EXPECT_TRUE(near(paid, raw("SELECT sum(tabl_gues_fact + none_mone) FROM AllGues")));
    EXPECT_TRUE(near(
        kindsCost, raw("SELECT sum(tabl_cost_tota) FROM AllCons WHERE grou_code IS NULL OR grou_code = ''")));
    EXPECT_EQ(sales.figures.bills,
              qlonglong(raw("SELECT count(DISTINCT tabl_gues_auto_recn) FROM AllGuesPay")));

    const document::Chart chart = salesChart(db, may, {});
    double charted = 0;
    for (const document::ChartSeries& s : chart.series)
        for (double v : s.values)
            charted += v;
    EXPECT_TRUE(near(charted, kindsAmount));
    EXPECT_EQ(chart.categories.size(), 31);

    const RecordSet items = itemAnalysis(db, may, {}, ItemSort::Code);
    double net = 0;
    for (int i = 0; i < items.rowCount(); ++i)
        net += items.number(i, QStringLiteral("bill"));
    EXPECT_TRUE(near(net, raw("SELECT sum(tabl_cons_coun * item_coun_flag) FROM AllCons "
                              "WHERE grou_code IS NULL OR grou_code = ''")));

    double performance = 0;
    performanceAnalysis(db, may, PerformanceMode::BillSums, {})
        .forEachRow(db, [&](const RecordSet& rows, int row) {
            performance += rows.number(row, QStringLiteral("totadeduc"));
        });
    EXPECT_TRUE(
        near(performance, raw("SELECT sum(tabl_gues_fact - tabl_gues_tax - dedu_mone) FROM AllGues "
                              "WHERE dedu_mone > 0 AND dedu_type IN ('预  定', '指  定', '领  位')")));
}

// The day ends of a month summed its lines, bills and payments: day by day and in total the
// summaries hold what the raw rows hold, and each report gives the figures of the raw rows grouped
// here, whether its days come from the summaries or (the last one open again) from the rows.
TEST_P(AnalysisHistoryTest, DaySummaryHoldsTheLinesAndTheReportsTheirFigures) {
    Database& db = venue_->db();
    const DateRange may{QDate(2026, 5, 1), QDate(2026, 5, 31)};
    const auto near = [](double a, double b) { return std::abs(a - b) < 0.005; };

    // The raw lines, summed here.
    struct Sums {
        double quantity = 0, amount = 0, cost = 0, gifts = 0, sales = 0, commissioned = 0;
    };
    QMap<QDate, Sums> perDay;
    QMap<QString, Sums> perItem, perKind, perStaff, perItemOfDept;
    Sums total;
    QHash<qlonglong, QString> deptOf;
    const RecordSet bills = db.query(QStringLiteral("SELECT tabl_gues_auto_recn, dept_code FROM AllGues"));
    for (int i = 0; i < bills.rowCount(); ++i)
        deptOf[bills.integer(i, "tabl_gues_auto_recn")] = bills.text(i, "dept_code");
    const QString dept = bills.text(0, "dept_code");
    const RecordSet raw = db.query(QStringLiteral(
        "SELECT tabl_gues_auto_recn, tabl_cons_time_work, item_code, kind_name, grou_code, tabl_cons_coun, "
        "item_coun_flag, tabl_cons_tota, tabl_cost_tota, tabl_z_bill, item_unit_pric, serv_perc, "
        "disc_clas_perc, dedu_oper_code FROM AllCons"));
    for (int i = 0; i < raw.rowCount(); ++i) {
        if (!raw.text(i, "grou_code").isEmpty()) continue;
        const double amount = raw.number(i, "tabl_cons_tota");
        Sums line;
        line.quantity = raw.number(i, "tabl_cons_coun") * raw.number(i, "item_coun_flag");
        line.amount = amount;
        line.cost = raw.number(i, "tabl_cost_tota");
        line.gifts = raw.number(i, "tabl_z_bill") * raw.number(i, "item_unit_pric");
        line.sales = amount + amount * 0.01 * (100 - raw.number(i, "serv_perc")) -
                     amount * 0.01 * (100 - raw.number(i, "disc_clas_perc"));
        const QString staff = raw.text(i, "dedu_oper_code");
        line.commissioned = staff.isEmpty() ? 0 : amount;
        QList<Sums*> into{&perDay[raw.dateTime(i, "tabl_cons_time_work").date()], &total,
                          &perItem[raw.text(i, "item_code")], &perKind[raw.text(i, "kind_name")]};
        if (!staff.isEmpty()) into << &perStaff[staff];
        if (deptOf.value(raw.integer(i, "tabl_gues_auto_recn")) == dept)
            into << &perItemOfDept[raw.text(i, "item_code")];
        for (Sums* s : into) {
            s->quantity += line.quantity;
            s->amount += line.amount;
            s->cost += line.cost;
            s->gifts += line.gifts;
            s->sales += line.sales;
            s->commissioned += line.commissioned;
        }
    }

    // Day by day, and in total.
    const RecordSet summary = db.query(QStringLiteral(
        "SELECT summ_day, sum(coun_tota) AS q, sum(tabl_cons_tota) AS amount, sum(tabl_cost_tota) AS cost, "
        "sum(gift_tota) AS gifts, sum(fact_tota) AS sales FROM AllConsDay WHERE summ_by = 'A' "
        "GROUP BY summ_day ORDER BY summ_day"));
    ASSERT_EQ(summary.rowCount(), 30);
    Sums summed;
    for (int i = 0; i < summary.rowCount(); ++i) {
        const QDate day = summary.dateTime(i, "summ_day").date();
        const Sums& d = perDay.value(day);
        EXPECT_TRUE(near(summary.number(i, "q"), d.quantity)) << day.toString(Qt::ISODate).toStdString();
        EXPECT_TRUE(near(summary.number(i, "amount"), d.amount)) << day.toString(Qt::ISODate).toStdString();
        EXPECT_TRUE(near(summary.number(i, "cost"), d.cost)) << day.toString(Qt::ISODate).toStdString();
        EXPECT_TRUE(near(summary.number(i, "gifts"), d.gifts)) << day.toString(Qt::ISODate).toStdString();
        EXPECT_TRUE(near(summary.number(i, "sales"), d.sales)) << day.toString(Qt::ISODate).toStdString();
        summed.amount += summary.number(i, "amount");
    }
    EXPECT_TRUE(near(summed.amount, total.amount));
    EXPECT_TRUE(
        near(db.scalar(QStringLiteral("SELECT sum(tabl_cons_tota) FROM AllConsDay WHERE summ_by = 'C'"))
                 .toDouble(),
             total.commissioned));
    // The raw bills and payments, summed here: per day, per department, per method.
    struct BillSums {
        qlonglong bills = 0;
        double guests = 0, received = 0, due = 0, cost = 0;
        QMap<QString, std::pair<double, qlonglong>> perMethod; // amount, payments above 0
    };
    QMap<QDate, BillSums> billsPerDay;
    BillSums allBills, billsOfDept;
    const RecordSet rawBills = db.query(QStringLiteral(
        "SELECT tabl_gues_auto_recn, tabl_gues_time_work, dept_code, tabl_gues_coun, tabl_gues_fact, "
        "tabl_gues_shou, cost_mone FROM AllGues"));
    QHash<qlonglong, QDate> dayOf;
    for (int i = 0; i < rawBills.rowCount(); ++i) {
        const QDate day = rawBills.dateTime(i, "tabl_gues_time_work").date();
        dayOf[rawBills.integer(i, "tabl_gues_auto_recn")] = day;
        QList<BillSums*> into{&billsPerDay[day], &allBills};
        if (rawBills.text(i, "dept_code") == dept) into << &billsOfDept;
        for (BillSums* b : into) {
            ++b->bills;
            b->guests += rawBills.number(i, "tabl_gues_coun");
            b->received += rawBills.number(i, "tabl_gues_fact");
            b->due += rawBills.number(i, "tabl_gues_shou");
            b->cost += rawBills.number(i, "cost_mone");
        }
    }
    const RecordSet rawPayments =
        db.query(QStringLiteral("SELECT tabl_gues_auto_recn, pay_type_code, pay_type_mone FROM AllGuesPay"));
    for (int i = 0; i < rawPayments.rowCount(); ++i) {
        const qlonglong bill = rawPayments.integer(i, "tabl_gues_auto_recn");
        const double amount = rawPayments.number(i, "pay_type_mone");
        QList<BillSums*> into{&billsPerDay[dayOf.value(bill)], &allBills};
        if (deptOf.value(bill) == dept) into << &billsOfDept;
        for (BillSums* b : into) {
            auto& method = b->perMethod[rawPayments.text(i, "pay_type_code")];
            method.first += amount;
            method.second += amount > 0 ? 1 : 0;
        }
    }
    ASSERT_GT(allBills.perMethod.size(), 1);
    const RecordSet billSummed = db.query(QStringLiteral(
        "SELECT summ_day, bill_coun, tabl_gues_coun, tabl_gues_fact, tabl_gues_shou, cost_mone "
        "FROM AllGuesDay WHERE summ_by = 'A' ORDER BY summ_day"));
    ASSERT_EQ(billSummed.rowCount(), 30);
    for (int i = 0; i < billSummed.rowCount(); ++i) {
        const QDate day = billSummed.dateTime(i, "summ_day").date();
        const BillSums& d = billsPerDay.value(day);
        const std::string on = day.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(billSummed.integer(i, "bill_coun"), d.bills) << on;
        EXPECT_TRUE(near(billSummed.number(i, "tabl_gues_coun"), d.guests)) << on;
        EXPECT_TRUE(near(billSummed.number(i, "tabl_gues_fact"), d.received)) << on;
        EXPECT_TRUE(near(billSummed.number(i, "tabl_gues_shou"), d.due)) << on;
        EXPECT_TRUE(near(billSummed.number(i, "cost_mone"), d.cost)) << on;
    }
    const RecordSet paySummed = db.query(QStringLiteral(
        "SELECT summ_day, pay_type_code, sum(pay_type_mone) AS amount, sum(pay_coun) AS n FROM AllGuesPayDay "
        "WHERE summ_by = 'A' GROUP BY summ_day, pay_type_code"));
    int methodDays = 0;
    for (const BillSums& d : billsPerDay)
        methodDays += int(d.perMethod.size());
    ASSERT_EQ(paySummed.rowCount(), methodDays);
    for (int i = 0; i < paySummed.rowCount(); ++i) {
        const QDate day = paySummed.dateTime(i, "summ_day").date();
        const auto method = billsPerDay.value(day).perMethod.value(paySummed.text(i, "pay_type_code"));
        const std::string on = day.toString(Qt::ISODate).toStdString();
        EXPECT_TRUE(near(paySummed.number(i, "amount"), method.first)) << on;
        EXPECT_EQ(paySummed.integer(i, "n"), method.second) << on;
    }
    EXPECT_TRUE(daySummaryMismatches(db).isEmpty());

    const auto salesAgree = [&](const SalesAnalysis& a, const BillSums& b, const std::string& what) {
        EXPECT_EQ(a.figures.bills, b.bills) << what;
        EXPECT_TRUE(near(a.figures.guests.value_or(-1), b.guests)) << what;
        EXPECT_TRUE(near(a.figures.received.value_or(-1), b.received)) << what;
        EXPECT_TRUE(near(a.figures.due.value_or(-1), b.due)) << what;
        EXPECT_TRUE(near(a.figures.cost.value_or(-1), b.cost)) << what;
        ASSERT_EQ(a.payments.rowCount(), b.perMethod.size()) << what;
        for (int i = 0; i < a.payments.rowCount(); ++i) {
            const auto method = b.perMethod.value(a.payments.text(i, "pay_type_code"));
            EXPECT_TRUE(near(a.payments.number(i, "paytotal"), method.first)) << what;
            EXPECT_EQ(a.payments.integer(i, "paycount"), method.second) << what;
        }
    };
    const auto reportsAgree = [&](const std::string& when) {
        salesAgree(salesAnalysis(db, may, {}, {}), allBills, "sales, " + when);
        salesAgree(salesAnalysis(db, may, {DepartmentOrShift::By::Department, dept, {}}, {}), billsOfDept,
                   "sales of a department, " + when);
        const RecordSet items = itemAnalysis(db, may, {}, ItemSort::Code);
        ASSERT_EQ(items.rowCount(), perItem.size()) << when;
        for (int i = 0; i < items.rowCount(); ++i) {
            const Sums& s = perItem.value(items.text(i, "item_code"));
            EXPECT_TRUE(near(items.number(i, "bill"), s.quantity)) << when;
            EXPECT_TRUE(near(items.number(i, "bill3total"), s.gifts)) << when;
            EXPECT_TRUE(near(items.number(i, "facttotal"), s.sales)) << when;
            EXPECT_TRUE(near(items.number(i, "costtotal"), s.cost)) << when;
        }
        const RecordSet ofDept =
            itemAnalysis(db, may, {ItemFilter::By::Department, dept, QString()}, ItemSort::Code);
        ASSERT_EQ(ofDept.rowCount(), perItemOfDept.size()) << when;
        for (int i = 0; i < ofDept.rowCount(); ++i)
            EXPECT_TRUE(
                near(ofDept.number(i, "constotal"), perItemOfDept.value(ofDept.text(i, "item_code")).amount))
                << when;
        const RecordSet kinds = salesAnalysis(db, may, {}, {}).kinds;
        ASSERT_EQ(kinds.rowCount(), perKind.size()) << when;
        for (int i = 0; i < kinds.rowCount(); ++i) {
            const Sums& s = perKind.value(kinds.text(i, "kind_name"));
            EXPECT_TRUE(near(kinds.number(i, "constotal"), s.amount)) << when;
            EXPECT_TRUE(near(kinds.number(i, "costtotal"), s.cost)) << when;
        }
        const RecordSet staff = performanceAnalysis(db, may, PerformanceMode::LineSums, {}).firstPage(db);
        ASSERT_EQ(staff.rowCount(), perStaff.size()) << when;
        for (int i = 0; i < staff.rowCount(); ++i) {
            const Sums& s = perStaff.value(staff.text(i, "dedu_oper_code"));
            EXPECT_TRUE(near(staff.number(i, "counttotal"), s.quantity)) << when;
            EXPECT_TRUE(near(staff.number(i, "constotal"), s.amount)) << when;
        }
    };
    reportsAgree("every day from the summary");
    db.exec(QStringLiteral("UPDATE SetupPay SET pay_star = 1, time_work = '2026-05-31 00:00:00'"));
    reportsAgree("the last day open, from its lines");
    db.exec(QStringLiteral("UPDATE SetupPay SET pay_star = 0"));

    // A summary that lost a day is named, and made whole again from the lines.
    db.exec(
        QStringLiteral("DELETE FROM AllConsDay WHERE summ_by = 'S' AND summ_day = '2026-05-20 00:00:00'"));
    EXPECT_EQ(daySummaryMismatches(db), QList<QDate>{QDate(2026, 5, 20)});
    db.exec(
        QStringLiteral("DELETE FROM AllGuesPayDay WHERE summ_by = 'D' AND summ_day = '2026-05-11 00:00:00'"));
    EXPECT_EQ(daySummaryMismatches(db, paymentSummary()), QList<QDate>{QDate(2026, 5, 11)});
    EXPECT_EQ(rebuildDaySummaries(db), 30);
    EXPECT_TRUE(daySummaryMismatches(db).isEmpty());
    reportsAgree("rebuilt");
}

INSTANTIATE_TEST_SUITE_P(Engines, AnalysisHistoryTest, ::testing::ValuesIn(sorrel::test::availableEngines()),
                         sorrel::test::engineTestName);

} // namespace
