// The analysis screens driven through the real front desk offscreen, on every engine, over a few
// days of the demo venue's history: the 报表 menu and the permissions it checks, the filter lists
// emptied on every opening and mode change, the mode buttons' labels and headings, and every
// printed layout written to a PDF and read back, a CSV of a list longer than a page.
#include "common/permissions.h"
#include "common/ui/export_actions.h"
#include "frontdesk/reports/item_analysis_screen.h"
#include "frontdesk/reports/operator_analysis_screen.h"
#include "frontdesk/reports/performance_analysis_screen.h"
#include "frontdesk/reports/report_grid_panel.h"
#include "frontdesk/reports/sales_analysis_screen.h"
#include "frontdesk/reports/table_analysis_screen.h"
#include "frontdesk/shell/day_desk.h"
#include "frontdesk/shell/reports_desk.h"
#include "frontdesk/tables/board_screen.h"
#include "frontdesk/tables/login_panel.h"
#include "tests/frontdesk/day/desk_window_test.h"
#include "tools/demo_history/demo_history.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QToolButton>

using namespace sorrel;
using namespace sorrel::frontdesk;
using namespace sorrel::reports;

namespace {

const QDate kLastDay = test::ScratchDatabase::createdAt().date();
const DateRange kHistory{kLastDay.addDays(-2), kLastDay};

class ReportScreensTest : public test_day::DeskWindowTest {
  protected:
    ReportScreensTest() : DeskWindowTest(QTime(18, 0)) {}

    void SetUp() override {
        DeskWindowTest::SetUp();
        demo_history::HistoryOptions options;
        options.days = 3;
        options.billsPerDay = 200;
        options.lastDay = kLastDay;
        demo_history::generate(db(), options);
        ASSERT_NO_FATAL_FAILURE(showWindow());
        find<QComboBox>("cmb_shift")->setCurrentIndex(0);
        find<QLineEdit>("edt_operator")->setText(QStringLiteral("01"));
        find<QLineEdit>("edt_password")->setText(QStringLiteral("1234"));
        window_->board()->loginBox()->confirm();
        ASSERT_TRUE(sink_.shown.isEmpty()) << sink_.texts().join('\n').toStdString();
    }

    ReportsDesk& desk() { return *window_->reportsDesk(); }
    QAction* entry(const QString& caption) {
        for (QAction* a : window_->dayDesk()->reportsMenu()->actions())
            if (a->text() == caption) return a;
        return nullptr;
    }
    void open(const QString& caption) {
        QAction* a = entry(caption);
        ASSERT_NE(a, nullptr) << caption.toStdString();
        a->trigger();
    }
    static void press(ReportScreen* screen, const char* tool) { screen->toolbar()->button(tool)->click(); }

    // The text of the file a toolbar export wrote.
    QString exported(ReportScreen* screen, const char* tool, const QString& name) {
        const QString dir = qEnvironmentVariable("SORREL_SCREENSHOT_DIR", files_.path());
        const QString path = dir + QLatin1Char('/') + name;
        ui::setSaveFileChooser(
            [path](QWidget*, const QString&, const QString&, const QString&) { return path; });
        press(screen, tool);
        ui::setSaveFileChooser({});
        if (path.endsWith(QStringLiteral(".pdf"))) {
            QProcess p;
            p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
            p.waitForFinished(30000);
            return QString::fromUtf8(p.readAllStandardOutput());
        }
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QTemporaryDir files_;
};

TEST_P(ReportScreensTest, MenuOpensEachReportAndChecksItsPermission) {
    QStringList captions;
    for (QAction* a : window_->dayDesk()->reportsMenu()->actions())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"当前营业统计", "员工交班处理", "销售分析报表", "房台分析报表", "点单分析报表",
                                     "操作分析报表", "业绩分析报表", "帐单查询报表", "点单查询报表", "会员查询报表",
                                     "挂帐查询报表", "初始化数据库"}));

    struct Case {
        const char* entry;
        const char* permission;
        ReportScreen* screen;
        const char* heading;
    } cases[] = {
        {"销售分析报表", "CF", desk().salesAnalysis(), "消费分析报表"},
        {"业绩分析报表", "SF", desk().performanceAnalysis(), "点单（业绩）分析报表"},
        {"房台分析报表", nullptr, desk().tableAnalysis(), "房台分析报表"},
        {"点单分析报表", nullptr, desk().itemAnalysis(), "点单分析报表"},
        {"操作分析报表", nullptr, desk().operatorAnalysis(), "点菜（操作）分析报表"},
    };
    for (const Case& c : cases) {
        if (c.permission) {
            db().exec(QStringLiteral("UPDATE Limitedlist SET limi_real = 0 WHERE limi_code = ?"),
                      {QString::fromLatin1(c.permission)});
            sink_.shown.clear();
            open(QString::fromUtf8(c.entry));
            EXPECT_EQ(sink_.texts(), QStringList{QString::fromLatin1(c.permission) + kPermissionRefusalText})
                << c.entry;
            EXPECT_NE(current(), c.screen) << c.entry;
            db().exec(QStringLiteral("UPDATE Limitedlist SET limi_real = 1 WHERE limi_code = ?"),
                      {QString::fromLatin1(c.permission)});
        }
        sink_.shown.clear();
        open(QString::fromUtf8(c.entry));
        EXPECT_TRUE(sink_.shown.isEmpty()) << c.entry;
        EXPECT_EQ(current(), c.screen) << c.entry;
        EXPECT_EQ(c.screen->heading(), QString::fromUtf8(c.heading));
        EXPECT_EQ(c.screen->range().from, clock_.today());
        test::saveScreenshot(c.screen, QStringLiteral("report_") + c.screen->objectName());
        press(c.screen, report_tool::kBack);
        EXPECT_NE(current(), c.screen) << c.entry;
    }
}

