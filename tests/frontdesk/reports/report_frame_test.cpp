// The frame every report stands on, on every engine: the range of business dates (a stored value
// with a time of day on the last day still counted), filter values bound (a quote is a name, a
// statement typed into a filter is only text), a list read page by page giving every row once,
// and the printed frame around a report.
#include "frontdesk/reports/report_frame.h"

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

TEST_P(ReportFrameTest, ListIsReadPageByPageEveryRowOnce) {
    db().begin();
    const int bills = ReportList::kPageRows * 2 + 7;
    for (int i = 1; i <= bills; ++i)
        bill(i, QStringLiteral("2026-06-03 00:00:00"));
    db().commit();
    const ReportList list{
        QStringLiteral("SELECT tabl_gues_auto_recn FROM AllGues ORDER BY tabl_gues_auto_recn"),
        {},
        {{QStringLiteral("单号"), QStringLiteral("tabl_gues_auto_recn"), exporting::CellKind::Integer}}};
    QList<int> seen;
    list.forEachRow(db(), [&](const RecordSet& rows, int row) { seen << rows.value(row, 0).toInt(); });
    ASSERT_EQ(seen.size(), bills);
    for (int i = 0; i < bills; ++i)
        ASSERT_EQ(seen[i], i + 1);

    exporting::Sheet sheet = list.sheet(db(), QStringLiteral("帐单"));
    QVector<QVariant> row;
    int exported = 0;
    while (sheet.next(row))
        ++exported;
    EXPECT_EQ(exported, bills);
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
