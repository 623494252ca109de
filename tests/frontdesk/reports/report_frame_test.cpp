// The frame every report stands on, on every engine: the range of business dates (a stored value
// with a time of day on the last day still counted), filter values bound (a quote is a name, a
// statement typed into a filter is only text), a list read page by page giving every row once
// (the commission staff's sums too, ordered by empty names and sums of money),
// and the printed frame around a report.
#include "frontdesk/reports/report_frame.h"
#include "frontdesk/reports/performance_analysis.h"
#include "frontdesk/reports/report_grid_panel.h"

#include <QSet>

#include "tests/support/test_database.h"

using namespace sorrel;
using namespace sorrel::reports;

namespace {

class ReportFrameTest : public test::EngineTest {
  protected:
    void bill(int number, const QString& day, const QString& operName = QStringLiteral("张三")) {
        db().exec(QStringLiteral("INSERT INTO AllGues (tabl_gues_auto_recn, tabl_gues_time_work, oper_name) "
                                 "VALUES (?, ?, ?)"),
                  {number, day, operName});
    }
    QList<int> billsOf(const Where& where) {
        const RecordSet rows = db().query(QStringLiteral("SELECT tabl_gues_auto_recn FROM AllGues") +
                                              where.sql() + QStringLiteral(" ORDER BY tabl_gues_auto_recn"),
                                          where.params());
        QList<int> out;
        for (int i = 0; i < rows.rowCount(); ++i)
            out << rows.value(i, 0).toInt();
        return out;
    }
};

TEST_P(ReportFrameTest, RangeAndFiltersSelectWhatTheOperatorMeans) {
    bill(1, QStringLiteral("2026-06-02 00:00:00"));
    bill(2, QStringLiteral("2026-06-03 00:00:00"), QStringLiteral("O'Brien"));
    bill(3, QStringLiteral("2026-06-03 01:30:00")); // the day's end wrote a time of day
    bill(4, QStringLiteral("2026-06-04 00:00:00"));
    const DateRange june3{QDate(2026, 6, 3), QDate(2026, 6, 3)};
    struct Case {
        const char* what;
        DateRange range;
        QString operName;
        QList<int> bills;
    } cases[] = {
        {"one day, its late row included", june3, {}, {2, 3}},
        {"two days", {QDate(2026, 6, 2), QDate(2026, 6, 3)}, {}, {1, 2, 3}},
        {"a name with a quote", june3, QStringLiteral("O'Brien"), {2}},
        {"a statement typed as a name", june3, QStringLiteral("'; drop table SetupPay; --"), {}},
        {"no days", {QDate(2026, 6, 5), QDate(2026, 6, 9)}, {}, {}},
    };
    for (const Case& c : cases) {
        Where where;
        where.add(dateCondition(QStringLiteral("tabl_gues_time_work"), c.range))
            .equalsUnlessEmpty(QStringLiteral("oper_name"), c.operName);
        EXPECT_EQ(billsOf(where), c.bills) << c.what;
    }
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM SetupPay")).toInt(), 1);
}

// Each paged list read three ways (page after page, by the grid as it is scrolled to its end, and
// as an exported sheet) against the same statement read whole in its order.
TEST_P(ReportFrameTest, PagedListGivesEveryRowOnceInOrder) {
    const int page = ReportList::kPageRows;
    const QString noon = QStringLiteral("2026-06-03 12:00:00");
    struct Case {
        const char* what;
        int bills;
        bool sameTime;     // every bill settled at the same moment: ties across every page boundary
        bool byDepartment; // ordered by a department that is often empty (NULL or '')
        QString operName;  // the filter; bills alternate between 张三 and O'Brien
        int expected;
    } cases[] = {
        {"ties across the page boundaries", page * 2 + 7, true, false, {}, page * 2 + 7},
        {"the last page exactly full", page, false, false, {}, page},
        {"one row on the last page", page + 1, false, false, {}, page + 1},
        {"a filter with a quote", page * 2 + 2, true, false, QStringLiteral("O'Brien"), page + 1},
        {"a statement typed as the filter", page + 1, false, false,
         QStringLiteral("'; drop table AllGues; --"), 0},
        {"departments, some empty, with ties", page * 2 + 3, true, true, {}, page * 2 + 3},
        {"more pages than the grid keeps", page * (ReportListModel::kPagesKept + 1) + 3, false, false, {},
         page * (ReportListModel::kPagesKept + 1) + 3},
    };
    for (const Case& c : cases) {
        db().exec(QStringLiteral("DELETE FROM AllGues"));
        db().begin();
        for (int i = 0; i < c.bills; ++i) {
            // Stored out of their order: the numbers interleaved, not as they were written.
            const int number = (i * 7919) % c.bills + 1;
            const QString time = c.sameTime ? noon
                                            : QStringLiteral("2026-06-03 %1:%2:00")
                                                  .arg(10 + number / 60 % 10, 2, 10, QLatin1Char('0'))
                                                  .arg(number % 60, 2, 10, QLatin1Char('0'));
            const QVariant department = number % 3 == 0   ? QVariant()
                                        : number % 3 == 1 ? QVariant(QString())
                                                          : QVariant(QStringLiteral("大厅"));
            db().exec(
                QStringLiteral("INSERT INTO AllGues (tabl_gues_auto_recn, tabl_gues_time_work, oper_name, "
                               "dept_name) VALUES (?, ?, ?, ?)"),
                {number, time, number % 2 ? QStringLiteral("O'Brien") : QStringLiteral("张三"), department});
        }
        db().commit();

        Where where;
        where
            .add(dateCondition(QStringLiteral("tabl_gues_time_work"), {QDate(2026, 6, 3), QDate(2026, 6, 3)}))
            .equalsUnlessEmpty(QStringLiteral("oper_name"), c.operName);
        QList<OrderKey> order{{QStringLiteral("tabl_gues_time_work")},
                              {QStringLiteral("tabl_gues_auto_recn")}};
        if (c.byDepartment) order.prepend({QStringLiteral("dept_name"), true});
        const ReportList list{
            QStringLiteral("SELECT tabl_gues_auto_recn, tabl_gues_time_work, dept_name FROM AllGues") +
                where.sql(),
            where.params(),
            {{QStringLiteral("单号"), QStringLiteral("tabl_gues_auto_recn"), exporting::CellKind::Integer}},
            order};

        const RecordSet whole = db().query(
            QStringLiteral("SELECT tabl_gues_auto_recn FROM AllGues") + where.sql() +
                (c.byDepartment
                     ? QStringLiteral(" ORDER BY dept_name, tabl_gues_time_work, tabl_gues_auto_recn")
                     : QStringLiteral(" ORDER BY tabl_gues_time_work, tabl_gues_auto_recn")),
            where.params());
        QList<int> expected;
        for (int i = 0; i < whole.rowCount(); ++i)
            expected << whole.value(i, 0).toInt();
        ASSERT_EQ(expected.size(), c.expected) << c.what;

        QList<int> read;
        list.forEachRow(db(), [&](const RecordSet& rows, int row) { read << rows.value(row, 0).toInt(); });
        EXPECT_EQ(read, expected) << c.what << ": read page by page";

        ReportListModel grid(db(), nullptr);
        grid.setList(list);
        EXPECT_EQ(grid.rowCount(), std::min(c.expected, page)) << c.what << ": the grid's first page";
        while (grid.canFetchMore({}))
            grid.fetchMore({});
        EXPECT_LE(grid.pagesKept(), ReportListModel::kPagesKept) << c.what << ": the grid holds the whole list";
        QList<int> shown;
        for (int i = 0; i < grid.rowCount(); ++i)
            shown << grid.value(i, QStringLiteral("tabl_gues_auto_recn")).toInt();
        EXPECT_EQ(shown, expected) << c.what << ": the grid scrolled to its end and read back from its top";

        exporting::Sheet sheet = list.sheet(db(), QStringLiteral("帐单"));
        QVector<QVariant> row;
        QList<int> exported;
        while (sheet.next(row))
            exported << row[0].toInt();
        EXPECT_EQ(exported, expected) << c.what << ": exported";
    }
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM SetupPay")).toInt(), 1);
}

// The commission staff's bill sums are ordered by area, group, staff and standard, any of them
// empty and the standard a sum of money with cents: read a page at a time they must still give
// each row once, none skipped at a page boundary that falls between two standards of one staff.
TEST_P(ReportFrameTest, CommissionBillSumsPageByPageGiveEveryRowOnce) {
    const QVariantList areas{QVariant(), QString(), QStringLiteral("东区")};
    const QVariantList groups{QVariant(), QString(), QStringLiteral("一组"), QStringLiteral("二组")};
    const QVariantList standards{QVariant(), 0.0, 0.1, 0.2, 99.99, 100.0, 1234.56, 1234.57};
    db().begin();
    int number = 0;
    for (const QVariant& area : areas)
        for (const QVariant& group : groups)
            for (int staff = 0; staff < 10; ++staff)
                for (const QVariant& standard : standards)
                    db().exec(QStringLiteral("INSERT INTO AllGues (tabl_gues_auto_recn, tabl_gues_time_work, "
                                             "area_name, grou_name, dedu_oper_code, tota_stan, dedu_mone) "
                                             "VALUES (?, '2026-06-03 00:00:00', ?, ?, ?, ?, 1)"),
                              {++number, area, group, QStringLiteral("%1").arg(staff, 3, 10, QLatin1Char('0')),
                               standard});
    db().commit();
    const ReportList list =
        performanceAnalysis(db(), {QDate(2026, 6, 3), QDate(2026, 6, 3)}, PerformanceMode::BillSums, {});
    QSet<QString> seen;
    int read = 0;
    list.forEachRow(db(), [&](const RecordSet& rows, int row) {
        ++read;
        QStringList key;
        for (const char* field : {"area_name", "grou_name", "dedu_oper_code", "tota_stan"}) {
            const QVariant v = rows.value(row, QString::fromLatin1(field));
            key << (v.isNull() ? QStringLiteral("null")
                    : qstrcmp(field, "tota_stan") == 0 ? QString::number(v.toDouble(), 'f', 2)
                                                        : v.toString());
        }
        seen << key                    .join(QLatin1Char('|'));
    });
    const int whole = db().scalar(QStringLiteral("SELECT count(*) FROM (") + list.sql + QStringLiteral(") sums"),
                                  list.params)
                          .toInt();
    ASSERT_GT(whole, ReportList::kPageRows);
    EXPECT_EQ(read, whole);
    EXPECT_EQ(seen.size(), whole) << "a row read twice where another was skipped";
}

SORREL_ON_EVERY_ENGINE(ReportFrameTest);

TEST(ReportFrame, PrintedFrameAroundTheBody) {
    const ReportFrame frame{QStringLiteral("房台分析报表"),
                            QStringLiteral("岚舟酒楼"),
                            {QDate(2026, 6, 1), QDate(2026, 6, 30)},
                            QStringLiteral("部门:大厅"),
                            QStringLiteral("管理员"),
                            QDateTime(QDate(2026, 7, 1), QTime(9, 5))};
    const document::Document doc =
        framedReport(frame, {document::Column::text(QStringLiteral("单号"))},
                     [](document::DocumentBuilder& b) { b.columnHeader().row({QStringLiteral("1024")}); });
    QStringList texts;
    for (const document::Band& band : doc.bands)
        for (const document::Row& row : band.rows)
            for (const document::Cell& cell : row.cells)
                if (!cell.text.isEmpty()) texts << cell.text;
    EXPECT_EQ(texts, (QStringList{QStringLiteral("房台分析报表"), QStringLiteral("单位名称：【岚舟酒楼】"),
                                  QStringLiteral("统计时段：2026-06-01 至 2026-06-30"),
                                  QStringLiteral("部门:大厅"), QStringLiteral("单号"), QStringLiteral("1024"),
                                  QStringLiteral("制表时间：2026-07-01 09:05:00"),
                                  QStringLiteral("制表人：管理员"), kMakerLine}));
    EXPECT_EQ(filterCaption(QStringLiteral("综合统计"), QStringLiteral("部门"), QString()),
              QStringLiteral("综合统计"));
}

} // namespace