TEST_P(ReportScreensTest, OpeningAndModesEmptyTheFilterListsAndRelabel) {
    open(QStringLiteral("销售分析报表"));
    SalesAnalysisScreen* sales = desk().salesAnalysis();
    EXPECT_FALSE(sales->values()->isVisible());
    sales->filterBox()->setChecked(true);
    EXPECT_TRUE(sales->values()->isVisible());
    const int departments = db().scalar(QStringLiteral("SELECT count(*) FROM DepartmentList")).toInt();
    ASSERT_GT(departments, 0);
    EXPECT_EQ(sales->values()->count(), departments);
    sales->values()->setCurrentIndex(0);

    open(QStringLiteral("操作分析报表"));
    OperatorAnalysisScreen* ops = desk().operatorAnalysis();
    EXPECT_EQ(sales->values()->count(), 0) << "an earlier filter value survived";
    const int operators = db().scalar(QStringLiteral("SELECT count(*) FROM operatorlist")).toInt();
    EXPECT_EQ(ops->staff()->count(), operators);
    EXPECT_EQ(ops->staff()->currentIndex(), -1);

    struct Mode {
        int button;
        const char* caption;
        const char* heading;
    } modes[] = {{2, "预订员工", "预订（操作）分析报表"},
                 {1, "操作员工", "结帐（操作）分析报表"},
                 {0, "操作员工", "点单（操作）分析报表"}};
    for (const Mode& m : modes) {
        ops->staff()->setCurrentIndex(0);
        ops->modeButtons()[m.button]->click();
        EXPECT_EQ(ops->staffCaption()->text(), QString::fromUtf8(m.caption));
        EXPECT_EQ(ops->heading(), QString::fromUtf8(m.heading));
        EXPECT_EQ(ops->staff()->currentIndex(), -1) << m.heading;
        EXPECT_TRUE(ops->modeButtons()[m.button]->isChecked());
    }

    open(QStringLiteral("业绩分析报表"));
    PerformanceAnalysisScreen* perf = desk().performanceAnalysis();
    EXPECT_EQ(ops->staff()->count(), 0);
    perf->modeButtons()[3]->click();
    EXPECT_EQ(perf->heading(), QStringLiteral("帐单（业绩）统计报表"));
    open(QStringLiteral("业绩分析报表"));
    EXPECT_EQ(perf->heading(), QStringLiteral("点单（业绩）分析报表"));
    EXPECT_TRUE(perf->modeButtons()[0]->isChecked());
}

TEST_P(ReportScreensTest, EveryLayoutPrintsAndEveryRowIsExported) {
    struct Layout {
        const char* entry;
        ReportScreen* screen;
        int mode; // -1: the screen has none
        const char* file;
        QStringList texts;
    } layouts[] = {
        {"销售分析报表",
         desk().salesAnalysis(),
         -1,
         "sales.pdf",
         {"销售分析报表", "[收入状况]", "[消费状况]", "[营业状况]", "[总营业额]", "综合统计"}},
        {"房台分析报表",
         desk().tableAnalysis(),
         -1,
         "tables.pdf",
         {"房台分析报表", "部门：", "小计", "合计"}},
        {"点单分析报表",
         desk().itemAnalysis(),
         -1,
         "items.pdf",
         {"点单分析报表", "大类名称：", "分类名称：", "分类综合统计"}},
        {"操作分析报表",
         desk().operatorAnalysis(),
         0,
         "operator-items.pdf",
         {"员工点单（操作）分析报表", "全部员工统计"}},
        {"操作分析报表",
         desk().operatorAnalysis(),
         1,
         "operator-bills.pdf",
         {"员工结帐(操作)分析报表", "合计"}},
        {"操作分析报表", desk().operatorAnalysis(), 2, "operator-bookings.pdf", {"员工预订(操作)分析报表"}},
        {"业绩分析报表",
         desk().performanceAnalysis(),
         0,
         "perf-lines.pdf",
         {"点单业绩分析报表", "全部提成员工统计"}},
        {"业绩分析报表", desk().performanceAnalysis(), 1, "perf-line-sums.pdf", {"点单业绩统计报表"}},
        {"业绩分析报表", desk().performanceAnalysis(), 2, "perf-bills.pdf", {"帐单业绩分析报表"}},
        {"业绩分析报表",
         desk().performanceAnalysis(),
         3,
         "perf-bill-sums.pdf",
         {"帐单业绩统计报表", "分区：", "分组->", "小计：", "总计："}},
    };
    for (const Layout& l : layouts) {
        open(QString::fromUtf8(l.entry));
        l.screen->setRange(kHistory);
        if (auto* ops = qobject_cast<OperatorAnalysisScreen*>(l.screen)) ops->modeButtons()[l.mode]->click();
        if (auto* perf = qobject_cast<PerformanceAnalysisScreen*>(l.screen))
            perf->modeButtons()[l.mode]->click();
        const QString text = exported(l.screen, report_tool::kPdf, QString::fromLatin1(l.file));
        for (const QString& expected : l.texts)
            EXPECT_TRUE(text.contains(expected)) << l.file << " lacks " << expected.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("制表人："))) << l.file;
    }

    // The sales chart on paper, and the top items.
    open(QStringLiteral("销售分析报表"));
    desk().salesAnalysis()->setRange(kHistory);
    press(desk().salesAnalysis(), sales_tool::kChart);
    EXPECT_TRUE(desk().salesAnalysis()->chartShown());
    test::saveScreenshot(desk().salesAnalysis(), QStringLiteral("report_sales_chart"));
    exported(desk().salesAnalysis(), report_tool::kPdf, QStringLiteral("sales-chart.pdf"));
    open(QStringLiteral("点单分析报表"));
    desk().itemAnalysis()->setRange(kHistory);
    desk().itemAnalysis()->recompute();
    press(desk().itemAnalysis(), item_tool::kChart);
    test::saveScreenshot(desk().itemAnalysis(), QStringLiteral("report_items_chart"));

    // The table list is longer than a page; its CSV holds every bill of the days.
    open(QStringLiteral("房台分析报表"));
    desk().tableAnalysis()->setRange(kHistory);
    desk().tableAnalysis()->recompute();
    test::saveScreenshot(desk().tableAnalysis(), QStringLiteral("report_tables_filled"));
    const QString csv = exported(desk().tableAnalysis(), report_tool::kCsv, QStringLiteral("tables.csv"));
    const Condition days = dateCondition(QStringLiteral("tabl_gues_time_work"), kHistory);
    const int bills =
        db().scalar(QStringLiteral("SELECT count(*) FROM AllGues WHERE ") + days.sql, days.params).toInt();
    ASSERT_GT(bills, ReportList::kPageRows);
    // The grid reads a page at a time, and scrolled to its end shows every bill.
    ReportListModel* grid = desk().tableAnalysis()->grid()->rows();
    EXPECT_EQ(grid->rowCount(), ReportList::kPageRows);
    while (grid->canFetchMore({}))
        grid->fetchMore({});
    EXPECT_EQ(grid->rowCount(), bills);
    EXPECT_EQ(csv.count(QStringLiteral("\r\n")), bills + 1);
    EXPECT_TRUE(csv.contains(QStringLiteral("时间,帐单,台桌号,台桌名,人数")));
}

INSTANTIATE_TEST_SUITE_P(Engines, ReportScreensTest, ::testing::ValuesIn(sorrel::test::availableEngines()),
                         sorrel::test::engineTestName);

} // namespace
